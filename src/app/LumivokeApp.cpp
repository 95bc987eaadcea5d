#include "app/LumivokeApp.h"

#include "app/DefaultsKeys.h"

namespace lumivoke {

bool AppDelegate::applicationShouldHandleReopen(bool /*hasVisibleWindows*/) {
    notifications_.post(kOpenSettingsNotification);
    return true;
}

LumivokeApp::LumivokeApp(Platform& platform, ViewHost& views)
    : platform_(platform),
      views_(views),
      state_(std::make_unique<AppState>(platform, views)),
      appDelegate_(platform.notifications),
      menu_(std::make_unique<MenuBarContent>(*state_)) {
    platform.application.setDelegate(&appDelegate_);
    // The General tab writes the key; the item follows it live.
    visibleObserver_ = platform.defaults.observe(
        defaults_keys::menubarIconVisible,
        bindWeak(anchor_.weak(), [](LumivokeApp& self) { self.updateStatusItem(); }));
    trustCancellable_ = state_->isAccessibilityTrusted.subscribe(
        bindWeak(anchor_.weak(), [](LumivokeApp& self, bool) { self.updateStatusItem(); }));
}

LumivokeApp::~LumivokeApp() {
    platform_.application.setDelegate(nullptr);
    trustCancellable_.cancel();
    visibleObserver_.cancel();
    statusItem_.reset();
}

const char* LumivokeApp::currentIcon() const {
    return *state_->isAccessibilityTrusted ? trustedIcon : untrustedIcon;
}

void LumivokeApp::updateStatusItem() {
    if (!state_->featureSwitches().isMenubarIconVisible()) {
        statusItem_.reset();
        return;
    }
    if (!statusItem_) {
        statusItem_ = views_.insertStatusItem(currentIcon(), *menu_);
        shownIcon_ = currentIcon();
    } else if (shownIcon_ != currentIcon()) {
        statusItem_->setIcon(currentIcon());
        shownIcon_ = currentIcon();
    }
}

}  // namespace lumivoke
