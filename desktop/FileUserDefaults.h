#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/Logger.h"
#include "base/MainLoop.h"
#include "base/ObserverList.h"
#include "platform/UserDefaults.h"

namespace lumivoke::desktop {

/// The application's defaults in a settings file of its own (SettingsFile.h), read once at
/// start and written whole, through a temporary file, after each change.
///
/// A file with lines that are not settings loses nothing and carries nothing along: the whole
/// file is copied aside once as "<file>.corrupt-<date and time>", the program says so with the
/// lines' numbers, and rewrites the file with what it could read; the settings of the bad lines
/// start from their defaults. A data value that is not base64 is no such line: it reads as data
/// that cannot be decoded, for its reader to deal with (the rules store sets such rules aside).
/// Needs no display.
class FileUserDefaults final : public UserDefaults {
public:
    /// Now as the copy's name says it: "20240501-093000".
    using Clock = std::function<std::string()>;

    FileUserDefaults(std::filesystem::path file, MainLoop& loop, LogSink& sink,
                     Clock clock = localTimestamp);

    /// Where the program keeps its settings: $XDG_CONFIG_HOME (else ~/.config) /
    /// velmorandix/Lumivoke.conf, where QSettings kept them for earlier versions.
    static std::filesystem::path standardLocation();
    static std::string localTimestamp();
    const std::filesystem::path& file() const { return file_; }

    void registerDefaults(const std::vector<std::pair<std::string, DefaultsValue>>& v) override;
    std::optional<DefaultsValue> object(const std::string& key) override;
    void set(const std::string& key, DefaultsValue value) override;
    Token observe(const std::string& key, std::function<void()> callback) override;

private:
    void load();
    /// Copies the file aside before it is rewritten without its bad lines; the copy's path,
    /// or none when no copy could be made.
    std::optional<std::filesystem::path> setAside();
    bool write();

    std::filesystem::path file_;
    MainLoop& loop_;
    Logger log_;
    Clock clock_;
    // False when the file exists but could not be read: writing would destroy it.
    bool writable_ = true;
    // Each key's tagged text, as in the file.
    std::map<std::string, std::string> stored_;
    bool unsaved_ = false;  // the last write failed: what is stored_ is not yet in the file
    std::map<std::string, DefaultsValue> registered_;
    std::map<std::string, ObserverList<>> observers_;
};

}  // namespace lumivoke::desktop
