#pragma once

#include <memory>
#include <string_view>

namespace lumivoke {

/// Compares texts as the user's locale orders them, ignoring letter case (accents still
/// count), the way lists of names are sorted for people.
class LocalizedCollator {
public:
    LocalizedCollator();
    ~LocalizedCollator();
    LocalizedCollator(const LocalizedCollator&) = delete;
    LocalizedCollator& operator=(const LocalizedCollator&) = delete;

    /// Negative when a sorts before b, zero when they sort together, positive otherwise.
    int compare(std::string_view a, std::string_view b) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace lumivoke
