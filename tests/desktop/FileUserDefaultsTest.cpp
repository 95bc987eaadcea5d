#include "FileUserDefaults.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ScratchDir.h"
#include "base/VirtualMainLoop.h"
#include "rules/AppRulesStore.h"

namespace lumivoke::desktop {
namespace {

namespace fs = std::filesystem;

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class FileUserDefaultsTest : public ::testing::Test {
protected:
    std::unique_ptr<FileUserDefaults> open() {
        return std::make_unique<FileUserDefaults>(file, loop, log,
                                                  [] { return std::string("20240501-093000"); });
    }

    std::vector<fs::path> filesIn(const fs::path& dir) {
        std::vector<fs::path> names;
        for (const auto& entry : fs::directory_iterator(dir)) {
            names.push_back(entry.path().filename());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    void writeText(const fs::path& path, const std::string& text) { scratch.write(path, text); }

    testing_support::ScratchDir scratch;
    const fs::path& folder = scratch.path();
    fs::path file = folder / "velmorandix" / "Lumivoke.conf";
    VirtualMainLoop loop;
    MemoryLogSink log;
};

TEST_F(FileUserDefaultsTest, NoFileIsNoValueAndNothingWrittenUntilASetting) {
    auto defaults = open();
    defaults->registerDefaults({{"HoverBadgeEnabled", true}});
    EXPECT_EQ(defaults->object("HoverBadgeEnabled"), DefaultsValue(true));
    EXPECT_EQ(defaults->object("PerAppRules"), std::nullopt);
    EXPECT_FALSE(fs::exists(file));
    defaults->set("HoverBadgeEnabled", false);
    EXPECT_EQ(readText(file), "[General]\nHoverBadgeEnabled=b:0\n");
    EXPECT_TRUE(log.records.empty());
    // Only its owner may read it, and no temporary file is left beside it.
    struct stat info {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(filesIn(file.parent_path()), std::vector<fs::path>{"Lumivoke.conf"});
}

TEST_F(FileUserDefaultsTest, ValuesSurviveARestartAndObserversHearOfChanges) {
    {
        auto defaults = open();
        int heard = 0;
        const Token token = defaults->observe("TriggerKey", [&] { ++heard; });
        defaults->set("TriggerKey", std::string("menu"));
        defaults->set("PerAppRules", Bytes{'{', '}'});
        defaults->set("Scale", 1.25);
        EXPECT_EQ(heard, 0) << "on a later turn";
        loop.runUntilIdle();
        EXPECT_EQ(heard, 1);
    }
    auto again = open();
    EXPECT_EQ(again->object("TriggerKey"), DefaultsValue(std::string("menu")));
    EXPECT_EQ(again->object("PerAppRules"), DefaultsValue(Bytes{'{', '}'}));
    EXPECT_EQ(again->object("Scale"), DefaultsValue(1.25));
}

TEST_F(FileUserDefaultsTest, AValueSetAgainIsHeardButTheFileIsNotRewritten) {
    auto defaults = open();
    int heard = 0;
    const Token token = defaults->observe("TriggerKey", [&] { ++heard; });
    defaults->set("TriggerKey", std::string("menu"));
    struct stat first {};
    ASSERT_EQ(stat(file.c_str(), &first), 0);
    defaults->set("TriggerKey", std::string("menu"));
    struct stat again {};
    ASSERT_EQ(stat(file.c_str(), &again), 0);
    // The file is replaced by renaming a new one over it, so a rewrite is a new inode.
    EXPECT_EQ(again.st_ino, first.st_ino);
    defaults->set("TriggerKey", std::string("pause"));
    struct stat changed {};
    ASSERT_EQ(stat(file.c_str(), &changed), 0);
    EXPECT_NE(changed.st_ino, first.st_ino);
    loop.runUntilIdle();
    EXPECT_EQ(heard, 3);
}

TEST_F(FileUserDefaultsTest, AValueWhoseWriteFailedIsWrittenWhenSetAgain) {
    writeText(folder / "velmorandix", "not a folder\n");
    auto defaults = open();
    defaults->set("HoverBadgeEnabled", false);
    fs::remove(folder / "velmorandix");
    defaults->set("HoverBadgeEnabled", false);
    EXPECT_NE(readText(file).find("HoverBadgeEnabled"), std::string::npos);
}

TEST_F(FileUserDefaultsTest, AFileWithGarbageIsCopiedAsideOnceAndRewrittenWithoutIt) {
    const std::string garbage =
        "[General]\n"
        "HoverBadgeEnabled=b:maybe\n"
        "MenubarIconVisible=i:seven\n"
        "=\n"
        "TriggerKey=s:pause\n"
        "Future=b:1\n"
        "\x01\xff noise\n";
    writeText(file, garbage);
    auto defaults = open();
    defaults->registerDefaults({{"HoverBadgeEnabled", true}, {"MenubarIconVisible", true}});
    // The bad lines' settings start from their defaults; the good ones, known or not, stay.
    EXPECT_EQ(defaults->object("HoverBadgeEnabled"), DefaultsValue(true));
    EXPECT_EQ(defaults->object("MenubarIconVisible"), DefaultsValue(true));
    EXPECT_EQ(defaults->object("TriggerKey"), DefaultsValue(std::string("pause")));
    EXPECT_EQ(readText(file), "[General]\nFuture=b:1\nTriggerKey=s:pause\n");
    const fs::path copy = file.string() + ".corrupt-20240501-093000";
    EXPECT_EQ(readText(copy), garbage) << "the copy is the file as it was";
    ASSERT_EQ(log.records.size(), 1u);
    EXPECT_EQ(log.records[0].level, LogLevel::error);
    EXPECT_EQ(log.records[0].text,
              "the settings file " + file.string() +
                  " has lines that are not settings (line 2: not a value of the kinds b:, i:, "
                  "d:, s: or x:; line 3: not a value of the kinds b:, i:, d:, s: or x:; line 4: "
                  "no key; line 7: not text); kept a copy as " +
                  copy.string() + ", and those settings start from their defaults");

    // The next start finds a clean file: nothing to say, nothing copied again.
    defaults.reset();
    log.records.clear();
    auto next = open();
    EXPECT_TRUE(log.records.empty());
    EXPECT_EQ(filesIn(file.parent_path()).size(), 2u);
}

TEST_F(FileUserDefaultsTest, AnEarlierCopyIsNeverOverwritten) {
    writeText(file, "garbage\n");
    writeText(file.string() + ".corrupt-20240501-093000", "older garbage\n");
    auto defaults = open();
    EXPECT_EQ(readText(file.string() + ".corrupt-20240501-093000"), "older garbage\n");
    EXPECT_EQ(readText(file.string() + ".corrupt-20240501-093000-2"), "garbage\n");
    EXPECT_EQ(readText(file), "") << "nothing could be read";
}

TEST_F(FileUserDefaultsTest, ManyBadLinesAreCountedNotAllNamed) {
    std::string garbage;
    for (int i = 0; i < 12; ++i) {
        garbage += "junk\n";
    }
    writeText(file, garbage);
    auto defaults = open();
    ASSERT_EQ(log.records.size(), 1u);
    EXPECT_NE(log.records[0].text.find("line 8: no \"=\"; and 4 more)"), std::string::npos)
        << log.records[0].text;
}

TEST_F(FileUserDefaultsTest, RulesThatAreNotBase64AreUnreadableRulesTheStoreSetsAside) {
    // The rules store keeps undecodable rules under another key at its first edit, rather
    // than letting the edit overwrite them; a value that is not base64 must reach it as such.
    writeText(file, "[General]\nPerAppRules=\"x:%%%not base64%%%\"\n");
    auto defaults = open();
    EXPECT_TRUE(log.records.empty()) << "a readable line: the store decides about its content";
    AppRulesStore store(*defaults, log);
    EXPECT_TRUE(store.rules->empty());
    ASSERT_EQ(log.records.size(), 1u);
    EXPECT_EQ(log.records[0].text.rfind("failed to decode PerAppRules: ", 0), 0u)
        << log.records[0].text;
    // Until the first edit the file keeps the value as it was.
    EXPECT_EQ(readText(file), "[General]\nPerAppRules=\"x:%%%not base64%%%\"\n");
    store.setRule("org.example.App", "xkb:de");
    const std::string original = "x:%%%not base64%%%";
    EXPECT_EQ(defaults->object("PerAppRules.unreadable"),
              DefaultsValue(Bytes(original.begin(), original.end())));
    auto reopened = open();
    EXPECT_EQ(reopened->object("PerAppRules.unreadable"),
              DefaultsValue(Bytes(original.begin(), original.end())));
    AppRulesStore later(*reopened, log);
    EXPECT_EQ(later.rules->at("org.example.App"), "xkb:de");
}

TEST_F(FileUserDefaultsTest, AFileThatCannotBeReadIsNeverOverwritten) {
    // A folder where the file should be: as unreadable as a file can be, also for root.
    fs::create_directories(file / "inside");
    auto defaults = open();
    ASSERT_EQ(log.records.size(), 1u);
    EXPECT_EQ(log.records[0].text, "cannot read the settings file " + file.string() +
                                       "; starting on the defaults, and nothing is saved until "
                                       "it can be read");
    defaults->set("HoverBadgeEnabled", true);
    EXPECT_EQ(defaults->object("HoverBadgeEnabled"), DefaultsValue(true)) << "kept for this run";
    EXPECT_TRUE(fs::is_directory(file / "inside"));
    EXPECT_EQ(log.records.size(), 1u);
}

TEST_F(FileUserDefaultsTest, AFailedWriteIsLoggedAndTheValueKeptForThisRun) {
    // A file where the settings folder should be.
    writeText(folder / "velmorandix", "not a folder\n");
    auto defaults = open();
    defaults->set("HoverBadgeEnabled", false);
    EXPECT_EQ(defaults->object("HoverBadgeEnabled"), DefaultsValue(false));
    ASSERT_EQ(log.records.size(), 1u);
    EXPECT_EQ(
        log.records[0].text.rfind("cannot write the settings file " + file.string() + ": ", 0), 0u)
        << log.records[0].text;
}

}  // namespace
}  // namespace lumivoke::desktop
