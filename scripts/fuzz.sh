#!/usr/bin/env bash
# Runs each fuzz target of a sanitizer tree (make san-build: clang,
# AddressSanitizer and UndefinedBehaviorSanitizer) for SECONDS seconds on a
# seed corpus made from the examples and the test schematics, JOBS targets
# at a time. Any crash, leak, timeout or out-of-memory report fails the run.
#
# usage: fuzz.sh BUILD SECONDS [JOBS]
set -euo pipefail
build=$1
seconds=$2
jobs=${3:-1}
cd "$(dirname "$0")/.."
targets=("$build"/*_fuzz)
[ -x "${targets[0]}" ] || { echo "no fuzz targets in $build (configure it with -DVESK_FUZZ=ON)"; exit 1; }

fuzz_one() {
  local target=$1 name corpus
  name=$(basename "$target")
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  # Seeds: every schematic the project has, plus whatever earlier runs found.
  find examples tests/data -type f -name '*.ce3' -exec cp -n {} "$corpus"/ \; 2>/dev/null || true
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$target" "$corpus" -dict=fuzz/schematic.dict -max_total_time="$seconds" \
    -timeout=10 -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
    -artifact_prefix="$build/$name-" >"$build/$name.log" 2>&1
}

status=0
running=()
report() {  # waits for the first running target and reports it
  local target=${running[0]}
  running=("${running[@]:1}")
  if wait "${pids[$target]}"; then
    echo "fuzzed $(basename "$target") for ${seconds}s: $(grep -E '^stat::number_of_executed_units' \
      "$build/$(basename "$target").log" | awk '{print $2}') runs"
  else
    echo "FAILED: $(basename "$target") (see $build/$(basename "$target").log)"
    tail -40 "$build/$(basename "$target").log"
    status=1
  fi
}
declare -A pids
for target in "${targets[@]}"; do
  [ "${#running[@]}" -lt "$jobs" ] || report
  fuzz_one "$target" &
  pids[$target]=$!
  running+=("$target")
done
while [ "${#running[@]}" -gt 0 ]; do report; done
exit $status
