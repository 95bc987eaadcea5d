#!/usr/bin/env bash
# Measures the desktop program on a real X server (Xvfb, openbox, trayer, xterm) beside the two
# bounds every X11 layout switch is held to, in one run, and writes the figures with the
# machine, the date, the load and the exact command into docs/performance.md (between its
# harness markers; the reading around them is kept).
#
#   bash bench/desktop/run.sh                 # the full run: 200 switches each, 30 s idle, ~10 min
#   bash bench/desktop/run.sh --samples 40 --idle-seconds 5 --soak-switches 200   # a quick look
#
# Arguments are passed to the harness (lumivoke_desktop_bench --help). LUMIVOKE_BENCH_NO_WRITE=1
# prints the table without touching docs/performance.md.
set -euo pipefail
cd "$(dirname "$0")/../.."

LUMIVOKE_WITH_DESKTOP=1 bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMIVOKE_BUILD_DESKTOP=ON \
  -DLUMIVOKE_BUILD_BENCH=ON -DLUMIVOKE_WERROR=ON >/dev/null
cmake --build build -j"$(nproc)" --target lumivoke lumivoke_desktop_bench
# A binary just linked sits in dirty page-cache pages, which smaps counts as the program's
# private dirty memory until they are written back.
sync

table=$(mktemp)
trap 'rm -f "$table"' EXIT
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
build/bench/lumivoke_desktop_bench --output "$table" "$@"
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

[ "${LUMIVOKE_BENCH_NO_WRITE:-0}" = 1 ] && exit 0

doc=docs/performance.md
cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')
section=$(mktemp)
{
  echo "<!-- harness:begin (written by bench/desktop/run.sh; do not edit by hand) -->"
  echo "Measured $(date -u '+%Y-%m-%d %H:%M UTC') on $(uname -sr), $(nproc) cores ($cpu),"
  echo "$(awk '/MemTotal/ {printf "%.1f GB", $2 / 1048576}' /proc/meminfo) of memory;"
  echo "load average $load_before before the run and $load_after after it."
  echo "Program at commit $(git rev-parse --short HEAD)$(git diff --quiet HEAD || echo ' (with local changes)'),"
  echo "built RelWithDebInfo. Command: \`bash bench/desktop/run.sh $*\`."
  echo
  cat "$table"
  echo "<!-- harness:end -->"
} >"$section"
if [ -f "$doc" ] && grep -q '<!-- harness:begin' "$doc"; then
  awk -v section="$section" '
    /<!-- harness:begin/ { while ((getline line < section) > 0) print line; skip = 1; next }
    /<!-- harness:end/ { skip = 0; next }
    !skip { print }
  ' "$doc" >"$doc.new"
  mv "$doc.new" "$doc"
else
  cat "$section" >>"$doc"
fi
rm -f "$section"
echo "wrote $doc"
