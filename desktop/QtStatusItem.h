#pragma once

#include <QColor>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>
#include <memory>
#include <vector>

#include "X11Connection.h"
#include "app/MenuBarContent.h"
#include "platform/StatusBar.h"

namespace lumivoke::desktop {

/// The menu-bar item as a system tray icon whose menu is rebuilt from the core's menu content
/// each time it opens. The globe is drawn in one colour, the palette's text or window colour,
/// whichever shows better on the panel behind it: the panel's colour is read from the screen
/// around the icon whenever the icon comes into a tray or moves, and when the menu opens.
class QtStatusItem final : public StatusItem {
public:
    QtStatusItem(const std::string& iconName, MenuBarContent& content, X11Connection& x11);
    ~QtStatusItem() override;
    void setIcon(const std::string& iconName) override;

    /// The picture of an icon name of the core: the globe of "MenubarIcon" in ink, a warning
    /// triangle, or a theme icon of that name.
    static QIcon iconFor(const std::string& name, const QColor& ink);

private:
    void rebuild();
    /// Watches Qt's own windows of the icon, where it makes them (XEmbed trays).
    void watchTrayWindow();
    /// Reads the panel's colour again and redraws the icon if it asks for the other ink.
    void followPanel();

    MenuBarContent& content_;
    X11Connection& x11_;
    QMenu menu_;
    QSystemTrayIcon tray_;
    std::vector<MenuItem> items_;
    std::string iconName_;
    QColor ink_;
    std::unique_ptr<QObject> trayWindowFilter_;
};

}  // namespace lumivoke::desktop
