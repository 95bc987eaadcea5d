#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (in build-fuzz/) and runs each for SECONDS (30 by
# default), starting from its seed corpus with its dictionary; fuzz/README.md says how to run
# one for longer. New inputs collect in build-fuzz/corpus/TARGET, so a second run goes on
# where the first stopped. A crash, a leak, a timeout or running out of memory fails the script
# and leaves the input that did it in build-fuzz/artifacts/, named in the output with the
# command that reproduces it.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-30}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: scripts/fuzz.sh [SECONDS]  (a whole number of seconds per target, default 30)" >&2
  exit 2
fi

LUMIVOKE_WITH_FUZZ=1 bash scripts/setup.sh

dir=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLUMIVOKE_BUILD_FUZZ=ON -DLUMIVOKE_BUILD_TESTS=OFF -DLUMIVOKE_WERROR=ON >/dev/null

# target, dictionary, seed directories
targets=(
  "rules_decoding_fuzzer|fuzz/rules.dict|fuzz/corpus/rules"
  "key_events_fuzzer|fuzz/key-events.dict|fuzz/corpus/key-events"
  "scenario_parser_fuzzer|fuzz/scenario.dict|fuzz/corpus/scenario tests/scenarios examples"
)
names=()
for t in "${targets[@]}"; do names+=("${t%%|*}"); done
cmake --build "$dir" -j"$(nproc)" --target "${names[@]}"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
failed=0
summary=()
for t in "${targets[@]}"; do
  IFS='|' read -r name dict seeds <<<"$t"
  corpus="$dir/corpus/$name"
  artifacts="$dir/artifacts/$name/"
  log="$dir/logs/$name.log"
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  stamp="$dir/logs/$name.started"
  touch "$stamp"
  echo "== $name: $seconds s"
  # -timeout: one input may take at most 25 s; -rss_limit_mb bounds memory.
  # shellcheck disable=SC2086  # the seed directories are separate words
  if "$dir/fuzz/$name" -max_total_time="$seconds" -dict="$dict" -timeout=25 \
      -rss_limit_mb=2048 -max_len=8192 -print_final_stats=1 -artifact_prefix="$artifacts" \
      "$corpus" $seeds >"$log" 2>&1; then
    status=ok
  else
    status=FAILED
    failed=1
    grep -E "ERROR:|^SUMMARY|fuzzer: |Test unit written" "$log" | head -20 || true
    # Only what this run wrote: older inputs stay for whoever looks at them.
    find "$artifacts" -type f -newer "$stamp" | while read -r artifact; do
      echo "reproduce with: $dir/fuzz/$name $artifact"
    done
    echo "whole log: $log"
  fi
  # The last status line and the final statistics: executions, their rate, edges covered.
  edges=$(grep -oE '\(([0-9]+) inline 8-bit counters\)' "$log" | grep -oE '[0-9]+' | head -1)
  cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | grep -oE '[0-9]+' || true)
  execs=$(grep -oE 'stat::number_of_executed_units: +[0-9]+' "$log" | grep -oE '[0-9]+$' || true)
  rate=$(grep -oE 'stat::average_exec_per_sec: +[0-9]+' "$log" | grep -oE '[0-9]+$' || true)
  units=$(find "$corpus" -type f | wc -l)
  summary+=("$(printf '%-24s %-6s %10s %8s %7s / %-7s %6s' "$name" "$status" "${execs:-?}" \
    "${rate:-?}" "${cov:-?}" "${edges:-?}" "$units")")
done

echo
printf '%-24s %-6s %10s %8s %17s %6s\n' target status execs exec/s "edges covered" corpus
printf '%s\n' "${summary[@]}"
exit "$failed"
