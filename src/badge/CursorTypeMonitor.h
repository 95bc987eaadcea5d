#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "base/Geometry.h"
#include "base/Logger.h"
#include "base/WeakAnchor.h"
#include "platform/Cursor.h"
#include "platform/DisplayLink.h"
#include "platform/Screens.h"

namespace lumivoke {

class CursorTypeMonitor;

/// The display link's target. The link holds its target strongly; the proxy holds the monitor
/// only weakly, so a running link never keeps the monitor alive.
class CursorMonitorProxy final : public DisplayLinkTarget {
public:
    Weak<CursorTypeMonitor> target;
    void tick() override;
};

/// Tells, on every display refresh, whether the system cursor is the text I-beam and where the
/// pointer is while it stays so. A seed that changes with the system cursor lets almost every
/// refresh skip the cursor comparison.
class CursorTypeMonitor {
public:
    /// Movements shorter than this (1.5 points, squared) are not reported.
    static constexpr double minimumSquaredMove = 2.25;
    static constexpr FrameRateRange frameRateRange{30, 60, 60};

    CursorTypeMonitor(CursorServer& cursor, DisplayLinks& displayLinks, Screens& screens,
                      LogSink& sink);
    ~CursorTypeMonitor();
    CursorTypeMonitor(const CursorTypeMonitor&) = delete;
    CursorTypeMonitor& operator=(const CursorTypeMonitor&) = delete;

    /// Begins sampling; failures are logged and leave the monitor stopped.
    void start();
    /// Ends sampling without calling either callback.
    void stop();

    /// The cursor became the I-beam, or the pointer moved 1.5 points or more while it is.
    std::function<void(Point)> onIBeam;
    /// The cursor stopped being the I-beam.
    std::function<void()> onLeaveIBeam;

    bool isRunning() const { return displayLink_ != nullptr; }
    bool isIBeam() const { return isIBeam_; }

private:
    friend class CursorMonitorProxy;

    void tick();
    /// The seed function, looked up on first need and then kept, even when missing.
    const CursorSeedFunction& seedFunction();
    bool currentCursorIsIBeam();

    Logger log_;
    CursorServer& cursor_;
    DisplayLinks& displayLinks_;
    Screens& screens_;
    std::unique_ptr<DisplayLink> displayLink_;
    std::shared_ptr<CursorMonitorProxy> proxy_ = std::make_shared<CursorMonitorProxy>();
    std::optional<Point> iBeamHotSpot_;
    std::optional<Size> iBeamImageSize_;
    std::int32_t lastSeed_ = -1;
    Point lastMouseLocation_{-1, -1};
    bool isIBeam_ = false;
    std::optional<CursorSeedFunction> seedFunction_;
    WeakAnchor<CursorTypeMonitor> anchor_{this};
};

}  // namespace lumivoke
