#include "SimDisplayLinks.h"

#include <cmath>

namespace lumivoke::sim {
namespace {

class SimDisplayLink final : public DisplayLink {
public:
    SimDisplayLink(MainLoop& loop, Trace& trace, std::shared_ptr<DisplayLinkTarget> target,
                   std::shared_ptr<int> running,
                   std::shared_ptr<std::optional<FrameRateRange>> lastRange)
        : loop_(loop),
          trace_(trace),
          target_(std::move(target)),
          running_(std::move(running)),
          lastRange_(std::move(lastRange)) {}
    // Dropping a link without invalidating it stops its ticks too, but silently: the trace
    // shows only what the application asked for.
    ~SimDisplayLink() override {
        if (timer_) {
            --*running_;
        }
    }

    void setPreferredFrameRateRange(FrameRateRange range) override {
        range_ = range;
        *lastRange_ = range;
    }

    void addToMainRunLoopCommonModes() override {
        if (timer_ || !target_) {
            return;
        }
        const double fps = range_.preferred > 0 ? range_.preferred : 60.0;
        const Duration interval{static_cast<Duration::rep>(std::llround(1e6 / fps))};
        // The timer holds the target, as the link does; the monitor's proxy keeps that harmless.
        timer_ = loop_.repeat(interval, [target = target_] { target->tick(); });
        ++*running_;
        trace_.add("displaylink", "start");
    }

    void invalidate() override {
        if (timer_) {
            timer_.cancel();
            --*running_;
        }
        target_.reset();
        trace_.add("displaylink", "invalidate");
    }

private:
    MainLoop& loop_;
    Trace& trace_;
    std::shared_ptr<DisplayLinkTarget> target_;
    std::shared_ptr<int> running_;
    std::shared_ptr<std::optional<FrameRateRange>> lastRange_;
    FrameRateRange range_;
    Token timer_;
};

}  // namespace

std::unique_ptr<DisplayLink> SimDisplayLinks::createDisplayLink(
    const Screen& screen, std::shared_ptr<DisplayLinkTarget> target) {
    ++created_;
    lastScreen_ = screen;
    return std::make_unique<SimDisplayLink>(loop_, trace_, std::move(target), running_, lastRange_);
}

}  // namespace lumivoke::sim
