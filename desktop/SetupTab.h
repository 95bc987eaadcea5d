#pragma once

#include <QWidget>
#include <string>

#include "SettingsControls.h"
#include "settings/SetupView.h"

namespace lumivoke::desktop {

/// Draws the Setup tab: the heading and one row per prerequisite, with its state, explanation
/// and button.
class SetupTab final : public QWidget {
public:
    SetupTab(SetupView& view, const Later& later, QWidget* parent);

    /// What the tab shows, to tell whether it must be drawn again.
    static std::string signature(SetupView& view);
};

}  // namespace lumivoke::desktop
