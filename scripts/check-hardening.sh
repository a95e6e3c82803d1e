#!/usr/bin/env bash
# Checks that binaries carry the hardening they are built with
# (cmake/hardening.cmake): prints "hardened" or what is missing for each,
# and fails on anything missing.
#
# - ELF programs and modules: all symbols bound at start (BIND_NOW) and
#   read-only after (GNU_RELRO), a stack that cannot run code, stack
#   canaries (__stack_chk_fail) and fortified libc calls (some __*_chk);
#   a program must be position-independent (PIE), a module free of text
#   relocations.
# - Windows programs (PE): ASLR with 64-bit entropy and DEP
#   (DYNAMIC_BASE, HIGH_ENTROPY_VA, NX_COMPAT), and no DLL beyond those of
#   Windows itself. The canaries of a static program are no import: give
#   its unstripped build with --symbols to look for them there.
#
# usage: check-hardening.sh BINARY... [--symbols UNSTRIPPED_EXE]
set -euo pipefail
failed=0
missing() { echo "$1: not hardened: $2"; failed=1; }
magic() { head -c 4 "$1" | od -An -tx1 | tr -d ' \n'; }

# The DLLs of every Windows installation that vesk.exe may import
# (ADVAPI32 seeds the canaries of GCC's static libssp; COMCTL32 is the one
# the manifest picks version 6 of).
windows_dlls='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|advapi32|msvcrt)\.dll$'

check_elf() {
  local file=$1 dynamic headers symbols
  dynamic=$(readelf -dW "$file")
  headers=$(readelf -lW "$file")
  symbols=$(nm -D --undefined-only "$file")
  grep -Eq '\(FLAGS\).*BIND_NOW|\(FLAGS_1\).*NOW' <<<"$dynamic" || missing "$file" "no BIND_NOW"
  grep -q 'GNU_RELRO' <<<"$headers" || missing "$file" "no GNU_RELRO"
  grep -Eq 'GNU_STACK.* RW  ' <<<"$headers" || missing "$file" "stack not marked non-executable"
  grep -q ' __stack_chk_fail@' <<<"$symbols" || missing "$file" "no stack canaries (__stack_chk_fail)"
  grep -Eq ' __[a-z_]+_chk@' <<<"$symbols" || missing "$file" "no fortified calls (__*_chk)"
  if [ "$(readelf -hW "$file" | sed -n 's/^ *Type: *\([A-Z]*\).*/\1/p')" != DYN ]; then
    missing "$file" "not position-independent"
  elif grep -q 'TEXTREL' <<<"$dynamic"; then
    missing "$file" "text relocations"
  elif [[ "$file" != *.so ]] && ! grep -Eq '\(FLAGS_1\).* PIE' <<<"$dynamic"; then
    missing "$file" "not PIE"
  fi
}

check_pe() {
  local file=$1 headers dll
  headers=$(objdump -p "$file")
  for flag in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT; do
    grep -Eq "^[[:space:]]+$flag\$" <<<"$headers" || missing "$file" "no $flag"
  done
  while read -r dll; do
    grep -Eiq "$windows_dlls" <<<"$dll" || missing "$file" "imports $dll"
  done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
}

while [ $# -gt 0 ]; do
  file=$1
  before=$failed
  failed=0
  if [ "$file" = --symbols ]; then
    file=$2
    shift
    grep -q ' T __stack_chk_fail$' <<<"$(x86_64-w64-mingw32-nm "$file")" ||
      missing "$file" "no stack canaries (__stack_chk_fail)"
  elif [ "$(magic "$file")" = 7f454c46 ]; then
    check_elf "$file"
  elif [[ "$(magic "$file")" = 4d5a* ]]; then
    check_pe "$file"
  else
    missing "$file" "neither ELF nor PE"
  fi
  [ $failed -ne 0 ] || echo "$file: hardened"
  failed=$((before | failed))
  shift
done
exit $failed
