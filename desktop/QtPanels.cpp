#include "QtPanels.h"

#include <QGuiApplication>
#include <cmath>

#include "OverlayWidgets.h"
#include "QtScreens.h"

// Last: Xlib's macros must not meet Qt's headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace lumivoke::desktop {
namespace {

/// Qt gives a tool window the type "utility"; the overlay says what it really is. Written
/// through Qt's own connection, so that it reaches the server after the window's creation and
/// before its mapping.
void announceWindowType(OverlayWidget& widget) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* dpy = x11 != nullptr ? x11->display() : nullptr;
    if (dpy == nullptr) {
        return;
    }
    const Window window = widget.winId();
    static const Atom property = XInternAtom(dpy, "_NET_WM_WINDOW_TYPE", False);
    const Atom type = XInternAtom(dpy, widget.windowType(), False);
    XChangeProperty(dpy, window, property, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&type), 1);
}

}  // namespace

QtPanel::QtPanel(std::unique_ptr<OverlayWidget> widget, Rect frame, X11Connection& x11)
    : widget_(std::move(widget)), frame_(frame), x11_(x11) {
    applyGeometry();
}

QtPanel::~QtPanel() = default;

void QtPanel::applyGeometry() {
    const auto r = fromCoreRect(frame_, QtScreens::primaryRect());
    widget_->setGeometry(static_cast<int>(std::lround(r.x)), static_cast<int>(std::lround(r.y)),
                         static_cast<int>(std::lround(r.width)),
                         static_cast<int>(std::lround(r.height)));
}

void QtPanel::orderFrontRegardless() {
    widget_->setComposited(QtPanelFactory::hasCompositor(x11_));
    announceWindowType(*widget_);
    widget_->show();
    widget_->raise();
}

void QtPanel::orderOut() {
    widget_->hide();
}

void QtPanel::setFrameOrigin(Point origin) {
    frame_.origin = origin;
    applyGeometry();
}

void QtPanel::setContentSize(Size size) {
    frame_.size = size;
    applyGeometry();
}

bool QtPanelFactory::hasCompositor(X11Connection& x11) {
    Display* dpy = x11.display();
    if (dpy == nullptr) {
        return true;
    }
    const std::string name = "_NET_WM_CM_S" + std::to_string(DefaultScreen(dpy));
    const Atom selection = XInternAtom(dpy, name.c_str(), False);
    return XGetSelectionOwner(dpy, selection) != 0;
}

std::unique_ptr<Panel> QtPanelFactory::createPanel(const PanelSettings& settings,
                                                   std::unique_ptr<OverlayWidget> widget) {
    // The title is what the panel shows; the role names the panel.
    widget->setWindowRole(QString::fromStdString(settings.name));
    return std::make_unique<QtPanel>(std::move(widget), settings.contentRect, x11_);
}

}  // namespace lumivoke::desktop
