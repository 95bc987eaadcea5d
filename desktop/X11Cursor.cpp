#include "X11Cursor.h"

#include <X11/Xcursor/Xcursor.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

namespace lumivoke::desktop {
namespace {

class X11CursorObject final : public CursorObject {
public:
    X11CursorObject(Point hotSpot, Size size) : hotSpot_(hotSpot), size_(size) {}
    Point hotSpot() override { return hotSpot_; }
    Size imageSize() override { return size_; }

private:
    Point hotSpot_;
    Size size_;
};

}  // namespace

X11CursorServer::X11CursorServer(X11Connection& x11) : x11_(x11) {
    Display* dpy = x11_.display();
    int errorBase = 0;
    if (dpy == nullptr || !XFixesQueryExtension(dpy, &xfixesEventBase_, &errorBase)) {
        xfixesEventBase_ = -1;
        return;
    }
    int major = 2;
    int minor = 0;
    XFixesQueryVersion(dpy, &major, &minor);
    eventToken_ = x11_.addHandler([this](XEvent& event) {
        if (event.type == xfixesEventBase_ + XFixesCursorNotify) {
            ++changes_;
        }
    });
}

X11CursorServer::~X11CursorServer() = default;

CursorSeedFunction X11CursorServer::lookUpCursorSeed() {
    Display* dpy = x11_.display();
    if (dpy == nullptr || xfixesEventBase_ < 0) {
        return {};
    }
    if (!watching_) {
        XFixesSelectCursorInput(dpy, x11_.root(), XFixesDisplayCursorNotifyMask);
        XFlush(dpy);
        watching_ = true;
    }
    return [this] { return changes_; };
}

std::optional<X11CursorServer::Shape> X11CursorServer::loadIBeam() {
    Display* dpy = x11_.display();
    if (dpy == nullptr) {
        return std::nullopt;
    }
    const char* theme = XcursorGetTheme(dpy);
    const int size = XcursorGetDefaultSize(dpy);
    for (const char* name : {"xterm", "text", "ibeam"}) {
        if (XcursorImage* image = XcursorLibraryLoadImage(name, theme, size)) {
            Shape shape{{static_cast<double>(image->xhot), static_cast<double>(image->yhot)},
                        {static_cast<double>(image->width), static_cast<double>(image->height)}};
            XcursorImageDestroy(image);
            return shape;
        }
    }
    return std::nullopt;
}

std::optional<Point> X11CursorServer::iBeamHotSpot() {
    if (auto shape = loadIBeam()) {
        return shape->hotSpot;
    }
    return std::nullopt;
}

std::optional<Size> X11CursorServer::iBeamImageSize() {
    if (auto shape = loadIBeam()) {
        return shape->size;
    }
    return std::nullopt;
}

std::unique_ptr<CursorObject> X11CursorServer::currentSystemCursor() {
    Display* dpy = x11_.display();
    if (dpy == nullptr || xfixesEventBase_ < 0) {
        return nullptr;
    }
    if (!shape_ || shapeAt_ != changes_ || !watching_) {
        XFixesCursorImage* image = XFixesGetCursorImage(dpy);
        if (image == nullptr) {
            return nullptr;
        }
        shape_ = Shape{{static_cast<double>(image->xhot), static_cast<double>(image->yhot)},
                       {static_cast<double>(image->width), static_cast<double>(image->height)}};
        XFree(image);
        shapeAt_ = changes_;
    }
    return std::make_unique<X11CursorObject>(shape_->hotSpot, shape_->size);
}

}  // namespace lumivoke::desktop
