#!/usr/bin/env bash
# Builds the fuzz targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer and runs each for SECONDS seconds on a seed
# corpus made from the examples and the test schematics. Any crash, leak,
# timeout or out-of-memory report fails the run.
set -euo pipefail
seconds=${1:-60}
build=${2:-build-fuzz}
cd "$(dirname "$0")/.."
CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_SANITIZE=ON \
  -DVESK_FUZZ=ON -DVESK_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 >/dev/null
status=0
for target in "$build"/*_fuzz; do
  name=$(basename "$target")
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  # Seeds: every schematic the project has, plus whatever earlier runs found.
  find examples tests/data -type f -name '*.ce3' -exec cp -n {} "$corpus"/ \; 2>/dev/null || true
  echo "fuzzing $name for ${seconds}s"
  if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
      "$target" "$corpus" -dict=fuzz/schematic.dict -max_total_time="$seconds" \
      -timeout=10 -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
      -artifact_prefix="$build/$name-" >"$build/$name.log" 2>&1; then
    echo "FAILED: $name (see $build/$name.log)"
    tail -40 "$build/$name.log"
    status=1
  else
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$build/$name.log" | tail -2 || true
  fi
done
exit $status
