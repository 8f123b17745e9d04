#include "ShapingGuard.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "shaping.h"
#include "windows_platform.h"

namespace {

constexpr UINT_PTR kGuardId = 0x5348;  // this guard's subclass id

std::wstring TextOf(HWND edit) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(std::max(0, ::GetWindowTextW(edit, text.data(), static_cast<int>(text.size())))));
    return text;
}

std::wstring Clipboard(HWND edit) {
    std::wstring text;
    if (!::IsClipboardFormatAvailable(CF_UNICODETEXT) || !::OpenClipboard(edit)) return text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* units = static_cast<const wchar_t*>(::GlobalLock(data))) {
            text = units;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

// The field's text after `message` would have changed it, or nothing when the message
// changes no text (or its change cannot be foretold).
bool Foretell(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, std::wstring& after) {
    if (message == WM_SETTEXT) {
        after = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
        return true;
    }
    const bool multiLine = (::GetWindowLongPtrW(edit, GWL_STYLE) & ES_MULTILINE) != 0;
    std::wstring insert;
    bool backward = false, forward = false;
    switch (message) {
    case WM_CHAR:
        if (wParam == VK_BACK) backward = true;
        else if (wParam == VK_RETURN && multiLine) insert = L"\r\n";
        else if (wParam < 0x20) return false;  // control keys: none puts text in
        else insert.assign(1, static_cast<wchar_t>(wParam));
        break;
    case WM_KEYDOWN:
        if (wParam != VK_DELETE) return false;
        forward = true;
        break;
    case WM_PASTE: insert = Clipboard(edit); break;
    case WM_CUT:
    case WM_CLEAR: break;
    case EM_REPLACESEL: insert = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L""; break;
    default: return false;
    }
    if (!multiLine) insert = insert.substr(0, insert.find_first_of(L"\r\n"));
    after = TextOf(edit);
    DWORD start = 0, end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    std::size_t from = std::min<std::size_t>(start, after.size()), to = std::min<std::size_t>(std::max(start, end), after.size());
    if (from == to && backward && from > 0) from -= (from >= 2 && after.compare(from - 2, 2, L"\r\n") == 0) ? 2 : 1;
    if (from == to && forward && to < after.size()) to += after.compare(to, 2, L"\r\n") == 0 ? 2 : 1;
    if (from == to && insert.empty()) return false;
    after.replace(from, to - from, insert);
    return true;
}

LRESULT CALLBACK GuardProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_NCDESTROY) ::RemoveWindowSubclass(edit, GuardProc, kGuardId);
    std::wstring after;
    if (Foretell(edit, message, wParam, lParam, after)) {
        const std::u16string text(after.begin(), after.end());
        if (const auto fault = desktop::FirstShapingFault(text)) {
            const std::u16string refused = desktop::ShapingRefused(fault->character);
            ::MessageBoxW(::GetAncestor(edit, GA_ROOT), std::wstring(refused.begin(), refused.end()).c_str(), L"Encoder",
                          MB_OK | MB_ICONEXCLAMATION);
            return message == WM_SETTEXT ? FALSE : 0;
        }
    }
    return ::DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

void GuardEditFields(HWND dialog) {
    if (!desktop::WindowsPlatform().ShapingFails()) return;
    // Every edit field below the dialog, those inside combo boxes too.
    ::EnumChildWindows(
        dialog,
        [](HWND child, LPARAM) -> BOOL {
            wchar_t name[16] = L"";
            ::GetClassNameW(child, name, 16);
            if (::lstrcmpiW(name, L"Edit") == 0) ::SetWindowSubclass(child, GuardProc, kGuardId, 0);
            return TRUE;
        },
        0);
}
