#include "SettingsFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumivoke::desktop {
namespace {

using Entries = std::vector<SettingsEntry>;
using Problems = std::vector<SettingsProblem>;

TEST(SettingsFile, ReadsWhatQSettingsWroteForEarlierVersions) {
    const auto parsed = parseSettings(
        "[General]\r\n"
        "HoverBadgeEnabled=b:1\r\n"
        "PerAppRules=\"x:eyJhIjoiYiJ9\"\r\n"
        "\r\n"
        "; a comment\n"
        "  MenubarIconVisible = b:0  \n");
    EXPECT_TRUE(parsed.problems.empty());
    EXPECT_EQ(parsed.entries, (Entries{{"HoverBadgeEnabled", "b:1"},
                                       {"PerAppRules", "x:eyJhIjoiYiJ9"},
                                       {"MenubarIconVisible", "b:0"}}));
}

TEST(SettingsFile, NamesEveryLineThatIsNotASettingAndKeepsTheRest) {
    const std::string text =
        "[General]\n"                           // 1
        "HoverBadgeEnabled=b:maybe\n"           // 2 not of its kind
        "MenubarIconVisible=i:seven\n"          // 3 not a number
        "PerAppRulesEnabled=yes please\n"       // 4 no tag
        "HUDOnAutoSwitchEnabled=\n"             // 5 empty
        "PerAppRules=\"x:%%%not base64%%%\"\n"  // 6 data that cannot be decoded: a value
        "[General\n"                            // 7
        "=\n"                                   // 8
        "\x01\x02\xff\xfe garbage \x7f\n"       // 9
        "no equals sign here\n"                 // 10
        "Key With Spaces=b:1\n"                 // 11
        "Quoted=\"s:unfinished\n"               // 12
        "Escape=\"s:\\q\"\n"                    // 13
        "Semicolon=s:a;b\n"                     // 14
        "TriggerKey=s:menu\n"                   // 15
        "TriggerKey=s:pause\n"                  // 16 again
        "Big=i:99999999999999999999\n"          // 17
        "Real=d:nan\n";                         // 18
    const auto parsed = parseSettings(text);
    EXPECT_EQ(parsed.entries,
              (Entries{{"PerAppRules", "x:%%%not base64%%%"}, {"TriggerKey", "s:menu"}}));
    std::vector<std::size_t> lines;
    for (const auto& problem : parsed.problems) {
        lines.push_back(problem.line);
        EXPECT_EQ(problem.reason.find("garbage"), std::string::npos) << "the log shows no content";
    }
    EXPECT_EQ(lines,
              (std::vector<std::size_t>{2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 18}));
    EXPECT_EQ(parsed.problems[5], (SettingsProblem{8, "no key"}));
    EXPECT_EQ(parsed.problems[7], (SettingsProblem{10, "no \"=\""}));
    EXPECT_EQ(parsed.problems[12], (SettingsProblem{16, "a key given again"}));
}

TEST(SettingsFile, GroupsOtherThanGeneralKeepTheirKeysApart) {
    const auto parsed = parseSettings("[General]\nA=b:1\n[Later]\nA=b:0\n[General]\nB=i:2\n");
    EXPECT_TRUE(parsed.problems.empty());
    EXPECT_EQ(parsed.entries, (Entries{{"A", "b:1"}, {"Later/A", "b:0"}, {"B", "i:2"}}));
    EXPECT_EQ(formatSettings(parsed.entries), "[General]\nA=b:1\nB=i:2\n\n[Later]\nA=b:0\n");
}

TEST(SettingsFile, WritesWhatReadsBackTheSame) {
    const Entries entries = {
        {"TriggerKey", "s:right-ctrl"},
        {"PerAppRules", "x:eyJhIjoiYiJ9"},
        {"Text", "s: spaced, \"quoted\" \\ ; = \ttab\nline\x01 ünïcödé "},
        {"Empty", "s:"},
        {"Count", "i:-42"},
    };
    const std::string text = formatSettings(entries);
    EXPECT_EQ(text.rfind("[General]\nCount=i:-42\nEmpty=s:\nPerAppRules=x:eyJhIjoiYiJ9\n", 0), 0u)
        << text;
    const auto parsed = parseSettings(text);
    EXPECT_TRUE(parsed.problems.empty()) << parsed.problems.front().reason;
    Entries sorted = entries;
    std::sort(sorted.begin(), sorted.end(),
              [](const auto& a, const auto& b) { return a.key < b.key; });
    EXPECT_EQ(parsed.entries, sorted);
}

TEST(SettingsFile, ValuesKeepTheirKind) {
    const DefaultsValue values[] = {true,
                                    false,
                                    std::int64_t{-9223372036854775807LL - 1},
                                    0.1,
                                    -2.5e300,
                                    std::string("Ärger, \"quoted\""),
                                    Bytes{},
                                    Bytes{0, 255, 10, 13, 61}};
    for (const auto& value : values) {
        const std::string text = encodeSetting(value);
        EXPECT_EQ(decodeSetting(text), value) << text;
    }
    EXPECT_EQ(encodeSetting(true), "b:1");
    EXPECT_EQ(encodeSetting(std::int64_t{7}), "i:7");
    EXPECT_EQ(encodeSetting(Bytes{'{', '}'}), "x:e30=");
}

TEST(SettingsFile, TextThatIsNoValueIsNone) {
    for (const char* text : {"", "b", "b:", "b:2", "b:yes", "i:", "i:7x", "i: 7", "d:", "d:1e999",
                             "d:inf", "q:1", "true", "B:1"}) {
        EXPECT_EQ(decodeSetting(text), std::nullopt) << text;
    }
}

TEST(SettingsFile, DataThatIsNotBase64ReadsAsTheStoredTextSoThatItCannotBeDecoded) {
    for (const std::string text :
         {"x:%%%not base64%%%", "x:{}", "x:e30", "x:e3=0", "x:====", "x:e30=e30="}) {
        const auto value = decodeSetting(text);
        ASSERT_TRUE(value.has_value()) << text;
        EXPECT_EQ(std::get<Bytes>(*value), Bytes(text.begin(), text.end())) << text;
    }
}

TEST(SettingsFile, Base64) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},        {"f", "Zg=="},        {"fo", "Zm8="},
        {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"\xff\xfe\xfd", "//79"},
    };
    for (const auto& [plain, coded] : cases) {
        const Bytes bytes(plain.begin(), plain.end());
        EXPECT_EQ(base64Encode(bytes), coded);
        EXPECT_EQ(base64Decode(coded), bytes) << coded;
    }
    for (const char* bad : {"Z", "Zg=", "Z===", "Zg==Zg==", "Zm9v\n", "Zm 9v", "Zm9-"}) {
        EXPECT_EQ(base64Decode(bad), std::nullopt) << bad;
    }
}

}  // namespace
}  // namespace lumivoke::desktop
