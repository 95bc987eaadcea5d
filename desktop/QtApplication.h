#pragma once

#include <QLocalServer>
#include <filesystem>
#include <map>

#include "base/Logger.h"
#include "base/Token.h"
#include "platform/Application.h"

class QLocalSocket;

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

    void reopen();
    void readRequests(QLocalSocket* socket);
    void answer(QLocalSocket* socket, Client& client, const QByteArray& line);

    Logger log_;
    ApplicationDelegate* delegate_ = nullptr;
    // Requests that came while nobody could answer them, answered once somebody can.
    int pendingReopens_ = 0;
    ControlRequestHandler* controlHandler_ = nullptr;
    std::map<QLocalSocket*, Client> clients_;
    QLocalServer server_;
};

}  // namespace lumivoke::desktop
