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
                     LinkOpener& links, const StringTable& strings,
                     std::function<void()> showTriggerKeyChoice)
    : isAccessibilityTrusted_(isAccessibilityTrusted),
      setupState_(setupState),
      links_(links),
      strings_(strings),
      showTriggerKeyChoice_(std::move(showTriggerKeyChoice)) {
    trustToken_ = isAccessibilityTrusted_.observe(
        bindWeak(anchor_.weak(), [](SetupView& self) { self.changes_.notify(); }));
    globeKeyToken_ = setupState_.isGlobeKeyDisabled.observe(
        bindWeak(anchor_.weak(), [](SetupView& self) { self.changes_.notify(); }));
}

std::array<SetupRow, 2> SetupView::rows() {
    std::array<SetupRow, 2> out{
        SetupRow{strings_.text(accessibilityTitle), strings_.text(accessibilityExplanation),
                 accessibilityIllustration, *isAccessibilityTrusted_, std::nullopt},
        SetupRow{strings_.text(globeKeyTitle), strings_.text(globeKeyExplanation),
                 globeKeyIllustration, *setupState_.isGlobeKeyDisabled, std::nullopt}};
    // A button leads to the place that grants the prerequisite; a system without that place
    // gets no button rather than one that does nothing. A port may run the action on a later
    // turn, so the action holds the view weakly.
    if (!out[0].isOK && links_.canOpenURL(accessibilityPaneURL)) {
        out[0].button = ButtonControl{
            strings_.text(accessibilityButton), std::nullopt, true,
            bindWeak(anchor_.weak(), [](SetupView& self) { self.openAccessibilitySettings(); })};
    }
    if (!out[1].isOK && links_.canOpenURL(keyboardPaneURL)) {
        out[1].button = ButtonControl{
            strings_.text(keyboardButton), std::nullopt, true,
            bindWeak(anchor_.weak(), [](SetupView& self) { self.openKeyboardSettings(); })};
    } else if (!out[1].isOK && showTriggerKeyChoice_) {
        // Where nothing can free the key, another key avoids the conflict.
        out[1].button = ButtonControl{
            strings_.text(triggerKeyButton), std::nullopt, true,
            bindWeak(anchor_.weak(), [](SetupView& self) { self.showTriggerKeyChoice_(); })};
    }
    return out;
}

std::vector<ButtonControl> SetupView::buttons() {
    std::vector<ButtonControl> out;
    for (auto& row : rows()) {
        if (row.button) {
            out.push_back(std::move(*row.button));
        }
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
