#include "base/VirtualMainLoop.h"

#include <algorithm>

namespace lumivoke {

VirtualMainLoop::VirtualMainLoop() : owner_(std::this_thread::get_id()) {}

std::shared_ptr<VirtualMainLoop::Task> VirtualMainLoop::add(Duration delay,
                                                            std::function<void()> work,
                                                            Duration interval) {
    auto task = std::make_shared<Task>();
    task->work = std::move(work);
    task->interval = interval;
    queue_.push(Entry{now_ + std::max(delay, Duration{0}), sequence_++, task});
    return task;
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
            t->cancelled = true;
            t->work = nullptr;
        }
    });
}

Token VirtualMainLoop::repeat(Duration interval, std::function<void()> work) {
    // A zero interval would spin forever on virtual time; a microsecond is the finest step.
    interval = std::max(interval, Duration{1});
    std::weak_ptr<Task> task = add(interval, std::move(work), interval);
    return Token([task] {
        if (auto t = task.lock()) {
            t->cancelled = true;
            t->work = nullptr;
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
    Entry entry = queue_.top();
    queue_.pop();
    now_ = std::max(now_, entry.deadline);
    if (entry.task->interval > Duration{0}) {
        queue_.push(Entry{entry.deadline + entry.task->interval, sequence_++, entry.task});
    }
    // Copy the work: the task may cancel itself (and clear its work) while running.
    auto work = entry.task->work;
    if (work) {
        work();
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
