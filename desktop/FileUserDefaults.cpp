#include "FileUserDefaults.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>

#include "SettingsFile.h"

namespace lumivoke::desktop {
namespace {

namespace fs = std::filesystem;

// Enough line numbers for the log to point the way; the copy holds them all.
constexpr std::size_t kProblemsNamed = 8;

std::string describe(const std::vector<SettingsProblem>& problems) {
    std::string text;
    for (std::size_t i = 0; i < problems.size() && i < kProblemsNamed; ++i) {
        text += (i == 0 ? "line " : "; line ") + std::to_string(problems[i].line) + ": " +
                problems[i].reason;
    }
    if (problems.size() > kProblemsNamed) {
        text += "; and " + std::to_string(problems.size() - kProblemsNamed) + " more";
    }
    return text;
}

/// Writes text to path all at once: into a new file beside it, then renamed over it, so that
/// a crash leaves the old file or the new one, never half of one. The error, or "".
std::string replaceFile(const fs::path& path, const std::string& text) {
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    const fs::path temporary = path.string() + ".new-" + std::to_string(getpid());
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return std::strerror(errno);
    }
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            const std::string error = std::strerror(errno);
            close(fd);
            unlink(temporary.c_str());
            return error;
        }
        written += static_cast<std::size_t>(n);
    }
    if (fsync(fd) != 0 || close(fd) != 0) {
        const std::string error = std::strerror(errno);
        unlink(temporary.c_str());
        return error;
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        const std::string error = std::strerror(errno);
        unlink(temporary.c_str());
        return error;
    }
    return {};
}

}  // namespace

FileUserDefaults::FileUserDefaults(fs::path file, MainLoop& loop, LogSink& sink, Clock clock)
    : file_(std::move(file)), loop_(loop), log_(sink, "UserDefaults"), clock_(std::move(clock)) {
    load();
}

fs::path FileUserDefaults::standardLocation() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    fs::path folder;
    if (config != nullptr && fs::path(config).is_absolute()) {
        folder = config;
    } else {
        const char* home = std::getenv("HOME");
        folder = fs::path(home != nullptr ? home : "") / ".config";
    }
    return folder / "velmorandix" / "Lumivoke.conf";
}

std::string FileUserDefaults::localTimestamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

void FileUserDefaults::load() {
    std::error_code ec;
    if (!fs::exists(file_, ec)) {
        return;
    }
    std::ifstream in(file_, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in || fs::is_directory(file_, ec)) {
        writable_ = false;
        log_.error(
            "cannot read the settings file %{public}s; starting on the defaults, and "
            "nothing is saved until it can be read",
            file_.string());
        return;
    }
    const ParsedSettings parsed = parseSettings(text.str());
    for (const auto& entry : parsed.entries) {
        stored_[entry.key] = entry.value;
    }
    if (parsed.problems.empty()) {
        return;
    }
    const auto copy = setAside();
    if (!copy) {
        log_.error(
            "the settings file %{public}s has lines that are not settings (%{public}s); "
            "no copy could be kept, so they stay until a setting changes",
            file_.string(), describe(parsed.problems));
        return;
    }
    log_.error(
        "the settings file %{public}s has lines that are not settings (%{public}s); "
        "kept a copy as %{public}s, and those settings start from their defaults",
        file_.string(), describe(parsed.problems), copy->string());
    write();
}

std::optional<fs::path> FileUserDefaults::setAside() {
    const std::string base = file_.string() + ".corrupt-" + clock_();
    fs::path copy = base;
    std::error_code ec;
    for (int n = 2; fs::exists(copy, ec); ++n) {
        copy = base + "-" + std::to_string(n);
    }
    if (!fs::copy_file(file_, copy, fs::copy_options::none, ec)) {
        return std::nullopt;
    }
    return copy;
}

bool FileUserDefaults::write() {
    if (!writable_) {
        return false;
    }
    std::vector<SettingsEntry> entries;
    for (const auto& [key, value] : stored_) {
        entries.push_back({key, value});
    }
    const std::string error = replaceFile(file_, formatSettings(entries));
    unsaved_ = !error.empty();
    if (!error.empty()) {
        log_.error("cannot write the settings file %{public}s: %{public}s", file_.string(), error);
        return false;
    }
    return true;
}

void FileUserDefaults::registerDefaults(
    const std::vector<std::pair<std::string, DefaultsValue>>& v) {
    for (const auto& [key, value] : v) {
        registered_[key] = value;
    }
}

std::optional<DefaultsValue> FileUserDefaults::object(const std::string& key) {
    if (auto it = stored_.find(key); it != stored_.end()) {
        if (auto value = decodeSetting(it->second)) {
            return value;
        }
    }
    if (auto it = registered_.find(key); it != registered_.end()) {
        return it->second;
    }
    return std::nullopt;
}

void FileUserDefaults::set(const std::string& key, DefaultsValue value) {
    // Observers hear of every set, as they always have; the file is rewritten only when its
    // text would change (the application sets several values again as it starts).
    std::string encoded = encodeSetting(value);
    if (auto it = stored_.find(key); it == stored_.end() || it->second != encoded || unsaved_) {
        stored_[key] = std::move(encoded);
        write();
    }
    if (auto it = observers_.find(key); it != observers_.end()) {
        it->second.post(loop_);
    }
}

Token FileUserDefaults::observe(const std::string& key, std::function<void()> callback) {
    return observers_[key].add(std::move(callback));
}

}  // namespace lumivoke::desktop
