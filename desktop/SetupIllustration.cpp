#include "SetupIllustration.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "settings/SetupView.h"

namespace lumivoke::desktop {
namespace {

constexpr double kCornerRadius = 8;

bool isDark(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < 128;
}

}  // namespace

SetupIllustration::SetupIllustration(double maxWidth, QWidget* parent)
    : QWidget(parent), maxWidth_(maxWidth) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    // A picture of what the explanation says: nothing for a screen reader to read.
    setAccessibleName({});
}

QString SetupIllustration::resourceFor(const std::string& asset, bool dark) {
    const char* variant = dark ? "dark" : "light";
    if (asset == SetupView::accessibilityIllustration) {
        return QStringLiteral(":/setup/key-observation-%1.svg").arg(variant);
    }
    if (asset == SetupView::globeKeyIllustration) {
        return QStringLiteral(":/setup/trigger-key-%1.svg").arg(variant);
    }
    return {};
}

void SetupIllustration::setAsset(const std::string& asset) {
    if (asset == asset_) {
        return;
    }
    asset_ = asset;
    load();
}

void SetupIllustration::load() {
    const QString resource = resourceFor(asset_, isDark(palette()));
    if (resource.isEmpty() || !renderer_.load(resource)) {
        renderer_.load(QByteArray());
    }
    updateGeometry();
    update();
}

void SetupIllustration::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        load();
    }
    QWidget::changeEvent(event);
}

QSize SetupIllustration::fitted(int width) const {
    const QSize natural = renderer_.isValid() ? renderer_.defaultSize() : QSize();
    if (natural.isEmpty()) {
        return {};
    }
    // Never wider than the drawing's own width or the maximum, never stretched out of shape.
    const double w =
        std::min({static_cast<double>(width), maxWidth_, static_cast<double>(natural.width())});
    return {static_cast<int>(w), static_cast<int>(w * natural.height() / natural.width())};
}

int SetupIllustration::heightForWidth(int width) const {
    return fitted(width).height();
}

QSize SetupIllustration::sizeHint() const {
    return fitted(static_cast<int>(maxWidth_));
}

void SetupIllustration::paintEvent(QPaintEvent* /*event*/) {
    const QSize size = fitted(width());
    if (size.isEmpty()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame(0, 0, size.width(), size.height());
    QPainterPath rounded;
    rounded.addRoundedRect(frame, kCornerRadius, kCornerRadius);
    painter.save();
    painter.setClipPath(rounded);
    renderer_.render(&painter, frame);
    painter.restore();
    // A 1 px border inside the edge, in the colour the style separates things with.
    QPen pen(palette().color(QPalette::Mid), 1.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setMiterLimit(10);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(frame.adjusted(0.5, 0.5, -0.5, -0.5), kCornerRadius - 0.5,
                            kCornerRadius - 0.5);
}

}  // namespace lumivoke::desktop
