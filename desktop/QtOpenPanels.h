#pragma once

#include "platform/OpenPanel.h"

namespace lumivoke::desktop {

/// A Qt file dialog on the installed .desktop files.
class QtOpenPanels final : public OpenPanels {
public:
    OpenPanelResult runModal(const OpenPanelSettings& settings) override;
};

}  // namespace lumivoke::desktop
