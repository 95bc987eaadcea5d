#include "SetupTab.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <sstream>

namespace lumivoke::desktop {

std::string SetupTab::signature(SetupView& view) {
    std::ostringstream s;
    s << "setup";
    for (const auto& row : view.rows()) {
        s << '|' << row.title << row.isOK;
    }
    return s.str();
}

SetupTab::SetupTab(SetupView& setup, const Later& later, QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 12, 0, 0);
    auto* heading = new QLabel(SetupView::heading, this);
    QFont font = heading->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.4);
    heading->setFont(font);
    layout->addWidget(heading);
    layout->addWidget(caption(SetupView::subheading, this));
    auto buttons = setup.buttons();
    std::size_t nextButton = 0;
    for (const auto& row : setup.rows()) {
        auto* box = new QWidget(this);
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
            connect(button, &QPushButton::clicked, this, [later, action = control.action] {
                later([action] {
                    if (action) {
                        action();
                    }
                });
            });
            texts->addWidget(button, 0, Qt::AlignLeft);
        }
        rowLayout->addLayout(texts, 1);
        layout->addWidget(box);
    }
    layout->addStretch();
}

}  // namespace lumivoke::desktop
