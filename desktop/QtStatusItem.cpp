#include "QtStatusItem.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>
#include <QStyle>
#include <QTimer>
#include <QWidget>
#include <cstring>

#include "PanelInk.h"

// Last: Xlib's macros must not meet Qt's headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace lumivoke::desktop {
namespace {

QIcon drawGlobe(const QColor& ink) {
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(ink, 4);
    p.setPen(pen);
    const QRectF r(6, 6, 52, 52);
    p.drawEllipse(r);
    p.drawEllipse(QRectF(20, 6, 24, 52));
    p.drawLine(QPointF(32, 6), QPointF(32, 58));
    p.drawLine(QPointF(6, 32), QPointF(58, 32));
    p.drawLine(QPointF(11, 19), QPointF(53, 19));
    p.drawLine(QPointF(11, 45), QPointF(53, 45));
    return QIcon(pixmap);
}

QIcon drawWarning() {
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath triangle;
    triangle.moveTo(32, 4);
    triangle.lineTo(62, 58);
    triangle.lineTo(2, 58);
    triangle.closeSubpath();
    p.fillPath(triangle, QColor(240, 170, 30));
    p.setPen(QPen(Qt::black, 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(32, 22), QPointF(32, 40));
    p.drawPoint(QPointF(32, 50));
    return QIcon(pixmap);
}

QString shortcutText(const MenuShortcut& shortcut) {
    return "Ctrl+" + QString::fromStdString(shortcut.key).toUpper();
}

/// Calls back when Qt's window of a tray icon was put somewhere: shown in a tray (also in a
/// new one, which gets a new window), moved or resized.
class TrayWindowFilter final : public QObject {
public:
    explicit TrayWindowFilter(std::function<void()> placed) : placed_(std::move(placed)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto type = event->type();
        // The type first: this sees every event of the application.
        if ((type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize) &&
            watched->isWidgetType() &&
            std::strcmp(watched->metaObject()->className(), "QSystemTrayIconSys") == 0) {
            placed_();
        }
        return false;
    }

private:
    std::function<void()> placed_;
};

/// The ink when nothing is known of the panel: the palette's text colour.
QColor defaultInk() {
    return QApplication::palette().color(QPalette::WindowText);
}

}  // namespace

QIcon QtStatusItem::iconFor(const std::string& name, const QColor& ink) {
    if (name == "MenubarIcon") {
        return drawGlobe(ink);
    }
    if (name == "exclamationmark.triangle.fill") {
        return QIcon::fromTheme("dialog-warning", drawWarning());
    }
    if (name == "checkmark") {
        return QIcon();
    }
    return QIcon::fromTheme(QString::fromStdString(name));
}

QtStatusItem::QtStatusItem(const std::string& iconName, MenuBarContent& content, X11Connection& x11)
    : content_(content), x11_(x11), iconName_(iconName), ink_(defaultInk()) {
    QObject::connect(&menu_, &QMenu::aboutToShow, [this] {
        followPanel();
        rebuild();
    });
    tray_.setContextMenu(&menu_);
    tray_.setToolTip("Lumivoke");
    QObject::connect(&tray_, &QSystemTrayIcon::activated,
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         // A plain click opens the menu too, as a menu-bar item does.
                         if (reason == QSystemTrayIcon::Trigger) {
                             menu_.popup(QCursor::pos());
                         }
                     });
    tray_.setIcon(iconFor(iconName_, ink_));
    tray_.show();
    watchTrayWindow();
}

QtStatusItem::~QtStatusItem() {
    qApp->removeEventFilter(trayWindowFilter_.get());
    tray_.hide();
}

void QtStatusItem::setIcon(const std::string& iconName) {
    iconName_ = iconName;
    tray_.setIcon(iconFor(iconName_, ink_));
}

void QtStatusItem::watchTrayWindow() {
    // Qt docks the icon in an XEmbed tray as a small window of its own, and makes a new one
    // for each new tray; with a tray that draws the icons itself there is none, and the
    // palette's text colour stays.
    trayWindowFilter_ = std::make_unique<TrayWindowFilter>([this] {
        // Once the tray has put the window in place and it has drawn itself.
        QTimer::singleShot(0, &menu_, [this] { followPanel(); });
    });
    qApp->installEventFilter(trayWindowFilter_.get());
}

void QtStatusItem::followPanel() {
    Display* dpy = x11_.display();
    const QRect area = tray_.geometry();
    if (dpy == nullptr || !tray_.isVisible() || area.width() < 4 || area.height() < 4) {
        return;
    }
    // The icon's corners: the globe leaves them to the panel.
    XImage* image =
        XGetImage(dpy, x11_.root(), area.x(), area.y(), static_cast<unsigned>(area.width()),
                  static_cast<unsigned>(area.height()), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return;
    }
    std::vector<std::uint32_t> corners;
    for (const int y : {0, 1, area.height() - 2, area.height() - 1}) {
        for (const int x : {0, 1, area.width() - 2, area.width() - 1}) {
            corners.push_back(static_cast<std::uint32_t>(XGetPixel(image, x, y) & 0xffffff));
        }
    }
    XDestroyImage(image);
    const QPalette palette = QApplication::palette();
    const std::uint32_t ink =
        contrastingInk(panelColour(corners), palette.color(QPalette::WindowText).rgb() & 0xffffff,
                       palette.color(QPalette::Window).rgb() & 0xffffff);
    const QColor colour = QColor::fromRgb(static_cast<QRgb>(ink));
    if (colour != ink_) {
        ink_ = colour;
        tray_.setIcon(iconFor(iconName_, ink_));
    }
}

void QtStatusItem::rebuild() {
    menu_.clear();
    items_ = content_.items();
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const MenuItem& item = items_[i];
        if (item.kind == MenuItem::Kind::divider) {
            menu_.addSeparator();
            continue;
        }
        QAction* action = menu_.addAction(QString::fromStdString(item.title));
        if (item.kind == MenuItem::Kind::source) {
            // A check mark before the current source and nothing before the others: a
            // checkable action that is not checked would show an empty box.
            const bool current = item.icon == std::optional<std::string>("checkmark");
            action->setCheckable(current);
            action->setChecked(current);
        } else if (item.icon) {
            action->setIcon(iconFor(*item.icon, menu_.palette().color(QPalette::Text)));
        }
        if (item.shortcut) {
            action->setShortcut(QKeySequence(shortcutText(*item.shortcut)));
            action->setShortcutVisibleInContextMenu(true);
        }
        QObject::connect(action, &QAction::triggered, &menu_, [this, i] {
            // A copy: the action may reopen the menu, which rebuilds the items.
            const auto fn = items_.at(i).action;
            if (fn) {
                fn();
            }
        });
    }
}

}  // namespace lumivoke::desktop
