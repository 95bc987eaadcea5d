#pragma once

#include <QButtonGroup>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "RulesTab.h"
#include "settings/SettingsWindowController.h"

namespace lumivoke::desktop {

/// Draws the settings window's root view: the segmented tab row, the visible tab and the
/// version line. The core's views hold every state; this widget draws them and forwards clicks.
/// What a tab shows may change without a click (trust, the login item, the source list), so
/// the tab is redrawn whenever its content differs from what was last drawn, checked after each
/// click and twice a second while shown.
class SettingsWidget final : public QWidget {
public:
    explicit SettingsWidget(SettingsView& view);
    ~SettingsWidget() override;

    std::function<void()> onClose;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showTab(SettingsTab tab);
    void refresh();
    std::string contentSignature();
    /// Runs after the click that asked has returned: a redraw deletes the clicked control.
    void later(std::function<void()> fn);

    SettingsView& view_;
    QButtonGroup segments_;
    QVBoxLayout* contentLayout_ = nullptr;
    QPointer<QWidget> content_;
    QPointer<RulesTab> rulesTab_;
    std::string drawnSignature_;
    RulesScroll rulesScroll_;
    QTimer refreshTimer_;
    Token tabToken_;
};

}  // namespace lumivoke::desktop
