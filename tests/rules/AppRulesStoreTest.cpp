#include <gtest/gtest.h>

#include <string>

#include "SimPlatform.h"
#include "rules/AppRulesStore.h"

namespace lumivoke {
namespace {

Bytes bytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}
std::string text(const Bytes& data) {
    return std::string(data.begin(), data.end());
}

// --- The stored format -------------------------------------------------------------------------

struct AcceptedCase {
    const char* name;
    std::string stored;
    RulesMap expected;
};

class DecodeAccepts : public testing::TestWithParam<AcceptedCase> {};

TEST_P(DecodeAccepts, AnyObjectOfStrings) {
    const auto decoded = decodeRules(bytes(GetParam().stored));
    ASSERT_TRUE(decoded.rules.has_value()) << decoded.error;
    EXPECT_EQ(*decoded.rules, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Stored, DecodeAccepts,
    testing::Values(
        AcceptedCase{"empty", "{}", {}},
        AcceptedCase{"one", R"({"com.a":"x.y"})", {{"com.a", "x.y"}}},
        AcceptedCase{"spaced", " {\n  \"a\" : \"b\",\n\t\"c\":\"\" }\n", {{"a", "b"}, {"c", ""}}},
        AcceptedCase{"escapes",
                     R"({"a\u0042\"\\\/":"\n\u00e9\ud83d\ude00"})",
                     {{"aB\"\\/", "\n\xC3\xA9\xF0\x9F\x98\x80"}}},
        AcceptedCase{
            "raw UTF-8", "{\"\xC3\xA9\":\"\xE2\x82\xAC\"}", {{"\xC3\xA9", "\xE2\x82\xAC"}}},
        AcceptedCase{"empty key", R"({"":"x"})", {{"", "x"}}}),
    [](const auto& info) {
        std::string n = info.param.name;
        std::erase(n, ' ');
        std::erase(n, '-');
        return n;
    });

struct RejectedCase {
    const char* name;
    std::string stored;
    const char* errorPart;
};

class DecodeRejects : public testing::TestWithParam<RejectedCase> {};

TEST_P(DecodeRejects, WithADescription) {
    const auto decoded = decodeRules(bytes(GetParam().stored));
    EXPECT_FALSE(decoded.rules.has_value());
    EXPECT_NE(decoded.error.find(GetParam().errorPart), std::string::npos) << decoded.error;
}

INSTANTIATE_TEST_SUITE_P(
    Stored, DecodeRejects,
    testing::Values(RejectedCase{"array", R"(["a","b"])", "top-level value is an array"},
                    RejectedCase{"string", R"("a")", "top-level value is a string"},
                    RejectedCase{"null", "null", "top-level value is null"},
                    RejectedCase{"number member", R"({"a":"b","c":5})", "member value is a number"},
                    RejectedCase{"bool member", R"({"a":true})", "member value is a boolean"},
                    RejectedCase{"null member", R"({"a":null})", "member value is null"},
                    RejectedCase{"object member", R"({"a":{"b":"c"}})",
                                 "member value is an object"},
                    RejectedCase{"array member", R"({"a":["b"]})", "member value is an array"},
                    RejectedCase{"empty", "", "not valid JSON"},
                    RejectedCase{"cut short", R"({"a":"b")", "not valid JSON"},
                    RejectedCase{"trailing", R"({"a":"b"} {})", "not valid JSON"},
                    RejectedCase{"comment", R"({"a":"b"} // x)", "not valid JSON"},
                    RejectedCase{"invalid UTF-8", "{\"a\":\"\xFF\"}", "ill-formed UTF-8"},
                    RejectedCase{"overlong UTF-8", "{\"a\":\"\xC0\xAF\"}", "ill-formed UTF-8"},
                    RejectedCase{"lone surrogate", R"({"a":"\ud800"})", "not valid JSON"},
                    RejectedCase{"raw control", "{\"a\":\"\x01\"}", "not valid JSON"}),
    [](const auto& info) {
        std::string n = info.param.name;
        std::erase(n, ' ');
        std::erase(n, '-');
        return n;
    });

TEST(RulesFormat, DeepNestingFailsWithoutExhaustingTheStack) {
    const std::string deep(1'000'000, '[');
    EXPECT_FALSE(decodeRules(bytes(deep)).rules.has_value());
    const std::string deepInObject = "{\"a\":" + std::string(1'000'000, '{');
    EXPECT_FALSE(decodeRules(bytes(deepInObject)).rules.has_value());
}

TEST(RulesFormat, ErrorsDoNotEchoTheStoredBytes) {
    const std::string lots(1'000'000, '7');
    const std::string stored[] = {
        "{\"secret\xFF\":1}",
        // Numbers too large for any type are reported as an overflow, not by their digits.
        "{\"a\":1" + lots + "}",
        "{\"a\":1e" + lots + "}",
        "{\"a\":-" + lots + "}",
        "{\"a\":\"secret" + lots,
        "{\"a\":\"secret\x01" + lots + "\"}",
        "{\"a\":tru" + lots + "}",
        "{\"a\":\"b\",secret" + lots + "}",
        "secret" + lots,
    };
    for (const auto& text : stored) {
        const auto decoded = decodeRules(bytes(text));
        EXPECT_FALSE(decoded.rules.has_value());
        EXPECT_EQ(decoded.error.find("secret"), std::string::npos) << decoded.error;
        EXPECT_EQ(decoded.error.find("777"), std::string::npos) << decoded.error.substr(0, 200);
        EXPECT_LE(decoded.error.size(), 200u) << decoded.error.substr(0, 200);
        EXPECT_NE(decoded.error.find("not valid JSON"), std::string::npos) << decoded.error;
    }
}

TEST(RulesFormat, EncodesCompactlyWithStandardEscaping) {
    const auto encoded = encodeRules({{"b", "2"}, {"a\"\\", "\n\t\x01/\xC3\xA9"}});
    ASSERT_TRUE(encoded.data.has_value()) << encoded.error;
    EXPECT_EQ(text(*encoded.data), "{\"a\\\"\\\\\":\"\\n\\t\\u0001/\xC3\xA9\",\"b\":\"2\"}");
    EXPECT_EQ(text(*encodeRules({}).data), "{}");
}

TEST(RulesFormat, EncodingInvalidUTF8FailsWithoutThrowing) {
    const auto encoded = encodeRules({{"a\xFF", "b"}});
    EXPECT_FALSE(encoded.data.has_value());
    EXPECT_NE(encoded.error.find("UTF-8"), std::string::npos) << encoded.error;
}

// --- The store ---------------------------------------------------------------------------------

class StoreTest : public testing::Test {
protected:
    std::optional<std::string> stored(const std::string& key = "PerAppRules") {
        auto data = defaultsData(machine.defaults.object(key));
        return data ? std::optional<std::string>(text(*data)) : std::nullopt;
    }

    sim::SimPlatform machine;
    MemoryLogSink log;
};

TEST_F(StoreTest, EachEditNotifiesBeforeTheStoredValueIsRewritten) {
    AppRulesStore store(machine.defaults, log);
    std::vector<std::pair<RulesMap, std::optional<std::string>>> seen;
    Token token =
        store.rules.subscribe([&](const RulesMap& rules) { seen.emplace_back(rules, stored()); });
    store.setRule("a", "x");
    store.setRule("a", "x");  // same value: still one notification and one write
    store.removeRule("a");
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[1].first, (RulesMap{{"a", "x"}}));
    EXPECT_EQ(seen[1].second, std::nullopt);
    EXPECT_EQ(seen[2].second, R"({"a":"x"})");
    EXPECT_TRUE(seen[3].first.empty());
    EXPECT_EQ(seen[3].second, R"({"a":"x"})");
    EXPECT_EQ(stored(), "{}");
}

TEST_F(StoreTest, EditsTakeKeysOfTheMapTheyReplace) {
    AppRulesStore store(machine.defaults, log);
    store.setRule("com.example.A", "x");
    store.removeRule(store.rules->begin()->first);
    EXPECT_EQ(log.count("removeRule bundleID=com.example.A"), 1u);
    store.setRule("com.example.B", "y");
    store.setRule(store.rules->begin()->first, store.rules->begin()->second + "z");
    EXPECT_EQ(stored(), R"({"com.example.B":"yz"})");
}

TEST_F(StoreTest, NonDataValuesAreSilentlyNoValue) {
    for (DefaultsValue value : {DefaultsValue(std::string(R"({"a":"x"})")), DefaultsValue(true),
                                DefaultsValue(std::int64_t{3})}) {
        machine.defaults.plant("PerAppRules", value);
        AppRulesStore store(machine.defaults, log);
        EXPECT_TRUE(store.rules->empty());
        store.setRule("b", "y");
        EXPECT_FALSE(machine.defaults.object("PerAppRules.unreadable").has_value());
    }
    EXPECT_FALSE(log.contains("decode"));
}

TEST_F(StoreTest, FailedEncodingKeepsTheEditAndTheStoredValue) {
    machine.defaults.plant("PerAppRules", bytes("[1]"));
    AppRulesStore store(machine.defaults, log);
    store.setRule("bad\xFF", "x");
    EXPECT_EQ(store.rules->count("bad\xFF"), 1u);
    EXPECT_EQ(stored(), "[1]");
    EXPECT_TRUE(log.contains("failed to encode PerAppRules: "));
    // Nothing was overwritten, so nothing was set aside yet; the next good save does it.
    EXPECT_FALSE(stored("PerAppRules.unreadable").has_value());
    store.removeRule("bad\xFF");
    EXPECT_EQ(stored("PerAppRules.unreadable"), "[1]");
    EXPECT_EQ(stored(), "{}");
}

// --- Application rows --------------------------------------------------------------------------

class AppRowTest : public testing::Test {
protected:
    void install(const std::string& path, std::optional<std::string> bundleID, InfoDictionary info,
                 InfoDictionary localized = {}) {
        machine.bundles.installed[path] =
            BundleInfo{bundleID, std::move(localized), std::move(info)};
        machine.workspace.icons[path] = "icon of " + path;
        if (bundleID) {
            machine.workspace.locations[*bundleID] = path;
        }
    }

    sim::SimPlatform machine;
};

struct NameCase {
    const char* name;
    InfoDictionary localized;
    InfoDictionary info;
    const char* expected;
};

class DisplayNameTest : public AppRowTest, public testing::WithParamInterface<NameCase> {};

TEST_P(DisplayNameTest, FirstTextInOrder) {
    install("/Applications/Some Mail.app", "com.example.Mail", GetParam().info,
            GetParam().localized);
    const auto row = makeAppRow(machine.bundles, machine.workspace, "/Applications/Some Mail.app");
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(row->displayName, GetParam().expected);
    EXPECT_EQ(row->bundleID, "com.example.Mail");
    EXPECT_EQ(row->icon, (Image{"icon of /Applications/Some Mail.app", {24, 24}}));
}

INSTANTIATE_TEST_SUITE_P(
    Fallbacks, DisplayNameTest,
    testing::Values(
        NameCase{"localized",
                 {{"CFBundleDisplayName", "Post"}},
                 {{"CFBundleDisplayName", "Mail!"}, {"CFBundleName", "Mail"}},
                 "Post"},
        NameCase{
            "display", {}, {{"CFBundleDisplayName", "Mail!"}, {"CFBundleName", "Mail"}}, "Mail!"},
        NameCase{"name",
                 {{"CFBundleName", "Localized name key is not read"}},
                 {{"CFBundleName", "Mail"}},
                 "Mail"},
        NameCase{"folder", {}, {}, "Some Mail"},
        NameCase{"emptycounts", {{"CFBundleDisplayName", ""}}, {{"CFBundleName", "Mail"}}, ""},
        NameCase{"nontextskipped",
                 {{"CFBundleDisplayName", 5.0}},
                 {{"CFBundleDisplayName", true}, {"CFBundleName", "Mail"}},
                 "Mail"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AppRowTest, FolderNameDropsOnlyTheLastExtension) {
    install("/Apps/My.Tool.app/", "com.example.Tool", {});
    EXPECT_EQ(makeAppRow(machine.bundles, machine.workspace, "/Apps/My.Tool.app/")->displayName,
              "My.Tool");
}

TEST_F(AppRowTest, NoRowWithoutABundleOrItsIdentifier) {
    install("/Applications/Anon.app", std::nullopt, {{"CFBundleName", "Anon"}});
    EXPECT_FALSE(makeAppRow(machine.bundles, machine.workspace, "/Applications/Anon.app"));
    EXPECT_FALSE(makeAppRow(machine.bundles, machine.workspace, "/Applications/Nothing.app"));
}

TEST_F(AppRowTest, ResolvesInstalledAppsAndPlaceholdersForTheRest) {
    install("/Applications/Mail.app", "com.example.Mail", {{"CFBundleName", "Mail"}});
    EXPECT_EQ(
        resolveAppRow(machine.bundles, machine.workspace, "com.example.Mail"),
        (AppRow{"com.example.Mail", "Mail", Image{"icon of /Applications/Mail.app", {24, 24}}}));

    // Found whatever the case asked for, the row is still the one of the identifier asked for.
    EXPECT_EQ(
        resolveAppRow(machine.bundles, machine.workspace, "COM.example.mail"),
        (AppRow{"COM.example.mail", "Mail", Image{"icon of /Applications/Mail.app", {24, 24}}}));

    const AppRow placeholder{"com.example.Gone", "com.example.Gone",
                             Image{"generic-application", {24, 24}}};
    EXPECT_EQ(resolveAppRow(machine.bundles, machine.workspace, "com.example.Gone"), placeholder);
    // Located, but the bundle there cannot be read.
    machine.workspace.locations["com.example.Gone"] = "/Applications/Gone.app";
    EXPECT_EQ(resolveAppRow(machine.bundles, machine.workspace, "com.example.Gone"), placeholder);
}

TEST(AppRowValue, EqualityAndHashCoverEveryField) {
    const AppRow base{"a", "A", Image{"i", {24, 24}}};
    const std::vector<AppRow> different{{"b", "A", Image{"i", {24, 24}}},
                                        {"a", "B", Image{"i", {24, 24}}},
                                        {"a", "A", Image{"j", {24, 24}}},
                                        {"a", "A", Image{"i", {32, 32}}},
                                        {"a", "A", std::nullopt}};
    const auto hash = std::hash<AppRow>{};
    for (const auto& row : different) {
        EXPECT_NE(row, base);
        EXPECT_NE(hash(row), hash(base));
    }
    EXPECT_EQ((AppRow{"a", "A", std::nullopt}), (AppRow{"a", "A", std::nullopt}));
    EXPECT_EQ(std::hash<AppRow>{}(base),
              std::hash<AppRow>{}(AppRow{"a", "A", Image{"i", {24, 24}}}));
    EXPECT_EQ(base.id(), "a");
}

}  // namespace
}  // namespace lumivoke
