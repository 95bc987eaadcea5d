#!/usr/bin/env bash
# Installs what the build needs on Debian 12, asking apt only for what is missing.
#   LUMIVOKE_WITH_DESKTOP=1  also the X11 + Qt 6 desktop port's libraries (the journal's
#                            among them) and the data it reads (the XKB registry, the ISO
#                            language codes), and the desktop its end-to-end tests run on: a
#                            virtual X server, a window manager, a tray host, a compositing
#                            manager, a terminal, a cursor theme and the tools the tests call;
#                            and what drawing the icons and building the package need
#   LUMIVOKE_WITH_XVFB=1     also the tools to try the desktop port by hand on a virtual display
#   LUMIVOKE_WITH_FUZZ=1     also clang and its runtime for the fuzz targets
set -euo pipefail

packages=(cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          nlohmann-json3-dev libicu-dev clang-format)
if [ "${LUMIVOKE_WITH_DESKTOP:-0}" = 1 ]; then
  packages+=(qt6-base-dev qt6-svg-dev libx11-dev libxi-dev libxfixes-dev libxcursor-dev libxtst-dev
             libxkbregistry-dev xkb-data iso-codes libsystemd-dev librsvg2-bin
             dpkg-dev desktop-file-utils groff-base
             xvfb xauth openbox trayer xcompmgr xterm wmctrl x11-xkb-utils x11-utils imagemagick
             adwaita-icon-theme fonts-dejavu-core qt6-gtk-platformtheme)
fi
if [ "${LUMIVOKE_WITH_XVFB:-0}" = 1 ]; then
  packages+=(xvfb xauth xdotool x11-xkb-utils imagemagick)
fi
if [ "${LUMIVOKE_WITH_FUZZ:-0}" = 1 ]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Please run as root or install sudo." >&2; exit 1; }
  as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
