#include "SimStatusBar.h"

#include <utility>

namespace lumivoke::sim {

SimStatusItem::SimStatusItem(SimStatusBar& bar, std::string icon, MenuBarContent& menu)
    : bar_(bar), icon_(std::move(icon)), menu_(menu) {
    bar_.item_ = this;
    bar_.trace_.add("statusitem", "inserted icon=" + icon_);
}

SimStatusItem::~SimStatusItem() {
    if (bar_.item_ == this) {
        bar_.item_ = nullptr;
    }
    bar_.trace_.add("statusitem", "removed");
}

void SimStatusItem::setIcon(const std::string& iconName) {
    icon_ = iconName;
    bar_.trace_.add("statusitem", "icon=" + icon_);
}

std::unique_ptr<StatusItem> SimStatusBar::insertItem(const std::string& iconName,
                                                     MenuBarContent& menu) {
    return std::make_unique<SimStatusItem>(*this, iconName, menu);
}

}  // namespace lumivoke::sim
