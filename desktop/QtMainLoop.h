#pragma once

#include <cstddef>
#include <vector>

#include <QElapsedTimer>
#include <QObject>

#include "base/MainLoop.h"

class QSocketNotifier;
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
    /// Raised signals run in the order raised, after the event being handled, as promptly as
    /// posted work; their place among posted work is not kept.
    std::unique_ptr<LoopSignal> makeSignal(std::function<void()> work) override;
    MonoTime now() const override;
    bool isMainThread() const override;

    /// Qt timers count whole milliseconds; a delay rounds up so that work never runs early.
    static int milliseconds(Duration d);

private:
    class Signal;
    struct SignalNode;

    Token startTimer(Duration interval, bool singleShot, std::function<void()> work);
    void raise(SignalNode& node);
    void enqueueRaised(SignalNode& node);
    void withdraw(SignalNode& node);
    void runRaisedSignals();

    QObject context_;
    // Raised signals wait in a list threaded through their nodes, so that a raise allocates
    // nothing; an eventfd written when the list stops being empty wakes the loop for them.
    // Any event loop that polls Qt's sockets runs them, a nested or foreign one included.
    int wakeFd_ = -1;
    QSocketNotifier* wakeNotifier_ = nullptr;
    bool isWakeArmed_ = false;
    SignalNode* firstRaised_ = nullptr;
    SignalNode* lastRaised_ = nullptr;
    std::size_t raisedCount_ = 0;
    // Every live signal, told when the loop goes first.
    std::vector<SignalNode*> signals_;
    QElapsedTimer clock_;
    QThread* thread_;
};

}  // namespace lumivoke::desktop
