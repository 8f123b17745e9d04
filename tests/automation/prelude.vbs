' Put before every VBScript test by run_script.sh: the counting of failures and the last line
' that run_script.sh looks for.
Option Explicit
Dim failures
failures = 0

Sub Expect(what, got, want)
    If got = want Then
        WScript.Echo "ok " & what
    Else
        WScript.Echo "FAIL " & what & ": [" & got & "] want [" & want & "]"
        failures = failures + 1
    End If
End Sub

Sub Finish()
    If failures = 0 Then
        WScript.Echo "ALL PASSED"
    Else
        WScript.Echo "FAILURES " & failures
    End If
End Sub

