#!/usr/bin/env bash
# Loads the bundled example schematics and reports what each holds.
set -euo pipefail
build=${1:-build}
cd "$(dirname "$0")/.."
"$build"/vesk-inspect examples/*.ce3
