#pragma once

#include <functional>
#include <vector>

#include "base/MainLoop.h"

namespace lumivoke {

/// One step of a sleeping task: sleep, then run.
struct SleepStep {
    Duration sleep;
    std::function<void()> then;
};

/// Starts an asynchronous task on the main loop that runs its steps in order, each after its
/// sleep. Cancelling (or dropping the token) does not stop the task: every remaining sleep ends
/// at once and the remaining steps run on later turns, just as a cancelled sleep returns early
/// and the code after it goes on. Steps therefore decide for themselves whether they are stale.
Token startSleepingTask(MainLoop& loop, std::vector<SleepStep> steps);

}  // namespace lumivoke
