#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "Trace.h"
#include "platform/Windows.h"

namespace lumivoke::sim {

/// A simulated ordinary window: it keeps its visibility and traces every call as
/// "window NAME: …".
class SimWindow final : public Window {
public:
    SimWindow(Trace& trace, WindowSettings settings, HostedView& root);
    ~SimWindow() override;

    void center() override;
    void setDelegate(WindowDelegate* delegate) override { delegate_ = delegate; }
    void makeKeyAndOrderFront() override;
    bool isVisible() const override { return visible_; }

    /// The person clicks the close button: the delegate hears of it, then the window hides
    /// (or is released when it is set to be).
    void performClose();

    const WindowSettings& settings() const { return settings_; }
    HostedView& root() { return root_; }
    bool isCentered() const { return centered_; }

private:
    friend class SimWindowFactory;
    Trace& trace_;
    WindowSettings settings_;
    HostedView& root_;
    WindowDelegate* delegate_ = nullptr;
    bool visible_ = false;
    bool centered_ = false;
    std::shared_ptr<std::vector<SimWindow*>> live_;
};

/// Builds simulated windows; the simulator hooks in to trace what their views show.
class SimWindowFactory final : public WindowFactory {
public:
    explicit SimWindowFactory(Trace& trace) : trace_(trace) {}

    std::unique_ptr<Window> createWindow(const WindowSettings& settings, HostedView& root) override;

    /// Called for every new window with the view it hosts.
    std::function<void(SimWindow&, HostedView&)> onCreated;
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
