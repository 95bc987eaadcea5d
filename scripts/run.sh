#!/usr/bin/env bash
# Builds Lumivoke and runs it: the desktop application when an X11 display is present and the
# desktop port is built, otherwise the simulator on the bundled demo scenario.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target lumivoke-sim >/dev/null

if [ -n "${DISPLAY:-}" ] && [ -x build/desktop/lumivoke ]; then
  exec build/desktop/lumivoke
fi
[ -n "${DISPLAY:-}" ] && echo "(The desktop port is not part of this build; running the simulator.)" >&2
exec build/sim/simulator/lumivoke-sim examples/demo.scn
