#pragma once

#include <optional>

#include "base/MainLoop.h"

namespace lumivoke::desktop {

/// When a display link that sleeps between changes ticks. Its ticks fall on the frame
/// boundaries of a link that never stopped (one frame period apart from the start), at most one
/// per frame; after each change it ticks on every frame for a short tail, then sleeps until the
/// next change. Nothing sampled between changes can differ, so a target sees the same values,
/// one frame after each change at the latest, as on a link that ticks without end.
class DemandFrames {
public:
    /// 60 Hz: the frame period rounded up to the microsecond, so never more than 60 a second.
    static constexpr Duration defaultPeriod{16667};
    /// How long ticks go on after the last change: long enough for what follows a change on a
    /// later frame (an application setting its cursor after the pointer entered its window).
    static constexpr Duration tail{200'000};

    /// Frames per second to tick at, the default for none.
    void setRate(double framesPerSecond);
    Duration period() const { return period_; }

    /// The link begins at now: its frames count from here, and the first frames tick.
    void start(MonoTime now);
    /// Something the target samples may have changed at now.
    void noteChange(MonoTime now);
    /// The frame to tick on next when asked at now (after a tick, or on a change while
    /// asleep): the first boundary after now, or none to sleep once the tail has passed.
    std::optional<MonoTime> nextTick(MonoTime now) const;

private:
    Duration period_ = defaultPeriod;
    MonoTime epoch_{};
    MonoTime lastChange_{};
};

}  // namespace lumivoke::desktop
