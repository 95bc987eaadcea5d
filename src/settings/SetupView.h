#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Published.h"
#include "base/WeakAnchor.h"
#include "platform/Links.h"
#include "platform/StringTable.h"
#include "settings/Controls.h"
#include "settings/SetupState.h"
#include "settings/ViewChanges.h"

namespace lumivoke {

/// One prerequisite as the Setup tab shows it.
struct SetupRow {
    std::string title;
    std::string explanation;
    std::string illustration;  ///< image asset, shown only while the prerequisite is missing
    bool isOK = false;
    /// The way to what grants the prerequisite: only while it is missing, and only where the
    /// system has such a place.
    std::optional<ButtonControl> button;

    std::string statusSymbol() const {
        return isOK ? "checkmark.circle.fill" : "exclamationmark.circle.fill";
    }
    std::string statusColor() const { return isOK ? "green" : "orange"; }
    bool showsIllustration() const { return !isOK; }
};

/// The Setup tab: the two things the application needs from the system, each with a way to
/// the System Settings pane that grants it.
class SetupView {
public:
    static constexpr const char* heading = "Setup check";
    static constexpr const char* subheading = "Two prerequisites for Lumivoke to work correctly.";
    static constexpr const char* accessibilityTitle = "Allow Accessibility access";
    static constexpr const char* accessibilityExplanation =
        "Lumivoke needs Accessibility permission to detect the Globe key press globally.";
    static constexpr const char* accessibilityIllustration = "SetupAccessibility";
    static constexpr const char* accessibilityButton = "Open Accessibility Settings…";
    static constexpr const char* globeKeyTitle = "Disable the system Globe-key handler";
    static constexpr const char* globeKeyExplanation =
        "In System Settings → Keyboard, set \"Press 🌐 to\" to \"Do Nothing\". Otherwise macOS "
        "responds to the key alongside Lumivoke and shows its own popup.";
    static constexpr const char* globeKeyIllustration = "SetupGlobeKey";
    static constexpr const char* keyboardButton = "Open Keyboard Settings…";
    static constexpr const char* triggerKeyButton = "Choose Another Trigger Key…";
    static constexpr const char* accessibilityPaneURL =
        "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility";
    static constexpr const char* keyboardPaneURL =
        "x-apple.systempreferences:com.apple.preference.keyboard";
    static constexpr double illustrationMaxWidth = 340;

    /// isAccessibilityTrusted is the application's published trust state; the texts are keys
    /// of strings. showTriggerKeyChoice, where the platform lets a person choose the trigger
    /// key, leads to that choice: the second row's way out where no keyboard pane opens.
    SetupView(const Published<bool>& isAccessibilityTrusted, SetupState& setupState,
              LinkOpener& links, const StringTable& strings,
              std::function<void()> showTriggerKeyChoice = {});

    /// The two header texts.
    std::string headingText() const { return strings_.text(heading); }
    std::string subheadingText() const { return strings_.text(subheading); }
    /// Accessibility first, then the Globe-key setting, each with its current state.
    std::array<SetupRow, 2> rows();
    /// The buttons of the rows, in row order.
    std::vector<ButtonControl> buttons();

    /// Calls back after each change of what the tab shows: the trust, the Globe-key setting.
    Token observe(std::function<void()> callback) { return changes_.observe(std::move(callback)); }

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
    const StringTable& strings_;
    std::function<void()> showTriggerKeyChoice_;
    ViewChanges changes_;
    Token trustToken_;
    Token globeKeyToken_;
    WeakAnchor<SetupView> anchor_{this};
};

/// Whether text is an absolute URL: a scheme, a colon and something after it, no spaces.
bool isParsableURL(const std::string& text);

}  // namespace lumivoke
