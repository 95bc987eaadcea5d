#pragma once

#include <functional>
#include <string>
#include <vector>

#include "base/Token.h"

namespace lumivoke {

/// One key that a platform lets the user tap as the trigger.
struct TriggerKeyOption {
    /// What is stored and compared: "right-ctrl".
    std::string identifier;
    /// What is shown: "Right Ctrl".
    std::string label;
    friend bool operator==(const TriggerKeyOption&, const TriggerKeyOption&) = default;
};

/// The key whose clean tap switches the input source, on a platform where the user chooses it
/// (elsewhere it is always the Globe key, and a platform offers no choice).
class TriggerKeys {
public:
    /// The defaults key under which a port keeps the choice.
    static constexpr const char* defaultsKey = "TriggerKey";

    virtual ~TriggerKeys() = default;
    /// Every key the user may choose, in the order to offer them.
    virtual std::vector<TriggerKeyOption> options() = 0;
    /// The identifier of the key in effect now.
    virtual std::string current() = 0;
    /// Makes the key with this identifier the trigger and stores the choice; false, changing
    /// nothing, for an identifier that is not among the options.
    virtual bool select(const std::string& identifier) = 0;
    /// Calls back on the main loop after each change of the key in effect.
    virtual Token observe(std::function<void()> callback) = 0;
};

}  // namespace lumivoke
