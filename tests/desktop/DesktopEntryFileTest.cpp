#include "DesktopEntryFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumivoke::desktop {
namespace {

using Items = std::vector<std::string>;
using Problem = DesktopEntryFile::Problem;
constexpr std::string_view kMain = DesktopEntryFile::mainGroup;

std::vector<std::size_t> problemLines(const DesktopEntryFile& file) {
    std::vector<std::size_t> lines;
    for (const auto& problem : file.problems()) {
        lines.push_back(problem.line);
    }
    return lines;
}

TEST(DesktopEntryFile, ReadsGroupsKeysCommentsAndBlankLines) {
    const auto file = DesktopEntryFile::parse(
        "\xEF\xBB\xBF# made by hand\r\n"
        "\r\n"
        "[Desktop Entry]\r\n"
        "Type=Application\n"
        "  Name = Text Editor  \n"
        "Name[de]=Texteditor\n"
        "   # an indented comment\n"
        "\n"
        "[Desktop Action new-window]\n"
        "Name=New Window\n"
        "Exec=editor --new-window");
    EXPECT_TRUE(file.problems().empty());
    ASSERT_EQ(file.groups().size(), 2u);
    EXPECT_EQ(file.groups()[0].name, "Desktop Entry");
    EXPECT_EQ(file.groups()[1].name, "Desktop Action new-window");
    EXPECT_EQ(file.string(kMain, "Type"), "Application");
    // Spaces around '=' are no part of the key or the value; those at the end are the value's.
    EXPECT_EQ(file.string(kMain, "Name"), "Text Editor  ");
    EXPECT_EQ(file.raw(kMain, "Name", "de"), "Texteditor");
    EXPECT_EQ(file.string("Desktop Action new-window", "Exec"), "editor --new-window");
    EXPECT_EQ(file.string(kMain, "Exec"), std::nullopt) << "keys belong to their group";
    EXPECT_EQ(file.string("Nowhere", "Name"), std::nullopt);
}

TEST(DesktopEntryFile, ReportsEachBadLineAndKeepsReadingAfterIt) {
    const std::string text =
        "Name=before any group\n"        // 1
        "[Desktop Entry]\n"              // 2
        "Type=Application\n"             // 3
        "just words\n"                   // 4
        "=no key\n"                      // 5
        "Name[=unclosed\n"               // 6
        "Name[]=empty locale\n"          // 7
        "Name[de DE]=space in locale\n"  // 8
        "Na\x01me=control\n"             // 9
        "Name=Editor\n"                  // 10
        "Name=Better Editor\n"           // 11 again: the later counts
        "[Broken\n"                      // 12
        "Icon=lost\n"                    // 13 in the broken group
        "[]\n"                           // 14
        "[Desktop Entry] trailing\n"     // 15
        "[Desktop Entry]\n"              // 16 again: the same group
        "Icon=editor\n"                  // 17
        "Comment=secret words here\n";   // 18 fine
    const auto file = DesktopEntryFile::parse(text);
    EXPECT_EQ(problemLines(file),
              (std::vector<std::size_t>{1, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16}));
    for (const auto& problem : file.problems()) {
        EXPECT_EQ(problem.reason.find("words"), std::string::npos) << "never quotes the line";
    }
    EXPECT_EQ(file.problems()[0], (Problem{1, "a key before the first group"}));
    EXPECT_EQ(file.problems()[7], (Problem{11, "a key given again; the later value counts"}));
    EXPECT_EQ(file.problems()[9], (Problem{13, "a key in a group whose header could not be read"}));
    EXPECT_EQ(file.problems()[12], (Problem{16, "a group given again"}));
    ASSERT_EQ(file.groups().size(), 1u);
    EXPECT_EQ(file.string(kMain, "Name"), "Better Editor");
    EXPECT_EQ(file.string(kMain, "Icon"), "editor");
    EXPECT_EQ(file.string(kMain, "Comment"), "secret words here");
    EXPECT_EQ(file.groups()[0].entries.size(), 4u) << "Type, Name, Icon, Comment once each";
}

TEST(DesktopEntryFile, ReadsAnythingWithoutFailing) {
    for (const std::string& text :
         {std::string(), std::string("\n\n\n"), std::string("["), std::string("]"),
          std::string("=\n=\n"), std::string("\0\0\0", 3), std::string("[a]\nk=\\")}) {
        const auto file = DesktopEntryFile::parse(text);
        EXPECT_EQ(file.group(kMain), nullptr);
    }
    EXPECT_EQ(DesktopEntryFile::parse("[a]\nk=\\").string("a", "k"), "\\")
        << "a backslash at the end stays";
}

struct EscapeCase {
    std::string raw;
    std::string value;
};

TEST(DesktopEntryFile, UndoesTheValueEscapes) {
    const std::vector<EscapeCase> cases = {
        {"plain", "plain"},
        {"\\s leading", "  leading"},
        {"a\\nb\\tc\\rd", "a\nb\tc\rd"},
        {"back\\\\slash", "back\\slash"},
        {"\\\\n", "\\n"},    // an escaped backslash, then a plain n
        {"C:\\q", "C:\\q"},  // not an escape: kept as written
        {"a\\;b", "a\\;b"},  // "\;" is a list escape only
        {"\\", "\\"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(unescapeValue(c.raw), c.value) << c.raw;
        EXPECT_EQ(unescapeValue(escapeValue(c.value)), c.value) << "round trip of " << c.raw;
    }
    EXPECT_EQ(escapeValue(" two  spaces"), "\\stwo  spaces")
        << "only a leading space would be lost";
}

struct ListCase {
    std::string raw;
    Items items;
};

TEST(DesktopEntryFile, SplitsListsAtSemicolons) {
    const std::vector<ListCase> cases = {
        {"", {}},
        {"one", {"one"}},
        {"one;", {"one"}},
        {"one;two;", {"one", "two"}},
        {"one;two", {"one", "two"}},
        {"one;;three;", {"one", "", "three"}},
        {";", {""}},
        {"a\\;b;c;", {"a;b", "c"}},
        {"a\\\\;b;", {"a\\", "b"}},  // an escaped backslash, then a separator
        {"x\\sy;\\tz;", {"x y", "\tz"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(splitList(c.raw), c.items) << c.raw;
    }
    for (const Items& items :
         {Items{}, Items{"a;b", "c\\", " d"}, Items{""}, Items{"x", "", "y"}}) {
        EXPECT_EQ(splitList(joinList(items)), items) << joinList(items);
    }
}

TEST(DesktopEntryFile, ReadsBooleans) {
    EXPECT_EQ(parseBoolean("true"), true);
    EXPECT_EQ(parseBoolean("false"), false);
    EXPECT_EQ(parseBoolean("1"), true);
    EXPECT_EQ(parseBoolean("0"), false);
    EXPECT_EQ(parseBoolean("true  "), true);
    EXPECT_EQ(parseBoolean("True"), std::nullopt);
    EXPECT_EQ(parseBoolean("yes"), std::nullopt);
    EXPECT_EQ(parseBoolean(""), std::nullopt);
}

struct LocaleCase {
    std::string text;
    std::optional<EntryLocale> locale;
    Items order;
};

TEST(EntryLocale, ReadsLocalesAndOrdersTheirSuffixes) {
    const std::vector<LocaleCase> cases = {
        {"sr_RS.UTF-8@latin",
         EntryLocale{"sr", "RS", "latin"},
         {"sr_RS@latin", "sr_RS", "sr@latin", "sr"}},
        {"de_DE.UTF-8", EntryLocale{"de", "DE", ""}, {"de_DE", "de"}},
        {"ca@valencia", EntryLocale{"ca", "", "valencia"}, {"ca@valencia", "ca"}},
        {"fr", EntryLocale{"fr", "", ""}, {"fr"}},
        {"C", std::nullopt, {}},
        {"C.UTF-8", std::nullopt, {}},
        {"POSIX", std::nullopt, {}},
        {"", std::nullopt, {}},
    };
    for (const auto& c : cases) {
        const auto locale = EntryLocale::parse(c.text);
        EXPECT_EQ(locale, c.locale) << c.text;
        if (locale) {
            EXPECT_EQ(locale->lookupOrder(), c.order) << c.text;
        }
    }
}

TEST(EntryLocale, TakesTheMessagesLocaleAsTheCLibraryDoes) {
    using V = std::optional<std::string_view>;
    EXPECT_EQ(EntryLocale::fromVariables(V("de_DE"), V("fr_FR"), V("it_IT")),
              EntryLocale::parse("de_DE"));
    EXPECT_EQ(EntryLocale::fromVariables(V(""), V("fr_FR"), V("it_IT")),
              EntryLocale::parse("fr_FR"))
        << "an empty variable counts as unset";
    EXPECT_EQ(EntryLocale::fromVariables(std::nullopt, std::nullopt, V("it_IT.UTF-8")),
              EntryLocale::parse("it_IT"));
    EXPECT_EQ(EntryLocale::fromVariables(V("C"), V("fr_FR"), V("it_IT")), std::nullopt)
        << "LC_ALL=C means untranslated, whatever the others say";
    EXPECT_EQ(EntryLocale::fromVariables(std::nullopt, std::nullopt, std::nullopt), std::nullopt);
}

struct TranslationCase {
    std::string locale;  // as in LANG
    std::string name;    // the Name chosen
};

TEST(DesktopEntryFile, ChoosesTheTranslationInTheLookupOrder) {
    const auto file = DesktopEntryFile::parse(
        "[Desktop Entry]\n"
        "Name=Plain\n"
        "Name[sr_RS@latin]=sr_RS@latin\n"
        "Name[sr_RS]=sr_RS\n"
        "Name[sr@latin]=sr@latin\n"
        "Name[sr]=sr\n"
        "Name[de@euro]=de@euro\n"
        "Name[de]=de\n"
        "Name[pt_BR]=pt_BR\n"
        "Name[fr_FR.UTF-8]=fr with an encoding\n"
        "Name[nl]=\n"
        "Name[es]=bad \xff utf-8\n");
    const std::vector<TranslationCase> cases = {
        {"sr_RS.UTF-8@latin", "sr_RS@latin"},
        {"sr_RS.UTF-8", "sr_RS"},
        {"sr_ME@latin", "sr@latin"},
        {"sr_ME", "sr"},
        {"de_AT@euro", "de@euro"},  // lang@MODIFIER before lang
        {"de_AT", "de"},            // no country match: the language
        {"de_DE@other", "de"},
        {"pt_PT", "Plain"},  // a country's translation is not the language's
        {"pt", "Plain"},
        {"fr_FR", "fr with an encoding"},
        {"nl_NL", "Plain"},  // an empty translation is passed over
        {"es_ES", "Plain"},  // so is one that is not UTF-8
        {"C", "Plain"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(file.localeString(kMain, "Name", EntryLocale::parse(c.locale)), c.name)
            << c.locale;
    }
    EXPECT_EQ(file.localeString(kMain, "GenericName", EntryLocale::parse("de")), std::nullopt);
}

TEST(DesktopEntryFile, TranslatesListsAndRepairsUntranslatedText) {
    const auto file = DesktopEntryFile::parse(
        "[Desktop Entry]\n"
        "Keywords=text;edit\\;write;\n"
        "Keywords[de]=Text;Schreiben;\n"
        "Name=Caf\xe9\n");
    EXPECT_EQ(file.localeList(kMain, "Keywords", EntryLocale::parse("de_CH")),
              (Items{"Text", "Schreiben"}));
    EXPECT_EQ(file.localeList(kMain, "Keywords", std::nullopt), (Items{"text", "edit;write"}));
    EXPECT_EQ(file.list(kMain, "Keywords"), (Items{"text", "edit;write"}));
    EXPECT_EQ(file.localeString(kMain, "Name", std::nullopt), "Caf\xEF\xBF\xBD")
        << "a Latin-1 byte becomes the replacement character";
}

TEST(DesktopEntryFile, WritesWhatItReadsBack) {
    DesktopEntryFile file;
    EXPECT_TRUE(file.set(kMain, "Type", "Application"));
    EXPECT_TRUE(file.set(kMain, "Name", " spaced\tand\nbroken\\"));
    EXPECT_TRUE(file.set(kMain, "Name", "Übersetzt", "de_DE@euro"));
    EXPECT_TRUE(file.setList(kMain, "Categories", {"Utility", "a;b"}));
    EXPECT_TRUE(file.setBoolean(kMain, "NoDisplay", true));
    EXPECT_TRUE(file.set("Desktop Action x", "Name", "X"));
    EXPECT_FALSE(file.set("Bad]Group", "Name", "x"));
    EXPECT_FALSE(file.set(kMain, "Bad=Key", "x"));
    EXPECT_FALSE(file.set(kMain, "Name", "x", "de DE"));
    EXPECT_FALSE(file.set(kMain, "", "x"));

    const auto again = DesktopEntryFile::parse(file.serialize());
    EXPECT_TRUE(again.problems().empty()) << file.serialize();
    EXPECT_EQ(again.groups(), file.groups());
    EXPECT_EQ(again.string(kMain, "Name"), " spaced\tand\nbroken\\");
    EXPECT_EQ(again.localeString(kMain, "Name", EntryLocale::parse("de_DE@euro")), "Übersetzt");
    EXPECT_EQ(again.list(kMain, "Categories"), (Items{"Utility", "a;b"}));
    EXPECT_EQ(again.boolean(kMain, "NoDisplay"), true);
}

TEST(Utf8, TellsWellFormedTextFromTheRest) {
    EXPECT_TRUE(isValidUtf8("plain ascii"));
    EXPECT_TRUE(isValidUtf8("Straße 日本 \xF0\x9F\x98\x80"));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));          // overlong '/'
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));      // a surrogate
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
    EXPECT_FALSE(isValidUtf8("\xE2\x82"));          // cut short
    EXPECT_EQ(repairedUtf8("a\xE2\x82z"), "a\xEF\xBF\xBD\xEF\xBF\xBDz");
    EXPECT_EQ(repairedUtf8("日本"), "日本");
}

}  // namespace
}  // namespace lumivoke::desktop
