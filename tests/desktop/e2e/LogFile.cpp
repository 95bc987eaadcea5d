#include "LogFile.h"

#include <sstream>

#include "Process.h"

namespace lumivoke::e2e {

std::vector<std::string> LogFile::lines() const {
    std::vector<std::string> result;
    const auto text = readFile(path_);
    if (!text) {
        return result;
    }
    std::size_t start = 0;
    // A line still being written (no newline yet) is not a line yet.
    for (std::size_t end = text->find('\n'); end != std::string::npos;
         end = text->find('\n', start)) {
        result.push_back(text->substr(start, end - start));
        start = end + 1;
    }
    return result;
}

std::vector<std::string> LogFile::linesWith(const std::string& text, std::size_t from) const {
    const auto all = lines();
    std::vector<std::string> result;
    for (std::size_t i = from; i < all.size(); ++i) {
        if (all[i].find(text) != std::string::npos) {
            result.push_back(all[i]);
        }
    }
    return result;
}

std::string LogFile::waitFor(const std::string& text, std::size_t from,
                             std::chrono::milliseconds timeout) const {
    std::string found;
    eventually(
        [&] {
            const auto matches = linesWith(text, from);
            if (!matches.empty()) {
                found = matches.front();
            }
            return !found.empty();
        },
        timeout);
    return found;
}

std::string LogFile::tail(std::size_t from) const {
    const auto all = lines();
    std::ostringstream out;
    for (std::size_t i = from; i < all.size(); ++i) {
        out << "\n  | " << all[i];
    }
    return out.str();
}

}  // namespace lumivoke::e2e
