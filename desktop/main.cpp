#include <QApplication>
#include <cstdio>
#include <memory>

#include "DesktopPalette.h"
#include "DesktopPlatform.h"
#include "app/LumivokeApp.h"

int main(int argc, char* argv[]) {
    // The port speaks X11 directly; under a Wayland session it runs through XWayland.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName("Lumivoke");
    QApplication::setOrganizationName("velmorandix");
    // The settings window closing is not the application quitting: it lives in the tray.
    QApplication::setQuitOnLastWindowClosed(false);
    lumivoke::desktop::followDesktopColourScheme();

    lumivoke::desktop::DesktopPlatform desktop;
    if (!desktop.hasDisplay()) {
        std::fprintf(stderr, "lumivoke: cannot open the X display\n");
        return 1;
    }
    // A second launch asks the running instance to open its settings, then leaves.
    if (!desktop.application.becomeSingleInstance()) {
        return 0;
    }
    auto app = std::make_unique<lumivoke::LumivokeApp>(desktop.platform(), desktop.views);
    const int status = QApplication::exec();
    app.reset();
    return status;
}
