#include "QtOpenPanels.h"

#include <QApplication>

#include "ApplicationChooser.h"
#include "settings/LocalizedCollator.h"

namespace lumivoke::desktop {

QtOpenPanels::QtOpenPanels(const DesktopEntries& entries, LogSink& sink)
    : entries_(entries), log_(sink, "OpenPanel") {}

OpenPanelResult QtOpenPanels::runModal(const OpenPanelSettings& settings) {
    // Read afresh each time: an application installed while the program runs is there the
    // next time the chooser opens.
    const XdgEnvironment& environment = entries_.environment();
    EntryScan scan = scanApplications(environment);
    for (const auto& skipped : scan.skipped) {
        log_.debug("not an application: %{public}s", skipped);
    }
    std::vector<DesktopEntry> shown;
    for (auto& entry : scan.entries) {
        if (isShownInMenus(entry, environment)) {
            shown.push_back(std::move(entry));
        }
    }
    const LocalizedCollator collator;
    ApplicationChooserModel model(std::move(shown), [&](std::string_view a, std::string_view b) {
        return collator.compare(a, b);
    });
    std::string names;
    for (std::size_t i = 0; i < model.count(); ++i) {
        names += (i == 0 ? "" : ", ") + model.row(i).name;
    }
    log_.debug("%{public}s lists %{public}ld applications: %{public}s", settings.title,
               static_cast<long>(model.count()), names);

    ApplicationChooser chooser(model, QString::fromStdString(settings.title),
                               QString::fromStdString(settings.prompt),
                               QApplication::activeWindow());
    if (chooser.exec() != QDialog::Accepted) {
        return OpenPanelResult{0, std::nullopt};
    }
    const auto path = model.chosenPath();
    if (!path) {
        return OpenPanelResult{0, std::nullopt};
    }
    return OpenPanelResult{kModalResponseOK, *path};
}

}  // namespace lumivoke::desktop
