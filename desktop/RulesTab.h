#pragma once

#include <QAbstractButton>
#include <QPushButton>
#include <QTreeWidget>
#include <QVariantAnimation>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "SettingsControls.h"
#include "settings/PerAppRulesView.h"

namespace lumivoke::desktop {

/// A column header of the rules table: its title, and beside it on the sorted column the
/// chevron the core names ("chevron.up" while ascending, "chevron.down" while descending).
class SortHeader final : public QAbstractButton {
public:
    explicit SortHeader(QWidget* parent);
    void draw(const std::string& title, const std::optional<std::string>& chevron);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont titleFont() const;

    std::optional<std::string> chevron_;
};

/// Draws the Per-App Rules tab: its switches, the rules table with a source menu per row and
/// sortable columns, and the add and remove buttons.
class RulesTab final : public QWidget {
public:
    RulesTab(PerAppRulesView& view, QWidget* parent);
    /// Draws what the view shows now, and brings a row the view asks for into view.
    void draw();

private:
    /// What a row shows apart from its chosen source, which is drawn in place.
    struct DrawnRow {
        std::string bundleID;
        std::string name;
        std::string icon;
        std::vector<std::pair<std::string, std::string>> sources;  // id, name
        bool operator==(const DrawnRow&) const = default;
    };

    void drawRows(const std::vector<AppRuleRow>& rows);
    void drawSelection();
    void scrollTo(const std::string& bundleID);

    PerAppRulesView& view_;
    FormWidget* form_;
    SortHeader* nameHeader_;
    SortHeader* sourceHeader_;
    QTreeWidget* table_;
    QPushButton* add_;
    QPushButton* remove_;
    std::function<void()> addAction_;
    std::function<void()> removeAction_;
    std::vector<DrawnRow> drawnRows_;
    QVariantAnimation scrollAnimation_;
};

}  // namespace lumivoke::desktop
