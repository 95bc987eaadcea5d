#include "SimDefaults.h"

#include <cstdio>

namespace lumivoke::sim {

std::string formatDefaultsValue(const DefaultsValue& value) {
    if (const auto* b = std::get_if<bool>(&value)) {
        return *b ? "true" : "false";
    }
    if (const auto* i = std::get_if<std::int64_t>(&value)) {
        return "int " + std::to_string(*i);
    }
    if (const auto* d = std::get_if<double>(&value)) {
        return "real " + formatNumber(*d);
    }
    if (const auto* s = std::get_if<std::string>(&value)) {
        return "string " + quoted(*s);
    }
    // Data prints as its bytes; anything that is not printable ASCII or UTF-8 is escaped.
    std::string out = "data ";
    for (std::uint8_t byte : std::get<Bytes>(value)) {
        if (byte == '\\') {
            out += "\\\\";
        } else if (byte >= 0x20 && byte != 0x7F) {
            out += static_cast<char>(byte);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", byte);
            out += buf;
        }
    }
    return out;
}

void SimDefaults::registerDefaults(const std::vector<std::pair<std::string, DefaultsValue>>& v) {
    std::string detail = "register";
    for (const auto& [key, value] : v) {
        registered_[key] = value;
        detail += " " + key + "=" + formatDefaultsValue(value);
    }
    trace_.add("defaults", detail);
}

std::optional<DefaultsValue> SimDefaults::object(const std::string& key) {
    if (auto it = stored_.find(key); it != stored_.end()) {
        return it->second;
    }
    if (auto it = registered_.find(key); it != registered_.end()) {
        return it->second;
    }
    return std::nullopt;
}

void SimDefaults::set(const std::string& key, DefaultsValue value) {
    trace_.add("defaults", "set " + key + " " + formatDefaultsValue(value));
    stored_[key] = std::move(value);
    if (auto it = observers_.find(key); it != observers_.end()) {
        it->second.post(loop_);
    }
}

Token SimDefaults::observe(const std::string& key, std::function<void()> callback) {
    return observers_[key].add(std::move(callback));
}

}  // namespace lumivoke::sim
