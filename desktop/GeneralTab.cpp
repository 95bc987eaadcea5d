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
    addForm(*layout, this, general.sections(), later);
    layout->addStretch();
}

}  // namespace lumivoke::desktop
