#include "SettingsWidget.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

#include "GeneralTab.h"
#include "SetupTab.h"

namespace lumivoke::desktop {

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
        rulesScroll_.target = bundleID;
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
    if (auto* setup = view_.setupView()) {
        return SetupTab::signature(*setup);
    }
    if (auto* general = view_.generalView()) {
        return GeneralTab::signature(*general);
    }
    if (auto* rules = view_.perAppRulesView()) {
        return RulesTab::signature(*rules);
    }
    return {};
}

void SettingsWidget::refresh() {
    const std::string signature = contentSignature();
    if (signature == drawnSignature_ && content_) {
        return;
    }
    drawnSignature_ = signature;
    const int scroll = rulesTab_ ? rulesTab_->scrollValue() : 0;
    if (content_) {
        content_->hide();
        content_->deleteLater();
    }
    const Later laterFn = [this](std::function<void()> fn) { later(std::move(fn)); };
    QWidget* content = nullptr;
    if (auto* setup = view_.setupView()) {
        content = new SetupTab(*setup, laterFn, this);
    } else if (auto* general = view_.generalView()) {
        content = new GeneralTab(*general, laterFn, this);
    } else if (auto* rules = view_.perAppRulesView()) {
        auto* tab = new RulesTab(*rules, view_, laterFn, rulesScroll_, scroll, this);
        rulesTab_ = tab;
        content = tab;
    } else {
        content = new QWidget(this);
    }
    contentLayout_->addWidget(content);
    content_ = content;
}

}  // namespace lumivoke::desktop
