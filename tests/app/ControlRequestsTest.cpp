#include "app/ControlRequests.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "SimPlatform.h"
#include "app/AppState.h"
#include "settings/SettingsWindowController.h"
#include "sources/SourcesFixture.h"

namespace lumivoke {
namespace {

using testing_support::keyboardSource;
using Json = nlohmann::json;
using Command = ControlRequest::Command;

TEST(ControlRequestParser, ReadsEachCommandWithTheFieldsItTakes) {
    struct Case {
        std::string line;
        Command command;
        std::string id;
        SettingsTab tab;
    };
    const Case cases[] = {
        {R"({"command":"list"})", Command::list, "", SettingsTab::general},
        {R"({"command":"current"})", Command::current, "", SettingsTab::general},
        {R"({"command":"next"})", Command::next, "", SettingsTab::general},
        {R"( { "command" : "watch" } )", Command::watch, "", SettingsTab::general},
        {R"({"command":"state"})", Command::state, "", SettingsTab::general},
        {R"j({"command":"select","id":"xkb:de(nodeadkeys)"})j", Command::select,
         "xkb:de(nodeadkeys)", SettingsTab::general},
        // Fields in any order, escapes decoded.
        {R"({"id":"xkb:\u0064e","command":"select"})", Command::select, "xkb:de",
         SettingsTab::general},
        {R"({"command":"settings"})", Command::settings, "", SettingsTab::general},
        {R"({"command":"settings","tab":"setup"})", Command::settings, "", SettingsTab::setup},
        {R"({"command":"settings","tab":"per-app-rules"})", Command::settings, "",
         SettingsTab::perAppRules},
    };
    for (const auto& c : cases) {
        const auto parsed = parseControlRequest(c.line);
        ASSERT_TRUE(parsed.request) << c.line << ": " << parsed.error;
        EXPECT_EQ(parsed.request->command, c.command) << c.line;
        EXPECT_EQ(parsed.request->id, c.id) << c.line;
        EXPECT_EQ(parsed.request->tab, c.tab) << c.line;
    }
}

TEST(ControlRequestParser, RefusesEverythingElseWithAReason) {
    using namespace std::string_literals;
    const std::pair<std::string, std::string> cases[] = {
        {"", "the request is not JSON"},
        {"list", "the request is not JSON"},
        {R"({"command":"list"} x)", "the request is not JSON"},
        {R"({"command":"list")", "the request is not JSON"},
        {"{\"command\":\"li\xffst\"}", "the request is not JSON"},  // not UTF-8
        {"{\"command\":\"list\"}\0"s, "the request is not JSON"},
        {R"(["list"])", "the request is not a JSON object"},
        {R"("list")", "the request is not a JSON object"},
        {"{}", "the request has no \"command\" text"},
        {R"({"command":3})", "the request has no \"command\" text"},
        {R"({"command":null})", "the request has no \"command\" text"},
        {R"({"command":"LIST"})",
         "unknown command \"LIST\"; the commands are list, current, "
         "next, select, settings, watch, state"},
        {R"({"command":"list","id":"xkb:us"})", "\"list\" takes no \"id\""},
        {R"({"command":"settings","id":"xkb:us"})", "\"settings\" takes no \"id\""},
        {R"({"command":"select","tab":"setup","id":"xkb:us"})", "\"select\" takes no \"tab\""},
        {R"({"command":"select"})", "\"select\" needs the \"id\" of a layout"},
        {R"({"command":"select","id":""})", "\"select\" needs the \"id\" of a layout"},
        {R"({"command":"select","id":7})", "\"id\" is not text"},
        {R"({"command":"settings","tab":["setup"]})", "\"tab\" is not text"},
        {R"({"command":"settings","tab":"Setup"})",
         "unknown tab \"Setup\"; the tabs are setup, general, per-app-rules"},
        {R"({"command":"list","command":"next"})", ""},  // the last one counts, as in JSON
    };
    for (const auto& [line, error] : cases) {
        const auto parsed = parseControlRequest(line);
        if (error.empty()) {
            EXPECT_TRUE(parsed.request) << line;
            continue;
        }
        EXPECT_FALSE(parsed.request) << line;
        EXPECT_EQ(parsed.error, error) << line;
    }
}

TEST(ControlRequestParser, TakesRequestsUpToTheLimitAndNoLonger) {
    const std::string head = R"({"command":"select","id":")";
    const std::string tail = "\"}";
    const std::string atLimit =
        head + std::string(kMaxControlRequestBytes - head.size() - tail.size(), 'x') + tail;
    ASSERT_EQ(atLimit.size(), kMaxControlRequestBytes);
    EXPECT_TRUE(parseControlRequest(atLimit).request);
    const auto over = parseControlRequest(atLimit + " ");
    EXPECT_FALSE(over.request);
    EXPECT_EQ(over.error, "the request is longer than 4096 bytes");
    // Deep nesting is refused as any other value, not followed down.
    EXPECT_FALSE(parseControlRequest(std::string(2000, '[') + std::string(2000, ']')).request);
}

TEST(ControlRequestWords, CommandLineWordsMakeTheRequestLineTheHandlerReads) {
    struct Case {
        std::vector<std::string_view> words;
        std::string line;
    };
    const Case cases[] = {
        {{"list"}, R"({"command":"list"})"},
        {{"current"}, R"({"command":"current"})"},
        {{"next"}, R"({"command":"next"})"},
        {{"watch"}, R"({"command":"watch"})"},
        {{"state"}, R"({"command":"state"})"},
        {{"select", "xkb:de(nodeadkeys)"}, R"j({"command":"select","id":"xkb:de(nodeadkeys)"})j"},
        {{"select", "a \"quoted\" id"}, R"({"command":"select","id":"a \"quoted\" id"})"},
        {{"settings"}, R"({"command":"settings","tab":"general"})"},
        {{"settings", "per-app-rules"}, R"({"command":"settings","tab":"per-app-rules"})"},
    };
    for (const auto& c : cases) {
        const auto parsed = controlRequestFromWords(c.words);
        ASSERT_TRUE(parsed.request) << c.line << ": " << parsed.error;
        const std::string line = controlRequestLine(*parsed.request);
        EXPECT_EQ(line, c.line);
        const auto back = parseControlRequest(line);
        ASSERT_TRUE(back.request) << line;
        EXPECT_EQ(back.request->command, parsed.request->command);
        EXPECT_EQ(back.request->id, parsed.request->id);
        EXPECT_EQ(back.request->tab, parsed.request->tab);
    }
}

TEST(ControlRequestWords, UsageMistakesSayWhatWasWrong) {
    const std::pair<std::vector<std::string_view>, std::string> cases[] = {
        {{}, "ctl needs a command: list, current, next, select ID, settings [TAB], watch, state"},
        {{"lst"},
         "unknown ctl command \"lst\"; the commands are list, current, next, select ID, "
         "settings [TAB], watch, state"},
        {{"select"}, "ctl select needs one layout id (ctl list shows them)"},
        {{"select", ""}, "ctl select needs one layout id (ctl list shows them)"},
        {{"select", "xkb:us", "xkb:de"}, "ctl select needs one layout id (ctl list shows them)"},
        {{"settings", "advanced"},
         "unknown tab \"advanced\"; the tabs are setup, general, per-app-rules"},
        {{"settings", "setup", "general"},
         "ctl settings takes at most one tab: setup, general, per-app-rules"},
        {{"list", "all"}, "ctl list takes nothing more, not \"all\""},
    };
    for (const auto& [words, error] : cases) {
        const auto parsed = controlRequestFromWords(words);
        EXPECT_FALSE(parsed.request) << error;
        EXPECT_EQ(parsed.error, error);
    }
}

class ControlRequestsTest : public testing::Test {
protected:
    ControlRequestsTest() {
        machine.inputSources.define(keyboardSource("xkb:us", "English (US)", {"en"}));
        machine.inputSources.define(keyboardSource("xkb:de", "German", {"de"}));
        machine.inputSources.define(keyboardSource("xkb:jp", "Japanese", {"ja"}));
        machine.inputSources.setCurrent("xkb:us");
        app = std::make_unique<AppState>(machine.platform(), machine.views);
        machine.settle();
        handler = std::make_unique<ControlRequestHandler>(*app);
    }

    Json ask(const std::string& line) {
        const std::string answer = handler->answer(line);
        EXPECT_EQ(answer.find('\n'), std::string::npos) << "an answer is one line: " << answer;
        const Json json = Json::parse(answer, nullptr, false);
        EXPECT_FALSE(json.is_discarded()) << answer;
        return json;
    }
    std::string currentID() const {
        const auto& current = *app->languageSwitcher().currentSource;
        return current ? current->id : "";
    }

    sim::SimPlatform machine;
    std::unique_ptr<AppState> app;
    std::unique_ptr<ControlRequestHandler> handler;
};

TEST_F(ControlRequestsTest, ASelectionThatCannotBeMadeChangesNothing) {
    const Json unknown = ask(R"({"command":"select","id":"xkb:fr"})");
    EXPECT_EQ(
        unknown,
        Json::parse(
            R"({"ok":false,"error":"no layout has the id xkb:fr; lumivoke ctl list shows them"})"));
    machine.inputSources.failSelection("xkb:de");
    const Json refused = ask(R"({"command":"select","id":"xkb:de"})");
    EXPECT_EQ(refused["ok"], false);
    EXPECT_EQ(refused["error"], "the system did not select xkb:de");
    EXPECT_EQ(currentID(), "xkb:us");
    EXPECT_FALSE(app->hudModel().text->has_value()) << "a HUD for a switch that did not happen";
}

TEST_F(ControlRequestsTest, MalformedRequestsGetAnErrorAndDisturbNothing) {
    const std::string before = ask(R"({"command":"state"})").dump();
    const std::size_t traceBefore = machine.trace.lines().size();
    for (const std::string& line : std::vector<std::string>{
             "", "garbage", "{\"command\":\"next\"", "{\"command\":\"next\",\"id\":\"x\"}",
             std::string(kMaxControlRequestBytes + 1, '{'), std::string("\x01\x02\xff", 3)}) {
        const Json answer = ask(line);
        EXPECT_EQ(answer["ok"], false) << line;
        EXPECT_TRUE(answer["error"].is_string()) << line;
    }
    machine.settle();
    EXPECT_EQ(ask(R"({"command":"state"})").dump(), before);
    EXPECT_EQ(machine.trace.lines().size(), traceBefore) << "a bad request reached the system";
}

TEST_F(ControlRequestsTest, SettingsOpensTheWindowOnTheTabAsked) {
    EXPECT_EQ(ask(R"({"command":"settings","tab":"per-app-rules"})"),
              Json::parse(R"({"ok":true,"settings":{"open":true,"tab":"per-app-rules"}})"));
    auto* controller = app->settingsControllerIfCreated();
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(*controller->tabSelection().selected, SettingsTab::perAppRules);
    EXPECT_EQ(ask(R"({"command":"settings"})")["settings"]["tab"], "general");
}

TEST_F(ControlRequestsTest, StateTellsEverythingAScriptMightShow) {
    Json state = ask(R"({"command":"state"})");
    EXPECT_EQ(state["ok"], true);
    EXPECT_EQ(state["layouts"].size(), 3u);
    EXPECT_EQ(state["current"]["id"], "xkb:us");
    EXPECT_EQ(state["hud"], Json::parse(R"({"text":null,"visible":false})"));
    EXPECT_EQ(state["badge"]["enabled"], true);
    EXPECT_EQ(state["settings"], Json::parse(R"({"open":false,"tab":null})"));
    EXPECT_EQ(state["switches"],
              Json::parse(R"({"hoverBadge":true,"perAppRules":false,"hudOnAutoSwitch":true})"));
    ask(R"({"command":"next"})");
    ask(R"({"command":"settings","tab":"setup"})");
    app->setPerAppRulesEnabled(true);
    state = ask(R"({"command":"state"})");
    EXPECT_EQ(state["current"]["id"], "xkb:de");
    EXPECT_EQ(state["hud"], Json::parse(R"({"text":"DE","visible":true})"));
    EXPECT_EQ(state["settings"], Json::parse(R"({"open":true,"tab":"setup"})"));
    EXPECT_EQ(state["switches"]["perAppRules"], true);
    // The HUD leaves after its time.
    machine.advance(std::chrono::seconds(2));
    EXPECT_EQ(ask(R"({"command":"state"})")["hud"]["visible"], false);
}

TEST_F(ControlRequestsTest, AWatchHearsEachChangeOnceAndNothingAfterItEnds) {
    EXPECT_TRUE(ControlRequestHandler::isWatch(R"({"command":"watch"})"));
    EXPECT_FALSE(ControlRequestHandler::isWatch(R"({"command":"current"})"));
    EXPECT_FALSE(ControlRequestHandler::isWatch("watch"));
    EXPECT_EQ(ask(R"({"command":"watch"})")["current"]["id"], "xkb:us");
    std::vector<std::string> lines;
    Token watch = handler->watch([&](const std::string& line) { lines.push_back(line); });
    EXPECT_TRUE(lines.empty()) << "the first line is the request's answer";
    ask(R"({"command":"next"})");
    // Another program switches; the system's notification is handled on a later turn.
    machine.inputSources.systemSelect("xkb:jp");
    machine.settle();
    // The same layout published again is no change.
    app->languageSwitcher().refreshCurrent();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(Json::parse(lines[0])["current"]["id"], "xkb:de");
    EXPECT_EQ(
        Json::parse(lines[1]),
        Json::parse(R"({"ok":true,"current":{"id":"xkb:jp","name":"Japanese","code":"JA"}})"));
    watch.cancel();
    ask(R"({"command":"next"})");
    EXPECT_EQ(lines.size(), 2u);
    // A watch outliving its handler says nothing more.
    Token orphan = handler->watch([&](const std::string& line) { lines.push_back(line); });
    handler.reset();
    app->languageSwitcher().currentSource.set(std::nullopt);
    EXPECT_EQ(lines.size(), 2u);
}

}  // namespace
}  // namespace lumivoke
