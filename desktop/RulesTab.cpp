#include "RulesTab.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace lumivoke::desktop {
namespace {

constexpr int kRowHeight = 30;
constexpr int kSourceColumnWidth = 190;
constexpr int kChevronWidth = 9;
constexpr int kChevronGap = 4;

QIcon iconForImage(const std::string& name) {
    const QIcon generic = QIcon::fromTheme("application-x-executable");
    if (name.empty()) {
        return generic;
    }
    const QString path = QString::fromStdString(name);
    if (path.startsWith('/')) {
        return QFileInfo::exists(path) ? QIcon(path) : generic;
    }
    return QIcon::fromTheme(path, generic);
}

QString symbolText(const ButtonControl& button) {
    if (button.symbol == std::optional<std::string>("plus")) {
        return QStringLiteral("+");
    }
    if (button.symbol == std::optional<std::string>("minus")) {
        return QStringLiteral("\u2212");
    }
    return QString::fromStdString(button.title);
}

QFrame* divider(QWidget* parent, Qt::Orientation orientation) {
    auto* line = new QFrame(parent);
    line->setFrameShape(orientation == Qt::Horizontal ? QFrame::HLine : QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

/// The index of the source a row's rule names in its menu, or -1 when none of them.
int chosenIndex(const AppRuleRow& row) {
    const auto chosen = row.chosenSource();
    if (!chosen) {
        return -1;
    }
    for (std::size_t i = 0; i < row.sources.size(); ++i) {
        if (row.sources[i].id == chosen->id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

SortHeader::SortHeader(QWidget* parent) : QAbstractButton(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

QFont SortHeader::titleFont() const {
    QFont f = font();
    f.setPointSizeF(f.pointSizeF() * 0.9);
    f.setWeight(QFont::Medium);
    return f;
}

void SortHeader::draw(const std::string& title, const std::optional<std::string>& chevron) {
    setText(QString::fromStdString(title));
    setAccessibleName(text());
    chevron_ = chevron;
    updateGeometry();
    update();
}

QSize SortHeader::sizeHint() const {
    const QFontMetrics metrics(titleFont());
    return {metrics.horizontalAdvance(text()) + kChevronGap + kChevronWidth + 2,
            metrics.height() + 4};
}

void SortHeader::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink = palette().color(QPalette::PlaceholderText);
    painter.setPen(ink);
    painter.setFont(titleFont());
    const QFontMetrics metrics(titleFont());
    const int textWidth = metrics.horizontalAdvance(text());
    painter.drawText(QRect(0, 0, textWidth + 1, height()), Qt::AlignLeft | Qt::AlignVCenter,
                     text());
    if (!chevron_) {
        return;
    }
    // A chevron as the system draws its symbol: two strokes meeting at a point above
    // ("chevron.up") or below ("chevron.down") the middle.
    const bool up = *chevron_ == "chevron.up";
    const double left = textWidth + kChevronGap + 0.5;
    const double mid = height() / 2.0;
    const double half = kChevronWidth / 2.0;
    const double rise = 2.5;
    QPainterPath path;
    path.moveTo(left, mid + (up ? rise : -rise));
    path.lineTo(left + half, mid + (up ? -rise : rise));
    path.lineTo(left + 2 * half, mid + (up ? rise : -rise));
    painter.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

RulesTab::RulesTab(PerAppRulesView& view, QWidget* parent)
    : QWidget(parent),
      view_(view),
      form_(new FormWidget(this)),
      nameHeader_(new SortHeader(this)),
      sourceHeader_(new SortHeader(this)),
      table_(new QTreeWidget(this)),
      add_(new QPushButton(this)),
      remove_(new QPushButton(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 12, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(form_);
    layout->addSpacing(12);

    auto* headerRow = new QHBoxLayout();
    headerRow->setContentsMargins(12, 6, 12, 6);
    headerRow->setSpacing(10);
    headerRow->addSpacing(24);  // the width of the rows' icons
    headerRow->addWidget(nameHeader_);
    headerRow->addStretch();
    // Above the column of source menus, at its left edge.
    auto* sourceColumn = new QWidget(this);
    sourceColumn->setFixedWidth(kSourceColumnWidth - 12);
    auto* sourceColumnLayout = new QHBoxLayout(sourceColumn);
    sourceColumnLayout->setContentsMargins(0, 0, 4, 0);
    sourceColumnLayout->addWidget(sourceHeader_);
    sourceColumnLayout->addStretch();
    headerRow->addWidget(sourceColumn);
    layout->addLayout(headerRow);
    layout->addWidget(divider(this, Qt::Horizontal));
    connect(nameHeader_, &QAbstractButton::clicked, this,
            [this] { view_.toggleSort(SortColumn::appName); });
    connect(sourceHeader_, &QAbstractButton::clicked, this,
            [this] { view_.toggleSort(SortColumn::source); });

    table_->setColumnCount(2);
    table_->setHeaderHidden(true);
    table_->setRootIsDecorated(false);
    table_->setIndentation(0);
    table_->setIconSize(QSize(24, 24));
    table_->setAlternatingRowColors(true);
    table_->setUniformRowHeights(true);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->header()->setStretchLastSection(false);
    table_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    table_->header()->setSectionResizeMode(1, QHeaderView::Fixed);
    table_->header()->resizeSection(1, kSourceColumnWidth);
    layout->addWidget(table_, 1);
    connect(table_, &QTreeWidget::itemSelectionChanged, this, [this] {
        const auto items = table_->selectedItems();
        std::optional<std::string> bundleID;
        if (!items.isEmpty()) {
            bundleID = items.front()->data(0, Qt::UserRole).toString().toStdString();
        }
        view_.select(bundleID);
    });
    scrollAnimation_.setDuration(static_cast<int>(PerAppRulesView::scrollAnimationSeconds * 1000));
    scrollAnimation_.setEasingCurve(QEasingCurve::OutQuad);
    connect(
        &scrollAnimation_, &QVariantAnimation::valueChanged, this,
        [this](const QVariant& value) { table_->verticalScrollBar()->setValue(value.toInt()); });

    layout->addWidget(divider(this, Qt::Horizontal));
    auto* buttonBar = new QHBoxLayout();
    buttonBar->setContentsMargins(4, 2, 4, 2);
    buttonBar->setSpacing(0);
    for (QPushButton* button : {add_, remove_}) {
        button->setFixedSize(28, 22);
        button->setFlat(false);
    }
    buttonBar->addWidget(add_);
    auto* separator = divider(this, Qt::Vertical);
    separator->setFixedHeight(14);
    buttonBar->addWidget(separator);
    buttonBar->addWidget(remove_);
    buttonBar->addStretch();
    layout->addLayout(buttonBar);
    // Clicks run the core's actions at once: the buttons are drawn again in place, never
    // replaced, so nothing is deleted under its own click (the open panel's modal run
    // included).
    connect(add_, &QPushButton::clicked, this, [this] {
        if (auto action = addAction_) {
            action();
        }
    });
    connect(remove_, &QPushButton::clicked, this, [this] {
        if (auto action = removeAction_) {
            action();
        }
    });
}

void RulesTab::draw() {
    form_->draw(view_.form());
    nameHeader_->draw(view_.headerTitle(SortColumn::appName),
                      view_.headerChevron(SortColumn::appName));
    sourceHeader_->draw(view_.headerTitle(SortColumn::source),
                        view_.headerChevron(SortColumn::source));
    table_->setEnabled(view_.isTableEnabled());
    drawRows(view_.sortedRows());
    drawSelection();
    const auto buttons = view_.buttons();
    QPushButton* drawn[] = {add_, remove_};
    std::function<void()>* actions[] = {&addAction_, &removeAction_};
    for (std::size_t i = 0; i < 2 && i < buttons.size(); ++i) {
        drawn[i]->setText(symbolText(buttons[i]));
        drawn[i]->setToolTip(QString::fromStdString(buttons[i].title));
        drawn[i]->setAccessibleName(QString::fromStdString(buttons[i].title));
        drawn[i]->setEnabled(buttons[i].isEnabled);
        *actions[i] = buttons[i].action;
    }
    if (const auto bundleID = view_.takePendingScroll()) {
        scrollTo(*bundleID);
    }
}

void RulesTab::drawRows(const std::vector<AppRuleRow>& rows) {
    std::vector<DrawnRow> wanted;
    wanted.reserve(rows.size());
    for (const auto& row : rows) {
        DrawnRow drawn{row.row.bundleID,
                       row.row.displayName,
                       row.row.icon ? row.row.icon->name : std::string(),
                       {}};
        for (const auto& source : row.sources) {
            drawn.sources.emplace_back(source.id, source.name);
        }
        wanted.push_back(std::move(drawn));
    }
    if (wanted != drawnRows_) {
        // Rows come and go, or move: lay the table out anew. A row's menu that the person has
        // just used is released on a later turn by the table itself.
        const QSignalBlocker blocker(table_);
        table_->clear();
        for (const auto& row : rows) {
            auto* item = new QTreeWidgetItem(table_);
            item->setText(0, QString::fromStdString(row.row.displayName));
            item->setIcon(0, iconForImage(row.row.icon ? row.row.icon->name : std::string()));
            item->setData(0, Qt::UserRole, QString::fromStdString(row.row.bundleID));
            item->setSizeHint(0, QSize(0, kRowHeight));
            auto* menu = new QComboBox(table_);
            for (const auto& source : row.sources) {
                menu->addItem(QString::fromStdString(source.name),
                              QString::fromStdString(source.id));
            }
            connect(menu, &QComboBox::activated, this, [rule = row, menu](int index) mutable {
                rule.choose(menu->itemData(index).toString().toStdString());
            });
            table_->setItemWidget(item, 1, menu);
        }
        drawnRows_ = std::move(wanted);
    }
    for (int i = 0; i < table_->topLevelItemCount() && i < static_cast<int>(rows.size()); ++i) {
        auto* menu = qobject_cast<QComboBox*>(table_->itemWidget(table_->topLevelItem(i), 1));
        if (menu != nullptr) {
            const QSignalBlocker blocker(menu);
            menu->setCurrentIndex(chosenIndex(rows[static_cast<std::size_t>(i)]));
        }
    }
}

void RulesTab::drawSelection() {
    const QSignalBlocker blocker(table_);
    const auto& selection = view_.selection();
    for (int i = 0; i < table_->topLevelItemCount(); ++i) {
        auto* item = table_->topLevelItem(i);
        const bool selected =
            selection && item->data(0, Qt::UserRole).toString().toStdString() == *selection;
        if (item->isSelected() != selected) {
            item->setSelected(selected);
        }
    }
}

void RulesTab::scrollTo(const std::string& bundleID) {
    for (int i = 0; i < table_->topLevelItemCount(); ++i) {
        auto* item = table_->topLevelItem(i);
        if (item->data(0, Qt::UserRole).toString().toStdString() != bundleID) {
            continue;
        }
        // Where the row is centred, reached in a short ease-out from where the table is.
        QScrollBar* bar = table_->verticalScrollBar();
        scrollAnimation_.stop();
        const int from = bar->value();
        table_->scrollToItem(item, QAbstractItemView::PositionAtCenter);
        const int to = bar->value();
        bar->setValue(from);
        scrollAnimation_.setStartValue(from);
        scrollAnimation_.setEndValue(to);
        scrollAnimation_.start();
        return;
    }
}

}  // namespace lumivoke::desktop
