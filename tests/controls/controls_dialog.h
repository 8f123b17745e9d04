// The controls' dialog of the tests, run modally by the layer's loop with a script of steps.
#pragma once
#include <string>
#include <vector>

#include "ui_support.h"

constexpr int IdPush = 3001, IdCheck = 3002, IdDef = 3003, IdOther = 3004;
constexpr int IdEditCombo = 3010, IdListCombo = 3011, IdDisabledCombo = 3012, IdEdit = 3020;

class ControlsDialog : public ScriptedDialog {
public:
    ControlsDialog() : ScriptedDialog(300) {}
    std::vector<std::pair<int, int>> commands;  // (id, code) of every command that arrived
    int Count(int id, int code) const {
        int n = 0;
        for (auto& c : commands) n += c.first == id && c.second == code;
        return n;
    }
    BOOL OnCmdMsg(UINT id, int code) override {
        commands.emplace_back(static_cast<int>(id), code);
        return ScriptedDialog::OnCmdMsg(id, code);
    }
};

// The centre of a control in its own client coordinates, as a mouse message's lParam.
inline LPARAM CentreOf(HWND wnd) {
    RECT r;
    ::GetClientRect(wnd, &r);
    return MAKELPARAM(r.right / 2, r.bottom / 2);
}

// Moves the real pointer to a screen point with SendInput.
inline void MovePointer(int x, int y) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &in, sizeof in);
}

inline POINT ScreenCentre(HWND wnd) {
    RECT r;
    ::GetWindowRect(wnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
