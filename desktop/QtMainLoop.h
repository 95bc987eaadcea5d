#pragma once

#include <QElapsedTimer>
#include <QObject>

#include "base/MainLoop.h"

class QThread;

namespace lumivoke::desktop {

/// The main loop as the Qt event loop of the GUI thread.
class QtMainLoop final : public MainLoop {
public:
    QtMainLoop();
    ~QtMainLoop() override;

    void post(std::function<void()> work) override;
    void postAfter(Duration delay, std::function<void()> work) override;
    Token schedule(Duration delay, std::function<void()> work) override;
    Token repeat(Duration interval, std::function<void()> work) override;
    MonoTime now() const override;
    bool isMainThread() const override;

    /// Qt timers count whole milliseconds; a delay rounds up so that work never runs early.
    static int milliseconds(Duration d);

private:
    Token startTimer(Duration interval, bool singleShot, std::function<void()> work);

    QObject context_;
    QElapsedTimer clock_;
    QThread* thread_;
};

}  // namespace lumivoke::desktop
