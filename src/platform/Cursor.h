#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "base/Geometry.h"

namespace lumivoke {

/// The window server's cursor-seed function: a counter that changes whenever the system cursor
/// changes. Empty when the function could not be found.
using CursorSeedFunction = std::function<std::int32_t()>;

/// One cursor object of the window server. The hot spot is cheap to read; the image is not, so
/// it is fetched by a call of its own.
class CursorObject {
public:
    virtual ~CursorObject() = default;
    /// The point of the image that is the pointer position, from the image's top left.
    virtual Point hotSpot() = 0;
    /// The size of the cursor's image, fetched on this call.
    virtual Size imageSize() = 0;
};

/// The window server's view of the system-wide mouse cursor.
class CursorServer {
public:
    virtual ~CursorServer() = default;
    /// Looks the private seed function up by name among the loaded images; empty when absent.
    virtual CursorSeedFunction lookUpCursorSeed() = 0;
    /// The hot spot of the platform's standard I-beam cursor, or none.
    virtual std::optional<Point> iBeamHotSpot() = 0;
    /// The image size of the platform's standard I-beam cursor, or none.
    virtual std::optional<Size> iBeamImageSize() = 0;
    /// The cursor the system shows right now, whatever application set it, or null.
    virtual std::unique_ptr<CursorObject> currentSystemCursor() = 0;
};

}  // namespace lumivoke
