#pragma once

#include <cstdint>
#include <map>
#include <optional>

#include "CursorClassifier.h"
#include "X11Connection.h"
#include "base/Logger.h"
#include "platform/Cursor.h"

namespace lumivoke::desktop {

/// The system cursor through XFixes. The seed counts the server's cursor-change notifications,
/// so a display tick that finds it unchanged costs nothing. Each new cursor (XFixes cursor
/// serial) is classified once as text or not (CursorClassifier): by its name, or by its
/// picture, compared with the cursor theme's text cursor at every size and with the cursor
/// font's; a cursor seen before is known by its serial without asking the server again.
///
/// The core compares shapes; the port reports the text cursor's shape (the theme's at the
/// default size, else the cursor font's) for every text cursor and an impossible one for every
/// other cursor, so that its exact comparison says what the classification found.
class X11CursorServer final : public CursorServer {
public:
    X11CursorServer(X11Connection& x11, LogSink& sink);
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
    /// Loads what text cursors look like, once.
    void loadTextCursors();
    /// Whether the current cursor is a text cursor; asks the server only for a new cursor.
    std::optional<bool> currentIsText();

    X11Connection& x11_;
    Logger log_;
    int xfixesEventBase_ = -1;
    std::int32_t changes_ = 0;
    bool watching_ = false;
    std::optional<CursorClassifier> classifier_;
    Shape textShape_{{4, 8}, {9, 16}};
    // The serial of the cursor the last notification announced.
    std::optional<unsigned long> announced_;
    // What each recent cursor is, by serial; serials only grow, so the oldest go first.
    std::map<unsigned long, bool> verdicts_;
    // The verdict at changes_ = verdictAt_, valid until the next change.
    std::optional<bool> verdict_;
    std::int32_t verdictAt_ = -1;
    Token eventToken_;
};

}  // namespace lumivoke::desktop
