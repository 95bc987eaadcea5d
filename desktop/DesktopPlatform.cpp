#include "DesktopPlatform.h"

namespace lumivoke::desktop {

DesktopPlatform::DesktopPlatform()
    : platform_{.loop = loop,
                .logSink = logSink,
                .inputSources = inputSources,
                .keyboard = keyboard,
                .events = keyboard,
                .screens = screens,
                .panels = panels,
                .defaults = defaults,
                .mainBundle = mainBundle,
                .cursor = cursor,
                .displayLinks = displayLinks,
                .textMeasurement = textMeasurement,
                .accessibilityTrust = accessibilityTrust,
                .workspace = workspace,
                .bundles = workspace,
                .windows = windows,
                .application = application,
                .loginItems = loginItems,
                .openPanels = openPanels,
                .links = links,
                .notifications = notifications,
                .preferences = preferences,
                .statusBar = statusBar} {}

}  // namespace lumivoke::desktop
