#include "base/Logger.h"

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

}  // namespace

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
        out += printfOne(flags, conv, arg);
    }
    return out;
}

}  // namespace lumivoke
