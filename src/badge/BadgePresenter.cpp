#include "badge/BadgePresenter.h"

namespace lumivoke {

BadgePresenter::BadgePresenter(LanguageSwitcher& switcher, Platform& platform, BadgeHost& host)
    : model_(host, platform.screens, platform.textMeasurement, platform.loop),
      cursorMonitor_(platform.cursor, platform.displayLinks, platform.screens, platform.logSink),
      languageSwitcher_(switcher) {
    cursorMonitor_.onIBeam =
        bindWeak(anchor_.weak(), [](BadgePresenter& self, Point p) { self.pointerOverText(p); });
    cursorMonitor_.onLeaveIBeam =
        bindWeak(anchor_.weak(), [](BadgePresenter& self) { self.model_.hide(); });
    // Delivered on a later turn, never inside the assignment, so a switch completes before the
    // badge redraws.
    currentSourceCancellable_ = switcher.currentSource.subscribe(
        platform.loop,
        bindWeak(anchor_.weak(), [](BadgePresenter& self, const std::optional<InputSource>& s) {
            self.sourceChanged(s);
        }));
}

BadgePresenter::~BadgePresenter() {
    cursorMonitor_.stop();
}

std::string BadgePresenter::textFor(const std::optional<InputSource>& source) {
    return source ? shortCode(*source) : std::string();
}

void BadgePresenter::setEnabled(bool on) {
    if (on == isEnabled_) {
        return;
    }
    isEnabled_ = on;
    if (on) {
        cursorMonitor_.start();
    } else {
        cursorMonitor_.stop();
        model_.hide();
    }
}

void BadgePresenter::userDidType() {
    if (isEnabled_ && !isUserTyping_) {
        isUserTyping_ = true;
        model_.hide();
    }
}

void BadgePresenter::pointerOverText(Point p) {
    // The only way out of typing suppression: the pointer moved, or came back to text.
    isUserTyping_ = false;
    model_.show(textFor(*languageSwitcher_.currentSource), p);
}

void BadgePresenter::sourceChanged(const std::optional<InputSource>& source) {
    // A hidden badge picks the current source up when it next shows.
    if (!model_.isVisible()) {
        return;
    }
    const std::string newText = textFor(source);
    if (newText == model_.text.value()) {
        return;
    }
    // Resized in place: the badge moves only with the pointer.
    model_.setText(newText);
}

}  // namespace lumivoke
