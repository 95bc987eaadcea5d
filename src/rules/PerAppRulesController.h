#pragma once

#include <functional>

#include "base/Logger.h"
#include "base/MainLoop.h"
#include "base/Token.h"
#include "base/WeakAnchor.h"
#include "platform/Workspace.h"
#include "rules/AppRulesStore.h"
#include "sources/LanguageSwitcher.h"

namespace lumivoke {

/// Applies the per-app rules: when an application becomes frontmost, and shortly after each
/// Space change, selects the input source its rule names.
class PerAppRulesController {
public:
    PerAppRulesController(AppRulesStore& store, LanguageSwitcher& languageSwitcher,
                          Workspace& workspace, MainLoop& loop, LogSink& sink);
    ~PerAppRulesController();
    PerAppRulesController(const PerAppRulesController&) = delete;
    PerAppRulesController& operator=(const PerAppRulesController&) = delete;

    /// Registers the activation and Space observers; called once.
    void start();
    /// Removes the observers that are registered; logs "stopped" in any case.
    void stop();
    /// The rule decision for one running application.
    void handleActivation(const RunningApplication& app);

    /// While false, activations are logged and ignored.
    bool isEnabled = false;
    /// Called after each automatic switch with the source switched to.
    std::function<void(const InputSource&)> onAutoSwitch;

private:
    Logger log_;
    AppRulesStore& store_;
    LanguageSwitcher& languageSwitcher_;
    Workspace& workspace_;
    MainLoop& loop_;
    Token activationObserver_;
    Token spaceObserver_;
    WeakAnchor<PerAppRulesController> anchor_{this};
};

}  // namespace lumivoke
