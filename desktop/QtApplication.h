#pragma once

#include <QByteArray>
#include <filesystem>
#include <map>

#include "LocalSocketServer.h"
#include "base/Logger.h"
#include "base/Token.h"
#include "base/WeakAnchor.h"
#include "platform/Application.h"

namespace lumivoke {
class ControlRequestHandler;
}

namespace lumivoke::desktop {

/// The running application. Later launches and `lumivoke ctl` find it through a local socket
/// (SingleInstance): a connection that closes without a word is a later launch, a request to
/// reopen; one that sends lines is a control client, each line a request answered by the core
/// (ControlRequestHandler), one answer line each. Activation policies have no meaning on X11.
class QtApplication final : public Application {
public:
    explicit QtApplication(LogSink& sink);
    ~QtApplication() override;

    /// Answers later launches and control clients at socket from now on. Call once this process
    /// is the single instance: any socket file left there is a crashed instance's.
    void listenForReopen(const std::filesystem::path& socket);
    /// Who answers control requests; null (before the application is up, and when it goes)
    /// ends every watch and answers requests with an error.
    void setControlHandler(ControlRequestHandler* handler);

    void setActivationPolicy(ActivationPolicy policy) override;
    void activate() override;
    void terminate() override;
    void setDelegate(ApplicationDelegate* delegate) override;

private:
    /// What is known of one connection.
    struct Client {
        QByteArray pending;
        bool spoke = false;
        /// A line too long to take, being skipped up to its end.
        bool skipping = false;
        Token watch;
    };

    using ConnectionId = LocalSocketServer::ConnectionId;

    void reopen();
    void readRequests(ConnectionId id, std::string_view bytes);
    void hungUp(ConnectionId id);
    void answer(ConnectionId id, Client& client, const QByteArray& line);

    Logger log_;
    ApplicationDelegate* delegate_ = nullptr;
    // Requests that came while nobody could answer them, answered once somebody can.
    int pendingReopens_ = 0;
    ControlRequestHandler* controlHandler_ = nullptr;
    std::map<ConnectionId, Client> clients_;
    LocalSocketServer server_;
    WeakAnchor<QtApplication> anchor_{this};
};

}  // namespace lumivoke::desktop
