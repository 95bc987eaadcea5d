#include "SettingsWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>
#include <sstream>

namespace lumivoke::desktop {
namespace {

QLabel* wrappedLabel(const std::string& text, QWidget* parent) {
    auto* label = new QLabel(QString::fromStdString(text), parent);
    label->setWordWrap(true);
    return label;
}

QLabel* caption(const std::string& text, QWidget* parent) {
    auto* label = wrappedLabel(text, parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::PlaceholderText));
    label->setPalette(palette);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.9);
    label->setFont(font);
    return label;
}

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

void addToggle(QVBoxLayout& layout, QWidget* parent, const ToggleControl& toggle,
               const std::function<void(std::function<void()>)>& later) {
    auto* box = new QCheckBox(QString::fromStdString(toggle.label), parent);
    box->setChecked(toggle.isOn);
    box->setEnabled(toggle.isEnabled);
    QObject::connect(box, &QCheckBox::toggled, parent, [set = toggle.set, later](bool on) {
        later([set, on] {
            if (set) {
                set(on);
            }
        });
    });
    layout.addWidget(box);
}

}  // namespace

SettingsWidget::SettingsWidget(SettingsView& view) : view_(view) {
    setFixedSize(static_cast<int>(SettingsView::size.width),
                 static_cast<int>(SettingsView::size.height));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(20, 16, 20, 12);

    auto* tabRow = new QHBoxLayout();
    tabRow->setSpacing(0);
    tabRow->addStretch();
    auto* tabBox = new QWidget(this);
    tabBox->setMaximumWidth(static_cast<int>(SettingsView::tabControlMaxWidth));
    auto* tabBoxLayout = new QHBoxLayout(tabBox);
    tabBoxLayout->setContentsMargins(0, 0, 0, 0);
    tabBoxLayout->setSpacing(0);
    for (std::size_t i = 0; i < SettingsView::segments.size(); ++i) {
        const SettingsTab tab = SettingsView::segments[i];
        auto* button = new QToolButton(tabBox);
        button->setText(segmentTitle(tab));
        button->setCheckable(true);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        segments_.addButton(button, static_cast<int>(i));
        tabBoxLayout->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, tab] { view_.chooseTab(tab); });
    }
    segments_.setExclusive(true);
    tabRow->addWidget(tabBox, 1);
    tabRow->addStretch();
    outer->addLayout(tabRow);

    contentLayout_ = new QVBoxLayout();
    outer->addLayout(contentLayout_, 1);

    auto* version = new QLabel(QString::fromStdString(view_.versionLine()), this);
    version->setAlignment(Qt::AlignHCenter);
    QPalette palette = version->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::PlaceholderText));
    version->setPalette(palette);
    outer->addWidget(version);

    view_.onScrollToRule = [this](const std::string& bundleID) {
        scrollTarget_ = bundleID;
        later([] {});
    };
    // Synchronous: the tab's view has just been rebuilt and the old one is gone.
    tabToken_ = view_.visibleTab.subscribe([this](SettingsTab tab) { showTab(tab); });
    refreshTimer_.setInterval(500);
    connect(&refreshTimer_, &QTimer::timeout, this, [this] { refresh(); });
    refreshTimer_.start();
}

SettingsWidget::~SettingsWidget() {
    view_.onScrollToRule = nullptr;
}

void SettingsWidget::closeEvent(QCloseEvent* event) {
    if (onClose) {
        onClose();
    }
    event->accept();
}

void SettingsWidget::later(std::function<void()> fn) {
    QTimer::singleShot(0, this, [this, fn = std::move(fn)] {
        fn();
        refresh();
    });
}

void SettingsWidget::showTab(SettingsTab tab) {
    for (std::size_t i = 0; i < SettingsView::segments.size(); ++i) {
        if (SettingsView::segments[i] == tab) {
            segments_.button(static_cast<int>(i))->setChecked(true);
        }
    }
    drawnSignature_.clear();
    refresh();
}

std::string SettingsWidget::contentSignature() {
    std::ostringstream s;
    if (auto* setup = view_.setupView()) {
        s << "setup";
        for (const auto& row : setup->rows()) {
            s << '|' << row.title << row.isOK;
        }
    } else if (auto* general = view_.generalView()) {
        s << "general";
        for (const auto& t : general->toggles()) {
            s << '|' << t.label << t.isOn << t.isEnabled;
        }
    } else if (auto* rules = view_.perAppRulesView()) {
        s << "rules" << static_cast<int>(rules->sortColumn())
          << static_cast<int>(rules->sortDirection()) << rules->isTableEnabled() << '|'
          << rules->selection().value_or("") << '|' << rules->pendingScroll().value_or("");
        for (const auto& t : rules->toggles()) {
            s << '|' << t.isOn << t.isEnabled;
        }
        for (const auto& b : rules->buttons()) {
            s << '|' << b.isEnabled;
        }
        for (const auto& row : rules->sortedRows()) {
            s << '\n'
              << row.row.bundleID << '\t' << row.row.displayName << '\t' << row.selectedSourceID();
            for (const auto& source : row.sources) {
                s << '\t' << source.id << source.name;
            }
        }
    }
    return s.str();
}

void SettingsWidget::refresh() {
    const std::string signature = contentSignature();
    if (signature == drawnSignature_ && content_) {
        return;
    }
    drawnSignature_ = signature;
    int scroll = 0;
    if (table_) {
        scroll = table_->verticalScrollBar()->value();
    }
    if (content_) {
        content_->hide();
        content_->deleteLater();
    }
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 12, 0, 0);
    if (auto* setup = view_.setupView()) {
        buildSetup(*layout, *setup);
    } else if (auto* general = view_.generalView()) {
        buildGeneral(*layout, *general);
    } else if (auto* rules = view_.perAppRulesView()) {
        buildRules(*layout, *rules);
        fillRulesTable(*rules, scroll);
    }
    contentLayout_->addWidget(content);
    content_ = content;
}

void SettingsWidget::buildSetup(QVBoxLayout& layout, SetupView& setup) {
    QWidget* parent = layout.parentWidget();
    auto* heading = new QLabel(SetupView::heading, parent);
    QFont font = heading->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.4);
    heading->setFont(font);
    layout.addWidget(heading);
    layout.addWidget(caption(SetupView::subheading, parent));
    auto buttons = setup.buttons();
    std::size_t nextButton = 0;
    for (const auto& row : setup.rows()) {
        auto* box = new QWidget(parent);
        auto* rowLayout = new QHBoxLayout(box);
        auto* status = new QLabel(row.isOK ? QStringLiteral("\u2714") : QStringLiteral("!"), box);
        status->setFixedSize(26, 26);
        status->setAlignment(Qt::AlignCenter);
        status->setStyleSheet(
            QStringLiteral("QLabel { color: white; font-weight: bold; border-radius: 13px; "
                           "background: %1; }")
                .arg(row.isOK ? "#34a853" : "#f29900"));
        rowLayout->addWidget(status, 0, Qt::AlignTop);
        auto* texts = new QVBoxLayout();
        auto* title = new QLabel(QString::fromStdString(row.title), box);
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        texts->addWidget(title);
        texts->addWidget(wrappedLabel(row.explanation, box));
        if (row.showsButton() && nextButton < buttons.size()) {
            const ButtonControl control = buttons[nextButton++];
            auto* button = new QPushButton(QString::fromStdString(control.title), box);
            button->setEnabled(control.isEnabled);
            connect(button, &QPushButton::clicked, this, [this, action = control.action] {
                later([action] {
                    if (action) {
                        action();
                    }
                });
            });
            texts->addWidget(button, 0, Qt::AlignLeft);
        }
        rowLayout->addLayout(texts, 1);
        layout.addWidget(box);
    }
    layout.addStretch();
}

void SettingsWidget::buildForm(QVBoxLayout& layout, const std::vector<FormSection>& sections) {
    QWidget* parent = layout.parentWidget();
    auto laterFn = [this](std::function<void()> fn) { later(std::move(fn)); };
    for (const auto& section : sections) {
        if (section.header) {
            auto* header = new QLabel(QString::fromStdString(*section.header), parent);
            QFont bold = header->font();
            bold.setBold(true);
            header->setFont(bold);
            layout.addWidget(header);
        }
        for (const auto& row : section.rows) {
            if (const auto* toggle = std::get_if<ToggleControl>(&row)) {
                addToggle(layout, parent, *toggle, laterFn);
            } else if (const auto* text = std::get_if<CaptionText>(&row)) {
                layout.addWidget(caption(text->text, parent));
            }
        }
        layout.addSpacing(8);
    }
}

void SettingsWidget::buildGeneral(QVBoxLayout& layout, GeneralSettingsView& general) {
    buildForm(layout, general.sections());
    layout.addStretch();
}

void SettingsWidget::buildRules(QVBoxLayout& layout, PerAppRulesView& rules) {
    QWidget* parent = layout.parentWidget();
    buildForm(layout, rules.form());

    auto* table = new QTreeWidget(parent);
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
    connect(table->header(), &QHeaderView::sectionClicked, this, [this](int section) {
        later([this, section] {
            if (auto* r = view_.perAppRulesView()) {
                r->toggleSort(section == 0 ? SortColumn::appName : SortColumn::source);
            }
        });
    });
    layout.addWidget(table, 1);
    table_ = table;

    auto* buttonRow = new QHBoxLayout();
    for (const auto& control : rules.buttons()) {
        auto* button = new QPushButton(buttonText(control), parent);
        button->setToolTip(QString::fromStdString(control.title));
        button->setFixedWidth(32);
        button->setEnabled(control.isEnabled && rules.isTableEnabled());
        connect(button, &QPushButton::clicked, this, [this, action = control.action] {
            later([action] {
                if (action) {
                    action();
                }
            });
        });
        buttonRow->addWidget(button);
    }
    buttonRow->addStretch();
    layout.addLayout(buttonRow);
}

void SettingsWidget::fillRulesTable(PerAppRulesView& rules, int scroll) {
    QTreeWidget* table = table_;
    if (table == nullptr) {
        return;
    }
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
    const auto target = scrollTarget_ ? scrollTarget_ : rules.pendingScroll();
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
                [this, rule = AppRuleRow(row), combo](int index) {
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
    if (scrollTo != nullptr && target != scrolledTo_) {
        table->scrollToItem(scrollTo, QAbstractItemView::PositionAtCenter);
        scrolledTo_ = target;
        scrollTarget_.reset();
    } else {
        // A redraw keeps the place the person scrolled to.
        table->verticalScrollBar()->setValue(scroll);
    }
    connect(table, &QTreeWidget::itemSelectionChanged, this, [this, table] {
        const auto items = table->selectedItems();
        std::optional<std::string> id;
        if (!items.isEmpty()) {
            id = items.front()->data(0, Qt::UserRole).toString().toStdString();
        }
        later([this, id] {
            if (auto* r = view_.perAppRulesView()) {
                r->select(id);
            }
        });
    });
}

QtWindow::QtWindow(const WindowSettings& settings, SettingsView& view) : widget_(view) {
    widget_.setWindowTitle(QString::fromStdString(settings.title));
    widget_.onClose = [this] {
        if (delegate_ != nullptr) {
            delegate_->windowWillClose(*this);
        }
    };
}

QtWindow::~QtWindow() {
    widget_.onClose = nullptr;
}

void QtWindow::center() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    QRect frame = widget_.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    widget_.move(frame.topLeft());
}

void QtWindow::makeKeyAndOrderFront() {
    if (widget_.isMinimized()) {
        widget_.showNormal();
    }
    widget_.show();
    widget_.raise();
    widget_.activateWindow();
}

bool QtWindow::isVisible() const {
    return widget_.isVisible();
}

std::unique_ptr<Window> QtWindowFactory::createWindow(const WindowSettings& settings,
                                                      HostedView& root) {
    auto* view = dynamic_cast<SettingsView*>(&root);
    if (view == nullptr) {
        return nullptr;
    }
    return std::make_unique<QtWindow>(settings, *view);
}

}  // namespace lumivoke::desktop
