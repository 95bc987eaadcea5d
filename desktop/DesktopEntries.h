#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DesktopEntryFile.h"

namespace lumivoke::desktop {

/// What decides where desktop entries are found and which of them a menu shows: the XDG
/// variables of an environment, read once.
struct XdgEnvironment {
    /// $XDG_DATA_HOME/applications (default ~/.local/share/applications), then each of
    /// $XDG_DATA_DIRS/applications (default /usr/local/share:/usr/share); relative folders,
    /// which the XDG rules forbid, are left out.
    std::vector<std::string> applicationDirectories;
    /// $XDG_CURRENT_DESKTOP, split at ':' ("GNOME", "KDE", …); empty when unset.
    std::vector<std::string> currentDesktops;
    /// $PATH, split at ':', where a TryExec program without a folder is looked for.
    std::vector<std::string> executablePath;
    /// The messages locale (LC_ALL, LC_MESSAGES, LANG), which picks the translations.
    std::optional<EntryLocale> locale;

    /// The value of an environment variable, or none when it is unset.
    using Variables = std::function<std::optional<std::string>(const char* name)>;
    static XdgEnvironment from(const Variables& variable);
    /// The environment of this process.
    static XdgEnvironment ofProcess();
};

/// What a desktop entry says about an application.
struct DesktopEntry {
    std::string id;                ///< the desktop file id without ".desktop": "org.gnome.Terminal"
    std::string path;              ///< the file's path
    std::string type;              ///< Type=: "Application", "Link", "Directory"
    std::string name;              ///< Name= in the user's language, else untranslated
    std::string untranslatedName;  ///< Name=
    std::string genericName;       ///< GenericName= in the user's language; may be empty
    std::vector<std::string> keywords;  ///< Keywords= in the user's language
    /// Icon=: a theme icon's name (a file name's extension, which the rules forbid, taken off),
    /// or an absolute path; empty when none.
    std::string icon;
    std::string startupWMClass;           ///< StartupWMClass=
    std::string tryExec;                  ///< TryExec=
    std::vector<std::string> onlyShowIn;  ///< OnlyShowIn=
    std::vector<std::string> notShowIn;   ///< NotShowIn=
    bool hidden = false;                  ///< Hidden=true: deleted, as if the file were not there
    bool noDisplay = false;               ///< NoDisplay=true: installed, but not for menus

    friend bool operator==(const DesktopEntry&, const DesktopEntry&) = default;
};

/// The [Desktop Entry] group of a file as an entry; none when the group is missing or has no
/// Type= or no Name=. The id and path are left empty.
std::optional<DesktopEntry> entryFromFile(const DesktopEntryFile& file,
                                          const std::optional<EntryLocale>& locale);

/// The text of a desktop entry file, or why it cannot be had (missing, unreadable, or larger
/// than any desktop entry is: 1 MiB).
struct FileText {
    std::optional<std::string> text;
    std::string error;
};
FileText readEntryText(const std::string& path);

/// The desktop file id of the file at path (without ".desktop"): its place below the first
/// applications folder that holds it, each '/' as '-' ("kde/konsole.desktop" is
/// "kde-konsole"); the file's own name when no folder holds it.
std::string desktopFileID(const std::string& path, const std::vector<std::string>& directories);

/// Whether a menu of applications shows the entry: an application, neither Hidden nor
/// NoDisplay, meant for the current desktop (OnlyShowIn, NotShowIn), and, when it names a
/// TryExec program, with that program installed.
bool isShownInMenus(const DesktopEntry& entry, const XdgEnvironment& environment);

/// Every desktop entry in the application folders and their subfolders, of every type, the
/// first file of an id winning (the user's folder before the system's); in the order of their
/// folders, and by id within one, so that where two entries claim one window the user's own
/// comes first. And the files that could not be used, as "PATH: reason".
struct EntryScan {
    std::vector<DesktopEntry> entries;
    std::vector<std::string> skipped;
};
EntryScan scanApplications(const XdgEnvironment& environment);

/// The installed applications, read once when first asked: the applications of
/// scanApplications() that are not Hidden.
class DesktopEntries {
public:
    explicit DesktopEntries(XdgEnvironment environment = XdgEnvironment::ofProcess());

    /// The entry of a file id, or none.
    const DesktopEntry* byID(const std::string& id);
    /// The entry whose StartupWMClass or id matches a window's WM_CLASS, or none.
    const DesktopEntry* byWindowClass(const std::string& instance, const std::string& className);
    /// The application the desktop entry file at path describes, whatever folder it is in;
    /// none when it cannot be read or is not an application with a name.
    std::optional<DesktopEntry> read(const std::string& path) const;

    const XdgEnvironment& environment() const { return environment_; }

private:
    void load();

    XdgEnvironment environment_;
    bool loaded_ = false;
    std::vector<DesktopEntry> entries_;
};

}  // namespace lumivoke::desktop
