#pragma once

#include "base/Logger.h"
#include "base/MainLoop.h"
#include "platform/AccessibilityTrust.h"
#include "platform/Application.h"
#include "platform/Bundles.h"
#include "platform/Cursor.h"
#include "platform/DisplayLink.h"
#include "platform/InputSourceSystem.h"
#include "platform/Keyboard.h"
#include "platform/Links.h"
#include "platform/LoginItems.h"
#include "platform/NotificationCenter.h"
#include "platform/OpenPanel.h"
#include "platform/Preferences.h"
#include "platform/Screens.h"
#include "platform/StringTable.h"
#include "platform/TextMeasurement.h"
#include "platform/TriggerKeys.h"
#include "platform/UserDefaults.h"
#include "platform/Workspace.h"

namespace lumivoke {

/// The platform services the application is built on, handed to it by main(), a test or the
/// simulator. Every service outlives the application state. What draws the application's views
/// is handed over beside it (app/ViewHost.h), since the platform does not know the views.
struct Platform {
    MainLoop& loop;
    LogSink& logSink;
    InputSourceSystem& inputSources;
    KeyboardHardware& keyboard;
    GlobalEventMonitor& events;
    Screens& screens;
    UserDefaults& defaults;
    MainBundle& mainBundle;
    CursorServer& cursor;
    DisplayLinks& displayLinks;
    TextMeasurement& textMeasurement;
    AccessibilityTrust& accessibilityTrust;
    Workspace& workspace;
    Bundles& bundles;
    Application& application;
    LoginItemService& loginItems;
    OpenPanels& openPanels;
    LinkOpener& links;
    NotificationCenter& notifications;
    SystemPreferences& preferences;
    StringTable& strings;
    /// The key a person chooses as the trigger, where the platform lets them choose one; none
    /// where it is always the Globe key.
    TriggerKeys* triggerKeys = nullptr;
};

}  // namespace lumivoke
