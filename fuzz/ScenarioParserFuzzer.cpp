// Arbitrary bytes as a scenario. Parsing either succeeds or throws a ScenarioError whose message
// begins "fuzz.scn:LINE: " with a line the input has, nothing else ever escapes, and parsing the
// same bytes again gives the same answer. A scenario that parses and is short (a few hundred
// commands over at most a minute of virtual time) also runs, on a machine of its own: it ends
// with status 0, 1 or 2, and a failure names a line of the input the same way.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <sstream>
#include <string>

#include "Simulator.h"

namespace {

using namespace lumivoke::sim;

constexpr const char* kFile = "fuzz.scn";
// Bounds of a run: the badge's display link ticks 60 times a virtual second.
constexpr std::size_t kMaxRunSteps = 400;
constexpr lumivoke::Duration kMaxRunTime = std::chrono::seconds(60);

[[noreturn]] void fail(const char* rule, const std::string& detail) {
    std::fprintf(stderr, "scenario-parser fuzzer: %s (%s)\n", rule, detail.c_str());
    std::abort();
}

std::size_t lineCount(const std::string& text) {
    std::size_t lines = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        ++lines;
    }
    return lines;
}

/// Whether message begins with "fuzz.scn:LINE: " for a line between 1 and lines.
bool locatedInInput(const std::string& message, std::size_t lines) {
    const std::string prefix = std::string(kFile) + ":";
    if (message.rfind(prefix, 0) != 0) {
        return false;
    }
    std::size_t at = prefix.size();
    std::size_t line = 0;
    const std::size_t digitsFrom = at;
    while (at < message.size() && message[at] >= '0' && message[at] <= '9' && at - digitsFrom < 9) {
        line = line * 10 + static_cast<std::size_t>(message[at] - '0');
        ++at;
    }
    return at > digitsFrom && line >= 1 && line <= lines && message.compare(at, 2, ": ") == 0;
}

struct Parsed {
    bool ok = false;
    std::string error;
    std::vector<ScenarioStep> steps;
    lumivoke::Duration virtualTime{0};
};

Parsed parse(Simulator& simulator, const std::string& text) {
    Parsed result;
    std::istringstream in(text);
    try {
        result.steps = simulator.parse(in, kFile);
        result.ok = true;
    } catch (const ScenarioError& e) {
        result.error = e.what();
    } catch (const std::exception& e) {
        fail("only a ScenarioError leaves the parser", e.what());
    } catch (...) {
        fail("only a ScenarioError leaves the parser", "not a std::exception");
    }
    return result;
}

/// The virtual time a parsed scenario covers, read off its advance and tap lines (a repeat's
/// body counted once per pass would need the blocks; a repeat is simply not run).
bool shortEnough(const std::vector<ScenarioStep>& steps) {
    if (steps.size() > kMaxRunSteps) {
        return false;
    }
    lumivoke::Duration total{0};
    for (const auto& step : steps) {
        const auto words = splitWords(step.text);
        if (words.empty()) {
            continue;
        }
        const std::string& name = words.front().text;
        if (name == "repeat" || name == "open-panel") {
            return false;  // a body runs many times; a panel's commands may wait
        }
        if (name == "advance" && words.size() == 2) {
            total += parseDuration(words[1].text);
        } else if (name == "tap") {
            total += words.size() == 2
                         ? std::chrono::milliseconds(parseInteger(words[1].text, "ms"))
                         : std::chrono::milliseconds(100);
        }
        if (total > kMaxRunTime) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::size_t lines = lineCount(text);
    std::ostringstream out;
    std::ostringstream err;

    Simulator simulator(out, err);
    const Parsed first = parse(simulator, text);
    if (!first.ok && !locatedInInput(first.error, lines)) {
        fail("a malformed scenario names FILE:LINE of the input", first.error);
    }
    // Parsing runs nothing and keeps no state: a second parse agrees.
    const Parsed again = parse(simulator, text);
    if (again.ok != first.ok || again.error != first.error ||
        again.steps.size() != first.steps.size()) {
        fail("parsing is repeatable", first.error + " / " + again.error);
    }
    if (!out.str().empty() || !err.str().empty()) {
        fail("parsing prints nothing", out.str() + err.str());
    }
    if (!first.ok || !shortEnough(first.steps)) {
        return 0;
    }

    int status = 0;
    try {
        status = simulator.run(first.steps);
    } catch (const std::exception& e) {
        fail("a run reports its failures by status", e.what());
    }
    if (status != 0 && status != 1 && status != 2) {
        fail("a run ends with status 0, 1 or 2", std::to_string(status));
    }
    if (status != 0 && !locatedInInput(err.str(), lines)) {
        fail("a failed run names FILE:LINE of the input", err.str());
    }
    return 0;
}
