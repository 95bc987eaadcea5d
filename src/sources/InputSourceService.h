#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "base/Logger.h"
#include "platform/InputSourceSystem.h"
#include "platform/Keyboard.h"

namespace lumivoke {

/// One keyboard input source. Records are equal, and hash alike, when their ids are equal.
struct InputSource {
    std::string id;
    std::string name;
    std::vector<std::string> languages;
    InputSourceHandle tis;

    /// Builds a record from a system source, with "unknown" and name fallbacks.
    static InputSource fromSystem(InputSourceSystem& system, const InputSourceHandle& handle);

    friend bool operator==(const InputSource& a, const InputSource& b) { return a.id == b.id; }
};

/// The code the HUD and the badge show: the first two characters of the first language,
/// upper-cased, or "??" without languages.
std::string shortCode(const InputSource& source);

/// The thin layer over the system's input sources: every call asks the system afresh.
class InputSourceService {
public:
    InputSourceService(InputSourceSystem& system, KeyboardHardware& keyboard, LogSink& sink);

    /// The enabled, select-capable keyboard sources in system order.
    std::vector<InputSource> listSources();
    /// Selects the source with source's id, keeping caps lock on; true when the system accepted.
    bool select(const InputSource& source);
    /// Sets the keyboard's caps-lock state; failures are logged.
    void setCapsLockState(bool on);

    InputSourceSystem& system() { return system_; }

private:
    Logger log_;
    InputSourceSystem& system_;
    KeyboardHardware& keyboard_;
};

}  // namespace lumivoke

template <>
struct std::hash<lumivoke::InputSource> {
    std::size_t operator()(const lumivoke::InputSource& s) const noexcept {
        return std::hash<std::string>{}(s.id);
    }
};
