// A text file that writes UTF-16 with a byte-order mark (open flag modeWriteUnicode), or
// 8-bit text in a code page (the system's ANSI page for -1; 65001 is UTF-8, written with its
// mark), and reads either back line by line: opened for reading, its first bytes tell UTF-16
// (FF FE) or UTF-8 (EF BB BF) from 8-bit text, and the mark is skipped.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "framework.h"
#include "text_file.h"

// A buffer made with new[]; freed with delete[] when the holder owns it.
template <typename T>
class CTemplateSmartPtrArray {
public:
    explicit CTemplateSmartPtrArray(T* buffer = nullptr, bool owns = true) : m_pBuffer(buffer), m_bOwns(owns) {}
    virtual ~CTemplateSmartPtrArray() {
        if (m_bOwns) delete[] m_pBuffer;
    }
    CTemplateSmartPtrArray(const CTemplateSmartPtrArray&) = delete;
    CTemplateSmartPtrArray& operator=(const CTemplateSmartPtrArray&) = delete;
    T* Get() const { return m_pBuffer; }

private:
    T* m_pBuffer;
    bool m_bOwns;
};

class CStdioFileEx {
public:
    enum : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        modeCreate = 0x1000,
        typeText = 0x4000,
        typeBinary = 0x8000,
        modeWriteUnicode = 0x200000,
    };
    enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };

    CStdioFileEx() = default;
    virtual ~CStdioFileEx();
    CStdioFileEx(const CStdioFileEx&) = delete;
    CStdioFileEx& operator=(const CStdioFileEx&) = delete;

    // Opens `path`: for writing (created, or emptied, with modeCreate) when the flags hold
    // modeWrite or modeReadWrite, else for reading, when the byte-order mark is tested.
    // FALSE when it fails.
    virtual BOOL Open(const wchar_t* path, UINT flags);
    // Moves the position; the new position from the start, or -1 when it fails. Back at the
    // start, the next read skips the mark again.
    virtual LONGLONG Seek(LONGLONG offset, UINT from);
    // Writes `text`; the first write into an empty file writes the mark first. FALSE when
    // not all of it was written.
    virtual BOOL WriteString(std::wstring_view text);
    // Reads the next line without its line end (LF, or CR LF); FALSE at the end of the file
    // or when the file cannot be read (then Failed() tells).
    virtual BOOL ReadString(CString& line);
    // Reads at most `max` - 1 characters of the current line, its line end included as it
    // stands, and a terminating NUL; null at the end of the file or when it cannot be read.
    virtual wchar_t* ReadString(wchar_t* buffer, UINT max);
    // Closes the file; FALSE when what was written could not be kept.
    BOOL Close();

    bool IsUnicode() const { return m_bIsUnicodeText; }
    int GetCodePage() const { return m_nFileCodePage; }
    void SetCodePage(int codePage) { m_nFileCodePage = codePage; }
    // A read of this file has failed.
    bool Failed() const { return m_bFailed; }
    // Where the next read starts, in bytes from the start of the file, and the file's length;
    // -1 when the file is not open.
    LONGLONG GetPosition() const;
    LONGLONG GetLength() const;

private:
    BOOL WriteBytes(const void* data, DWORD size);
    // The next line with its line end as it stands, from what a buffer-form read left over
    // or from the file; false at the end or on failure.
    bool NextLine(std::u16string& line);
    // Converts one line's bytes from the file's encoding.
    bool Decode(const std::string& bytes, std::u16string& line);
    LONGLONG Position() const;

    bool m_bIsUnicodeText = false;
    UINT m_nFlags = 0;
    int m_nFileCodePage = -1;
    char m_cDefaultChar = '#';
    bool m_bWriteMark = true;
    char m_arrBuffer[4096] = {};
    bool m_bReadMark = true;

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    desktop::LineReader m_lines{[this](char* out, std::size_t capacity) {
        DWORD got = 0;
        if (!::ReadFile(m_hFile, out, static_cast<DWORD>(capacity), &got, nullptr)) return -1L;
        return static_cast<long>(got);
    }};
    std::u16string m_strLeft;  // the rest of a line a buffer-form read did not take
    bool m_bFailed = false;
};
