#pragma once

#include <QLocalServer>

#include "base/Logger.h"
#include "platform/Application.h"

namespace lumivoke::desktop {

/// The running application. Later launches find it through a local socket (SingleInstance)
/// and each connection is a request to reopen; activation policies have no meaning on X11.
class QtApplication final : public Application {
public:
    explicit QtApplication(LogSink& sink);
    ~QtApplication() override;

    /// Answers later launches from now on. Call once this process is the single instance: any
    /// socket file left where it listens is a crashed instance's.
    void listenForReopen();

    void setActivationPolicy(ActivationPolicy policy) override;
    void activate() override;
    void terminate() override;
    void setDelegate(ApplicationDelegate* delegate) override;

private:
    void reopen();

    Logger log_;
    ApplicationDelegate* delegate_ = nullptr;
    // Requests that came while nobody could answer them, answered once somebody can.
    int pendingReopens_ = 0;
    QLocalServer server_;
};

}  // namespace lumivoke::desktop
