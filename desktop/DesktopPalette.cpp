#include "DesktopPalette.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>
#include <cstdlib>

#include "ColourScheme.h"

namespace lumivoke::desktop {
namespace {

QPalette darkPalette() {
    QPalette p;
    const QColor window(0x2b, 0x2d, 0x31);
    const QColor base(0x1f, 0x21, 0x24);
    const QColor text(0xe8, 0xea, 0xed);
    const QColor dimmed(0x8c, 0x91, 0x99);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, QColor(0x27, 0x29, 0x2d));
    p.setColor(QPalette::ToolTipBase, window);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, dimmed);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(0x36, 0x39, 0x3e));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, QColor(0xff, 0x6b, 0x6b));
    p.setColor(QPalette::Light, QColor(0x45, 0x48, 0x4e));
    p.setColor(QPalette::Midlight, QColor(0x3c, 0x3f, 0x44));
    p.setColor(QPalette::Mid, QColor(0x4a, 0x4e, 0x55));
    p.setColor(QPalette::Dark, QColor(0x18, 0x19, 0x1c));
    p.setColor(QPalette::Shadow, QColor(0x0c, 0x0d, 0x0e));
    p.setColor(QPalette::Highlight, QColor(0x3d, 0x7e, 0xd8));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(0x6c, 0xa8, 0xff));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        p.setColor(QPalette::Disabled, role, QColor(0x6b, 0x6f, 0x76));
    }
    p.setColor(QPalette::Disabled, QPalette::PlaceholderText, QColor(0x5c, 0x60, 0x66));
    p.setColor(QPalette::Disabled, QPalette::Base, window);
    return p;
}

}  // namespace

void followDesktopColourScheme() {
    if (!prefersDarkColours(std::getenv("GTK_THEME"))) {
        return;
    }
    // A platform theme of Qt's (a desktop's own, or QT_QPA_PLATFORMTHEME=gtk3) may have given
    // the desktop's dark palette already; only where none did does the program follow alone.
    if (QApplication::palette().color(QPalette::Window).lightness() < 128) {
        return;
    }
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(darkPalette());
}

}  // namespace lumivoke::desktop
