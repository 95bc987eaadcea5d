#include "DesktopEntries.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "AutostartEntry.h"
#include "ScratchDir.h"

namespace lumivoke::desktop {
namespace {

namespace fs = std::filesystem;

using testing_support::ScratchDir;

std::string app(const std::string& name, const std::string& more = {}) {
    return "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=true\n" + more;
}

XdgEnvironment environmentOf(const std::map<std::string, std::string>& variables) {
    return XdgEnvironment::from([&](const char* name) -> std::optional<std::string> {
        if (const auto it = variables.find(name); it != variables.end()) {
            return it->second;
        }
        return std::nullopt;
    });
}

struct DirsCase {
    std::map<std::string, std::string> variables;
    std::vector<std::string> directories;
};

TEST(XdgEnvironment, FindsTheApplicationFoldersAsTheXdgRulesSay) {
    const std::vector<DirsCase> cases = {
        {{{"HOME", "/home/ann"}},
         {"/home/ann/.local/share/applications", "/usr/local/share/applications",
          "/usr/share/applications"}},
        {{{"HOME", "/home/ann"}, {"XDG_DATA_HOME", "/data"}, {"XDG_DATA_DIRS", "/a:/b/"}},
         {"/data/applications", "/a/applications", "/b/applications"}},
        // Empty or relative entries are ignored; an empty list means the default.
        {{{"HOME", "/home/ann"}, {"XDG_DATA_HOME", "rel"}, {"XDG_DATA_DIRS", ":rel:/x::"}},
         {"/home/ann/.local/share/applications", "/x/applications"}},
        {{{"HOME", "/home/ann"}, {"XDG_DATA_DIRS", ""}},
         {"/home/ann/.local/share/applications", "/usr/local/share/applications",
          "/usr/share/applications"}},
        {{}, {"/usr/local/share/applications", "/usr/share/applications"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(environmentOf(c.variables).applicationDirectories, c.directories);
    }
    const auto env = environmentOf({{"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"},
                                    {"LC_MESSAGES", "de_DE.UTF-8"},
                                    {"LANG", "en_US.UTF-8"}});
    EXPECT_EQ(env.currentDesktops, (std::vector<std::string>{"ubuntu", "GNOME"}));
    EXPECT_EQ(env.locale, EntryLocale::parse("de_DE"));
}

TEST(DesktopEntries, ReadsAnEntryInTheUsersLanguage) {
    const auto file = DesktopEntryFile::parse(
        app("Files",
            "Name[de]=Dateien\nGenericName=File Manager\nGenericName[de]=Dateimanager\n"
            "Keywords=folder;browse;\nKeywords[de]=Ordner;\nIcon=org.files.png\n"
            "StartupWMClass=Files\nOnlyShowIn=GNOME;KDE;\nNoDisplay=true\n"));
    const auto entry = entryFromFile(file, EntryLocale::parse("de_AT"));
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->name, "Dateien");
    EXPECT_EQ(entry->untranslatedName, "Files");
    EXPECT_EQ(entry->genericName, "Dateimanager");
    EXPECT_EQ(entry->keywords, (std::vector<std::string>{"Ordner"}));
    EXPECT_EQ(entry->icon, "org.files") << "an icon name's file extension is taken off";
    EXPECT_EQ(entry->startupWMClass, "Files");
    EXPECT_EQ(entry->onlyShowIn, (std::vector<std::string>{"GNOME", "KDE"}));
    EXPECT_TRUE(entry->noDisplay);
    EXPECT_FALSE(entry->hidden);

    EXPECT_EQ(
        entryFromFile(DesktopEntryFile::parse(app("X", "Icon=/opt/x/x.png\n")), std::nullopt)->icon,
        "/opt/x/x.png")
        << "a path is kept whole";
    EXPECT_FALSE(
        entryFromFile(DesktopEntryFile::parse("[Desktop Entry]\nType=Application\n"), std::nullopt))
        << "no name";
    EXPECT_FALSE(entryFromFile(DesktopEntryFile::parse("[Desktop Entry]\nName=X\n"), std::nullopt))
        << "no type";
    EXPECT_FALSE(entryFromFile(DesktopEntryFile::parse("[Other]\nType=Application\nName=X\n"),
                               std::nullopt));
}

struct ShownCase {
    std::string more;     // lines added to an application's entry
    std::string desktop;  // XDG_CURRENT_DESKTOP
    bool shown;
};

TEST(DesktopEntries, ShowsInMenusOnlyWhatTheEntrySaysIsForThisDesktop) {
    ScratchDir bin;
    const fs::path tool = bin.write("tool", "#!/bin/sh\n");
    fs::permissions(tool, fs::perms::owner_all);
    bin.write("plain-file", "not executable");
    const std::vector<ShownCase> cases = {
        {"", "", true},
        {"Hidden=true\n", "", false},
        {"NoDisplay=true\n", "", false},
        {"NoDisplay=false\nHidden=false\n", "", true},
        {"OnlyShowIn=KDE;\n", "GNOME", false},
        {"OnlyShowIn=KDE;GNOME;\n", "ubuntu:GNOME", true},
        {"OnlyShowIn=KDE;\n", "", false},
        {"NotShowIn=GNOME;\n", "ubuntu:GNOME", false},
        {"NotShowIn=GNOME;\n", "KDE", true},
        {"TryExec=tool\n", "", true},
        {"TryExec=" + tool.string() + "\n", "", true},
        {"TryExec=plain-file\n", "", false},
        {"TryExec=no-such-program-anywhere\n", "", false},
        {"TryExec=relative/tool\n", "", false},
    };
    for (const auto& c : cases) {
        const auto env = environmentOf(
            {{"XDG_CURRENT_DESKTOP", c.desktop}, {"PATH", "/nonexistent:" + bin.path().string()}});
        const auto entry = entryFromFile(DesktopEntryFile::parse(app("A", c.more)), env.locale);
        ASSERT_TRUE(entry.has_value());
        EXPECT_EQ(isShownInMenus(*entry, env), c.shown) << c.more << " on " << c.desktop;
    }
    auto link = entryFromFile(DesktopEntryFile::parse("[Desktop Entry]\nType=Link\nName=L\n"),
                              std::nullopt);
    ASSERT_TRUE(link.has_value());
    EXPECT_FALSE(isShownInMenus(*link, environmentOf({}))) << "not an application";
}

class ScanTest : public ::testing::Test {
protected:
    ScratchDir dir;
    fs::path user() const { return dir.path() / "home/applications"; }
    fs::path site() const { return dir.path() / "site/applications"; }
    fs::path system() const { return dir.path() / "system/applications"; }

    XdgEnvironment environment() const {
        return environmentOf({{"XDG_DATA_HOME", (dir.path() / "home").string()},
                              {"XDG_DATA_DIRS", (dir.path() / "site").string() + ":" +
                                                    (dir.path() / "system").string()},
                              {"LANG", "de_DE.UTF-8"}});
    }

    std::map<std::string, std::string> namesByID(const EntryScan& scan) const {
        std::map<std::string, std::string> out;
        for (const auto& e : scan.entries) {
            out[e.id] = e.name;
        }
        return out;
    }
};

TEST_F(ScanTest, EarlierFoldersShadowLaterOnesByDesktopFileID) {
    dir.write("system/applications/editor.desktop", app("System Editor"));
    dir.write("site/applications/editor.desktop", app("Site Editor"));
    dir.write("system/applications/viewer.desktop", app("Viewer"));
    // The user deletes the system's viewer by an entry of the same id.
    dir.write("home/applications/viewer.desktop",
              "[Desktop Entry]\nType=Application\n"
              "Name=Viewer\nHidden=true\n");
    // Subfolders join the id with '-'; it shadows the system's kde-term.
    dir.write("home/applications/kde/term.desktop", app("Term", "Name[de]=Terminal\n"));
    dir.write("system/applications/kde-term.desktop", app("Old Term"));
    dir.write("system/applications/README", "not an entry");
    dir.write("system/applications/broken.desktop", "just text\n");
    dir.write("system/applications/directory.desktop",
              "[Desktop Entry]\nType=Directory\nName=Games\n");

    const auto scan = scanApplications(environment());
    EXPECT_EQ(namesByID(scan), (std::map<std::string, std::string>{{"directory", "Games"},
                                                                   {"editor", "Site Editor"},
                                                                   {"kde-term", "Terminal"},
                                                                   {"viewer", "Viewer"}}));
    ASSERT_EQ(scan.skipped.size(), 1u);
    EXPECT_EQ(scan.skipped[0], (system() / "broken.desktop").string() +
                                   ": no [Desktop Entry] group with a Type and a Name");
    for (const auto& e : scan.entries) {
        if (e.id == "viewer") {
            EXPECT_TRUE(e.hidden) << "the user's deleting entry wins, and hides the system's";
            EXPECT_EQ(e.path, (user() / "viewer.desktop").string());
        }
        if (e.id == "kde-term") {
            EXPECT_EQ(e.path, (user() / "kde/term.desktop").string());
        }
    }

    DesktopEntries entries(environment());
    EXPECT_EQ(entries.byID("viewer"), nullptr) << "a Hidden entry is as good as deleted";
    ASSERT_NE(entries.byID("editor"), nullptr);
    EXPECT_EQ(entries.byID("editor")->name, "Site Editor");
    EXPECT_EQ(entries.byID("directory"), nullptr) << "not an application";
}

TEST_F(ScanTest, TwoFilesOfOneIDInOneFolderAreSettledByTheirPaths) {
    dir.write("home/applications/kde-a.desktop", app("Flat"));
    dir.write("home/applications/kde/a.desktop", app("Nested"));
    // Whichever the file system lists first: paths compare folder by folder, and "kde" comes
    // before "kde-a.desktop".
    for (int i = 0; i < 2; ++i) {
        const auto scan = scanApplications(environment());
        ASSERT_EQ(scan.entries.size(), 1u);
        EXPECT_EQ(scan.entries[0].name, "Nested");
        // The same, with the files made in the other order.
        fs::remove_all(user());
        if (i == 0) {
            dir.write("home/applications/kde/a.desktop", app("Nested"));
            dir.write("home/applications/kde-a.desktop", app("Flat"));
        }
    }
}

TEST_F(ScanTest, SkipsFilesTooLargeToBeEntriesAndMissingFolders) {
    dir.write("home/applications/huge.desktop", app("Huge") + std::string(1100 * 1024, '#'));
    dir.write("system/applications/fine.desktop", app("Fine"));
    const auto scan = scanApplications(environment());  // "site" does not exist
    EXPECT_EQ(namesByID(scan), (std::map<std::string, std::string>{{"fine", "Fine"}}));
    ASSERT_EQ(scan.skipped.size(), 1u);
    EXPECT_NE(scan.skipped[0].find("huge.desktop: larger than 1 MiB"), std::string::npos);
}

TEST_F(ScanTest, ReadsAChosenFileAndNamesItsDesktopFileID) {
    const fs::path nested = dir.write("home/applications/kde/term.desktop", app("Term"));
    const fs::path elsewhere = dir.write("downloads/tool.desktop", app("Tool"));
    const fs::path link = dir.write("downloads/not-an-entry.txt", app("Text"));
    DesktopEntries entries(environment());
    const auto term = entries.read(nested.string());
    ASSERT_TRUE(term.has_value());
    EXPECT_EQ(term->id, "kde-term");
    EXPECT_EQ(term->path, nested.string());
    const auto tool = entries.read(elsewhere.string());
    ASSERT_TRUE(tool.has_value());
    EXPECT_EQ(tool->id, "tool") << "outside the folders, the file's own name";
    EXPECT_FALSE(entries.read(link.string()).has_value()) << "not a .desktop file";
    EXPECT_FALSE(entries.read((dir.path() / "missing.desktop").string()).has_value());

    // A folder reached through a symbolic link is the same folder.
    fs::create_directory_symlink(dir.path() / "home", dir.path() / "home-link");
    EXPECT_EQ(desktopFileID((dir.path() / "home-link/applications/kde/term.desktop").string(),
                            environment().applicationDirectories),
              "kde-term");
}

TEST_F(ScanTest, MatchesAWindowToItsApplication) {
    dir.write("home/applications/org.example.Terminal.desktop",
              app("Terminal", "StartupWMClass=XTerm\n"));
    dir.write("home/applications/org.gnome.Calculator.desktop", app("Calculator"));
    DesktopEntries entries(environment());
    const auto id = [&](const std::string& instance, const std::string& className) {
        const DesktopEntry* e = entries.byWindowClass(instance, className);
        return e != nullptr ? e->id : std::string("none");
    };
    EXPECT_EQ(id("xterm", "XTerm"), "org.example.Terminal");
    EXPECT_EQ(id("xterm", "xterm"), "org.example.Terminal") << "case does not matter";
    EXPECT_EQ(id("calculator", "Gnome-calculator"), "org.gnome.Calculator")
        << "the id's last part names the instance";
    EXPECT_EQ(id("firefox", "Firefox"), "none");
}

TEST_F(ScanTest, AWindowClaimedTwiceIsTheUsersOwnApplication) {
    // The system's entry sorts first by id; the user's own folder still comes first.
    dir.write("system/applications/debian-xterm.desktop", app("XTerm", "StartupWMClass=XTerm\n"));
    dir.write("home/applications/my-terminal.desktop", app("Mine", "StartupWMClass=XTerm\n"));
    dir.write("site/applications/b-term.desktop", app("B", "StartupWMClass=XTerm\n"));
    dir.write("site/applications/a-term.desktop", app("A", "StartupWMClass=XTerm\n"));
    const auto scan = scanApplications(environment());
    std::vector<std::string> ids;
    for (const auto& e : scan.entries) {
        ids.push_back(e.id);
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"my-terminal", "a-term", "b-term", "debian-xterm"}));
    DesktopEntries entries(environment());
    const DesktopEntry* e = entries.byWindowClass("xterm", "XTerm");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->id, "my-terminal");
}

TEST(AutostartEntry, WritesAnEntryThatStartsTheProgramAndReadsItBack) {
    const std::string text = autostartEntryText("/opt/my apps/lumi$voke%");
    const auto file = DesktopEntryFile::parse(text);
    EXPECT_TRUE(file.problems().empty());
    EXPECT_EQ(file.string(DesktopEntryFile::mainGroup, "Exec"), "\"/opt/my apps/lumi\\$voke%%\"");
    EXPECT_EQ(file.raw(DesktopEntryFile::mainGroup, "Exec"), "\"/opt/my apps/lumi\\\\$voke%%\"")
        << "the value escapes come on top of the Exec quoting";
    EXPECT_EQ(file.boolean(DesktopEntryFile::mainGroup, "NoDisplay"), true);
    EXPECT_TRUE(autostartEntryStartsProgram(text));
}

TEST(AutostartEntry, KnowsAnEntryTheSessionSettingsSwitchedOff) {
    const std::string base = "[Desktop Entry]\nType=Application\nName=Lumivoke\nExec=lumivoke\n";
    EXPECT_TRUE(autostartEntryStartsProgram(base));
    EXPECT_TRUE(autostartEntryStartsProgram(base + "X-GNOME-Autostart-enabled=true\n"));
    EXPECT_FALSE(autostartEntryStartsProgram(base + "X-GNOME-Autostart-enabled=false\n"));
    EXPECT_FALSE(autostartEntryStartsProgram(base + "Hidden=true\n"));
    EXPECT_FALSE(autostartEntryStartsProgram("[Desktop Entry]\nType=Application\nName=L\n"))
        << "no Exec";
    EXPECT_FALSE(autostartEntryStartsProgram("garbage"));
    EXPECT_EQ(quotedExecArgument("a\"b`c\\d"), "\"a\\\"b\\`c\\\\d\"");
}

}  // namespace
}  // namespace lumivoke::desktop
