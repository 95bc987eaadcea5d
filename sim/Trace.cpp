#include "Trace.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace lumivoke::sim {

void Trace::add(std::string_view subject, std::string_view detail) {
    std::string line = formatSeconds(clock_.now());
    line += ' ';
    line += subject;
    line += ": ";
    line += detail;
    if (echo_ != nullptr) {
        *echo_ << line << '\n';
    }
    lines_.push_back(std::move(line));
}

void TraceLogSink::write(const LogRecord& record) {
    std::string subject(levelName(record.level));
    subject += ' ';
    subject += record.category;
    trace_.add(subject, record.text);
}

std::string formatNumber(double v) {
    // Scaling to thousandths would overflow for the largest values, which are whole anyway.
    const double rounded = std::fabs(v) < 1e15 ? std::round(v * 1000.0) / 1000.0 : v;
    if (rounded == 0) {
        return "0";  // also for -0
    }
    // Fixed notation with three decimals, long enough for the largest double (309 digits).
    std::array<char, 400> buf{};
    const auto [end, ec] =
        std::to_chars(buf.data(), buf.data() + buf.size(), rounded, std::chars_format::fixed, 3);
    if (ec != std::errc()) {
        return "?";
    }
    std::string s(buf.data(), end);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') {
            s.pop_back();
        }
        if (s.back() == '.') {
            s.pop_back();
        }
    }
    return s;
}

std::string formatPoint(Point p) {
    return formatNumber(p.x) + "," + formatNumber(p.y);
}

std::string formatSize(Size s) {
    return formatNumber(s.width) + "x" + formatNumber(s.height);
}

std::string formatSeconds(MonoTime t) {
    const auto us = t.time_since_epoch().count();
    char buf[48];
    std::snprintf(buf, sizeof buf, "%lld.%03lld", static_cast<long long>(us / 1000000),
                  static_cast<long long>((us / 1000) % 1000));
    return buf;
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    out += '"';
    return out;
}

}  // namespace lumivoke::sim
