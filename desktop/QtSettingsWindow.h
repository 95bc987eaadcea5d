#pragma once

#include "SettingsWidget.h"
#include "platform/Windows.h"

namespace lumivoke::desktop {

/// The settings window as a top-level Qt window drawing the settings' root view.
class QtSettingsWindow final : public Window {
public:
    QtSettingsWindow(const WindowSettings& settings, SettingsView& view);
    ~QtSettingsWindow() override;

    void center() override;
    void setDelegate(WindowDelegate* delegate) override { delegate_ = delegate; }
    void makeKeyAndOrderFront() override;
    bool isVisible() const override;

private:
    SettingsWidget widget_;
    WindowDelegate* delegate_ = nullptr;
};

}  // namespace lumivoke::desktop
