#pragma once

namespace lumivoke {

/// The login-item status of the main application, with the system's values.
enum class LoginItemStatus {
    notRegistered = 0,
    enabled = 1,  ///< the application will be launched at login
    requiresApproval = 2,
    notFound = 3,
};

/// The system's login-item service for this application.
class LoginItemService {
public:
    virtual ~LoginItemService() = default;
    /// The current status.
    virtual LoginItemStatus status() = 0;
    /// Asks to launch the application at login; false when the system refused.
    virtual bool registerMainApp() = 0;
    /// Asks not to launch the application at login; false when the system refused.
    virtual bool unregisterMainApp() = 0;
};

}  // namespace lumivoke
