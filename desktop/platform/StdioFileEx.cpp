#include "StdioFileEx.h"

#include <algorithm>
#include <cstring>

CStdioFileEx::~CStdioFileEx() { Close(); }

BOOL CStdioFileEx::Open(const wchar_t* path, UINT flags) {
    Close();
    m_bIsUnicodeText = (flags & modeWriteUnicode) != 0;
    m_nFlags = (flags & ~static_cast<UINT>(typeText)) | typeBinary;
    m_bFailed = false;
    if (!path) return FALSE;
    const bool writing = (m_nFlags & (modeWrite | modeReadWrite)) != 0;
    if (writing) {
        m_hFile = ::CreateFileW(path, GENERIC_WRITE | ((m_nFlags & modeReadWrite) ? GENERIC_READ : 0),
                                FILE_SHARE_READ, nullptr,
                                (m_nFlags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
        return m_hFile != INVALID_HANDLE_VALUE;
    }
    m_hFile = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE) return FALSE;
    // The byte-order mark: UTF-16, or UTF-8 read in code page 65001.
    char head[3] = {};
    DWORD got = 0;
    if (!::ReadFile(m_hFile, head, sizeof head, &got, nullptr)) {
        m_bFailed = true;  // open, but unreadable: every read reports it
        return TRUE;
    }
    const desktop::TextMark mark = desktop::MarkOf(std::string_view(head, got));
    if (mark == desktop::TextMark::Utf16) m_bIsUnicodeText = true;
    if (mark == desktop::TextMark::Utf8) m_nFileCodePage = CP_UTF8;
    Seek(0, begin);
    m_bReadMark = true;
    return TRUE;
}

BOOL CStdioFileEx::Close() {
    BOOL kept = TRUE;
    if (m_hFile != INVALID_HANDLE_VALUE) kept = ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_lines.Drop();
    m_strLeft.clear();
    return kept;
}

LONGLONG CStdioFileEx::Position() const {
    LARGE_INTEGER zero{}, at{};
    if (!::SetFilePointerEx(m_hFile, zero, &at, FILE_CURRENT)) return -1;
    return at.QuadPart - static_cast<LONGLONG>(m_lines.Buffered());
}

LONGLONG CStdioFileEx::GetPosition() const { return m_hFile == INVALID_HANDLE_VALUE ? -1 : Position(); }

LONGLONG CStdioFileEx::GetLength() const {
    LARGE_INTEGER size{};
    if (m_hFile == INVALID_HANDLE_VALUE || !::GetFileSizeEx(m_hFile, &size)) return -1;
    return size.QuadPart;
}

LONGLONG CStdioFileEx::Seek(LONGLONG offset, UINT from) {
    if (m_hFile == INVALID_HANDLE_VALUE) return -1;
    // What was read ahead is dropped; a move from the current position counts from the
    // position the lines have reached.
    if (from == current) {
        const LONGLONG at = Position();
        if (at < 0) return -1;
        offset += at;
        from = begin;
    }
    m_lines.Drop();
    m_strLeft.clear();
    LARGE_INTEGER move{}, to{};
    move.QuadPart = offset;
    if (!::SetFilePointerEx(m_hFile, move, &to, from == end ? FILE_END : FILE_BEGIN)) return -1;
    if (to.QuadPart == 0) m_bReadMark = true;
    return to.QuadPart;
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
    // The fixed buffer, or for a longer text one made for it.
    CTemplateSmartPtrArray<char> made(n > static_cast<int>(sizeof m_arrBuffer) ? new char[static_cast<std::size_t>(n)] : nullptr);
    char* bytes = made.Get() ? made.Get() : m_arrBuffer;
    if (::WideCharToMultiByte(page, convert, text.data(), units, bytes, n, fallback, nullptr) != n)
        return FALSE;
    return WriteBytes(bytes, static_cast<DWORD>(n));
}

bool CStdioFileEx::Decode(const std::string& bytes, std::u16string& line) {
    if (m_bIsUnicodeText) {
        line = desktop::Utf16LeUnits(bytes);
        return true;
    }
    line.clear();
    if (bytes.empty()) return true;
    const UINT page = m_nFileCodePage == -1 ? CP_ACP : static_cast<UINT>(m_nFileCodePage);
    if (page == CP_UTF8) {
        // The core's decoding, so that malformed bytes read as the portable tests prove.
        line = desktop::FromUtf8(bytes);
        return true;
    }
    const DWORD convert = MB_PRECOMPOSED;
    const int size = static_cast<int>(std::min<std::size_t>(bytes.size(), INT_MAX));
    const int n = ::MultiByteToWideChar(page, convert, bytes.data(), size, nullptr, 0);
    if (n <= 0) return false;
    line.resize(static_cast<std::size_t>(n));
    return ::MultiByteToWideChar(page, convert, bytes.data(), size, reinterpret_cast<wchar_t*>(line.data()), n) == n;
}

bool CStdioFileEx::NextLine(std::u16string& line) {
    if (m_hFile == INVALID_HANDLE_VALUE || m_bFailed) return false;
    if (!m_strLeft.empty()) {
        line = std::move(m_strLeft);
        m_strLeft.clear();
        return true;
    }
    if (m_bReadMark && Position() == 0) {
        // Skip the mark of a UTF-16 file, or of a UTF-8 file read in code page 65001.
        char head[3] = {};
        DWORD got = 0;
        if (!::ReadFile(m_hFile, head, sizeof head, &got, nullptr)) {
            m_bFailed = true;
            return false;
        }
        const desktop::TextMark mark = desktop::MarkOf(std::string_view(head, got));
        std::size_t skip = 0;
        if (m_bIsUnicodeText && mark == desktop::TextMark::Utf16) skip = 2;
        if (!m_bIsUnicodeText && m_nFileCodePage == CP_UTF8 && mark == desktop::TextMark::Utf8) skip = 3;
        LARGE_INTEGER to{};
        to.QuadPart = static_cast<LONGLONG>(skip);
        if (!::SetFilePointerEx(m_hFile, to, nullptr, FILE_BEGIN)) {
            m_bFailed = true;
            return false;
        }
    }
    m_bReadMark = false;
    std::string bytes;
    switch (m_lines.Next(m_bIsUnicodeText ? 2 : 1, bytes)) {
    case desktop::LineReader::Result::End: return false;
    case desktop::LineReader::Result::Failed: m_bFailed = true; return false;
    case desktop::LineReader::Result::Line: break;
    }
    if (!Decode(bytes, line)) {
        m_bFailed = true;
        return false;
    }
    return true;
}

BOOL CStdioFileEx::ReadString(CString& line) {
    std::u16string text;
    if (!NextLine(text)) return FALSE;
    const std::u16string_view content = desktop::WithoutLineEnd(text);
    line = CString(std::wstring(content.begin(), content.end()));
    return TRUE;
}

wchar_t* CStdioFileEx::ReadString(wchar_t* buffer, UINT max) {
    if (!buffer || max == 0) return nullptr;
    std::u16string text;
    if (max == 1 || !NextLine(text)) {
        buffer[0] = L'\0';
        return max == 1 ? buffer : nullptr;
    }
    const std::size_t take = std::min<std::size_t>(text.size(), max - 1);
    std::memcpy(buffer, text.data(), take * sizeof(wchar_t));
    buffer[take] = L'\0';
    if (take < text.size()) m_strLeft = text.substr(take);
    return buffer;
}
