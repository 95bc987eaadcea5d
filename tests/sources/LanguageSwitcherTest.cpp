#include <gtest/gtest.h>

#include "SourcesFixture.h"
#include "sources/LanguageSwitcher.h"

namespace lumivoke {
namespace {

using testing_support::keyboardSource;

class SwitcherTest : public testing::Test {
protected:
    void define(std::initializer_list<const char*> ids) {
        for (const char* id : ids) {
            machine.inputSources.define(keyboardSource(id, id, {"en"}));
        }
    }
    LanguageSwitcher& make() {
        switcher = std::make_unique<LanguageSwitcher>(machine.inputSources, machine.keyboard, log);
        return *switcher;
    }
    std::string currentId() {
        const auto& c = *switcher->currentSource;
        return c ? c->id : "none";
    }

    sim::SimPlatform machine;
    MemoryLogSink log;
    std::unique_ptr<LanguageSwitcher> switcher;
};

struct NextCase {
    const char* current;  // "" for none
    const char* expected;
};

class SelectNext : public SwitcherTest, public testing::WithParamInterface<NextCase> {};

TEST_P(SelectNext, TakesTheSourceAfterTheCurrentOneWrapping) {
    define({"first", "second", "third"});
    machine.inputSources.define(keyboardSource("outside", "outside", {"en"}));
    machine.inputSources.setEnabled("outside", false);
    machine.inputSources.setCurrent(GetParam().current);
    auto& s = make();
    auto selected = s.selectNext();
    ASSERT_TRUE(selected.has_value());
    EXPECT_EQ(selected->id, GetParam().expected);
    EXPECT_EQ(currentId(), GetParam().expected) << "published at once";
}

INSTANTIATE_TEST_SUITE_P(Cycling, SelectNext,
                         testing::Values(NextCase{"first", "second"}, NextCase{"second", "third"},
                                         NextCase{"third", "first"}, NextCase{"outside", "first"},
                                         NextCase{"", "first"}));

TEST_F(SwitcherTest, DuplicateIdsStopAtTheFirst) {
    define({"a", "b", "a", "c"});
    machine.inputSources.setCurrent("a");
    EXPECT_EQ(make().selectNext()->id, "b");
}

TEST_F(SwitcherTest, FewerThanTwoSourcesSelectNothingAndLogNothing) {
    define({"only"});
    machine.inputSources.setCurrent("only");
    auto& s = make();
    EXPECT_FALSE(s.selectNext().has_value());
    machine.inputSources.setEnabled("only", false);
    machine.settle();
    EXPECT_FALSE(s.selectNext().has_value());
    EXPECT_TRUE(log.records.empty());
}

TEST_F(SwitcherTest, RefusedSelectionLeavesTheCurrentSource) {
    define({"a", "b"});
    machine.inputSources.setCurrent("a");
    machine.inputSources.failSelection("b");
    auto& s = make();
    int published = 0;
    Token t = s.currentSource.subscribe([&](const auto&) { ++published; });
    EXPECT_FALSE(s.selectNext().has_value());
    EXPECT_EQ(currentId(), "a");
    EXPECT_EQ(published, 1) << "only the subscription's first delivery";
}

TEST_F(SwitcherTest, FollowsTheSystemsNotificationsOnALaterTurn) {
    define({"a", "b", "c"});
    machine.inputSources.setEnabled("c", false);
    machine.inputSources.setCurrent("a");
    machine.settle();
    auto& s = make();
    EXPECT_EQ(s.sources->size(), 2u);

    machine.inputSources.systemSelect("b");
    EXPECT_EQ(currentId(), "a");
    machine.settle();
    EXPECT_EQ(currentId(), "b");

    machine.inputSources.setEnabled("c", true);
    machine.settle();
    EXPECT_EQ(s.sources->size(), 3u);
}

TEST_F(SwitcherTest, EveryAssignmentPublishesEvenAnEqualValue) {
    define({"a", "b"});
    machine.inputSources.setCurrent("a");
    auto& s = make();
    int published = 0;
    Token t = s.currentSource.subscribe([&](const auto&) { ++published; });
    s.refreshCurrent();
    s.refreshCurrent();
    EXPECT_EQ(published, 3);
}

TEST_F(SwitcherTest, CurrentSourceOutsideTheListIsStillPublished) {
    define({"a"});
    auto notSelectable = keyboardSource("ime", "IME", {"ja"});
    notSelectable[SourceProperty::isSelectCapable] = false;
    machine.inputSources.define(notSelectable);
    machine.inputSources.setCurrent("ime");
    make();
    EXPECT_EQ(currentId(), "ime");
    EXPECT_EQ(switcher->sources->size(), 1u);
}

TEST_F(SwitcherTest, NotificationAfterDestructionDoesNothing) {
    define({"a", "b"});
    make();
    machine.inputSources.systemSelect("b");
    switcher.reset();
    machine.settle();  // the posted notification must not reach the destroyed switcher
    EXPECT_EQ(machine.inputSources.currentKey(), "b");
}

}  // namespace
}  // namespace lumivoke
