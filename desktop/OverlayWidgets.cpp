#include "OverlayWidgets.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QRegion>
#include <cmath>
#include <numbers>

#include "QtTextMeasurement.h"
#include "badge/BadgeModel.h"
#include "overlay/HUDModel.h"

namespace lumivoke::desktop {
namespace {

const QColor kCapsuleColor(28, 28, 30, 215);
const QColor kTextColor(255, 255, 255);
// The HUD's light material, for a light desktop.
const QColor kLightCapsuleColor(246, 246, 248, 225);
const QColor kLightTextColor(28, 28, 30);

/// Whether the desktop's palette is light: its windows lighter than their text.
bool paletteIsLight() {
    const QPalette palette = QApplication::palette();
    return palette.color(QPalette::Window).lightnessF() >
           palette.color(QPalette::WindowText).lightnessF();
}

QPainterPath capsulePath(const QRectF& r) {
    QPainterPath path;
    const double radius = r.height() / 2;
    path.addRoundedRect(r, radius, radius);
    return path;
}

constexpr double kSpringSeconds = 0.9;

}  // namespace

double springProgress(double t, double response, double dampingFraction) {
    if (t <= 0) {
        return 0;
    }
    const double omega = 2 * std::numbers::pi / response;
    const double zeta = dampingFraction;
    const double omegaD = omega * std::sqrt(1 - zeta * zeta);
    const double decay = std::exp(-zeta * omega * t);
    return 1 - decay * (std::cos(omegaD * t) + (zeta * omega / omegaD) * std::sin(omegaD * t));
}

OverlayWidget::OverlayWidget(const char* windowType)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::X11BypassWindowManagerHint | Qt::WindowDoesNotAcceptFocus |
                           Qt::WindowTransparentForInput),
      windowType_(windowType) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void OverlayWidget::setComposited(bool composited) {
    const bool changed = composited != composited_;
    if (changed && testAttribute(Qt::WA_WState_Created)) {
        // A new X window, with translucency as it is now.
        destroy();
        create();
    }
    composited_ = composited;
    if (composited_) {
        clearMask();
    }
    if (changed) {
        compositedChanged();
    }
}

void OverlayWidget::shapeTo(const QPainterPath& path) {
    if (composited_) {
        return;
    }
    QRegion region(path.toFillPolygon().toPolygon());
    if (region.isEmpty()) {
        // An empty mask is no mask at all, and a pixel of the window would show black: a pixel
        // outside it shows nothing. (Qt paints nothing then, so a subclass shapes the window
        // before it asks for a paint, not while it paints.)
        region = QRegion(-1, -1, 1, 1);
    }
    if (region != mask()) {
        setMask(region);
    }
}

HUDWidget::HUDWidget(HUDView& view) : OverlayWidget("_NET_WM_WINDOW_TYPE_NOTIFICATION") {
    spring_.setStartValue(0.0);
    spring_.setEndValue(kSpringSeconds);
    spring_.setDuration(static_cast<int>(kSpringSeconds * 1000));
    QObject::connect(&spring_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        const double progress =
            springProgress(v.toDouble(), HUDView::springResponse, HUDView::springDampingFraction);
        showFrame(HUDView::insertionStartScale + (1 - HUDView::insertionStartScale) * progress,
                  std::clamp(progress, 0.0, 1.0));
    });
    fade_.setDuration(static_cast<int>(HUDView::removalFadeSeconds * 1000));
    fade_.setEndValue(0.0);
    QObject::connect(&fade_, &QVariantAnimation::valueChanged, this,
                     [this](const QVariant& v) { showFrame(scale_, v.toDouble()); });
    stateToken_ = view.state.subscribe([this](const HUDView::State& s) {
        apply(static_cast<int>(s.transition), s.text ? QString::fromStdString(*s.text) : QString());
    });
}

void HUDWidget::apply(int transition, const QString& text) {
    switch (static_cast<HUDView::Transition>(transition)) {
        case HUDView::Transition::none:
            return;
        case HUDView::Transition::inserted:
            fade_.stop();
            spring_.stop();
            setText(text);
            if (composited_) {
                showFrame(HUDView::insertionStartScale, 0);
                spring_.start();
            } else {
                // Uncomposited, the window is cut to the whole capsule and cannot be see-through:
                // a capsule drawn smaller or fainter would show black around it.
                showFrame(1, 1);
            }
            break;
        case HUDView::Transition::changed:
            fade_.stop();
            setText(text);
            showFrame(1, 1);
            break;
        case HUDView::Transition::removed:
            // The letters stay while they fade; the model hides the window afterwards.
            spring_.stop();
            fade_.stop();
            fade_.setStartValue(opacity_);
            fade_.start();
            break;
    }
}

void HUDWidget::setText(const QString& text) {
    if (text != text_) {
        text_ = text;
        setWindowTitle(text_);
    }
    const bool light = paletteIsLight();
    if (capsule_.isNull() || drawnText_ != text_ || drawnLight_ != light ||
        drawnComposited_ != composited_) {
        capsule_ = QImage();
        drawnLight_ = light;
    }
    // Once per text: the frames only move and fade what is inside.
    shapeTo(text_.isEmpty() ? QPainterPath() : capsulePath(capsuleRect()));
}

void HUDWidget::showFrame(double scale, double opacity) {
    // What the screen can tell apart: a frame that would draw what the last one drew is left
    // out, so the spring's long settling costs nothing.
    const auto scaleStep = std::lround(scale * 512);
    const auto opacityStep = std::lround(opacity * 255);
    const bool rescaled = scaleStep != std::lround(scale_ * 512);
    const bool refaded = opacityStep != std::lround(opacity_ * 255);
    scale_ = scale;
    opacity_ = opacity;
    if (composited_) {
        // The compositor fades the window as a whole; only a new size is drawn anew.
        if (refaded || windowOpacity() != opacity_) {
            setWindowOpacity(opacity_);
        }
        if (rescaled || capsule_.isNull()) {
            update();
        }
    } else if (refaded || rescaled || capsule_.isNull()) {
        update();
    }
}

void HUDWidget::compositedChanged() {
    setText(text_);
    if (!composited_) {
        // Nothing fades the window as a whole any more, nor may the capsule be smaller.
        setWindowOpacity(1);
        if (spring_.state() == QAbstractAnimation::Running) {
            spring_.stop();
            showFrame(1, 1);
        }
    }
    update();
}

QRectF HUDWidget::capsuleRect() const {
    const QFontMetricsF metrics(QtTextMeasurement::semiboldFont(HUDView::fontSize));
    const QSizeF capsule(metrics.horizontalAdvance(text_) + 2 * HUDView::horizontalPadding,
                         metrics.height() + 2 * HUDView::verticalPadding);
    QRectF r(QPointF(0, 0), capsule);
    r.moveCenter(QRectF(rect()).center());
    return r;
}

void HUDWidget::drawCapsule() {
    const QRectF r = capsuleRect();
    // Room for the shadow around the capsule.
    const double margin = HUDView::shadowRadius + HUDView::shadowOffsetY;
    capsuleOrigin_ = (r.topLeft() - QPointF(margin, margin)).toPoint();
    const QRectF area = r.adjusted(-margin, -margin, margin, margin);
    const qreal ratio = devicePixelRatioF();
    capsule_ =
        QImage((area.size() * ratio).toSize() + QSize(2, 2), QImage::Format_ARGB32_Premultiplied);
    capsule_.setDevicePixelRatio(ratio);
    capsule_.fill(Qt::transparent);
    QPainter p(&capsule_);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(-QPointF(capsuleOrigin_));
    if (composited_) {
        // A soft shadow: rings of fading alpha, offset downwards.
        const int steps = static_cast<int>(HUDView::shadowRadius);
        for (int i = steps; i > 0; --i) {
            const double spread = i;
            const QRectF s =
                r.adjusted(-spread, -spread, spread, spread).translated(0, HUDView::shadowOffsetY);
            const double alpha = HUDView::shadowOpacity * (1.0 - static_cast<double>(i) / steps);
            p.fillPath(capsulePath(s), QColor(0, 0, 0, static_cast<int>(alpha * 255 / steps * 2)));
        }
    }
    p.fillPath(capsulePath(r), drawnLight_ ? kLightCapsuleColor : kCapsuleColor);
    p.setPen(drawnLight_ ? kLightTextColor : kTextColor);
    p.setFont(QtTextMeasurement::semiboldFont(HUDView::fontSize));
    p.drawText(r, Qt::AlignCenter, text_);
    drawnText_ = text_;
    drawnComposited_ = composited_;
}

void HUDWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(rect(), Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (text_.isEmpty() || opacity_ <= 0) {
        return;
    }
    if (capsule_.isNull() || drawnComposited_ != composited_) {
        drawCapsule();
    }
    if (!composited_) {
        p.setOpacity(opacity_);
    }
    if (scale_ != 1) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        const QPointF centre = QRectF(rect()).center();
        p.translate(centre);
        p.scale(scale_, scale_);
        p.translate(-centre);
    }
    p.drawImage(capsuleOrigin_, capsule_);
}

BadgeWidget::BadgeWidget(BadgeView& view) : OverlayWidget("_NET_WM_WINDOW_TYPE_TOOLTIP") {
    textToken_ = view.text.subscribe([this](const std::string& text) {
        text_ = QString::fromStdString(text);
        setWindowTitle(text_);
        update();
    });
}

void BadgeWidget::paintEvent(QPaintEvent*) {
    const QFont font = QtTextMeasurement::semiboldFont(BadgeView::fontSize);
    const QFontMetricsF metrics(font);
    const double height =
        std::min<double>(this->height(), metrics.height() + 2 * BadgeView::verticalPadding);
    QRectF r(0, 0, width(), height);
    r.moveCenter(QRectF(rect()).center());

    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(rect(), Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QPainterPath path = capsulePath(r);
    p.fillPath(path, kCapsuleColor);
    p.setPen(kTextColor);
    p.setFont(font);
    p.drawText(r, Qt::AlignCenter, text_);
    shapeTo(path);
}

}  // namespace lumivoke::desktop
