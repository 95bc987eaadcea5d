#pragma once

#include <memory>
#include <string>

#include "Trace.h"
#include "platform/StatusBar.h"

namespace lumivoke {
class MenuBarContent;
}  // namespace lumivoke

namespace lumivoke::sim {

class SimStatusBar;

/// One simulated menu-bar item.
class SimStatusItem final : public StatusItem {
public:
    SimStatusItem(SimStatusBar& bar, std::string icon, MenuBarContent& menu);
    ~SimStatusItem() override;
    void setIcon(const std::string& iconName) override;
    const std::string& icon() const { return icon_; }
    MenuBarContent& menu() { return menu_; }

private:
    SimStatusBar& bar_;
    std::string icon_;
    MenuBarContent& menu_;
};

/// The simulated menu bar, with at most the application's one item.
class SimStatusBar final {
public:
    explicit SimStatusBar(Trace& trace) : trace_(trace) {}
    std::unique_ptr<StatusItem> insertItem(const std::string& iconName, MenuBarContent& menu);
    /// The item in the bar, or null.
    SimStatusItem* item() const { return item_; }

private:
    friend class SimStatusItem;
    Trace& trace_;
    SimStatusItem* item_ = nullptr;
};

}  // namespace lumivoke::sim
