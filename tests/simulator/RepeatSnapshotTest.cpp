// The scenario language's long-run tools: repeated blocks with their bounds, and snapshots of
// the state and of the live counts that a later moment is compared with.
#include "ScriptRun.h"

namespace lumivoke::sim {
namespace {

class LongRun : public ScriptRun {
protected:
    // Three sources, the first current; the badge's display link stays off to keep runs short.
    static constexpr const char* machine =
        "source id=a name=A langs=en category=keyboard selectable=yes\n"
        "source id=b name=B langs=de category=keyboard selectable=yes\n"
        "source id=c name=C langs=ru category=keyboard selectable=yes\n"
        "current a\n"
        "defaults HoverBadgeEnabled bool off\n";
};

TEST_F(LongRun, RepeatRunsItsLinesEachPassInOrderAndNests) {
    ASSERT_EQ(run(std::string(machine) + "launch\n"
                                         "repeat 3\n"
                                         "  repeat 2  # a comment after the count\n"
                                         "    tap\n"
                                         "    advance 1s\n"
                                         "  end\n"
                                         "  expect \"HUD: text\"\n"
                                         "end\n"
                                         "print state\n"),
              0)
        << err.str();
    EXPECT_EQ(countInOutput("clean=true"), 6u);
    // Six taps over three sources come back to the first; each pass took 1.1 s.
    EXPECT_NE(out.str().find("state: time 6.600"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("state: system current a"), std::string::npos);
}

TEST_F(LongRun, MalformedBlocksAndBoundsStopBeforeAnythingRuns) {
    expectMalformed({
        {"launch\nrepeat\nend\n", "s.scn:2: missing count"},
        {"launch\nrepeat x\nend\n", "s.scn:2: bad count \"x\": not an integer"},
        {"launch\nrepeat 0\ntap\nend\n", "s.scn:2: repeat count out of range (1 to 1000000)"},
        {"launch\nrepeat 1000001\ntap\nend\n", "s.scn:2: repeat count out of range"},
        {"launch\nrepeat -3\ntap\nend\n", "s.scn:2: repeat count out of range"},
        {"launch\nrepeat 2 3\ntap\nend\n", "s.scn:2: unexpected word \"3\""},
        {"launch\nrepeat 2 times=3\ntap\nend\n", "s.scn:2: unknown option \"times\""},
        {"launch\nend\n", "s.scn:2: end without a repeat"},
        {"launch\nrepeat 2\ntap\nend now\n", "s.scn:4: unexpected word \"now\""},
        {"launch\nrepeat 2\ntap\n", "s.scn:2: repeat without end"},
        {"repeat 2\nrepeat 3\ntap\nend\n", "s.scn:1: repeat without end"},
        {"launch\nrepeat 2\n# nothing\n\nend\n", "s.scn:5: the repeat at line 2 has no commands"},
        {"repeat 1\nrepeat 1\nrepeat 1\nrepeat 1\nrepeat 1\nrepeat 1\nrepeat 1\nrepeat 1\n"
         "repeat 1\ntap\nend\nend\nend\nend\nend\nend\nend\nend\nend\n",
         "s.scn:9: repeats nested more than 8 deep"},
        // Bounds on what the whole scenario would do, checked at the end that completes it.
        {"repeat 1000000\nrepeat 1000000\nprint live\nend\nend\n",
         "s.scn:5: the scenario would run more than 10000000 commands"},
        {"repeat 1000000\ntap\ntap\ntap\ntap\ntap\ntap\ntap\ntap\ntap\ntap\ntap\nend\n",
         "s.scn:13: the scenario would run more than 10000000 commands"},
        {"repeat 32\nadvance 86400s\nend\n",
         "s.scn:3: the scenario would cover more than 31 days (2678400s) of virtual time"},
        {"repeat 4\nrepeat 8\nadvance 86400s\nend\nend\n",
         "s.scn:5: the scenario would cover more than 31 days"},
        {"repeat 31\nadvance 86400s\nend\ntap 1\n", "s.scn:4: the scenario would cover more"},
        // Repeat and end are lines, not commands a panel can run while it is up.
        {"launch\nopen-panel cancel during \"repeat 2\"\n",
         "s.scn:2: in \"repeat 2\": repeat and end are lines of their own"},
        {"launch\nopen-panel cancel during \"end\"\n", "s.scn:2: in \"end\": repeat and end"},
        // A quoted word is never the block keyword.
        {"\"repeat\" 2\n", "s.scn:1: unknown command \"repeat\""},
        {"launch\nexpect-snapshot start\nsnapshot start\n",
         "s.scn:2: no snapshot \"start\" was taken on an earlier line"},
        {"snapshot\n", "s.scn:1: missing name"},
        {"snapshot a b\n", "s.scn:1: unexpected word \"b\""},
        {"launch\nprint everything\n", "s.scn:2: unknown print \"everything\""},
    });
    // The bounds themselves are fine: 31 days of nothing, and 10000000 commands' worth of
    // passes (the last run only once, to stay quick).
    EXPECT_EQ(run("repeat 31\nadvance 86400s\nend\nprint state\n"), 0) << err.str();
    EXPECT_NE(out.str().find("state: time 2678400.000"), std::string::npos);
    std::istringstream in("repeat 1000000\nrepeat 10\nprint live\nend\nend\n");
    EXPECT_NO_THROW(simulator->parse(in, "s.scn"));
}

TEST_F(LongRun, AFailureInsideARepeatNamesItsOwnLineAndThePass) {
    // The third pass lands on C, whose code the expectation does not know.
    EXPECT_EQ(run(std::string(machine) + "launch\n"
                                         "repeat 5\n"
                                         "  tap\n"
                                         "  expect-not \"HUD: text \\\"RU\\\"\"\n"
                                         "  advance 1s\n"
                                         "end\n"),
              1);
    EXPECT_EQ(err.str().rfind("s.scn:9: pass 2 of 5 of the repeat at line 7: expect-not "
                              "\"HUD: text \\\"RU\\\"\" failed",
                              0),
              0u)
        << err.str();
    EXPECT_EQ(countInOutput("clean=true"), 2u) << "nothing ran after the failure";

    // A fault deep inside nested repeats: each level says which pass it was in, outermost
    // first.
    EXPECT_EQ(run(std::string(machine) + "repeat 2\n"
                                         "  repeat 3\n"
                                         "    launch\n"
                                         "  end\n"
                                         "end\n"),
              2);
    EXPECT_EQ(err.str(),
              "s.scn:8: pass 1 of 2 of the repeat at line 6: pass 2 of 3 of the repeat at line 7: "
              "the application is already running\n");
}

TEST_F(LongRun, PrintLiveCountsWhatTheMachineAndTheApplicationHold) {
    ASSERT_EQ(run("print live\n"), 0) << err.str();
    const std::string before = out.str();
    for (const char* line : {"live: loop tasks 0\n", "live: key monitors 0\n", "live: panels 0\n",
                             "live: subscriptions 0\n", "live: simulator view subscriptions 0\n"}) {
        EXPECT_NE(before.find(line), std::string::npos) << line << " in\n" << before;
    }
    // Launched with the badge on and the pointer over text, after a tap.
    ASSERT_EQ(run("source id=a langs=en category=keyboard selectable=yes\n"
                  "source id=b langs=de category=keyboard selectable=yes\ncurrent a\n"
                  "launch\ncursor ibeam\ntap\nadvance 17ms\nprint live\n"),
              0)
        << err.str();
    const std::string after = out.str();
    for (const char* line : {"live: loop tasks 2\n" /* the display link and the HUD's dismissal */,
                             "live: key monitors 1\n", "live: display links 1\n",
                             "live: panels 2\n" /* the HUD and the badge */, "live: windows 0\n",
                             "live: menu-bar items 1\n", "live: input-source observers 2\n",
                             "live: workspace observers 2\n", "live: notification observers 1\n",
                             "live: simulator view subscriptions 2\n"}) {
        EXPECT_NE(after.find(line), std::string::npos) << line << " in\n" << after;
    }
}

TEST_F(LongRun, ASnapshotNamesEveryDifferenceInStateAndLiveCounts) {
    EXPECT_EQ(run(std::string(machine) +
                  "launch\nsnapshot start\ntap\nset HoverBadgeEnabled on\nexpect-snapshot start\n"),
              1);
    const std::string e = err.str();
    EXPECT_EQ(e.rfind("s.scn:10: the state and the live counts differ from snapshot \"start\":", 0),
              0u)
        << e;
    for (const char* line :
         {"\n  was state: system current a\n", "\n  now state: system current b\n",
          "\n  was state: switches hover-badge off,", "\n  now state: switches hover-badge on,",
          "\n  was state: HUD text none, no panel\n", "\n  now live: display links 1\n",
          "\n  was state: defaults HoverBadgeEnabled false\n"}) {
        EXPECT_NE(e.find(line), std::string::npos) << line << " in\n" << e;
    }
    // The clock and the HUD's generation go on counting; neither is a difference.
    EXPECT_EQ(run(std::string(machine) +
                  "launch\ntap\nadvance 1s\nsnapshot start\nrepeat 3\ntap\nadvance 1s\nend\n"
                  "expect-snapshot start\n"),
              0)
        << err.str();
}

TEST_F(LongRun, ExpectSteadyComparesEveryPassWithTheFirst) {
    // Three taps over three sources end where they began.
    EXPECT_EQ(
        run(std::string(machine) +
            "launch\nrepeat 4\n  tap\n  tap\n  tap\n  advance 1s\n  expect-steady cycle\nend\n"
            "expect-snapshot cycle\n"),
        0)
        << err.str();
    // Two do not: the second pass already differs from the first.
    EXPECT_EQ(run(std::string(machine) +
                  "launch\nrepeat 4\n  tap\n  tap\n  advance 1s\n  expect-steady cycle\nend\n"),
              1);
    EXPECT_EQ(err.str().rfind("s.scn:11: pass 2 of 4 of the repeat at line 7: the state and the "
                              "live counts differ from snapshot \"cycle\":\n  was state: system "
                              "current c\n",
                              0),
              0u)
        << err.str();
    // A snapshot taken before is the one compared with.
    EXPECT_EQ(run(std::string(machine) + "launch\nsnapshot start\ntap\nexpect-steady start\n"), 1);
    EXPECT_NE(err.str().find("now state: system current b"), std::string::npos) << err.str();
}

TEST_F(LongRun, RestartsHoldNoMoreThanTheFirstLaunchDid) {
    // Each launch hands the simulator new views to trace; those of the last one must go.
    EXPECT_EQ(run("source id=a langs=en category=keyboard selectable=yes\n"
                  "source id=b langs=de category=keyboard selectable=yes\ncurrent a\n"
                  "launch\ncursor ibeam\ntap\ntap\nadvance 1s\nreopen\nsettings close\n"
                  "snapshot first\n"
                  "repeat 3\n"
                  "  restart\n  tap\n  tap\n  advance 1s\n  reopen\n  settings close\n"
                  "end\n"
                  "expect-snapshot first\n"),
              0)
        << err.str();
}

TEST_F(LongRun, TheHelpListsTheBlockLines) {
    const std::string help = simulator->help();
    EXPECT_NE(help.find("repeat N … end"), std::string::npos);
    EXPECT_NE(help.find("at most 31 days (2678400s) of virtual time"), std::string::npos);
    EXPECT_NE(help.find("expect-snapshot NAME"), std::string::npos);
}

}  // namespace
}  // namespace lumivoke::sim
