#include "SimPlatform.h"

namespace lumivoke::sim {

SimPlatform::SimPlatform()
    : platform_{.loop = loop,
                .logSink = logSink,
                .inputSources = inputSources,
                .keyboard = keyboard,
                .events = keyboard,
                .screens = screens,
                .defaults = defaults,
                .mainBundle = bundle,
                .cursor = cursor,
                .displayLinks = displayLinks,
                .textMeasurement = textMeasurement,
                .accessibilityTrust = accessibilityTrust,
                .workspace = workspace,
                .bundles = bundles,
                .application = application,
                .loginItems = loginItems,
                .openPanels = openPanels,
                .links = links,
                .notifications = notifications,
                .preferences = preferences,
                .strings = strings} {}

void SimPlatform::advance(Duration d) {
    loop.runUntilIdle();
    loop.advance(d);
    loop.runUntilIdle();
}

}  // namespace lumivoke::sim
