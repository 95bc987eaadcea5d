#include "DesktopEntries.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace lumivoke::desktop {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSuffix = ".desktop";
constexpr std::uintmax_t kMaxEntrySize = 1024 * 1024;

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::vector<std::string> split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    while (true) {
        const auto at = text.find(separator);
        if (!text.substr(0, at).empty()) {
            parts.emplace_back(text.substr(0, at));
        }
        if (at == std::string_view::npos) {
            return parts;
        }
        text.remove_prefix(at + 1);
    }
}

/// Icon= names a theme icon without an extension; files that give one anyway ("gimp.png")
/// mean the icon of that name.
std::string iconName(std::string icon) {
    if (icon.empty() || icon.front() == '/') {
        return icon;
    }
    for (std::string_view extension : {".png", ".svg", ".svgz", ".xpm"}) {
        if (icon.size() > extension.size() && icon.ends_with(extension)) {
            icon.resize(icon.size() - extension.size());
            break;
        }
    }
    return icon;
}

bool isExecutableFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec) && ::access(path.c_str(), X_OK) == 0;
}

bool programExists(const std::string& program, const std::vector<std::string>& searchPath) {
    if (program.find('/') != std::string::npos) {
        // The format wants absolute paths; a relative one has no folder to be relative to.
        return program.front() == '/' && isExecutableFile(program);
    }
    return std::any_of(searchPath.begin(), searchPath.end(), [&](const std::string& dir) {
        return isExecutableFile(fs::path(dir) / program);
    });
}

bool sharesOne(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    return std::any_of(a.begin(), a.end(), [&](const std::string& x) {
        return std::find(b.begin(), b.end(), x) != b.end();
    });
}

/// The path of a file below dir, when it is below it.
std::optional<fs::path> below(const fs::path& file, const fs::path& dir) {
    const fs::path relative = file.lexically_relative(dir);
    if (relative.empty() || *relative.begin() == ".." || *relative.begin() == ".") {
        return std::nullopt;
    }
    return relative;
}

std::string idOf(const fs::path& relative) {
    std::string id = relative.generic_string();
    if (id.ends_with(kSuffix)) {
        id.resize(id.size() - kSuffix.size());
    }
    std::replace(id.begin(), id.end(), '/', '-');
    return id;
}

}  // namespace

XdgEnvironment XdgEnvironment::from(const Variables& variable) {
    const auto value = [&](const char* name) -> std::string { return variable(name).value_or(""); };
    const auto absolute = [](const std::string& dir) { return !dir.empty() && dir[0] == '/'; };
    XdgEnvironment env;
    const std::string dataHome = value("XDG_DATA_HOME");
    const std::string home = value("HOME");
    const auto add = [&](const std::string& dataDir) {
        env.applicationDirectories.push_back(
            (fs::path(dataDir) / "applications").lexically_normal().string());
    };
    if (absolute(dataHome)) {
        add(dataHome);
    } else if (absolute(home)) {
        add(home + "/.local/share");
    }
    std::string dataDirs = value("XDG_DATA_DIRS");
    if (dataDirs.empty()) {
        dataDirs = "/usr/local/share:/usr/share";
    }
    for (const auto& dir : split(dataDirs, ':')) {
        if (absolute(dir)) {
            add(dir);
        }
    }
    env.currentDesktops = split(value("XDG_CURRENT_DESKTOP"), ':');
    env.executablePath = split(value("PATH"), ':');
    const auto optional = [&](const char* name) { return variable(name); };
    const auto lcAll = optional("LC_ALL");
    const auto lcMessages = optional("LC_MESSAGES");
    const auto lang = optional("LANG");
    env.locale = EntryLocale::fromVariables(lcAll, lcMessages, lang);
    return env;
}

XdgEnvironment XdgEnvironment::ofProcess() {
    return from([](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    });
}

std::optional<DesktopEntry> entryFromFile(const DesktopEntryFile& file,
                                          const std::optional<EntryLocale>& locale) {
    constexpr std::string_view g = DesktopEntryFile::mainGroup;
    if (file.group(g) == nullptr) {
        return std::nullopt;
    }
    DesktopEntry entry;
    entry.type = file.string(g, "Type").value_or("");
    entry.untranslatedName = repairedUtf8(file.string(g, "Name").value_or(""));
    entry.name = file.localeString(g, "Name", locale).value_or("");
    if (entry.type.empty() || entry.name.empty()) {
        return std::nullopt;
    }
    entry.genericName = file.localeString(g, "GenericName", locale).value_or("");
    entry.keywords = file.localeList(g, "Keywords", locale).value_or(std::vector<std::string>{});
    entry.icon = iconName(file.string(g, "Icon").value_or(""));
    entry.startupWMClass = file.string(g, "StartupWMClass").value_or("");
    entry.tryExec = file.string(g, "TryExec").value_or("");
    entry.onlyShowIn = file.list(g, "OnlyShowIn").value_or(std::vector<std::string>{});
    entry.notShowIn = file.list(g, "NotShowIn").value_or(std::vector<std::string>{});
    entry.hidden = file.boolean(g, "Hidden").value_or(false);
    entry.noDisplay = file.boolean(g, "NoDisplay").value_or(false);
    return entry;
}

FileText readEntryText(const std::string& path) {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec) {
        return {std::nullopt, ec.message()};
    }
    if (size > kMaxEntrySize) {
        return {std::nullopt, "larger than 1 MiB"};
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {std::nullopt, "cannot be opened"};
    }
    std::string text(static_cast<std::size_t>(size), '\0');
    in.read(text.data(), static_cast<std::streamsize>(size));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) {
        return {std::nullopt, "cannot be read"};
    }
    return {std::move(text), {}};
}

std::string desktopFileID(const std::string& path, const std::vector<std::string>& directories) {
    std::error_code ec;
    const fs::path file = fs::absolute(path, ec).lexically_normal();
    for (const auto& dir : directories) {
        if (const auto relative = below(file, fs::path(dir).lexically_normal())) {
            return idOf(*relative);
        }
    }
    // A folder reached through a link: compare where the folders really are, keeping the
    // file's own name (a link to an entry is still known by its own name).
    const fs::path parent = fs::weakly_canonical(file.parent_path(), ec);
    for (const auto& dir : directories) {
        const fs::path real = fs::weakly_canonical(dir, ec);
        if (const auto relative = below(parent / file.filename(), real)) {
            return idOf(*relative);
        }
    }
    return idOf(file.filename());
}

bool isShownInMenus(const DesktopEntry& entry, const XdgEnvironment& environment) {
    if (entry.type != "Application" || entry.hidden || entry.noDisplay) {
        return false;
    }
    if (!entry.onlyShowIn.empty() && !sharesOne(entry.onlyShowIn, environment.currentDesktops)) {
        return false;
    }
    if (sharesOne(entry.notShowIn, environment.currentDesktops)) {
        return false;
    }
    return entry.tryExec.empty() || programExists(entry.tryExec, environment.executablePath);
}

EntryScan scanApplications(const XdgEnvironment& environment) {
    EntryScan scan;
    std::set<std::string> seen;
    for (const auto& dir : environment.applicationDirectories) {
        // This folder's files by id; two files of one id in one folder ("kde-a.desktop" and
        // "kde/a.desktop") are settled by their paths, so the choice does not depend on the
        // order the file system lists them in.
        std::map<std::string, fs::path> files;
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(
                 dir, fs::directory_options::skip_permission_denied, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
            const fs::path& path = it->path();
            std::error_code fileError;
            if (path.extension() != kSuffix || !it->is_regular_file(fileError)) {
                continue;
            }
            const auto relative = below(path, dir);
            if (!relative) {
                continue;
            }
            const std::string id = idOf(*relative);
            if (auto [at, added] = files.emplace(id, path); !added && path < at->second) {
                at->second = path;
            }
        }
        for (const auto& [id, path] : files) {
            if (!seen.insert(id).second) {
                continue;
            }
            const FileText text = readEntryText(path.string());
            if (!text.text) {
                scan.skipped.push_back(path.string() + ": " + text.error);
                continue;
            }
            auto entry = entryFromFile(DesktopEntryFile::parse(*text.text), environment.locale);
            if (!entry) {
                scan.skipped.push_back(path.string() +
                                       ": no [Desktop Entry] group with a Type and a Name");
                continue;
            }
            entry->id = id;
            entry->path = path.string();
            scan.entries.push_back(std::move(*entry));
        }
    }
    return scan;
}

DesktopEntries::DesktopEntries(XdgEnvironment environment) : environment_(std::move(environment)) {}

std::optional<DesktopEntry> DesktopEntries::read(const std::string& path) const {
    if (!path.ends_with(kSuffix)) {
        return std::nullopt;
    }
    const FileText text = readEntryText(path);
    if (!text.text) {
        return std::nullopt;
    }
    auto entry = entryFromFile(DesktopEntryFile::parse(*text.text), environment_.locale);
    if (!entry || entry->type != "Application") {
        return std::nullopt;
    }
    entry->path = path;
    entry->id = desktopFileID(path, environment_.applicationDirectories);
    return entry;
}

void DesktopEntries::load() {
    loaded_ = true;
    for (auto& entry : scanApplications(environment_).entries) {
        if (entry.type == "Application" && !entry.hidden) {
            entries_.push_back(std::move(entry));
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
