#include "base/Logger.h"

#include "base/Unicode.h"

#include <cstdio>
#include <iostream>

namespace lumivoke {

std::string_view levelName(LogLevel level) {
    switch (level) {
        case LogLevel::debug:
            return "debug";
        case LogLevel::info:
            return "info";
        case LogLevel::error:
            return "error";
    }
    return "info";
}

std::size_t MemoryLogSink::count(std::string_view text) const {
    std::size_t n = 0;
    for (const auto& r : records) {
        n += r.text == text ? 1 : 0;
    }
    return n;
}

bool MemoryLogSink::contains(std::string_view part) const {
    for (const auto& r : records) {
        if (r.text.find(part) != std::string::npos) {
            return true;
        }
    }
    return false;
}

void StderrLogSink::write(const LogRecord& record) {
    std::cerr << levelName(record.level) << ' ' << record.category << ": " << record.text << '\n';
}

namespace {

constexpr std::string_view kMissing = "<missing>";

bool isConversion(char c) {
    return std::string_view("diouxXeEfFgGaAcsp").find(c) != std::string_view::npos;
}

bool isLengthOrFlag(char c) {
    return std::string_view("hljztL-+ #0123456789.").find(c) != std::string_view::npos;
}

std::int64_t asSigned(const LogArg& a) {
    return std::visit(
        [](const auto& v) -> std::int64_t {
            using V = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<V, std::string>) {
                return 0;
            } else {
                return static_cast<std::int64_t>(v);
            }
        },
        a);
}

std::string printfOne(const std::string& flags, char conv, const LogArg& arg) {
    // flags holds flags, width and precision only; the length modifier comes from the argument.
    char buf[128];
    if (std::holds_alternative<std::string>(arg)) {
        return std::get<std::string>(arg);
    }
    switch (conv) {
        case 'd':
        case 'i': {
            const std::string f = "%" + flags + "lld";
            std::snprintf(buf, sizeof buf, f.c_str(), static_cast<long long>(asSigned(arg)));
            return buf;
        }
        case 'o':
        case 'u':
        case 'x':
        case 'X': {
            // Like printf, an unsigned conversion shows the value at the width of its type.
            unsigned long long v = std::holds_alternative<std::uint64_t>(arg)
                                       ? std::get<std::uint64_t>(arg)
                                       : static_cast<unsigned long long>(asSigned(arg));
            const std::string f = "%" + flags + "ll" + conv;
            std::snprintf(buf, sizeof buf, f.c_str(), v);
            return buf;
        }
        case 'c': {
            const std::string f = "%" + flags + "c";
            std::snprintf(buf, sizeof buf, f.c_str(), static_cast<int>(asSigned(arg)));
            return buf;
        }
        case 's':
        case 'p':
            return std::holds_alternative<bool>(arg) ? (std::get<bool>(arg) ? "true" : "false")
                                                     : std::to_string(asSigned(arg));
        default: {
            const double v = std::holds_alternative<double>(arg)
                                 ? std::get<double>(arg)
                                 : static_cast<double>(asSigned(arg));
            const std::string f = "%" + flags + conv;
            std::snprintf(buf, sizeof buf, f.c_str(), v);
            return buf;
        }
    }
}

void appendHex(std::string& out, const char* prefix, unsigned value, int digits) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += prefix;
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
        out += kHex[(value >> shift) & 0xF];
    }
}

/// Code points that could break a record into lines, drive the terminal, or make its text read
/// differently from what it holds: C1 controls, line and paragraph separators, and the
/// bidirectional embeddings, overrides and isolates.
bool isInvisibleControl(char32_t cp) {
    return (cp >= 0x80 && cp <= 0x9F) || cp == 0x2028 || cp == 0x2029 ||
           (cp >= 0x202A && cp <= 0x202E) || (cp >= 0x2066 && cp <= 0x2069);
}

}  // namespace

std::string escapeLogText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\\') {
            out += "\\\\";
            ++i;
        } else if (byte == '\n') {
            out += "\\n";
            ++i;
        } else if (byte == '\r') {
            out += "\\r";
            ++i;
        } else if (byte == '\t') {
            out += "\\t";
            ++i;
        } else if (byte < 0x20 || byte == 0x7F) {
            appendHex(out, "\\x", byte, 2);
            ++i;
        } else if (byte < 0x80) {
            out += static_cast<char>(byte);
            ++i;
        } else {
            const auto scalar = firstScalar(text.substr(i, 4));
            if (!scalar) {
                // Not UTF-8: a terminal could take a lone byte for a control.
                appendHex(out, "\\x", byte, 2);
                ++i;
                continue;
            }
            const std::size_t length = utf8Encode(*scalar).size();
            if (isInvisibleControl(*scalar)) {
                appendHex(out, "\\u", static_cast<unsigned>(*scalar), 4);
            } else {
                out.append(text.substr(i, length));
            }
            i += length;
        }
    }
    return out;
}

std::string renderLogFormat(std::string_view format, std::span<const LogArg> args) {
    std::string out;
    std::size_t next = 0;
    std::size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        std::size_t j = i + 1;
        std::string_view annotation;
        if (j < format.size() && format[j] == '{') {
            const std::size_t close = format.find('}', j);
            if (close == std::string_view::npos) {
                out.append(format.substr(i));
                break;
            }
            annotation = format.substr(j + 1, close - j - 1);
            j = close + 1;
        }
        std::string flags;
        while (j < format.size() && isLengthOrFlag(format[j])) {
            if (std::string_view("hljztL").find(format[j]) == std::string_view::npos) {
                flags += format[j];
            }
            ++j;
        }
        if (j >= format.size() || !isConversion(format[j])) {
            // Not a placeholder after all: keep the text as written.
            out.append(format.substr(i, j - i));
            i = j;
            continue;
        }
        const char conv = format[j];
        i = j + 1;
        if (next >= args.size()) {
            out += kMissing;
            continue;
        }
        const LogArg& arg = args[next++];
        if (annotation.substr(0, 4) == "bool") {
            const bool truth =
                std::holds_alternative<std::string>(arg)
                    ? !std::get<std::string>(arg).empty()
                    : (std::holds_alternative<double>(arg) ? std::get<double>(arg) != 0.0
                                                           : asSigned(arg) != 0);
            out += truth ? "true" : "false";
            continue;
        }
        // The arguments come from stored and system-provided text; escaped, none can forge a
        // record.
        out += escapeLogText(printfOne(flags, conv, arg));
    }
    return out;
}

}  // namespace lumivoke
