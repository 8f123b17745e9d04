' The DataBar and Pharmacode classes from VBScript: font text, the " *" suffix, the line ends
' that follow the CRLF flag the other way round, and the pieces of Expanded Stacked.
Dim db, med, t, p, data

Set db = CreateObject("Tarnvik.Databar.1")
Expect "Databar14 of 123 is 1230000000000", db.Databar14("123"), _
    "1a1b1b2a6a2c8a1b4a1b2a2a1d1c1c1a1d7b3a1b3b1c1a *"
Expect "Databar14 of 20 digits uses the first 13", db.Databar14("12300000000009999999"), _
    db.Databar14("123")
Expect "Databar14 decodes escapes", db.Databar14("&#49;23"), db.Databar14("123")
Expect "Databar14 message", db.Databar14("12A"), "Invalid characters in data"
Expect "DatabarLtd message", db.DatabarLtd("2001234567890"), "Input out of range"

t = db.DatabarStkOmni("1234567890123")
Expect "StkOmni flag 1 keeps LF", InStr(t, vbCr) = 0 And InStr(t, vbLf) > 0, True
Expect "StkOmni suffix", Right(t, 2), " *"
db.SetCRLF False
t = db.DatabarStkOmni("1234567890123")
Expect "StkOmni flag 0 ends lines with CR LF", InStr(t, vbCrLf) > 0 And _
    (Len(t) - Len(Replace(t, vbCrLf, ""))) / 2 = Len(t) - Len(Replace(t, vbLf, "")), True
db.SetCRLF True
Expect "True sets the flag again", InStr(db.DatabarStkOmni("1234567890123"), vbCr), 0

data = "(01)90012345678908(10)ABCDEFGHIJ(21)ABCDEFGHIJKLMNOPQR"
Expect "DatabarExpStk suffix", Right(db.DatabarExpStk(data), 2), " *"
Expect "DatabarExpStk keeps LF", InStr(db.DatabarExpStk(data), vbCr), 0
db.SetCRLF False
t = db.DatabarExpStkCR(data, 0)
Expect "ExpStkCR whole", Len(t), 626
p = db.DatabarExpStkCR(data, 1)
Expect "ExpStkCR piece 1 length", Len(p), 252
Expect "ExpStkCR piece 1 text", p, Left(t, 250) & " *"
Expect "ExpStkCR piece 2 text", db.DatabarExpStkCR(data, 2), Mid(t, 251, 250) & " *"
Expect "ExpStkCR piece 3 text", db.DatabarExpStkCR(data, 3), Mid(t, 501, 124) & " *"
Expect "ExpStkCR piece 4", db.DatabarExpStkCR(data, 4), " *"
Expect "ExpStkCR message whole", db.DatabarExpStkCR("(01)123", 2), db.DatabarExp("(01)123")

Set med = CreateObject("Tarnvik.Medical")
Expect "Pharmaone 123", med.Pharmaone("123"), "111100"
Expect "Pharmatwo 123", med.Pharmatwo("123"), "11113"
Expect "Pharmaone takes escapes as text", med.Pharmaone("&#49;23"), "Data too long"
Expect "Pharmaone out of range", med.Pharmaone("2"), "Data out of range"
Expect "Pharmaone of a number", med.Pharmaone(123), "111100"

On Error Resume Next
db.Databar14 "1", "2"
Expect "too many arguments", Err.Number, 450
Err.Clear
On Error GoTo 0

Finish
