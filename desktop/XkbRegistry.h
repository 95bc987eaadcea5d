#pragma once

#include <filesystem>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "XkbLayouts.h"
#include "base/Logger.h"

// The XKB registry: every layout and variant a ruleset knows (evdev.xml and its kin), with the
// description and languages the desktops' keyboard settings show. Read through libxkbregistry;
// needs no display.
namespace lumivoke::desktop {

/// What the registry says of one layout or variant.
struct RegistryEntry {
    /// "German (no dead keys)", untranslated.
    std::string description;
    /// The short label ("de"), possibly empty.
    std::string brief;
    /// ISO 639-3 codes ("deu"), most important first; a variant without languages of its own
    /// has its layout's.
    std::vector<std::string> languages;
};

/// The entries of one ruleset, read once: looking one up asks nothing of the library or the
/// disk.
class XkbRegistry {
public:
    /// Reads ruleset ("evdev", "base") with its exotic layouts. includePaths empty: where the
    /// system keeps them ($XDG_CONFIG_HOME/xkb, ~/.xkb, $XKB_CONFIG_ROOT or /usr/share/X11/xkb);
    /// otherwise only these folders, each holding rules/RULESET.xml. None when nothing could be
    /// read; what the library complained of goes to sink.
    static std::optional<XkbRegistry> load(const std::string& ruleset,
                                           const std::vector<std::filesystem::path>& includePaths,
                                           LogSink& sink);

    /// The entry of a layout with its variant (an empty variant is the layout itself), or null
    /// when the registry does not know it.
    const RegistryEntry* find(const std::string& layout, const std::string& variant) const;
    std::size_t size() const { return entries_.size(); }

private:
    std::map<std::pair<std::string, std::string>, RegistryEntry> entries_;
};

/// A registry read on a thread of its own while the rest of the program starts (the read is a
/// tenth of start-up, and most of the rest waits on the disk, the loader and the X server). The
/// ruleset is a guess made before the X server is asked; take() hands the result over only for
/// the ruleset and folders it was read for. The thread touches nothing but its own copies and
/// its own log, which take() passes on from the main thread.
class XkbRegistryPrefetch {
public:
    XkbRegistryPrefetch(std::string ruleset, std::vector<std::filesystem::path> includePaths);
    ~XkbRegistryPrefetch();
    XkbRegistryPrefetch(const XkbRegistryPrefetch&) = delete;
    XkbRegistryPrefetch& operator=(const XkbRegistryPrefetch&) = delete;

    /// What load(ruleset, includePaths, sink) would return, waiting for the thread if it is not
    /// done; none when the prefetch was for another ruleset or other folders, or was taken.
    std::optional<std::optional<XkbRegistry>> take(
        const std::string& ruleset, const std::vector<std::filesystem::path>& includePaths,
        LogSink& sink);

private:
    std::string ruleset_;
    std::vector<std::filesystem::path> includePaths_;
    std::unique_ptr<MemoryLogSink> log_;
    std::future<std::optional<XkbRegistry>> result_;
};

}  // namespace lumivoke::desktop
