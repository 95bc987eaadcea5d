#include "TriggerKeyTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "Keysyms.h"

namespace lumivoke::desktop {
namespace {

TEST(TriggerKeyTable, OffersEachKeyOnceWithRightCtrlFirst) {
    const auto choices = triggerChoices();
    std::vector<std::string> identifiers;
    std::set<std::string> labels;
    for (const auto& choice : choices) {
        identifiers.emplace_back(choice.identifier);
        labels.emplace(choice.label);
        EXPECT_FALSE(choice.keysyms.empty()) << choice.identifier;
        EXPECT_EQ(findTriggerChoice(choice.identifier), &choice);
    }
    EXPECT_EQ(identifiers,
              (std::vector<std::string>{"right-ctrl", "right-alt", "left-super", "right-super",
                                        "menu", "scroll-lock", "pause", "fn"}));
    EXPECT_EQ(labels.size(), choices.size()) << "two choices share a label";
    EXPECT_EQ(defaultTriggerChoice().identifier, "right-ctrl");
    EXPECT_EQ(defaultTriggerChoice().label, "Right Ctrl");
    EXPECT_EQ(findTriggerChoice("fn")->label, "Fn (XF86Fn / XF86WakeUp)");
    EXPECT_EQ(triggerIdentifiers(),
              "right-ctrl, right-alt, left-super, right-super, menu, scroll-lock, pause, fn");
}

TEST(TriggerKeyTable, UnknownNamesFindNothing) {
    for (const char* name : {"", "Right-Ctrl", "right_ctrl", "right-ctrl ", "ctrl", "Right Ctrl"}) {
        EXPECT_EQ(findTriggerChoice(name), nullptr) << '"' << name << '"';
    }
}

TEST(TriggerKeyTable, ModifierChoicesAreThoseWhoseKeysAreModifiers) {
    // What makes a held trigger turn keys into shortcuts must agree with what the keys are.
    for (const auto& choice : triggerChoices()) {
        for (const auto keysym : choice.keysyms) {
            EXPECT_EQ(modifierBitForKeysym(keysym).has_value(), choice.isModifier)
                << choice.identifier << " " << std::hex << keysym;
        }
    }
}

// A few keys of the evdev keymap with the layouts us, de and ru, as XKB gives them: the first
// level of each group.
const std::vector<KeySymbols> kKeymap = {
    {37, {0xffe3, 0xffe3, 0xffe3}},   // LCTL: Control_L
    {38, {'a', 'a', 0x6c6}},          // AC01: a, a, Cyrillic_ef
    {92, {0xfe03, 0xfe03, 0xfe03}},   // LVL3: ISO_Level3_Shift (no physical key)
    {105, {0xffe4, 0xffe4, 0xffe4}},  // RCTL: Control_R
    {108, {0xffea, 0xfe03, 0xffea}},  // RALT: Alt_R, AltGr in de, Alt_R
    {133, {0xffeb, 0xffeb, 0xffeb}},  // LWIN: Super_L
    {134, {0xffec, 0xffec, 0xffec}},  // RWIN: Super_R
    {135, {0xff67, 0xff67, 0xff67}},  // COMP: Menu
    {78, {0xff14, 0xff14, 0xff14}},   // SCLK: Scroll_Lock
    {127, {0xff13, 0xff13, 0xff13}},  // PAUS: Pause
    {151, {0x1008ff2b}},              // I151: XF86WakeUp, one group only
    {300, {0xffe4}},                  // no such keycode in X11
};

std::vector<int> keycodesOf(const KeycodeSet& set) {
    std::vector<int> codes;
    for (std::size_t i = 0; i < set.size(); ++i) {
        if (set.test(i)) {
            codes.push_back(static_cast<int>(i));
        }
    }
    return codes;
}

TEST(TriggerKeyTable, ResolvesEachChoiceToItsKeysInEveryGroup) {
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"right-ctrl", {105}},     // not the out-of-range key that also says Control_R
        {"right-alt", {92, 108}},  // by Alt_R in us and ru, by AltGr in de
        {"left-super", {133}},    {"right-super", {134}}, {"menu", {135}},
        {"scroll-lock", {78}},    {"pause", {127}},       {"fn", {151}},
    };
    for (const auto& [identifier, expected] : cases) {
        EXPECT_EQ(keycodesOf(triggerKeycodes(*findTriggerChoice(identifier), kKeymap)), expected)
            << identifier;
    }
}

TEST(TriggerKeyTable, RightAltIsFoundInAKeymapWithOnlyAGermanLayout) {
    const std::vector<KeySymbols> german = {{108, {0xfe03}}, {105, {0xffe4}}};
    EXPECT_EQ(keycodesOf(triggerKeycodes(*findTriggerChoice("right-alt"), german)),
              std::vector<int>{108});
    // A keymap without the key: nothing is the trigger, rather than something else.
    EXPECT_TRUE(triggerKeycodes(*findTriggerChoice("pause"), german).none());
}

}  // namespace
}  // namespace lumivoke::desktop
