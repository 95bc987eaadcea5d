#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

#include "CommandLine.h"
#include "DesktopMainBundle.h"
#include "DesktopPlatform.h"
#include "app/AppVersion.h"
#include "app/LumivokeApp.h"

using namespace lumivoke::desktop;

int main(int argc, char* argv[]) {
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const CommandLine line = parseCommandLine(args);
    switch (line.action) {
        case CommandLine::Action::help:
            std::fputs(usageText().c_str(), stdout);
            return 0;
        case CommandLine::Action::version: {
            DesktopMainBundle bundle;
            std::fputs(versionText(lumivoke::AppVersion::read(bundle).text()).c_str(), stdout);
            return 0;
        }
        case CommandLine::Action::error:
            std::fprintf(stderr, "%s\n", line.error.c_str());
            return 2;
        case CommandLine::Action::run:
            break;
    }
    // Asked before Qt starts: its platform plugin aborts the whole process without a display.
    if (!X11Connection::canOpenDisplay()) {
        std::fputs(noDisplayText(std::getenv("DISPLAY")).c_str(), stderr);
        return 2;
    }
    // The port speaks X11 directly; under a Wayland session it runs through XWayland.
    qputenv("QT_QPA_PLATFORM", "xcb");
    // The arguments are this program's, read above; Qt's own options are not offered.
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication qtApp(qtArgc, argv);
    QApplication::setApplicationName("Lumivoke");
    QApplication::setOrganizationName("velmorandix");
    // The settings window closing is not the application quitting: it lives in the tray.
    QApplication::setQuitOnLastWindowClosed(false);

    DesktopPlatform desktop;
    if (!desktop.hasDisplay()) {
        std::fputs(noDisplayText(std::getenv("DISPLAY")).c_str(), stderr);
        return 2;
    }
    // A second launch asks the running instance to open its settings, then leaves.
    if (!desktop.application.becomeSingleInstance()) {
        return 0;
    }
    if (line.trigger != nullptr) {
        desktop.triggerKey.overrideForThisRun(*line.trigger);
    }
    desktop.triggerKey.start();
    auto app = std::make_unique<lumivoke::LumivokeApp>(desktop.platform(), desktop.views);
    const int status = QApplication::exec();
    app.reset();
    return status;
}
