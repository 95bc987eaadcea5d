#pragma once

#include <QPointer>
#include <QTreeWidget>
#include <QWidget>
#include <optional>
#include <string>

#include "SettingsControls.h"
#include "settings/PerAppRulesView.h"

namespace lumivoke {
class SettingsView;
}  // namespace lumivoke

namespace lumivoke::desktop {

/// Where the rules table should be, and was last, brought into view; it outlives each drawing of
/// the tab.
struct RulesScroll {
    /// The row the core asked to bring into view, not yet scrolled to.
    std::optional<std::string> target;
    /// The row brought into view last.
    std::optional<std::string> scrolledTo;
};

/// Draws the Per-App Rules tab: its switches, the rules table with a source menu per row and
/// sortable columns, and the add and remove buttons.
class RulesTab final : public QWidget {
public:
    /// Draws rules, keeping the table where the person scrolled it (scrollValue) unless a row is
    /// to be brought into view. Clicks find the tab's view again through settings when their
    /// work runs, since the tab may have been rebuilt by then.
    RulesTab(PerAppRulesView& rules, SettingsView& settings, const Later& later,
             RulesScroll& scroll, int scrollValue, QWidget* parent);

    /// Where the table is scrolled to.
    int scrollValue() const;

    /// What the tab shows, to tell whether it must be drawn again.
    static std::string signature(PerAppRulesView& view);

private:
    void fillTable(PerAppRulesView& rules, SettingsView& settings, const Later& later,
                   RulesScroll& scroll, int scrollValue);

    QPointer<QTreeWidget> table_;
};

}  // namespace lumivoke::desktop
