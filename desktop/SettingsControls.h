#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "settings/Controls.h"

// What the three tabs of the settings window draw alike. Each control is made once and then
// drawn again in place from the core's latest description of it, so a click never outlives the
// control it landed on, and a control always shows what the core says, whatever was drawn before
// (a switch that the core put back after a failure is unticked again).
namespace lumivoke::desktop {

/// A label whose text wraps.
QLabel* wrappedLabel(QWidget* parent);
/// A smaller, dimmed explanation of the control above it.
QLabel* captionLabel(QWidget* parent);
/// Sets a label's text and shows it, or hides it for none.
void showText(QLabel& label, const std::optional<std::string>& text);

/// A switch drawn as a check box, with its explanation below it.
class ToggleRow final : public QWidget {
public:
    explicit ToggleRow(QWidget* parent);
    void draw(const ToggleControl& toggle);

private:
    QCheckBox* box_;
    QLabel* caption_;
    std::function<void(bool)> set_;
};

/// A picker drawn as a label and a drop-down menu, with its explanation below them.
class PickerRow final : public QWidget {
public:
    explicit PickerRow(QWidget* parent);
    void draw(const PickerControl& picker);

private:
    QLabel* label_;
    QComboBox* menu_;
    QLabel* caption_;
    std::function<void(const std::string&)> choose_;
};

/// A form: each section's header in bold, then its rows. Drawn again in place while its shape
/// (the sections and the kinds of their rows) stays the same, which is the case for every form
/// of the settings; laid out anew otherwise.
class FormWidget final : public QWidget {
public:
    explicit FormWidget(QWidget* parent);
    void draw(const std::vector<FormSection>& sections);

private:
    static std::string shapeOf(const std::vector<FormSection>& sections);
    void layOut(const std::vector<FormSection>& sections);

    QVBoxLayout* layout_;
    std::string shape_;
    std::vector<QLabel*> headers_;
    std::vector<QWidget*> rows_;
};

}  // namespace lumivoke::desktop
