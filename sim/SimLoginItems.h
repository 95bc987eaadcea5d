#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "Trace.h"
#include "platform/LoginItems.h"
#include "platform/OpenPanel.h"

namespace lumivoke::sim {

/// The simulated login-item service. A successful register enables the item unless the system
/// wants the user's approval first; either call can be made to fail once.
class SimLoginItems final : public LoginItemService {
public:
    explicit SimLoginItems(Trace& trace) : trace_(trace) {}

    void setStatus(LoginItemStatus status) { status_ = status; }
    /// The next register() fails.
    void failNextRegister() { failRegister_ = true; }
    /// The next unregister() fails.
    void failNextUnregister() { failUnregister_ = true; }

    LoginItemStatus status() override { return status_; }
    bool registerMainApp() override;
    bool unregisterMainApp() override;

private:
    Trace& trace_;
    LoginItemStatus status_ = LoginItemStatus::notRegistered;
    bool failRegister_ = false;
    bool failUnregister_ = false;
};

/// The name of a status as scenarios write it: enabled, not-registered, requires-approval,
/// not-found.
std::string loginItemStatusName(LoginItemStatus status);

/// The simulated open panel: it answers with what the scenario planned for the next run. Like
/// the real one it runs a modal loop, in which other work may happen while it is up.
class SimOpenPanels final : public OpenPanels {
public:
    explicit SimOpenPanels(Trace& trace) : trace_(trace) {}

    /// The next panel chooses path (none: the person cancels); whileUp, if given, runs while
    /// that panel is up, before it answers.
    void planAnswer(std::optional<std::string> path, std::function<void()> whileUp = nullptr) {
        answers_.push_back({std::move(path), std::move(whileUp)});
    }
    bool hasPlannedAnswer() const { return !answers_.empty(); }
    /// The settings of the last panel run.
    const std::optional<OpenPanelSettings>& lastSettings() const { return last_; }

    OpenPanelResult runModal(const OpenPanelSettings& settings) override;

private:
    struct Answer {
        std::optional<std::string> path;
        std::function<void()> whileUp;
    };

    Trace& trace_;
    std::deque<Answer> answers_;
    std::optional<OpenPanelSettings> last_;
};

}  // namespace lumivoke::sim
