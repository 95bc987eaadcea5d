#pragma once

#include <QLabel>
#include <QVBoxLayout>
#include <functional>
#include <string>
#include <vector>

#include "settings/Controls.h"

// What the three tabs of the settings window draw alike.
namespace lumivoke::desktop {

/// Runs work after the click that asked for it has returned, then redraws the tab: a redraw
/// deletes the control that was clicked.
using Later = std::function<void(std::function<void()>)>;

/// A label whose text wraps.
QLabel* wrappedLabel(const std::string& text, QWidget* parent);
/// A smaller, dimmed explanation of the control above it.
QLabel* caption(const std::string& text, QWidget* parent);
/// A check box drawing toggle; flipping it sets the toggle later.
void addToggle(QVBoxLayout& layout, QWidget* parent, const ToggleControl& toggle,
               const Later& later);
/// A form's sections in order: each header in bold, then its switches and captions.
void addForm(QVBoxLayout& layout, QWidget* parent, const std::vector<FormSection>& sections,
             const Later& later);

}  // namespace lumivoke::desktop
