// Per-app rules: a rule for the terminal's application picks its layout whenever the terminal
// comes to the front, and again shortly after a desktop change.
#include "DesktopTest.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <thread>

namespace lumivoke::e2e {
namespace {

std::string base64(const std::string& bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const auto n = (static_cast<unsigned char>(bytes[i]) << 16) |
                       (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                       static_cast<unsigned char>(bytes[i + 2]);
        out += {kAlphabet[(n >> 18) & 63], kAlphabet[(n >> 12) & 63], kAlphabet[(n >> 6) & 63],
                kAlphabet[n & 63]};
    }
    if (i + 1 == bytes.size()) {
        const auto n = static_cast<unsigned char>(bytes[i]) << 16;
        out += {kAlphabet[(n >> 18) & 63], kAlphabet[(n >> 12) & 63], '=', '='};
    } else if (i + 2 == bytes.size()) {
        const auto n = (static_cast<unsigned char>(bytes[i]) << 16) |
                       (static_cast<unsigned char>(bytes[i + 1]) << 8);
        out +=
            {kAlphabet[(n >> 18) & 63], kAlphabet[(n >> 12) & 63], kAlphabet[(n >> 6) & 63], '='};
    }
    return out;
}

// The terminal's application as the desktop knows it: a desktop entry naming xterm's class.
constexpr const char* kTerminalApp = "lumivoke-e2e-terminal";

class PerAppRulesTest : public WithSession<[](SessionOptions& o) {
    // Settings as the program stores them: tagged values, the rules as JSON bytes.
    o.settings = "[General]\nPerAppRulesEnabled=b:1\nPerAppRules=\"x:" +
                 base64(std::string("{\"") + kTerminalApp + "\":\"xkb:de\"}") + "\"\n";
    o.files.emplace_back(std::string(".local/share/applications/") + kTerminalApp + ".desktop",
                         "[Desktop Entry]\nType=Application\nName=E2E Terminal\n"
                         "Exec=xterm\nStartupWMClass=XTerm\n");
}> {
protected:
    std::string hex(Window w) {
        std::ostringstream out;
        out << "0x" << std::hex << w;
        return out.str();
    }

    /// Whether the program logged, after mark, that it applied the terminal's rule.
    bool saidTheRuleApplied(std::size_t mark) {
        return !log()
                    .waitFor(
                        std::string("activated bundleID=") + kTerminalApp + " switching to German",
                        mark)
                    .empty();
    }

    bool activate(Window w) {
        return session().run({"wmctrl", "-i", "-a", hex(w)}) == 0 &&
               eventually([&] { return x().activeWindow() == w; });
    }
};

TEST_F(PerAppRulesTest, BringingTheTerminalToTheFrontSelectsItsLayout) {
    // The terminal was in front when the program started: the rule applies at once.
    EXPECT_TRUE(eventually([&] { return x().group() == 1; }))
        << "the rule did not apply at launch" << log().tail();

    const std::size_t before = log().mark();
    const Window other =
        openAppWindow(x().display(), XRect{700, 300, 300, 200}, "e2e-other", "E2EOther");
    ASSERT_TRUE(activate(other)) << "the other window did not come to the front";
    // The program reads the frontmost window when it hears of a change: had the terminal come
    // back before that, it would not have seen the other one at all (as a person is never
    // that quick).
    ASSERT_FALSE(log().waitFor("activated bundleID=E2EOther", before).empty()) << log().tail();
    x().lockGroup(0);
    const std::size_t mark = log().mark();
    ASSERT_TRUE(activate(session().terminal()));
    EXPECT_TRUE(session().switchedTo(1, "DE"))
        << "no HUD for the automatic switch" << log().tail(mark);
    EXPECT_TRUE(saidTheRuleApplied(mark)) << log().tail(mark);
}

TEST_F(PerAppRulesTest, ADesktopChangeReappliesTheRuleATenthOfASecondLater) {
    ASSERT_TRUE(eventually([&] { return x().group() == 1; })) << log().tail();
    // Away to an empty desktop, where nothing is in front; the layout changed by hand there.
    ASSERT_EQ(session().run({"wmctrl", "-s", "1"}), 0);
    ASSERT_TRUE(eventually([&] { return x().activeWindow() == 0; }));
    // This change schedules its own step, which finds nothing in front; it must be over before
    // the change that is measured, or it would be taken for that one's. It leaves no trace to
    // wait for, so its delay is waited out, five times over.
    std::this_thread::sleep_for(milliseconds(500));
    x().lockGroup(0);
    ASSERT_TRUE(eventually([&] { return x().group() == 0; }));

    // Back: the terminal is in front again, as it was before, so this is no new activation;
    // the desktop change alone brings the rule back. The delay is measured in the X server's
    // own time stamps of the two changes: when the test or the program reads an event depends
    // on how the machine schedules them (a test woken 10 ms after the program, on a busy
    // machine, measured 90 ms), but the server stamps each change when it makes it.
    Display* dpy = x().display();
    XSelectInput(dpy, x().root(), PropertyChangeMask);
    XkbSelectEventDetails(dpy, XkbUseCoreKbd, XkbStateNotify, XkbGroupStateMask, XkbGroupStateMask);
    x().sync();
    const std::size_t mark = log().mark();
    const Atom currentDesktop = x().atom("_NET_CURRENT_DESKTOP");
    const auto wmctrl = session().spawn({"wmctrl", "-s", "0"});
    const auto desktopChanged = x().nextEvent(
        [&](const XEvent& e) {
            return e.type == PropertyNotify && e.xproperty.atom == currentDesktop;
        },
        milliseconds(5000));
    ASSERT_TRUE(desktopChanged.has_value()) << "the desktop did not change";
    const auto groupChanged = x().nextEvent(
        [&](const XEvent& e) {
            if (e.type != x().xkbEventBase()) {
                return false;
            }
            const auto& any = reinterpret_cast<const XkbAnyEvent&>(e);
            return any.xkb_type == XkbStateNotify &&
                   reinterpret_cast<const XkbStateNotifyEvent&>(e).group == 1;
        },
        milliseconds(5000));
    ASSERT_TRUE(groupChanged.has_value())
        << "the rule was not applied again; the group is " << x().group() << log().tail(mark);
    EXPECT_EQ(wmctrl->wait(milliseconds(5000)), 0);
    const Time changedAt = desktopChanged->xproperty.time;
    const Time switchedAt = reinterpret_cast<const XkbAnyEvent&>(*groupChanged).time;
    ASSERT_GE(switchedAt, changedAt);
    const auto delay = static_cast<long>(switchedAt - changedAt);
    EXPECT_GE(delay, 100) << "the rule came back before the desktop had settled";
    EXPECT_LE(delay, 1000) << "the rule came back late";
    EXPECT_TRUE(saidTheRuleApplied(mark)) << log().tail(mark);
    EXPECT_EQ(x().activeWindow(), session().terminal());
}

}  // namespace
}  // namespace lumivoke::e2e
