#pragma once

#include <QTimer>

#include "platform/DisplayLink.h"

namespace lumivoke::desktop {

/// A display link as a precise Qt timer at the preferred rate (60 Hz unless asked otherwise);
/// X11 offers no per-screen refresh callback to a client that does not draw.
class QtDisplayLink final : public DisplayLink {
public:
    explicit QtDisplayLink(std::shared_ptr<DisplayLinkTarget> target);
    ~QtDisplayLink() override;

    void setPreferredFrameRateRange(FrameRateRange range) override;
    void addToMainRunLoopCommonModes() override;
    void invalidate() override;

private:
    std::shared_ptr<DisplayLinkTarget> target_;
    QTimer timer_;
};

class QtDisplayLinks final : public DisplayLinks {
public:
    std::unique_ptr<DisplayLink> createDisplayLink(
        const Screen& screen, std::shared_ptr<DisplayLinkTarget> target) override;
};

}  // namespace lumivoke::desktop
