#!/usr/bin/env bash
# Converts the bundled two-sheet example design into one parts list and
# shows it. The file itself keeps the schematic's Shift-JIS bytes; only
# the terminal's copy is converted to UTF-8.
set -euo pipefail
build=${1:-build}
cd "$(dirname "$0")/.."
out="$build/amp_parts.csv"
"$build"/vesk -F examples/amp_main.ce3 examples/amp_power.ce3 -o "$out"
echo
echo "Parts list written to $out:"
iconv -f CP932 -t UTF-8 "$out"
