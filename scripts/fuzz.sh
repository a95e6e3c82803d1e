#!/usr/bin/env bash
# The fuzz targets of a sanitizer tree (make san-build: clang,
# AddressSanitizer, UndefinedBehaviorSanitizer, libFuzzer), every
# `*_fuzz` program in it.
#
#   fuzz.sh run BUILD SECONDS [JOBS]  fuzzes each target for SECONDS, JOBS
#                                     at a time; any crash, leak, timeout or
#                                     out-of-memory report fails the run
#   fuzz.sh merge BUILD               folds what the runs found into the
#                                     kept corpus, minimised
#
# Each target reads
#   fuzz/corpus/TARGET/          the kept corpus (checked in, read only
#                                during a run),
#   BUILD/fuzz/corpus/TARGET/    the working corpus: what earlier runs in
#                                this tree found, and where a run adds its
#                                finds,
#   BUILD/fuzz/seeds/            every schematic of the project (examples/,
#                                tests/data/),
# with the libFuzzer flags in fuzz/TARGET.options, if there is one (one
# flag a line), and the dictionary fuzz/schematic.dict unless they name
# another. A crash, leak or
# timeout is saved in BUILD/fuzz/findings/TARGET/, the log of the last run
# is BUILD/fuzz/TARGET.log.
set -euo pipefail
mode=$1
build=$2
cd "$(dirname "$0")/.."
targets=("$build"/*_fuzz)
[ -x "${targets[0]}" ] || { echo "no fuzz targets in $build (configure it with -DVESK_FUZZ=ON)"; exit 1; }
work="$build/fuzz"

# The target's own libFuzzer flags. Inputs are schematics unless a target
# names a dictionary of its own; a few kilobytes is room for every block,
# so longer ones are only tried where a target says so.
target_flags() {
  local options="fuzz/$1.options" own=()
  [ -f "$options" ] && mapfile -t own < <(grep -v '^\s*\(#\|$\)' "$options")
  flags=(-max_len=4096)
  printf '%s\n' "${own[@]}" | grep -q '^-dict=' || flags+=(-dict=fuzz/schematic.dict)
  flags+=("${own[@]}")
}

# The kept corpus of a target, where it has one.
kept() { [ ! -d "fuzz/corpus/$1" ] || echo "fuzz/corpus/$1"; }

fuzz_one() {
  local name=$1 seconds=$2 flags
  target_flags "$name"
  mkdir -p "$work/corpus/$name" "$work/findings/$name"
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$build/$name" "$work/corpus/$name" $(kept "$name") "$work/seeds" "${flags[@]}" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/findings/$name/" >"$work/$name.log" 2>&1
}

merge_one() {
  local name=$1 flags merged="$work/merged/$1"
  target_flags "$name"
  rm -rf "$merged"
  mkdir -p "$merged" "$work/corpus/$name"
  # The smallest inputs that together reach every branch that any of the
  # three reaches. Told apart by how often they take each branch as well,
  # as a run tells its inputs apart, the kept corpus would be ten times as
  # large.
  if ! "$build/$name" -merge=1 -use_counters=0 "$merged" $(kept "$name") "$work/corpus/$name" \
      "$work/seeds" "${flags[@]}" -timeout=10 -rss_limit_mb=2048 >"$work/$name-merge.log" 2>&1; then
    echo "FAILED: merging the corpus of $name (see $work/$name-merge.log)"
    return 1
  fi
  rm -rf "fuzz/corpus/$name"
  mkdir -p "fuzz/corpus/$name"
  cp "$merged"/* "fuzz/corpus/$name"/ 2>/dev/null || true
  echo "fuzz/corpus/$name: $(find "fuzz/corpus/$name" -type f | wc -l) inputs," \
    "$(du -sk --apparent-size "fuzz/corpus/$name" | cut -f1) KiB"
}

rm -rf "$work/seeds"
mkdir -p "$work/seeds"
find examples tests/data -type f -name '*.ce3' -exec cp {} "$work/seeds"/ \;

case $mode in
merge)
  status=0
  for target in "${targets[@]}"; do merge_one "$(basename "$target")" || status=1; done
  exit $status
  ;;
run) ;;
*) echo "usage: fuzz.sh run BUILD SECONDS [JOBS] | fuzz.sh merge BUILD"; exit 2 ;;
esac

seconds=$3
jobs=${4:-1}
status=0
total=0
running=()
declare -A pids
report() {  # waits for the first running target and reports it
  local name=${running[0]} log runs
  running=("${running[@]:1}")
  log="$work/$name.log"
  if wait "${pids[$name]}"; then
    runs=$(awk '/^stat::number_of_executed_units/ {print $2}' "$log")
    total=$((total + runs))
    echo "fuzzed $name for ${seconds}s: $runs runs," \
      "$(awk '/^stat::average_exec_per_sec/ {print $2}' "$log") a second"
  else
    echo "FAILED: $name (see $log; the input is in $work/findings/$name/)"
    tail -40 "$log"
    status=1
  fi
}
for target in "${targets[@]}"; do
  [ "${#running[@]}" -lt "$jobs" ] || report
  name=$(basename "$target")
  fuzz_one "$name" "$seconds" &
  pids[$name]=$!
  running+=("$name")
done
while [ "${#running[@]}" -gt 0 ]; do report; done
[ $status -ne 0 ] || echo "fuzzed ${#targets[@]} targets: $total runs"
exit $status
