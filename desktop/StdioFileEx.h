// A text file that writes UTF-16 with a byte-order mark (open flag modeWriteUnicode), or
// 8-bit text in a code page (the system's ANSI page for -1; 65001 is UTF-8, written with its
// mark). Only writing is built: the program's import reads its text files as bytes.
#pragma once
#include <windows.h>

#include <string_view>

class CStdioFileEx {
public:
    enum : UINT {
        modeWrite = 0x0001,
        modeCreate = 0x1000,
        typeText = 0x4000,
        typeBinary = 0x8000,
        modeWriteUnicode = 0x200000,
    };

    CStdioFileEx() = default;
    virtual ~CStdioFileEx();
    CStdioFileEx(const CStdioFileEx&) = delete;
    CStdioFileEx& operator=(const CStdioFileEx&) = delete;

    // Opens `path` for writing (created, or emptied, with modeCreate); FALSE when it fails.
    virtual BOOL Open(const wchar_t* path, UINT flags);
    // Writes `text`; the first write into an empty file writes the mark first. FALSE when
    // not all of it was written.
    virtual BOOL WriteString(std::wstring_view text);
    void Close();

    bool IsUnicode() const { return m_bIsUnicodeText; }
    void SetCodePage(int codePage) { m_nFileCodePage = codePage; }

private:
    BOOL WriteBytes(const void* data, DWORD size);

    bool m_bIsUnicodeText = false;
    UINT m_nFlags = 0;
    int m_nFileCodePage = -1;
    char m_cDefaultChar = '#';
    bool m_bWriteMark = true;
    HANDLE m_hFile = INVALID_HANDLE_VALUE;
};
