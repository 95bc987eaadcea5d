#pragma once

#include <optional>
#include <string>
#include <vector>

#include "rules/AppRulesStore.h"
#include "sources/InputSourceService.h"

namespace lumivoke {

/// One row of the rules table: the application and a menu of the input sources.
class AppRuleRow {
public:
    AppRuleRow(AppRow row, std::vector<InputSource> sources, AppRulesStore& store)
        : row(std::move(row)), sources(std::move(sources)), store_(&store) {}

    /// The rule's source identifier, or the empty text when the application has no rule.
    std::string selectedSourceID() const;
    /// The menu item the rule names; none when its source is not in the menu.
    std::optional<InputSource> chosenSource() const;
    /// The person picks a source from the row's menu.
    void choose(const std::string& sourceID);

    AppRow row;
    /// The menu's items, in list order.
    std::vector<InputSource> sources;

private:
    AppRulesStore* store_;
};

}  // namespace lumivoke
