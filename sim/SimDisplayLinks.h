#pragma once

#include <memory>
#include <optional>

#include "Trace.h"
#include "base/MainLoop.h"
#include "platform/DisplayLink.h"

namespace lumivoke::sim {

/// Simulated display links: once added to the run loop, a link ticks at its preferred frame
/// rate (60 when none is set) on the virtual clock, as a repeating timer of whole microseconds
/// (16667 µs at 60 fps), the first tick one interval after it was added.
class SimDisplayLinks final : public DisplayLinks {
public:
    SimDisplayLinks(MainLoop& loop, Trace& trace) : loop_(loop), trace_(trace) {}

    std::unique_ptr<DisplayLink> createDisplayLink(
        const Screen& screen, std::shared_ptr<DisplayLinkTarget> target) override;

    /// Links that tick right now.
    int running() const { return *running_; }
    /// Links made so far.
    int created() const { return created_; }
    /// The range and screen of the link made last, for tests.
    std::optional<FrameRateRange> lastRange() const { return *lastRange_; }
    std::optional<Screen> lastScreen() const { return lastScreen_; }

private:
    MainLoop& loop_;
    Trace& trace_;
    std::shared_ptr<int> running_ = std::make_shared<int>(0);
    std::shared_ptr<std::optional<FrameRateRange>> lastRange_ =
        std::make_shared<std::optional<FrameRateRange>>();
    std::optional<Screen> lastScreen_;
    int created_ = 0;
};

}  // namespace lumivoke::sim
