#!/usr/bin/env bash
# The conversion core's line and branch coverage (make coverage), from a
# tree built with -DVESK_COVERAGE=ON (clang): runs
# every test of the tree and every fuzz target once over its kept corpus
# (fuzz/corpus/TARGET/), then prints the coverage of each folder of the
# core and writes the report of every line to BUILD/coverage/html/.
#
# usage: coverage.sh BUILD [JOBS]
set -euo pipefail
build=$(cd "$1" && pwd)
jobs=${2:-1}
cd "$(dirname "$0")/.."
core=(memory geometry schfile partlib schobj convert)
out="$build/coverage"
rm -rf "$out"
mkdir -p "$out"
# Each program adds its counts to one of a few files per program. Some
# tests run vesk as nobody, which must be able to add to them too.
mkdir -m 1777 "$out/profiles"
umask 0000
export LLVM_PROFILE_FILE="$out/profiles/%4m.profraw"

# Every test but the one that limits the size of vesk's files, which
# cannot then write its counts and says so among the messages the test
# compares.
status=0
(cd "$build" && ctest -j"$jobs" -E '^VeskProgram\.AFailedWriteKeepsTheOldList$' \
  >"$out/tests.log" 2>&1) || {
  echo "FAILED: some tests (see $out/tests.log); the figures below still count them"
  grep -E '^\s*[0-9]+ - ' "$out/tests.log" || true
  status=1
}
for target in "$build"/*_fuzz; do
  name=$(basename "$target")
  [ -d "fuzz/corpus/$name" ] || continue
  "$target" -runs=0 "fuzz/corpus/$name" >"$out/$name.log" 2>&1 || {
    echo "FAILED: $name on its corpus (see $out/$name.log)"
    status=1
  }
done

llvm-profdata-14 merge -sparse "$out"/profiles/*.profraw -o "$out/all.profdata"
# Every program of the tree, the first one named plainly and the rest as
# further objects.
objects=()
for program in "$build"/*; do
  [ -f "$program" ] && [ -x "$program" ] && [ "$(head -c 4 "$program")" = $'\x7fELF' ] || continue
  [ ${#objects[@]} -eq 0 ] && objects+=("$program") || objects+=(-object "$program")
done
sources=()
for folder in "${core[@]}"; do sources+=("$PWD/$folder"); done
# (llvm-cov warns of "mismatched data" for the inline functions that a
# program does not use; its messages go to llvm-cov.log.)
llvm-cov-14 export -format=text -summary-only -instr-profile="$out/all.profdata" \
  "${objects[@]}" "${sources[@]}" >"$out/summary.json" 2>"$out/llvm-cov.log"
llvm-cov-14 show -format=html -show-branches=count -output-dir="$out/html" \
  -instr-profile="$out/all.profdata" "${objects[@]}" "${sources[@]}" >/dev/null 2>>"$out/llvm-cov.log"

python3 - "$out/summary.json" "$PWD" "${core[@]}" <<'EOF'
import json, os, sys
summary, root, folders = sys.argv[1], sys.argv[2], sys.argv[3:]
totals = {folder: {"lines": [0, 0], "branches": [0, 0]} for folder in folders + ["core"]}
for entry in json.load(open(summary))["data"][0]["files"]:
    folder = os.path.relpath(entry["filename"], root).split(os.sep)[0]
    if folder not in totals:
        continue
    for kind in ("lines", "branches"):
        for key in (folder, "core"):
            totals[key][kind][0] += entry["summary"][kind]["covered"]
            totals[key][kind][1] += entry["summary"][kind]["count"]

def figure(covered, count):
    share = f"{100 * covered / count:.1f}%" if count else "-"
    return f"{covered:>5}/{count:<5} {share:>6}"

print(f"{'':10} {'lines':>19}   {'branches':>19}")
for folder, kinds in totals.items():
    name = folder if folder == "core" else folder + "/"
    print(f"{name:10} {figure(*kinds['lines'])}   {figure(*kinds['branches'])}")
EOF
echo "every line: $out/html/index.html"
exit $status
