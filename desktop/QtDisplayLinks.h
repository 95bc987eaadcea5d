#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include "DemandFrames.h"
#include "X11PointerActivity.h"
#include "platform/DisplayLink.h"

namespace lumivoke::desktop {

/// A display link at the preferred rate (60 Hz unless asked otherwise) that sleeps while
/// nothing its target samples can change. X11 offers no per-screen refresh callback to a client
/// that does not draw; what the link's one target samples is the pointer and its cursor, so the
/// link ticks on its frames only while the pointer moves or its cursor changes, and for a short
/// tail after (DemandFrames). At rest it costs no wake-up at all.
class QtDisplayLink final : public DisplayLink {
public:
    QtDisplayLink(std::shared_ptr<DisplayLinkTarget> target, X11PointerActivity& activity);
    ~QtDisplayLink() override;

    void setPreferredFrameRateRange(FrameRateRange range) override;
    void addToMainRunLoopCommonModes() override;
    void invalidate() override;

private:
    MonoTime now() const;
    void changed();
    /// Sets the timer for the next frame, or lets it sleep.
    void arm();
    void tick();

    std::shared_ptr<DisplayLinkTarget> target_;
    X11PointerActivity& activity_;
    DemandFrames frames_;
    QElapsedTimer clock_;
    QTimer timer_;
    Token watch_;
    WeakAnchor<QtDisplayLink> anchor_{this};
};

class QtDisplayLinks final : public DisplayLinks {
public:
    explicit QtDisplayLinks(X11PointerActivity& activity) : activity_(activity) {}

    std::unique_ptr<DisplayLink> createDisplayLink(
        const Screen& screen, std::shared_ptr<DisplayLinkTarget> target) override;

private:
    X11PointerActivity& activity_;
};

}  // namespace lumivoke::desktop
