#include "settings/SetupState.h"

#include <cmath>
#include <variant>

namespace lumivoke {

bool SetupState::readGlobeKeyDisabled(SystemPreferences& preferences) {
    const auto value = preferences.copyAppValue(fnUsageKey, fnUsageDomain);
    if (!value) {
        return false;
    }
    if (const auto* i = std::get_if<std::int64_t>(&*value)) {
        return *i == 0;
    }
    // A real number counts only when it is exactly an integer; 0.5 is not "Do Nothing".
    if (const auto* d = std::get_if<double>(&*value)) {
        return std::isfinite(*d) && std::trunc(*d) == *d && *d == 0.0;
    }
    // Texts, booleans and data are not numbers, whatever they spell.
    return false;
}

SetupState::SetupState(SystemPreferences& preferences, MainLoop& loop)
    : preferences_(preferences), loop_(loop) {
    refresh();
}

void SetupState::refresh() {
    isGlobeKeyDisabled.set(readGlobeKeyDisabled(preferences_));
}

void SetupState::startPolling() {
    if (timer_) {
        return;
    }
    refresh();
    timer_ = loop_.repeat(pollInterval,
                          bindWeak(anchor_.weak(), [](SetupState& self) { self.refresh(); }));
}

void SetupState::stopPolling() {
    timer_.cancel();
}

}  // namespace lumivoke
