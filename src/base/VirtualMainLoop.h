#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <queue>
#include <thread>
#include <vector>

#include "base/MainLoop.h"

namespace lumivoke {

/// A main loop on virtual time for tests and the simulator: nothing happens until the owner
/// advances time or runs what is due. Tasks due together run in the order they were added.
class VirtualMainLoop final : public MainLoop {
public:
    VirtualMainLoop();

    void post(std::function<void()> work) override;
    void postAfter(Duration delay, std::function<void()> work) override;
    Token schedule(Duration delay, std::function<void()> work) override;
    Token repeat(Duration interval, std::function<void()> work) override;
    /// A raise takes the place in the queue that a post() at that moment would take, so that
    /// traces read the same whichever of the two the code uses.
    std::unique_ptr<LoopSignal> makeSignal(std::function<void()> work) override;
    MonoTime now() const override { return now_; }
    bool isMainThread() const override { return std::this_thread::get_id() == owner_; }

    /// Runs every task due at the current time, including the ones those tasks post, until
    /// none is due. Returns the number of tasks run.
    std::size_t runUntilIdle();
    /// Runs the first task due at the current time, if any; true when one ran.
    bool runNext() { return runOneDueBy(now_); }
    /// Moves time forward by d; each task that falls due runs at its own deadline, in order.
    void advance(Duration d);
    /// The deadline of the earliest live task, if any.
    std::optional<MonoTime> nextDeadline();
    /// Number of live (not cancelled) tasks and timers.
    std::size_t pendingCount() const;

private:
    class Signal;
    struct Task {
        std::function<void()> work;
        Duration interval{0};
        bool cancelled = false;
        // Runs of the work in progress: a work that ends its own registration keeps its
        // closure until it returns.
        int running = 0;
        void cancel();
    };
    // A posted task is owned by its one entry; a timer's task is shared by its token and its
    // entry; a signal's task is made once and shared by each of its pending raises, so that a
    // raise only pushes an entry into storage the queue already has.
    struct Entry {
        MonoTime deadline;
        std::uint64_t sequence;
        std::shared_ptr<Task> task;
        bool operator>(const Entry& other) const {
            return deadline != other.deadline ? deadline > other.deadline
                                              : sequence > other.sequence;
        }
    };

    std::shared_ptr<Task> add(Duration delay, std::function<void()> work, Duration interval);
    void enqueue(MonoTime deadline, std::shared_ptr<Task> task);
    bool runOneDueBy(MonoTime limit);
    void dropCancelledHead();

    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue_;
    MonoTime now_{};
    std::uint64_t sequence_ = 0;
    std::thread::id owner_;
};

}  // namespace lumivoke
