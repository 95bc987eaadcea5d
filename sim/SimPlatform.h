#pragma once

#include <memory>
#include <string>
#include <vector>

#include "SimAccessibility.h"
#include "SimApplication.h"
#include "SimBundles.h"
#include "SimCursor.h"
#include "SimDefaults.h"
#include "SimDisplayLinks.h"
#include "SimInputSources.h"
#include "SimKeyboard.h"
#include "SimLinks.h"
#include "SimLoginItems.h"
#include "SimNotificationCenter.h"
#include "SimPanels.h"
#include "SimPreferences.h"
#include "SimScreens.h"
#include "SimStatusBar.h"
#include "SimStringTable.h"
#include "SimTextMeasurement.h"
#include "SimTriggerKeys.h"
#include "SimViewHost.h"
#include "SimWindows.h"
#include "SimWorkspace.h"
#include "Trace.h"
#include "base/VirtualMainLoop.h"
#include "platform/Platform.h"

namespace lumivoke::sim {

/// A whole simulated machine on virtual time. Tests and the simulator build one, set it up
/// through its parts, hand platform() and views to the application and read the trace.
class SimPlatform {
public:
    SimPlatform();
    SimPlatform(const SimPlatform&) = delete;
    SimPlatform& operator=(const SimPlatform&) = delete;

    Platform& platform() { return platform_; }

    /// Runs what is due now, then moves time forward by d, running what falls due on the way.
    void advance(Duration d);
    /// Runs every task due at the current time.
    void settle() { loop.runUntilIdle(); }
    /// Lets a person choose the trigger key among options, the first in effect; for an
    /// application launched afterwards. The simulated system itself has only the Globe key.
    void offerTriggerKeys(std::vector<TriggerKeyOption> options) {
        std::string current = options.front().identifier;
        triggerKeys = std::make_unique<SimTriggerKeys>(std::move(options), std::move(current));
        platform_.triggerKeys = triggerKeys.get();
    }

    VirtualMainLoop loop;
    Trace trace{loop};
    TraceLogSink logSink{trace};
    SimInputSourceSystem inputSources{loop, trace};
    SimKeyboard keyboard{trace};
    SimScreens screens;
    SimPanelFactory panels{trace};
    SimDefaults defaults{loop, trace};
    SimBundle bundle;
    SimCursorServer cursor;
    SimDisplayLinks displayLinks{loop, trace};
    SimTextMeasurement textMeasurement;
    SimAccessibilityTrust accessibilityTrust{keyboard};
    SimWorkspace workspace{loop, trace};
    SimBundles bundles;
    SimWindowFactory windows{trace};
    SimApplication application{trace, workspace};
    SimLoginItems loginItems{trace};
    SimOpenPanels openPanels{trace};
    SimLinks links{trace};
    SimNotificationCenter notifications;
    SimPreferences preferences;
    SimStringTable strings;
    SimStatusBar statusBar{trace};
    SimViewHost views{panels, windows, statusBar};
    std::unique_ptr<SimTriggerKeys> triggerKeys;

private:
    Platform platform_;
};

}  // namespace lumivoke::sim
