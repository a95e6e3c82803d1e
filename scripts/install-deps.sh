#!/usr/bin/env bash
# Installs the Debian packages that the build and the tests need and that
# are missing. Each file in scripts/deps/ lists packages, one a line.
# Run as root it installs them; otherwise it prints the apt-get line.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
missing=()
while read -r pkg; do
  [ -n "$pkg" ] || continue
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  case "$status" in
    *"install ok installed"*) ;;
    *) missing+=("$pkg") ;;
  esac
done < <(cat "$here"/deps/*.txt | sed 's/#.*//' | tr -s ' \t' '\n' | sort -u)

[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -eq 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
else
  echo "Missing packages; install them with:"
  echo "  sudo apt-get install ${missing[*]}"
  exit 1
fi
