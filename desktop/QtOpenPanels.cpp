#include "QtOpenPanels.h"

#include <QFileDialog>

namespace lumivoke::desktop {

OpenPanelResult QtOpenPanels::runModal(const OpenPanelSettings& settings) {
    QFileDialog dialog(nullptr, QString::fromStdString(settings.title),
                       QStringLiteral("/usr/share/applications"),
                       QStringLiteral("Applications (*.desktop)"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setLabelText(QFileDialog::Accept, QString::fromStdString(settings.prompt));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return OpenPanelResult{0, std::nullopt};
    }
    return OpenPanelResult{kModalResponseOK, dialog.selectedFiles().front().toStdString()};
}

}  // namespace lumivoke::desktop
