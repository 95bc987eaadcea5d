#include "Trace.h"

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
    const double rounded = std::round(v * 1000.0) / 1000.0;
    char buf[64];
    if (rounded == std::floor(rounded) && std::fabs(rounded) < 1e15) {
        std::snprintf(buf, sizeof buf, "%.0f", rounded == 0 ? 0.0 : rounded);
        return buf;
    }
    std::snprintf(buf, sizeof buf, "%.3f", rounded);
    std::string s = buf;
    while (!s.empty() && s.back() == '0') {
        s.pop_back();
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
