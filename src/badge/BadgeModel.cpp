#include "badge/BadgeModel.h"

#include <algorithm>
#include <cmath>

namespace lumivoke {

BadgeView::BadgeView(BadgeModel& model) {
    modelToken_ = model.text.subscribe([this](const std::string& t) { text.set(t); });
}

BadgeModel::BadgeModel(BadgeHost& host, Screens& screens, TextMeasurement& measurement,
                       MainLoop& loop)
    : host_(host), screens_(screens), measurement_(measurement), loop_(loop) {}

// The panel goes before the view it hosts.
BadgeModel::~BadgeModel() {
    panel_.reset();
}

BadgePanel& BadgeModel::panel() {
    if (!panel_) {
        view_ = std::make_unique<BadgeView>(*this);
        panel_ = std::make_unique<BadgePanel>(host_, *view_);
        // The starting size fits no text in particular; a new panel fits the text at once, so
        // that even an empty capsule is the width the sizing rule gives.
        fitPanelToText(*panel_);
    }
    return *panel_;
}

void BadgeModel::fitPanelToText(BadgePanel& panel) {
    if (!font_) {
        font_ = measurement_.semiboldSystemFont(fontSize);
    }
    const double measured = measurement_.width(text.value(), *font_);
    panel.setContentSize({std::ceil(measured) + extraWidth, height});
}

void BadgeModel::setText(const std::string& newText) {
    text.set(newText);
    if (panel_) {
        fitPanelToText(*panel_);
    } else {
        panel();
    }
}

void BadgeModel::place(BadgePanel& panel, Point p) {
    const Point wanted{p.x + pointerOffset, p.y + pointerOffset};
    const Size size = panel.frame().size;
    for (const Screen& screen : screens_.screens()) {
        if (!screen.frame.contains(p)) {
            continue;
        }
        // Far edges first, near edges last: a badge too big to fit keeps its left and bottom
        // edges on the screen.
        const Rect& v = screen.visibleFrame;
        panel.setFrameOrigin({std::max(v.minX(), std::min(v.maxX() - size.width, wanted.x)),
                              std::max(v.minY(), std::min(v.maxY() - size.height, wanted.y))});
        return;
    }
    panel.setFrameOrigin(wanted);
}

void BadgeModel::show(const std::string& newText, Point p) {
    requireMainThread(loop_, "BadgeModel::show");
    if (newText != text.value()) {
        setText(newText);
    }
    BadgePanel& target = panel();
    place(target, p);
    if (!isVisible_) {
        target.orderFrontRegardless();
        isVisible_ = true;
    }
}

void BadgeModel::hide() {
    requireMainThread(loop_, "BadgeModel::hide");
    if (isVisible_) {
        panel_->orderOut();
        isVisible_ = false;
    }
}

}  // namespace lumivoke
