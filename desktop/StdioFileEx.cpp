#include "StdioFileEx.h"

#include <vector>

CStdioFileEx::~CStdioFileEx() { Close(); }

BOOL CStdioFileEx::Open(const wchar_t* path, UINT flags) {
    Close();
    m_bIsUnicodeText = (flags & modeWriteUnicode) != 0;
    m_nFlags = (flags & ~static_cast<UINT>(typeText)) | typeBinary;
    if (!path || (m_nFlags & modeWrite) == 0) return FALSE;
    m_hFile = ::CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            (m_nFlags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    return m_hFile != INVALID_HANDLE_VALUE;
}

void CStdioFileEx::Close() {
    if (m_hFile != INVALID_HANDLE_VALUE) ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
}

BOOL CStdioFileEx::WriteBytes(const void* data, DWORD size) {
    DWORD written = 0;
    return size == 0 || (::WriteFile(m_hFile, data, size, &written, nullptr) && written == size);
}

BOOL CStdioFileEx::WriteString(std::wstring_view text) {
    if (m_hFile == INVALID_HANDLE_VALUE) return FALSE;
    LARGE_INTEGER size{};
    if (m_bWriteMark && ::GetFileSizeEx(m_hFile, &size) && size.QuadPart == 0) {
        if (m_bIsUnicodeText) {
            if (!WriteBytes("\xFF\xFE", 2)) return FALSE;
        } else if (m_nFileCodePage == CP_UTF8) {
            if (!WriteBytes("\xEF\xBB\xBF", 3)) return FALSE;
        }
    }
    if (text.empty()) return TRUE;
    if (m_bIsUnicodeText)
        return WriteBytes(text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)));
    const UINT page = m_nFileCodePage == -1 ? CP_ACP : static_cast<UINT>(m_nFileCodePage);
    const bool utf8 = page == CP_UTF8;
    const DWORD convert = utf8 ? 0 : WC_COMPOSITECHECK | WC_DEFAULTCHAR;
    const char* fallback = utf8 ? nullptr : &m_cDefaultChar;
    const int units = static_cast<int>(text.size());
    const int n = ::WideCharToMultiByte(page, convert, text.data(), units, nullptr, 0, fallback, nullptr);
    if (n <= 0) return FALSE;
    std::vector<char> bytes(static_cast<std::size_t>(n));
    if (::WideCharToMultiByte(page, convert, text.data(), units, bytes.data(), n, fallback, nullptr) != n)
        return FALSE;
    return WriteBytes(bytes.data(), static_cast<DWORD>(n));
}
