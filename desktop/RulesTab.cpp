#include "RulesTab.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <sstream>

#include "settings/SettingsWindowController.h"

namespace lumivoke::desktop {
namespace {

QIcon iconForImage(const std::optional<Image>& image) {
    const QIcon generic = QIcon::fromTheme("application-x-executable");
    if (!image || image->name.empty()) {
        return generic;
    }
    const QString name = QString::fromStdString(image->name);
    if (name.startsWith('/')) {
        return QFileInfo::exists(name) ? QIcon(name) : generic;
    }
    return QIcon::fromTheme(name, generic);
}

QString buttonText(const ButtonControl& button) {
    if (button.symbol == std::optional<std::string>("plus")) {
        return QStringLiteral("+");
    }
    if (button.symbol == std::optional<std::string>("minus")) {
        return QStringLiteral("\u2212");
    }
    return QString::fromStdString(button.title);
}

}  // namespace

std::string RulesTab::signature(PerAppRulesView& rules) {
    std::ostringstream s;
    s << "rules" << static_cast<int>(rules.sortColumn()) << static_cast<int>(rules.sortDirection())
      << rules.isTableEnabled() << '|' << rules.selection().value_or("") << '|'
      << rules.pendingScroll().value_or("");
    for (const auto& t : rules.toggles()) {
        s << '|' << t.isOn << t.isEnabled;
    }
    for (const auto& b : rules.buttons()) {
        s << '|' << b.isEnabled;
    }
    for (const auto& row : rules.sortedRows()) {
        s << '\n'
          << row.row.bundleID << '\t' << row.row.displayName << '\t' << row.selectedSourceID();
        for (const auto& source : row.sources) {
            s << '\t' << source.id << source.name;
        }
    }
    return s.str();
}

RulesTab::RulesTab(PerAppRulesView& rules, SettingsView& settings, const Later& later,
                   RulesScroll& scroll, int scrollValue, QWidget* parent)
    : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 12, 0, 0);
    addForm(*layout, this, rules.form(), later);

    auto* table = new QTreeWidget(this);
    table->setColumnCount(2);
    table->setHeaderLabels({PerAppRulesView::applicationHeader, PerAppRulesView::sourceHeader});
    table->setRootIsDecorated(false);
    table->setIconSize(QSize(24, 24));
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->header()->setSectionsClickable(true);
    table->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    table->header()->setStretchLastSection(false);
    table->header()->resizeSection(1, 190);
    table->setEnabled(rules.isTableEnabled());
    connect(table->header(), &QHeaderView::sectionClicked, this, [&settings, later](int section) {
        later([&settings, section] {
            if (auto* r = settings.perAppRulesView()) {
                r->toggleSort(section == 0 ? SortColumn::appName : SortColumn::source);
            }
        });
    });
    layout->addWidget(table, 1);
    table_ = table;

    auto* buttonRow = new QHBoxLayout();
    for (const auto& control : rules.buttons()) {
        auto* button = new QPushButton(buttonText(control), this);
        button->setToolTip(QString::fromStdString(control.title));
        button->setFixedWidth(32);
        button->setEnabled(control.isEnabled && rules.isTableEnabled());
        connect(button, &QPushButton::clicked, this, [later, action = control.action] {
            later([action] {
                if (action) {
                    action();
                }
            });
        });
        buttonRow->addWidget(button);
    }
    buttonRow->addStretch();
    layout->addLayout(buttonRow);
    fillTable(rules, settings, later, scroll, scrollValue);
}

int RulesTab::scrollValue() const {
    return table_ ? table_->verticalScrollBar()->value() : 0;
}

void RulesTab::fillTable(PerAppRulesView& rules, SettingsView& settings, const Later& later,
                         RulesScroll& scroll, int scrollValue) {
    QTreeWidget* table = table_;
    for (int column = 0; column < 2; ++column) {
        const auto chevron =
            rules.headerChevron(column == 0 ? SortColumn::appName : SortColumn::source);
        if (chevron) {
            table->header()->setSortIndicatorShown(true);
            table->header()->setSortIndicator(
                column, *chevron == "chevron.up" ? Qt::AscendingOrder : Qt::DescendingOrder);
        }
    }
    QTreeWidgetItem* selected = nullptr;
    QTreeWidgetItem* scrollTo = nullptr;
    const auto target = scroll.target ? scroll.target : rules.pendingScroll();
    for (const auto& row : rules.sortedRows()) {
        auto* item = new QTreeWidgetItem(table);
        item->setText(0, QString::fromStdString(row.row.displayName));
        item->setIcon(0, iconForImage(row.row.icon));
        item->setData(0, Qt::UserRole, QString::fromStdString(row.row.bundleID));
        item->setSizeHint(0, QSize(0, 30));
        auto* combo = new QComboBox(table);
        const std::string chosen = row.selectedSourceID();
        for (const auto& source : row.sources) {
            combo->addItem(QString::fromStdString(source.name), QString::fromStdString(source.id));
            if (source.id == chosen) {
                combo->setCurrentIndex(combo->count() - 1);
            }
        }
        if (!row.chosenSource()) {
            combo->setCurrentIndex(-1);
        }
        connect(combo, &QComboBox::activated, this,
                [later, rule = AppRuleRow(row), combo](int index) {
                    const std::string id = combo->itemData(index).toString().toStdString();
                    later([rule, id]() mutable { rule.choose(id); });
                });
        table->setItemWidget(item, 1, combo);
        if (rules.selection() == row.row.bundleID) {
            selected = item;
        }
        if (target == row.row.bundleID) {
            scrollTo = item;
        }
    }
    if (selected != nullptr) {
        selected->setSelected(true);
    }
    if (scrollTo != nullptr && target != scroll.scrolledTo) {
        table->scrollToItem(scrollTo, QAbstractItemView::PositionAtCenter);
        scroll.scrolledTo = target;
        scroll.target.reset();
    } else {
        // A redraw keeps the place the person scrolled to.
        table->verticalScrollBar()->setValue(scrollValue);
    }
    connect(table, &QTreeWidget::itemSelectionChanged, this, [&settings, later, table] {
        const auto items = table->selectedItems();
        std::optional<std::string> id;
        if (!items.isEmpty()) {
            id = items.front()->data(0, Qt::UserRole).toString().toStdString();
        }
        later([&settings, id] {
            if (auto* r = settings.perAppRulesView()) {
                r->select(id);
            }
        });
    });
}

}  // namespace lumivoke::desktop
