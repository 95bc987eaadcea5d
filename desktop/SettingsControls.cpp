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

void addForm(QVBoxLayout& layout, QWidget* parent, const std::vector<FormSection>& sections,
             const Later& later) {
    for (const auto& section : sections) {
        if (section.header) {
            auto* header = new QLabel(QString::fromStdString(*section.header), parent);
            QFont bold = header->font();
            bold.setBold(true);
            header->setFont(bold);
            layout.addWidget(header);
        }
        for (const auto& row : section.rows) {
            if (const auto* toggle = std::get_if<ToggleControl>(&row)) {
                addToggle(layout, parent, *toggle, later);
            } else if (const auto* text = std::get_if<CaptionText>(&row)) {
                layout.addWidget(caption(text->text, parent));
            }
        }
        layout.addSpacing(8);
    }
}

}  // namespace lumivoke::desktop
