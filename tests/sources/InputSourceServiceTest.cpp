#include <gtest/gtest.h>

#include <unordered_set>

#include "SourcesFixture.h"
#include "sources/InputSourceService.h"

namespace lumivoke {
namespace {

using testing_support::keyboardSource;

class ServiceTest : public testing::Test {
protected:
    ServiceTest() : service(machine.inputSources, machine.keyboard, log) {}

    std::vector<std::string> listedIds() {
        std::vector<std::string> ids;
        for (const auto& s : service.listSources()) {
            ids.push_back(s.id);
        }
        return ids;
    }

    sim::SimPlatform machine;
    MemoryLogSink log;
    InputSourceService service;
};

TEST_F(ServiceTest, ListsOnlyEnabledSelectableKeyboardSourcesInSystemOrder) {
    auto& sys = machine.inputSources;
    sys.define(keyboardSource("a", "A", {"en"}));
    auto palette = keyboardSource("palette", "Emoji", {"en"});
    palette[SourceProperty::category] = std::string("TISCategoryPaletteInputSource");
    sys.define(palette);
    auto notSelectable = keyboardSource("ns", "NS", {"en"});
    notSelectable[SourceProperty::isSelectCapable] = false;
    sys.define(notSelectable);
    auto noCategory = keyboardSource("nc", "NC", {"en"});
    noCategory.erase(SourceProperty::category);
    sys.define(noCategory);
    auto textFlag = keyboardSource("tf", "TF", {"en"});
    textFlag[SourceProperty::isSelectCapable] = std::string("yes");  // wrong type
    sys.define(textFlag);
    auto listCategory = keyboardSource("lc", "LC", {"en"});
    listCategory[SourceProperty::category] = std::vector<std::string>{kKeyboardInputSourceCategory};
    sys.define(listCategory);
    sys.define(keyboardSource("b", "B", {"de"}));
    sys.define(keyboardSource("a", "A again", {"en"}));  // duplicates are kept
    sys.define(keyboardSource("off", "Off", {"fr"}));
    sys.setEnabled("off", false);

    EXPECT_EQ(listedIds(), (std::vector<std::string>{"a", "b", "a"}));
}

TEST_F(ServiceTest, MissingOrWrongTypedPropertiesFallBack) {
    auto noName = keyboardSource("com.x.NoName", "", {"en"});
    noName.erase(SourceProperty::localizedName);
    machine.inputSources.define(noName);
    auto noId = keyboardSource("", "Nameless", {});
    noId.erase(SourceProperty::id);
    noId[SourceProperty::languages] = std::string("en");  // not a list
    machine.inputSources.define(noId);
    auto numericName = keyboardSource("com.x.Num", "", {"ru"});
    numericName[SourceProperty::localizedName] = 5.0;
    machine.inputSources.define(numericName);
    auto neither = keyboardSource("", "", {});
    neither.erase(SourceProperty::id);
    neither.erase(SourceProperty::localizedName);
    machine.inputSources.define(neither);

    const auto list = service.listSources();
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].name, "com.x.NoName");
    EXPECT_EQ(list[1].id, "unknown");
    EXPECT_EQ(list[1].name, "Nameless");
    EXPECT_TRUE(list[1].languages.empty());
    EXPECT_EQ(list[2].name, "com.x.Num");
    EXPECT_EQ(list[3].id, "unknown");
    EXPECT_EQ(list[3].name, "unknown");
}

TEST_F(ServiceTest, NoListFromTheSystemIsAnEmptyList) {
    machine.inputSources.define(keyboardSource("a", "A", {"en"}));
    machine.inputSources.setListUnavailable(true);
    EXPECT_TRUE(service.listSources().empty());
}

TEST(InputSource, ShortCodeIsTheFirstTwoCharactersOfTheFirstLanguageUpperCased) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"en"}, "EN"},
        {{"zh-Hans", "en"}, "ZH"},
        {{"zh-Hant"}, "ZH"},
        {{"uk"}, "UK"},
        {{"x"}, "X"},
        {{}, "??"},
        {{""}, ""},
        {{"de", "en"}, "DE"},
        // Unicode's own upper case, also where it takes more than one character.
        {{"ελ"}, "ΕΛ"},
        {{"äb"}, "ÄB"},
        {{"ßa"}, "SSA"},
        {{"ǆx"}, "ǄX"},
        // Two characters as a person sees them: a combining mark stays with its base, and a
        // cluster of several code points counts once.
        {{"a\u0301bc"}, "A\u0301B"},
        {{"ab\u0301c"}, "AB\u0301"},
        {{"\U0001F469\u200D\U0001F4BBab"}, "\U0001F469\u200D\U0001F4BBA"},
        {{"\r\nx"}, "\r\nX"},
        // Malformed bytes show as the replacement character.
        {{"\xFF"
          "a"},
         "\uFFFDA"},
    };
    for (const auto& [langs, code] : cases) {
        InputSource s{"id", "name", langs, nullptr};
        EXPECT_EQ(shortCode(s), code) << (langs.empty() ? "(none)" : langs.front());
    }
}

TEST(InputSource, IdentityIsTheIdAlone) {
    InputSource a{"com.apple.keylayout.ABC", "ABC", {"en"}, nullptr};
    InputSource b{"com.apple.keylayout.ABC", "Another name", {"de"}, nullptr};
    InputSource c{"com.apple.keylayout.German", "ABC", {"en"}, nullptr};
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_EQ(std::hash<InputSource>{}(a), std::hash<InputSource>{}(b));
    std::unordered_set<InputSource> set{a, b, c};
    EXPECT_EQ(set.size(), 2u);
}

class SelectTest : public ServiceTest {
protected:
    SelectTest() {
        machine.inputSources.define(keyboardSource("a", "A", {"en"}));
        machine.inputSources.define(keyboardSource("b", "B", {"de"}));
        machine.inputSources.setCurrent("a");
    }
    InputSource record(const std::string& id) {
        for (const auto& s : service.listSources()) {
            if (s.id == id) {
                return s;
            }
        }
        return {id, id, {}, nullptr};
    }
};

TEST_F(SelectTest, SuccessSelectsAndLogsOnlyTheRequest) {
    EXPECT_TRUE(service.select(record("b")));
    EXPECT_EQ(machine.inputSources.currentKey(), "b");
    ASSERT_EQ(log.records.size(), 1u);
    EXPECT_EQ(log.records[0].text, "select() id=b name=B");
    EXPECT_EQ(log.records[0].level, LogLevel::info);
}

TEST_F(SelectTest, ResolvesAFreshHandleByIdNotTheRecordsOwn) {
    // A record built from elsewhere (no handle) still selects by its id.
    EXPECT_TRUE(service.select(InputSource{"b", "whatever", {}, nullptr}));
    EXPECT_EQ(machine.inputSources.currentKey(), "b");
}

TEST_F(SelectTest, RefusedSelectionReportsTheStatus) {
    machine.inputSources.failSelection("b");
    machine.keyboard.setCapsLock(true);
    EXPECT_FALSE(service.select(record("b")));
    EXPECT_EQ(log.count("TISSelectInputSource FAILED status=-50 id=b"), 1u);
    EXPECT_EQ(machine.keyboard.openHIDObjects(), 0);
    EXPECT_FALSE(log.contains("setCapsLockState"));
}

TEST_F(SelectTest, CapsLockStaysOnAcrossASwitchAndIsNeverTurnedOff) {
    machine.keyboard.setCapsLock(true);
    EXPECT_TRUE(service.select(record("b")));
    EXPECT_TRUE(machine.keyboard.capsLock());
    EXPECT_EQ(machine.keyboard.openHIDObjects(), 0) << "connection closed, service released";

    // Caps lock off: the HID path is not touched at all.
    machine.keyboard.setCapsLock(false);
    machine.keyboard.setHIDFailure(sim::SimKeyboard::HIDFailure::service);
    EXPECT_TRUE(service.select(record("a")));
    EXPECT_FALSE(machine.keyboard.capsLock());
    EXPECT_FALSE(log.contains("IOHIDSystem"));
}

TEST_F(ServiceTest, EachFailurePointOfTheCapsLockPathIsReportedAndReleased) {
    using F = sim::SimKeyboard::HIDFailure;
    const std::pair<F, const char*> cases[] = {
        {F::matching, nullptr},
        {F::service, "setCapsLockState() no IOHIDSystem service"},
        {F::open, "setCapsLockState() IOServiceOpen failed"},
    };
    for (const auto& [failure, line] : cases) {
        log.records.clear();
        machine.keyboard.setHIDFailure(failure);
        service.setCapsLockState(true);
        EXPECT_FALSE(machine.keyboard.capsLock());
        EXPECT_EQ(machine.keyboard.openHIDObjects(), 0);
        if (line == nullptr) {
            EXPECT_TRUE(log.records.empty()) << "no matching dictionary returns silently";
        } else {
            EXPECT_EQ(log.count(line), 1u);
            EXPECT_EQ(log.records.back().level, LogLevel::error);
        }
    }
}

}  // namespace
}  // namespace lumivoke
