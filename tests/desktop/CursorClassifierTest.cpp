#include "CursorClassifier.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "ScratchDir.h"

namespace lumivoke::desktop {
namespace {

namespace fs = std::filesystem;

// The cursor font's text cursor as an X server without a cursor theme shows it (9 × 16, hot
// spot 4, 8): '#' drawn in the foreground, 'o' in the background, '.' transparent.
constexpr const char* kXtermGlyph[] = {
    "oooo.oooo", "o###o###o", "ooo###ooo", "..oo#oo..", "...o#o...", "...o#o...",
    "...o#o...", "...o#o...", "...o#o...", "...o#o...", "...o#o...", "...o#o...",
    "..oo#oo..", "ooo###ooo", "o###o###o", "oooo.oooo",
};

CursorGlyph glyphFrom(const char* const* rows, int height) {
    CursorGlyph glyph;
    glyph.height = height;
    glyph.width = static_cast<int>(std::string(rows[0]).size());
    glyph.xhot = 4;
    glyph.yhot = 8;
    for (int y = 0; y < height; ++y) {
        for (const char c : std::string(rows[y])) {
            glyph.source.push_back(c == '#');
            glyph.mask.push_back(c != '.');
        }
    }
    return glyph;
}

/// The picture of rows in two colours, as XFixes reports a core cursor.
CursorImage imageFrom(const char* const* rows, int height, std::uint32_t foreground,
                      std::uint32_t background) {
    CursorImage image;
    image.height = height;
    image.width = static_cast<int>(std::string(rows[0]).size());
    image.xhot = 4;
    image.yhot = 8;
    for (int y = 0; y < height; ++y) {
        for (const char c : std::string(rows[y])) {
            image.pixels.push_back(c == '#' ? foreground : c == 'o' ? background : 0);
        }
    }
    return image;
}

/// A themed cursor picture: size × size, a gradient so that no two sizes look alike.
CursorImage themed(int size, int xhot, int yhot, std::uint32_t seed = 0) {
    CursorImage image{size, size, xhot, yhot, {}, ""};
    for (int i = 0; i < size * size; ++i) {
        image.pixels.push_back(0xff000000u | static_cast<std::uint32_t>(i * 2654435761u + seed));
    }
    return image;
}

constexpr std::uint32_t kBlack = 0xff000000, kWhite = 0xffffffff, kRed = 0xffff0000;

class CursorClassifierTest : public ::testing::Test {
protected:
    CursorClassifier classifier{{"xterm", "text", "ibeam", "152933201"},
                                {themed(24, 11, 12), themed(48, 21, 23)},
                                glyphFrom(kXtermGlyph, 16)};
};

TEST_F(CursorClassifierTest, TextCursorsByName) {
    for (const char* name : {"xterm", "text", "ibeam", "152933201"}) {
        CursorImage cursor = themed(32, 3, 3, 99);  // a picture it does not know
        cursor.name = name;
        EXPECT_TRUE(classifier.isText(cursor)) << name;
    }
    for (const char* name : {"", "left_ptr", "default", "vertical-text", "XTERM", "hand2"}) {
        CursorImage cursor = themed(32, 3, 3, 99);
        cursor.name = name;
        EXPECT_FALSE(classifier.isText(cursor)) << name;
    }
}

TEST_F(CursorClassifierTest, UnnamedCursorsByTheThemesPictureAtEachSize) {
    EXPECT_TRUE(classifier.isText(themed(24, 11, 12)));
    EXPECT_TRUE(classifier.isText(themed(48, 21, 23)));
    // A size the theme does not have, a moved hot spot, one pixel changed: not text.
    EXPECT_FALSE(classifier.isText(themed(32, 14, 15)));
    EXPECT_FALSE(classifier.isText(themed(24, 11, 13)));
    CursorImage changed = themed(24, 11, 12);
    changed.pixels[100] ^= 1;
    EXPECT_FALSE(classifier.isText(changed));
}

TEST_F(CursorClassifierTest, TheCursorFontsGlyphInAnyTwoColours) {
    EXPECT_TRUE(classifier.isText(imageFrom(kXtermGlyph, 16, kBlack, kWhite)));
    EXPECT_TRUE(classifier.isText(imageFrom(kXtermGlyph, 16, kWhite, kBlack)));  // reversed
    EXPECT_TRUE(classifier.isText(imageFrom(kXtermGlyph, 16, kRed, kWhite)));
}

TEST_F(CursorClassifierTest, ACursorWithTheTextCursorsSizeAndHotSpotIsNotText) {
    // The same 9 × 16 box and hot spot, another picture: a thin arrow, a filled box.
    constexpr const char* kOther[] = {
        "#........", "##.......", "#o#......", "#oo#.....", "#ooo#....", "#oooo#...",
        "#ooooo#..", "#oooooo#.", "#ooooooo#", "#oooo####", "#o##o#...", "##..#o#..",
        "#....#o#.", ".....#o#.", "......#..", ".........",
    };
    EXPECT_FALSE(classifier.isText(imageFrom(kOther, 16, kBlack, kWhite)));
    CursorImage box = imageFrom(kXtermGlyph, 16, kBlack, kWhite);
    std::fill(box.pixels.begin(), box.pixels.end(), kBlack);
    EXPECT_FALSE(classifier.isText(box));
    // The glyph's shape with a third colour in it, or a half-transparent pixel: drawn by
    // someone else.
    CursorImage mixed = imageFrom(kXtermGlyph, 16, kBlack, kWhite);
    mixed.pixels[4 * 9 + 4] = kRed;
    EXPECT_FALSE(classifier.isText(mixed));
    CursorImage soft = imageFrom(kXtermGlyph, 16, kBlack, kWhite);
    soft.pixels[0] = 0x80ffffff;
    EXPECT_FALSE(classifier.isText(soft));
    // The glyph with a pixel outside its mask.
    CursorImage spilled = imageFrom(kXtermGlyph, 16, kBlack, kWhite);
    spilled.pixels[3 * 9] = kBlack;
    EXPECT_FALSE(classifier.isText(spilled));
}

TEST(CursorClassifier, WithoutThemeOrGlyphOnlyNamesCount) {
    const CursorClassifier bare({}, {}, std::nullopt);
    CursorImage named = themed(24, 11, 12);
    EXPECT_FALSE(bare.isText(named));
    named.name = "text";
    EXPECT_TRUE(bare.isText(named)) << "the usual names are always known";
    EXPECT_FALSE(bare.isText(CursorImage{}));
}

/// A folder tree of cursor themes for findTextCursor.
class CursorThemes : public ::testing::Test {
protected:
    void file(const fs::path& path, const std::string& text = "picture") {
        scratch.write(path, text);
    }
    void link(const fs::path& path, const fs::path& target) {
        fs::create_directories(path.parent_path());
        fs::create_symlink(target, path);
    }

    testing_support::ScratchDir scratch;
    const fs::path& root = scratch.path();
};

TEST_F(CursorThemes, FindsTheTextCursorAndItsAliasesThroughInheritance) {
    const fs::path user = root / "user";
    const fs::path system = root / "system";
    // "default" only points the way; Plain has the cursors, with aliases as links.
    file(system / "default" / "index.theme", "[Icon Theme]\nInherits = Plain ;Other\n");
    file(system / "Plain" / "cursors" / "xterm");
    link(system / "Plain" / "cursors" / "text", "xterm");
    link(system / "Plain" / "cursors" / "152933201", "xterm");
    file(system / "Plain" / "cursors" / "left_ptr");
    link(system / "Plain" / "cursors" / "default", "left_ptr");
    const auto found = findTextCursor({user, system}, "default");
    ASSERT_TRUE(found.file.has_value());
    EXPECT_EQ(fs::canonical(*found.file), fs::canonical(system / "Plain" / "cursors" / "xterm"));
    EXPECT_EQ(found.names, (std::set<std::string>{"xterm", "text", "ibeam", "152933201"}));
}

TEST_F(CursorThemes, AThemeEarlierInThePathWins) {
    file(root / "a" / "Mine" / "cursors" / "ibeam", "mine");
    file(root / "b" / "Mine" / "cursors" / "xterm", "theirs");
    const auto found = findTextCursor({root / "a", root / "b"}, "Mine");
    ASSERT_TRUE(found.file.has_value());
    EXPECT_EQ(found.file->parent_path().parent_path().parent_path(), root / "a");
}

TEST_F(CursorThemes, NoThemeOrALoopFindsNothingAndEnds) {
    file(root / "A" / "index.theme", "[Icon Theme]\nInherits=B\n");
    file(root / "B" / "index.theme", "[Icon Theme]\nInherits=A\n");
    for (const char* theme : {"A", "Missing"}) {
        const auto found = findTextCursor({root}, theme);
        EXPECT_FALSE(found.file.has_value()) << theme;
        EXPECT_EQ(found.names, textCursorNames());
    }
}

}  // namespace
}  // namespace lumivoke::desktop
