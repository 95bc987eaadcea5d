#include "X11Keyboard.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include "KeyMapping.h"

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

std::uint64_t X11Keyboard::heldFlags() const {
    std::uint64_t flags = 0;
    for (const auto& [bit, count] : heldModifierKeys_) {
        if (count > 0 && bit != modifier::capsLock) {
            flags |= bit;
        }
    }
    return flags;
}

bool X11Keyboard::capsLockIsOn() {
    Display* dpy = x11_.display();
    XkbStateRec state{};
    if (dpy == nullptr || XkbGetState(dpy, XkbUseCoreKbd, &state) != Success) {
        return false;
    }
    return (state.locked_mods & LockMask) != 0;
}

void X11Keyboard::handleRawKey(int keycode, bool press) {
    Display* dpy = x11_.display();
    // The unshifted symbol of the first layout: what the key is, not what it types now.
    const KeySym keysym = XkbKeycodeToKeysym(dpy, static_cast<KeyCode>(keycode), 0, 0);
    const auto bit = modifierBitForKeysym(static_cast<std::uint32_t>(keysym));
    if (bit) {
        const bool wasDown = downModifierKeycodes_.contains(keycode);
        if (press && !wasDown) {
            downModifierKeycodes_.insert(keycode);
            ++heldModifierKeys_[*bit];
        } else if (!press && wasDown) {
            downModifierKeycodes_.erase(keycode);
            --heldModifierKeys_[*bit];
        }
        std::uint64_t flags = heldFlags();
        if (capsLockIsOn()) {
            flags |= modifier::capsLock;
        }
        // Auto-repeat of a held modifier changes nothing and is not an event.
        if (flags == lastFlags_) {
            return;
        }
        lastFlags_ = flags;
        deliver(KeyEvent{KeyEventType::flagsChanged, flags, static_cast<std::uint16_t>(keycode),
                         std::nullopt});
        return;
    }
    if (!press) {
        return;
    }
    deliver(KeyEvent{KeyEventType::keyDown, lastFlags_, static_cast<std::uint16_t>(keycode),
                     charactersForKeysym(static_cast<std::uint32_t>(keysym))});
}

void X11Keyboard::deliver(const KeyEvent& event) {
    const auto bit = eventMaskBit(event.type);
    // Every keystroke passes here: snapshot only the tokens (in a buffer kept between events),
    // since a handler may remove a monitor, its own included. Events arrive one at a time from
    // the main loop, so the buffer is never in use twice.
    deliveryTokens_.clear();
    for (const auto& entry : monitors_) {
        deliveryTokens_.push_back(entry.first);
    }
    for (const MonitorToken token : deliveryTokens_) {
        auto it = monitors_.find(token);
        if (it != monitors_.end() && (it->second.mask & bit) != 0) {
            auto handler = it->second.handler;
            handler(event);
        }
    }
}

std::optional<MonitorToken> X11Keyboard::addGlobalMonitor(
    std::uint64_t mask, std::function<void(const KeyEvent&)> handler) {
    Display* dpy = x11_.display();
    if (dpy == nullptr || xiOpcode_ < 0) {
        return std::nullopt;
    }
    if (monitors_.empty()) {
        unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
        XISetMask(bits, XI_RawKeyPress);
        XISetMask(bits, XI_RawKeyRelease);
        XIEventMask eventMask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
        XISelectEvents(dpy, x11_.root(), &eventMask, 1);
        XFlush(dpy);
    }
    const MonitorToken token = nextToken_++;
    monitors_[token] = Monitor{mask, std::move(handler)};
    return token;
}

void X11Keyboard::removeMonitor(MonitorToken token) {
    monitors_.erase(token);
    Display* dpy = x11_.display();
    if (monitors_.empty() && dpy != nullptr && xiOpcode_ >= 0) {
        unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
        XIEventMask eventMask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
        XISelectEvents(dpy, x11_.root(), &eventMask, 1);
        XFlush(dpy);
        heldModifierKeys_.clear();
        downModifierKeycodes_.clear();
        lastFlags_ = 0;
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
    flags |= heldFlags() & modifier::function;
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
