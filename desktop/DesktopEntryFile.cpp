#include "DesktopEntryFile.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace lumivoke::desktop {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isControl(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7f;
}

std::string_view trimmedRight(std::string_view s) {
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

std::string_view trimmedLeft(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    return s;
}

bool isGroupName(std::string_view name) {
    return !name.empty() && std::none_of(name.begin(), name.end(), [](char c) {
        return c == '[' || c == ']' || isControl(c);
    });
}

// Keys are letters, digits and '-' by the format; the desktop libraries read more than that
// (and files in the wild use it), so only what would make the line mean something else is
// refused.
bool isKeyName(std::string_view key) {
    return !key.empty() && key.front() != '#' && !isBlank(key.front()) && !isBlank(key.back()) &&
           std::none_of(key.begin(), key.end(),
                        [](char c) { return c == '=' || c == '[' || c == ']' || isControl(c); });
}

bool isLocaleSuffix(std::string_view locale) {
    return !locale.empty() && std::none_of(locale.begin(), locale.end(), [](char c) {
        return c == '=' || c == '[' || c == ']' || isBlank(c) || isControl(c);
    });
}

/// The character an escape stands for, or none for a backslash that is kept as written.
std::optional<char> escaped(char c, bool inList) {
    switch (c) {
        case 's':
            return ' ';
        case 'n':
            return '\n';
        case 't':
            return '\t';
        case 'r':
            return '\r';
        case '\\':
            return '\\';
        case ';':
            if (inList) {
                return ';';
            }
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

/// The length of the well-formed UTF-8 sequence at the start of s, or 0.
std::size_t sequenceLength(std::string_view s) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char b0 = byte(0);
    if (b0 < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xbf;
    if (b0 >= 0xc2 && b0 <= 0xdf) {
        length = 2;
    } else if (b0 >= 0xe0 && b0 <= 0xef) {
        length = 3;
        if (b0 == 0xe0) {
            low = 0xa0;  // no overlong forms
        } else if (b0 == 0xed) {
            high = 0x9f;  // no surrogates
        }
    } else if (b0 >= 0xf0 && b0 <= 0xf4) {
        length = 4;
        if (b0 == 0xf0) {
            low = 0x90;
        } else if (b0 == 0xf4) {
            high = 0x8f;  // nothing past U+10FFFF
        }
    } else {
        return 0;
    }
    if (s.size() < length || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xbf) {
            return 0;
        }
    }
    return length;
}

}  // namespace

std::optional<EntryLocale> EntryLocale::parse(std::string_view text) {
    EntryLocale locale;
    if (const auto at = text.find('@'); at != std::string_view::npos) {
        locale.modifier = std::string(text.substr(at + 1));
        text = text.substr(0, at);
    }
    if (const auto dot = text.find('.'); dot != std::string_view::npos) {
        text = text.substr(0, dot);
    }
    if (const auto underscore = text.find('_'); underscore != std::string_view::npos) {
        locale.country = std::string(text.substr(underscore + 1));
        text = text.substr(0, underscore);
    }
    if (text.empty() || text == "C" || text == "POSIX") {
        return std::nullopt;
    }
    locale.lang = std::string(text);
    return locale;
}

std::optional<EntryLocale> EntryLocale::fromVariables(std::optional<std::string_view> lcAll,
                                                      std::optional<std::string_view> lcMessages,
                                                      std::optional<std::string_view> lang) {
    for (const auto& variable : {lcAll, lcMessages, lang}) {
        if (variable && !variable->empty()) {
            return parse(*variable);
        }
    }
    return std::nullopt;
}

std::vector<std::string> EntryLocale::lookupOrder() const {
    std::vector<std::string> order;
    const std::string withCountry = lang + "_" + country;
    if (!country.empty() && !modifier.empty()) {
        order.push_back(withCountry + "@" + modifier);
    }
    if (!country.empty()) {
        order.push_back(withCountry);
    }
    if (!modifier.empty()) {
        order.push_back(lang + "@" + modifier);
    }
    order.push_back(lang);
    return order;
}

std::string normalizedLocaleSuffix(std::string_view suffix) {
    const auto dot = suffix.find('.');
    if (dot == std::string_view::npos) {
        return std::string(suffix);
    }
    std::string out(suffix.substr(0, dot));
    if (const auto at = suffix.find('@', dot); at != std::string_view::npos) {
        out += suffix.substr(at);
    }
    return out;
}

namespace {

std::string unescape(std::string_view raw, bool inList, std::vector<std::string>* items) {
    std::string current;
    bool endedWithSeparator = false;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        endedWithSeparator = false;
        if (c == '\\' && i + 1 < raw.size()) {
            if (const auto e = escaped(raw[i + 1], inList)) {
                current += *e;
                ++i;
                continue;
            }
        } else if (c == ';' && items != nullptr) {
            items->push_back(std::move(current));
            current.clear();
            endedWithSeparator = true;
            continue;
        }
        current += c;
    }
    if (items != nullptr && !raw.empty() && !endedWithSeparator) {
        items->push_back(std::move(current));
        current.clear();
    }
    return current;
}

}  // namespace

std::string unescapeValue(std::string_view raw) {
    return unescape(raw, false, nullptr);
}

std::string escapeValue(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case ' ':
                out += i == 0 ? "\\s" : " ";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::vector<std::string> splitList(std::string_view raw) {
    std::vector<std::string> items;
    unescape(raw, true, &items);
    return items;
}

std::string joinList(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& item : items) {
        for (const char c : escapeValue(item)) {
            if (c == ';') {
                out += '\\';
            }
            out += c;
        }
        out += ';';
    }
    return out;
}

std::optional<bool> parseBoolean(std::string_view raw) {
    raw = trimmedRight(raw);
    if (raw == "true" || raw == "1") {
        return true;
    }
    if (raw == "false" || raw == "0") {
        return false;
    }
    return std::nullopt;
}

bool isValidUtf8(std::string_view text) {
    while (!text.empty()) {
        const std::size_t length = sequenceLength(text);
        if (length == 0) {
            return false;
        }
        text.remove_prefix(length);
    }
    return true;
}

std::string repairedUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const std::size_t length = sequenceLength(text);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            text.remove_prefix(1);
        } else {
            out += text.substr(0, length);
            text.remove_prefix(length);
        }
    }
    return out;
}

DesktopEntryFile DesktopEntryFile::parse(std::string_view text) {
    DesktopEntryFile file;
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    // Where the keys of the lines below go: a group, none before the first header, or
    // nowhere after a header that could not be read. (An index rather than an optional: GCC
    // warns falsely about a maybe-uninitialized optional index here.)
    constexpr std::size_t kNoGroup = static_cast<std::size_t>(-1);
    std::size_t current = kNoGroup;
    bool afterBadHeader = false;
    std::size_t number = 0;
    while (!text.empty()) {
        ++number;
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        while (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        line = trimmedLeft(line);
        const auto problem = [&](std::string reason) {
            file.problems_.push_back(Problem{number, std::move(reason)});
        };
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            const auto close = line.find(']');
            const bool closed = close != std::string_view::npos;
            const std::string_view name = closed ? line.substr(1, close - 1) : std::string_view{};
            if (!closed) {
                problem("a group header without \"]\"");
            } else if (!trimmedLeft(line.substr(close + 1)).empty()) {
                problem("text after a group header");
            } else if (!isGroupName(name)) {
                problem("a group name that is empty or holds control characters or brackets");
            } else {
                current = kNoGroup;
                afterBadHeader = false;
                for (std::size_t i = 0; i < file.groups_.size(); ++i) {
                    if (file.groups_[i].name == name) {
                        current = i;
                        problem("a group given again");
                    }
                }
                if (current == kNoGroup) {
                    file.groups_.push_back(Group{std::string(name), {}});
                    current = file.groups_.size() - 1;
                }
                continue;
            }
            current = kNoGroup;
            afterBadHeader = true;
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            problem("neither a group header, a key nor a comment");
            continue;
        }
        std::string_view key = trimmedRight(line.substr(0, equals));
        std::string_view locale;
        if (const auto open = key.find('['); open != std::string_view::npos) {
            if (key.back() != ']' || open + 1 >= key.size() - 1) {
                problem("a key whose translation is not in brackets");
                continue;
            }
            locale = key.substr(open + 1, key.size() - open - 2);
            key = key.substr(0, open);
            if (!isLocaleSuffix(locale)) {
                problem("a translation that is not a locale");
                continue;
            }
        }
        if (!isKeyName(key)) {
            problem("no key before \"=\", or one with control characters or brackets");
            continue;
        }
        if (current == kNoGroup) {
            problem(afterBadHeader ? "a key in a group whose header could not be read"
                                   : "a key before the first group");
            continue;
        }
        if (store(file.groups_[current],
                  Entry{std::string(key), std::string(locale),
                        std::string(trimmedLeft(line.substr(equals + 1)))})) {
            problem("a key given again; the later value counts");
        }
    }
    return file;
}

bool DesktopEntryFile::store(Group& group, Entry entry) {
    for (auto& e : group.entries) {
        if (e.key == entry.key && e.locale == entry.locale) {
            e.value = std::move(entry.value);
            return true;
        }
    }
    group.entries.push_back(std::move(entry));
    return false;
}

std::string DesktopEntryFile::serialize() const {
    std::string out;
    for (const auto& group : groups_) {
        if (!out.empty()) {
            out += '\n';
        }
        out += '[';
        out += group.name;
        out += "]\n";
        for (const auto& entry : group.entries) {
            out += entry.key;
            if (!entry.locale.empty()) {
                out += '[';
                out += entry.locale;
                out += ']';
            }
            out += '=';
            out += entry.value;
            out += '\n';
        }
    }
    return out;
}

const DesktopEntryFile::Group* DesktopEntryFile::group(std::string_view name) const {
    for (const auto& g : groups_) {
        if (g.name == name) {
            return &g;
        }
    }
    return nullptr;
}

DesktopEntryFile::Group* DesktopEntryFile::mutableGroup(std::string_view name) {
    return const_cast<Group*>(std::as_const(*this).group(name));
}

std::optional<std::string_view> DesktopEntryFile::raw(std::string_view group, std::string_view key,
                                                      std::string_view locale) const {
    if (const Group* g = this->group(group)) {
        for (const auto& e : g->entries) {
            if (e.key == key && e.locale == locale) {
                return std::string_view(e.value);
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> DesktopEntryFile::string(std::string_view group,
                                                    std::string_view key) const {
    if (const auto value = raw(group, key)) {
        return unescapeValue(*value);
    }
    return std::nullopt;
}

namespace {

/// The translated value of key that counts for locale, as written, or none.
std::optional<std::string_view> translation(const DesktopEntryFile::Group& group,
                                            std::string_view key,
                                            const std::optional<EntryLocale>& locale) {
    if (!locale) {
        return std::nullopt;
    }
    for (const auto& wanted : locale->lookupOrder()) {
        for (const auto& e : group.entries) {
            if (e.key == key && !e.locale.empty() && normalizedLocaleSuffix(e.locale) == wanted &&
                !e.value.empty() && isValidUtf8(e.value)) {
                return std::string_view(e.value);
            }
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> DesktopEntryFile::localeString(
    std::string_view group, std::string_view key, const std::optional<EntryLocale>& locale) const {
    const Group* g = this->group(group);
    if (g == nullptr) {
        return std::nullopt;
    }
    if (const auto value = translation(*g, key, locale)) {
        return unescapeValue(*value);
    }
    if (const auto value = raw(group, key)) {
        return repairedUtf8(unescapeValue(*value));
    }
    return std::nullopt;
}

std::optional<std::vector<std::string>> DesktopEntryFile::list(std::string_view group,
                                                               std::string_view key) const {
    if (const auto value = raw(group, key)) {
        return splitList(*value);
    }
    return std::nullopt;
}

std::optional<std::vector<std::string>> DesktopEntryFile::localeList(
    std::string_view group, std::string_view key, const std::optional<EntryLocale>& locale) const {
    const Group* g = this->group(group);
    if (g == nullptr) {
        return std::nullopt;
    }
    if (const auto value = translation(*g, key, locale)) {
        return splitList(*value);
    }
    if (const auto value = raw(group, key)) {
        auto items = splitList(*value);
        for (auto& item : items) {
            item = repairedUtf8(item);
        }
        return items;
    }
    return std::nullopt;
}

std::optional<bool> DesktopEntryFile::boolean(std::string_view group, std::string_view key) const {
    if (const auto value = raw(group, key)) {
        return parseBoolean(*value);
    }
    return std::nullopt;
}

bool DesktopEntryFile::set(std::string_view group, std::string_view key, std::string_view value,
                           std::string_view locale) {
    if (!isGroupName(group) || !isKeyName(key) || (!locale.empty() && !isLocaleSuffix(locale))) {
        return false;
    }
    Group* g = mutableGroup(group);
    if (g == nullptr) {
        groups_.push_back(Group{std::string(group), {}});
        g = &groups_.back();
    }
    store(*g, Entry{std::string(key), std::string(locale), escapeValue(value)});
    return true;
}

bool DesktopEntryFile::setList(std::string_view group, std::string_view key,
                               const std::vector<std::string>& items) {
    if (!set(group, key, {})) {
        return false;
    }
    Group* g = mutableGroup(group);
    store(*g, Entry{std::string(key), {}, joinList(items)});
    return true;
}

bool DesktopEntryFile::setBoolean(std::string_view group, std::string_view key, bool value) {
    return set(group, key, value ? "true" : "false");
}

}  // namespace lumivoke::desktop
