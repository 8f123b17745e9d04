#!/usr/bin/env bash
# Runs one automation script with Wine's cscript and judges it by its output: Wine's cscript
# exits 0 even when the script fails, so the script must end with the line "ALL PASSED" and
# print no line starting with "FAIL".
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
script=$1
# The script runs behind the prelude of its language (prelude.vbs or prelude.js).
joined=$(mktemp -d)/$(basename "$script")
cat "$(dirname "$script")/prelude.${script##*.}" "$script" >"$joined"
trap 'rm -rf "$(dirname "$joined")"' EXIT
source "$here/scripts/wine-prefix.sh"
use_prefix
out=$("$here/scripts/wine-run" cscript //nologo "$(winepath -w "$joined" 2>/dev/null)" 2>&1 </dev/null | tr -d '\r')
echo "$out"
if grep -q '^FAIL' <<<"$out"; then echo "script reported failures"; exit 1; fi
if [ "$(grep -v '^[[:space:]]*$' <<<"$out" | tail -1)" != "ALL PASSED" ]; then
  echo "script did not reach its final line"; exit 1
fi
