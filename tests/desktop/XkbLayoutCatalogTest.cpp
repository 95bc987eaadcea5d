#include "XkbLayoutCatalog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "IsoLanguageCodes.h"
#include "XkbRegistry.h"

// A small registry and language table of our own (tests/desktop/data) rather than the machine's,
// so the names and languages asserted here are the ones the files say.
namespace lumivoke::desktop {
namespace {

using namespace std::string_literals;

const std::filesystem::path kData = LUMIVOKE_DESKTOP_TEST_DATA;
const std::filesystem::path kXkb = kData / "xkb";
const std::filesystem::path kLanguages = kData / "iso-codes" / "iso_639-3.json";

std::string identity(const std::string& text) {
    return text;
}

LayoutNamingSources testSources() {
    return {{kXkb}, kLanguages, identity, nullptr};
}

class ScratchFile {
public:
    explicit ScratchFile(const std::string& contents) {
        path_ =
            std::filesystem::temp_directory_path() /
            ("lumivoke-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::ofstream(path_, std::ios::binary) << contents;
    }
    ~ScratchFile() { std::filesystem::remove(path_); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

TEST(IsoLanguageCodes, MapsThreeLetterCodesToTwoWhereTheTableHasThem) {
    const auto codes = IsoLanguageCodes::read(kLanguages);
    ASSERT_FALSE(codes.failure()) << *codes.failure();
    const std::pair<std::string, std::string> cases[] = {
        {"eng", "en"},  {"deu", "de"},  {"jpn", "ja"},
        {"rus", "ru"},  {"gsw", "gsw"},  // no two-letter code: as it is
        {"ber", "ber"},                  // not in the table: as it is
        {"qac", "qac"},                  // a "two-letter" code of seven letters is not taken
        {"qab", "qab"},  // codes nested inside an entry's other fields are not entries
        {"qad", "qad"},  // nor are those of another list
        {"", ""},
    };
    for (const auto& [three, two] : cases) {
        EXPECT_EQ(codes.twoLetter(three), two) << three;
    }
    // An entry whose name is not text still has its codes.
    EXPECT_EQ(codes.twoLetter("qaa"), "xx");
    EXPECT_EQ(codes.size(), 5u);
}

TEST(IsoLanguageCodes, ReadsTheSmallTableWithItsBibliographicCodesAside) {
    // As iso_639-2.json lists German: the terminology code is the one XKB's registry uses.
    const ScratchFile file(
        "{\"639-2\": [{\"alpha_2\": \"de\", \"alpha_3\": \"deu\", \"bibliographic\": "
        "\"ger\", \"name\": \"German\"}, {\"alpha_3\": \"gsw\", \"name\": \"Swiss German\"}]}");
    const auto codes = IsoLanguageCodes::read(file.path());
    ASSERT_FALSE(codes.failure()) << *codes.failure();
    EXPECT_EQ(codes.twoLetter("deu"), "de");
    EXPECT_EQ(codes.twoLetter("ger"), "ger");
    EXPECT_EQ(codes.twoLetter("gsw"), "gsw");
    EXPECT_EQ(codes.size(), 1u);
}

TEST(IsoLanguageCodes, ReportsATableItCannotReadAndKeepsCodesAsTheyAre) {
    struct Case {
        std::string contents;
        std::string failure;
    };
    const Case cases[] = {
        {"{\"639-3\": [{\"alpha_2\": \"en\", \"alpha_3\": \"eng\"}", "is not JSON at byte"},
        {"not json", "is not JSON at byte"},
        {"", "is not JSON at byte"},
        {"{\"639-5\": [{\"alpha_2\": \"en\", \"alpha_3\": \"eng\"}]}", "has no \"639-2\" or"},
        {"[]", "has no \"639-2\" or \"639-3\" list"},
    };
    for (const auto& c : cases) {
        const ScratchFile file(c.contents);
        const auto codes = IsoLanguageCodes::read(file.path());
        ASSERT_TRUE(codes.failure()) << c.contents;
        EXPECT_NE(codes.failure()->find(c.failure), std::string::npos) << *codes.failure();
        // A half-read table is not used: nothing is mapped.
        EXPECT_EQ(codes.twoLetter("eng"), "eng") << c.contents;
    }
    const auto missing = IsoLanguageCodes::read(kData / "no-such-table.json");
    ASSERT_TRUE(missing.failure());
    EXPECT_NE(missing.failure()->find("cannot read"), std::string::npos);
}

TEST(XkbRegistry, ReadsLayoutsAndVariantsWithTheirLanguages) {
    MemoryLogSink log;
    const auto registry = XkbRegistry::load("evdev", {kXkb}, log);
    ASSERT_TRUE(registry);
    const auto* de = registry->find("de", "");
    ASSERT_NE(de, nullptr);
    EXPECT_EQ(de->description, "German");
    EXPECT_EQ(de->brief, "de");
    EXPECT_EQ(de->languages, std::vector<std::string>{"deu"});
    const auto* nodeadkeys = registry->find("de", "nodeadkeys");
    ASSERT_NE(nodeadkeys, nullptr);
    EXPECT_EQ(nodeadkeys->description, "German (no dead keys)");
    // A variant with its own languages has those, not its layout's.
    const auto* deRu = registry->find("de", "ru");
    ASSERT_NE(deRu, nullptr);
    EXPECT_EQ(deRu->languages, std::vector<std::string>{"rus"});
    EXPECT_EQ(registry->find("ch", "")->languages, (std::vector<std::string>{"gsw", "deu"}));
    EXPECT_EQ(registry->find("de", "mine"), nullptr);
    EXPECT_EQ(registry->find("xx", ""), nullptr);
    EXPECT_EQ(registry->find("", ""), nullptr);
}

TEST(XkbRegistry, NoneForARulesetThatIsNotThere) {
    MemoryLogSink log;
    EXPECT_FALSE(XkbRegistry::load("nosuchrules", {kXkb}, log));
    EXPECT_FALSE(XkbRegistry::load("evdev", {kData / "no-such-folder"}, log));
}

TEST(NameLayouts, NamesAndLanguagesAsTheRegistrySaysWithFallbacks) {
    MemoryLogSink log;
    const auto registry = XkbRegistry::load("evdev", {kXkb}, log);
    ASSERT_TRUE(registry);
    const auto codes = IsoLanguageCodes::read(kLanguages);
    struct Case {
        XkbLayout layout;
        std::string id;
        std::string name;
        std::vector<std::string> languages;
    };
    const Case cases[] = {
        {{"us", ""}, "xkb:us", "English (US)", {"en"}},
        {{"de", ""}, "xkb:de", "German", {"de"}},
        {{"jp", ""}, "xkb:jp", "Japanese", {"ja"}},
        // A variant: its own description, its layout's languages unless it has its own.
        {{"de", "nodeadkeys"}, "xkb:de(nodeadkeys)", "German (no dead keys)", {"de"}},
        {{"us", "intl"}, "xkb:us(intl)", "English (US, intl., with dead keys)", {"en"}},
        {{"de", "ru"}, "xkb:de(ru)", "Russian (Germany, phonetic)", {"ru"}},
        // Several languages, in the registry's order; one without a two-letter code stays.
        {{"ch", ""}, "xkb:ch", "German (Switzerland)", {"gsw", "de"}},
        {{"ber", ""}, "xkb:ber", "Berber (Morocco, Tifinagh)", {"ber"}},
        // No languages: the short label, else the layout code.
        {{"zz", ""}, "xkb:zz", "Zedland", {"zd"}},
        {{"yy", ""}, "xkb:yy", "Whyland", {"yy"}},
        // A variant the registry does not know: its layout's name and languages.
        {{"de", "mine"}, "xkb:de(mine)", "German (mine)", {"de"}},
        // A layout the registry does not know keeps its code as its name.
        {{"xx", ""}, "xkb:xx", "xx", {"xx"}},
        {{"xx", "yy"}, "xkb:xx(yy)", "xx(yy)", {"xx"}},
    };
    for (const auto& c : cases) {
        const auto named = nameLayouts({c.layout}, &*registry, codes, identity);
        ASSERT_EQ(named.size(), 1u);
        EXPECT_EQ(named[0].layout, c.layout);
        EXPECT_EQ(named[0].id, c.id);
        EXPECT_EQ(named[0].name, c.name) << c.id;
        EXPECT_EQ(named[0].languages, c.languages) << c.id;
    }
}

TEST(NameLayouts, WithoutARegistryOrLanguageTableEveryLayoutHasItsCode) {
    const auto noCodes = IsoLanguageCodes::read(kData / "no-such-table.json");
    const auto named = nameLayouts({{"de", "nodeadkeys"}, {"us", ""}}, nullptr, noCodes, identity);
    ASSERT_EQ(named.size(), 2u);
    EXPECT_EQ(named[0].name, "de(nodeadkeys)");
    EXPECT_EQ(named[0].languages, std::vector<std::string>{"de"});
    EXPECT_EQ(named[1].name, "us");
    // With the registry but no table, the three-letter codes stay (the HUD shows their first
    // two letters).
    MemoryLogSink log;
    const auto registry = XkbRegistry::load("evdev", {kXkb}, log);
    ASSERT_TRUE(registry);
    EXPECT_EQ(nameLayouts({{"jp", ""}}, &*registry, noCodes, identity)[0].languages,
              std::vector<std::string>{"jpn"});
}

TEST(NameLayouts, DescriptionsGoThroughTheTranslation) {
    MemoryLogSink log;
    const auto registry = XkbRegistry::load("evdev", {kXkb}, log);
    ASSERT_TRUE(registry);
    const auto codes = IsoLanguageCodes::read(kLanguages);
    const Translate german = [](const std::string& text) {
        return text == "German" ? std::string("Deutsch") : text;
    };
    const auto named =
        nameLayouts({{"de", ""}, {"de", "mine"}, {"us", ""}}, &*registry, codes, german);
    EXPECT_EQ(named[0].name, "Deutsch");
    EXPECT_EQ(named[1].name, "Deutsch (mine)");
    EXPECT_EQ(named[2].name, "English (US)");
}

TEST(XkbLayoutCatalog, ReadsTheRegistryOnlyWhenTheLayoutsOrRulesetChange) {
    MemoryLogSink log;
    XkbLayoutCatalog catalog(log, testSources());
    const auto usDe = "evdev\0pc105\0us,de\0,nodeadkeys\0grp:alt_shift_toggle\0"s;
    const auto& first = catalog.layouts(usDe);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[1].name, "German (no dead keys)");
    EXPECT_EQ(catalog.registryReads(), 1);
    // The same layouts again, as on every switch: nothing is read.
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(catalog.layouts(usDe).size(), 2u);
    }
    // Another option or model does not change the layouts either.
    catalog.layouts("evdev\0pc104\0us,de\0,nodeadkeys\0\0"s);
    EXPECT_EQ(catalog.registryReads(), 1);
    // Another variant, another layout list, another ruleset: read again.
    EXPECT_EQ(catalog.layouts("evdev\0pc105\0us,de\0\0\0"s)[1].name, "German");
    EXPECT_EQ(catalog.registryReads(), 2);
    EXPECT_EQ(catalog.layouts("evdev\0pc105\0jp\0\0\0"s)[0].languages,
              std::vector<std::string>{"ja"});
    EXPECT_EQ(catalog.registryReads(), 3);
    // A ruleset the folder does not have: codes as names, and the failure is logged.
    const auto& unnamed = catalog.layouts("base\0pc105\0jp\0\0\0"s);
    EXPECT_EQ(catalog.registryReads(), 4);
    ASSERT_EQ(unnamed.size(), 1u);
    EXPECT_EQ(unnamed[0].name, "jp");
    EXPECT_TRUE(log.contains("cannot read the XKB registry of the rules base"));
    // No layouts at all: none, without asking the registry.
    EXPECT_TRUE(catalog.layouts("evdev\0pc105\0\0\0\0"s).empty());
    EXPECT_TRUE(catalog.layouts("").empty());
    EXPECT_EQ(catalog.registryReads(), 4);
}

TEST(XkbRegistryPrefetch, HandsOverOnceAndOnlyWhatItWasAskedToRead) {
    MemoryLogSink log;
    XkbRegistryPrefetch prefetch("evdev", {kXkb});
    EXPECT_FALSE(prefetch.take("base", {kXkb}, log)) << "read for another ruleset";
    EXPECT_FALSE(prefetch.take("evdev", {}, log)) << "read from other folders";
    auto taken = prefetch.take("evdev", {kXkb}, log);
    ASSERT_TRUE(taken && *taken);
    ASSERT_NE((*taken)->find("de", "nodeadkeys"), nullptr);
    EXPECT_EQ((*taken)->find("de", "nodeadkeys")->description, "German (no dead keys)");
    EXPECT_FALSE(prefetch.take("evdev", {kXkb}, log)) << "taken already";

    // A read that failed is handed over as a failure, not retried behind the caller's back.
    XkbRegistryPrefetch missing("nosuchrules", {kXkb});
    const auto failed = missing.take("nosuchrules", {kXkb}, log);
    ASSERT_TRUE(failed);
    EXPECT_FALSE(*failed);
}

TEST(XkbLayoutCatalog, TakesAFittingPrefetchForItsFirstReadAndLeavesOneThatDoesNotFit) {
    MemoryLogSink log;
    auto sources = testSources();
    auto fitting = std::make_shared<XkbRegistryPrefetch>("evdev", std::vector{kXkb});
    sources.prefetch = fitting;
    XkbLayoutCatalog catalog(log, sources);
    EXPECT_EQ(catalog.layouts("evdev\0pc105\0us,de\0,nodeadkeys\0\0"s)[1].name,
              "German (no dead keys)");
    EXPECT_FALSE(fitting->take("evdev", {kXkb}, log)) << "the catalog took it";

    auto other = std::make_shared<XkbRegistryPrefetch>("base", std::vector{kXkb});
    sources.prefetch = other;
    XkbLayoutCatalog second(log, sources);
    EXPECT_EQ(second.layouts("evdev\0pc105\0de\0\0\0"s)[0].name, "German");
    EXPECT_TRUE(other->take("base", {kXkb}, log)) << "left for nobody, untouched";
}

TEST(XkbLayoutCatalog, KeepsAtMostTheGroupsTheKeymapHas) {
    MemoryLogSink log;
    XkbLayoutCatalog catalog(log, testSources());
    const auto& layouts = catalog.layouts("evdev\0pc105\0us,de,jp,ch,zz\0\0\0"s, 4);
    ASSERT_EQ(layouts.size(), 4u);
    EXPECT_EQ(layouts[3].id, "xkb:ch");
}

TEST(XkbLayoutCatalog, LogsTheLayoutsItNamedAndAMissingLanguageTable) {
    MemoryLogSink log;
    auto sources = testSources();
    sources.languageTable = kData / "no-such-table.json";
    XkbLayoutCatalog catalog(log, sources);
    const auto& layouts = catalog.layouts("evdev\0pc105\0us,jp\0\0\0"s);
    ASSERT_EQ(layouts.size(), 2u);
    EXPECT_EQ(layouts[1].languages, std::vector<std::string>{"jpn"});
    EXPECT_TRUE(log.contains("cannot read the language codes"));
    EXPECT_TRUE(log.contains("layouts xkb:us \"English (US)\" eng, xkb:jp \"Japanese\" jpn"));
    // The table is not asked for again with each change of layouts.
    const auto failures = log.records.size();
    catalog.layouts("evdev\0pc105\0de\0\0\0"s);
    EXPECT_EQ(log.records.size(), failures + 1);
}

}  // namespace
}  // namespace lumivoke::desktop
