// The one way out to the shell: the notification-area icon, opening documents and programs,
// beeps and sounds. Tests replace the calls to record what would be launched instead of launching it.
#pragma once
#include <windows.h>
#include <shellapi.h>

struct ShellCalls {
    BOOL (*NotifyIcon)(DWORD message, NOTIFYICONDATAW* data);
    HINSTANCE (*Execute)(HWND wnd, const wchar_t* verb, const wchar_t* file,
                         const wchar_t* parameters, const wchar_t* directory, int show);
    BOOL (*ExecuteEx)(SHELLEXECUTEINFOW* info);
    UINT (*Exec)(const char* commandLine, UINT show);
    BOOL (*Beep)(UINT type);
    // PlaySoundW: a sound by name, resource or memory image, as `flags` say.
    BOOL (*Sound)(const wchar_t* sound, HMODULE module, DWORD flags);
};

// The calls in use; the platform's own until replaced.
ShellCalls& Shell();
// Replaces the calls; returns the ones replaced.
ShellCalls SetShellCalls(const ShellCalls& calls);
