#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/UserDefaults.h"

// The text of the settings file, read strictly and written so that it reads back the same.
// It is an INI file as Qt's QSettings writes one (earlier versions of the program kept it
// with QSettings), restricted to what the program itself writes:
//
//     [General]
//     HoverBadgeEnabled=b:1
//     PerAppRules="x:eyJ4dGVybSI6InhrYjpkZSJ9"
//
// Each value is tagged with its kind: "b:" 0 or 1, "i:" a 64-bit integer, "d:" a number, "s:"
// text, "x:" base64 data. Anything else on a line is not silently dropped, as QSettings would,
// nor carried along: it is a problem the caller reports. Needs no display and no Qt.
namespace lumivoke::desktop {

/// One setting as stored: its key (a group's keys are "Group/Key") and its tagged text.
struct SettingsEntry {
    std::string key;
    std::string value;
    friend bool operator==(const SettingsEntry&, const SettingsEntry&) = default;
};

/// A line that is not a setting, and why (never what it holds: it may be anything).
struct SettingsProblem {
    std::size_t line;
    std::string reason;
    friend bool operator==(const SettingsProblem&, const SettingsProblem&) = default;
};

struct ParsedSettings {
    /// In the order of the file; each key once (a repeated key is a problem).
    std::vector<SettingsEntry> entries;
    std::vector<SettingsProblem> problems;
};

/// Reads the text of a settings file. Blank lines and comment lines (";" or "#") are fine;
/// every other line must be a group header or a setting with a key of letters, digits, ".",
/// "_" and "-", and a tagged value (decodeSetting), plain or quoted, in valid UTF-8.
ParsedSettings parseSettings(std::string_view text);

/// Writes entries (keys as parseSettings gives them) as the text of a settings file: the
/// top-level keys under [General], sorted, then each group's.
std::string formatSettings(const std::vector<SettingsEntry>& entries);

/// The tagged text of a value, and back. A data value whose text is not base64 reads as the
/// bytes of the whole stored text: data that whoever reads it cannot decode, which is what it
/// is. None for text that is no value at all (no tag, a number that is not one, "b:maybe").
std::string encodeSetting(const DefaultsValue& value);
std::optional<DefaultsValue> decodeSetting(std::string_view text);

/// Standard base64 with padding; none for anything else (other characters, bad padding).
std::string base64Encode(const Bytes& bytes);
std::optional<Bytes> base64Decode(std::string_view text);

}  // namespace lumivoke::desktop
