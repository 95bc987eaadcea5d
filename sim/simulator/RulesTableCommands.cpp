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
            view.addApplication();
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
        SortColumn column = SortColumn::appName;
        if (title == PerAppRulesView::sourceHeader) {
            column = SortColumn::source;
        } else if (title != PerAppRulesView::applicationHeader) {
            throw ScenarioError("unknown column \"" + title +
                                "\" (\"Application\", \"Input Source\")");
        }
        return Action([column](Simulator& s) { requireRulesTab(s).toggleSort(column); });
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
