#pragma once

#include <string>

#include "base/Geometry.h"

namespace lumivoke {

/// Everything fixed about an overlay panel when it is built.
struct PanelSettings {
    std::string name;  ///< the panel type, for traces and debugging
    Rect contentRect;
    unsigned styleMask = 0;
    int backing = 0;
    bool defer = true;
    bool opaque = true;
    bool clearBackground = false;
    bool hasShadow = true;
    int level = 0;
    bool hidesOnDeactivate = true;
    bool ignoresMouseEvents = false;
    unsigned collectionBehavior = 0;
    int animationBehavior = 0;
    bool canBecomeKey = true;
    bool canBecomeMain = true;
    unsigned hostingAutoresizingMask = 0;
};

/// One overlay window.
class Panel {
public:
    virtual ~Panel() = default;
    /// Shows the panel above others without activating the application.
    virtual void orderFrontRegardless() = 0;
    /// Hides the panel.
    virtual void orderOut() = 0;
    /// Moves the panel's bottom-left corner.
    virtual void setFrameOrigin(Point origin) = 0;
    /// Resizes the panel's content, keeping its origin.
    virtual void setContentSize(Size size) = 0;
    /// The panel's current frame.
    virtual Rect frame() const = 0;
};

}  // namespace lumivoke
