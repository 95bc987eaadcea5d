#pragma once

#include <functional>

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

    X11Connection();
    ~X11Connection() override;
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    /// Whether an X server can be reached at all: asked before Qt starts, which gives up on the
    /// whole process when it cannot connect.
    static bool canOpenDisplay();

    /// The connection, or null when no X server could be reached.
    _XDisplay* display() const { return display_; }
    unsigned long root() const;

    /// Calls handler for every event read from now on, until the token ends. A generic event
    /// arrives with its cookie data already fetched.
    Token addHandler(Handler handler);

    /// Reads and dispatches every event that has arrived.
    void drain();

private:
    _XDisplay* display_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
    ObserverList<_XEvent&> handlers_;
};

}  // namespace lumivoke::desktop
