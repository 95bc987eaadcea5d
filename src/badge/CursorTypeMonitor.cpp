#include "badge/CursorTypeMonitor.h"

namespace lumivoke {

void CursorMonitorProxy::tick() {
    if (CursorTypeMonitor* monitor = target.lock()) {
        monitor->tick();
    }
}

CursorTypeMonitor::CursorTypeMonitor(CursorServer& cursor, DisplayLinks& displayLinks,
                                     Screens& screens, LogSink& sink)
    : log_(sink, "CursorTypeMonitor"),
      cursor_(cursor),
      displayLinks_(displayLinks),
      screens_(screens) {}

CursorTypeMonitor::~CursorTypeMonitor() {
    stop();
}

// One monitor lives for the whole process, so looking up once per monitor is looking up once
// per process; a failed lookup is not retried, since the function cannot appear later.
const CursorSeedFunction& CursorTypeMonitor::seedFunction() {
    if (!seedFunction_) {
        seedFunction_ = cursor_.lookUpCursorSeed();
    }
    return *seedFunction_;
}

void CursorTypeMonitor::start() {
    if (displayLink_) {
        return;
    }
    if (!seedFunction()) {
        log_.error("CGSCurrentCursorSeed unavailable on this macOS; hover badge disabled");
        return;
    }
    // Taken afresh on every start: the standard I-beam may differ after a display change.
    iBeamHotSpot_ = cursor_.iBeamHotSpot();
    iBeamImageSize_ = cursor_.iBeamImageSize();
    if (!iBeamHotSpot_ || !iBeamImageSize_) {
        log_.error("Failed to capture iBeam signature; hover badge disabled");
        return;
    }
    log_.info("iBeam signature: hotSpot=(%{public}f, %{public}f) size=(%{public}f×%{public}f)",
              iBeamHotSpot_->x, iBeamHotSpot_->y, iBeamImageSize_->width, iBeamImageSize_->height);
    const auto screen = screens_.mainScreen();
    if (!screen) {
        log_.error("No main screen; hover badge disabled");
        return;
    }
    // A seed of -1 forces the first tick to compare the cursor.
    lastSeed_ = -1;
    isIBeam_ = false;
    lastMouseLocation_ = {-1, -1};
    proxy_->target = anchor_.weak();
    auto link = displayLinks_.createDisplayLink(*screen, proxy_);
    link->setPreferredFrameRateRange(frameRateRange);
    link->addToMainRunLoopCommonModes();
    displayLink_ = std::move(link);
    log_.info("CADisplayLink started (≤60Hz)");
}

void CursorTypeMonitor::stop() {
    if (displayLink_) {
        displayLink_->invalidate();
    }
    displayLink_.reset();
    isIBeam_ = false;
}

bool CursorTypeMonitor::currentCursorIsIBeam() {
    const auto current = cursor_.currentSystemCursor();
    if (!current) {
        return false;
    }
    // Exact comparison on purpose: any other cursor differs in at least one of these values.
    // The image is costly to fetch, so only a matching hot spot earns a look at it.
    const Point hotSpot = current->hotSpot();
    if (hotSpot.x != iBeamHotSpot_->x || hotSpot.y != iBeamHotSpot_->y) {
        return false;
    }
    const Size size = current->imageSize();
    return size.width == iBeamImageSize_->width && size.height == iBeamImageSize_->height;
}

void CursorTypeMonitor::tick() {
    const CursorSeedFunction& seed = seedFunction();
    if (!seed) {
        return;
    }
    const std::int32_t now = seed();
    if (now != lastSeed_) {
        lastSeed_ = now;
        if (!iBeamHotSpot_ || !iBeamImageSize_) {
            return;
        }
        const bool match = currentCursorIsIBeam();
        if (match != isIBeam_) {
            isIBeam_ = match;
            if (match) {
                lastMouseLocation_ = screens_.mouseLocation();
                if (onIBeam) {
                    onIBeam(lastMouseLocation_);
                }
            } else if (onLeaveIBeam) {
                onLeaveIBeam();
            }
            return;
        }
    }
    if (!isIBeam_) {
        return;
    }
    const Point p = screens_.mouseLocation();
    const double dx = p.x - lastMouseLocation_.x;
    const double dy = p.y - lastMouseLocation_.y;
    if (dx * dx + dy * dy < minimumSquaredMove) {
        return;
    }
    lastMouseLocation_ = p;
    if (onIBeam) {
        onIBeam(p);
    }
}

}  // namespace lumivoke
