#pragma once

#include <QDialog>

#include "ApplicationChooserModel.h"

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QStackedWidget;

namespace lumivoke::desktop {

class ChooserListModel;

/// The window of the application chooser: a filter field above the installed applications and
/// the add and cancel buttons below. It draws an ApplicationChooserModel and passes what the
/// person does to it: typing filters (wherever the focus is), the arrow and page keys move the
/// selection, Enter or a double click adds, Escape cancels.
class ApplicationChooser final : public QDialog {
public:
    ApplicationChooser(ApplicationChooserModel& model, const QString& title,
                       const QString& addTitle, QWidget* parent);
    ~ApplicationChooser() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void filterChanged(const QString& text);
    /// Shows the model's rows, or its placeholder, and its selection.
    void showRows();
    void showSelection();
    /// Rows in one page of the list, for Page Up and Page Down.
    int pageRows() const;
    void addIfChosen();

    ApplicationChooserModel& model_;
    ChooserListModel* rows_;
    QLineEdit* filter_;
    QStackedWidget* stack_;
    QListView* list_;
    QLabel* placeholder_;
    QPushButton* add_;
    bool showing_ = false;
};

}  // namespace lumivoke::desktop
