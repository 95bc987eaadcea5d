#include "DesktopEntries.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace lumivoke::desktop {
namespace {

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) {
        return {};
    }
    const auto e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

}  // namespace

std::optional<DesktopEntry> parseDesktopEntry(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    bool inGroup = false;
    bool sawGroup = false;
    std::string type;
    DesktopEntry entry;
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line[0] == '[') {
            inGroup = line == "[Desktop Entry]";
            sawGroup = sawGroup || inGroup;
            continue;
        }
        if (!inGroup) {
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos) {
            continue;
        }
        const std::string key = trim(line.substr(0, eq));
        const std::string value = trim(line.substr(eq + 1));
        if (key == "Type") {
            type = value;
        } else if (key == "Name") {
            entry.name = value;
        } else if (key.starts_with("Name[") && key.ends_with("]")) {
            entry.localizedNames[key.substr(5, key.size() - 6)] = value;
        } else if (key == "Icon") {
            entry.icon = value;
        } else if (key == "StartupWMClass") {
            entry.startupWMClass = value;
        }
    }
    if (!sawGroup || type != "Application" || entry.name.empty()) {
        return std::nullopt;
    }
    return entry;
}

std::vector<std::string> DesktopEntries::applicationDirectories() {
    std::vector<std::string> dirs;
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (dataHome != nullptr && *dataHome != '\0') {
        dirs.push_back(std::string(dataHome) + "/applications");
    } else if (home != nullptr) {
        dirs.push_back(std::string(home) + "/.local/share/applications");
    }
    const char* dataDirs = std::getenv("XDG_DATA_DIRS");
    std::string list = (dataDirs != nullptr && *dataDirs != '\0')
                           ? std::string(dataDirs)
                           : std::string("/usr/local/share:/usr/share");
    std::istringstream in(list);
    std::string dir;
    while (std::getline(in, dir, ':')) {
        if (!dir.empty()) {
            dirs.push_back(dir + "/applications");
        }
    }
    return dirs;
}

std::optional<DesktopEntry> DesktopEntries::read(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_regular_file(path, ec) || fs::path(path).extension() != ".desktop") {
        return std::nullopt;
    }
    std::ifstream file(path);
    if (!file) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    auto entry = parseDesktopEntry(text.str());
    if (!entry) {
        return std::nullopt;
    }
    entry->path = path;
    // The file id: the path below an applications directory, '/' becoming '-'.
    std::string id = fs::path(path).stem().string();
    const fs::path canonical = fs::weakly_canonical(path, ec);
    for (const auto& dir : applicationDirectories()) {
        const fs::path base = fs::weakly_canonical(dir, ec);
        const auto rel = canonical.lexically_relative(base);
        if (!rel.empty() && *rel.begin() != "..") {
            id = rel.string();
            id.erase(id.size() - std::string(".desktop").size());
            std::replace(id.begin(), id.end(), '/', '-');
            break;
        }
    }
    entry->id = id;
    return entry;
}

void DesktopEntries::load() {
    namespace fs = std::filesystem;
    loaded_ = true;
    std::set<std::string> seen;
    for (const auto& dir : applicationDirectories()) {
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(dir, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
            if (it->path().extension() != ".desktop") {
                continue;
            }
            if (auto entry = read(it->path().string()); entry && seen.insert(entry->id).second) {
                entries_.push_back(std::move(*entry));
            }
        }
    }
}

const DesktopEntry* DesktopEntries::byID(const std::string& id) {
    if (!loaded_) {
        load();
    }
    for (const auto& e : entries_) {
        if (e.id == id) {
            return &e;
        }
    }
    return nullptr;
}

const DesktopEntry* DesktopEntries::byWindowClass(const std::string& instance,
                                                  const std::string& className) {
    if (!loaded_) {
        load();
    }
    const std::string wantedClass = lower(className);
    const std::string wantedInstance = lower(instance);
    for (const auto& e : entries_) {
        if (!e.startupWMClass.empty() &&
            (lower(e.startupWMClass) == wantedClass || lower(e.startupWMClass) == wantedInstance)) {
            return &e;
        }
    }
    for (const auto& e : entries_) {
        const std::string id = lower(e.id);
        // "org.gnome.Terminal" matches a class "Gnome-terminal" by its last part as well.
        const auto dot = id.rfind('.');
        const std::string last = dot == std::string::npos ? id : id.substr(dot + 1);
        if (id == wantedClass || id == wantedInstance || last == wantedInstance) {
            return &e;
        }
    }
    return nullptr;
}

}  // namespace lumivoke::desktop
