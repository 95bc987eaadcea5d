#include "X11PointerActivity.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/Xfixes.h>

#include <memory>

namespace lumivoke::desktop {

X11PointerActivity::X11PointerActivity(X11Connection& x11) : x11_(x11) {
    Display* dpy = x11_.display();
    if (dpy == nullptr) {
        return;
    }
    int event = 0;
    int error = 0;
    int major = 2;
    int minor = 0;
    if (!XQueryExtension(dpy, "XInputExtension", &xiOpcode_, &event, &error) ||
        XIQueryVersion(dpy, &major, &minor) != Success) {
        xiOpcode_ = -1;
        return;
    }
    if (!XFixesQueryExtension(dpy, &xfixesEventBase_, &error)) {
        xfixesEventBase_ = -1;
    }
    eventToken_ = x11_.addHandler([this](XEvent& e) {
        const bool moved = e.type == GenericEvent && e.xcookie.extension == xiOpcode_ &&
                           e.xcookie.evtype == XI_RawMotion;
        const bool newCursor =
            xfixesEventBase_ >= 0 && e.type == xfixesEventBase_ + XFixesCursorNotify;
        if ((moved || newCursor) && watchers_ > 0) {
            ++changes_;
            onChange_.notify();
        }
    });
}

X11PointerActivity::~X11PointerActivity() = default;

Token X11PointerActivity::watch(std::function<void()> onChange) {
    if (x11_.display() == nullptr || xiOpcode_ < 0) {
        return Token();
    }
    if (watchers_++ == 0) {
        ++changes_;
        x11_.selectRootInputEvent(XI_RawMotion, true);
    }
    auto registration = std::make_shared<Token>(onChange_.add(std::move(onChange)));
    return Token([registration, activity = anchor_.weak()] {
        registration->cancel();
        if (X11PointerActivity* self = activity.lock()) {
            self->unwatch();
        }
    });
}

void X11PointerActivity::unwatch() {
    if (--watchers_ == 0) {
        ++changes_;
        x11_.selectRootInputEvent(XI_RawMotion, false);
    }
}

}  // namespace lumivoke::desktop
