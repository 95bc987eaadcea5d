#include <gtest/gtest.h>

#include <memory>

#include "SimPlatform.h"
#include "rules/PerAppRulesController.h"

namespace lumivoke {
namespace {

std::map<SourceProperty, PropertyValue> source(const std::string& id, const std::string& name) {
    return {{SourceProperty::id, id},
            {SourceProperty::localizedName, name},
            {SourceProperty::languages, std::vector<std::string>{"en"}},
            {SourceProperty::category, std::string(kKeyboardInputSourceCategory)},
            {SourceProperty::isSelectCapable, true}};
}

// The controller over a simulated machine with two sources and a rule for Mail, which runs.
class ControllerTest : public testing::Test {
protected:
    ControllerTest() {
        machine.inputSources.define(source("us", "U.S."));
        machine.inputSources.define(source("de", "German"));
        machine.inputSources.setCurrent("us");
        machine.workspace.addRunning("mail", RunningApplication{200, "com.example.Mail"});
        switcher = std::make_unique<LanguageSwitcher>(machine.inputSources, machine.keyboard,
                                                      machine.logSink);
        store = std::make_unique<AppRulesStore>(machine.defaults, machine.logSink);
        store->setRule("com.example.Mail", "de");
        controller = std::make_unique<PerAppRulesController>(*store, *switcher, machine.workspace,
                                                             machine.loop, log);
        controller->onAutoSwitch = [this](const InputSource& s) { switched.push_back(s.name); };
        controller->isEnabled = true;
    }

    sim::SimPlatform machine;
    MemoryLogSink log;
    std::unique_ptr<LanguageSwitcher> switcher;
    std::unique_ptr<AppRulesStore> store;
    std::unique_ptr<PerAppRulesController> controller;
    std::vector<std::string> switched;
};

TEST_F(ControllerTest, ConstructionRegistersNothing) {
    EXPECT_EQ(machine.workspace.observerCount(), 0u);
    EXPECT_FALSE(
        PerAppRulesController(*store, *switcher, machine.workspace, machine.loop, log).isEnabled);
}

TEST_F(ControllerTest, OwnProcessIsIgnoredWhateverItsIdentifier) {
    store->setRule("com.velmorandix.Lumivoke", "de");
    controller->handleActivation(machine.workspace.currentApplication());
    controller->handleActivation(RunningApplication{1000, "com.example.Mail"});
    EXPECT_TRUE(log.records.empty());
    EXPECT_TRUE(switched.empty());
}

TEST_F(ControllerTest, StopWithoutStartLogsAndActivationsAfterStopDoNothing) {
    controller->stop();
    EXPECT_EQ(log.count("stopped"), 1u);

    controller->start();
    EXPECT_EQ(machine.workspace.observerCount(), 2u);
    controller->stop();
    EXPECT_EQ(machine.workspace.observerCount(), 0u);
    EXPECT_EQ(log.count("stopped"), 2u);
    machine.workspace.activate("mail");
    machine.workspace.changeSpace();
    machine.advance(std::chrono::seconds(1));
    EXPECT_FALSE(log.contains("activated"));
    EXPECT_TRUE(switched.empty());
}

TEST_F(ControllerTest, PendingSpaceStepOutlivingTheControllerDoesNothing) {
    controller->start();
    machine.workspace.setFrontmost("mail");
    machine.workspace.changeSpace();
    machine.settle();  // the notification is in; its step is due 0.1 s later
    controller.reset();
    machine.advance(std::chrono::milliseconds(200));
    EXPECT_FALSE(log.contains("activated"));
    EXPECT_EQ(machine.inputSources.currentKey(), "us");
}

}  // namespace
}  // namespace lumivoke
