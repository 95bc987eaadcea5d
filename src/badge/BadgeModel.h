#pragma once

#include <memory>
#include <string>

#include "badge/BadgeHost.h"
#include "base/MainLoop.h"
#include "base/Published.h"
#include "overlay/FloatingPanel.h"
#include "platform/Screens.h"
#include "platform/TextMeasurement.h"

namespace lumivoke {

class BadgeModel;

/// What the badge view shows: the model's text in a small capsule, redrawn on each change.
class BadgeView final {
public:
    // The look, for the ports that draw it.
    static constexpr double fontSize = 10;  // system font, semibold, rounded design
    static constexpr double horizontalPadding = 6;
    static constexpr double verticalPadding = 2;

    explicit BadgeView(BadgeModel& model);

    /// The text shown, verbatim; published on each change.
    Published<std::string> text{std::string(), Notify::onChange};

private:
    Token modelToken_;
};

/// The panel the badge capsule is drawn in.
class BadgePanel final : public FloatingPanel {
public:
    static constexpr Rect contentRect{{0, 0}, {32, 18}};
    BadgePanel(BadgeHost& host, BadgeView& view)
        : FloatingPanel(host.hostBadge(settings("BadgePanel", contentRect), view)) {}
};

/// The hover badge: a capsule just above and right of the pointer, as wide as its text, kept
/// inside the usable area of the screen under the pointer. When to show, move and hide it is
/// the presenter's decision.
class BadgeModel {
public:
    static constexpr double fontSize = 10;
    static constexpr double height = 18;
    /// The view's padding on both sides plus a point of slack on each side.
    static constexpr double extraWidth = 12 + 2;
    /// How far right of and above the pointer the badge's bottom-left corner goes.
    static constexpr double pointerOffset = 8;

    BadgeModel(BadgeHost& host, Screens& screens, TextMeasurement& measurement, MainLoop& loop);
    ~BadgeModel();
    BadgeModel(const BadgeModel&) = delete;
    BadgeModel& operator=(const BadgeModel&) = delete;

    /// Shows or moves the badge with text at the pointer position p; main thread only.
    void show(const std::string& newText, Point p);
    /// Orders the badge out if it is in; main thread only.
    void hide();
    /// Changes the text and fits the panel to it, leaving place and visibility alone.
    void setText(const std::string& newText);

    /// What the capsule shows; subscribers hear of every change.
    Published<std::string> text{std::string(), Notify::onChange};
    /// True exactly while the panel is ordered in.
    bool isVisible() const { return isVisible_; }

    /// The panel, if it has been created.
    BadgePanel* panelIfCreated() { return panel_.get(); }
    /// The hosted view, if the panel has been created.
    BadgeView* viewIfCreated() { return view_.get(); }

private:
    BadgePanel& panel();
    void fitPanelToText(BadgePanel& panel);
    void place(BadgePanel& panel, Point p);

    BadgeHost& host_;
    Screens& screens_;
    TextMeasurement& measurement_;
    MainLoop& loop_;
    bool isVisible_ = false;
    // Made on first measurement and kept: fonts are costly to make.
    std::shared_ptr<const Font> font_;
    std::unique_ptr<BadgeView> view_;
    std::unique_ptr<BadgePanel> panel_;
};

}  // namespace lumivoke
