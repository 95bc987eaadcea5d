#include "sources/InputSourceService.h"

#include "base/Unicode.h"

namespace lumivoke {
namespace {

std::optional<std::string> textProperty(InputSourceSystem& system, const InputSourceHandle& h,
                                        SourceProperty p) {
    auto value = system.property(h, p);
    if (value) {
        if (const auto* s = std::get_if<std::string>(&*value)) {
            return *s;
        }
    }
    return std::nullopt;
}

std::string idOf(InputSourceSystem& system, const InputSourceHandle& h) {
    return textProperty(system, h, SourceProperty::id).value_or("unknown");
}

}  // namespace

InputSource InputSource::fromSystem(InputSourceSystem& system, const InputSourceHandle& handle) {
    InputSource s;
    auto id = textProperty(system, handle, SourceProperty::id);
    s.id = id.value_or("unknown");
    s.name = textProperty(system, handle, SourceProperty::localizedName).value_or(s.id);
    if (auto langs = system.property(handle, SourceProperty::languages)) {
        if (const auto* list = std::get_if<std::vector<std::string>>(&*langs)) {
            s.languages = *list;
        }
    }
    s.tis = handle;
    return s;
}

std::string shortCode(const InputSource& source) {
    if (source.languages.empty()) {
        return "??";
    }
    // "Characters" are the ones a person sees (grapheme clusters), not code points: a combining
    // mark never leaves its base, and "a" + U+0301 + "b" gives both letters. Language tags are
    // ASCII in practice; anything else is upper-cased with Unicode's own mapping.
    return upperCased(firstGraphemeClusters(source.languages.front(), 2));
}

InputSourceService::InputSourceService(InputSourceSystem& system, KeyboardHardware& keyboard,
                                       LogSink& sink)
    : log_(sink, "InputSource"), system_(system), keyboard_(keyboard) {}

std::vector<InputSource> InputSourceService::listSources() {
    std::vector<InputSource> result;
    auto list = system_.enabledSources();
    if (!list) {
        return result;
    }
    for (const auto& handle : *list) {
        const bool keyboardCategory =
            textProperty(system_, handle, SourceProperty::category).value_or("") ==
            kKeyboardInputSourceCategory;
        auto capable = system_.property(handle, SourceProperty::isSelectCapable);
        const bool selectable =
            capable && std::holds_alternative<bool>(*capable) && std::get<bool>(*capable);
        if (keyboardCategory && selectable) {
            result.push_back(InputSource::fromSystem(system_, handle));
        }
    }
    return result;
}

bool InputSourceService::select(const InputSource& source) {
    log_.info("select() id=%{public}s name=%{public}s", source.id, source.name);
    InputSourceHandle fresh;
    if (auto list = system_.enabledSources()) {
        for (const auto& handle : *list) {
            if (idOf(system_, handle) == source.id) {
                fresh = handle;
                break;
            }
        }
    }
    if (!fresh) {
        log_.error("select() could not resolve fresh source id=%{public}s", source.id);
        return false;
    }
    const bool capsLockWasOn = (keyboard_.currentModifierFlags() & modifier::capsLock) != 0;
    const std::int32_t status = system_.select(fresh);
    if (status != 0) {
        log_.error("TISSelectInputSource FAILED status=%{public}d id=%{public}s", status,
                   source.id);
        return false;
    }
    if (capsLockWasOn) {
        setCapsLockState(true);
    }
    return true;
}

void InputSourceService::setCapsLockState(bool on) {
    if (!keyboard_.makeHIDSystemMatching()) {
        return;
    }
    auto service = keyboard_.matchingHIDService();
    if (!service) {
        log_.error("setCapsLockState() no IOHIDSystem service");
        return;
    }
    auto connection = keyboard_.openHIDConnection(*service);
    if (!connection) {
        log_.error("setCapsLockState() IOServiceOpen failed");
        keyboard_.releaseHIDService(*service);
        return;
    }
    keyboard_.setCapsLockState(*connection, on);
    keyboard_.closeHIDConnection(*connection);
    keyboard_.releaseHIDService(*service);
}

}  // namespace lumivoke
