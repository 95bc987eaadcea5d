#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "XClient.h"

namespace lumivoke::e2e {

/// The log lines a program writes to a file, read while it runs. A mark (a line count) lets a
/// test look only at what came after an action.
class LogFile {
public:
    explicit LogFile(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& path() const { return path_; }
    /// Every complete line so far.
    std::vector<std::string> lines() const;
    /// The number of complete lines so far: a mark for the methods below.
    std::size_t mark() const { return lines().size(); }
    /// The lines after mark that contain text.
    std::vector<std::string> linesWith(const std::string& text, std::size_t from = 0) const;
    /// Waits for a line after mark that contains text; the line, or "" when none came in time.
    std::string waitFor(const std::string& text, std::size_t from = 0,
                        std::chrono::milliseconds timeout = kDefaultTimeout) const;
    /// The lines after mark, for failure messages.
    std::string tail(std::size_t from = 0) const;

private:
    std::filesystem::path path_;
};

}  // namespace lumivoke::e2e
