#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <functional>

#include "SetupIllustration.h"
#include "settings/SetupView.h"

namespace lumivoke::desktop {

/// A prerequisite's state: a green check mark or an orange exclamation mark in a disc.
class SetupStatusIcon final : public QWidget {
public:
    explicit SetupStatusIcon(QWidget* parent);
    /// The core's symbol and colour names.
    void draw(const std::string& symbol, const std::string& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool isCheckMark_ = false;
    QColor color_;
};

/// One prerequisite: its state, title and explanation, and while it is missing its
/// illustration and the button the core gives it, if any.
class SetupRowWidget final : public QWidget {
public:
    explicit SetupRowWidget(QWidget* parent);
    void draw(const SetupRow& row);

private:
    SetupStatusIcon* status_;
    QLabel* title_;
    QLabel* explanation_;
    SetupIllustration* illustration_;
    QPushButton* button_;
    std::function<void()> action_;
};

/// Draws the Setup tab: the heading and one row per prerequisite.
class SetupTab final : public QWidget {
public:
    SetupTab(SetupView& view, QWidget* parent);
    /// Draws what the view shows now.
    void draw();

private:
    SetupView& view_;
    QLabel* heading_;
    QLabel* subheading_;
    std::array<SetupRowWidget*, 2> rows_{};
};

}  // namespace lumivoke::desktop
