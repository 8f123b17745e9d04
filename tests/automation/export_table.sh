#!/usr/bin/env bash
# The server's export table holds exactly the four registration and class-object entry points
# and the 48 encode functions, under these names.
set -euo pipefail
want=$(sort <<'NAMES'
DllCanUnloadNow
DllGetClassObject
DllRegisterServer
DllUnregisterServer
ZYLCode39
ZYLCode39Check
ZYLCode39Ext
ZYLCode11
ZYLCode25
ZYLCode25Check
ZYLCode93
ZYLMSI
ZYLCodabar
ZYLUPCA
ZYLUPCE
ZYLEAN13
ZYLEAN8
ZYLBookland
ZYLCode128B
ZYLCode128A
ZYLCode128C
ZYLTelepen
ZYLTelepenNumeric
ZYLI25
ZYLI25Check
ZYLUSPS128
ZYLUCCEAN128
ZYLGS1128
ZYLUSSCode39
ZYLPOSTNET
ZYLROYALMAIL
ZYLONECODE
ZYLSEMIM12
ZYLSEMIM13
ZYLDataMatrixEncode
ZYLDataMatrixOption
ZYLPDF417Encode
_Z20ZYLPDMicroF417EncodePwRw
ZYLPDF417Option
ZYLQRCodeEncode
ZYLQRCodeOption
ZYLMicroQRCodeEncode
ZYLCode16KEncode
ZYLAztecEncode
ZYLAztecOption
ZYLMaxicodeEncode
ZYLDatabarEncode
ZYLDatabarStackEncode
ZYLDatabarStkOmniEncode
ZYLDatabarLtdEncode
ZYLDatabarExpEncode
ZYLDatabarExpStkEncode
NAMES
)
# The name pointer table: lines "[ n] name" after its heading, up to the next empty line.
got=$(x86_64-w64-mingw32-objdump -p "$1" |
  sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*\([^[:space:]]*\).*/\1/p' | sort)
if [ "$got" != "$want" ]; then
  echo "export table differs (< missing, > unexpected):"
  diff <(echo "$want") <(echo "$got") || true
  exit 1
fi
echo "export table: $(wc -l <<<"$got") names, as expected"
