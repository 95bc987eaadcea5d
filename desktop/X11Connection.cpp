#include "X11Connection.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <X11/Xlib.h>

namespace lumivoke::desktop {

X11Connection::X11Connection() {
    display_ = XOpenDisplay(nullptr);
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

bool X11Connection::canOpenDisplay() {
    Display* probe = XOpenDisplay(nullptr);
    if (probe == nullptr) {
        return false;
    }
    XCloseDisplay(probe);
    return true;
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

void X11Connection::drain() {
    if (display_ == nullptr) {
        return;
    }
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        const bool hasCookie =
            event.type == GenericEvent && XGetEventData(display_, &event.xcookie) != 0;
        handlers_.notify(event);
        if (hasCookie) {
            XFreeEventData(display_, &event.xcookie);
        }
    }
}

}  // namespace lumivoke::desktop
