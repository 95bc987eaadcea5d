#pragma once

#include <array>
#include <string>
#include <vector>

#include "base/Published.h"
#include "base/WeakAnchor.h"
#include "platform/Links.h"
#include "settings/Controls.h"
#include "settings/SetupState.h"

namespace lumivoke {

/// One prerequisite as the Setup tab shows it.
struct SetupRow {
    std::string title;
    std::string explanation;
    std::string illustration;  ///< image asset, shown only while the prerequisite is missing
    std::string buttonTitle;   ///< shown only while the prerequisite is missing
    bool isOK = false;

    std::string statusSymbol() const {
        return isOK ? "checkmark.circle.fill" : "exclamationmark.circle.fill";
    }
    std::string statusColor() const { return isOK ? "green" : "orange"; }
    bool showsIllustration() const { return !isOK; }
    bool showsButton() const { return !isOK; }
};

/// The Setup tab: the two things the application needs from the system, each with a way to
/// the System Settings pane that grants it.
class SetupView {
public:
    static constexpr const char* heading = "Setup check";
    static constexpr const char* subheading = "Two prerequisites for Lumivoke to work correctly.";
    static constexpr const char* accessibilityPaneURL =
        "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility";
    static constexpr const char* keyboardPaneURL =
        "x-apple.systempreferences:com.apple.preference.keyboard";
    static constexpr double illustrationMaxWidth = 340;

    /// isAccessibilityTrusted is the application's published trust state.
    SetupView(const Published<bool>& isAccessibilityTrusted, SetupState& setupState,
              LinkOpener& links);

    /// Accessibility first, then the Globe-key setting, each with its current state.
    std::array<SetupRow, 2> rows() const;
    /// The buttons of the rows whose prerequisite is missing, in row order.
    std::vector<ButtonControl> buttons();

    /// Opens System Settings on the Accessibility privacy list.
    void openAccessibilitySettings() { openAccessibilitySettings(links_); }
    /// Opens System Settings on the Keyboard pane.
    void openKeyboardSettings();

    /// The same action for the menu's warning item, which has no Setup view at hand.
    static void openAccessibilitySettings(LinkOpener& links);

private:
    const Published<bool>& isAccessibilityTrusted_;
    SetupState& setupState_;
    LinkOpener& links_;
    WeakAnchor<SetupView> anchor_{this};
};

/// Whether text is an absolute URL: a scheme, a colon and something after it, no spaces.
bool isParsableURL(const std::string& text);

}  // namespace lumivoke
