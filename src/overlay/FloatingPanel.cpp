#include "overlay/FloatingPanel.h"

namespace lumivoke {

PanelSettings FloatingPanel::settings(std::string name, Rect contentRect) {
    PanelSettings s;
    s.name = std::move(name);
    s.contentRect = contentRect;
    s.styleMask = styleMask;
    s.backing = bufferedBacking;
    s.defer = false;
    s.opaque = false;
    s.clearBackground = true;
    // The HUD capsule draws its own shadow inside the transparent window.
    s.hasShadow = false;
    s.level = statusBarLevel;
    // The panel must stay up while this application is in the background, which is always.
    s.hidesOnDeactivate = false;
    s.ignoresMouseEvents = true;
    s.collectionBehavior = collectionBehavior;
    // All fading is done by the hosted view, never by the window system.
    s.animationBehavior = noAnimation;
    s.canBecomeKey = false;
    s.canBecomeMain = false;
    s.hostingAutoresizingMask = widthAndHeightSizable;
    return s;
}

}  // namespace lumivoke
