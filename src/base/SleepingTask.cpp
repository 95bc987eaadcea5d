#include "base/SleepingTask.h"

#include <memory>

namespace lumivoke {
namespace {

struct TaskState : std::enable_shared_from_this<TaskState> {
    MainLoop* loop = nullptr;
    std::vector<SleepStep> steps;
    std::size_t next = 0;
    bool cancelled = false;
    Token sleeping;

    void sleepThenRun() {
        if (next >= steps.size()) {
            return;
        }
        auto self = shared_from_this();
        auto wake = [self] {
            self->sleeping = Token();
            auto step = std::move(self->steps[self->next].then);
            ++self->next;
            if (step) {
                step();
            }
            self->sleepThenRun();
        };
        if (cancelled) {
            loop->post(std::move(wake));
        } else {
            sleeping = loop->schedule(steps[next].sleep, std::move(wake));
        }
    }

    void cancel() {
        if (cancelled) {
            return;
        }
        cancelled = true;
        if (sleeping) {
            // End the current sleep at once; the step after it still runs, on a later turn.
            sleeping.cancel();
            sleepThenRun();
        }
    }
};

}  // namespace

Token startSleepingTask(MainLoop& loop, std::vector<SleepStep> steps) {
    auto state = std::make_shared<TaskState>();
    state->loop = &loop;
    state->steps = std::move(steps);
    state->sleepThenRun();
    return Token([state] { state->cancel(); });
}

}  // namespace lumivoke
