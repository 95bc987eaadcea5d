#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/MainLoop.h"

namespace lumivoke::sim {

/// A fault in a scenario, reported as "FILE:LINE: message".
class ScenarioError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Splits a scenario line into words: spaces separate them; "…" keeps spaces and takes \" and
/// \\ as escapes; '…' is taken literally; # starts a comment outside quotes.
struct Word {
    std::string text;
    bool quoted = false;  ///< the word began with a quote, so it is never a KEY=VALUE option
};
std::vector<Word> splitWords(const std::string& line);

/// The words of one command after its name: positional words and KEY=VALUE options.
class Args {
public:
    explicit Args(std::vector<Word> words);

    std::size_t count() const { return positional_.size(); }
    /// The positional word at i; an error when missing.
    const std::string& at(std::size_t i, const char* what) const;
    /// The positional word at i, if present.
    std::optional<std::string> optionalAt(std::size_t i) const;
    /// The value of an option, if given.
    std::optional<std::string> option(const std::string& key) const;
    bool hasOption(const std::string& key) const { return options_.contains(key); }
    /// Fails unless every option is one of allowed and at most maxPositional words are given.
    void expectOnly(std::size_t maxPositional, const std::vector<std::string>& allowed) const;
    const std::vector<std::string>& positional() const { return positional_; }
    const std::map<std::string, std::string>& options() const { return options_; }

private:
    std::vector<std::string> positional_;
    std::map<std::string, std::string> options_;
};

/// The longest stretch of virtual time one command may cover: a day (86400s), which runs in
/// well under a second; a longer wait takes several commands.
inline constexpr Duration kMaxDuration = std::chrono::hours(24);
/// The most virtual time a whole scenario may cover, repeats counted: 31 days, which still runs
/// in seconds.
inline constexpr Duration kMaxScenarioTime = std::chrono::hours(24 * 31);
/// Bounds of "repeat N" … "end", checked before anything runs: N passes at most, blocks nested
/// this deep at most, and this many commands run in all, each pass of a line counted.
inline constexpr long long kMaxRepeatCount = 1'000'000;
inline constexpr std::size_t kMaxRepeatDepth = 8;
inline constexpr std::uint64_t kMaxScenarioCommands = 10'000'000;
/// The largest coordinate or size a command takes, in points.
inline constexpr double kMaxCoordinate = 1'000'000;

/// Parses "150ms", "1s", "0.25s" or "500us", from zero to kMaxDuration.
Duration parseDuration(const std::string& text);
/// Parses a coordinate, within ±kMaxCoordinate.
double parseCoordinate(const std::string& text, const char* what);
/// Parses a width or height, from 0 to kMaxCoordinate.
double parseExtent(const std::string& text, const char* what);
/// Parses a number; an error naming what when it is not one.
double parseNumber(const std::string& text, const char* what);
/// Parses an integer; an error naming what when it is not one.
long long parseInteger(const std::string& text, const char* what);
/// Parses on/off, yes/no, true/false.
bool parseSwitch(const std::string& text, const char* what);

}  // namespace lumivoke::sim
