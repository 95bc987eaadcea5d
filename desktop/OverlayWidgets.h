#pragma once

#include <QImage>
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
    /// Called when a compositing manager came or went.
    virtual void compositedChanged() {}
    /// Shapes the window to path's outline when nothing composites it.
    void shapeTo(const QPainterPath& path);
    bool composited_ = true;

private:
    const char* windowType_;
};

/// Draws the HUD capsule: large letters in a translucent capsule with a soft shadow, light on a
/// light desktop and dark on a dark one; it springs in from 0.4 scale and fades out, as the
/// view's transitions say. The capsule is drawn once per text into an image, and each frame
/// only scales it (with a compositor, the window's opacity fades it); the window's shape is
/// set once per text. Without a compositor nothing can be see-through, so the capsule shows at
/// once at its full size, and darkens as it goes.
class HUDWidget final : public OverlayWidget {
public:
    explicit HUDWidget(HUDView& view);

protected:
    void paintEvent(QPaintEvent* event) override;
    void compositedChanged() override;

private:
    void apply(int transition, const QString& text);
    /// Takes a new text (and the desktop's appearance): the image to draw, the window's shape.
    void setText(const QString& text);
    /// One frame of the animation; a frame the screen could not tell from the last is left out.
    void showFrame(double scale, double opacity);
    /// Where the capsule is at full size, in the window.
    QRectF capsuleRect() const;
    /// Draws the capsule and its shadow into capsule_.
    void drawCapsule();

    QString text_;
    double scale_ = 1;
    double opacity_ = 0;
    QImage capsule_;
    QPoint capsuleOrigin_;
    QString drawnText_;
    bool drawnLight_ = false;
    bool drawnComposited_ = false;
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
