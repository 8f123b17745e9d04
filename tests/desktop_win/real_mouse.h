// Real mouse input, as the X server delivers it to whichever window is under the pointer.
#pragma once
#include <windows.h>

// One mouse event: MOUSEEVENTF_MOVE goes to the screen point (x, y); button events happen where
// the pointer is.
inline void Mouse(DWORD flags, int x = 0, int y = 0) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_MOVE) {
        in.mi.dx = x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
        in.mi.dy = y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
        in.mi.dwFlags |= MOUSEEVENTF_ABSOLUTE;
    }
    ::SendInput(1, &in, sizeof in);
}
