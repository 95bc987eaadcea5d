#pragma once

#include <functional>
#include <optional>
#include <string>

namespace lumivoke {

/// One switch of a settings tab as a port draws it and a person flips it.
struct ToggleControl {
    std::string label;
    bool isOn = false;
    bool isEnabled = true;
    /// Runs when the person flips the switch to the given value.
    std::function<void(bool)> set;
};

/// One push button of a settings tab.
struct ButtonControl {
    /// The button's text; image-only buttons use their help text here.
    std::string title;
    /// A system symbol drawn instead of the title, if any.
    std::optional<std::string> symbol;
    bool isEnabled = true;
    std::function<void()> action;
};

}  // namespace lumivoke
