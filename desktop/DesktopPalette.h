#pragma once

namespace lumivoke::desktop {

/// Follows the desktop's colour scheme where Qt does not already: when the desktop asks for
/// dark colours (GTK_THEME) and no platform theme of Qt's supplies a palette, the program's
/// windows use the Fusion style in dark colours. Call after the QApplication exists.
void followDesktopColourScheme();

}  // namespace lumivoke::desktop
