#pragma once

#include <cstdint>
#include <functional>

#include "X11Connection.h"
#include "base/ObserverList.h"
#include "base/WeakAnchor.h"

namespace lumivoke::desktop {

/// Whatever moves the pointer or changes its cursor, as the X server reports it: raw motion of
/// every pointing device (XInput 2, asked for only while someone watches, since it comes with
/// every move of the mouse) and cursor changes (XFixes, asked for by the cursor server). Between
/// two reports the pointer has neither moved nor changed its look, so a pointer position read
/// after the last report still holds.
class X11PointerActivity {
public:
    explicit X11PointerActivity(X11Connection& x11);
    ~X11PointerActivity();
    X11PointerActivity(const X11PointerActivity&) = delete;
    X11PointerActivity& operator=(const X11PointerActivity&) = delete;

    /// Calls onChange for every motion and cursor change until the token ends. Empty when the
    /// server cannot report motion.
    Token watch(std::function<void()> onChange);

    /// Whether changes are being reported now.
    bool isWatching() const { return watchers_ > 0; }
    /// Grows with every report, and whenever watching begins or ends: a position read while
    /// watching holds for as long as this stays the same.
    std::uint64_t changes() const { return changes_; }

private:
    void unwatch();

    X11Connection& x11_;
    int xiOpcode_ = -1;
    int xfixesEventBase_ = -1;
    int watchers_ = 0;
    std::uint64_t changes_ = 0;
    ObserverList<> onChange_;
    Token eventToken_;
    WeakAnchor<X11PointerActivity> anchor_{this};
};

}  // namespace lumivoke::desktop
