#pragma once

#include <QString>
#include <QVariantAnimation>
#include <QWidget>
#include <functional>

#include "base/Token.h"

namespace lumivoke {
class HUDView;
class BadgeView;
}  // namespace lumivoke

namespace lumivoke::desktop {

/// The window of an overlay panel: frameless, above everything, never focused, click-through.
/// Without a compositing manager an ARGB window shows black where it is transparent, so the
/// window is then shaped to what its subclass draws. Its title is what it shows, and it
/// announces its kind as an EWMH window type, so that compositors, accessibility tools and
/// tests can tell what it is.
class OverlayWidget : public QWidget {
public:
    explicit OverlayWidget(const char* windowType = "_NET_WM_WINDOW_TYPE_UTILITY");
    /// Tells the window whether a compositing manager runs, which decides the shaping. Qt
    /// settles a window's translucency when it makes the X window, so a window made under the
    /// other condition is made again: one made without a compositor and shown under one draws
    /// a grey box where it should be clear.
    void setComposited(bool composited);
    /// The _NET_WM_WINDOW_TYPE atom name of this kind of overlay.
    const char* windowType() const { return windowType_; }

protected:
    /// Shapes the window to path's outline when nothing composites it.
    void shapeTo(const QPainterPath& path);
    bool composited_ = true;

private:
    const char* windowType_;
};

/// Draws the HUD capsule: large letters in a translucent dark capsule with a soft shadow; it
/// springs in from 0.4 scale and fades out, as the view's transitions say.
class HUDWidget final : public OverlayWidget {
public:
    explicit HUDWidget(HUDView& view);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void apply(int transition, const QString& text);
    /// Where the capsule is drawn now, in the window.
    QRectF capsuleRect() const;
    /// Shapes the window to what it will draw, then asks for the drawing.
    void redraw();

    QString text_;
    double scale_ = 1;
    double opacity_ = 0;
    QVariantAnimation spring_;
    QVariantAnimation fade_;
    Token stateToken_;
};

/// Draws the hover badge: small letters in a capsule as large as the panel.
class BadgeWidget final : public OverlayWidget {
public:
    explicit BadgeWidget(BadgeView& view);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    Token textToken_;
};

/// The spring the HUD uses: its response (seconds per cycle) and damping fraction, at time t
/// after the start; 0 at t = 0, settling at 1 with an overshoot.
double springProgress(double t, double response, double dampingFraction);

}  // namespace lumivoke::desktop
