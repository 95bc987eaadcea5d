// The program sees every key typed anywhere: none of them may reach its log, the journal or any
// file it writes.
#include "DesktopTest.h"

#include <X11/keysym.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace lumivoke::e2e {
namespace {

// Letters in an order no word, identifier or log text has. No record that typing causes (such as
// "dirty (Fn-combo during Fn-hold, keycode=N)") holds a q, z or j: a record per key with its
// character would add one per key.
const char kProbe[] = "qzjxxjzqjqxz";
constexpr std::string_view kProbeLetters = "qzj";  // not x: every layout's id has one

// Every feature that listens to keys on: the badge hides on typing, rules follow the front
// application.
class PrivacyTest : public WithSession<[](SessionOptions& o) {
    o.settings =
        "[General]\nHoverBadgeEnabled=b:1\nPerAppRulesEnabled=b:1\nHUDOnAutoSwitchEnabled=b:1\n";
}> {
protected:
    void typeProbe() {
        for (const char* c = kProbe; *c != '\0'; ++c) {
            x().tap(x().keycode(XStringToKeysym(std::string(1, *c).c_str())));
        }
    }
};

TEST_F(PrivacyTest, NoTypedCharacterReachesTheLogOrAnyFile) {
    const std::size_t before = log().mark();
    // Typed plainly, typed with the trigger held (a chord the program looks at closely), and
    // typed with the debug records of the key path.
    typeProbe();
    x().key(session().trigger(), true);
    typeProbe();
    x().key(session().trigger(), false);
    typeProbe();
    // A tap after the typing: once its HUD shows, every key before it has been handled.
    const std::size_t mark = log().mark();
    session().tapTrigger();
    ASSERT_TRUE(session().waitForHud("DE")) << x().describeWindows() << log().tail(mark);
    // And the settings window, which writes the settings file.
    ASSERT_EQ(session().launchAgain(), 0);
    ASSERT_TRUE(eventually([&] { return session().settingsWindow().has_value(); }));
    typeProbe();
    session().tapTrigger();
    ASSERT_TRUE(eventually([&] { return x().group() == 2; }));
    ASSERT_FALSE(log().waitFor("Fn↑", mark).empty()) << log().tail(mark);

    // The terminal shows what was typed; nothing else may hold it. Every file of the session,
    // the program's log among them; the X server's and the other programs' too, since the
    // program could write anywhere its environment points.
    std::size_t searched = 0;
    for (const auto& entry : fs::recursive_directory_iterator(
             session().folder(), fs::directory_options::skip_permission_denied)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        ++searched;
        EXPECT_EQ(readFile(entry.path()).value_or("").find(kProbe), std::string::npos)
            << "the typed text is in " << entry.path();
    }
    EXPECT_GE(searched, 2u) << "neither the log nor the settings file was there to search";
    EXPECT_FALSE(readFile(log().path()).value_or("").empty());
    // Each letter was typed three times in each of four rounds (the keys of the one with the
    // trigger held are not even seen as characters): a record per key naming its character
    // would hold each letter nine times at least; what the typing causes to be logged holds
    // none of them.
    const auto typed = log().lines();
    for (const char letter : kProbeLetters) {
        std::size_t count = 0;
        for (std::size_t i = before; i < typed.size(); ++i) {
            count += static_cast<std::size_t>(std::count(typed[i].begin(), typed[i].end(), letter));
        }
        EXPECT_LT(count, 3u) << "'" << letter << "' is in the log " << count << " times"
                             << log().tail(before);
    }
    // Where a journal runs, the program's entries there as well.
    if (fs::is_socket("/run/systemd/journal/socket") && findExecutable("journalctl")) {
        const fs::path exported = session().folder() / "journal.txt";
        session().run(
            {"sh", "-c",
             "journalctl --no-pager -o export _PID=" + std::to_string(session().lumivoke()->pid()) +
                 " > " + exported.string()});
        EXPECT_EQ(readFile(exported).value_or("").find(kProbe), std::string::npos)
            << "the typed text is in the journal";
    }
}

}  // namespace
}  // namespace lumivoke::e2e
