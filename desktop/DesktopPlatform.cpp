#include "DesktopPlatform.h"

#include <X11/XF86keysym.h>
#include <X11/Xlib.h>

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

DesktopPlatform::DesktopPlatform()
    : accessibilityTrust(keyboard, isWaylandSession(&std::getenv)),
      links(keyboardSettingsCommand(std::getenv("XDG_CURRENT_DESKTOP"), isInstalled)),
      triggerKeyProbe(logSink,
                      [this] {
                          // The keys that report Fn: XF86Fn on some laptops, XF86WakeUp on
                          // many.
                          ProbedTrigger trigger{"fn", {}};
                          if (Display* dpy = x11.display()) {
                              for (const KeySym keysym :
                                   {KeySym{0x100811d0} /* XF86Fn */, KeySym{XF86XK_WakeUp}}) {
                                  if (const KeyCode code = XKeysymToKeycode(dpy, keysym)) {
                                      trigger.keycodes.push_back(code);
                                  }
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
                .strings = strings} {}

}  // namespace lumivoke::desktop
