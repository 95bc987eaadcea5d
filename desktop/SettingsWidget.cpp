#include "SettingsWidget.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace lumivoke::desktop {

SettingsWidget::SettingsWidget(SettingsView& view)
    : view_(view),
      stack_(new QStackedWidget(this)),
      setup_(new SetupTab(view.setup(), stack_)),
      general_(new GeneralTab(view.general(), stack_)),
      rules_(new RulesTab(view.perAppRules(), stack_)) {
    setFixedSize(static_cast<int>(SettingsView::size.width),
                 static_cast<int>(SettingsView::size.height));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto* tabRow = new QHBoxLayout();
    tabRow->setContentsMargins(20, 12, 20, 12);
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
        button->setText(QString::fromStdString(view_.segmentText(tab)));
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

    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    outer->addWidget(divider);

    // Both prerequisites missing, with their illustrations and buttons, may need more height
    // than the fixed window has: the Setup tab scrolls then.
    auto* setupScroll = new QScrollArea(stack_);
    setupScroll->setWidget(setup_);
    setupScroll->setWidgetResizable(true);
    setupScroll->setFrameShape(QFrame::NoFrame);
    setupScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setupScroll->viewport()->setAutoFillBackground(false);
    setup_->setAutoFillBackground(false);
    stack_->addWidget(setupScroll);
    stack_->addWidget(general_);
    stack_->addWidget(rules_);
    stack_->setContentsMargins(20, 0, 20, 0);
    outer->addWidget(stack_, 1);

    auto* version = new QLabel(QString::fromStdString(view_.versionLine()), this);
    version->setAlignment(Qt::AlignHCenter);
    version->setContentsMargins(0, 6, 0, 6);
    QPalette palette = version->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::PlaceholderText));
    version->setPalette(palette);
    QFont font = version->font();
    font.setPointSizeF(font.pointSizeF() * 0.9);
    version->setFont(font);
    outer->addWidget(version);

    // Each subscription lives as long as this widget, and the views outlive it.
    tokens_.push_back(view_.setup().observe([this] { changed(SettingsTab::setup); }));
    tokens_.push_back(view_.general().observe([this] { changed(SettingsTab::general); }));
    tokens_.push_back(view_.perAppRules().observe([this] { changed(SettingsTab::perAppRules); }));
    tokens_.push_back(view_.visibleTab.subscribe([this](SettingsTab tab) { showTab(tab); }));
}

std::size_t SettingsWidget::indexOf(SettingsTab tab) {
    for (std::size_t i = 0; i < SettingsView::segments.size(); ++i) {
        if (SettingsView::segments[i] == tab) {
            return i;
        }
    }
    return 0;
}

void SettingsWidget::changed(SettingsTab tab) {
    stale_[indexOf(tab)] = true;
    if (isVisible() && *view_.visibleTab == tab) {
        draw(tab);
    }
}

void SettingsWidget::showTab(SettingsTab tab) {
    const auto index = static_cast<int>(indexOf(tab));
    segments_.button(index)->setChecked(true);
    // Drawn before it is shown, so that it never appears with what it showed last time.
    drawIfStale(tab);
    stack_->setCurrentIndex(index);
}

void SettingsWidget::drawIfStale(SettingsTab tab) {
    if (isVisible() && stale_[indexOf(tab)]) {
        draw(tab);
    }
}

void SettingsWidget::draw(SettingsTab tab) {
    stale_[indexOf(tab)] = false;
    switch (tab) {
        case SettingsTab::setup:
            setup_->draw();
            break;
        case SettingsTab::general:
            general_->draw();
            break;
        case SettingsTab::perAppRules:
            rules_->draw();
            break;
    }
}

void SettingsWidget::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    drawIfStale(*view_.visibleTab);
}

void SettingsWidget::closeEvent(QCloseEvent* event) {
    if (onClose) {
        onClose();
    }
    event->accept();
}

}  // namespace lumivoke::desktop
