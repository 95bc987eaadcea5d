#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Simulator.h"

namespace lumivoke::sim {

/// Runs scenario scripts as the simulator runs a file named s.scn, each on a new machine.
class ScriptRun : public testing::Test {
protected:
    /// The script's status (2 for a malformed one, with its error in err); out and err hold
    /// what this run alone printed.
    int run(const std::string& script) {
        out.str("");
        err.str("");
        simulator = std::make_unique<Simulator>(out, err);
        std::istringstream in(script);
        try {
            auto steps = simulator->parse(in, "s.scn");
            return simulator->run(steps);
        } catch (const ScenarioError& e) {
            err << e.what();
            return 2;
        }
    }

    std::size_t countInOutput(const std::string& text) const {
        std::size_t n = 0;
        const std::string all = out.str();
        for (auto at = all.find(text); at != std::string::npos; at = all.find(text, at + 1)) {
            ++n;
        }
        return n;
    }

    /// A script and the start of the error that stops it.
    struct Malformed {
        std::string script;
        std::string error;
    };
    /// Each script is malformed: it stops with its error before anything runs.
    void expectMalformed(const std::vector<Malformed>& cases) {
        for (const auto& c : cases) {
            EXPECT_EQ(run(c.script), 2) << c.script;
            EXPECT_EQ(err.str().rfind(c.error, 0), 0u) << c.script << " gave " << err.str();
            EXPECT_TRUE(out.str().empty()) << c.script;
        }
    }

    std::ostringstream out;
    std::ostringstream err;
    std::unique_ptr<Simulator> simulator = std::make_unique<Simulator>(out, err);
};

}  // namespace lumivoke::sim
