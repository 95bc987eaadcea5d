#pragma once

#include "AutostartLoginItems.h"
#include "DesktopEntries.h"
#include "DesktopMainBundle.h"
#include "FileUserDefaults.h"
#include "InProcessNotificationCenter.h"
#include "LinuxPreferences.h"
#include "LinuxStrings.h"
#include "QtApplication.h"
#include "QtDisplayLinks.h"
#include "QtLinks.h"
#include "QtMainLoop.h"
#include "QtOpenPanels.h"
#include "QtScreens.h"
#include "QtTextMeasurement.h"
#include "QtViewHost.h"
#include "SystemLog.h"
#include "TriggerKeySetting.h"
#include "X11AccessibilityTrust.h"
#include "X11Connection.h"
#include "X11Cursor.h"
#include "X11InputSources.h"
#include "X11Keyboard.h"
#include "X11PointerActivity.h"
#include "X11TriggerKeyProbe.h"
#include "X11Workspace.h"
#include "base/Logger.h"
#include "platform/Platform.h"

namespace lumivoke::desktop {

/// The whole Linux desktop: one X11 or Qt service per platform interface, and the Qt widgets
/// that draw the views. Build it after the QApplication and hand platform() and views to the
/// application; it outlives the application.
class DesktopPlatform {
public:
    /// verbose: the log goes to standard error too where it goes to the journal. display: the
    /// connection X11Connection::openDisplay() made, which the platform takes over.
    /// registry: the layout registry's read, started before Qt (or null).
    DesktopPlatform(bool verbose, X11Connection::DisplayHandle display,
                    std::shared_ptr<XkbRegistryPrefetch> registry);
    DesktopPlatform(const DesktopPlatform&) = delete;
    DesktopPlatform& operator=(const DesktopPlatform&) = delete;

    Platform& platform() { return platform_; }
    /// Whether the X server could be reached.
    bool hasDisplay() const { return x11.display() != nullptr; }

    QtMainLoop loop;
    SystemLogSink logSink;
    X11Connection x11;
    DesktopEntries desktopEntries;
    X11InputSources inputSources{x11, logSink};
    X11Keyboard keyboard{x11, logSink};
    X11PointerActivity pointerActivity{x11};
    QtScreens screens{pointerActivity};
    FileUserDefaults defaults{FileUserDefaults::standardLocation(), loop, logSink};
    TriggerKeySetting triggerKey{defaults, loop, logSink, [this](const TriggerChoice& choice) {
                                     keyboard.setTrigger(choice);
                                 }};
    DesktopMainBundle mainBundle;
    X11CursorServer cursor{x11, logSink};
    QtDisplayLinks displayLinks{pointerActivity};
    QtTextMeasurement textMeasurement;
    X11AccessibilityTrust accessibilityTrust;
    X11Workspace workspace{x11, desktopEntries};
    QtApplication application{logSink};
    AutostartLoginItems loginItems{logSink};
    QtOpenPanels openPanels{desktopEntries, logSink};
    QtLinks links;
    InProcessNotificationCenter notifications;
    X11TriggerKeyProbe triggerKeyProbe;
    LinuxPreferences preferences;
    LinuxStrings strings;
    QtViewHost views{x11, logSink};

private:
    Platform platform_;
};

}  // namespace lumivoke::desktop
