#include "SettingsControls.h"

#include <QHBoxLayout>
#include <QSignalBlocker>

namespace lumivoke::desktop {

QLabel* wrappedLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* captionLabel(QWidget* parent) {
    auto* label = wrappedLabel(parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::PlaceholderText));
    label->setPalette(palette);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.9);
    label->setFont(font);
    return label;
}

void showText(QLabel& label, const std::optional<std::string>& text) {
    label.setText(QString::fromStdString(text.value_or("")));
    label.setVisible(text.has_value());
}

ToggleRow::ToggleRow(QWidget* parent)
    : QWidget(parent), box_(new QCheckBox(this)), caption_(captionLabel(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(box_);
    layout->addWidget(caption_);
    // Only the person's clicks, never a drawing, reach the core.
    connect(box_, &QCheckBox::clicked, this, [this](bool on) {
        if (auto set = set_) {
            set(on);
        }
    });
}

void ToggleRow::draw(const ToggleControl& toggle) {
    box_->setText(QString::fromStdString(toggle.label));
    box_->setChecked(toggle.isOn);
    box_->setEnabled(toggle.isEnabled);
    showText(*caption_, toggle.caption);
    set_ = toggle.set;
}

PickerRow::PickerRow(QWidget* parent)
    : QWidget(parent),
      label_(new QLabel(this)),
      menu_(new QComboBox(this)),
      caption_(captionLabel(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* line = new QHBoxLayout();
    line->setContentsMargins(0, 0, 0, 0);
    line->addWidget(label_);
    line->addWidget(menu_);
    line->addStretch();
    layout->addLayout(line);
    layout->addWidget(caption_);
    connect(menu_, &QComboBox::activated, this, [this](int index) {
        const std::string identifier = menu_->itemData(index).toString().toStdString();
        if (auto choose = choose_) {
            choose(identifier);
        }
    });
}

void PickerRow::draw(const PickerControl& picker) {
    label_->setText(QString::fromStdString(picker.label));
    const QSignalBlocker blocker(menu_);
    menu_->clear();
    int chosen = -1;
    for (const auto& option : picker.options) {
        menu_->addItem(QString::fromStdString(option.label),
                       QString::fromStdString(option.identifier));
        if (picker.selected == option.identifier) {
            chosen = menu_->count() - 1;
        }
    }
    menu_->setCurrentIndex(chosen);
    menu_->setEnabled(picker.isEnabled);
    showText(*caption_, picker.caption);
    choose_ = picker.choose;
}

FormWidget::FormWidget(QWidget* parent) : QWidget(parent), layout_(new QVBoxLayout(this)) {
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(6);
}

std::string FormWidget::shapeOf(const std::vector<FormSection>& sections) {
    std::string shape;
    for (const auto& section : sections) {
        shape += section.header ? 'H' : 'S';
        for (const auto& row : section.rows) {
            shape += std::holds_alternative<ToggleControl>(row) ? 't' : 'p';
        }
    }
    return shape;
}

void FormWidget::layOut(const std::vector<FormSection>& sections) {
    // Laid out anew only when the shape changes, which no click of the form itself causes:
    // still, what is dropped goes on a later turn.
    for (QLabel* header : headers_) {
        header->hide();
        header->deleteLater();
    }
    for (QWidget* row : rows_) {
        row->hide();
        row->deleteLater();
    }
    headers_.clear();
    rows_.clear();
    while (layout_->count() > 0) {
        delete layout_->takeAt(0);
    }
    bool first = true;
    for (const auto& section : sections) {
        if (!first) {
            layout_->addSpacing(10);
        }
        first = false;
        if (section.header) {
            auto* header = new QLabel(this);
            QFont bold = header->font();
            bold.setBold(true);
            header->setFont(bold);
            layout_->addWidget(header);
            headers_.push_back(header);
        }
        for (const auto& row : section.rows) {
            QWidget* widget = nullptr;
            if (std::holds_alternative<ToggleControl>(row)) {
                widget = new ToggleRow(this);
            } else {
                widget = new PickerRow(this);
            }
            layout_->addWidget(widget);
            rows_.push_back(widget);
        }
    }
}

void FormWidget::draw(const std::vector<FormSection>& sections) {
    const std::string shape = shapeOf(sections);
    if (shape != shape_) {
        layOut(sections);
        shape_ = shape;
    }
    std::size_t header = 0;
    std::size_t row = 0;
    for (const auto& section : sections) {
        if (section.header) {
            headers_[header++]->setText(QString::fromStdString(*section.header));
        }
        for (const auto& control : section.rows) {
            if (const auto* toggle = std::get_if<ToggleControl>(&control)) {
                static_cast<ToggleRow*>(rows_[row])->draw(*toggle);
            } else {
                static_cast<PickerRow*>(rows_[row])->draw(std::get<PickerControl>(control));
            }
            ++row;
        }
    }
}

}  // namespace lumivoke::desktop
