#include "X11Keyboard.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace lumivoke::desktop {
namespace {

// The one connection and the one service the caps-lock path opens.
constexpr std::uint32_t kCoreKeyboard = XkbUseCoreKbd;

}  // namespace

X11Keyboard::X11Keyboard(X11Connection& x11) : x11_(x11) {
    Display* dpy = x11_.display();
    if (dpy == nullptr) {
        return;
    }
    int event = 0;
    int error = 0;
    if (!XQueryExtension(dpy, "XInputExtension", &xiOpcode_, &event, &error)) {
        xiOpcode_ = -1;
        return;
    }
    int major = 2;
    int minor = 0;
    if (XIQueryVersion(dpy, &major, &minor) != Success) {
        xiOpcode_ = -1;
        return;
    }
    eventToken_ = x11_.addHandler([this](XEvent& e) {
        if (e.type != GenericEvent || e.xcookie.extension != xiOpcode_ ||
            e.xcookie.data == nullptr) {
            return;
        }
        if (e.xcookie.evtype == XI_RawKeyPress || e.xcookie.evtype == XI_RawKeyRelease) {
            const auto* raw = static_cast<const XIRawEvent*>(e.xcookie.data);
            handleRawKey(raw->detail, e.xcookie.evtype == XI_RawKeyPress);
        }
    });
}

X11Keyboard::~X11Keyboard() = default;

bool X11Keyboard::capsLockIsOn() {
    Display* dpy = x11_.display();
    XkbStateRec state{};
    if (dpy == nullptr || XkbGetState(dpy, XkbUseCoreKbd, &state) != Success) {
        return false;
    }
    return (state.locked_mods & LockMask) != 0;
}

void X11Keyboard::handleRawKey(int keycode, bool press) {
    // The unshifted symbol of the first layout: what the key is, not what it types now.
    const KeySym keysym = XkbKeycodeToKeysym(x11_.display(), static_cast<KeyCode>(keycode), 0, 0);
    const auto event = keys_.translate(keycode, static_cast<std::uint32_t>(keysym), press,
                                       [this] { return capsLockIsOn(); });
    if (event) {
        monitors_.notify(*event);
    }
}

void X11Keyboard::selectRawKeys(bool on) {
    Display* dpy = x11_.display();
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    if (on) {
        XISetMask(bits, XI_RawKeyPress);
        XISetMask(bits, XI_RawKeyRelease);
    }
    XIEventMask eventMask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    XISelectEvents(dpy, x11_.root(), &eventMask, 1);
    XFlush(dpy);
}

Token X11Keyboard::addGlobalMonitor(std::uint64_t mask,
                                    std::function<void(const KeyEvent&)> handler) {
    if (x11_.display() == nullptr || xiOpcode_ < 0) {
        return Token();
    }
    if (monitors_.empty()) {
        selectRawKeys(true);
    }
    auto monitor = std::make_shared<Token>(
        monitors_.add([mask, handler = std::move(handler)](const KeyEvent& event) {
            if ((mask & eventMaskBit(event.type)) != 0) {
                handler(event);
            }
        }));
    return Token([monitor, keyboard = anchor_.weak()] {
        monitor->cancel();
        if (X11Keyboard* self = keyboard.lock()) {
            self->monitorRemoved();
        }
    });
}

void X11Keyboard::monitorRemoved() {
    // Nobody listens: stop the server from waking us for every key, and forget what was held.
    if (monitors_.empty()) {
        selectRawKeys(false);
        keys_.reset();
    }
}

std::uint64_t X11Keyboard::currentModifierFlags() {
    Display* dpy = x11_.display();
    XkbStateRec state{};
    if (dpy == nullptr || XkbGetState(dpy, XkbUseCoreKbd, &state) != Success) {
        return 0;
    }
    std::uint64_t flags = 0;
    const unsigned mods = state.mods;
    if ((state.locked_mods & LockMask) != 0) {
        flags |= modifier::capsLock;
    }
    if ((mods & ShiftMask) != 0) {
        flags |= modifier::shift;
    }
    if ((mods & ControlMask) != 0) {
        flags |= modifier::control;
    }
    if ((mods & Mod1Mask) != 0) {
        flags |= modifier::option;
    }
    if ((mods & Mod4Mask) != 0) {
        flags |= modifier::command;
    }
    // Fn has no modifier of its own in X11; only the key stream knows it is held.
    flags |= keys_.heldFlags() & modifier::function;
    return flags;
}

bool X11Keyboard::makeHIDSystemMatching() {
    return x11_.display() != nullptr;
}

std::optional<std::uint32_t> X11Keyboard::matchingHIDService() {
    int opcode = 0;
    int event = 0;
    int error = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (x11_.display() == nullptr ||
        !XkbQueryExtension(x11_.display(), &opcode, &event, &error, &major, &minor)) {
        return std::nullopt;
    }
    return kCoreKeyboard;
}

std::optional<std::uint32_t> X11Keyboard::openHIDConnection(std::uint32_t service) {
    if (service != kCoreKeyboard) {
        return std::nullopt;
    }
    return kCoreKeyboard;
}

void X11Keyboard::setCapsLockState(std::uint32_t connection, bool on) {
    Display* dpy = x11_.display();
    if (dpy == nullptr || connection != kCoreKeyboard) {
        return;
    }
    XkbLockModifiers(dpy, XkbUseCoreKbd, LockMask, on ? LockMask : 0);
    XFlush(dpy);
}

void X11Keyboard::closeHIDConnection(std::uint32_t) {}

void X11Keyboard::releaseHIDService(std::uint32_t) {}

}  // namespace lumivoke::desktop
