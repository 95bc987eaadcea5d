#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "base/MainLoop.h"
#include "base/Published.h"
#include "base/WeakAnchor.h"
#include "overlay/FloatingPanel.h"
#include "overlay/HUDHost.h"
#include "platform/Screens.h"

namespace lumivoke {

class HUDModel;

/// What the HUD view shows: the capsule's text, if any, and how it got there, so that a port
/// can draw the right animation.
class HUDView final {
public:
    enum class Transition {
        none,
        inserted,  ///< the capsule springs in: scale from 0.4 with opacity from 0
        changed,   ///< the same capsule, new letters, no animation
        removed,   ///< the capsule fades out
    };
    struct State {
        std::optional<std::string> text;
        Transition transition = Transition::none;
    };

    // The look, for the ports that draw it.
    static constexpr double fontSize = 48;  // system font, semibold, rounded design
    static constexpr double horizontalPadding = 32;
    static constexpr double verticalPadding = 18;
    static constexpr double shadowOpacity = 0.25;
    static constexpr double shadowRadius = 12;
    static constexpr double shadowOffsetY = 4;
    static constexpr double insertionStartScale = 0.4;
    static constexpr double springResponse = 0.4;
    static constexpr double springDampingFraction = 0.45;
    static constexpr double removalFadeSeconds = 0.25;

    explicit HUDView(HUDModel& model);

    /// Published on each change of what the view shows.
    Published<State> state;

private:
    Token modelToken_;
};

/// The panel the HUD capsule is drawn in.
class HUDPanel final : public FloatingPanel {
public:
    static constexpr Rect contentRect{{0, 0}, {240, 200}};
    HUDPanel(HUDHost& host, HUDView& view)
        : FloatingPanel(host.hostHUD(settings("HUDPanel", contentRect), view)) {}
};

/// Shows a short text in a capsule in the middle of the screen under the pointer, for half a
/// second, then fades it and hides the window. A newer show replaces the text and restarts the
/// timing; stale dismissals never act.
class HUDModel {
public:
    static constexpr Duration visibleFor = std::chrono::milliseconds(500);
    static constexpr Duration hideAfterFade = std::chrono::milliseconds(300);

    HUDModel(HUDHost& host, Screens& screens, MainLoop& loop);
    ~HUDModel();
    HUDModel(const HUDModel&) = delete;
    HUDModel& operator=(const HUDModel&) = delete;

    /// Shows text; main thread only.
    void show(const std::string& newText);

    /// What the capsule shows; none means no capsule. Published on every assignment.
    Published<std::optional<std::string>> text;

    std::int64_t generation() const { return generation_; }
    /// The panel, if it has been created.
    HUDPanel* panelIfCreated() { return panel_.get(); }
    /// The hosted view, if the panel has been created.
    HUDView* viewIfCreated() { return view_.get(); }

private:
    HUDPanel& panel();
    void place(HUDPanel& panel);

    HUDHost& host_;
    Screens& screens_;
    MainLoop& loop_;
    Token dismissTask_;
    std::int64_t generation_ = 0;
    std::unique_ptr<HUDView> view_;
    std::unique_ptr<HUDPanel> panel_;
    WeakAnchor<HUDModel> anchor_{this};
};

}  // namespace lumivoke
