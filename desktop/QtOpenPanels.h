#pragma once

#include "DesktopEntries.h"
#include "base/Logger.h"
#include "platform/OpenPanel.h"

namespace lumivoke::desktop {

/// The open panel of a Linux desktop: choosing an application means choosing one of the
/// installed applications by name (the application chooser), not a desktop entry file by its
/// file name. What is chosen is handed over as the file's path, as an open panel does.
class QtOpenPanels final : public OpenPanels {
public:
    QtOpenPanels(const DesktopEntries& entries, LogSink& sink);
    OpenPanelResult runModal(const OpenPanelSettings& settings) override;

private:
    const DesktopEntries& entries_;
    Logger log_;
};

}  // namespace lumivoke::desktop
