#include "platform/UserDefaults.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace lumivoke {

bool defaultsBool(const std::optional<DefaultsValue>& value) {
    if (!value) {
        return false;
    }
    if (const auto* b = std::get_if<bool>(&*value)) {
        return *b;
    }
    if (const auto* i = std::get_if<std::int64_t>(&*value)) {
        return *i != 0;
    }
    if (const auto* d = std::get_if<double>(&*value)) {
        return *d != 0.0;
    }
    if (const auto* s = std::get_if<std::string>(&*value)) {
        std::string lower = *s;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (lower == "yes" || lower == "true") {
            return true;
        }
        return std::atoll(s->c_str()) != 0;
    }
    return false;
}

std::optional<Bytes> defaultsData(const std::optional<DefaultsValue>& value) {
    if (value) {
        if (const auto* b = std::get_if<Bytes>(&*value)) {
            return *b;
        }
    }
    return std::nullopt;
}

}  // namespace lumivoke
