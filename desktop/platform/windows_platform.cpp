#include "windows_platform.h"

#include <windows.h>

#include <climits>
#include <string>
#include <utility>

namespace desktop {

namespace {

UINT CodePageId(CodePage page) { return page == CodePage::Thread ? CP_THREAD_ACP : CP_ACP; }

int Clamp(std::size_t n) { return n > INT_MAX ? INT_MAX : static_cast<int>(n); }


// The registry view of every read and write: the program's value lives in the 64-bit hive.
constexpr REGSAM kView = KEY_WOW64_64KEY;

int CALLBACK CountFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM counter) {
    ++*reinterpret_cast<int*>(counter);
    return 0;  // one is enough
}

}  // namespace

std::u16string WindowText(HWND window) {
    const int n = ::GetWindowTextLengthW(window);
    if (n <= 0) return {};
    std::u16string text(static_cast<std::size_t>(n), u'\0');
    const int got = ::GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), n + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

long WindowsPlatform::ToNarrow(CodePage page, const char16_t* text, std::size_t count, char* out,
                               std::size_t capacity) {
    if (count == 0) return 0;
    if (!text || count > INT_MAX || (capacity > 0 && !out)) return -1;
    // No flags and no default character of ours: characters the code page lacks, a lone
    // surrogate among them, become the code page's default character.
    const int n = WideCharToMultiByte(CodePageId(page), 0, reinterpret_cast<const wchar_t*>(text),
                                      static_cast<int>(count), capacity ? out : nullptr,
                                      Clamp(capacity), nullptr, nullptr);
    if (n <= 0) {
        if (capacity) out[0] = '\0';  // nothing half-written is left to be taken for text
        return -1;
    }
    return n;
}

long WindowsPlatform::ToWide(CodePage page, const char* bytes, std::size_t count, char16_t* out,
                             std::size_t capacity) {
    if (count == 0) return 0;
    if (!bytes || count > INT_MAX || (capacity > 0 && !out)) return -1;
    // The count bounds the read: a lead byte at the end becomes the default character and
    // the byte after the given ones is never looked at.
    const int n = MultiByteToWideChar(CodePageId(page), 0, bytes, static_cast<int>(count),
                                      capacity ? reinterpret_cast<wchar_t*>(out) : nullptr,
                                      Clamp(capacity));
    if (n <= 0) {
        if (capacity) out[0] = u'\0';
        return -1;
    }
    return n;
}

bool WindowsPlatform::ShapingFails() {
    // Wine's ntdll exports its version; Windows' does not.
    static const bool wine = ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

bool WindowsPlatform::IsFontInstalled(std::u16string_view face) {
    // An empty name would enumerate every family; a name of LF_FACESIZE characters or more,
    // or one with a NUL, cannot name a face.
    if (face.empty() || face.size() >= LF_FACESIZE || face.find(u'\0') != std::u16string_view::npos)
        return false;
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    face.copy(reinterpret_cast<char16_t*>(lf.lfFaceName), face.size());
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return false;
    int families = 0;
    EnumFontFamiliesExW(dc, &lf, CountFamily, reinterpret_cast<LPARAM>(&families), 0);
    DeleteDC(dc);
    return families > 0;
}

RegistryValue WindowsPlatform::ReadRegistryValue(std::u16string_view subKey, std::u16string_view name) {
    RegistryValue value;
    const std::u16string key(subKey), valueName(name);
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, WideText(key), 0, KEY_QUERY_VALUE | kView, &h) != ERROR_SUCCESS)
        return value;
    DWORD type = 0, size = 0;
    LONG rc = RegQueryValueExW(h, WideText(valueName), nullptr, &type, nullptr, &size);
    // The value may grow between the two calls: ask again until the data fits.
    while (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
        value.data.resize(size);
        rc = RegQueryValueExW(h, WideText(valueName), nullptr, &type, value.data.empty() ? nullptr : value.data.data(), &size);
        if (rc == ERROR_SUCCESS) {
            value.data.resize(size);
            value.found = true;
            value.type = type;
            break;
        }
    }
    if (!value.found) value.data.clear();
    RegCloseKey(h);
    return value;
}

bool WindowsPlatform::WriteRegistryString(std::u16string_view subKey, std::u16string_view name,
                                          std::u16string_view text) {
    const std::u16string key(subKey), valueName(name), data(text);
    if ((data.size() + 1) * 2 > 0xFFFFFFFFu) return false;
    HKEY h = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, WideText(key), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE | kView, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG rc = RegSetValueExW(h, WideText(valueName), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                   static_cast<DWORD>((data.size() + 1) * 2));
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

}  // namespace desktop
