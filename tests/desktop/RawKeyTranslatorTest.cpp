#include "RawKeyTranslator.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace lumivoke::desktop {
namespace {

// Keycodes and keysyms of a pc105 keyboard with a US layout.
struct Key {
    int keycode;
    std::uint32_t keysym;
};
constexpr Key kShiftL{50, 0xffe1}, kShiftR{62, 0xffe2}, kControlL{37, 0xffe3},
    kControlR{105, 0xffe4}, kCapsLock{66, 0xffe5}, kFn{151, 0x1008ff2b}, kA{38, 'a'},
    kUp{111, 0xff52}, kMenu{135, 0xff67};

/// A translator whose trigger is the one key keycode.
RawKeyTranslator withTrigger(const Key& key, bool isModifier) {
    RawKeyTranslator keys;
    KeycodeSet trigger;
    trigger.set(static_cast<std::size_t>(key.keycode));
    keys.setTrigger(trigger, isModifier);
    return keys;
}

/// One raw event of a script: a key going down (press) or up.
struct Step {
    Key key;
    bool press;
};

/// The events a script makes, one word each: "flags:BITS@KEYCODE" or "down:TEXT+BITS@KEYCODE",
/// the bits in hex; caps lock reads as locked while capsLock is set.
std::vector<std::string> run(RawKeyTranslator& keys, const std::vector<Step>& script,
                             bool capsLock = false) {
    std::vector<std::string> out;
    for (const auto& step : script) {
        const auto event =
            keys.translate(step.key.keycode, step.key.keysym, step.press, [&] { return capsLock; });
        if (!event) {
            continue;
        }
        char bits[32];
        std::snprintf(bits, sizeof bits, "%llx@%d",
                      static_cast<unsigned long long>(event->modifierFlags), event->keyCode);
        if (event->type == KeyEventType::flagsChanged) {
            out.push_back(std::string("flags:") + bits);
        } else {
            out.push_back("down:" + event->charactersIgnoringModifiers.value_or("none") + "+" +
                          bits);
        }
    }
    return out;
}

using Events = std::vector<std::string>;

TEST(RawKeyTranslator, AModifierBitStaysSetWhileAnyOfItsKeysIsDown) {
    RawKeyTranslator keys;
    EXPECT_EQ(run(keys, {{kShiftL, true}, {kShiftR, true}, {kShiftL, false}, {kShiftR, false}}),
              (Events{"flags:20000@50", "flags:0@62"}));
    EXPECT_EQ(keys.heldFlags(), 0u);
}

TEST(RawKeyTranslator, AutoRepeatOfAHeldModifierMakesNoEvent) {
    RawKeyTranslator keys = withTrigger(kFn, false);
    EXPECT_EQ(run(keys, {{kFn, true}, {kFn, true}, {kFn, true}, {kFn, false}}),
              (Events{"flags:800000@151", "flags:0@151"}));
}

TEST(RawKeyTranslator, OrdinaryKeysAreReportedWhenPressedWithTheModifiersHeld) {
    RawKeyTranslator keys;
    EXPECT_EQ(run(keys, {{kA, true},
                         {kA, false},
                         {kControlL, true},
                         {kA, true},
                         {kUp, true},
                         {kControlL, false},
                         {kA, true}}),
              (Events{"down:a+0@38", "flags:40000@37", "down:a+40000@38",
                      "down:\xEF\x9C\x80+40000@111", "flags:0@37", "down:a+0@38"}));
}

TEST(RawKeyTranslator, CapsLockIsALockNotAHeldKey) {
    RawKeyTranslator keys;
    // Pressing caps lock locks it: the event carries the lock, the held flags do not.
    EXPECT_EQ(run(keys, {{kCapsLock, true}}, true), (Events{"flags:10000@66"}));
    EXPECT_EQ(keys.heldFlags(), 0u);
    // Releasing it changes nothing while it stays locked; another modifier keeps the lock bit.
    EXPECT_EQ(run(keys, {{kCapsLock, false}, {kShiftL, true}}, true), (Events{"flags:30000@50"}));
    // Unlocked again: the next modifier change says so.
    EXPECT_EQ(run(keys, {{kShiftL, false}}, false), (Events{"flags:0@50"}));
}

TEST(RawKeyTranslator, OnlyModifierKeysAskForTheCapsLockState) {
    RawKeyTranslator keys;
    int asked = 0;
    auto query = [&] {
        ++asked;
        return false;
    };
    (void)keys.translate(kA.keycode, kA.keysym, true, query);
    (void)keys.translate(kA.keycode, kA.keysym, false, query);
    EXPECT_EQ(asked, 0);
    (void)keys.translate(kShiftL.keycode, kShiftL.keysym, true, query);
    EXPECT_EQ(asked, 1);
}

TEST(RawKeyTranslator, ReleasesOfKeysNotSeenGoingDownAndImpossibleKeycodesChangeNothing) {
    RawKeyTranslator keys;
    // Reading began while shift was held: its release must not count shift below zero.
    EXPECT_TRUE(run(keys, {{kShiftL, false}, {{300, 0xffe1}, true}, {{-1, 0xffe3}, true}}).empty());
    EXPECT_EQ(run(keys, {{kShiftR, true}}), (Events{"flags:20000@62"}));
}

TEST(RawKeyTranslator, ResetForgetsEveryHeldKey) {
    RawKeyTranslator keys = withTrigger(kFn, false);
    (void)run(keys, {{kShiftL, true}, {kFn, true}});
    EXPECT_EQ(keys.heldFlags(), modifier::shift | modifier::function);
    keys.reset();
    EXPECT_EQ(keys.heldFlags(), 0u);
    // The keys still down when reading stopped are forgotten, so their releases say nothing.
    EXPECT_TRUE(run(keys, {{kShiftL, false}, {kFn, false}}).empty());
    EXPECT_EQ(run(keys, {{kA, true}}), (Events{"down:a+0@38"}));
}

TEST(RawKeyTranslator, TheTriggerIsFnAndNeverItsOwnModifier) {
    RawKeyTranslator keys = withTrigger(kControlR, true);
    // Right Ctrl is Fn alone; Left Ctrl is still Control, so both together are a combination.
    EXPECT_EQ(
        run(keys, {{kControlR, true}, {kControlL, true}, {kControlL, false}, {kControlR, false}}),
        (Events{"flags:800000@105", "flags:840000@37", "flags:800000@37", "flags:0@105"}));
    // Without a trigger, neither Right Ctrl nor the keys that used to mean Fn are Fn.
    RawKeyTranslator none;
    EXPECT_EQ(run(none, {{kControlR, true}, {kControlR, false}, {kFn, true}, {kFn, false}}),
              (Events{"flags:40000@105", "flags:0@105", "down:none+0@151"}));
}

TEST(RawKeyTranslator, AKeyPressedWhileAModifierTriggerIsHeldIsAShortcut) {
    struct Case {
        const char* name;
        Key trigger;
        bool isModifier;
        Events expected;
    };
    const Case cases[] = {
        // Right Ctrl + C copies: no characters, so it is neither typing nor a printable key.
        {"RightCtrl",
         kControlR,
         true,
         {"flags:800000@105", "down:none+800000@38", "flags:0@105", "down:a+0@38"}},
        // A trigger that is no modifier keeps the letter's characters.
        {"Menu",
         kMenu,
         false,
         {"flags:800000@135", "down:a+800000@38", "flags:0@135", "down:a+0@38"}},
    };
    for (const auto& c : cases) {
        RawKeyTranslator keys = withTrigger(c.trigger, c.isModifier);
        EXPECT_EQ(
            run(keys, {{c.trigger, true}, {kA, true}, {kA, false}, {c.trigger, false}, {kA, true}}),
            c.expected)
            << c.name;
    }
}

TEST(RawKeyTranslator, ANewTriggerForgetsWhatWasHeld) {
    RawKeyTranslator keys = withTrigger(kFn, false);
    (void)run(keys, {{kFn, true}, {kShiftL, true}});
    // The same trigger again, as when the keymap is read again: the hold goes on.
    KeycodeSet fn;
    fn.set(static_cast<std::size_t>(kFn.keycode));
    keys.setTrigger(fn, false);
    EXPECT_EQ(keys.heldFlags(), modifier::shift | modifier::function);
    KeycodeSet menu;
    menu.set(static_cast<std::size_t>(kMenu.keycode));
    keys.setTrigger(menu, false);
    EXPECT_EQ(keys.heldFlags(), 0u);
    // The old trigger is an ordinary key now; the new one is Fn.
    EXPECT_EQ(run(keys, {{kFn, false}, {kFn, true}, {kMenu, true}}),
              (Events{"down:none+0@151", "flags:800000@135"}));
}

}  // namespace
}  // namespace lumivoke::desktop
