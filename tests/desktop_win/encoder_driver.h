// Drives the real Encoder.exe from a second process of the same Wine prefix: starts and ends
// it, finds its windows, types into its data field, picks rows, answers its message boxes
// and takes pictures of its face.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "support/barcode_image.h"

class EncoderProcess {
public:
    EncoderProcess() = default;
    EncoderProcess(const EncoderProcess&) = delete;
    EncoderProcess& operator=(const EncoderProcess&) = delete;
    ~EncoderProcess();

    // Starts the program; false when it could not be started.
    bool Start();
    // Waits up to `ms` for the process to end; its exit code, or -1 when it still runs.
    long WaitExit(DWORD ms);
    // Ends the program by its "Close" tool button (waits for the end; forces it when stuck).
    void Close();
    DWORD pid() const { return m_info.dwProcessId; }
    HANDLE process() const { return m_info.hProcess; }

    // The main window (a visible dialog holding the data field and the tool buttons), found
    // within `ms`; null when none appears.
    HWND WaitMain(DWORD ms = 10000) const;
    // The Options pane (a dialog of this process holding the symbology list), shown or not.
    HWND Pane() const;
    // The keyboard pane (the dialog captioned "Special Keyboard"), shown or not.
    HWND Keyboard() const;
    // A message box of this process with the caption "Encoder", found within `ms`.
    HWND WaitMessageBox(DWORD ms) const;
    // A visible dialog of this process holding the control `childId` (and captioned
    // `caption` when given), found within `ms`.
    HWND WaitDialog(int childId, const wchar_t* caption, DWORD ms) const;

private:
    PROCESS_INFORMATION m_info{};
};

// The text of a window (across processes).
std::wstring TextOf(HWND wnd);
// Types `text` into `edit` as key characters and waits until the field holds `expect`.
bool TypeInto(HWND edit, const std::wstring& text, const std::wstring& expect);
// Chooses the entry `name` of the pane's list `id` as a click on it would; false when absent.
bool ChooseEntry(HWND pane, int id, const std::wstring& name);
// The entries of a list of another process.
std::vector<std::wstring> ListEntries(HWND combo);
// One character typed on the keyboard (a key that gives it, as an input method does).
void TypeUnicodeKey(wchar_t c);
// Puts `text` on the clipboard as Unicode text, as a user copying it elsewhere would.
bool PutOnClipboard(const std::wstring& text);
// Waits until `wnd` has handled everything sent before and painted.
void Settle(HWND wnd);
// A grey picture of the window's face in window coordinates (left, top, right, bottom).
testing_support::Image Capture(HWND wnd, const RECT& area);
