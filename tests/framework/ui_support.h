// Helpers of the window tests: dialogs driven by a script of steps from a timer of the layer's
// own modal loop, pictures of windows read back by pixel, and message boxes answered.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework.h"

// A step runs on each tick until it returns true; then the next one. After the last step the
// dialog ends with IDOK; a step that never succeeds fails the test and ends the dialog.
using Step = std::function<bool()>;

class ScriptedDialog : public CDialog {
public:
    using CDialog::CDialog;
    std::vector<Step> steps;
    std::vector<std::string> stepNames;
    void Add(std::string name, Step step) {
        stepNames.push_back(std::move(name));
        steps.push_back(std::move(step));
    }
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::size_t m_next = 0;
    int m_tries = 0;
};

// A picture of a window's client area drawn by the window itself (WM_PRINTCLIENT) or copied
// from the screen (the window DC), kept as 32-bit pixels.
class Picture {
public:
    static Picture PrintClient(HWND wnd);
    static Picture FromScreen(HWND wnd);
    COLORREF At(int x, int y) const;
    int width = 0, height = 0;
    // Writes the picture as a BMP file below screenshots/ of the working folder.
    void Save(const std::string& name) const;
    // A copy of `source` (or, with `printed`, what that window prints of itself).
    static Picture FromDC(HDC source, int w, int h, HWND printed = nullptr);

private:
    std::vector<DWORD> m_pixels;  // top-down BGRA
};

// A visible message box of this thread, or null.
HWND FindThreadMessageBox();
// Answers the next message box of this thread with OK and keeps its text.
void AnswerNextMessageBox(std::wstring* text);
// Runs the thread's messages for `ms` milliseconds (with the plain platform loop).
void Pump(int ms);
