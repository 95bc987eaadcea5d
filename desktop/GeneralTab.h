#pragma once

#include <QWidget>

#include "SettingsControls.h"
#include "settings/GeneralSettingsView.h"

namespace lumivoke::desktop {

/// Draws the General tab: its switches, each with its explanation.
class GeneralTab final : public QWidget {
public:
    GeneralTab(GeneralSettingsView& view, QWidget* parent);
    /// Draws what the view shows now.
    void draw();

private:
    GeneralSettingsView& view_;
    FormWidget* form_;
};

}  // namespace lumivoke::desktop
