// The matrix and stacked symbol classes from JScript: creation by ProgID, defaults, ranges,
// separate objects, true and false in the flag setters, exact messages and pieces.
function hasCR(s) { return s.indexOf("\r") >= 0; }

var names = ["Aztec", "Datamatrix", "QRCode", "MicroQRCode", "PDF417", "MicroPDF417",
             "Maxicode", "Code16k"];
for (var i = 0; i < names.length; i++) {
    expectEq("created " + names[i], typeof new ActiveXObject("Tarnvik." + names[i]), "object");
    expectEq("created " + names[i] + ".1", typeof new ActiveXObject("Tarnvik." + names[i] + ".1"), "object");
}

var az = new ActiveXObject("Tarnvik.Aztec"), az2 = new ActiveXObject("Tarnvik.Aztec.1");
az.PreferredFormat = 36;
az.PreferredFormat = -1;
expectEq("Aztec PreferredFormat -1 ignored", az.PreferredFormat, 36);
expectEq("second Aztec keeps its format", az2.PreferredFormat, 0);
expectEq("Aztec default level gives font text", /^[0-9A-F\n]+$/.test(az2.Encode("AZTEC")), true);
expectEq("Aztec EncodeCR level 5 gives font text", /^[0-9A-F\r\n]+$/.test(az2.EncodeCR("AZTEC", 0, 0, 5)), true);
az2.SetCRLF(0);
expectEq("Aztec EncodeCR equals Encode without CR LF", az2.EncodeCR("AZTEC", 0, 0, 5), az2.Encode("AZTEC"));
// A size whose CR LF text needs one piece more than its LF text: FormulaNoForCR counts the
// pieces that EncodeCR cuts.
var tipping = 0, crText = "";
for (var size = 1; size <= 36 && tipping === 0; size++) {
    az2.SetCRLF(0);
    var lfText = az2.EncodeCR("AZTEC", 0, size, 5);
    az2.SetCRLF(1);
    crText = az2.EncodeCR("AZTEC", 0, size, 5);
    if (Math.floor(lfText.length / 250) !== Math.floor(crText.length / 250)) tipping = size;
}
az2.PreferredFormat = tipping;
expectEq("Aztec pieces of the CR LF text", az2.FormulaNoForCR("AZTEC"), Math.floor(crText.length / 250) + 1);
az2.PreferredFormat = 0;

var dm = new ActiveXObject("Tarnvik.Datamatrix");
expectEq("Format default", dm.Format, -1);
dm.Format = 29;
dm.Format = 30;
expectEq("Format 30 ignored", dm.Format, 29);
dm.Format = -1;
dm.SetCRLF(false);
expectEq("Datamatrix SetCRLF false", hasCR(dm.Encode("DM")), false);
dm.SetCRLF(true);
expectEq("Datamatrix SetCRLF true", hasCR(dm.Encode("DM")), true);
expectEq("SEMIT7 is an 8 x 32 symbol", dm.SEMIT7("AB").split("\r\n").length, 3);
expectEq("CMDM without a check field is empty", dm.CMDM("SHORT"), "");

var pdf = new ActiveXObject("Tarnvik.PDF417");
pdf.SetCRLF(false);
expectEq("PDF417 SetCRLF false", hasCR(pdf.Encode("PDF417")), false);
pdf.SetCRLF(true);
expectEq("PDF417 SetCRLF true", hasCR(pdf.Encode("PDF417")), true);
pdf.SecurityLevel = 10;  // ignored
expectEq("PDF417 nSecurity 11 warns", pdf.EncodeCR("PDF417", 0, 0, 0, 11, 0, 0), "Invalid security level");

var c16 = new ActiveXObject("Tarnvik.Code16k");
c16.SetCRLF(false);
var c16lf = c16.Encode("CODE 16K");
expectEq("Code16k SetCRLF false", hasCR(c16lf), false);
c16.SetCRLF(true);
expectEq("Code16k SetCRLF true", hasCR(c16.Encode("CODE 16K")), true);
expectEq("Code16k piece 1", c16.EncodeCR("CODE 16K", 1), c16.Encode("CODE 16K").substr(0, 250));

var maxi = new ActiveXObject("Tarnvik.Maxicode");
maxi.SetCRLF(false);
expectEq("Maxicode has eleven CR LF lines", maxi.Encode("MAXICODE").split("\r\n").length, 12);
expectEq("Maxicode mode 2 without primary message", maxi.EncodeCR("MAXICODE", 0, 2), "Invalid Primary String");
var longMaxi = "";
for (var k = 0; k < 139; k++) longMaxi += "A";
expectEq("Maxicode too long", maxi.Encode(longMaxi), "Input data too long");

var mpdf = new ActiveXObject("Tarnvik.MicroPDF417");
mpdf.SetCRLF(false);
expectEq("MicroPDF417 keeps CR LF", hasCR(mpdf.Encode("MICRO")), true);
expectEq("MicroPDF417 EncodeCR 0", mpdf.EncodeCR("MICRO", 0), mpdf.Encode("MICRO"));

var mqr = new ActiveXObject("Tarnvik.MicroQRCode");
mqr.ECLevel = 4;  // ignored
expectEq("Micro QR level kept", mqr.ECLevel, 1);
var long36 = "";
for (var k = 0; k < 36; k++) long36 += "1";
expectEq("Micro QR too long", mqr.Encode(long36), "Input data too long");

var qr = new ActiveXObject("Tarnvik.QRCode"), qr2 = new ActiveXObject("Tarnvik.QRCode");
qr.ECLevel = 0;
expectEq("second QR keeps level M", qr2.ECLevel, 1);
var text = "";
for (var k = 0; k < 2000; k++) text += String.fromCharCode(97 + k % 26);
var count = qr.FormulaNoForCR(text), all = "";
for (var p = 1; p <= count; p++) all += qr.EncodeCR(text, p, 0);
expectEq("QR pieces join", all, qr.Encode(text));
expectEq("QR piece count", count, Math.floor(all.length / 250) + 1);
expectEq("QR piece past the end", qr.EncodeCR(text, count + 1, 0), "");
expectEq("QR CJK is not ANSI", qr.Encode("\u65e5\u672c\u8a9e") === qr.Encode("???"), false);

finish();
