#include "shell.h"

#include <mmsystem.h>

namespace {
ShellCalls g_calls{
    [](DWORD message, NOTIFYICONDATAW* data) { return ::Shell_NotifyIconW(message, data); },
    [](HWND wnd, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
       const wchar_t* directory, int show) {
        return ::ShellExecuteW(wnd, verb, file, parameters, directory, show);
    },
    [](SHELLEXECUTEINFOW* info) { return ::ShellExecuteExW(info); },
    [](const char* commandLine, UINT show) { return ::WinExec(commandLine, show); },
    [](UINT type) { return ::MessageBeep(type); },
    [](const wchar_t* sound, HMODULE module, DWORD flags) { return ::PlaySoundW(sound, module, flags); },
};
}  // namespace

ShellCalls& Shell() { return g_calls; }

ShellCalls SetShellCalls(const ShellCalls& calls) {
    ShellCalls previous = g_calls;
    g_calls = calls;
    return previous;
}
