#!/usr/bin/env bash
# The main job: builds the automation server Tarnvik for 64-bit Windows, registers it with
# regsvr32 in a Wine prefix of its own, and runs a short host script that creates classes by
# ProgID and prints the font text of a few encodes. Then starts the desktop program Encoder
# in the same prefix (its barcode fonts installed there), on the user's display when there is
# one that answers, otherwise on a private Xvfb display, types a short text into its data
# field, writes a picture of its window to the file it names (KESTRIVO_SNAPSHOT, else
# <build>/run/encoder.bmp) and checks that picture: the data field holds the text and the
# painted symbol reads back to it. On a display of the user's the program stays open until it
# is closed. Installs what it needs first.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/display.sh
source scripts/wine-prefix.sh

fail() { echo "run: $*" >&2; exit 1; }

bash scripts/setup.sh || fail "installing the packages failed (run as root, with network access to Debian's archive)"
build=${KESTRIVO_BUILD_DIR:-$root/build}/run
use_prefix "${KESTRIVO_RUN_WINEPREFIX:-$build/wine-prefix}"
text=Kestrivo row="QR Code" points=12

cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null || fail "configuring the Windows build in $build failed"
cmake --build "$build" -j4 --target Tarnvik Encoder encoder_snapshot barcode_fonts >/dev/null ||
  fail "building Tarnvik, Encoder and the fonts in $build failed (run the build by hand to see why: cmake --build $build)"
dll=$build/automation/Tarnvik.dll

# A wineserver left from an earlier run keeps the display it was started with: end it, then
# choose this run's display before the first Wine process starts one.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
own_display=0
if [ -n "${DISPLAY:-}" ] && display_answers "$DISPLAY"; then own_display=1; fi
use_display 170 || fail "no display for the desktop program"
trap 'wineserver -k >/dev/null 2>&1 || true; end_display' EXIT

make_prefix || fail "no Wine prefix"
wine regsvr32 /s "$(winepath -w "$dll")" </dev/null || fail "regsvr32 could not register $dll in $WINEPREFIX"
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
[ "${PIPESTATUS[0]}" -eq 0 ] || fail "the host script could not use the registered server (cscript failed)"
rm -rf "$(dirname "$host")"

# The desktop program.
bash scripts/install-fonts.sh "$build/fonts" "$WINEPREFIX" >/dev/null || fail "installing the barcode fonts into $WINEPREFIX failed"
snapshot=${KESTRIVO_SNAPSHOT:-$build/encoder.bmp}
rm -f "$snapshot"
wine "$build/desktop/Encoder.exe" </dev/null >/dev/null 2>&1 &
encoder=$!
places=$(wine "$build/desktop/encoder_snapshot.exe" "$text" "$(winepath -w "$snapshot")" "$row" "$points" </dev/null | tr -d '\r') ||
  fail "the desktop program's window did not come up on display $DISPLAY, or its picture could not be written to $snapshot"
echo "Encoder: chose $row at $points points, typed \"$text\"; picture of its window in $snapshot"
field=$(sed -n 's/^data //p' <<<"$places")
/usr/bin/python3 scripts/check_snapshot.py "$snapshot" "$text" $field ||
  fail "the picture $snapshot does not show the window as expected (see the lines above)"
if [ "$own_display" = 1 ]; then
  echo "Encoder runs on $DISPLAY; close it with its Close button"
  wait "$encoder" || true
fi
