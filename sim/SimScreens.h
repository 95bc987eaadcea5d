#pragma once

#include <optional>
#include <vector>

#include "platform/Screens.h"

namespace lumivoke::sim {

/// The simulated displays and pointer. The main screen is the first one unless a scenario
/// says there is none.
class SimScreens final : public Screens {
public:
    void add(Screen s) { screens_.push_back(s); }
    void clear() { screens_.clear(); }
    void setNoMainScreen(bool none) { noMainScreen_ = none; }
    void setPointer(Point p) { pointer_ = p; }

    std::vector<Screen> screens() override { return screens_; }
    std::optional<Screen> mainScreen() override {
        if (noMainScreen_ || screens_.empty()) {
            return std::nullopt;
        }
        return screens_.front();
    }
    Point mouseLocation() override { return pointer_; }

private:
    std::vector<Screen> screens_;
    bool noMainScreen_ = false;
    Point pointer_;
};

}  // namespace lumivoke::sim
