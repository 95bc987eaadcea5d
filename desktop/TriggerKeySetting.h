#pragma once

#include <functional>
#include <optional>
#include <string>

#include "TriggerKeyTable.h"
#include "base/Logger.h"
#include "base/MainLoop.h"
#include "base/ObserverList.h"
#include "base/WeakAnchor.h"
#include "platform/TriggerKeys.h"
#include "platform/UserDefaults.h"

namespace lumivoke::desktop {

/// The trigger key the user chose: stored under "TriggerKey" by identifier, Right Ctrl when
/// nothing (or nothing known) is stored, and for one run perhaps the key named on the command
/// line. Whoever listens to the keyboard is told the key in effect whenever it changes. Needs
/// no display.
class TriggerKeySetting final : public TriggerKeys {
public:
    using Apply = std::function<void(const TriggerChoice&)>;

    TriggerKeySetting(UserDefaults& defaults, MainLoop& loop, LogSink& sink, Apply apply);
    TriggerKeySetting(const TriggerKeySetting&) = delete;
    TriggerKeySetting& operator=(const TriggerKeySetting&) = delete;

    /// Takes choice instead of the stored key for this run, until the stored key changes.
    /// Call before start().
    void overrideForThisRun(const TriggerChoice& choice) { override_ = &choice; }
    /// Applies the key in effect and follows later changes of the stored key.
    void start();
    /// The key in effect.
    const TriggerChoice& choice() const { return *current_; }

    // TriggerKeys
    std::vector<TriggerKeyOption> options() override;
    std::string current() override { return std::string(current_->identifier); }
    bool select(const std::string& identifier) override;
    Token observe(std::function<void()> callback) override;

private:
    /// The stored key, or the default (saying once why) when none is known.
    const TriggerChoice& storedChoice();
    void use(const TriggerChoice& choice, const char* source);

    Logger log_;
    UserDefaults& defaults_;
    MainLoop& loop_;
    Apply apply_;
    const TriggerChoice* override_ = nullptr;
    const TriggerChoice* current_ = &defaultTriggerChoice();
    bool started_ = false;
    // The unknown stored text last reported, so that it is reported once.
    std::optional<std::string> reportedUnknown_;
    Token storedObserver_;
    ObserverList<> observers_;
    WeakAnchor<TriggerKeySetting> anchor_{this};
};

}  // namespace lumivoke::desktop
