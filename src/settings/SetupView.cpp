#include "settings/SetupView.h"

#include <cctype>

namespace lumivoke {
namespace {

void openIfParsable(LinkOpener& links, const std::string& url) {
    if (isParsableURL(url)) {
        // What the system does with the link is its own business; the result changes nothing.
        (void)links.openURL(url);
    }
}

}  // namespace

bool isParsableURL(const std::string& text) {
    const auto colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) {
        return false;
    }
    if (std::isalpha(static_cast<unsigned char>(text[0])) == 0) {
        return false;
    }
    for (std::size_t i = 1; i < colon; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (std::isalnum(c) == 0 && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    for (const char c : text) {
        if (std::isspace(static_cast<unsigned char>(c)) != 0) {
            return false;
        }
    }
    return true;
}

SetupView::SetupView(const Published<bool>& isAccessibilityTrusted, SetupState& setupState,
                     LinkOpener& links)
    : isAccessibilityTrusted_(isAccessibilityTrusted), setupState_(setupState), links_(links) {}

std::array<SetupRow, 2> SetupView::rows() const {
    return {
        SetupRow{"Allow Accessibility access",
                 "Lumivoke needs Accessibility permission to detect the Globe key press "
                 "globally.",
                 "SetupAccessibility", "Open Accessibility Settings…", *isAccessibilityTrusted_},
        SetupRow{"Disable the system Globe-key handler",
                 "In System Settings → Keyboard, set \"Press 🌐 to\" to \"Do Nothing\". "
                 "Otherwise macOS responds to the key alongside Lumivoke and shows its own "
                 "popup.",
                 "SetupGlobeKey", "Open Keyboard Settings…", *setupState_.isGlobeKeyDisabled}};
}

std::vector<ButtonControl> SetupView::buttons() {
    std::vector<ButtonControl> out;
    const auto current = rows();
    // A port may run a button's action on a later turn; the action holds the view weakly.
    if (current[0].showsButton()) {
        out.push_back(
            {current[0].buttonTitle, std::nullopt, true,
             bindWeak(anchor_.weak(), [](SetupView& self) { self.openAccessibilitySettings(); })});
    }
    if (current[1].showsButton()) {
        out.push_back(
            {current[1].buttonTitle, std::nullopt, true,
             bindWeak(anchor_.weak(), [](SetupView& self) { self.openKeyboardSettings(); })});
    }
    return out;
}

void SetupView::openKeyboardSettings() {
    openIfParsable(links_, keyboardPaneURL);
}

void SetupView::openAccessibilitySettings(LinkOpener& links) {
    openIfParsable(links, accessibilityPaneURL);
}

}  // namespace lumivoke
