#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "IsoLanguageCodes.h"
#include "XkbLayouts.h"
#include "XkbRegistry.h"
#include "base/Logger.h"

// The layouts of the keymap as people know them: named and given languages by the XKB registry,
// the languages in their two-letter form where there is one. Needs no display.
namespace lumivoke::desktop {

/// One layout of the keymap, ready to be an input source.
struct NamedLayout {
    XkbLayout layout;
    /// "xkb:de(nodeadkeys)"
    std::string id;
    /// "German (no dead keys)", in the desktop's language where the registry is translated.
    std::string name;
    /// "de", most important first; never empty.
    std::vector<std::string> languages;
    friend bool operator==(const NamedLayout&, const NamedLayout&) = default;
};

/// Turns a registry description into the user's language ("German" → "Deutsch").
using Translate = std::function<std::string(const std::string&)>;
/// The translations the desktops use: xkeyboard-config's message catalogue.
std::string registryTranslation(const std::string& description);

/// Names layouts from the registry (null when it could not be read). A layout the registry
/// knows has its description; a variant it does not know, its layout's description with the
/// variant in parentheses ("German (mine)"); an unknown layout its code ("xx", "xx(yy)").
/// Languages: the entry's (a variant without its own has its layout's), two-letter where
/// codes has such a form; else the registry's short label ("en"); else the layout code.
std::vector<NamedLayout> nameLayouts(const std::vector<XkbLayout>& layouts,
                                     const XkbRegistry* registry, const IsoLanguageCodes& codes,
                                     const Translate& translate);

/// Where the names and languages come from; the system's own unless a test says otherwise.
struct LayoutNamingSources {
    /// Where the registry's rules are; empty for the system's folders.
    std::vector<std::filesystem::path> registryIncludes;
    std::filesystem::path languageTable = IsoLanguageCodes::standardPath;
    Translate translate = registryTranslation;
    /// A read already under way at start-up, used for the first read when it fits.
    std::shared_ptr<XkbRegistryPrefetch> prefetch;
};

/// The keymap's named layouts, kept between changes: the registry is read when the layouts are
/// first asked for and again only when the ruleset or the layouts differ from the last ones,
/// never when nothing changed (so a switch costs a comparison); the language table is read once.
class XkbLayoutCatalog {
public:
    explicit XkbLayoutCatalog(LogSink& sink, LayoutNamingSources sources = {});

    /// The layouts of the root window's _XKB_RULES_NAMES text, at most maxLayouts of them.
    const std::vector<NamedLayout>& layouts(const std::string& rulesNamesProperty,
                                            std::size_t maxLayouts = 4);
    /// How many times the registry has been read (for tests and benchmarks).
    int registryReads() const { return registryReads_; }

private:
    void describe(const std::string& ruleset, std::vector<XkbLayout> layouts);

    LogSink& sink_;
    Logger log_;
    LayoutNamingSources sources_;
    std::optional<IsoLanguageCodes> codes_;
    std::optional<std::string> lastRuleset_;
    std::vector<XkbLayout> lastLayouts_;
    std::vector<NamedLayout> named_;
    int registryReads_ = 0;
};

}  // namespace lumivoke::desktop
