#include "SetupTab.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include "SettingsControls.h"

namespace lumivoke::desktop {

SetupStatusIcon::SetupStatusIcon(QWidget* parent) : QWidget(parent) {
    setFixedSize(24, 24);
}

void SetupStatusIcon::draw(const std::string& symbol, const std::string& color) {
    isCheckMark_ = symbol == "checkmark.circle.fill";
    color_ = color == "green" ? QColor(0x34, 0xa8, 0x53) : QColor(0xf2, 0x99, 0x00);
    update();
}

void SetupStatusIcon::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF disc = QRectF(rect()).adjusted(1, 1, -1, -1);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color_);
    painter.drawEllipse(disc);
    QPen ink(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(ink);
    const QPointF c = disc.center();
    if (isCheckMark_) {
        QPainterPath tick;
        tick.moveTo(c.x() - 5, c.y());
        tick.lineTo(c.x() - 1.5, c.y() + 3.5);
        tick.lineTo(c.x() + 5, c.y() - 4);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(tick);
    } else {
        painter.drawLine(QPointF(c.x(), c.y() - 6), QPointF(c.x(), c.y() + 1.5));
        painter.drawPoint(QPointF(c.x(), c.y() + 5.5));
    }
}

SetupRowWidget::SetupRowWidget(QWidget* parent)
    : QWidget(parent),
      status_(new SetupStatusIcon(this)),
      title_(new QLabel(this)),
      explanation_(wrappedLabel(this)),
      illustration_(new SetupIllustration(SetupView::illustrationMaxWidth, this)),
      button_(new QPushButton(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addWidget(status_, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout();
    texts->setSpacing(6);
    QFont headline = title_->font();
    headline.setBold(true);
    title_->setFont(headline);
    title_->setTextFormat(Qt::PlainText);
    texts->addWidget(title_);
    QPalette secondary = explanation_->palette();
    secondary.setColor(QPalette::WindowText, secondary.color(QPalette::PlaceholderText));
    explanation_->setPalette(secondary);
    texts->addWidget(explanation_);
    texts->addWidget(illustration_);
    texts->addWidget(button_, 0, Qt::AlignLeft);
    layout->addLayout(texts, 1);
    connect(button_, &QPushButton::clicked, this, [this] {
        if (auto action = action_) {
            action();
        }
    });
}

void SetupRowWidget::draw(const SetupRow& row) {
    status_->draw(row.statusSymbol(), row.statusColor());
    title_->setText(QString::fromStdString(row.title));
    explanation_->setText(QString::fromStdString(row.explanation));
    illustration_->setAsset(row.illustration);
    illustration_->setVisible(row.showsIllustration());
    if (row.button) {
        button_->setText(QString::fromStdString(row.button->title));
        button_->setEnabled(row.button->isEnabled);
        action_ = row.button->action;
    } else {
        action_ = nullptr;
    }
    button_->setVisible(row.button.has_value());
}

SetupTab::SetupTab(SetupView& view, QWidget* parent)
    : QWidget(parent), view_(view), heading_(new QLabel(this)), subheading_(wrappedLabel(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 16, 4, 0);
    layout->setSpacing(20);
    auto* header = new QVBoxLayout();
    header->setSpacing(6);
    QFont title = heading_->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.4);
    heading_->setFont(title);
    header->addWidget(heading_);
    QPalette secondary = subheading_->palette();
    secondary.setColor(QPalette::WindowText, secondary.color(QPalette::PlaceholderText));
    subheading_->setPalette(secondary);
    header->addWidget(subheading_);
    layout->addLayout(header);
    for (auto& row : rows_) {
        row = new SetupRowWidget(this);
        layout->addWidget(row);
    }
    layout->addStretch();
}

void SetupTab::draw() {
    heading_->setText(QString::fromStdString(view_.headingText()));
    subheading_->setText(QString::fromStdString(view_.subheadingText()));
    const auto rows = view_.rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows_[i]->draw(rows[i]);
    }
}

}  // namespace lumivoke::desktop
