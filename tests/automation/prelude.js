// Put before every JScript test by run_script.sh: the counting of failures and the last line
// that run_script.sh looks for.
var failures = 0;
function expectEq(what, got, want) {
    if (got !== want) { WScript.Echo("FAIL " + what + ": [" + got + "] want [" + want + "]"); failures++; }
    else WScript.Echo("ok " + what);
}
function finish() { WScript.Echo(failures === 0 ? "ALL PASSED" : "FAILURES " + failures); }

