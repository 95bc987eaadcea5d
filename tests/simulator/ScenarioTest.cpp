#include <gtest/gtest.h>

#include <sstream>

#include "Scenario.h"
#include "Simulator.h"

namespace lumivoke::sim {
namespace {

std::vector<std::string> texts(const std::string& line) {
    std::vector<std::string> out;
    for (const auto& w : splitWords(line)) {
        out.push_back(w.text);
    }
    return out;
}

TEST(SplitWords, QuotesEscapesAndComments) {
    EXPECT_EQ(texts("source id=a name=\"U.S. International\" # note"),
              (std::vector<std::string>{"source", "id=a", "name=U.S. International"}));
    EXPECT_EQ(texts(R"(expect "say \"hi\" \\ ok")"),
              (std::vector<std::string>{"expect", R"(say "hi" \ ok)"}));
    EXPECT_EQ(texts(R"(defaults PerAppRules data '{"a":"b # not a comment"}')"),
              (std::vector<std::string>{"defaults", "PerAppRules", "data",
                                        R"({"a":"b # not a comment"})"}));
    EXPECT_EQ(texts("   # only a comment"), std::vector<std::string>{});
    EXPECT_THROW(splitWords("expect \"open"), ScenarioError);
    EXPECT_THROW(splitWords("defaults K data 'open"), ScenarioError);
}

TEST(Args, QuotedWordsAreNeverOptions) {
    Args a(splitWords(R"(key 12 chars=a "elapsed=150ms")"));
    EXPECT_EQ(a.count(), 3u);
    EXPECT_EQ(a.at(2, "text"), "elapsed=150ms");
    EXPECT_EQ(a.option("chars"), "a");
    EXPECT_THROW(a.expectOnly(1, {"chars"}), ScenarioError);
    EXPECT_THROW(Args(splitWords("x=1 x=2")), ScenarioError);
}

TEST(ParseDuration, UnitsAndFaults) {
    EXPECT_EQ(parseDuration("150ms"), Duration(150000));
    EXPECT_EQ(parseDuration("1s"), Duration(1000000));
    EXPECT_EQ(parseDuration("0.25s"), Duration(250000));
    EXPECT_EQ(parseDuration("500us"), Duration(500));
    for (const char* bad : {"150", "ms", "-1s", "1.5.2s", "fast"}) {
        EXPECT_THROW(parseDuration(bad), ScenarioError) << bad;
    }
}

class SimulatorRun : public testing::Test {
protected:
    int run(const std::string& script) {
        std::istringstream in(script);
        try {
            auto steps = simulator.parse(in, "s.scn");
            return simulator.run(steps);
        } catch (const ScenarioError& e) {
            err << e.what();
            return 2;
        }
    }
    // Two sources, the first current, the application running, and one clean tap done.
    static constexpr const char* oneTap =
        "source id=a langs=en category=keyboard selectable=yes\n"
        "source id=b langs=de category=keyboard selectable=yes\n"
        "current a\nlaunch\ntap\n";

    std::ostringstream out;
    std::ostringstream err;
    Simulator simulator{out, err};
};

TEST_F(SimulatorRun, MalformedLineNamesFileAndLineAndNothingRuns) {
    EXPECT_EQ(run("source id=a langs=en category=keyboard selectable=yes\nlaunch\ntap banana\n"),
              2);
    EXPECT_EQ(err.str(), "s.scn:3: bad milliseconds \"banana\": not an integer");
    EXPECT_TRUE(out.str().empty()) << "a malformed scenario runs nothing";
}

TEST_F(SimulatorRun, UnknownCommandAndOptionAreMalformed) {
    EXPECT_EQ(run("\n\nfrobnicate\n"), 2);
    EXPECT_NE(err.str().find("s.scn:3: unknown command \"frobnicate\""), std::string::npos);
    err.str("");
    EXPECT_EQ(run("key 12 colour=red\n"), 2);
    EXPECT_NE(err.str().find("s.scn:1: unknown option \"colour\""), std::string::npos);
}

TEST_F(SimulatorRun, RunTimeFaultStopsWithStatus2) {
    EXPECT_EQ(run("current com.example.Missing\nlaunch\n"), 2);
    EXPECT_EQ(err.str(), "s.scn:1: no source \"com.example.Missing\" was defined\n");
}

TEST_F(SimulatorRun, ExpectationsSearchOnwardFromTheLastMatch) {
    EXPECT_EQ(
        run(std::string(oneTap) + "expect \"Fn↓\"\nexpect \"clean=true\"\nexpect-not \"Fn↓\"\n"),
        0);
}

TEST_F(SimulatorRun, FailedExpectationIsStatus1AndShowsTheSearchedLines) {
    EXPECT_EQ(run(std::string(oneTap) + "expect \"clean=true\"\nexpect \"Fn↓\"\n"), 1);
    EXPECT_NE(err.str().find("s.scn:7: expect \"Fn↓\" failed"), std::string::npos);
    EXPECT_NE(err.str().find("HUD: text \"DE\" (inserted)"), std::string::npos)
        << "the searched lines are shown";
}

TEST_F(SimulatorRun, ExpectNotFindsAnOffendingLine) {
    EXPECT_EQ(run("launch\nexpect-not \"Lumivoke launched\"\n"), 1);
    EXPECT_NE(err.str().find("expect-not \"Lumivoke launched\" failed"), std::string::npos);
}

TEST_F(SimulatorRun, TraceLinesCarryVirtualSecondsWithThreeDecimals) {
    EXPECT_EQ(run("advance 1.2345s\nlaunch\n"), 0);
    EXPECT_NE(out.str().find("1.234 info Lifecycle: Lumivoke launched — 1.0 (Build 1)"),
              std::string::npos);
}

TEST(FormatNumber, WholeNumbersHaveNoFraction) {
    EXPECT_EQ(formatNumber(840), "840");
    EXPECT_EQ(formatNumber(337.5), "337.5");
    EXPECT_EQ(formatNumber(1.23456), "1.235");
    EXPECT_EQ(formatNumber(-0.0001), "0");
    EXPECT_EQ(formatPoint({600, 337.5}), "600,337.5");
}

}  // namespace
}  // namespace lumivoke::sim
