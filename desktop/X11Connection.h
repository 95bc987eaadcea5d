#pragma once

#include <array>
#include <functional>
#include <memory>

#include <QObject>

#include "base/ObserverList.h"

class QSocketNotifier;

// Xlib stays out of the headers: its macros (None, Bool, Status, …) clash with Qt's names.
struct _XDisplay;
union _XEvent;

namespace lumivoke::desktop {

/// The port's own Xlib connection, separate from Qt's: the global key stream, keyboard layouts,
/// cursor changes and root-window properties all arrive here and are dispatched on the Qt main
/// loop to whoever registered for them.
class X11Connection final : public QObject {
public:
    using Handler = std::function<void(_XEvent&)>;

    /// Closes a connection nobody took over.
    struct DisplayCloser {
        void operator()(_XDisplay* display) const;
    };
    using DisplayHandle = std::unique_ptr<_XDisplay, DisplayCloser>;

    /// Takes over display, a connection opened with openDisplay() (null: there is none).
    explicit X11Connection(DisplayHandle display);
    ~X11Connection() override;
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    /// A connection to the X server of $DISPLAY, or null when none can be reached. Opened before
    /// Qt starts, which gives up on the whole process when it cannot connect, and then kept for
    /// the program's own use rather than opened a second time.
    static DisplayHandle openDisplay();

    /// The connection, or null when no X server could be reached.
    _XDisplay* display() const { return display_; }
    unsigned long root() const;

    /// Calls handler for every event read from now on, until the token ends. A generic event
    /// arrives with its cookie data already fetched.
    Token addHandler(Handler handler);

    /// Calls handler each time the events that had arrived have all been dispatched, until the
    /// token ends: where a handler that only noted an event does the work, once for a burst.
    Token addDrainedHandler(std::function<void()> handler);

    /// Reads and dispatches every event that has arrived.
    void drain();

    /// Asks the server for XInput 2 events of type evtype (raw key or raw motion events, …) of
    /// every master device on the root window, or stops asking. The server keeps one mask per
    /// window and client, so whoever needs one type says so here and the others stay selected;
    /// each call to select one type on must be matched by one to select it off.
    void selectRootInputEvent(int evtype, bool on);

private:
    _XDisplay* display_ = nullptr;
    // How many want each XInput 2 event type on the root window.
    std::array<int, 32> rootInputEvents_{};
    QSocketNotifier* notifier_ = nullptr;
    ObserverList<_XEvent&> handlers_;
    ObserverList<> drained_;
};

}  // namespace lumivoke::desktop
