#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/Published.h"
#include "base/WeakAnchor.h"
#include "platform/Bundles.h"
#include "platform/OpenPanel.h"
#include "platform/StringTable.h"
#include "platform/Workspace.h"
#include "rules/AppRulesStore.h"
#include "settings/AppRuleRow.h"
#include "settings/Controls.h"
#include "settings/FeatureSwitches.h"
#include "settings/ViewChanges.h"
#include "sources/InputSourceService.h"

namespace lumivoke {

enum class SortColumn { appName, source };
enum class SortDirection { ascending, descending };

/// The Per-App Rules tab: the feature's two switches and the table of rules, which edits the
/// store directly and keeps no copy of the rules. Its selection, pending scroll and sort order
/// live as long as the tab stays displayed; reset() starts them again when it is built anew.
/// Every change of what it shows is announced through observe(): the switches, the sources, the
/// rules, and its own selection, sort order and pending scroll.
class PerAppRulesView {
public:
    static constexpr const char* enableLabel = "Enable per-app rules";
    static constexpr const char* hudLabel = "Show HUD when switching to selected apps";
    static constexpr const char* explanation =
        "When you switch to one of the apps below, Lumivoke will automatically apply its "
        "assigned input source.";
    static constexpr const char* applicationHeader = "Application";
    static constexpr const char* sourceHeader = "Input Source";
    static constexpr const char* addHelp = "Add an application";
    static constexpr const char* removeHelp = "Remove selected rule";
    static constexpr const char* addPanelTitle = "Add Application";
    static constexpr const char* addPanelPrompt = "Add";
    static constexpr double scrollAnimationSeconds = 0.2;  // ease-out, row centred

    /// The open panel that addApplication runs, its texts from strings.
    static OpenPanelSettings addPanelSettings(const StringTable& strings);

    /// sources and currentSource are the application's published list and current source; the
    /// texts are keys of strings.
    PerAppRulesView(FeatureSwitches& switches, const Published<std::vector<InputSource>>& sources,
                    const Published<std::optional<InputSource>>& currentSource,
                    AppRulesStore& store, Bundles& bundles, Workspace& workspace,
                    OpenPanels& openPanels, const StringTable& strings);

    /// Calls back after each change of what the tab shows.
    Token observe(std::function<void()> callback) { return changes_.observe(std::move(callback)); }

    /// The tab is built anew: no selection, no pending scroll, sorted by name ascending. An add
    /// still waiting for its open panel then stores its rule but leaves this state alone.
    void reset();

    /// The rows to show, built from the store and sorted by the current column and direction.
    std::vector<AppRuleRow> sortedRows() const;
    /// The name of the source the rule of bundleID assigns, if there is a rule and the source
    /// is in the current list.
    std::optional<std::string> sourceName(const std::string& bundleID) const;

    /// A column header was pressed: sort by it ascending, or flip the direction.
    void toggleSort(SortColumn column);
    /// A column header's title.
    std::string headerTitle(SortColumn column) const;
    /// The chevron a header shows: "chevron.up" or "chevron.down" on the sorted column only.
    std::optional<std::string> headerChevron(SortColumn column) const;
    /// The add button: pick an application and give it a rule with the current source.
    void addApplication();
    /// The remove button: remove the selected rule, if any.
    void removeSelected();
    /// A row was clicked (none clears the selection).
    void select(std::optional<std::string> bundleID);

    const std::optional<std::string>& selection() const { return selection_; }
    /// The row to bring to the centre of the table, once: set by an add (also of an application
    /// that is listed already, and again for the same one), announced like every change.
    const std::optional<std::string>& pendingScroll() const { return pendingScroll_; }
    /// The port has scrolled (or is about to): the pending row, which is forgotten. Clearing it
    /// is no change of what the tab shows, so nobody is told.
    std::optional<std::string> takePendingScroll() { return std::exchange(pendingScroll_, {}); }
    SortColumn sortColumn() const { return sortColumn_; }
    SortDirection sortDirection() const { return sortDirection_; }
    /// The table (and the HUD switch) can be used only while the feature is on.
    bool isTableEnabled() const;

    /// The form above the table: one section without a header, the feature's switch with its
    /// explanation, and the HUD switch.
    std::vector<FormSection> form();
    std::vector<ToggleControl> toggles() { return togglesOf(form()); }
    /// The add and the remove button, by their help texts. The add button works whether the
    /// feature is on or not; the remove button while a row is selected.
    std::vector<ButtonControl> buttons();

private:
    FeatureSwitches& switches_;
    const Published<std::vector<InputSource>>& sources_;
    const Published<std::optional<InputSource>>& currentSource_;
    AppRulesStore& store_;
    Bundles& bundles_;
    Workspace& workspace_;
    OpenPanels& openPanels_;
    const StringTable& strings_;
    ViewChanges changes_;
    std::vector<Token> inputTokens_;
    std::optional<std::string> selection_;
    std::optional<std::string> pendingScroll_;
    SortColumn sortColumn_ = SortColumn::appName;
    SortDirection sortDirection_ = SortDirection::ascending;
    // Counts the times the tab was built anew: what an action began for an earlier one is not
    // this tab's business any more.
    std::uint64_t generation_ = 0;
    WeakAnchor<PerAppRulesView> anchor_{this};
};

}  // namespace lumivoke
