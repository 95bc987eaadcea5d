#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Trace.h"
#include "platform/Panels.h"

namespace lumivoke::sim {

/// A simulated overlay panel: it keeps its frame and visibility and traces every call.
class SimPanel final : public Panel {
public:
    SimPanel(Trace& trace, PanelSettings settings);
    ~SimPanel() override;

    void orderFrontRegardless() override;
    void orderOut() override;
    void setFrameOrigin(Point origin) override;
    void setContentSize(Size size) override;
    Rect frame() const override { return frame_; }

    const PanelSettings& settings() const { return settings_; }
    bool isVisible() const { return visible_; }

private:
    Trace& trace_;
    PanelSettings settings_;
    Rect frame_;
    bool visible_ = false;
};

/// Builds simulated panels and keeps track of the live ones.
class SimPanelFactory final {
public:
    explicit SimPanelFactory(Trace& trace) : trace_(trace) {}

    /// A new panel with these settings; it leaves the live panels when it goes.
    std::unique_ptr<Panel> create(const PanelSettings& settings);

    /// The live panels, oldest first.
    std::vector<SimPanel*> panels() const;
    /// The first live panel of that name, or null.
    SimPanel* find(const std::string& name) const;

private:
    friend class SimPanel;
    Trace& trace_;
    std::shared_ptr<std::vector<SimPanel*>> live_ = std::make_shared<std::vector<SimPanel*>>();
};

}  // namespace lumivoke::sim
