#pragma once

#include <memory>
#include <vector>

#include "Trace.h"
#include "platform/Windows.h"

namespace lumivoke::sim {

/// A simulated ordinary window: it keeps its visibility and traces every call as
/// "window NAME: …".
class SimWindow final : public Window {
public:
    SimWindow(Trace& trace, WindowSettings settings);
    ~SimWindow() override;

    void center() override;
    void setDelegate(WindowDelegate* delegate) override { delegate_ = delegate; }
    void makeKeyAndOrderFront() override;
    bool isVisible() const override { return visible_; }

    /// The person clicks the close button: the delegate hears of it, then the window hides
    /// (or is released when it is set to be).
    void performClose();

    const WindowSettings& settings() const { return settings_; }
    bool isCentered() const { return centered_; }

private:
    friend class SimWindowFactory;
    Trace& trace_;
    WindowSettings settings_;
    WindowDelegate* delegate_ = nullptr;
    bool visible_ = false;
    bool centered_ = false;
    std::shared_ptr<std::vector<SimWindow*>> live_;
};

/// Builds simulated windows and keeps track of the live ones.
class SimWindowFactory final {
public:
    explicit SimWindowFactory(Trace& trace) : trace_(trace) {}

    /// A new window with these settings, traced as created; it leaves the live windows when it
    /// goes.
    std::unique_ptr<SimWindow> create(const WindowSettings& settings);

    /// The live windows, oldest first.
    std::vector<SimWindow*> windows() const { return *live_; }
    /// The first live window of that name, or null.
    SimWindow* find(const std::string& name) const;
    /// Whether any live window is on screen.
    bool anyVisible() const;

private:
    Trace& trace_;
    std::shared_ptr<std::vector<SimWindow*>> live_ = std::make_shared<std::vector<SimWindow*>>();
};

}  // namespace lumivoke::sim
