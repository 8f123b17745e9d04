#!/usr/bin/env bash
# The main job: builds the automation server Tarnvik for 64-bit Windows, registers it with
# regsvr32 in a Wine prefix of its own, and runs a short host script that creates classes by
# ProgID and prints the font text of a few encodes. Then starts the desktop program Encoder
# in the same prefix (its barcode fonts installed there), on the user's display when there is
# one, otherwise under Xvfb, types a short text into its data field and writes a picture of
# its window to the file it names (KESTRIVO_SNAPSHOT, else <build>/run/encoder.bmp); on a
# display of the user's the program stays open until it is closed. Installs what it needs first.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh
build=${KESTRIVO_BUILD_DIR:-$root/build}/run
export WINEPREFIX=${KESTRIVO_RUN_WINEPREFIX:-$build/wine-prefix} WINEDEBUG=-all
export KESTRIVO_WINEPREFIX=$WINEPREFIX

cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j4 --target Tarnvik Encoder encoder_snapshot barcode_fonts >/dev/null
dll=$build/automation/Tarnvik.dll

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"; wineboot -i >/dev/null 2>&1 || true; wineserver -w || true
fi
xvfb_pid=
trap 'wineserver -k >/dev/null 2>&1 || true; [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true' EXIT
wine regsvr32 /s "$(winepath -w "$dll")" </dev/null
echo "registered $dll in $WINEPREFIX"

host=$(mktemp -d)/host.js
cat >"$host" <<'JS'
// Creates the server's classes by ProgID and prints what a few encodes give.
function show(what, text) { WScript.Echo(what + " -> " + text); }
var linear = new ActiveXObject("Tarnvik.Linear");
show("Code39(\"CODE 39\")", linear.Code39("CODE 39"));
show("Code39Check(\"CODE39\")", linear.Code39Check("CODE39"));
show("Code39Ext(\"Abc\")", linear.Code39Ext("Abc"));
show("Code93(\"TEST93\")", linear.Code93("TEST93"));
show("Code39(\"&#65;&#66;C\")", linear.Code39("&#65;&#66;C"));
show("EAN13(\"590123412345\")", linear.EAN13("590123412345"));
show("Code128B(\"Kestrivo\")", linear.Code128B("Kestrivo"));
show("GS1128(\"(01)123\")", linear.GS1128("(01)123"));
show("POSTNET(\"1234\")", linear.POSTNET("1234"));
show("IM(\"0123456709498765432101234567891\")", linear.IM("0123456709498765432101234567891"));
var aztec = new ActiveXObject("Tarnvik.Aztec.1");
show("Aztec ECLevel", aztec.ECLevel);
show("Aztec.Encode(\"Kestrivo\")", "\n" + aztec.Encode("Kestrivo"));
var qr = new ActiveXObject("Tarnvik.QRCode.1");
show("QRCode.Encode(\"Kestrivo\")", "\n" + qr.Encode("Kestrivo"));
var dm = new ActiveXObject("Tarnvik.Datamatrix.1");
show("Datamatrix.FormulaNoForCR(\"Kestrivo\")", dm.FormulaNoForCR("Kestrivo"));
var databar = new ActiveXObject("Tarnvik.Databar.1");
show("Databar14(\"0950110153001\")", databar.Databar14("0950110153001"));
show("DatabarExp(\"(01)98898765432106(3103)001750\")", databar.DatabarExp("(01)98898765432106(3103)001750"));
var medical = new ActiveXObject("Tarnvik.Medical.1");
show("Pharmaone(\"1234\")", medical.Pharmaone("1234"));
JS
wine cscript //nologo "$(winepath -w "$host")" </dev/null | tr -d '\r'
rm -rf "$(dirname "$host")"

# The desktop program.
bash scripts/install-fonts.sh "$build/fonts" "$WINEPREFIX" >/dev/null
export WINEDLLOVERRIDES="mscoree,mshtml="
snapshot=${KESTRIVO_SNAPSHOT:-$build/encoder.bmp}
own_display=0
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  own_display=1
else
  n=170
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  export DISPLAY=":$n"
fi
wine "$build/desktop/Encoder.exe" </dev/null >/dev/null 2>&1 &
encoder=$!
wine "$build/desktop/encoder_snapshot.exe" "Kestrivo" "$(winepath -w "$snapshot")" </dev/null
echo "Encoder: typed \"Kestrivo\"; picture of its window in $snapshot"
if [ "$own_display" = 1 ]; then
  echo "Encoder runs on $DISPLAY; close it with its Close button"
  wait "$encoder" || true
else
  : # the exit trap ends the prefix's processes
fi
