#pragma once

#include <memory>
#include <string>
#include <utility>

#include "platform/Panels.h"

namespace lumivoke {

/// The one overlay window type: borderless, transparent, shadowless, click-through, at
/// status-bar level, on every Space and beside full-screen applications, never key or main.
class FloatingPanel {
public:
    static constexpr unsigned styleMask = 1u << 7;  // borderless + non-activating
    static constexpr int bufferedBacking = 2;
    static constexpr int statusBarLevel = 25;
    // can-join-all-spaces | transient | ignores-cycle | full-screen-auxiliary
    static constexpr unsigned collectionBehavior = 1 | 8 | 64 | 256;
    static constexpr int noAnimation = 2;
    static constexpr unsigned widthAndHeightSizable = 2 | 16;

    /// The settings of a floating panel with this name and content rectangle.
    static PanelSettings settings(std::string name, Rect contentRect);

    /// Takes over the panel a port built with settings(); never null.
    explicit FloatingPanel(std::unique_ptr<Panel> panel) : panel_(std::move(panel)) {}
    virtual ~FloatingPanel() = default;

    void orderFrontRegardless() { panel_->orderFrontRegardless(); }
    void orderOut() { panel_->orderOut(); }
    void setFrameOrigin(Point origin) { panel_->setFrameOrigin(origin); }
    void setContentSize(Size size) { panel_->setContentSize(size); }
    Rect frame() const { return panel_->frame(); }

private:
    std::unique_ptr<Panel> panel_;
};

}  // namespace lumivoke
