#include "QtScreens.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace lumivoke::desktop {
namespace {

Screen toScreen(const QScreen& screen, const TopLeftRect& primary) {
    return Screen{toCoreRect(QtScreens::topLeft(screen.geometry()), primary),
                  toCoreRect(QtScreens::topLeft(screen.availableGeometry()), primary)};
}

}  // namespace

TopLeftRect QtScreens::topLeft(const QRect& r) {
    return TopLeftRect{static_cast<double>(r.x()), static_cast<double>(r.y()),
                       static_cast<double>(r.width()), static_cast<double>(r.height())};
}

TopLeftRect QtScreens::primaryRect() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary != nullptr ? topLeft(primary->geometry()) : TopLeftRect{};
}

std::vector<Screen> QtScreens::screens() {
    const auto primary = primaryRect();
    std::vector<Screen> result;
    // The primary display first: it is the one the core's coordinates start from.
    if (const QScreen* p = QGuiApplication::primaryScreen()) {
        result.push_back(toScreen(*p, primary));
    }
    for (const QScreen* s : QGuiApplication::screens()) {
        if (s != QGuiApplication::primaryScreen()) {
            result.push_back(toScreen(*s, primary));
        }
    }
    return result;
}

QPoint QtScreens::pointer() {
    if (activity_.isWatching() && pointerAt_ == activity_.changes()) {
        return pointer_;
    }
    // The count first: a motion reported while the server answers counts as after the read.
    const auto at = activity_.changes();
    pointer_ = QCursor::pos();
    pointerAt_ = activity_.isWatching() ? std::optional(at) : std::nullopt;
    return pointer_;
}

std::optional<Screen> QtScreens::mainScreen() {
    const QScreen* s = QGuiApplication::screenAt(pointer());
    if (s == nullptr) {
        s = QGuiApplication::primaryScreen();
    }
    if (s == nullptr) {
        return std::nullopt;
    }
    return toScreen(*s, primaryRect());
}

Point QtScreens::mouseLocation() {
    const QPoint p = pointer();
    return toCorePoint(p.x(), p.y(), primaryRect());
}

}  // namespace lumivoke::desktop
