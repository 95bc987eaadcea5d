#pragma once

#include <QButtonGroup>
#include <QStackedWidget>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

#include "GeneralTab.h"
#include "RulesTab.h"
#include "SetupTab.h"
#include "settings/SettingsView.h"

namespace lumivoke::desktop {

/// Draws the settings window's root view: the segmented tab row, the visible tab and the
/// version line. The core's views hold every state; this widget draws them and forwards clicks.
/// Each tab is drawn when its view says that what it shows changed, and only while it is on
/// screen: a tab that changed meanwhile is drawn when it comes on screen. Nothing is polled, so
/// a closed window costs nothing.
class SettingsWidget final : public QWidget {
public:
    explicit SettingsWidget(SettingsView& view);

    std::function<void()> onClose;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    /// The tab's view changed: draw it now if it is on screen, else when it comes on screen.
    void changed(SettingsTab tab);
    void showTab(SettingsTab tab);
    void drawIfStale(SettingsTab tab);
    void draw(SettingsTab tab);
    static std::size_t indexOf(SettingsTab tab);

    SettingsView& view_;
    QButtonGroup segments_;
    QStackedWidget* stack_;
    SetupTab* setup_;
    GeneralTab* general_;
    RulesTab* rules_;
    std::array<bool, 3> stale_{true, true, true};
    std::vector<Token> tokens_;
};

}  // namespace lumivoke::desktop
