#include "overlay/HUDModel.h"

#include "base/SleepingTask.h"

namespace lumivoke {

HUDView::HUDView(HUDModel& model) {
    modelToken_ = model.text.subscribe([this](const std::optional<std::string>& text) {
        const State& previous = state.value();
        if (!text && !previous.text) {
            return;
        }
        State next;
        next.text = text;
        if (!text) {
            next.transition = Transition::removed;
        } else if (!previous.text) {
            next.transition = Transition::inserted;
        } else {
            next.transition = Transition::changed;
        }
        state.set(std::move(next));
    });
}

HUDModel::HUDModel(HUDHost& host, Screens& screens, MainLoop& loop)
    : host_(host), screens_(screens), loop_(loop) {}

// The panel goes before the view it hosts.
HUDModel::~HUDModel() {
    panel_.reset();
}

HUDPanel& HUDModel::panel() {
    if (!panel_) {
        view_ = std::make_unique<HUDView>(*this);
        panel_ = std::make_unique<HUDPanel>(host_, *view_);
    }
    return *panel_;
}

void HUDModel::place(HUDPanel& panel) {
    const Point pointer = screens_.mouseLocation();
    const auto screens = screens_.screens();
    if (screens.empty()) {
        return;
    }
    const Screen* chosen = &screens.front();
    for (const auto& s : screens) {
        if (s.frame.contains(pointer)) {
            chosen = &s;
            break;
        }
    }
    const Rect frame = panel.frame();
    const Rect& visible = chosen->visibleFrame;
    panel.setFrameOrigin(
        {visible.midX() - frame.size.width * 0.5, visible.midY() - frame.size.height * 0.5});
}

void HUDModel::show(const std::string& newText) {
    requireMainThread(loop_, "HUDModel::show");
    const std::int64_t myGeneration = ++generation_;
    HUDPanel& p = panel();
    place(p);
    p.orderFrontRegardless();
    text.set(newText);
    dismissTask_.cancel();
    auto self = anchor_.weak();
    dismissTask_ = startSleepingTask(
        loop_, {{visibleFor,
                 [self, myGeneration] {
                     if (HUDModel* m = self.lock(); m && m->generation_ == myGeneration) {
                         m->text.set(std::nullopt);
                     }
                 }},
                {hideAfterFade, [self, myGeneration] {
                     if (HUDModel* m = self.lock(); m && m->generation_ == myGeneration) {
                         m->panel().orderOut();
                     }
                 }}});
}

}  // namespace lumivoke
