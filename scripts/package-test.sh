#!/usr/bin/env bash
# Builds the packages (make package) and tries them as a user would: the
# .deb unpacked into a scratch root with dpkg -x, its vesk -F run on the
# examples; the desktop entry and the MIME type validated; the man page
# checked by groff; the Windows zip unpacked and its vesk.exe /F run
# under Wine. Any difference fails.
set -euo pipefail
cd "$(dirname "$0")/.."
pkg_build=${1:-build-release}
win_build=${2:-build-win}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
expected=tests/data/convert/examples.csv

deb=$(ls "$pkg_build"/vesk_[0-9]*_amd64.deb | head -1)
dpkg-deb -x "$deb" "$scratch/root"
cp examples/amp_main.ce3 examples/amp_power.ce3 "$scratch/"
"$scratch/root/usr/bin/vesk" -F "$scratch/amp_main.ce3" "$scratch/amp_power.ce3" \
  -o "$scratch/deb.csv" 2>/dev/null
cmp "$scratch/deb.csv" "$expected"
echo "package: the .deb's vesk -F writes the expected parts list"
# The window module comes in its own package, where vesk looks for it.
gtk_deb=$(ls "$pkg_build"/vesk-gtk_*_amd64.deb | head -1)
dpkg-deb -x "$gtk_deb" "$scratch/root"
[ -f "$scratch/root/usr/lib/vesk/vesk-gtk.so" ] || { echo "vesk-gtk lacks its module"; exit 1; }
if dpkg-deb -f "$deb" Depends | grep -qi gtk; then echo "the base package must not need GTK"; exit 1; fi

desktop-file-validate "$scratch/root/usr/share/applications/vesk.desktop"
grep -q '^MimeType=application/x-kolvane-schematic;$' "$scratch/root/usr/share/applications/vesk.desktop"
# The MIME type must be accepted by the freedesktop database tool.
mkdir -p "$scratch/mime/packages"
cp "$scratch/root/usr/share/mime/packages/vesk.xml" "$scratch/mime/packages/"
XDG_DATA_DIRS="$scratch" update-mime-database "$scratch/mime" 2>&1 | { ! grep -iv "^$" ; }
grep -q 'application/x-kolvane-schematic' "$scratch/mime/globs2"
warnings=$(groff -z -ww -man "$scratch/root/usr/share/man/man1/vesk.1" 2>&1)
[ -z "$warnings" ] || { echo "$warnings"; exit 1; }
echo "package: desktop entry, MIME type and man page validate"

zip=$(ls "$win_build"/vesk-*-windows-x86_64.zip | head -1)
mkdir -p "$scratch/win"
(cd "$scratch/win" && unzip -q "$OLDPWD/$zip")
for f in vesk.exe README.md LICENSE; do [ -f "$scratch/win/$f" ] || { echo "zip lacks $f"; exit 1; }; done
cp examples/amp_main.ce3 examples/amp_power.ce3 "$scratch/win/"
(cd "$scratch/win" && WINEPREFIX="$(cd "$OLDPWD/$win_build" && pwd)/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= \
  wine vesk.exe /F amp_main.ce3 amp_power.ce3 /o win.csv 2>/dev/null)
cmp "$scratch/win/win.csv" "$expected"
echo "package: the zip's vesk.exe /F under Wine writes the expected parts list"
