#include "QtStatusItem.h"

#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

namespace lumivoke::desktop {
namespace {

QIcon drawGlobe() {
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(QColor(230, 230, 230), 4);
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

}  // namespace

QIcon QtStatusItem::iconFor(const std::string& name) {
    if (name == "MenubarIcon") {
        return drawGlobe();
    }
    if (name == "exclamationmark.triangle.fill") {
        return QIcon::fromTheme("dialog-warning", drawWarning());
    }
    if (name == "checkmark") {
        return QIcon();
    }
    return QIcon::fromTheme(QString::fromStdString(name));
}

QtStatusItem::QtStatusItem(const std::string& iconName, MenuBarContent& content)
    : content_(content) {
    QObject::connect(&menu_, &QMenu::aboutToShow, [this] { rebuild(); });
    tray_.setContextMenu(&menu_);
    tray_.setToolTip("Lumivoke");
    QObject::connect(&tray_, &QSystemTrayIcon::activated,
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         // A plain click opens the menu too, as a menu-bar item does.
                         if (reason == QSystemTrayIcon::Trigger) {
                             menu_.popup(QCursor::pos());
                         }
                     });
    setIcon(iconName);
    tray_.show();
}

QtStatusItem::~QtStatusItem() {
    tray_.hide();
}

void QtStatusItem::setIcon(const std::string& iconName) {
    tray_.setIcon(iconFor(iconName));
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
            action->setIcon(iconFor(*item.icon));
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
