#!/usr/bin/env bash
# Records the run profile that the Release builds are optimised for: an
# instrumented vesk (configured with VESK_PROFILE_GENERATE) converts a
# generated design of 4 MB in 4 sheets (bench/gen_schematics.py, other
# bytes than any benchmark set) and the bundled examples. The profile
# directory is emptied first, since counts recorded by an older build would
# not match the current sources.
#
# usage: train-profile.sh BUILD PROFILE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
profile=$2
cd "$(dirname "$0")/.."
training="$build/training"
# A profile recorded by this very build stands; a build that changed records
# anew (and the Release tree then compiles everything against the new one).
stamp="$profile/.trained"
if [ -f "$stamp" ] && [ "$stamp" -nt "$build/vesk" ]; then
  exit 0
fi
if [ "$(find "$training" -name '*.ce3' 2>/dev/null | wc -l)" -ne 4 ]; then
  python3 bench/gen_schematics.py "$training" 4 4 >/dev/null
fi
rm -rf "$profile"
"$build"/vesk -F "$training"/*.ce3 -o "$build/training.csv" 2>/dev/null
"$build"/vesk -F examples/*.ce3 -o "$build/examples.csv" 2>/dev/null
touch "$stamp"
