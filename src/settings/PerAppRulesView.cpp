#include "settings/PerAppRulesView.h"

#include <algorithm>

#include "settings/LocalizedCollator.h"

namespace lumivoke {

OpenPanelSettings PerAppRulesView::addPanelSettings(const StringTable& strings) {
    OpenPanelSettings s;
    s.title = strings.text(addPanelTitle);
    s.prompt = strings.text(addPanelPrompt);
    s.allowedContentTypes = {kApplicationContentType};
    s.directoryURL = "file:///Applications";
    s.allowsMultipleSelection = false;
    s.canChooseDirectories = false;
    s.canChooseFiles = true;
    s.treatsFilePackagesAsDirectories = false;
    return s;
}

PerAppRulesView::PerAppRulesView(FeatureSwitches& switches,
                                 const Published<std::vector<InputSource>>& sources,
                                 const Published<std::optional<InputSource>>& currentSource,
                                 AppRulesStore& store, Bundles& bundles, Workspace& workspace,
                                 OpenPanels& openPanels, const StringTable& strings)
    : switches_(switches),
      sources_(sources),
      currentSource_(currentSource),
      store_(store),
      bundles_(bundles),
      workspace_(workspace),
      openPanels_(openPanels),
      strings_(strings) {
    // The current source is read only by an add, never shown: a switch of source redraws
    // nothing here.
    auto notify = bindWeak(anchor_.weak(), [](PerAppRulesView& self) { self.changes_.notify(); });
    inputTokens_.push_back(switches_.observe(notify));
    inputTokens_.push_back(sources_.observe(notify));
    inputTokens_.push_back(store_.rules.observe(notify));
}

void PerAppRulesView::reset() {
    ++generation_;
    selection_.reset();
    pendingScroll_.reset();
    sortColumn_ = SortColumn::appName;
    sortDirection_ = SortDirection::ascending;
    changes_.notify();
}

std::optional<std::string> PerAppRulesView::sourceName(const std::string& bundleID) const {
    const auto& rules = *store_.rules;
    const auto rule = rules.find(bundleID);
    if (rule == rules.end()) {
        return std::nullopt;
    }
    for (const auto& source : *sources_) {
        if (source.id == rule->second) {
            return source.name;
        }
    }
    return std::nullopt;
}

std::vector<AppRuleRow> PerAppRulesView::sortedRows() const {
    std::vector<AppRuleRow> rows;
    for (const auto& [bundleID, sourceID] : *store_.rules) {
        rows.emplace_back(resolveAppRow(bundles_, workspace_, bundleID), *sources_, store_);
    }
    // Keys are computed once per row; a rule whose source is gone sorts as the empty text.
    auto keyOf = [this](const AppRuleRow& r) {
        return sortColumn_ == SortColumn::appName ? r.row.displayName
                                                  : sourceName(r.row.bundleID).value_or("");
    };
    std::vector<std::pair<std::string, std::size_t>> order;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        order.emplace_back(keyOf(rows[i]), i);
    }
    const LocalizedCollator collator;
    const bool ascending = sortDirection_ == SortDirection::ascending;
    std::stable_sort(order.begin(), order.end(), [&](const auto& a, const auto& b) {
        const int c = collator.compare(a.first, b.first);
        return ascending ? c < 0 : c > 0;
    });
    std::vector<AppRuleRow> sorted;
    sorted.reserve(rows.size());
    for (const auto& entry : order) {
        sorted.push_back(std::move(rows[entry.second]));
    }
    return sorted;
}

void PerAppRulesView::toggleSort(SortColumn column) {
    if (column != sortColumn_) {
        sortColumn_ = column;
        sortDirection_ = SortDirection::ascending;
    } else {
        sortDirection_ = sortDirection_ == SortDirection::ascending ? SortDirection::descending
                                                                    : SortDirection::ascending;
    }
    changes_.notify();
}

void PerAppRulesView::select(std::optional<std::string> bundleID) {
    selection_ = std::move(bundleID);
    changes_.notify();
}

std::string PerAppRulesView::headerTitle(SortColumn column) const {
    return strings_.text(column == SortColumn::appName ? applicationHeader : sourceHeader);
}

std::optional<std::string> PerAppRulesView::headerChevron(SortColumn column) const {
    if (column != sortColumn_) {
        return std::nullopt;
    }
    return sortDirection_ == SortDirection::ascending ? "chevron.up" : "chevron.down";
}

void PerAppRulesView::addApplication() {
    const std::uint64_t generation = generation_;
    const auto result = openPanels_.runModal(addPanelSettings(strings_));
    // The panel's modal run lets other work happen, a second launch that builds the tab anew
    // included: the person's choice is still stored, but selecting and scrolling belong to the
    // tab that asked, which is gone then.
    auto sameTab = [&] { return generation == generation_; };
    if (result.response != kModalResponseOK || !result.path) {
        return;
    }
    const auto row = makeAppRow(bundles_, workspace_, *result.path);
    if (!row) {
        return;
    }
    // The rule, the selection and the scroll are one change to draw.
    const auto batch = changes_.batch();
    auto showRow = [&] {
        if (sameTab()) {
            selection_ = row->bundleID;
            pendingScroll_ = row->bundleID;
            changes_.notify();
        }
    };
    if (store_.rules->contains(row->bundleID)) {
        // Already listed: show the person where, and leave its rule alone.
        showRow();
        return;
    }
    std::string sourceID;
    if (const auto& current = *currentSource_) {
        sourceID = current->id;
    } else if (!sources_->empty()) {
        sourceID = sources_->front().id;
    }
    if (sourceID.empty()) {
        return;
    }
    store_.setRule(row->bundleID, sourceID);
    showRow();
}

void PerAppRulesView::removeSelected() {
    if (!selection_) {
        return;
    }
    const auto batch = changes_.batch();
    const std::string bundleID = *selection_;
    store_.removeRule(bundleID);
    selection_.reset();
    changes_.notify();
}

bool PerAppRulesView::isTableEnabled() const {
    return switches_.isPerAppRulesEnabled();
}

// A port may run a control's action on a later turn; the action holds the view weakly.
std::vector<FormSection> PerAppRulesView::form() {
    return {{std::nullopt,
             {ToggleControl{strings_.text(enableLabel), switches_.isPerAppRulesEnabled(), true,
                            strings_.text(explanation),
                            bindWeak(anchor_.weak(),
                                     [](PerAppRulesView& self, bool on) {
                                         self.switches_.setPerAppRulesEnabled(on);
                                     })},
              ToggleControl{strings_.text(hudLabel), switches_.isHUDOnAutoSwitchEnabled(),
                            isTableEnabled(), std::nullopt,
                            bindWeak(anchor_.weak(), [](PerAppRulesView& self, bool on) {
                                self.switches_.setHUDOnAutoSwitchEnabled(on);
                            })}}}};
}

std::vector<ButtonControl> PerAppRulesView::buttons() {
    return {
        {strings_.text(addHelp), "plus", true,
         bindWeak(anchor_.weak(), [](PerAppRulesView& self) { self.addApplication(); })},
        {strings_.text(removeHelp), "minus", selection_.has_value(),
         bindWeak(anchor_.weak(), [](PerAppRulesView& self) { self.removeSelected(); })},
    };
}

}  // namespace lumivoke
