#include "settings/AppRuleRow.h"

namespace lumivoke {

std::string AppRuleRow::selectedSourceID() const {
    const auto& rules = *store_->rules;
    const auto it = rules.find(row.bundleID);
    return it == rules.end() ? std::string() : it->second;
}

std::optional<InputSource> AppRuleRow::chosenSource() const {
    const auto id = selectedSourceID();
    for (const auto& source : sources) {
        if (source.id == id) {
            return source;
        }
    }
    return std::nullopt;
}

void AppRuleRow::choose(const std::string& sourceID) {
    store_->setRule(row.bundleID, sourceID);
}

}  // namespace lumivoke
