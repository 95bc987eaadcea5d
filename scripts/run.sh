#!/usr/bin/env bash
# Builds Lumivoke and runs it: the desktop application when an X11 display is present,
# otherwise the simulator on the bundled demo scenario.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -n "${DISPLAY:-}" ]; then
  LUMIVOKE_WITH_DESKTOP=1 bash scripts/setup.sh
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMIVOKE_BUILD_DESKTOP=ON >/dev/null
  cmake --build build -j"$(nproc)" --target lumivoke >/dev/null
  exec build/desktop/lumivoke
fi

bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target lumivoke-sim >/dev/null
exec build/sim/simulator/lumivoke-sim examples/demo.scn
