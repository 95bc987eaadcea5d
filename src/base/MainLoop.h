#pragma once

#include <chrono>
#include <functional>

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
    /// The current time on the monotonic clock.
    virtual MonoTime now() const = 0;
    /// Whether the caller runs on the thread that owns the loop.
    virtual bool isMainThread() const = 0;
};

/// Checks a main-thread precondition; a violation is a programming error and aborts.
void requireMainThread(const MainLoop& loop, const char* operation);

}  // namespace lumivoke
