#include <algorithm>
#include <string>

#include "OpenSettingsWindow.h"
#include "Simulator.h"

// The person's actions on the Per-App Rules tab's table, the sub-commands of "rules".
namespace lumivoke::sim {

std::optional<Action> parseSettingsRulesCommand(const std::string& sub, const Args& a) {
    if (sub == "add") {
        a.expectOnly(1, {});
        return Action([](Simulator& s) {
            auto& view = requireRulesTab(s);
            if (!s.machine().openPanels.hasPlannedAnswer()) {
                throw ScenarioError(
                    "say first what the open panel answers (open-panel PATH|cancel)");
            }
            // Through the button, as the person does: a disabled one cannot be pressed.
            for (auto& button : view.buttons()) {
                if (button.symbol == std::optional<std::string>("plus")) {
                    if (!button.isEnabled) {
                        throw ScenarioError("the add button is disabled");
                    }
                    button.action();
                    return;
                }
            }
            throw ScenarioError("the rules table has no add button");
        });
    }
    if (sub == "click") {
        a.expectOnly(2, {});
        const std::string bundleID = a.at(1, "bundle identifier");
        return Action([bundleID](Simulator& s) {
            auto& view = requireRulesTab(s);
            requireTableEnabled(view);
            requireRow(view, bundleID);
            view.select(bundleID);
        });
    }
    if (sub == "header") {
        a.expectOnly(2, {});
        const std::string title = a.at(1, "column title");
        // By the title the header shows.
        return Action([title](Simulator& s) {
            auto& view = requireRulesTab(s);
            for (const auto column : {SortColumn::appName, SortColumn::source}) {
                if (view.headerTitle(column) == title) {
                    view.toggleSort(column);
                    return;
                }
            }
            throw ScenarioError("no column \"" + title + "\" (\"" +
                                view.headerTitle(SortColumn::appName) + "\", \"" +
                                view.headerTitle(SortColumn::source) + "\")");
        });
    }
    if (sub == "assign") {
        a.expectOnly(3, {});
        const std::string bundleID = a.at(1, "bundle identifier");
        const std::string sourceID = a.at(2, "source id");
        return Action([bundleID, sourceID](Simulator& s) {
            auto& view = requireRulesTab(s);
            requireTableEnabled(view);
            auto row = requireRow(view, bundleID);
            const bool offered =
                std::any_of(row.sources.begin(), row.sources.end(),
                            [&](const InputSource& x) { return x.id == sourceID; });
            if (!offered) {
                throw ScenarioError("the row's menu offers no source \"" + sourceID + "\"");
            }
            row.choose(sourceID);
        });
    }
    if (sub == "remove-selected") {
        a.expectOnly(1, {});
        // The remove button's action; with nothing selected the button is disabled and the
        // action does nothing, which is what a scenario checks.
        return Action([](Simulator& s) { requireRulesTab(s).removeSelected(); });
    }
    return std::nullopt;
}

}  // namespace lumivoke::sim
