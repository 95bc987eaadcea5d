#pragma once

#include <cstdint>
#include <optional>

#include "platform/Cursor.h"

namespace lumivoke::sim {

/// The simulated window server's cursor. Every change of the current cursor bumps the seed, as
/// the real counter does; the counters tell tests how much work the application asked for.
class SimCursorServer final : public CursorServer {
public:
    struct Shape {
        Point hotSpot;
        Size imageSize;
    };
    // The shapes the simulated system ships with.
    static constexpr Shape iBeam{{4, 9}, {9, 18}};
    static constexpr Shape arrow{{4, 4}, {17, 23}};

    /// Makes shape (or no cursor at all) the current system cursor.
    void setCurrent(std::optional<Shape> shape);
    /// Makes the next lookups of the seed function fail (or succeed again).
    void setSeedMissing(bool missing) { seedMissing_ = missing; }
    /// Sets the standard I-beam's hot spot and image size; either may be missing.
    void setIBeamSignature(std::optional<Point> hotSpot, std::optional<Size> imageSize);

    CursorSeedFunction lookUpCursorSeed() override;
    std::optional<Point> iBeamHotSpot() override { return signatureHotSpot_; }
    std::optional<Size> iBeamImageSize() override { return signatureSize_; }
    std::unique_ptr<CursorObject> currentSystemCursor() override;

    std::int32_t seed() const { return seed_; }
    int seedLookups = 0;
    int seedCalls = 0;
    int cursorFetches = 0;
    int imageFetches = 0;

private:
    std::optional<Shape> current_ = arrow;
    std::int32_t seed_ = 100;
    bool seedMissing_ = false;
    std::optional<Point> signatureHotSpot_ = iBeam.hotSpot;
    std::optional<Size> signatureSize_ = iBeam.imageSize;
};

}  // namespace lumivoke::sim
