#include "SimLoginItems.h"

namespace lumivoke::sim {

std::string loginItemStatusName(LoginItemStatus status) {
    switch (status) {
        case LoginItemStatus::notRegistered:
            return "not-registered";
        case LoginItemStatus::enabled:
            return "enabled";
        case LoginItemStatus::requiresApproval:
            return "requires-approval";
        case LoginItemStatus::notFound:
            return "not-found";
    }
    return "?";
}

bool SimLoginItems::registerMainApp() {
    if (std::exchange(failRegister_, false)) {
        trace_.add("login-item", "register failed");
        return false;
    }
    // While the user has not approved the item, registering succeeds but does not enable it.
    if (status_ != LoginItemStatus::requiresApproval) {
        status_ = LoginItemStatus::enabled;
    }
    trace_.add("login-item", "register ok");
    return true;
}

bool SimLoginItems::unregisterMainApp() {
    if (std::exchange(failUnregister_, false)) {
        trace_.add("login-item", "unregister failed");
        return false;
    }
    status_ = LoginItemStatus::notRegistered;
    trace_.add("login-item", "unregister ok");
    return true;
}

OpenPanelResult SimOpenPanels::runModal(const OpenPanelSettings& settings) {
    last_ = settings;
    std::string types;
    for (const auto& t : settings.allowedContentTypes) {
        types += (types.empty() ? "" : ",") + t;
    }
    trace_.add("open-panel", "run title=" + quoted(settings.title) +
                                 " prompt=" + quoted(settings.prompt) + " types=" + types +
                                 " directory=" + settings.directoryURL);
    Answer planned;
    if (!answers_.empty()) {
        planned = std::move(answers_.front());
        answers_.pop_front();
    }
    if (planned.whileUp) {
        planned.whileUp();
    }
    const auto& answer = planned.path;
    if (!answer) {
        trace_.add("open-panel", "cancel");
        return {0, std::nullopt};
    }
    trace_.add("open-panel", "choose " + *answer);
    return {kModalResponseOK, *answer};
}

}  // namespace lumivoke::sim
