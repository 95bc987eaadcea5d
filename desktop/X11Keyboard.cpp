#include "X11Keyboard.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace lumivoke::desktop {
namespace {

// The one connection and the one service the caps-lock path opens.
constexpr std::uint32_t kCoreKeyboard = XkbUseCoreKbd;

}  // namespace

X11Keyboard::X11Keyboard(X11Connection& x11, LogSink& sink) : x11_(x11), log_(sink, "Keyboard") {
    Display* dpy = x11_.display();
    if (dpy == nullptr) {
        return;
    }
    int xkbOpcode = 0;
    int xkbError = 0;
    int xkbMajor = XkbMajorVersion;
    int xkbMinor = XkbMinorVersion;
    if (XkbQueryExtension(dpy, &xkbOpcode, &xkbEventBase_, &xkbError, &xkbMajor, &xkbMinor)) {
        // A new keymap (setxkbmap, another keyboard) or new symbols (xmodmap) may move the
        // trigger to other keys.
        constexpr unsigned long kKeymapChanges = XkbNewKeyboardNotifyMask | XkbMapNotifyMask;
        XkbSelectEvents(dpy, XkbUseCoreKbd, kKeymapChanges, kKeymapChanges);
        // The modifier state as it changes, so that no key waits for a state request: only
        // these details, added to whatever else of the state this connection follows.
        constexpr unsigned long kModifierChanges = XkbModifierStateMask | XkbModifierLockMask;
        XkbSelectEventDetails(dpy, XkbUseCoreKbd, XkbStateNotify, kModifierChanges,
                              kModifierChanges);
        readState();
        readKeymap();
    } else {
        xkbEventBase_ = -1;
    }
    keymapToken_ = x11_.addHandler([this](XEvent& e) {
        if (xkbEventBase_ >= 0 && e.type == xkbEventBase_) {
            const auto type = reinterpret_cast<XkbAnyEvent&>(e).xkb_type;
            if (type == XkbStateNotify) {
                const auto& state = reinterpret_cast<XkbStateNotifyEvent&>(e);
                mods_ = state.mods;
                lockedMods_ = state.locked_mods;
            } else if (type == XkbNewKeyboardNotify || type == XkbMapNotify) {
                if (type == XkbNewKeyboardNotify) {
                    readState();
                }
                readKeymap();
            }
        }
    });
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

void X11Keyboard::readState() {
    XkbStateRec state{};
    if (XkbGetState(x11_.display(), XkbUseCoreKbd, &state) == Success) {
        mods_ = state.mods;
        lockedMods_ = state.locked_mods;
    }
}

bool X11Keyboard::capsLockIsOn() const {
    return (lockedMods_ & LockMask) != 0;
}

void X11Keyboard::readKeymap() {
    Display* dpy = x11_.display();
    XkbDescPtr xkb = XkbGetMap(dpy, XkbKeySymsMask, XkbUseCoreKbd);
    keymap_.clear();
    firstKeysyms_.fill(0);
    if (xkb != nullptr) {
        for (int keycode = xkb->min_key_code; keycode <= xkb->max_key_code; ++keycode) {
            KeySymbols key{keycode, {}};
            const int groups = XkbKeyNumGroups(xkb, keycode);
            for (int group = 0; group < groups; ++group) {
                key.groups.push_back(
                    static_cast<std::uint32_t>(XkbKeySymEntry(xkb, keycode, 0, group)));
            }
            if (!key.groups.empty() && static_cast<std::size_t>(keycode) < firstKeysyms_.size()) {
                firstKeysyms_[static_cast<std::size_t>(keycode)] = key.groups.front();
            }
            keymap_.push_back(std::move(key));
        }
        XkbFreeKeyboard(xkb, 0, True);
    }
    findTrigger();
}

void X11Keyboard::setTrigger(const TriggerChoice& choice) {
    if (trigger_ != &choice) {
        trigger_ = &choice;
        loggedTrigger_.reset();
    }
    findTrigger();
}

void X11Keyboard::findTrigger() {
    if (trigger_ == nullptr) {
        return;
    }
    const KeycodeSet keycodes = triggerKeycodes(*trigger_, keymap_);
    triggerKeys_ = keycodes;
    keys_.setTrigger(keycodes, trigger_->isModifier);
    if (loggedTrigger_ == keycodes) {
        return;
    }
    loggedTrigger_ = keycodes;
    if (keycodes.none()) {
        log_.error("no key of the keymap is the trigger %{public}s; it cannot be tapped",
                   trigger_->identifier);
        return;
    }
    std::string list;
    for (std::size_t keycode = 0; keycode < keycodes.size(); ++keycode) {
        if (keycodes.test(keycode)) {
            list += (list.empty() ? "" : ", ") + std::to_string(keycode);
        }
    }
    log_.info("the trigger %{public}s is keycode %{public}s", trigger_->identifier, list);
}

void X11Keyboard::handleRawKey(int keycode, bool press) {
    const std::uint32_t keysym =
        keycode >= 0 && static_cast<std::size_t>(keycode) < firstKeysyms_.size()
            ? firstKeysyms_[static_cast<std::size_t>(keycode)]
            : 0;
    const auto event = keys_.translate(keycode, keysym, press, [this] { return capsLockIsOn(); });
    if (event) {
        monitors_.notify(*event);
    }
}

void X11Keyboard::selectRawKeys(bool on) {
    x11_.selectRootInputEvent(XI_RawKeyPress, on);
    x11_.selectRootInputEvent(XI_RawKeyRelease, on);
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
    if (x11_.display() == nullptr || xkbEventBase_ < 0) {
        return 0;
    }
    std::uint64_t flags = 0;
    if (capsLockIsOn()) {
        flags |= modifier::capsLock;
    }
    // While the key stream is read it knows the held keys better than the server: the trigger
    // is Fn there and never its own modifier (Right Ctrl held is not Control).
    if (!monitors_.empty()) {
        return flags | keys_.heldFlags();
    }
    const unsigned mods = mods_;
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
    // What the server is about to report, known now for whoever asks before it does.
    lockedMods_ = on ? (lockedMods_ | LockMask) : (lockedMods_ & ~static_cast<unsigned>(LockMask));
}

void X11Keyboard::closeHIDConnection(std::uint32_t) {}

void X11Keyboard::releaseHIDService(std::uint32_t) {}

}  // namespace lumivoke::desktop
