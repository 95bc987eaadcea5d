#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string_view>
#include <thread>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "CommandLine.h"
#include "ControlClient.h"
#include "DesktopMainBundle.h"
#include "DesktopPalette.h"
#include "DesktopPlatform.h"
#include "SingleInstance.h"
#include "XkbRegistry.h"
#include "app/AppVersion.h"
#include "app/ControlRequests.h"
#include "app/LumivokeApp.h"

namespace {

using namespace lumivoke::desktop;

// How long a later launch waits for a first one that is still starting.
constexpr int kAskAttempts = 200;
constexpr std::chrono::milliseconds kAskPause{50};

/// A later launch: the running Lumivoke opens its settings; this one leaves.
int askRunningInstance(SingleInstance& instance, const CommandLine& line) {
    const bool answered = instance.askFirstToReopen(
        kAskAttempts, [] { std::this_thread::sleep_for(kAskPause); },
        [] { std::fputs("lumivoke: Lumivoke is starting; waiting for it to answer\n", stderr); });
    if (!answered) {
        std::fputs(
            "lumivoke: another Lumivoke holds the lock but does not answer; end it or try "
            "again\n",
            stderr);
        return 1;
    }
    if (line.trigger != nullptr) {
        std::fputs(
            "lumivoke: Lumivoke is already running, so --trigger changes nothing; quit it "
            "and start it again with --trigger, or choose the key in its settings\n",
            stderr);
    }
    return 0;
}

}  // namespace

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
        case CommandLine::Action::control:
            return runControlClient(SingleInstance::standardFolder() / SingleInstance::serverName(),
                                    line.controlRequest, line.controlWatch, std::cout, std::cerr);
        case CommandLine::Action::error:
            std::fprintf(stderr, "%s\n", line.error.c_str());
            return 2;
        case CommandLine::Action::run:
            break;
    }
    // Asked before Qt starts: its platform plugin aborts the whole process without a display.
    X11Connection::DisplayHandle display = X11Connection::openDisplay();
    if (display == nullptr) {
        std::fputs(noDisplayText(std::getenv("DISPLAY")).c_str(), stderr);
        return 2;
    }
    SingleInstance instance;
    if (!instance.isFirst()) {
        return askRunningInstance(instance, line);
    }

    // The layouts' names come from the XKB registry, whose read takes as long as much of Qt's
    // start: it runs beside it, for the rules X servers on Linux use unless told otherwise.
    auto registry =
        std::make_shared<XkbRegistryPrefetch>("evdev", std::vector<std::filesystem::path>{});

    // The port speaks X11 directly; under a Wayland session it runs through XWayland.
    qputenv("QT_QPA_PLATFORM", "xcb");
    // The arguments are this program's, read above; Qt's own options are not offered.
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication qtApp(qtArgc, argv);
    QApplication::setApplicationName("Lumivoke");
    QApplication::setOrganizationName("velmorandix");
    // The installed desktop entry, for desktops that match windows to entries by it.
    QGuiApplication::setDesktopFileName("lumivoke");
    // The settings window closing is not the application quitting: it lives in the tray.
    QApplication::setQuitOnLastWindowClosed(false);
    lumivoke::desktop::followDesktopColourScheme();

    DesktopPlatform desktop(line.verbose, std::move(display), std::move(registry));
    if (!desktop.hasDisplay()) {
        std::fputs(noDisplayText(std::getenv("DISPLAY")).c_str(), stderr);
        return 2;
    }
    desktop.application.listenForReopen(instance.socketPath());
    if (line.trigger != nullptr) {
        desktop.triggerKey.overrideForThisRun(*line.trigger);
    }
    desktop.triggerKey.start();
    auto app = std::make_unique<lumivoke::LumivokeApp>(desktop.platform(), desktop.views);
    auto control = std::make_unique<lumivoke::ControlRequestHandler>(app->state());
    desktop.application.setControlHandler(control.get());
#ifdef __GLIBC__
    // What start-up allocated and freed (Qt's set-up, the first reads) goes back to the system
    // once, on the loop's first turn, rather than staying this process's for its whole life.
    QTimer::singleShot(0, [] { malloc_trim(0); });
#endif
    const int status = QApplication::exec();
    desktop.application.setControlHandler(nullptr);
    control.reset();
    app.reset();
    return status;
}
