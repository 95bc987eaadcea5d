#pragma once

#include <QWidget>
#include <string>

#include "SettingsControls.h"
#include "settings/GeneralSettingsView.h"

namespace lumivoke::desktop {

/// Draws the General tab: its switches, each with its explanation.
class GeneralTab final : public QWidget {
public:
    GeneralTab(GeneralSettingsView& view, const Later& later, QWidget* parent);

    /// What the tab shows, to tell whether it must be drawn again.
    static std::string signature(GeneralSettingsView& view);
};

}  // namespace lumivoke::desktop
