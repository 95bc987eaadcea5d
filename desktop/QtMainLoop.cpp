#include "QtMainLoop.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

#include <QAbstractEventDispatcher>
#include <QPointer>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

namespace lumivoke::desktop {

struct QtMainLoop::SignalNode {
    QtMainLoop* loop = nullptr;
    std::function<void()> work;
    SignalNode* nextRaised = nullptr;
    bool isQueued = false;
    // Raises not yet run; the node waits in the list once however many there are.
    std::size_t pending = 0;
    int running = 0;
    // Its signal went while the work ran: the node goes when the work returns.
    bool isOrphaned = false;
};

class QtMainLoop::Signal final : public LoopSignal {
public:
    explicit Signal(SignalNode* node) : node_(node) {}
    ~Signal() override {
        if (node_->loop != nullptr) {
            node_->loop->withdraw(*node_);
        }
        if (node_->running > 0) {
            node_->isOrphaned = true;
        } else {
            delete node_;
        }
    }
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;

    void raise() override {
        if (node_->loop != nullptr) {
            node_->loop->raise(*node_);
        }
    }

private:
    SignalNode* node_;
};

QtMainLoop::QtMainLoop() : thread_(QThread::currentThread()) {
    clock_.start();
}

QtMainLoop::~QtMainLoop() {
    for (SignalNode* node : signals_) {
        node->loop = nullptr;
    }
    delete wakeNotifier_;
    if (wakeFd_ >= 0) {
        ::close(wakeFd_);
    }
}

int QtMainLoop::milliseconds(Duration d) {
    const auto us = d.count();
    if (us <= 0) {
        return 0;
    }
    return static_cast<int>((us + 999) / 1000);
}

void QtMainLoop::post(std::function<void()> work) {
    QMetaObject::invokeMethod(
        &context_, [work = std::move(work)] { work(); }, Qt::QueuedConnection);
}

void QtMainLoop::postAfter(Duration delay, std::function<void()> work) {
    QTimer::singleShot(milliseconds(delay), Qt::PreciseTimer, &context_,
                       [work = std::move(work)] { work(); });
}

Token QtMainLoop::schedule(Duration delay, std::function<void()> work) {
    return startTimer(delay, true, std::move(work));
}

Token QtMainLoop::repeat(Duration interval, std::function<void()> work) {
    return startTimer(interval, false, std::move(work));
}

Token QtMainLoop::startTimer(Duration interval, bool singleShot, std::function<void()> work) {
    auto* timer = new QTimer(&context_);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setSingleShot(singleShot);
    timer->setInterval(milliseconds(interval));
    QObject::connect(timer, &QTimer::timeout, timer, [timer, singleShot, work = std::move(work)] {
        // Copied first: the work may end its own token, which deletes the timer later.
        const auto fn = work;
        if (singleShot) {
            timer->deleteLater();
        }
        fn();
    });
    timer->start();
    QPointer<QTimer> guard(timer);
    return Token([guard] {
        if (guard) {
            guard->stop();
            guard->deleteLater();
        }
    });
}

std::unique_ptr<LoopSignal> QtMainLoop::makeSignal(std::function<void()> work) {
    // Made with the first signal rather than with the loop: a socket notifier needs the
    // application's event dispatcher.
    if (wakeFd_ < 0) {
        wakeFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        if (wakeFd_ >= 0) {
            wakeNotifier_ = new QSocketNotifier(wakeFd_, QSocketNotifier::Read, &context_);
            QObject::connect(wakeNotifier_, &QSocketNotifier::activated, &context_,
                             [this] { runRaisedSignals(); });
        }
        // What was raised while the loop handled an event (a tap, from the key that ended it)
        // runs before the loop next waits, not a poll later: the layout switch follows a tap.
        // The eventfd stays the guarantee, for loops that never say they are about to wait.
        if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
            QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &context_,
                             [this] {
                                 if (firstRaised_ != nullptr) {
                                     runRaisedSignals();
                                 }
                             });
        }
    }
    auto* node = new SignalNode;
    node->loop = this;
    node->work = std::move(work);
    signals_.push_back(node);
    return std::make_unique<Signal>(node);
}

void QtMainLoop::raise(SignalNode& node) {
    ++node.pending;
    ++raisedCount_;
    if (!node.isQueued) {
        enqueueRaised(node);
    }
    if (isWakeArmed_) {
        return;
    }
    isWakeArmed_ = true;
    if (wakeFd_ >= 0) {
        const std::uint64_t one = 1;
        // Cannot fail short of the counter overflowing, which a reset on every wake prevents.
        [[maybe_unused]] const auto written = ::write(wakeFd_, &one, sizeof one);
    } else {
        // Without an eventfd the signals still run, at the cost of a posted event per wake.
        QMetaObject::invokeMethod(
            &context_, [this] { runRaisedSignals(); }, Qt::QueuedConnection);
    }
}

void QtMainLoop::enqueueRaised(SignalNode& node) {
    node.isQueued = true;
    node.nextRaised = nullptr;
    (lastRaised_ != nullptr ? lastRaised_->nextRaised : firstRaised_) = &node;
    lastRaised_ = &node;
}

void QtMainLoop::withdraw(SignalNode& node) {
    signals_.erase(std::remove(signals_.begin(), signals_.end(), &node), signals_.end());
    if (node.isQueued) {
        SignalNode* previous = nullptr;
        for (SignalNode* n = firstRaised_; n != &node; n = n->nextRaised) {
            previous = n;
        }
        (previous != nullptr ? previous->nextRaised : firstRaised_) = node.nextRaised;
        if (lastRaised_ == &node) {
            lastRaised_ = previous;
        }
        node.nextRaised = nullptr;
        node.isQueued = false;
    }
    raisedCount_ -= node.pending;
    node.pending = 0;
    node.loop = nullptr;
}

void QtMainLoop::runRaisedSignals() {
    if (wakeFd_ >= 0) {
        std::uint64_t wakes = 0;
        [[maybe_unused]] const auto taken = ::read(wakeFd_, &wakes, sizeof wakes);
    }
    // A raise from here on wakes the loop again, so what the work raises runs on a later turn.
    isWakeArmed_ = false;
    for (std::size_t budget = raisedCount_; budget > 0 && firstRaised_ != nullptr; --budget) {
        SignalNode* node = firstRaised_;
        firstRaised_ = node->nextRaised;
        if (firstRaised_ == nullptr) {
            lastRaised_ = nullptr;
        }
        node->nextRaised = nullptr;
        node->isQueued = false;
        --node->pending;
        --raisedCount_;
        if (node->pending > 0) {
            // Back to the end: raises of different signals keep their order.
            enqueueRaised(*node);
        }
        if (node->work) {
            ++node->running;
            node->work();
            --node->running;
        }
        if (node->isOrphaned && node->running == 0) {
            delete node;
        }
    }
}

MonoTime QtMainLoop::now() const {
    return MonoTime(Duration(clock_.nsecsElapsed() / 1000));
}

bool QtMainLoop::isMainThread() const {
    return QThread::currentThread() == thread_;
}

}  // namespace lumivoke::desktop
