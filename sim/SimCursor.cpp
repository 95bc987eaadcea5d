#include "SimCursor.h"

namespace lumivoke::sim {
namespace {

class SimCursorObject final : public CursorObject {
public:
    SimCursorObject(SimCursorServer::Shape shape, int& imageFetches)
        : shape_(shape), imageFetches_(imageFetches) {}
    Point hotSpot() override { return shape_.hotSpot; }
    Size imageSize() override {
        ++imageFetches_;
        return shape_.imageSize;
    }

private:
    SimCursorServer::Shape shape_;
    int& imageFetches_;
};

}  // namespace

void SimCursorServer::setCurrent(std::optional<Shape> shape) {
    current_ = shape;
    ++seed_;
}

void SimCursorServer::setIBeamSignature(std::optional<Point> hotSpot,
                                        std::optional<Size> imageSize) {
    signatureHotSpot_ = hotSpot;
    signatureSize_ = imageSize;
}

CursorSeedFunction SimCursorServer::lookUpCursorSeed() {
    ++seedLookups;
    if (seedMissing_) {
        return {};
    }
    return [this] {
        ++seedCalls;
        return seed_;
    };
}

std::unique_ptr<CursorObject> SimCursorServer::currentSystemCursor() {
    ++cursorFetches;
    if (!current_) {
        return nullptr;
    }
    return std::make_unique<SimCursorObject>(*current_, imageFetches);
}

}  // namespace lumivoke::sim
