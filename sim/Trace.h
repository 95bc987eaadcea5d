#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "base/Geometry.h"
#include "base/Logger.h"
#include "base/MainLoop.h"

namespace lumivoke::sim {

/// Every visible effect of the simulated machine, one line each: "SECONDS SUBJECT: DETAIL",
/// seconds of virtual time with three decimals.
class Trace {
public:
    explicit Trace(const MainLoop& clock) : clock_(clock) {}

    void add(std::string_view subject, std::string_view detail);
    /// Also writes each new line to out (null stops echoing).
    void echoTo(std::ostream* out) { echo_ = out; }

    const std::vector<std::string>& lines() const { return lines_; }

private:
    const MainLoop& clock_;
    std::vector<std::string> lines_;
    std::ostream* echo_ = nullptr;
};

/// A log sink that puts records into the trace as "LEVEL Category: text".
class TraceLogSink final : public LogSink {
public:
    explicit TraceLogSink(Trace& trace) : trace_(trace) {}
    void write(const LogRecord& record) override;

private:
    Trace& trace_;
};

/// A coordinate or size as traces print it: no fraction when whole, else up to three decimals.
std::string formatNumber(double v);
std::string formatPoint(Point p);
std::string formatSize(Size s);  // "WxH"
/// Virtual seconds with three decimals.
std::string formatSeconds(MonoTime t);
/// Text in double quotes with \" and \\ escaped.
std::string quoted(std::string_view text);

}  // namespace lumivoke::sim
