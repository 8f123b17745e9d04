// The linear class from JScript: creation by ProgID, exact font text by character codes, and
// the errors a late-bound host sees.
function codes(s) {
    var a = [];
    for (var i = 0; i < s.length; i++) a.push(s.charCodeAt(i));
    return a.join(",");
}
function expectCodes(what, got, want) {
    if (codes(got) !== want) { WScript.Echo("FAIL " + what + ": [" + codes(got) + "] want [" + want + "]"); failures++; }
    else WScript.Echo("ok " + what);
}
function expectError(what, f, hr) {
    try { f(); WScript.Echo("FAIL " + what + ": no error"); failures++; }
    catch (e) { expectEq(what, (e.number >>> 0).toString(16), hr); }
}

var lin = new ActiveXObject("Tarnvik.Linear.1");
expectCodes("Code39 ABC", lin.Code39("ABC"), "42,65,66,67,42");
expectCodes("Code39 abc keeps start and stop only", lin.Code39("abc"), "42,42");
expectCodes("Code39 of an escape", lin.Code39("&#65;B"), "42,65,66,42");
expectCodes("Code39Check CODE39", lin.Code39Check("CODE39"), "42,67,79,68,69,51,57,87,42");
expectCodes("Code93 empty", lin.Code93(""), "91,48,48,93,124");
expectCodes("case-insensitive name", lin.CODE39("A"), "42,65,42");
expectCodes("number argument converts", lin.Code39(42), "42,52,50,42");
expectEq("USSCode39 is empty", lin.USSCode39("ABC"), "");
var viaVersionIndependent = new ActiveXObject("Tarnvik.Linear");
expectCodes("version-independent ProgID", viaVersionIndependent.Code39("Z"), "42,90,42");
expectError("too many arguments", function () { lin.Code39("A", "B"); }, "8002000e");
expectError("unknown member", function () { lin.NoSuchMethod("A"); }, "800a01b6");

var az = new ActiveXObject("Tarnvik.Aztec.1");
expectEq("Aztec ECLevel default", az.ECLevel, 5);
az.ECLevel = 9;
expectEq("Aztec ECLevel set", az.ECLevel, 9);
az.ECLevel = 20;
expectEq("Aztec ECLevel out of range ignored", az.ECLevel, 9);
expectEq("Aztec pieces of an empty result", az.FormulaNoForCR(""), 1);

var names = ["Datamatrix", "PDF417", "MicroPDF417", "QRCode", "MicroQRCode", "Maxicode",
             "Code16k", "Databar", "Medical"];
for (var i = 0; i < names.length; i++) {
    var o = new ActiveXObject("Tarnvik." + names[i] + ".1");
    expectEq("created " + names[i], typeof o, "object");
}
finish();
