#include "DesktopPlatform.h"

namespace lumivoke::desktop {

DesktopPlatform::DesktopPlatform()
    : platform_{.loop = loop,
                .logSink = logSink,
                .inputSources = inputSources,
                .keyboard = keyboard,
                .events = keyboard,
                .screens = screens,
                .defaults = defaults,
                .mainBundle = mainBundle,
                .cursor = cursor,
                .displayLinks = displayLinks,
                .textMeasurement = textMeasurement,
                .accessibilityTrust = accessibilityTrust,
                .workspace = workspace,
                .bundles = workspace,
                .application = application,
                .loginItems = loginItems,
                .openPanels = openPanels,
                .links = links,
                .notifications = notifications,
                .preferences = preferences,
                .strings = strings} {}

}  // namespace lumivoke::desktop
