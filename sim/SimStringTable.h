#pragma once

#include <map>
#include <string>

#include "platform/StringTable.h"

namespace lumivoke::sim {

/// The application's texts as a simulated system words them: the application's own words,
/// except where a scenario gave a key another text.
class SimStringTable final : public StringTable {
public:
    std::string text(const std::string& key) const override {
        const auto it = entries_.find(key);
        return it == entries_.end() ? key : it->second;
    }
    void define(const std::string& key, const std::string& text) { entries_[key] = text; }

private:
    std::map<std::string, std::string> entries_;
};

}  // namespace lumivoke::sim
