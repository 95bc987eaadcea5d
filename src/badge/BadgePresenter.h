#pragma once

#include <optional>
#include <string>

#include "badge/BadgeModel.h"
#include "badge/CursorTypeMonitor.h"
#include "base/WeakAnchor.h"
#include "platform/Platform.h"
#include "sources/LanguageSwitcher.h"

namespace lumivoke {

/// The hover badge as a feature: while enabled, the current source's code follows the pointer
/// over text, and typing hides it until the pointer moves again.
class BadgePresenter {
public:
    BadgePresenter(LanguageSwitcher& switcher, Platform& platform, BadgeHost& host);
    ~BadgePresenter();
    BadgePresenter(const BadgePresenter&) = delete;
    BadgePresenter& operator=(const BadgePresenter&) = delete;

    bool isEnabled() const { return isEnabled_; }
    /// Switches the feature; a different value starts, or stops and hides, the badge.
    void setEnabled(bool on);
    /// Reports one typing key press: a shown badge hides until the pointer moves again.
    void userDidType();

    bool isUserTyping() const { return isUserTyping_; }
    BadgeModel& model() { return model_; }
    CursorTypeMonitor& cursorMonitor() { return cursorMonitor_; }

    /// The badge text for a source: its short code, or nothing without a source.
    static std::string textFor(const std::optional<InputSource>& source);

private:
    void pointerOverText(Point p);
    void sourceChanged(const std::optional<InputSource>& source);

    BadgeModel model_;
    bool isEnabled_ = false;
    CursorTypeMonitor cursorMonitor_;
    LanguageSwitcher& languageSwitcher_;
    Token currentSourceCancellable_;
    bool isUserTyping_ = false;
    WeakAnchor<BadgePresenter> anchor_{this};
};

}  // namespace lumivoke
