#include "DesktopPlatform.h"

#include <QStandardPaths>
#include <cstdlib>

#include "KeyboardSettingsTool.h"
#include "SessionType.h"

namespace lumivoke::desktop {
namespace {

bool isInstalled(const std::string& program) {
    return !QStandardPaths::findExecutable(QString::fromStdString(program)).isEmpty();
}

}  // namespace

namespace {

LayoutNamingSources namingSources(std::shared_ptr<XkbRegistryPrefetch> registry) {
    LayoutNamingSources sources;
    sources.prefetch = std::move(registry);
    return sources;
}

}  // namespace

DesktopPlatform::DesktopPlatform(bool verbose, X11Connection::DisplayHandle display,
                                 std::shared_ptr<XkbRegistryPrefetch> registry)
    : logSink(SystemLogSink::forThisMachine(verbose)),
      x11(std::move(display)),
      inputSources(x11, logSink, namingSources(std::move(registry))),
      accessibilityTrust(keyboard, isWaylandSession(&std::getenv)),
      links(keyboardSettingsCommand(std::getenv("XDG_CURRENT_DESKTOP"), isInstalled)),
      triggerKeyProbe(logSink,
                      [this] {
                          ProbedTrigger trigger{std::string(triggerKey.choice().identifier), {}};
                          const KeycodeSet& keycodes = keyboard.triggerKeys();
                          for (std::size_t code = 0; code < keycodes.size(); ++code) {
                              if (keycodes.test(code)) {
                                  trigger.keycodes.push_back(static_cast<int>(code));
                              }
                          }
                          return trigger;
                      }),
      preferences([this] { return triggerKeyProbe.isTriggerKeyFree(); }),
      platform_{.loop = loop,
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
                .strings = strings,
                .triggerKeys = &triggerKey} {}

}  // namespace lumivoke::desktop
