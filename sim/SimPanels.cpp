#include "SimPanels.h"

#include <algorithm>

namespace lumivoke::sim {

SimPanel::SimPanel(Trace& trace, PanelSettings settings)
    : trace_(trace), settings_(std::move(settings)), frame_(settings_.contentRect) {
    const auto& s = settings_;
    trace_.add(s.name, "created content=" + formatPoint(s.contentRect.origin) + "," +
                           formatSize(s.contentRect.size) + " style=" +
                           std::to_string(s.styleMask) + " level=" + std::to_string(s.level) +
                           " behavior=" + std::to_string(s.collectionBehavior) +
                           (s.ignoresMouseEvents ? " click-through" : "") +
                           (s.canBecomeKey ? "" : " never-key"));
}

SimPanel::~SimPanel() = default;

void SimPanel::orderFrontRegardless() {
    visible_ = true;
    trace_.add(settings_.name, "order-front");
}

void SimPanel::orderOut() {
    visible_ = false;
    trace_.add(settings_.name, "order-out");
}

void SimPanel::setFrameOrigin(Point origin) {
    frame_.origin = origin;
    trace_.add(settings_.name, "origin " + formatPoint(origin));
}

void SimPanel::setContentSize(Size size) {
    frame_.size = size;
    trace_.add(settings_.name, "size " + formatSize(size));
}

namespace {

/// Removes itself from the factory's list when the panel goes.
class ListedPanel final : public Panel {
public:
    ListedPanel(std::unique_ptr<SimPanel> panel, std::weak_ptr<std::vector<SimPanel*>> list)
        : panel_(std::move(panel)), list_(std::move(list)) {}
    ~ListedPanel() override {
        if (auto l = list_.lock()) {
            std::erase(*l, panel_.get());
        }
    }
    void orderFrontRegardless() override { panel_->orderFrontRegardless(); }
    void orderOut() override { panel_->orderOut(); }
    void setFrameOrigin(Point origin) override { panel_->setFrameOrigin(origin); }
    void setContentSize(Size size) override { panel_->setContentSize(size); }
    Rect frame() const override { return panel_->frame(); }

private:
    std::unique_ptr<SimPanel> panel_;
    std::weak_ptr<std::vector<SimPanel*>> list_;
};

}  // namespace

std::unique_ptr<Panel> SimPanelFactory::create(const PanelSettings& settings) {
    auto panel = std::make_unique<SimPanel>(trace_, settings);
    live_->push_back(panel.get());
    return std::make_unique<ListedPanel>(std::move(panel), live_);
}

std::vector<SimPanel*> SimPanelFactory::panels() const {
    return *live_;
}

SimPanel* SimPanelFactory::find(const std::string& name) const {
    for (auto* p : *live_) {
        if (p->settings().name == name) {
            return p;
        }
    }
    return nullptr;
}

}  // namespace lumivoke::sim
