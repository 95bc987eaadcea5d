#include "TriggerKeySetting.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimDefaults.h"
#include "Trace.h"
#include "base/VirtualMainLoop.h"

namespace lumivoke::desktop {
namespace {

class TriggerKeySettingTest : public ::testing::Test {
protected:
    /// The setting, telling applied what it applies.
    TriggerKeySetting& setting() {
        if (!setting_) {
            setting_ = std::make_unique<TriggerKeySetting>(
                defaults, loop, log,
                [this](const TriggerChoice& c) { applied.emplace_back(c.identifier); });
        }
        return *setting_;
    }

    std::size_t errors() const {
        std::size_t n = 0;
        for (const auto& record : log.records) {
            n += record.level == LogLevel::error ? 1 : 0;
        }
        return n;
    }

    VirtualMainLoop loop;
    sim::Trace trace{loop};
    sim::SimDefaults defaults{loop, trace};
    MemoryLogSink log;
    std::vector<std::string> applied;

private:
    std::unique_ptr<TriggerKeySetting> setting_;
};

TEST_F(TriggerKeySettingTest, NothingStoredIsRightCtrlAndWritesNothing) {
    setting().start();
    EXPECT_EQ(applied, std::vector<std::string>{"right-ctrl"});
    EXPECT_EQ(setting().current(), "right-ctrl");
    EXPECT_EQ(log.count("trigger key right-ctrl (Right Ctrl) from the settings"), 1u);
    EXPECT_TRUE(defaults.stored().empty());
}

TEST_F(TriggerKeySettingTest, TheStoredKeyIsUsed) {
    defaults.plant("TriggerKey", std::string("scroll-lock"));
    setting().start();
    EXPECT_EQ(applied, std::vector<std::string>{"scroll-lock"});
    EXPECT_EQ(errors(), 0u);
}

TEST_F(TriggerKeySettingTest, AnUnknownStoredKeyIsReportedOnceAndLeftAsItIs) {
    struct Case {
        const char* name;
        DefaultsValue stored;
        const char* line;
    };
    const Case cases[] = {
        {"UnknownName", std::string("caps-lock"),
         "stored TriggerKey \"caps-lock\" is not one of right-ctrl, right-alt, left-super, "
         "right-super, menu, scroll-lock, pause, fn; using right-ctrl"},
        {"Label", std::string("Right Ctrl"),
         "stored TriggerKey \"Right Ctrl\" is not one of right-ctrl, right-alt, left-super, "
         "right-super, menu, scroll-lock, pause, fn; using right-ctrl"},
        {"NotText", std::int64_t{3},
         "stored TriggerKey (not text) is not one of right-ctrl, right-alt, left-super, "
         "right-super, menu, scroll-lock, pause, fn; using right-ctrl"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        VirtualMainLoop caseLoop;
        sim::Trace caseTrace{caseLoop};
        sim::SimDefaults caseDefaults{caseLoop, caseTrace};
        MemoryLogSink caseLog;
        caseDefaults.plant("TriggerKey", c.stored);
        std::vector<std::string> caseApplied;
        TriggerKeySetting s(caseDefaults, caseLoop, caseLog, [&](const TriggerChoice& choice) {
            caseApplied.emplace_back(choice.identifier);
        });
        s.start();
        EXPECT_EQ(caseApplied, std::vector<std::string>{"right-ctrl"});
        EXPECT_EQ(caseLog.count(c.line), 1u);
        EXPECT_EQ(caseDefaults.stored().at("TriggerKey"), c.stored);
        EXPECT_TRUE(caseTrace.lines().empty()) << "something was written";
    }
}

TEST_F(TriggerKeySettingTest, TheSameUnknownKeyIsNotReportedAgainButAnotherOneIs) {
    defaults.plant("TriggerKey", std::string("banana"));
    setting().start();
    ASSERT_EQ(errors(), 1u);
    // Someone writes the same unknown value again, then another one.
    defaults.set("TriggerKey", std::string("banana"));
    loop.runUntilIdle();
    EXPECT_EQ(errors(), 1u);
    defaults.set("TriggerKey", std::string("cherry"));
    loop.runUntilIdle();
    EXPECT_EQ(errors(), 2u);
    // Neither changed the key in effect, so nothing was applied again.
    EXPECT_EQ(applied, std::vector<std::string>{"right-ctrl"});
}

TEST_F(TriggerKeySettingTest, TheCommandLineWinsForThisRunUntilTheUserChooses) {
    defaults.plant("TriggerKey", std::string("menu"));
    setting().overrideForThisRun(*findTriggerChoice("pause"));
    setting().start();
    loop.runUntilIdle();
    EXPECT_EQ(setting().current(), "pause");
    EXPECT_EQ(log.count("trigger key pause (Pause) from the command line"), 1u);
    EXPECT_EQ(std::get<std::string>(defaults.stored().at("TriggerKey")), "menu")
        << "the command line is not stored";
    int notified = 0;
    const Token observer = setting().observe([&] { ++notified; });
    EXPECT_TRUE(setting().select("right-alt"));
    EXPECT_EQ(setting().current(), "right-alt");
    EXPECT_EQ(std::get<std::string>(defaults.stored().at("TriggerKey")), "right-alt");
    loop.runUntilIdle();
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(applied, (std::vector<std::string>{"pause", "right-alt"}));
}

TEST_F(TriggerKeySettingTest, AnUnknownChoiceChangesNothing) {
    setting().start();
    for (const char* name : {"", "banana", "Right Ctrl", "RIGHT-ALT"}) {
        EXPECT_FALSE(setting().select(name)) << name;
    }
    EXPECT_EQ(setting().current(), "right-ctrl");
    EXPECT_TRUE(defaults.stored().empty());
    EXPECT_EQ(applied, std::vector<std::string>{"right-ctrl"});
}

TEST_F(TriggerKeySettingTest, AKeyStoredByAnotherWriterTakesEffect) {
    setting().start();
    loop.runUntilIdle();
    int notified = 0;
    const Token observer = setting().observe([&] { ++notified; });
    defaults.set("TriggerKey", std::string("fn"));
    EXPECT_EQ(setting().current(), "right-ctrl") << "before the main loop delivers the change";
    loop.runUntilIdle();
    EXPECT_EQ(setting().current(), "fn");
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(applied, (std::vector<std::string>{"right-ctrl", "fn"}));
}

TEST_F(TriggerKeySettingTest, OffersTheTableInItsOrder) {
    const auto options = setting().options();
    ASSERT_EQ(options.size(), triggerChoices().size());
    EXPECT_EQ(options.front(), (TriggerKeyOption{"right-ctrl", "Right Ctrl"}));
    EXPECT_EQ(options.back(), (TriggerKeyOption{"fn", "Fn (XF86Fn / XF86WakeUp)"}));
}

TEST_F(TriggerKeySettingTest, AChangeArrivingAfterTheSettingIsGoneDoesNothing) {
    setting().start();
    defaults.set("TriggerKey", std::string("menu"));
    // Destroyed before the loop delivers the change.
    auto gone = std::make_unique<TriggerKeySetting>(defaults, loop, log, nullptr);
    gone->start();
    gone.reset();
    loop.runUntilIdle();
    EXPECT_EQ(applied, (std::vector<std::string>{"right-ctrl", "menu"}));
}

}  // namespace
}  // namespace lumivoke::desktop
