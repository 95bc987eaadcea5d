#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "base/Logger.h"
#include "base/Published.h"
#include "platform/Bundles.h"
#include "platform/Image.h"
#include "platform/UserDefaults.h"
#include "platform/Workspace.h"

namespace lumivoke {

/// Bundle identifier to input source identifier; at most one rule per application.
using RulesMap = std::map<std::string, std::string>;

/// The outcome of decoding stored rules: the map, or a description of why there is none.
struct RulesDecoding {
    std::optional<RulesMap> rules;
    std::string error;
};

/// Reads the stored form: the UTF-8 text of one JSON object whose member values are all
/// strings. Anything else (another top level, a non-string member, malformed JSON or UTF-8)
/// fails with a description. Never throws.
RulesDecoding decodeRules(const Bytes& data);

/// The outcome of encoding rules: the bytes to store, or a description of the failure.
struct RulesEncoding {
    std::optional<Bytes> data;
    std::string error;
};

/// Writes the stored form: one compact JSON object with standard string escaping. Fails (and
/// never throws) when a text is not valid UTF-8.
RulesEncoding encodeRules(const RulesMap& rules);

/// The user's per-app rules, kept in memory as an observable map and persisted in the defaults
/// under "PerAppRules" after every edit.
class AppRulesStore {
public:
    static constexpr const char* defaultsKey = "PerAppRules";
    /// Where an undecodable stored value is kept before the first edit overwrites it.
    static constexpr const char* unreadableKey = "PerAppRules.unreadable";

    /// Loads the stored rules once; never writes to the defaults.
    AppRulesStore(UserDefaults& defaults, LogSink& sink);
    AppRulesStore(const AppRulesStore&) = delete;
    AppRulesStore& operator=(const AppRulesStore&) = delete;

    // Both take their texts by value: a caller may pass a key of the very map the edit replaces.
    /// Inserts or replaces the rule of bundleID, then saves; also when nothing changes.
    void setRule(std::string bundleID, std::string sourceID);
    /// Removes the rule of bundleID if there is one, then saves; also when there was none.
    void removeRule(std::string bundleID);

    /// Notifies on every edit, before the stored value is rewritten. Assigned only by the
    /// store itself.
    Published<RulesMap> rules{RulesMap{}, Notify::onEveryAssignment};

private:
    void load();
    void save();

    Logger log_;
    UserDefaults& defaults_;
    // The bytes of a stored value that could not be decoded, until they are set aside.
    std::optional<Bytes> unreadable_;
};

/// The display record of one application in the rules list.
struct AppRow {
    std::string bundleID;
    std::string displayName;
    /// Sized 24 by 24 points.
    std::optional<Image> icon;

    const std::string& id() const { return bundleID; }
    friend bool operator==(const AppRow&, const AppRow&) = default;
};

/// The row of the application bundle at path (a file URL's path); none when the bundle cannot
/// be opened or has no bundle identifier.
std::optional<AppRow> makeAppRow(Bundles& bundles, Workspace& workspace, const std::string& path);

/// The row shown for a stored rule, identified by the rule's bundle identifier: the installed
/// application's name and icon, else a placeholder with the bundle identifier as its name and
/// the generic application icon.
AppRow resolveAppRow(Bundles& bundles, Workspace& workspace, const std::string& bundleID);

}  // namespace lumivoke

template <>
struct std::hash<lumivoke::AppRow> {
    std::size_t operator()(const lumivoke::AppRow& row) const noexcept;
};
