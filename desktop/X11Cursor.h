#pragma once

#include <cstdint>
#include <optional>

#include "X11Connection.h"
#include "platform/Cursor.h"

namespace lumivoke::desktop {

/// The system cursor through XFixes. The seed counts the server's cursor-change notifications,
/// so a display tick that finds it unchanged costs nothing; the current cursor's image is
/// fetched once per change. The I-beam is the cursor theme's "xterm" (or "text") cursor at the
/// theme's default size.
class X11CursorServer final : public CursorServer {
public:
    explicit X11CursorServer(X11Connection& x11);
    ~X11CursorServer() override;

    CursorSeedFunction lookUpCursorSeed() override;
    std::optional<Point> iBeamHotSpot() override;
    std::optional<Size> iBeamImageSize() override;
    std::unique_ptr<CursorObject> currentSystemCursor() override;

private:
    struct Shape {
        Point hotSpot;
        Size size;
    };
    std::optional<Shape> loadIBeam();

    X11Connection& x11_;
    int xfixesEventBase_ = -1;
    std::int32_t changes_ = 0;
    bool watching_ = false;
    // The shape read at changes_ = shapeAt_; read again only after the next change.
    std::optional<Shape> shape_;
    std::int32_t shapeAt_ = -1;
    Token eventToken_;
};

}  // namespace lumivoke::desktop
