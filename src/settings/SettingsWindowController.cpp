#include "settings/SettingsWindowController.h"

#include <utility>

namespace lumivoke {

SettingsWindowController::SettingsWindowController(SettingsEnvironment environment,
                                                   Platform& platform, SettingsWindowHost& host)
    : environment_(std::move(environment)),
      platform_(platform),
      host_(host),
      setupState_(std::make_unique<SetupState>(platform.preferences, platform.loop)),
      tabSelection_(std::make_unique<SettingsTabSelection>()) {}

SettingsWindowController::~SettingsWindowController() {
    if (window_) {
        window_->setDelegate(nullptr);
    }
}

void SettingsWindowController::show(SettingsTab tab) {
    tabSelection_->selected.set(tab);
    if (!window_) {
        rootView_ =
            std::make_unique<SettingsView>(environment_, platform_, *setupState_, *tabSelection_);
        WindowSettings settings;
        settings.name = "Settings";
        settings.title = windowTitle;
        settings.contentSize = SettingsView::size;
        settings.styleMask = styleMask;
        settings.releasedWhenClosed = false;
        settings.collectionBehavior = kMoveToActiveSpace;
        window_ = host_.hostSettingsWindow(settings, *rootView_);
        // Centred once; later showings leave the window where the person put it.
        window_->center();
        window_->setDelegate(this);
    }
    setupState_->startPolling();
    platform_.application.setActivationPolicy(ActivationPolicy::regular);
    platform_.application.activate();
    const bool wasVisible = window_->isVisible();
    window_->makeKeyAndOrderFront();
    if (!wasVisible) {
        rootView_->appear();
    }
}

void SettingsWindowController::windowWillClose(Window& window) {
    if (&window != window_.get()) {
        return;
    }
    setupState_->stopPolling();
    platform_.application.setActivationPolicy(ActivationPolicy::accessory);
    rootView_->disappear();
}

}  // namespace lumivoke
