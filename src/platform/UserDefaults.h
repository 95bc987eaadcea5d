#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "base/Token.h"

namespace lumivoke {

using Bytes = std::vector<std::uint8_t>;

/// A value in the defaults database.
using DefaultsValue = std::variant<bool, std::int64_t, double, std::string, Bytes>;

/// The application's own defaults domain.
class UserDefaults {
public:
    virtual ~UserDefaults() = default;
    /// Registers fallback values that reads of absent keys yield; all in one call.
    virtual void registerDefaults(const std::vector<std::pair<std::string, DefaultsValue>>& v) = 0;
    /// The stored value of key, else its registered value, else none.
    virtual std::optional<DefaultsValue> object(const std::string& key) = 0;
    /// Stores value under key, replacing what was there.
    virtual void set(const std::string& key, DefaultsValue value) = 0;
    /// Calls back on the main loop after each change of key's stored value.
    virtual Token observe(const std::string& key, std::function<void()> callback) = 0;
};

/// A defaults value read as a boolean: numbers are true when non-zero, and the texts "YES",
/// "true" and non-zero numbers are true; anything else, or no value, is false.
bool defaultsBool(const std::optional<DefaultsValue>& value);

/// A defaults value read as data: only a data value is.
std::optional<Bytes> defaultsData(const std::optional<DefaultsValue>& value);

}  // namespace lumivoke
