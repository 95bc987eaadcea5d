#pragma once

#include <memory>

#include "X11Connection.h"
#include "platform/Panels.h"

namespace lumivoke::desktop {

class OverlayWidget;

/// An overlay panel as a Qt window; the frame is kept in the core's coordinates.
class QtPanel final : public Panel {
public:
    QtPanel(std::unique_ptr<OverlayWidget> widget, Rect frame, X11Connection& x11);
    ~QtPanel() override;

    void orderFrontRegardless() override;
    void orderOut() override;
    void setFrameOrigin(Point origin) override;
    void setContentSize(Size size) override;
    Rect frame() const override { return frame_; }

private:
    void applyGeometry();

    std::unique_ptr<OverlayWidget> widget_;
    Rect frame_;
    X11Connection& x11_;
};

/// Builds the overlay panels the views are drawn in: the HUD and the hover badge.
class QtPanelFactory final {
public:
    explicit QtPanelFactory(X11Connection& x11) : x11_(x11) {}
    /// A panel with these settings whose window is widget, which draws the panel's view.
    std::unique_ptr<Panel> createPanel(const PanelSettings& settings,
                                       std::unique_ptr<OverlayWidget> widget);

    /// Whether a compositing manager draws the screen, so that translucency works.
    static bool hasCompositor(X11Connection& x11);

private:
    X11Connection& x11_;
};

}  // namespace lumivoke::desktop
