#!/usr/bin/env bash
# Installs the barcode fonts of a build (<build>/fonts/*.ttf) into a Wine prefix by copying
# them into its C:\windows\Fonts; programs started afterwards see them.
# Usage: install-fonts.sh <font folder> [prefix]; the prefix defaults to KESTRIVO_WINEPREFIX or
# the project's build/wine-prefix (as scripts/wine-run), and is made when missing.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
fonts=${1:?usage: install-fonts.sh <font folder> [prefix]}
export WINEPREFIX=${2:-${KESTRIVO_WINEPREFIX:-$here/build/wine-prefix}}
shopt -s nullglob
files=("$fonts"/*.ttf)
if [ ${#files[@]} -eq 0 ]; then echo "install-fonts: no fonts in $fonts" >&2; exit 1; fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  KESTRIVO_WINEPREFIX=$WINEPREFIX "$here/scripts/wine-run" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
fi
target=$WINEPREFIX/drive_c/windows/Fonts
mkdir -p "$target"
cp -f "${files[@]}" "$target/"
echo "installed ${#files[@]} fonts into $target"
