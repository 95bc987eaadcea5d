#include "Scenario.h"
#include "ScriptRun.h"

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
    EXPECT_EQ(parseDuration("86400s"), kMaxDuration);
    EXPECT_EQ(parseDuration("86400000ms"), kMaxDuration);
    for (const char* bad : {"150", "ms", "-1s", "1.5.2s", "fast", "86400.001s", "86400000001us",
                            "1e300s", "9223372036854775807ms", "1e9s"}) {
        EXPECT_THROW(parseDuration(bad), ScenarioError) << bad;
    }
}

TEST(ParseCoordinates, WithinAMillionPoints) {
    EXPECT_EQ(parseCoordinate("-1000000", "x"), -1e6);
    EXPECT_EQ(parseExtent("1000000", "width"), 1e6);
    EXPECT_EQ(parseExtent("0", "width"), 0);
    for (const char* bad : {"1000000.5", "-1e7", "1e308", "nan", "inf"}) {
        EXPECT_THROW(parseCoordinate(bad, "x"), ScenarioError) << bad;
    }
    for (const char* bad : {"-1", "1e7", "-0.5"}) {
        EXPECT_THROW(parseExtent(bad, "width"), ScenarioError) << bad;
    }
}

class SimulatorRun : public ScriptRun {
protected:
    // Two sources, the first current, the application running, and one clean tap done.
    static constexpr const char* oneTap =
        "source id=a langs=en category=keyboard selectable=yes\n"
        "source id=b langs=de category=keyboard selectable=yes\n"
        "current a\nlaunch\ntap\n";
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
    EXPECT_EQ(run("key 12 colour=red\n"), 2);
    EXPECT_NE(err.str().find("s.scn:1: unknown option \"colour\""), std::string::npos);
}

TEST_F(SimulatorRun, OutOfRangeTimesAndCoordinatesAreMalformed) {
    const std::string at = "s.scn:2: ";
    expectMalformed({
        {"launch\ntap 9223372036854775807\n",
         at + "milliseconds out of range (0 to 86400000, a day)"},
        {"launch\ntap 86400001\n", at + "milliseconds out of range"},
        {"launch\ntap -1\n", at + "milliseconds out of range"},
        {"launch\nadvance 86401s\n",
         at + "bad duration \"86401s\": out of range (0 to 86400s, a day)"},
        {"launch\nadvance 100000000000000000000ms\n", at + "bad duration"},
        {"launch\npointer 1e7 0\n", at + "bad x \"1e7\": out of range (-1000000 to 1000000)"},
        {"launch\npointer 0 -1000001\n", at + "bad y"},
        {"launch\nscreen 0 0 -1920 1080 visible 0 0 1920 1055\n", at + "bad width \"-1920\""},
        {"launch\nscreen 0 0 1920 1080 visible 0 1e300 1920 1055\n", at + "bad y"},
        {"launch\ncursor hot=1e9,0 size=9,18\n", at + "bad hot spot"},
        {"launch\ncursor hot=4,9 size=-9,18\n", at + "bad image size"},
        {"launch\nibeam-signature hot=missing size=9,1e12\n", at + "bad image size"},
    });
    // The bounds themselves are fine (without the badge, whose display link ticks 60 times a
    // second, to keep this quick).
    EXPECT_EQ(run("defaults HoverBadgeEnabled bool off\nlaunch\ntap 86400000\nadvance 86400s\n"
                  "pointer -1000000 1000000\n"),
              0)
        << err.str();
}

TEST_F(SimulatorRun, ADirectoryIsNotAScenarioFile) {
    const std::string dir = testing::TempDir();
    try {
        simulator->parseFile(dir);
        ADD_FAILURE() << "a directory parsed as a scenario";
    } catch (const ScenarioError& e) {
        EXPECT_EQ(std::string(e.what()), dir + ": is a directory, not a scenario file");
    }
    EXPECT_THROW(simulator->parseFile(dir + "/no-such-scenario.scn"), ScenarioError);
}

TEST_F(SimulatorRun, RunTimeFaultStopsWithStatus2) {
    // Declared, but gone from the system by the time it is named.
    EXPECT_EQ(run("source id=a\nvanish a\ncurrent a\nlaunch\n"), 2);
    EXPECT_EQ(err.str(), "s.scn:3: no source \"a\" was defined\n");
    EXPECT_EQ(out.str().find("launched"), std::string::npos);
}

TEST_F(SimulatorRun, NamingWhatNoEarlierLineDeclaredIsMalformedAndNothingRuns) {
    expectMalformed({
        {"launch\ncurrent x\n", "s.scn:2: no source \"x\" was defined on an earlier line"},
        {"current a\nsource id=a\n", "s.scn:1: no source \"a\" was defined on an earlier line"},
        {"source id=a\nlaunch\nenable a b\n",
         "s.scn:3: no source \"b\" was defined on an earlier line"},
        {"source id=a\nselect-fails b\n", "s.scn:2: no source \"b\" was defined"},
        {"vanish a\n", "s.scn:1: no source \"a\" was defined"},
        {"launch\nsystem-select a\n", "s.scn:2: no source \"a\" was defined"},
        // A source whose id is not text is named by its place among such sources.
        {"source id=real:5\ncurrent source#2\n", "s.scn:2: no source \"source#2\""},
        {"app com.example.Mail\nlaunch\nactivate com.example.Mail\n",
         "s.scn:3: no running application \"com.example.Mail\" was declared on an earlier line"},
        {"launch\nfrontmost com.example.Mail\n", "s.scn:2: no running application"},
        {"launch\nopen-panel cancel during \"current x\"\n",
         "s.scn:2: in \"current x\": no source \"x\" was defined"},
    });
    EXPECT_EQ(run("source id=real:5\nsource langs=en\ncurrent source#2\ncurrent none\n"
                  "app com.example.Mail pid=300\nlaunch\nactivate com.example.Mail\n"
                  "frontmost self\nactivate none\n"),
              0)
        << err.str();
}

TEST_F(SimulatorRun, AnOpenPanelRunsItsDuringCommandsWhileItIsUp) {
    for (const char* bad : {"open-panel cancel during\n", "open-panel cancel after \"launch\"\n",
                            "open-panel cancel during \"frobnicate\"\n",
                            "open-panel cancel during \"# nothing\"\n"}) {
        EXPECT_EQ(run(bad), 2) << bad;
        EXPECT_EQ(err.str().rfind("s.scn:1: ", 0), 0u) << err.str();
    }
    // Each run on a new machine, with the Per-App Rules tab open (lines 1 to 4).
    const std::string rulesTab =
        "app com.example.Mail name=Mail\nlaunch\nmenu choose \"Settings…\"\n"
        "settings tab per-app-rules\n";
    EXPECT_EQ(
        run(rulesTab +
            "open-panel /Applications/Mail.app during \"advance 2s\" \"expect \\\"open-panel: "
            "run\\\"\"\n"
            "rules add\nexpect \"2.000 open-panel: choose /Applications/Mail.app\"\n"),
        0)
        << err.str();
    // The application cannot be torn down under its own modal run.
    EXPECT_EQ(run(rulesTab + "open-panel cancel during \"restart\"\nrules add\n"), 2);
    EXPECT_NE(err.str().find("s.scn:6: while the open panel was up: the application cannot be "
                             "torn down while its open panel is up"),
              std::string::npos)
        << err.str();
    EXPECT_EQ(
        run(rulesTab + "open-panel cancel during \"expect \\\"no such line\\\"\"\nrules add\n"), 1);
    EXPECT_EQ(
        err.str().rfind("s.scn:6: while the open panel was up: expect \"no such line\" failed", 0),
        0u)
        << err.str();
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
    // Large whole numbers keep every digit and get no point.
    EXPECT_EQ(formatNumber(1e15), "1000000000000000");
    EXPECT_EQ(formatNumber(-2.5e16), "-25000000000000000");
    EXPECT_EQ(formatNumber(999999999999999.0), "999999999999999");
    EXPECT_EQ(formatNumber(1e15 + 0.5), "1000000000000000.5");
    const std::string huge = formatNumber(1e300);
    EXPECT_EQ(huge.size(), 301u);
    EXPECT_EQ(huge.rfind("1000000000000000052504760255204420248704468581108159154", 0), 0u);
    EXPECT_EQ(huge.find('.'), std::string::npos);
    EXPECT_EQ(formatNumber(-1.7976931348623157e308).size(), 310u);
}

}  // namespace
}  // namespace lumivoke::sim
