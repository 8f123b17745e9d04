// The DataBar and Pharmacode classes from JScript: exact font text, the line ends after
// SetCRLF(false) and SetCRLF(true), the pieces of Expanded Stacked, and Pharmacode.

var db = new ActiveXObject("Tarnvik.Databar");
expectEq("Databar14 of 123", db.Databar14("123"), "1a1b1b2a6a2c8a1b4a1b2a2a1d1c1c1a1d7b3a1b3b1c1a *");
expectEq("Databar14 pads on the right", db.Databar14("123"), db.Databar14("1230000000000"));
expectEq("Databar14 message", db.Databar14("12A"), "Invalid characters in data");
var stk = db.DatabarStkOmni("1234567890123");
expectEq("StkOmni has LF only", stk.indexOf("\r") < 0 && stk.indexOf("\n") > 0, true);
db.SetCRLF(false);
var crlf = db.DatabarStkOmni("1234567890123");
expectEq("StkOmni with flag 0", crlf, stk.replace(/\n/g, "\r\n"));
db.SetCRLF(true);
expectEq("StkOmni after SetCRLF(true)", db.DatabarStkOmni("1234567890123"), stk);

var data = "(01)90012345678908(10)ABCDEFGHIJ(21)ABCDEFGHIJKLMNOPQR";
var whole = db.DatabarExpStkCR(data, 0);
expectEq("ExpStkCR flag 1 whole", whole, db.DatabarExpStk(data));
var joined = "";
for (var i = 1; i <= 4; i++) {
    var piece = db.DatabarExpStkCR(data, i);
    expectEq("piece " + i + " suffix", piece.substr(piece.length - 2), " *");
    joined += piece.substr(0, piece.length - 2);
}
expectEq("pieces joined", joined + " *", whole);
expectEq("negative index is piece 1", db.DatabarExpStkCR(data, -3), db.DatabarExpStkCR(data, 1));
var long80 = "(01)90012345678908(3103)001750(15)991231(10)12345678901234567890(21)123456(17)99";
expectEq("DatabarExp encodes the whole text", db.DatabarExp(long80), "Invalid data length for AI (17)");
var long86 = long80 + "1231";
expectEq("DatabarExp of 86 characters encodes", db.DatabarExp(long86).slice(-2), " *");
expectEq("DatabarExp of 86 characters is not cut", db.DatabarExp(long86) == db.DatabarExp(long86.substr(0, 74)), false);

var med = new ActiveXObject("Tarnvik.Medical.1");
expectEq("Pharmaone 131070", med.Pharmaone("131070"), "1111111111111111");
expectEq("Pharmatwo 64570080", med.Pharmatwo("64570080"), "3333333333333333");
expectEq("Pharmatwo out of range", med.Pharmatwo("3"), "Data out of range");
expectEq("Pharmaone no escapes", med.Pharmaone("&#49;23"), "Data too long");
finish();
