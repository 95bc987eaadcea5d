#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace lumivoke::desktop {

/// What a .desktop file says about an application.
struct DesktopEntry {
    std::string id;    ///< the desktop file id without ".desktop": "org.gnome.Terminal"
    std::string path;  ///< the file's path
    std::string name;  ///< Name=
    std::map<std::string, std::string> localizedNames;  ///< Name[xx]= by locale
    std::string icon;                                   ///< Icon=
    std::string startupWMClass;                         ///< StartupWMClass=
};

/// Reads the [Desktop Entry] group of a .desktop file's text; none when the group is missing,
/// it is not an application, or it has no name.
std::optional<DesktopEntry> parseDesktopEntry(const std::string& text);

/// The applications installed as .desktop files in the XDG data directories (the user's first,
/// then the system's, the first file of an id winning), read once.
class DesktopEntries {
public:
    /// The entry of a file id, or none.
    const DesktopEntry* byID(const std::string& id);
    /// The entry whose StartupWMClass or id matches a window's WM_CLASS, or none.
    const DesktopEntry* byWindowClass(const std::string& instance, const std::string& className);
    /// Reads the .desktop file at path; none when it cannot be read or is not an application.
    static std::optional<DesktopEntry> read(const std::string& path);
    /// The application directories searched, most important first.
    static std::vector<std::string> applicationDirectories();

private:
    void load();
    bool loaded_ = false;
    std::vector<DesktopEntry> entries_;
};

}  // namespace lumivoke::desktop
