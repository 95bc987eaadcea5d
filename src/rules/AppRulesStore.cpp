#include "rules/AppRulesStore.h"

#include <exception>
#include <nlohmann/json.hpp>
#include <utility>

namespace lumivoke {
namespace {

using Json = nlohmann::json;

constexpr Size kRowIconSize{24, 24};

/// Longest description a decoding or encoding error gets in the log.
constexpr std::size_t kMaxDescription = 160;

/// The library's message without its "[json.exception.…] " prefix and without anything that
/// would echo stored bytes into the log: the "; last read: '…'" part (and what follows it,
/// whose end cannot be told from the echo) and the digits of an overflowing number. Kept short
/// whatever the library says.
std::string describe(const std::exception& e) {
    std::string text = e.what();
    if (text.rfind("[json.exception.", 0) == 0) {
        if (const auto close = text.find("] "); close != std::string::npos) {
            text.erase(0, close + 2);
        }
    }
    for (const char* echo : {"; last read: '", " parsing '"}) {
        if (const auto from = text.find(echo); from != std::string::npos) {
            text.erase(from);
        }
    }
    if (text.size() > kMaxDescription) {
        std::size_t cut = kMaxDescription;
        // Never in the middle of a UTF-8 sequence.
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        text.erase(cut);
        text += "…";
    }
    return text;
}

/// Accepts exactly one object whose member values are strings; gives up at the first token
/// that does not fit, so no document is built and nesting depth costs nothing.
class RulesReader {
public:
    using number_integer_t = Json::number_integer_t;
    using number_unsigned_t = Json::number_unsigned_t;
    using number_float_t = Json::number_float_t;
    using string_t = Json::string_t;
    using binary_t = Json::binary_t;

    RulesMap rules;
    std::string error;

    bool null() { return unexpected("null"); }
    bool boolean(bool) { return unexpected("a boolean"); }
    bool number_integer(number_integer_t) { return unexpected("a number"); }
    bool number_unsigned(number_unsigned_t) { return unexpected("a number"); }
    bool number_float(number_float_t, const string_t&) { return unexpected("a number"); }
    bool binary(binary_t&) { return unexpected("binary data"); }
    bool string(string_t& value) {
        if (!inObject_) {
            return unexpected("a string");
        }
        rules[key_] = std::move(value);
        return true;
    }
    bool start_object(std::size_t) {
        if (inObject_) {
            return unexpected("an object");
        }
        inObject_ = true;
        return true;
    }
    bool key(string_t& name) {
        key_ = std::move(name);
        return true;
    }
    bool end_object() { return true; }
    bool start_array(std::size_t) { return unexpected("an array"); }
    bool end_array() { return true; }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) {
        error = "not valid JSON: " + describe(e);
        return false;
    }

private:
    bool unexpected(const char* what) {
        error = inObject_ ? std::string("a member value is ") + what + ", not a string"
                          : std::string("the top-level value is ") + what + ", not an object";
        return false;
    }

    bool inObject_ = false;
    std::string key_;
};

/// A dictionary value that exists and is text (an empty text counts).
std::optional<std::string> textValue(const InfoDictionary& dictionary, const std::string& key) {
    if (auto it = dictionary.find(key); it != dictionary.end()) {
        if (const auto* text = std::get_if<std::string>(&it->second)) {
            return *text;
        }
    }
    return std::nullopt;
}

/// The last path component without its extension: the bundle's folder name.
std::string folderName(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    if (const auto slash = path.rfind('/'); slash != std::string::npos && path.size() > 1) {
        path.erase(0, slash + 1);
    }
    // A leading dot marks a hidden name, not an extension.
    if (const auto dot = path.rfind('.'); dot != std::string::npos && dot > 0) {
        path.erase(dot);
    }
    return path;
}

}  // namespace

RulesDecoding decodeRules(const Bytes& data) {
    try {
        RulesReader reader;
        if (Json::sax_parse(data.begin(), data.end(), &reader)) {
            return {std::move(reader.rules), {}};
        }
        return {std::nullopt, reader.error.empty() ? "not valid JSON" : reader.error};
    } catch (const std::exception& e) {
        return {std::nullopt, describe(e)};
    } catch (...) {
        return {std::nullopt, "not valid JSON"};
    }
}

RulesEncoding encodeRules(const RulesMap& rules) {
    try {
        Json object = Json::object();
        for (const auto& [bundleID, sourceID] : rules) {
            object[bundleID] = sourceID;
        }
        const std::string text = object.dump(-1, ' ', false, Json::error_handler_t::strict);
        return {Bytes(text.begin(), text.end()), {}};
    } catch (const std::exception& e) {
        return {std::nullopt, describe(e)};
    } catch (...) {
        return {std::nullopt, "the rules could not be encoded"};
    }
}

AppRulesStore::AppRulesStore(UserDefaults& defaults, LogSink& sink)
    : log_(sink, "AppRulesStore"), defaults_(defaults) {
    load();
}

void AppRulesStore::setRule(std::string bundleID, std::string sourceID) {
    RulesMap next = *rules;
    next[bundleID] = sourceID;
    rules.set(std::move(next));
    save();
    log_.info("setRule bundleID=%{public}s sourceID=%{public}s", bundleID, sourceID);
}

void AppRulesStore::removeRule(std::string bundleID) {
    RulesMap next = *rules;
    next.erase(bundleID);
    rules.set(std::move(next));
    save();
    log_.info("removeRule bundleID=%{public}s", bundleID);
}

void AppRulesStore::load() {
    auto data = defaultsData(defaults_.object(defaultsKey));
    if (!data) {
        return;
    }
    auto decoded = decodeRules(*data);
    if (!decoded.rules) {
        log_.error("failed to decode PerAppRules: %{public}s", decoded.error);
        // Whatever the user had there would be lost with the next edit; set it aside then.
        unreadable_ = std::move(*data);
        return;
    }
    rules.set(std::move(*decoded.rules));
}

void AppRulesStore::save() {
    auto encoded = encodeRules(*rules);
    if (!encoded.data) {
        log_.error("failed to encode PerAppRules: %{public}s", encoded.error);
        return;
    }
    if (unreadable_) {
        defaults_.set(unreadableKey, std::move(*unreadable_));
        unreadable_.reset();
        log_.error("kept the undecodable PerAppRules value under %{public}s", unreadableKey);
    }
    defaults_.set(defaultsKey, std::move(*encoded.data));
}

std::optional<AppRow> makeAppRow(Bundles& bundles, Workspace& workspace, const std::string& path) {
    const auto bundle = bundles.openBundle(path);
    if (!bundle || !bundle->bundleIdentifier) {
        return std::nullopt;
    }
    auto displayName = textValue(bundle->localizedInfo, "CFBundleDisplayName");
    if (!displayName) {
        displayName = textValue(bundle->info, "CFBundleDisplayName");
    }
    if (!displayName) {
        displayName = textValue(bundle->info, "CFBundleName");
    }
    Image icon = workspace.iconForFile(path);
    icon.size = kRowIconSize;
    return AppRow{*bundle->bundleIdentifier, displayName.value_or(folderName(path)),
                  std::move(icon)};
}

AppRow resolveAppRow(Bundles& bundles, Workspace& workspace, const std::string& bundleID) {
    if (const auto path = workspace.urlForApplication(bundleID)) {
        if (auto row = makeAppRow(bundles, workspace, *path)) {
            // The system finds bundles whatever the case of the identifier asked for, so the
            // bundle's own may differ from the rule's; the row stays the rule's, or the rule
            // could never be selected, re-assigned or removed.
            row->bundleID = bundleID;
            return std::move(*row);
        }
    }
    Image icon = workspace.genericApplicationIcon();
    icon.size = kRowIconSize;
    return AppRow{bundleID, bundleID, std::move(icon)};
}

}  // namespace lumivoke

std::size_t std::hash<lumivoke::AppRow>::operator()(const lumivoke::AppRow& row) const noexcept {
    std::size_t h = 0;
    auto feed = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2); };
    feed(std::hash<std::string>{}(row.bundleID));
    feed(std::hash<std::string>{}(row.displayName));
    feed(row.icon ? 1 : 0);
    if (row.icon) {
        feed(std::hash<lumivoke::Image>{}(*row.icon));
    }
    return h;
}
