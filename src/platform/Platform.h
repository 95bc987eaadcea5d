#pragma once

#include "base/Logger.h"
#include "base/MainLoop.h"
#include "platform/Bundles.h"
#include "platform/InputSourceSystem.h"
#include "platform/Keyboard.h"
#include "platform/Panels.h"
#include "platform/Screens.h"
#include "platform/UserDefaults.h"

namespace lumivoke {

/// The platform services the application is built on, handed to it by main(), a test or the
/// simulator. Every service outlives the application state.
struct Platform {
    MainLoop& loop;
    LogSink& logSink;
    InputSourceSystem& inputSources;
    KeyboardHardware& keyboard;
    GlobalEventMonitor& events;
    Screens& screens;
    PanelFactory& panels;
    UserDefaults& defaults;
    MainBundle& mainBundle;
};

}  // namespace lumivoke
