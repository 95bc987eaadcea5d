#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace lumivoke {

enum class LogLevel { debug, info, error };

std::string_view levelName(LogLevel level);

/// One log line: the fixed format string as written in the code, and the text it rendered.
struct LogRecord {
    LogLevel level;
    std::string category;
    std::string format;
    std::string text;
};

/// Where log records go.
class LogSink {
public:
    virtual ~LogSink() = default;
    /// Receives one record.
    virtual void write(const LogRecord& record) = 0;
};

/// Keeps every record, for tests.
class MemoryLogSink final : public LogSink {
public:
    void write(const LogRecord& record) override { records.push_back(record); }
    /// How many records have exactly this rendered text.
    std::size_t count(std::string_view text) const;
    /// Whether some record's rendered text contains part.
    bool contains(std::string_view part) const;
    std::vector<LogRecord> records;
};

/// Writes "LEVEL Category: text" lines to standard error.
class StderrLogSink final : public LogSink {
public:
    void write(const LogRecord& record) override;
};

/// One argument of a log message.
using LogArg = std::variant<std::int64_t, std::uint64_t, double, bool, std::string>;

/// Text made safe for one log record: a backslash doubled; newline, return and tab as \n, \r
/// and \t; other C0 controls, DEL and bytes that are not UTF-8 as \xNN; C1 controls, the line
/// and paragraph separators and the bidirectional controls as \uNNNN. Everything else is kept.
std::string escapeLogText(std::string_view text);

/// Renders a format string with the system's privacy-annotated placeholders ("%{public}s",
/// "%{public}ld", "%{bool,public}d", …): "%{bool,…}d" renders true or false, the others as
/// printf would, each escaped with escapeLogText, so no argument can break a record into lines
/// or reach a terminal as a control. A placeholder without an argument renders as "<missing>";
/// rendering never reads past args, whatever the format holds.
std::string renderLogFormat(std::string_view format, std::span<const LogArg> args);

/// A logger of subsystem "com.velmorandix.Lumivoke" with one category.
class Logger {
public:
    static constexpr std::string_view subsystem = "com.velmorandix.Lumivoke";

    Logger(LogSink& sink, std::string category) : sink_(&sink), category_(std::move(category)) {}

    const std::string& category() const { return category_; }

    template <class... A>
    void debug(std::string_view format, const A&... args) const {
        log(LogLevel::debug, format, args...);
    }
    template <class... A>
    void info(std::string_view format, const A&... args) const {
        log(LogLevel::info, format, args...);
    }
    template <class... A>
    void error(std::string_view format, const A&... args) const {
        log(LogLevel::error, format, args...);
    }

private:
    template <class A>
    static LogArg toArg(const A& a) {
        if constexpr (std::is_same_v<A, bool>) {
            return a;
        } else if constexpr (std::is_integral_v<A> && std::is_signed_v<A>) {
            return static_cast<std::int64_t>(a);
        } else if constexpr (std::is_integral_v<A>) {
            return static_cast<std::uint64_t>(a);
        } else if constexpr (std::is_floating_point_v<A>) {
            return static_cast<double>(a);
        } else {
            return std::string(a);
        }
    }

    template <class... A>
    void log(LogLevel level, std::string_view format, const A&... args) const {
        const std::vector<LogArg> list{toArg(args)...};
        sink_->write(
            LogRecord{level, category_, std::string(format), renderLogFormat(format, list)});
    }

    LogSink* sink_;
    std::string category_;
};

}  // namespace lumivoke
