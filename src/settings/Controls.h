#pragma once

#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

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

/// A line of explanation under a control, in caption font and the secondary style.
struct CaptionText {
    std::string text;
};

/// One row of a form: a switch or an explanation.
using FormRow = std::variant<ToggleControl, CaptionText>;

/// One section of a form, with its header text if it has one.
struct FormSection {
    std::optional<std::string> header;
    std::vector<FormRow> rows;
};

/// The switches of a form, in the order they are shown.
inline std::vector<ToggleControl> togglesOf(const std::vector<FormSection>& sections) {
    std::vector<ToggleControl> toggles;
    for (const auto& section : sections) {
        for (const auto& row : section.rows) {
            if (const auto* toggle = std::get_if<ToggleControl>(&row)) {
                toggles.push_back(*toggle);
            }
        }
    }
    return toggles;
}

}  // namespace lumivoke
