#include "X11Connection.h"

#include <algorithm>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace lumivoke::desktop {

X11Connection::X11Connection(DisplayHandle display) : display_(display.release()) {
    if (display_ == nullptr) {
        return;
    }
    notifier_ = new QSocketNotifier(ConnectionNumber(display_), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { drain(); });
    // A round trip (a property read, a state query) may pull events into Xlib's queue without
    // the socket ever signalling again; look there each time the loop is about to sleep.
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
            if (display_ != nullptr && XEventsQueued(display_, QueuedAlready) > 0) {
                drain();
            }
        });
    }
}

X11Connection::DisplayHandle X11Connection::openDisplay() {
    return DisplayHandle(XOpenDisplay(nullptr));
}

void X11Connection::DisplayCloser::operator()(Display* display) const {
    if (display != nullptr) {
        XCloseDisplay(display);
    }
}

X11Connection::~X11Connection() {
    delete notifier_;
    notifier_ = nullptr;
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
}

unsigned long X11Connection::root() const {
    return display_ != nullptr ? DefaultRootWindow(display_) : 0;
}

Token X11Connection::addHandler(Handler handler) {
    return handlers_.add(std::move(handler));
}

Token X11Connection::addDrainedHandler(std::function<void()> handler) {
    return drained_.add(std::move(handler));
}

void X11Connection::drain() {
    if (display_ == nullptr) {
        return;
    }
    bool any = false;
    while (XPending(display_) > 0) {
        any = true;
        XEvent event;
        XNextEvent(display_, &event);
        const bool hasCookie =
            event.type == GenericEvent && XGetEventData(display_, &event.xcookie) != 0;
        handlers_.notify(event);
        if (hasCookie) {
            XFreeEventData(display_, &event.xcookie);
        }
    }
    if (any) {
        drained_.notify();
    }
}

void X11Connection::selectRootInputEvent(int evtype, bool on) {
    if (display_ == nullptr || evtype < 0 ||
        static_cast<std::size_t>(evtype) >= rootInputEvents_.size()) {
        return;
    }
    int& wanted = rootInputEvents_[static_cast<std::size_t>(evtype)];
    const bool was = wanted > 0;
    wanted = std::max(0, wanted + (on ? 1 : -1));
    if (was == (wanted > 0)) {
        return;
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    for (std::size_t type = 0; type < rootInputEvents_.size(); ++type) {
        if (rootInputEvents_[type] > 0 && static_cast<int>(type) <= XI_LASTEVENT) {
            XISetMask(bits, static_cast<int>(type));
        }
    }
    XIEventMask eventMask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    XISelectEvents(display_, root(), &eventMask, 1);
    // At once: a selection waiting in the buffer misses the events it is for.
    XFlush(display_);
}

}  // namespace lumivoke::desktop
