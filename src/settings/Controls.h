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
    /// The explanation drawn under this switch (caption font, secondary style), if it has one.
    std::optional<std::string> caption;
    /// Runs when the person flips the switch to the given value.
    std::function<void(bool)> set;
};

/// One choice of a picker: what is stored and what is shown.
struct PickerOption {
    std::string identifier;
    std::string label;
    friend bool operator==(const PickerOption&, const PickerOption&) = default;
};

/// A menu of mutually exclusive choices with its label, as a port draws it.
struct PickerControl {
    std::string label;
    std::vector<PickerOption> options;
    /// The option chosen now; none shows no chosen item.
    std::optional<std::string> selected;
    bool isEnabled = true;
    /// The explanation drawn under the picker, if it has one.
    std::optional<std::string> caption;
    /// Runs when the person chooses the option with this identifier.
    std::function<void(const std::string&)> choose;
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

/// One row of a form: a switch or a picker, each with its own explanation.
using FormRow = std::variant<ToggleControl, PickerControl>;

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

/// The pickers of a form, in the order they are shown.
inline std::vector<PickerControl> pickersOf(const std::vector<FormSection>& sections) {
    std::vector<PickerControl> pickers;
    for (const auto& section : sections) {
        for (const auto& row : section.rows) {
            if (const auto* picker = std::get_if<PickerControl>(&row)) {
                pickers.push_back(*picker);
            }
        }
    }
    return pickers;
}

}  // namespace lumivoke
