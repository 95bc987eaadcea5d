#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Simulator.h"

namespace lumivoke::sim {

/// Gathers a scenario's steps line by line and gives "repeat N" … "end" its shape: the lines
/// between become one step that runs them N times. Every bound is checked as the lines come, so
/// a scenario that would run too long is malformed before anything runs.
class StepBuilder {
public:
    explicit StepBuilder(std::string file) : file_(std::move(file)) { frames_.emplace_back(); }

    /// Takes a "repeat N" or "end" line and returns true; false for any other line. Throws
    /// ScenarioError (without the location) when the line is malformed or breaks a bound.
    bool takeBlockLine(const std::vector<Word>& words, int line, ParseScope& scope);
    /// Adds a parsed command line to the innermost open block.
    void add(ScenarioStep step);
    /// The scenario's steps; a ScenarioError with "FILE:LINE: " for a repeat left open.
    std::vector<ScenarioStep> finish();

private:
    struct Frame {
        int line = 0;  // of the repeat; 0 for the scenario itself
        long long count = 1;
        std::vector<ScenarioStep> steps;
        std::uint64_t commands = 0;  // each pass of a line counted, nested repeats included
        Duration timeAtStart{0};
    };

    void requireCommandBudget() const;

    std::string file_;
    std::vector<Frame> frames_;
};

}  // namespace lumivoke::sim
