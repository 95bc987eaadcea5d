#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test.
# LUMIVOKE_SANITIZE=1 builds and runs under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
if [ "${LUMIVOKE_SANITIZE:-0}" = 1 ]; then
  dir=build-sanitize
  flags=(-DCMAKE_BUILD_TYPE=Debug -DLUMIVOKE_SANITIZE=ON)
else
  dir=build
  flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
fi
cmake -S . -B "$dir" "${flags[@]}" -DLUMIVOKE_WERROR=ON -DLUMIVOKE_BUILD_BENCH=ON >/dev/null
cmake --build "$dir" -j"$(nproc)"
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
