#include "QtMainLoop.h"

#include <QPointer>
#include <QThread>
#include <QTimer>

namespace lumivoke::desktop {

QtMainLoop::QtMainLoop() : thread_(QThread::currentThread()) {
    clock_.start();
}

QtMainLoop::~QtMainLoop() = default;

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

MonoTime QtMainLoop::now() const {
    return MonoTime(Duration(clock_.nsecsElapsed() / 1000));
}

bool QtMainLoop::isMainThread() const {
    return QThread::currentThread() == thread_;
}

}  // namespace lumivoke::desktop
