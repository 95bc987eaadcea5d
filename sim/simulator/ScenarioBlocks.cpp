#include "ScenarioBlocks.h"

#include <memory>
#include <utility>

namespace lumivoke::sim {
namespace {

/// The action of a repeated block: each pass runs the body's lines as the scenario runs its own.
Action repeatAction(std::vector<ScenarioStep> body, long long count, int line) {
    auto steps = std::make_shared<const std::vector<ScenarioStep>>(std::move(body));
    return [steps, count, line](Simulator& s) {
        for (long long pass = 1; pass <= count; ++pass) {
            try {
                s.runSteps(*steps);
            } catch (StepFailure& failure) {
                failure.message = "pass " + std::to_string(pass) + " of " + std::to_string(count) +
                                  " of the repeat at line " + std::to_string(line) + ": " +
                                  failure.message;
                throw;
            }
        }
    };
}

}  // namespace

bool StepBuilder::takeBlockLine(const std::vector<Word>& words, int line, ParseScope& scope) {
    if (words.empty() || words.front().quoted) {
        return false;
    }
    const std::string& name = words.front().text;
    if (name != "repeat" && name != "end") {
        return false;
    }
    const Args args(std::vector<Word>(words.begin() + 1, words.end()));
    if (name == "repeat") {
        args.expectOnly(1, {});
        const long long count = parseInteger(args.at(0, "count"), "count");
        if (count < 1 || count > kMaxRepeatCount) {
            throw ScenarioError("repeat count out of range (1 to " +
                                std::to_string(kMaxRepeatCount) + ")");
        }
        if (frames_.size() > kMaxRepeatDepth) {
            throw ScenarioError("repeats nested more than " + std::to_string(kMaxRepeatDepth) +
                                " deep");
        }
        Frame frame;
        frame.line = line;
        frame.count = count;
        frame.timeAtStart = scope.virtualTime;
        frames_.push_back(std::move(frame));
        return true;
    }
    args.expectOnly(0, {});
    if (frames_.size() == 1) {
        throw ScenarioError("end without a repeat");
    }
    Frame block = std::move(frames_.back());
    frames_.pop_back();
    if (block.steps.empty()) {
        throw ScenarioError("the repeat at line " + std::to_string(block.line) +
                            " has no commands");
    }
    // The body was counted once as it was parsed; the other passes come on top. Neither factor
    // exceeds its bound, so the products cannot overflow.
    scope.coverTime((scope.virtualTime - block.timeAtStart) * (block.count - 1));
    frames_.back().commands += block.commands * static_cast<std::uint64_t>(block.count);
    requireCommandBudget();
    frames_.back().steps.push_back({file_, block.line, "repeat " + std::to_string(block.count),
                                    repeatAction(std::move(block.steps), block.count, block.line)});
    return true;
}

void StepBuilder::add(ScenarioStep step) {
    frames_.back().steps.push_back(std::move(step));
    frames_.back().commands += 1;
    requireCommandBudget();
}

void StepBuilder::requireCommandBudget() const {
    // What the open blocks hold runs at least once.
    std::uint64_t total = 0;
    for (const auto& frame : frames_) {
        total += frame.commands;
    }
    if (total > kMaxScenarioCommands) {
        throw ScenarioError("the scenario would run more than " +
                            std::to_string(kMaxScenarioCommands) +
                            " commands (each pass of a repeated line counted)");
    }
}

std::vector<ScenarioStep> StepBuilder::finish() {
    if (frames_.size() > 1) {
        throw ScenarioError(file_ + ":" + std::to_string(frames_.back().line) +
                            ": repeat without end");
    }
    return std::move(frames_.front().steps);
}

}  // namespace lumivoke::sim
