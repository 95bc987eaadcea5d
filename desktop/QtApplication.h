#pragma once

#include <QLocalServer>
#include <QString>

#include "platform/Application.h"

namespace lumivoke::desktop {

/// The running application. A second launch finds the first through a local socket and asks it
/// to reopen; activation policies have no meaning on X11.
class QtApplication final : public Application {
public:
    QtApplication();
    ~QtApplication() override;

    /// Becomes the single instance: true when this process now answers reopen requests; false
    /// when another instance runs, which has been asked to reopen.
    bool becomeSingleInstance();

    void setActivationPolicy(ActivationPolicy policy) override;
    void activate() override;
    void terminate() override;
    void setDelegate(ApplicationDelegate* delegate) override { delegate_ = delegate; }

    /// The name of the local socket of the running instance.
    static QString serverName();

private:
    void reopen();

    ApplicationDelegate* delegate_ = nullptr;
    QLocalServer server_;
};

}  // namespace lumivoke::desktop
