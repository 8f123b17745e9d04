#!/usr/bin/env bash
# Installs the barcode fonts of a build (<build>/fonts/*.ttf) into a Wine prefix by copying
# them into its C:\windows\Fonts; programs started afterwards see them.
# Usage: install-fonts.sh <font folder> [prefix]; the prefix defaults to KESTRIVO_WINEPREFIX or
# the project's build/wine-prefix (as scripts/wine-run), and is made when missing.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh"
fonts=${1:?usage: install-fonts.sh <font folder> [prefix]}
use_prefix "${2:-}"
shopt -s nullglob
files=("$fonts"/*.ttf)
if [ ${#files[@]} -eq 0 ]; then echo "install-fonts: no fonts in $fonts" >&2; exit 1; fi
make_prefix
target=$WINEPREFIX/drive_c/windows/Fonts
mkdir -p "$target"
# Each file is copied under a name of this run and then renamed into place, so that two
# installs at once (the test fixtures) never meet half a file or each other's copy.
for f in "${files[@]}"; do
  name=$(basename "$f")
  cp "$f" "$target/.$name.$$"
  mv -f "$target/.$name.$$" "$target/$name"
done
echo "installed ${#files[@]} fonts into $target"
