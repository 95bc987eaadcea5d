#include "QtDisplayLinks.h"

namespace lumivoke::desktop {

QtDisplayLink::QtDisplayLink(std::shared_ptr<DisplayLinkTarget> target,
                             X11PointerActivity& activity)
    : target_(std::move(target)), activity_(activity) {
    clock_.start();
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
}

QtDisplayLink::~QtDisplayLink() {
    invalidate();
}

MonoTime QtDisplayLink::now() const {
    return MonoTime(Duration(clock_.nsecsElapsed() / 1000));
}

void QtDisplayLink::setPreferredFrameRateRange(FrameRateRange range) {
    frames_.setRate(range.preferred > 0 ? range.preferred : range.maximum);
}

void QtDisplayLink::addToMainRunLoopCommonModes() {
    if (!target_ || watch_) {
        return;
    }
    watch_ = activity_.watch([this] { changed(); });
    frames_.start(now());
    arm();
}

void QtDisplayLink::invalidate() {
    watch_.cancel();
    timer_.stop();
    target_.reset();
}

void QtDisplayLink::changed() {
    frames_.noteChange(now());
    if (!timer_.isActive()) {
        arm();
    }
}

void QtDisplayLink::arm() {
    const MonoTime at = now();
    const auto next = frames_.nextTick(at);
    if (!next) {
        return;
    }
    // Rounded up: never before the frame begins, so never two ticks in one frame.
    const auto wait = *next - at;
    timer_.start(static_cast<int>((wait.count() + 999) / 1000));
}

void QtDisplayLink::tick() {
    // Held for the call: the tick may invalidate this link, even destroy it.
    if (auto target = target_) {
        const auto self = anchor_.weak();
        target->tick();
        if (QtDisplayLink* link = self.lock(); link != nullptr && link->target_) {
            link->arm();
        }
    }
}

std::unique_ptr<DisplayLink> QtDisplayLinks::createDisplayLink(
    const Screen&, std::shared_ptr<DisplayLinkTarget> target) {
    return std::make_unique<QtDisplayLink>(std::move(target), activity_);
}

}  // namespace lumivoke::desktop
