// The message text of a component-system failure, for the exported functions' error line.
#pragma once

#include <windows.h>

#include <string>

namespace tarnvik {

// The system's message for `hr`, without its line end; empty when the system has none.
std::wstring ErrorMessageText(HRESULT hr);

}  // namespace tarnvik
