// Keeps every edit field of a dialog from being given a text that the system's text shaping
// fails on (desktop/core/shaping.h): under Wine such a text, typed, pasted or set from code,
// would end the program inside the edit control. The change is refused with a message box
// that names the character, and the field keeps what it had. Windows needs no guard: there
// nothing is installed.
#pragma once

#include <windows.h>

// Guards the edit fields below `dialog` (combo boxes' fields included) where the shaping fails.
void GuardEditFields(HWND dialog);
