#include "GeneralTab.h"

#include <sstream>

namespace lumivoke::desktop {

std::string GeneralTab::signature(GeneralSettingsView& view) {
    std::ostringstream s;
    s << "general";
    for (const auto& t : view.toggles()) {
        s << '|' << t.label << t.isOn << t.isEnabled;
    }
    return s.str();
}

GeneralTab::GeneralTab(GeneralSettingsView& general, const Later& later, QWidget* parent)
    : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 12, 0, 0);
    for (const auto& toggle : general.toggles()) {
        addToggle(*layout, this, toggle, later);
        if (toggle.label == GeneralSettingsView::hoverBadgeLabel) {
            layout->addWidget(caption(GeneralSettingsView::hoverBadgeCaption, this));
        } else if (toggle.label == GeneralSettingsView::menubarIconLabel) {
            layout->addWidget(caption(GeneralSettingsView::menubarCaption, this));
        }
        layout->addSpacing(8);
    }
    layout->addStretch();
}

}  // namespace lumivoke::desktop
