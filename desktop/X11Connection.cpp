#include "X11Connection.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <algorithm>

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

X11Connection::~X11Connection() {
    for (auto& e : handlers_) {
        e->active = false;
    }
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
    auto entry = std::make_shared<Entry>();
    entry->handler = std::move(handler);
    handlers_.push_back(entry);
    std::weak_ptr<Entry> weak = entry;
    return Token([this, weak] {
        if (auto e = weak.lock()) {
            e->active = false;
            std::erase(handlers_, e);
        }
    });
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
        // A snapshot, so that a handler may add or remove handlers.
        const auto snapshot = handlers_;
        for (const auto& e : snapshot) {
            if (e->active) {
                e->handler(event);
            }
        }
        if (hasCookie) {
            XFreeEventData(display_, &event.xcookie);
        }
    }
}

}  // namespace lumivoke::desktop
