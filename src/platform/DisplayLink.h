#pragma once

#include <memory>

#include "platform/Screens.h"

namespace lumivoke {

/// What a display link calls once per refresh. The link holds its target strongly.
class DisplayLinkTarget {
public:
    virtual ~DisplayLinkTarget() = default;
    /// One display refresh.
    virtual void tick() = 0;
};

/// Frames per second a display link may run at.
struct FrameRateRange {
    double minimum = 0;
    double maximum = 0;
    double preferred = 0;
};

/// A display link bound to one screen. It ticks only once added to the main run loop, and
/// until it is invalidated.
class DisplayLink {
public:
    virtual ~DisplayLink() = default;
    /// Asks for a frame rate within range, the preferred one when the display allows.
    virtual void setPreferredFrameRateRange(FrameRateRange range) = 0;
    /// Schedules the ticks on the main run loop in its common modes, so that they go on while
    /// menus are tracked or windows dragged.
    virtual void addToMainRunLoopCommonModes() = 0;
    /// Ends the link for good: no tick follows, and the target is released.
    virtual void invalidate() = 0;
};

/// Makes display links.
class DisplayLinks {
public:
    virtual ~DisplayLinks() = default;
    /// A new, not yet scheduled display link of screen that calls target's tick per refresh.
    virtual std::unique_ptr<DisplayLink> createDisplayLink(
        const Screen& screen, std::shared_ptr<DisplayLinkTarget> target) = 0;
};

}  // namespace lumivoke
