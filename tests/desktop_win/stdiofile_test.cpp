// The program's text file under Wine: files it writes itself (UTF-16 with its mark, UTF-8 with
// its mark, the ANSI code page) read back line by line, with long lines, both line ends, no
// final line end and no content at all; the buffer form, Seek and the read-mark flag.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StdioFileEx.h"
#include "file_bytes.h"

namespace {

std::wstring TempPath(const wchar_t* name) {
    wchar_t temp[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + name;
}

// Writes `text` as the program writes: Unicode, or 8-bit in `page` (-1 the ANSI page).
void Write(const std::wstring& path, const std::wstring& text, bool unicode, int page = -1) {
    CStdioFileEx file;
    file.SetCodePage(page);
    ASSERT_TRUE(file.Open(path.c_str(), CStdioFileEx::modeCreate | CStdioFileEx::modeWrite |
                                            (unicode ? UINT{CStdioFileEx::modeWriteUnicode} : UINT{0})));
    ASSERT_TRUE(file.WriteString(text));
    ASSERT_TRUE(file.Close());
}

std::vector<std::wstring> ReadLines(const std::wstring& path, bool* unicode = nullptr, int* page = nullptr) {
    std::vector<std::wstring> lines;
    CStdioFileEx file;
    EXPECT_TRUE(file.Open(path.c_str(), CStdioFileEx::modeRead));
    if (unicode) *unicode = file.IsUnicode();
    if (page) *page = file.GetCodePage();
    CString line;
    while (file.ReadString(line)) lines.push_back(line.str());
    EXPECT_FALSE(file.Failed());
    EXPECT_FALSE(file.ReadString(line)) << "the end stays the end";
    return lines;
}

using Lines = std::vector<std::wstring>;

struct Encoding {
    const char* name;
    bool unicode;
    int page;
    std::string mark;
};

class WrittenFiles : public ::testing::TestWithParam<Encoding> {};

TEST_P(WrittenFiles, ReadBackLineByLine) {
    const Encoding& e = GetParam();
    const std::wstring path = TempPath(L"kestrivo_stdio.txt");
    const std::wstring longLine(5000, L'\u00E9');  // two bytes each in UTF-8
    const std::wstring text = L"first\r\n" + longLine + L"\nA\u20AC\r\n\r\n\nlast";
    Write(path, text, e.unicode, e.page);
    const std::string bytes = FileBytes(path);
    EXPECT_EQ(bytes.substr(0, e.mark.size()), e.mark);
    if (e.mark.empty()) {
        EXPECT_EQ(bytes.substr(0, 5), "first");
    }
    bool unicode = false;
    int page = 0;
    EXPECT_EQ(ReadLines(path, &unicode, &page), (Lines{L"first", longLine, L"A\u20AC", L"", L"", L"last"}));
    EXPECT_EQ(unicode, e.unicode) << "the mark test";
    EXPECT_EQ(page, e.unicode ? -1 : e.page);

    // With a final line end no empty line follows it; an empty file has no line at all.
    Write(path, L"one\r\ntwo\n", e.unicode, e.page);
    EXPECT_EQ(ReadLines(path), (Lines{L"one", L"two"}));
    Write(path, L"", e.unicode, e.page);
    EXPECT_EQ(FileBytes(path), e.mark) << "an empty text writes the mark alone";
    EXPECT_EQ(ReadLines(path), Lines{});
    ::DeleteFileW(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(TextFile, WrittenFiles,
                         ::testing::Values(Encoding{"utf16", true, -1, "\xFF\xFE"},
                                           Encoding{"utf8", false, CP_UTF8, "\xEF\xBB\xBF"},
                                           Encoding{"ansi", false, -1, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TextFile, AnsiPageWritesDefaultCharactersAndLongTextWhole) {
    const std::wstring path = TempPath(L"kestrivo_ansi.txt");
    // Longer than the fixed conversion buffer; a character outside code page 1252 becomes "#".
    const std::wstring text = std::wstring(6000, L'x') + L"\u4E2D\u00E9\r\n";
    Write(path, text, false);
    const std::string bytes = FileBytes(path);
    ASSERT_EQ(bytes.size(), 6004u);
    EXPECT_EQ(bytes.substr(6000), "#\xE9\r\n");
    EXPECT_EQ(ReadLines(path), (Lines{std::wstring(6000, L'x') + L"#\u00E9"}));
    ::DeleteFileW(path.c_str());
}

TEST(TextFile, BufferFormSeekAndTheReadMark) {
    const std::wstring path = TempPath(L"kestrivo_seek.txt");
    Write(path, L"abcdef\r\ngh\nij", true);
    CStdioFileEx file;
    ASSERT_TRUE(file.Open(path.c_str(), CStdioFileEx::modeRead));
    wchar_t buffer[5];
    // At most four characters a call; the line end comes as it stands.
    ASSERT_NE(file.ReadString(buffer, 5), nullptr);
    EXPECT_STREQ(buffer, L"abcd");
    ASSERT_NE(file.ReadString(buffer, 5), nullptr);
    EXPECT_STREQ(buffer, L"ef\r\n");
    CString line;
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line.str(), L"gh");
    EXPECT_EQ(file.Seek(0, CStdioFileEx::current), 2 + 2 * 11) << "the position the lines reached";
    ASSERT_NE(file.ReadString(buffer, 5), nullptr);
    EXPECT_STREQ(buffer, L"ij");
    EXPECT_EQ(file.ReadString(buffer, 5), nullptr);
    // Back at the start the mark is skipped again; elsewhere reading goes on from there.
    EXPECT_EQ(file.Seek(0, CStdioFileEx::begin), 0);
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line.str(), L"abcdef");
    EXPECT_EQ(file.Seek(-4, CStdioFileEx::end), 2 + 2 * 11);
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line.str(), L"ij");
    EXPECT_FALSE(file.Failed());
    file.Close();

    // A file that is not there does not open.
    ::DeleteFileW(path.c_str());
    EXPECT_FALSE(file.Open(path.c_str(), CStdioFileEx::modeRead));
    EXPECT_FALSE(file.ReadString(line));
}

TEST(TextFile, SmartArrayFreesOnlyWhatItOwns) {
    static int destroyed = 0;
    struct Counted {
        ~Counted() { ++destroyed; }
    };
    { CTemplateSmartPtrArray<Counted> owner(new Counted[3]); }
    EXPECT_EQ(destroyed, 3);
    Counted kept[2];
    { CTemplateSmartPtrArray<Counted> borrower(kept, false); }
    EXPECT_EQ(destroyed, 3);
}

}  // namespace
