#pragma once

#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>
#include <vector>

#include "app/MenuBarContent.h"
#include "platform/StatusBar.h"

namespace lumivoke::desktop {

/// The menu-bar item as a system tray icon whose menu is rebuilt from the core's menu content
/// each time it opens.
class QtStatusItem final : public StatusItem {
public:
    QtStatusItem(const std::string& iconName, MenuBarContent& content);
    ~QtStatusItem() override;
    void setIcon(const std::string& iconName) override;

    /// The picture of an icon name of the core: the globe of "MenubarIcon", a warning triangle,
    /// or a theme icon of that name.
    static QIcon iconFor(const std::string& name);

private:
    void rebuild();

    MenuBarContent& content_;
    QMenu menu_;
    QSystemTrayIcon tray_;
    std::vector<MenuItem> items_;
};

}  // namespace lumivoke::desktop
