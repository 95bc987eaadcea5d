#include "CommandLine.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace lumivoke::desktop {
namespace {

CommandLine parse(std::vector<std::string_view> args) {
    return parseCommandLine(args);
}

TEST(CommandLine, NothingMeansRunWithTheStoredTrigger) {
    const auto line = parse({});
    EXPECT_EQ(line.action, CommandLine::Action::run);
    EXPECT_EQ(line.trigger, nullptr);
}

TEST(CommandLine, TriggerNamesAKeyForThisRun) {
    for (const auto& args :
         {std::vector<std::string_view>{"--trigger", "menu"},
          std::vector<std::string_view>{"--trigger=menu"},
          std::vector<std::string_view>{"--trigger", "fn", "--trigger", "menu"}}) {
        const auto line = parse(args);
        EXPECT_EQ(line.action, CommandLine::Action::run);
        EXPECT_EQ(line.trigger, findTriggerChoice("menu"));
    }
}

TEST(CommandLine, HelpAndVersion) {
    EXPECT_EQ(parse({"--help"}).action, CommandLine::Action::help);
    EXPECT_EQ(parse({"-h"}).action, CommandLine::Action::help);
    EXPECT_EQ(parse({"--version"}).action, CommandLine::Action::version);
    // Help wins, even over a mistake that comes after it.
    EXPECT_EQ(parse({"--version", "--help", "--bogus"}).action, CommandLine::Action::help);
    const std::string usage = usageText();
    for (const auto& choice : triggerChoices()) {
        EXPECT_NE(usage.find(choice.identifier), std::string::npos) << choice.identifier;
    }
    EXPECT_NE(usage.find("lumivoke-sim"), std::string::npos);
    EXPECT_EQ(versionText("1.0.0 (Build 1)"), "Lumivoke 1.0.0 (Build 1)\n");
}

TEST(CommandLine, MistakesSayWhatWasWrong) {
    const std::pair<std::vector<std::string_view>, std::string> cases[] = {
        {{"--trigger", "caps-lock"},
         "lumivoke: unknown trigger key \"caps-lock\"; the keys are: right-ctrl, right-alt, "
         "left-super, right-super, menu, scroll-lock, pause, fn"},
        {{"--trigger="},
         "lumivoke: unknown trigger key \"\"; the keys are: right-ctrl, right-alt, left-super, "
         "right-super, menu, scroll-lock, pause, fn"},
        {{"--trigger"},
         "lumivoke: --trigger needs a key: right-ctrl, right-alt, left-super, right-super, menu, "
         "scroll-lock, pause, fn"},
        {{"--triger", "menu"}, "lumivoke: unknown option \"--triger\"; see lumivoke --help"},
        {{"-display", ":1"}, "lumivoke: unknown option \"-display\"; see lumivoke --help"},
        {{"menu"}, "lumivoke: unexpected argument \"menu\"; see lumivoke --help"},
    };
    for (const auto& [args, message] : cases) {
        const auto line = parse(args);
        EXPECT_EQ(line.action, CommandLine::Action::error) << message;
        EXPECT_EQ(line.error, message);
    }
}

TEST(CommandLine, TheNoDisplayMessageNamesTheSimulator) {
    for (const char* display : {static_cast<const char*>(nullptr), "", ":7"}) {
        const std::string text = noDisplayText(display);
        EXPECT_NE(text.find("lumivoke-sim"), std::string::npos) << text;
        EXPECT_EQ(text.back(), '\n');
    }
    EXPECT_NE(noDisplayText(":7").find("\":7\""), std::string::npos);
    EXPECT_NE(noDisplayText(nullptr).find("DISPLAY"), std::string::npos);
}

}  // namespace
}  // namespace lumivoke::desktop
