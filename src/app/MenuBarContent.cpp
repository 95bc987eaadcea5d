#include "app/MenuBarContent.h"

#include "app/AppState.h"
#include "settings/SettingsWindowController.h"

namespace lumivoke {

std::vector<MenuItem> MenuBarContent::items() {
    std::vector<MenuItem> out;
    const MenuItem divider{MenuItem::Kind::divider, "", std::nullopt, std::nullopt, "", nullptr};
    auto& platform = state_.platform();
    const auto& strings = platform.strings;
    if (!*state_.isAccessibilityTrusted) {
        // Where the system has no place that grants the permission, the Setup tab is the next
        // best thing: it says what to do instead.
        std::function<void()> grant;
        if (platform.links.canOpenURL(SetupView::accessibilityPaneURL)) {
            grant = [&platform] { SetupView::openAccessibilitySettings(platform.links); };
        } else {
            grant = [this] { state_.settingsController().show(SettingsTab::setup); };
        }
        out.push_back({MenuItem::Kind::command, strings.text(grantAccessibilityTitle),
                       "exclamationmark.triangle.fill", std::nullopt, "", std::move(grant)});
        out.push_back(divider);
    }
    const auto& current = *state_.currentSource;
    for (const auto& source : *state_.sources) {
        const bool isCurrent = current.has_value() && current->id == source.id;
        out.push_back({MenuItem::Kind::source, source.name,
                       isCurrent ? std::optional<std::string>("checkmark") : std::nullopt,
                       std::nullopt, source.id, [this, source] { selectSource(source); }});
    }
    out.push_back(divider);
    out.push_back({MenuItem::Kind::command, strings.text(settingsTitle), std::nullopt,
                   MenuShortcut{","}, "",
                   [this] { state_.settingsController().show(SettingsTab::general); }});
    out.push_back({MenuItem::Kind::command, strings.text(moreAppsTitle), std::nullopt, std::nullopt,
                   "", [&platform] { (void)platform.links.openURL(makerWebsite); }});
    out.push_back(divider);
    out.push_back({MenuItem::Kind::command, strings.text(quitTitle), std::nullopt,
                   MenuShortcut{"q"}, "", [&platform] { platform.application.terminate(); }});
    return out;
}

void MenuBarContent::selectSource(const InputSource& source) {
    auto& switcher = state_.languageSwitcher();
    if (!switcher.service.select(source)) {
        return;
    }
    // Published at once rather than when the system's notification arrives.
    switcher.currentSource.set(source);
    state_.hudModel().show(shortCode(source));
}

}  // namespace lumivoke
