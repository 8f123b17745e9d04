' The matrix and stacked symbol classes from VBScript: creation by ProgID, defaults, ranges,
' separate objects, the True and False of the flag setters, messages and pieces.
Dim names, n, o, az, az2, dm, qr, qr2, mqr, pdf, mpdf, maxi, c16, text, i, all, count

Function HasCR(s)
    HasCR = InStr(s, vbCr) > 0
End Function

names = Array("Aztec", "Datamatrix", "QRCode", "MicroQRCode", "PDF417", "MicroPDF417", _
              "Maxicode", "Code16k")
For Each n In names
    Set o = CreateObject("Tarnvik." & n)
    Expect "created " & n, IsObject(o), True
    Set o = CreateObject("Tarnvik." & n & ".1")
    Expect "created " & n & ".1", IsObject(o), True
Next

' Defaults, values out of range, two objects.
Set az = CreateObject("Tarnvik.Aztec")
Set az2 = CreateObject("Tarnvik.Aztec")
Expect "Aztec ECLevel default", az.ECLevel, 5
Expect "Aztec PreferredFormat default", az.PreferredFormat, 0
az.ECLevel = 19
az.ECLevel = 20
az.PreferredFormat = 37
Expect "Aztec ECLevel 20 ignored", az.ECLevel, 19
Expect "Aztec PreferredFormat 37 ignored", az.PreferredFormat, 0
Expect "second Aztec keeps its level", az2.ECLevel, 5

Set dm = CreateObject("Tarnvik.Datamatrix")
Expect "Datamatrix Format default", dm.Format, -1
Expect "Datamatrix Encodation default", dm.Encodation, 0
Expect "Datamatrix GS1 default", dm.GS1, 0
dm.Format = 30
Expect "Format 30 ignored", dm.Format, -1
dm.Format = 12
dm.Format = -2
Expect "Format -2 ignored", dm.Format, 12
dm.GS1 = 5
Expect "GS1 5 reads 0", dm.GS1, 0
dm.GS1 = 1
Expect "GS1 1", dm.GS1, 1

Set qr = CreateObject("Tarnvik.QRCode")
Set qr2 = CreateObject("Tarnvik.QRCode")
Set mqr = CreateObject("Tarnvik.MicroQRCode")
Expect "QRCode ECLevel default", qr.ECLevel, 1
Expect "MicroQRCode ECLevel default", mqr.ECLevel, 1
qr.ECLevel = 3
qr.ECLevel = 4
Expect "QRCode ECLevel 4 ignored", qr.ECLevel, 3
Expect "second QRCode keeps level M", qr2.ECLevel, 1

' The VARIANT_BOOL flags: True sets, False clears.
Set pdf = CreateObject("Tarnvik.PDF417")
Expect "PDF417 CR LF by default", HasCR(pdf.Encode("PDF417")), True
pdf.SetCRLF False
Expect "PDF417 SetCRLF False", HasCR(pdf.Encode("PDF417")), False
pdf.SetCRLF True
Expect "PDF417 SetCRLF True", HasCR(pdf.Encode("PDF417")), True
Set c16 = CreateObject("Tarnvik.Code16k")
c16.SetCRLF False
Expect "Code16k SetCRLF False", HasCR(c16.Encode("CODE 16K")), False
c16.SetCRLF True
Expect "Code16k SetCRLF True", HasCR(c16.Encode("CODE 16K")), True
dm.GS1 = 0
dm.Format = -1
dm.SetCRLF False
Expect "Datamatrix SetCRLF False", HasCR(dm.Encode("DM")), False
dm.SetCRLF True
Expect "Datamatrix SetCRLF True", HasCR(dm.Encode("DM")), True
' MicroPDF417 and Maxicode keep the flag but always end lines with CR LF.
Set mpdf = CreateObject("Tarnvik.MicroPDF417")
mpdf.SetCRLF False
Expect "MicroPDF417 lines end with CR LF", HasCR(mpdf.Encode("MICRO")), True
Set maxi = CreateObject("Tarnvik.Maxicode")
maxi.SetCRLF False
text = maxi.Encode("MAXICODE 123")
Expect "Maxicode encodes in the automatic mode", UBound(Split(text, vbCrLf)), 11
Expect "Maxicode pieces", maxi.FormulaNoForCR("MAXICODE 123"), Len(text) \ 250 + 1

' Messages in place of font text.
Expect "Aztec warning", az2.EncodeCR("AZTEC", 0, 0, 20), _
       "Invalid error correction level - using default instead"
Expect "Aztec Encode has LF line ends", HasCR(az2.Encode("AZTEC")), False
Expect "Aztec EncodeCR has CR LF line ends", HasCR(az2.EncodeCR("AZTEC", 0, 0, 5)), True
Expect "Maxicode mode 7", maxi.EncodeCR("X", 0, 7), "Maxicode Mode invalid"
mqr.ECLevel = 3
Expect "Micro QR level H", mqr.Encode("123"), "Error correction level H not available"

' Pieces of a long QR Code join into the whole text.
text = String(1500, "Q")
all = ""
count = qr2.FormulaNoForCR(text)
For i = 1 To count
    all = all & qr2.EncodeCR(text, i, 1)
Next
Expect "QR pieces join", all, qr2.Encode(text)
Expect "QR piece count", count, Len(all) \ 250 + 1

Finish
