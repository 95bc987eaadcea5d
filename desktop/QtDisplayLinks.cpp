#include "QtDisplayLinks.h"

#include <cmath>

namespace lumivoke::desktop {

QtDisplayLink::QtDisplayLink(std::shared_ptr<DisplayLinkTarget> target)
    : target_(std::move(target)) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(16);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        // Held for the call: the tick may invalidate this link.
        if (auto target = target_) {
            target->tick();
        }
    });
}

QtDisplayLink::~QtDisplayLink() {
    invalidate();
}

void QtDisplayLink::setPreferredFrameRateRange(FrameRateRange range) {
    const double rate = range.preferred > 0 ? range.preferred : range.maximum;
    if (rate > 0) {
        timer_.setInterval(std::max(1, static_cast<int>(std::lround(1000.0 / rate))));
    }
}

void QtDisplayLink::addToMainRunLoopCommonModes() {
    if (target_) {
        timer_.start();
    }
}

void QtDisplayLink::invalidate() {
    timer_.stop();
    target_.reset();
}

std::unique_ptr<DisplayLink> QtDisplayLinks::createDisplayLink(
    const Screen&, std::shared_ptr<DisplayLinkTarget> target) {
    return std::make_unique<QtDisplayLink>(std::move(target));
}

}  // namespace lumivoke::desktop
