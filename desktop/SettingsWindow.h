#pragma once

#include <QButtonGroup>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "platform/Windows.h"
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
    void buildSetup(QVBoxLayout& layout, SetupView& setup);
    void buildForm(QVBoxLayout& layout, const std::vector<FormSection>& sections);
    void buildGeneral(QVBoxLayout& layout, GeneralSettingsView& general);
    void buildRules(QVBoxLayout& layout, PerAppRulesView& rules);
    void fillRulesTable(PerAppRulesView& rules, int scroll);
    /// Runs after the click that asked has returned: a redraw deletes the clicked control.
    void later(std::function<void()> fn);

    SettingsView& view_;
    QButtonGroup segments_;
    QVBoxLayout* contentLayout_ = nullptr;
    QPointer<QWidget> content_;
    QPointer<QTreeWidget> table_;
    std::string drawnSignature_;
    std::optional<std::string> scrollTarget_;
    std::optional<std::string> scrolledTo_;
    QTimer refreshTimer_;
    Token tabToken_;
};

/// The settings window as a top-level Qt window hosting the widget above.
class QtWindow final : public Window {
public:
    QtWindow(const WindowSettings& settings, SettingsView& view);
    ~QtWindow() override;

    void center() override;
    void setDelegate(WindowDelegate* delegate) override { delegate_ = delegate; }
    void makeKeyAndOrderFront() override;
    bool isVisible() const override;

private:
    SettingsWidget widget_;
    WindowDelegate* delegate_ = nullptr;
};

class QtWindowFactory final : public WindowFactory {
public:
    std::unique_ptr<Window> createWindow(const WindowSettings& settings, HostedView& root) override;
};

}  // namespace lumivoke::desktop
