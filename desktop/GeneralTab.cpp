#include "GeneralTab.h"

namespace lumivoke::desktop {

GeneralTab::GeneralTab(GeneralSettingsView& view, QWidget* parent)
    : QWidget(parent), view_(view), form_(new FormWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 12, 0, 0);
    layout->addWidget(form_);
    layout->addStretch();
}

void GeneralTab::draw() {
    form_->draw(view_.sections());
}

}  // namespace lumivoke::desktop
