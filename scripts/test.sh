#!/usr/bin/env bash
# Builds everything, the desktop port included, with warnings as errors and runs every test.
# LUMIVOKE_SANITIZE=1 builds the core, the simulator and their tests under AddressSanitizer and
# UndefinedBehaviorSanitizer instead (in build-sanitize/).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${LUMIVOKE_SANITIZE:-0}" = 1 ]; then
  bash scripts/setup.sh
  dir=build-sanitize
  flags=(-DCMAKE_BUILD_TYPE=Debug -DLUMIVOKE_SANITIZE=ON)
else
  LUMIVOKE_WITH_DESKTOP=1 bash scripts/setup.sh
  dir=build
  flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMIVOKE_BUILD_DESKTOP=ON -DLUMIVOKE_BUILD_BENCH=ON)
fi
cmake -S . -B "$dir" "${flags[@]}" -DLUMIVOKE_WERROR=ON >/dev/null
cmake --build "$dir" -j"$(nproc)"
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
