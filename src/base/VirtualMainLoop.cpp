#include "base/VirtualMainLoop.h"

#include <algorithm>

namespace lumivoke {

class VirtualMainLoop::Signal final : public LoopSignal {
public:
    Signal(VirtualMainLoop& loop, std::function<void()> work)
        : loop_(loop), task_(std::make_shared<Task>()) {
        task_->work = std::move(work);
    }
    ~Signal() override { task_->cancel(); }
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;

    void raise() override { loop_.enqueue(loop_.now_, task_); }

private:
    VirtualMainLoop& loop_;
    std::shared_ptr<Task> task_;
};

VirtualMainLoop::VirtualMainLoop() : owner_(std::this_thread::get_id()) {}

void VirtualMainLoop::Task::cancel() {
    cancelled = true;
    if (running == 0) {
        work = nullptr;
    }
}

void VirtualMainLoop::enqueue(MonoTime deadline, std::shared_ptr<Task> task) {
    queue_.push(Entry{deadline, sequence_++, std::move(task)});
}

std::shared_ptr<VirtualMainLoop::Task> VirtualMainLoop::add(Duration delay,
                                                            std::function<void()> work,
                                                            Duration interval) {
    auto task = std::make_shared<Task>();
    task->work = std::move(work);
    task->interval = interval;
    enqueue(now_ + std::max(delay, Duration{0}), task);
    return task;
}

std::unique_ptr<LoopSignal> VirtualMainLoop::makeSignal(std::function<void()> work) {
    return std::make_unique<Signal>(*this, std::move(work));
}

void VirtualMainLoop::post(std::function<void()> work) {
    add(Duration{0}, std::move(work), Duration{0});
}

void VirtualMainLoop::postAfter(Duration delay, std::function<void()> work) {
    add(delay, std::move(work), Duration{0});
}

Token VirtualMainLoop::schedule(Duration delay, std::function<void()> work) {
    std::weak_ptr<Task> task = add(delay, std::move(work), Duration{0});
    return Token([task] {
        if (auto t = task.lock()) {
            t->cancel();
        }
    });
}

Token VirtualMainLoop::repeat(Duration interval, std::function<void()> work) {
    // A zero interval would spin forever on virtual time; a microsecond is the finest step.
    interval = std::max(interval, Duration{1});
    std::weak_ptr<Task> task = add(interval, std::move(work), interval);
    return Token([task] {
        if (auto t = task.lock()) {
            t->cancel();
        }
    });
}

void VirtualMainLoop::dropCancelledHead() {
    while (!queue_.empty() && queue_.top().task->cancelled) {
        queue_.pop();
    }
}

bool VirtualMainLoop::runOneDueBy(MonoTime limit) {
    dropCancelledHead();
    if (queue_.empty() || queue_.top().deadline > limit) {
        return false;
    }
    // Held here, not in the queue: the work may end the registration that owns the task.
    const std::shared_ptr<Task> task = queue_.top().task;
    const MonoTime deadline = queue_.top().deadline;
    queue_.pop();
    now_ = std::max(now_, deadline);
    if (task->interval > Duration{0}) {
        enqueue(deadline + task->interval, task);
    }
    // Run in place rather than from a copy, which would allocate on every turn.
    if (task->work) {
        ++task->running;
        task->work();
        --task->running;
        if (task->cancelled && task->running == 0) {
            task->work = nullptr;
        }
    }
    return true;
}

std::size_t VirtualMainLoop::runUntilIdle() {
    std::size_t count = 0;
    while (runOneDueBy(now_)) {
        ++count;
    }
    return count;
}

void VirtualMainLoop::advance(Duration d) {
    const MonoTime target = now_ + std::max(d, Duration{0});
    while (runOneDueBy(target)) {
    }
    now_ = target;
}

std::optional<MonoTime> VirtualMainLoop::nextDeadline() {
    dropCancelledHead();
    if (queue_.empty()) {
        return std::nullopt;
    }
    return queue_.top().deadline;
}

std::size_t VirtualMainLoop::pendingCount() const {
    auto copy = queue_;
    std::size_t live = 0;
    while (!copy.empty()) {
        live += copy.top().task->cancelled ? 0 : 1;
        copy.pop();
    }
    return live;
}

}  // namespace lumivoke
