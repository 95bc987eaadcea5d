#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "base/Token.h"

namespace lumivoke {

using Duration = std::chrono::microseconds;

/// The monotonic clock of the main loop. It never jumps with the wall clock.
struct MonotonicClock {
    using duration = Duration;
    using rep = duration::rep;
    using period = duration::period;
    using time_point = std::chrono::time_point<MonotonicClock, duration>;
    static constexpr bool is_steady = true;
};
using MonoTime = MonotonicClock::time_point;

/// Work registered once with a main loop, to run on a later turn each time it is raised: what a
/// path that runs on every key event hands to the loop, since a post() allocates. Destroying
/// the signal withdraws the runs still pending; its work holds its owner weakly all the same.
class LoopSignal {
public:
    virtual ~LoopSignal() = default;
    /// Queues one run of the work on a later turn, never inside this call, without allocating.
    /// Each raise runs it once: raises while one is pending are not merged, so that two taps
    /// in one turn stay two taps.
    virtual void raise() = 0;
};

/// The main loop every callback of the application runs on.
class MainLoop {
public:
    virtual ~MainLoop() = default;

    /// Runs work on a later turn of the loop, never inside this call; work that must not
    /// outlive its owner holds the owner weakly.
    virtual void post(std::function<void()> work) = 0;
    /// Runs work once, delay after now; like post(), it cannot be withdrawn.
    virtual void postAfter(Duration delay, std::function<void()> work) = 0;
    /// Runs work once, delay after now, unless the returned token is cancelled first.
    virtual Token schedule(Duration delay, std::function<void()> work) = 0;
    /// Runs work every interval, the first time one interval from now, until the token ends.
    virtual Token repeat(Duration interval, std::function<void()> work) = 0;
    /// Registers work to run on a later turn each time the returned signal is raised; the loop
    /// must outlive the raises, not the signal.
    [[nodiscard]] virtual std::unique_ptr<LoopSignal> makeSignal(std::function<void()> work) = 0;
    /// The current time on the monotonic clock.
    virtual MonoTime now() const = 0;
    /// Whether the caller runs on the thread that owns the loop.
    virtual bool isMainThread() const = 0;
};

/// Checks a main-thread precondition; a violation is a programming error and aborts.
void requireMainThread(const MainLoop& loop, const char* operation);

}  // namespace lumivoke
