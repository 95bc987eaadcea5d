#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The freedesktop Desktop Entry format: groups of keys, each key possibly translated
// ("Name[de_DE@euro]="), values with backslash escapes and ';'-separated lists. Standard C++
// only, so that everything that reads desktop entries (the installed applications, the
// autostart entry, the application chooser) and the fuzz build share one reading.
namespace lumivoke::desktop {

/// A locale as desktop entries name them, lang_COUNTRY.ENCODING@MODIFIER, without the
/// encoding (which plays no part in choosing a translation).
struct EntryLocale {
    std::string lang;
    std::string country;   ///< empty when absent
    std::string modifier;  ///< empty when absent

    /// Reads "de_DE.UTF-8@euro"; none for the C and POSIX locales and for text without a
    /// language.
    static std::optional<EntryLocale> parse(std::string_view text);
    /// The messages locale of an environment: the first of LC_ALL, LC_MESSAGES and LANG that is
    /// set and not empty, as the C library chooses it.
    static std::optional<EntryLocale> fromVariables(std::optional<std::string_view> lcAll,
                                                    std::optional<std::string_view> lcMessages,
                                                    std::optional<std::string_view> lang);

    /// The locale suffixes to try, best first: lang_COUNTRY@MODIFIER, lang_COUNTRY,
    /// lang@MODIFIER, lang (each only where the locale has its parts).
    std::vector<std::string> lookupOrder() const;

    friend bool operator==(const EntryLocale&, const EntryLocale&) = default;
};

/// The suffix of a translated key ("de_DE.UTF-8@euro") as lookupOrder() writes it
/// ("de_DE@euro"): the encoding is left out.
std::string normalizedLocaleSuffix(std::string_view suffix);

/// A value with its escapes (\s \n \t \r \\) undone; any other backslash stays as written.
std::string unescapeValue(std::string_view raw);
/// A value written so that unescapeValue() gives it back: backslashes, line breaks and tabs
/// escaped, and a leading space as \s (a reader drops spaces after the '=').
std::string escapeValue(std::string_view value);
/// The items of a list value: separated by ';', a trailing ';' ending the last item rather
/// than starting an empty one, "\;" a semicolon within an item, and the value escapes undone.
std::vector<std::string> splitList(std::string_view raw);
/// A list written so that splitList() gives it back, each item followed by ';'.
std::string joinList(const std::vector<std::string>& items);
/// A boolean value: "true" or "false" (and the older "1" and "0"); none for anything else.
std::optional<bool> parseBoolean(std::string_view raw);

/// Whether text is well-formed UTF-8 (no overlong forms, surrogates or scalars past U+10FFFF).
bool isValidUtf8(std::string_view text);
/// Text with each ill-formed sequence replaced by U+FFFD.
std::string repairedUtf8(std::string_view text);

/// One desktop entry file as read: its groups in order of first appearance, each with its keys
/// in order of first appearance. Values are kept as written (escapes and all), so reading what
/// serialize() wrote gives the same groups and keys back. Reading never fails: a line that is
/// none of a group header, a key, a comment or a blank line is reported as a problem and left
/// out, and so is a key before the first group. A key given twice in a group keeps the later
/// value, and a group given twice is one group, as the common desktop libraries read them.
class DesktopEntryFile {
public:
    static constexpr std::string_view mainGroup = "Desktop Entry";

    struct Entry {
        std::string key;     ///< "Name"
        std::string locale;  ///< the suffix between the brackets, as written; empty if none
        std::string value;   ///< as written after the '=' and the spaces after it
        friend bool operator==(const Entry&, const Entry&) = default;
    };
    struct Group {
        std::string name;
        std::vector<Entry> entries;
        friend bool operator==(const Group&, const Group&) = default;
    };
    struct Problem {
        std::size_t line;    ///< from 1
        std::string reason;  ///< says what is wrong, never quotes the line
        friend bool operator==(const Problem&, const Problem&) = default;
    };

    /// Reads the text of a file: lines end with LF (a CR before it is dropped); a UTF-8
    /// byte-order mark at the start is skipped.
    static DesktopEntryFile parse(std::string_view text);
    /// The text of the groups and keys, one group after another.
    std::string serialize() const;

    const std::vector<Group>& groups() const { return groups_; }
    const std::vector<Problem>& problems() const { return problems_; }
    /// The group of this name, or none.
    const Group* group(std::string_view name) const;

    /// The value of key (untranslated, or for exactly this locale suffix) as written, or none.
    std::optional<std::string_view> raw(std::string_view group, std::string_view key,
                                        std::string_view locale = {}) const;
    /// The untranslated value of key with its escapes undone, or none.
    std::optional<std::string> string(std::string_view group, std::string_view key) const;
    /// The translation of key for locale, chosen in lookupOrder() and then the untranslated
    /// value; none when there is neither. A translation that is empty or not UTF-8 is passed
    /// over for the next; an untranslated value that is not UTF-8 has its bad bytes replaced.
    std::optional<std::string> localeString(std::string_view group, std::string_view key,
                                            const std::optional<EntryLocale>& locale) const;
    /// The untranslated list of key, or none.
    std::optional<std::vector<std::string>> list(std::string_view group,
                                                 std::string_view key) const;
    /// The translated list of key, chosen as localeString() chooses.
    std::optional<std::vector<std::string>> localeList(
        std::string_view group, std::string_view key,
        const std::optional<EntryLocale>& locale) const;
    /// The boolean of key; none when it is absent or not a boolean.
    std::optional<bool> boolean(std::string_view group, std::string_view key) const;

    /// Sets key (with a locale suffix, or untranslated) to value, escaping it; adds the group
    /// at the end when it is new. False, changing nothing, for a group name or key that
    /// parse() would not read back.
    bool set(std::string_view group, std::string_view key, std::string_view value,
             std::string_view locale = {});
    /// Sets key to a list.
    bool setList(std::string_view group, std::string_view key,
                 const std::vector<std::string>& items);
    /// Sets key to "true" or "false".
    bool setBoolean(std::string_view group, std::string_view key, bool value);

private:
    Group* mutableGroup(std::string_view name);
    /// Stores a value as written, replacing an earlier one of the same key and locale; whether
    /// there was one.
    static bool store(Group& group, Entry entry);

    std::vector<Group> groups_;
    std::vector<Problem> problems_;
};

}  // namespace lumivoke::desktop
