#include "SettingsControls.h"

#include <QCheckBox>

namespace lumivoke::desktop {

QLabel* wrappedLabel(const std::string& text, QWidget* parent) {
    auto* label = new QLabel(QString::fromStdString(text), parent);
    label->setWordWrap(true);
    return label;
}

QLabel* caption(const std::string& text, QWidget* parent) {
    auto* label = wrappedLabel(text, parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::PlaceholderText));
    label->setPalette(palette);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.9);
    label->setFont(font);
    return label;
}

void addToggle(QVBoxLayout& layout, QWidget* parent, const ToggleControl& toggle,
               const Later& later) {
    auto* box = new QCheckBox(QString::fromStdString(toggle.label), parent);
    box->setChecked(toggle.isOn);
    box->setEnabled(toggle.isEnabled);
    QObject::connect(box, &QCheckBox::toggled, parent, [set = toggle.set, later](bool on) {
        later([set, on] {
            if (set) {
                set(on);
            }
        });
    });
    layout.addWidget(box);
}

}  // namespace lumivoke::desktop
