#include "input/NSEventMonitor.h"

#include <chrono>

#include "base/Unicode.h"

namespace lumivoke {

NSEventMonitor::NSEventMonitor(GlobalEventMonitor& events, MainLoop& loop, LogSink& sink)
    : log_(sink, "NSEventMonitor"), events_(events), loop_(loop) {
    tapSignal_ = loop_.makeSignal(bindWeak(anchor_.weak(), [](NSEventMonitor& self) {
        if (self.onTap) {
            self.onTap();
        }
    }));
    typingSignal_ = loop_.makeSignal(bindWeak(anchor_.weak(), [](NSEventMonitor& self) {
        if (self.onTyping) {
            self.onTyping();
        }
    }));
}

NSEventMonitor::~NSEventMonitor() {
    stop();
}

void NSEventMonitor::start() {
    if (monitor_) {
        return;
    }
    // An empty token means the system registered nothing; a later start() tries again.
    monitor_ = events_.addGlobalMonitor(
        eventMask,
        bindWeak(anchor_.weak(), [](NSEventMonitor& self, const KeyEvent& e) { self.handle(e); }));
    log_.info("NSEvent global monitor started");
}

void NSEventMonitor::stop() {
    monitor_.cancel();
}

bool NSEventMonitor::isPrintable(const std::optional<std::string>& characters) {
    if (!characters || characters->empty()) {
        return false;
    }
    const auto scalar = firstScalar(*characters);
    if (!scalar) {
        return false;
    }
    const char32_t c = *scalar;
    return c >= 0x20 && c != 0x7F && !(c >= 0xF700 && c <= 0xF8FF);
}

void NSEventMonitor::handle(const KeyEvent& event) {
    switch (event.type) {
        case KeyEventType::flagsChanged:
            handleFlagsChanged(event);
            break;
        case KeyEventType::keyDown:
            handleKeyDown(event);
            break;
    }
}

void NSEventMonitor::handleFlagsChanged(const KeyEvent& event) {
    const bool fnDown = (event.modifierFlags & modifier::function) != 0;
    if (!fnDown) {
        if (!fnDownAt_) {
            return;
        }
        const auto held = loop_.now() - *fnDownAt_;
        const std::int64_t elapsedMs =
            std::chrono::duration_cast<std::chrono::milliseconds>(held).count();
        const bool wasDirty = dirty_;
        fnDownAt_.reset();
        const bool clean = !wasDirty && elapsedMs < tapThresholdMs;
        log_.info("Fn↑ elapsed=%{public}ldms clean=%{bool,public}d", elapsedMs, clean);
        if (clean) {
            tapSignal_->raise();
        }
        return;
    }
    if (!fnDownAt_) {
        fnDownAt_ = loop_.now();
        dirty_ = false;
        log_.info("Fn↓");
        return;
    }
    if ((event.modifierFlags & comboMask) != 0 && !dirty_) {
        dirty_ = true;
        log_.debug("dirty (modifier combo)");
    }
}

void NSEventMonitor::handleKeyDown(const KeyEvent& event) {
    if (fnDownAt_ && !dirty_ && !isPrintable(event.charactersIgnoringModifiers)) {
        dirty_ = true;
        log_.debug("dirty (Fn-combo during Fn-hold, keycode=%{public}hu)", event.keyCode);
    }
    const bool producesCharacters =
        event.charactersIgnoringModifiers && !event.charactersIgnoringModifiers->empty();
    if ((event.modifierFlags & typingExclusionMask) == 0 && producesCharacters) {
        typingSignal_->raise();
    }
}

}  // namespace lumivoke
