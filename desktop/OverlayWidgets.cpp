#include "OverlayWidgets.h"

#include <QPainter>
#include <QPainterPath>
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
    if (composited != composited_ && testAttribute(Qt::WA_WState_Created)) {
        // A new X window, with translucency as it is now.
        destroy();
        create();
    }
    composited_ = composited;
    if (composited_) {
        clearMask();
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
        scale_ = HUDView::insertionStartScale + (1 - HUDView::insertionStartScale) * progress;
        opacity_ = std::clamp(progress, 0.0, 1.0);
        redraw();
    });
    fade_.setDuration(static_cast<int>(HUDView::removalFadeSeconds * 1000));
    fade_.setEndValue(0.0);
    QObject::connect(&fade_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        opacity_ = v.toDouble();
        redraw();
    });
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
            text_ = text;
            setWindowTitle(text_);
            scale_ = HUDView::insertionStartScale;
            opacity_ = 0;
            spring_.stop();
            spring_.start();
            break;
        case HUDView::Transition::changed:
            fade_.stop();
            text_ = text;
            setWindowTitle(text_);
            opacity_ = 1;
            scale_ = 1;
            break;
        case HUDView::Transition::removed:
            // The letters stay while they fade; the model hides the window afterwards.
            spring_.stop();
            fade_.stop();
            fade_.setStartValue(opacity_);
            fade_.start();
            break;
    }
    redraw();
}

QRectF HUDWidget::capsuleRect() const {
    const QFontMetricsF metrics(QtTextMeasurement::semiboldFont(HUDView::fontSize));
    const QSizeF capsule(metrics.horizontalAdvance(text_) + 2 * HUDView::horizontalPadding,
                         metrics.height() + 2 * HUDView::verticalPadding);
    QRectF r(QPointF(0, 0), capsule * scale_);
    r.moveCenter(QRectF(rect()).center());
    return r;
}

void HUDWidget::redraw() {
    const bool drawn = !text_.isEmpty() && opacity_ > 0;
    shapeTo(drawn ? capsulePath(capsuleRect()) : QPainterPath());
    update();
}

void HUDWidget::paintEvent(QPaintEvent*) {
    const QFont font = QtTextMeasurement::semiboldFont(HUDView::fontSize);
    const QRectF r = capsuleRect();

    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(rect(), Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (text_.isEmpty() || opacity_ <= 0) {
        return;
    }
    p.setOpacity(opacity_);
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
    const QPainterPath path = capsulePath(r);
    p.fillPath(path, kCapsuleColor);
    p.setPen(kTextColor);
    QFont scaled = font;
    scaled.setPixelSize(std::max(1, static_cast<int>(std::lround(HUDView::fontSize * scale_))));
    p.setFont(scaled);
    p.drawText(r, Qt::AlignCenter, text_);
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
