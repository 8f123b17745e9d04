#include "module.h"

#include <string>

HINSTANCE AfxGetResourceHandle() { return ::GetModuleHandleW(nullptr); }

CString AfxGetAppName() {
    wchar_t path[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name = path;
    auto slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    auto dot = name.rfind(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    return CString(name);
}
