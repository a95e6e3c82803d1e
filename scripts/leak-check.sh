#!/usr/bin/env bash
# Runs `vesk -F` under valgrind over the examples and every hostile sample
# file (alone, and after a good file in the same run) and fails on any leak
# or invalid memory access. The program's own exit status (1 for a bad
# input) is expected and not an error here.
set -euo pipefail
build=${1:-build}
cd "$(dirname "$0")/.."
vesk="$build/vesk"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
runs=0
check() {
  runs=$((runs + 1))
  local status=0
  valgrind -q --leak-check=full --show-leak-kinds=all --errors-for-leak-kinds=all \
    --error-exitcode=99 "$vesk" -F "$@" -o "$out/list.csv" 2>"$out/log" >/dev/null || status=$?
  if [ "$status" -eq 99 ] || grep -q '^==[0-9]*==' "$out/log"; then
    echo "valgrind found a problem with: $*"
    cat "$out/log"
    exit 1
  fi
}
check examples/amp_main.ce3 examples/amp_power.ce3
for file in tests/data/hostile/*.ce3; do
  check "$file"
  check examples/amp_main.ce3 "$file"
done
check "$out/missing.ce3"
check tests/data
echo "leak check: $runs runs of vesk -F under valgrind, no leak and no invalid access"
