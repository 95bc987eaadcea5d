// The Per-App Rules tab's add button: a chooser of the installed applications, by their names
// in the user's language, filtered by typing, that adds a rule for the one chosen.
#include "DesktopTest.h"

#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "Controls.h"

namespace lumivoke::e2e {
namespace {

// An icon of the test's own in the hicolor theme, which every icon theme falls back to: a
// 16 × 16 PNG square of one colour inside a transparent border, looked for in the chooser's
// picture. Written here (stored, uncompressed) so the test needs no image files.
constexpr std::uint32_t kIconColour = 0xc0392b;

std::uint32_t crc32(const std::string& bytes) {
    std::uint32_t crc = 0xffffffffu;
    for (const char c : bytes) {
        crc ^= static_cast<unsigned char>(c);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

std::string bigEndian(std::uint32_t n) {
    return {static_cast<char>(n >> 24), static_cast<char>(n >> 16), static_cast<char>(n >> 8),
            static_cast<char>(n)};
}

std::string squareIcon() {
    constexpr int kSize = 16;
    std::string pixels;
    for (int y = 0; y < kSize; ++y) {
        pixels += '\0';  // no filter
        for (int x = 0; x < kSize; ++x) {
            const bool border = x == 0 || y == 0 || x == kSize - 1 || y == kSize - 1;
            pixels += border ? std::string(4, '\0') : std::string("\xc0\x39\x2b\xff", 4);
        }
    }
    // A zlib stream of one stored block.
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const char c : pixels) {
        a = (a + static_cast<unsigned char>(c)) % 65521;
        b = (b + a) % 65521;
    }
    const auto length = static_cast<std::uint16_t>(pixels.size());
    std::string zlib = "\x78\x01\x01";
    zlib += {static_cast<char>(length & 0xff), static_cast<char>(length >> 8),
             static_cast<char>(~length & 0xff), static_cast<char>((~length >> 8) & 0xff)};
    zlib += pixels + bigEndian((b << 16) | a);
    const auto chunk = [](const std::string& type, const std::string& data) {
        return bigEndian(static_cast<std::uint32_t>(data.size())) + type + data +
               bigEndian(crc32(type + data));
    };
    const std::string header =
        bigEndian(kSize) + bigEndian(kSize) + std::string("\x08\x06\0\0\0", 5);
    return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", zlib) +
           chunk("IEND", "");
}

std::string app(const std::string& name, const std::string& more = {}) {
    return "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=true\n" + more;
}

class ApplicationChooserTest : public DesktopTest {
protected:
    SessionOptions sessionOptions() const override {
        SessionOptions options;
        options.settings = "[General]\nPerAppRulesEnabled=b:1\n";
        // The user's folder and one system folder of the test's own, so the list is exactly
        // these. The user's entry shadows the system's of the same id; the one in a subfolder
        // is known as kde-zither.
        const std::string user = ".local/share/applications/";
        const std::string system = "system/applications/";
        options.files = {
            // An icon by its path (the icon theme of the test's desktop is installed with it).
            {user + "notes.desktop",
             app("Alpha Notes",
                 "Icon=/usr/share/icons/Adwaita/48x48/legacy/accessories-text-editor.png\n")},
            // An icon by its name in the icon theme.
            {user + "kde/zither.desktop",
             app("Zither Player", "Keywords=music;strings;\nIcon=lumivoke-e2e-zither\n")},
            {"system/icons/hicolor/16x16/apps/lumivoke-e2e-zither.png", squareIcon()},
            {"system/icons/hicolor/index.theme",
             "[Icon Theme]\nName=Hicolor\nDirectories=16x16/apps\n\n"
             "[16x16/apps]\nSize=16\nContext=Applications\nType=Threshold\n"},
            {user + "retired.desktop", app("Retired Tool", "Hidden=true\n")},
            {system + "notes.desktop", app("Shadowed Notes")},
            {system + "atlas.desktop",
             app("Atlas", "Name[de]=Weltatlas\nName[fr]=Atlas du monde\nIcon=/nonexistent.png\n")},
            {system + "helper.desktop", app("Background Helper", "NoDisplay=true\n")},
            {system + "gamma.desktop", app("gamma Calculator", "Icon=accessories-calculator\n")},
            {system + "folder.desktop", "[Desktop Entry]\nType=Directory\nName=A Folder\n"},
        };
        options.environment = {{"XDG_DATA_DIRS", "${HOME}/system"}, {"LC_MESSAGES", "de_DE.UTF-8"}};
        return options;
    }

    /// The add button: the left one of the pair of small buttons (add, remove) side by side
    /// along the window's bottom.
    static std::optional<XRect> addButton(const Pixels& window) {
        const XRect bottom{0, window.height - 110, window.width / 2, 110};
        const auto frames = findFrames(window, bottom, 20, 48, 18, 38);
        for (const auto& left : frames) {
            for (const auto& right : frames) {
                if (right.x > left.x + left.width / 2 && right.x < left.x + 3 * left.width &&
                    right.y == left.y && right.height == left.height) {
                    return left;
                }
            }
        }
        return std::nullopt;
    }

    std::optional<WindowInfo> chooser() {
        const auto windows = x().findWindows([](const WindowInfo& w) {
            return w.instance == "lumivoke" && w.viewable && w.name == "Add Application";
        });
        return windows.empty() ? std::nullopt : std::optional<WindowInfo>(windows.front());
    }

    /// Presses the add button and waits for the chooser.
    std::optional<WindowInfo> openChooser(const WindowInfo& settings) {
        // The tab draws its table on a later turn than the click that chose it.
        std::optional<XRect> button;
        if (!eventually(
                [&] { return (button = addButton(x().grab(settings.frame))).has_value(); })) {
            ADD_FAILURE() << "no add button in the settings window";
            return std::nullopt;
        }
        std::optional<WindowInfo> found;
        if (!clickControl(settings, *button, [&] { return (found = chooser()).has_value(); })) {
            ADD_FAILURE() << "the add button opened no chooser" << x().describeWindows();
            return std::nullopt;
        }
        // Typing goes to the chooser once it has the focus.
        EXPECT_TRUE(eventually([&] { return x().activeWindow() == found->id; }))
            << "the chooser did not get the focus";
        steadyPicture(*found);
        return found;
    }

    void type(const std::string& letters) {
        for (const char c : letters) {
            x().tap(x().keycode(static_cast<KeySym>(c)));  // Latin letters are their keysyms
        }
    }
    void press(KeySym key) { x().tap(x().keycode(key)); }
};

TEST_F(ApplicationChooserTest, ListsTheInstalledApplicationsAndAddsTheOneChosen) {
    const auto settings = openSettingsOn(2);
    ASSERT_TRUE(settings.has_value());
    const Pixels emptyTable = steadyPicture(*settings);

    std::size_t mark = log().mark();
    const auto window = openChooser(*settings);
    ASSERT_TRUE(window.has_value());
    EXPECT_EQ(window->type, "_NET_WM_WINDOW_TYPE_DIALOG");
    // By name in the user's language (German here), sorted without regard to case; neither
    // the hidden entry, the one not for menus, the shadowed one nor the folder.
    EXPECT_FALSE(log()
                     .waitFor("debug OpenPanel: Add Application lists 4 applications: Alpha "
                              "Notes, gamma Calculator, Weltatlas, Zither Player",
                              mark)
                     .empty())
        << log().tail(mark);
    session().screenshot("chooser");
    EXPECT_GT(countColour(steadyPicture(*window), kIconColour).count, 0)
        << "the icon named in the theme is not drawn";

    // A keyword of the last one: the first row shown is selected, so Enter adds it.
    const Pixels unfiltered = steadyPicture(*window);
    type("strings");
    EXPECT_TRUE(eventually([&] { return x().grab(window->frame) != unfiltered; }))
        << "typing did not filter the list";
    steadyPicture(*window);
    session().screenshot("chooser-filtered");
    mark = log().mark();
    press(XK_Return);
    EXPECT_FALSE(log().waitFor("setRule bundleID=kde-zither sourceID=xkb:us", mark).empty())
        << log().tail(mark);
    EXPECT_TRUE(eventually([&] { return !chooser().has_value(); })) << "the chooser stayed";

    // The rule's row appears in the table.
    EXPECT_TRUE(eventually([&] {
        const Pixels now = x().grab(settings->frame);
        const auto bands = differingBands(emptyTable, now);
        return std::any_of(bands.begin(), bands.end(), [&](const auto& band) {
            return band.first > 120 && band.second < now.height - 60;
        });
    })) << "no new row in the table";
    session().screenshot("chooser-added");
}

TEST_F(ApplicationChooserTest, EscapeAndAFilterThatMatchesNothingAddNothing) {
    const auto settings = openSettingsOn(2);
    ASSERT_TRUE(settings.has_value());

    auto window = openChooser(*settings);
    ASSERT_TRUE(window.has_value());
    const std::size_t mark = log().mark();
    const Pixels unfiltered = steadyPicture(*window);
    type("qqq");
    EXPECT_TRUE(eventually([&] { return x().grab(window->frame) != unfiltered; }));
    steadyPicture(*window);
    // Nothing is selected, so Enter adds nothing and the chooser stays.
    press(XK_Return);
    press(XK_Escape);
    EXPECT_TRUE(eventually([&] { return !chooser().has_value(); }))
        << "Escape did not close the chooser";

    // A later chooser starts afresh; Escape there too. The second opening is the positive
    // sign that the first one's keys have all been handled.
    const std::size_t again = log().mark();
    window = openChooser(*settings);
    ASSERT_TRUE(window.has_value());
    ASSERT_FALSE(log().waitFor("lists 4 applications", again).empty());
    press(XK_Escape);
    EXPECT_TRUE(eventually([&] { return !chooser().has_value(); }));
    EXPECT_TRUE(eventually([&] { return session().settingsWindow().has_value(); }));
    EXPECT_TRUE(log().linesWith("setRule", mark).empty()) << log().tail(mark);
}

}  // namespace
}  // namespace lumivoke::e2e
