' The linear class from VBScript: creation by ProgID and the font text of a few encodes.
Dim lin, az

Set lin = CreateObject("Tarnvik.Linear.1")
Expect "Code39 ABC", lin.Code39("ABC"), "*ABC*"
Expect "Code39 lower case", lin.Code39("abc"), "**"
Expect "Code39Check", lin.Code39Check("CODE39"), "*CODE39W*"
Expect "Code93 empty", lin.Code93(""), "[00]|"
Expect "number argument", lin.Code39(123), "*123*"
Expect "USSCode39", lin.USSCode39("ABC"), ""

Set az = CreateObject("Tarnvik.Aztec")
Expect "ECLevel default", az.ECLevel, 5
az.ECLevel = 3
Expect "ECLevel set", az.ECLevel, 3

On Error Resume Next
lin.Code39 "A", "B"
' The host reports the server's DISP_E_BADPARAMCOUNT as its "Wrong number of arguments".
Expect "too many arguments", Err.Number, 450
Err.Clear
On Error GoTo 0

Finish
