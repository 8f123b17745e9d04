// CString: a wide text over std::wstring with the handful of operations the dialogs and
// controls use. It converts to a NUL-terminated LPCWSTR for the platform calls.
#pragma once
#include <windows.h>

#include <algorithm>
#include <string>

class CString {
public:
    CString() = default;
    CString(const wchar_t* text) : m_text(text ? text : L"") {}
    CString(const wchar_t* text, int length) : m_text(text, static_cast<std::size_t>(length)) {}
    CString(std::wstring text) : m_text(std::move(text)) {}

    operator const wchar_t*() const { return m_text.c_str(); }
    const std::wstring& str() const { return m_text; }
    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    wchar_t GetAt(int i) const { return m_text[static_cast<std::size_t>(i)]; }
    wchar_t operator[](int i) const { return GetAt(i); }
    int Find(wchar_t c, int start = 0) const {
        auto at = m_text.find(c, static_cast<std::size_t>(start));
        return at == std::wstring::npos ? -1 : static_cast<int>(at);
    }
    int Find(const wchar_t* s, int start = 0) const {
        auto at = m_text.find(s, static_cast<std::size_t>(start));
        return at == std::wstring::npos ? -1 : static_cast<int>(at);
    }
    CString Left(int n) const { return CString(m_text.substr(0, Clamp(n))); }
    CString Mid(int first) const { return CString(m_text.substr(Clamp(first))); }
    CString Mid(int first, int n) const { return CString(m_text.substr(Clamp(first), Clamp(n))); }
    int CompareNoCase(const wchar_t* other) const { return ::lstrcmpiW(m_text.c_str(), other); }

    CString& operator=(const wchar_t* text) { m_text = text ? text : L""; return *this; }
    CString& operator+=(const CString& s) { m_text += s.m_text; return *this; }
    CString& operator+=(const wchar_t* s) { m_text += s; return *this; }
    CString& operator+=(wchar_t c) { m_text += c; return *this; }
    friend CString operator+(CString a, const CString& b) { a += b; return a; }
    friend CString operator+(CString a, const wchar_t* b) { a += b; return a; }
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const wchar_t* b) { return a.m_text == (b ? b : L""); }

private:
    std::size_t Clamp(int n) const {
        return n < 0 ? 0 : std::min(static_cast<std::size_t>(n), m_text.size());
    }
    std::wstring m_text;
};
