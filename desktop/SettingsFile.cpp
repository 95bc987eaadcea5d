#include "SettingsFile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <map>
#include <set>

namespace lumivoke::desktop {
namespace {

constexpr std::string_view kTopLevel = "General";

std::string_view trimmed(std::string_view text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool isValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t scalar = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if ((c & 0xe0) == 0xc0) {
            length = 2;
            scalar = c & 0x1f;
        } else if ((c & 0xf0) == 0xe0) {
            length = 3;
            scalar = c & 0x0f;
        } else if ((c & 0xf8) == 0xf0) {
            length = 4;
            scalar = c & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xc0) != 0x80) {
                return false;
            }
            scalar = (scalar << 6) | (next & 0x3f);
        }
        const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (scalar < smallest[length] || scalar > 0x10ffff ||
            (scalar >= 0xd800 && scalar <= 0xdfff)) {
            return false;
        }
        i += length;
    }
    return true;
}

bool hasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7f;
    });
}

bool isKeyCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-';
}

bool isKey(std::string_view key) {
    return !key.empty() && std::all_of(key.begin(), key.end(), isKeyCharacter);
}

/// The text of a quoted value (without its quotes), or none when it does not end where it
/// should or holds an escape that is not one.
std::optional<std::string> unquote(std::string_view quoted) {
    if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') {
        return std::nullopt;
    }
    const std::string_view body = quoted.substr(1, quoted.size() - 2);
    std::string text;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (c == '"') {
            return std::nullopt;  // text after the closing quote
        }
        if (c != '\\') {
            text += c;
            continue;
        }
        if (++i == body.size()) {
            return std::nullopt;
        }
        switch (body[i]) {
            case '\\':
            case '"':
                text += body[i];
                break;
            case 'n':
                text += '\n';
                break;
            case 'r':
                text += '\r';
                break;
            case 't':
                text += '\t';
                break;
            case 'x': {
                // Two hex digits, as the writer puts them.
                unsigned value = 0;
                const char* from = body.data() + i + 1;
                if (i + 3 > body.size() ||
                    std::from_chars(from, from + 2, value, 16).ptr != from + 2) {
                    return std::nullopt;
                }
                text += static_cast<char>(value);
                i += 2;
                break;
            }
            default:
                return std::nullopt;
        }
    }
    return text;
}

/// Whether a value must be quoted to read back as itself, here and in QSettings.
bool needsQuotes(std::string_view value) {
    if (value.empty()) {
        return false;
    }
    if (value.front() == ' ' || value.back() == ' ' || value.front() == '\t' ||
        value.back() == '\t') {
        return true;
    }
    return std::any_of(value.begin(), value.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return c == '"' || c == '\\' || c == ';' || c == ',' || c == '=' || u < 0x20 || u == 0x7f;
    });
}

std::string quote(std::string_view value) {
    std::string text = "\"";
    for (const char c : value) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            text += '\\';
            text += c;
        } else if (c == '\n') {
            text += "\\n";
        } else if (c == '\r') {
            text += "\\r";
        } else if (c == '\t') {
            text += "\\t";
        } else if (u < 0x20 || u == 0x7f) {
            static constexpr char kHex[] = "0123456789abcdef";
            text += "\\x";
            text += kHex[u >> 4];
            text += kHex[u & 15];
        } else {
            text += c;
        }
    }
    return text + "\"";
}

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int base64Digit(char c) {
    if (c >= 'A' && c <= 'Z') {
        return c - 'A';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 26;
    }
    if (c >= '0' && c <= '9') {
        return c - '0' + 52;
    }
    if (c == '+') {
        return 62;
    }
    if (c == '/') {
        return 63;
    }
    return -1;
}

}  // namespace

ParsedSettings parseSettings(std::string_view text) {
    ParsedSettings parsed;
    std::set<std::string> seen;
    std::string group;
    std::size_t number = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const auto problem = [&](std::string reason) {
            parsed.problems.push_back({number, std::move(reason)});
        };
        if (!isValidUtf8(line) || hasControlCharacter(trimmed(line))) {
            problem("not text");
            continue;
        }
        line = trimmed(line);
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            const std::string_view name = line.substr(1, line.size() - 1);
            if (line.size() < 3 || line.back() != ']' || !isKey(name.substr(0, name.size() - 1))) {
                problem("not a group header");
                continue;
            }
            group = std::string(name.substr(0, name.size() - 1));
            if (group == kTopLevel) {
                group.clear();
            }
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            problem("no \"=\"");
            continue;
        }
        const std::string_view key = trimmed(line.substr(0, equals));
        if (key.empty()) {
            problem("no key");
            continue;
        }
        if (!isKey(key)) {
            problem("a key with other characters than letters, digits, \".\", \"_\" and \"-\"");
            continue;
        }
        const std::string_view raw = trimmed(line.substr(equals + 1));
        std::string value;
        if (!raw.empty() && raw.front() == '"') {
            auto text = unquote(raw);
            if (!text) {
                problem("a quoted value that does not end with its quote, or a bad escape");
                continue;
            }
            value = std::move(*text);
        } else if (needsQuotes(raw)) {
            problem("a value with \", \\, \";\", \",\" or \"=\" outside quotes");
            continue;
        } else {
            value = std::string(raw);
        }
        if (!decodeSetting(value)) {
            problem("not a value of the kinds b:, i:, d:, s: or x:");
            continue;
        }
        std::string fullKey = group.empty() ? std::string(key) : group + "/" + std::string(key);
        if (!seen.insert(fullKey).second) {
            problem("a key given again");
            continue;
        }
        parsed.entries.push_back({std::move(fullKey), std::move(value)});
    }
    return parsed;
}

std::string formatSettings(const std::vector<SettingsEntry>& entries) {
    std::map<std::string, std::map<std::string, std::string>> groups;
    for (const auto& entry : entries) {
        const auto slash = entry.key.find('/');
        const std::string group =
            slash == std::string::npos ? std::string(kTopLevel) : entry.key.substr(0, slash);
        const std::string key =
            slash == std::string::npos ? entry.key : entry.key.substr(slash + 1);
        groups[group][key] = entry.value;
    }
    std::string text;
    const auto write = [&](const std::string& name,
                           const std::map<std::string, std::string>& keys) {
        if (!text.empty()) {
            text += '\n';
        }
        text += "[" + name + "]\n";
        for (const auto& [key, value] : keys) {
            text += key + "=" + (needsQuotes(value) ? quote(value) : value) + "\n";
        }
    };
    if (auto it = groups.find(std::string(kTopLevel)); it != groups.end()) {
        write(it->first, it->second);
    }
    for (const auto& [name, keys] : groups) {
        if (name != kTopLevel) {
            write(name, keys);
        }
    }
    return text;
}

std::string encodeSetting(const DefaultsValue& value) {
    if (const auto* b = std::get_if<bool>(&value)) {
        return *b ? "b:1" : "b:0";
    }
    if (const auto* i = std::get_if<std::int64_t>(&value)) {
        return "i:" + std::to_string(*i);
    }
    if (const auto* d = std::get_if<double>(&value)) {
        std::array<char, 64> buffer{};
        const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), *d);
        return "d:" + std::string(buffer.data(), result.ptr);
    }
    if (const auto* s = std::get_if<std::string>(&value)) {
        return "s:" + *s;
    }
    return "x:" + base64Encode(std::get<Bytes>(value));
}

std::optional<DefaultsValue> decodeSetting(std::string_view text) {
    if (text.size() < 2 || text[1] != ':') {
        return std::nullopt;
    }
    const std::string_view payload = text.substr(2);
    const char* first = payload.data();
    const char* last = payload.data() + payload.size();
    switch (text[0]) {
        case 'b':
            if (payload == "1" || payload == "0") {
                return DefaultsValue(payload == "1");
            }
            return std::nullopt;
        case 'i': {
            std::int64_t i = 0;
            const auto result = std::from_chars(first, last, i);
            if (payload.empty() || result.ec != std::errc() || result.ptr != last) {
                return std::nullopt;
            }
            return DefaultsValue(i);
        }
        case 'd': {
            double d = 0;
            const auto result = std::from_chars(first, last, d);
            if (payload.empty() || result.ec != std::errc() || result.ptr != last ||
                !std::isfinite(d)) {
                return std::nullopt;
            }
            return DefaultsValue(d);
        }
        case 's':
            return DefaultsValue(std::string(payload));
        case 'x':
            if (auto bytes = base64Decode(payload)) {
                return DefaultsValue(std::move(*bytes));
            }
            return DefaultsValue(Bytes(text.begin(), text.end()));
        default:
            return std::nullopt;
    }
}

std::string base64Encode(const Bytes& bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t left = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t n = static_cast<std::uint32_t>(bytes[i]) << 16;
        if (left > 1) {
            n |= static_cast<std::uint32_t>(bytes[i + 1]) << 8;
        }
        if (left > 2) {
            n |= bytes[i + 2];
        }
        text += kBase64[(n >> 18) & 63];
        text += kBase64[(n >> 12) & 63];
        text += left > 1 ? kBase64[(n >> 6) & 63] : '=';
        text += left > 2 ? kBase64[n & 63] : '=';
    }
    return text;
}

std::optional<Bytes> base64Decode(std::string_view text) {
    if (text.size() % 4 != 0) {
        return std::nullopt;
    }
    Bytes bytes;
    bytes.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        const std::size_t padding =
            last ? (text[i + 3] == '=' ? (text[i + 2] == '=' ? 2 : 1) : 0) : 0;
        std::uint32_t n = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            if (k >= 4 - padding) {
                n <<= 6;
                continue;
            }
            const int digit = base64Digit(text[i + k]);
            if (digit < 0) {
                return std::nullopt;
            }
            n = (n << 6) | static_cast<std::uint32_t>(digit);
        }
        bytes.push_back(static_cast<std::uint8_t>(n >> 16));
        if (padding < 2) {
            bytes.push_back(static_cast<std::uint8_t>(n >> 8));
        }
        if (padding < 1) {
            bytes.push_back(static_cast<std::uint8_t>(n));
        }
    }
    return bytes;
}

}  // namespace lumivoke::desktop
