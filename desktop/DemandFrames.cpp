#include "DemandFrames.h"

#include <cmath>

namespace lumivoke::desktop {

void DemandFrames::setRate(double framesPerSecond) {
    period_ = framesPerSecond > 0
                  ? Duration(static_cast<Duration::rep>(std::ceil(1e6 / framesPerSecond)))
                  : defaultPeriod;
}

void DemandFrames::start(MonoTime now) {
    epoch_ = now;
    lastChange_ = now;
}

void DemandFrames::noteChange(MonoTime now) {
    lastChange_ = std::max(lastChange_, now);
}

std::optional<MonoTime> DemandFrames::nextTick(MonoTime now) const {
    if (now - lastChange_ > tail) {
        return std::nullopt;
    }
    const auto elapsed = now < epoch_ ? Duration::zero() : now - epoch_;
    return epoch_ + (elapsed / period_ + 1) * period_;
}

}  // namespace lumivoke::desktop
