// "Copy to Clipboard" of Encoder under Wine: this second process reads the four formats back;
// Wine's rich edit control parses the rich text as an independent reader.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "encoder_driver.h"
#include "resource.h"
#include "support/font_text.h"
#include "support/read_back.h"

namespace {

constexpr int kData = IDC_DATA, kSymbology = IDC_SYMBOLOGY, kCopyTool = IDC_TOOL_COPY;

std::string ReadFormat(UINT format) {
    std::string bytes;
    if (!::OpenClipboard(nullptr)) return bytes;
    if (HANDLE block = ::GetClipboardData(format)) {
        const auto* p = static_cast<const char*>(::GlobalLock(block));
        if (p) bytes.assign(p, ::GlobalSize(block));
        ::GlobalUnlock(block);
    }
    ::CloseClipboard();
    return bytes;
}

// Bytes up to (not including) the first zero unit of `unit` bytes.
std::string UpToZero(const std::string& s, std::size_t unit) {
    for (std::size_t i = 0; i + unit <= s.size(); i += unit)
        if (s.compare(i, unit, std::string(unit, '\0')) == 0) return s.substr(0, i);
    return s;
}

struct RichRead {
    std::wstring text, face;
    LONG twips = 0;
};

DWORD CALLBACK FeedRtf(DWORD_PTR cookie, BYTE* buffer, LONG size, LONG* done) {
    auto* rest = reinterpret_cast<std::string*>(cookie);
    const LONG n = std::min<LONG>(size, static_cast<LONG>(rest->size()));
    std::memcpy(buffer, rest->data(), static_cast<std::size_t>(n));
    rest->erase(0, static_cast<std::size_t>(n));
    *done = n;
    return 0;
}

RichRead ReadRtf(std::string rtf) {
    RichRead out;
    HMODULE lib = ::LoadLibraryW(L"riched20.dll");
    HWND edit = ::CreateWindowExW(0, RICHEDIT_CLASSW, L"", WS_POPUP | ES_MULTILINE, 0, 0, 100, 100, nullptr,
                                  nullptr, nullptr, nullptr);
    if (!edit) return out;
    ::SendMessageW(edit, EM_EXLIMITTEXT, 0, 1 << 24);
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&rtf), 0, FeedRtf};
    ::SendMessageW(edit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
    GETTEXTLENGTHEX len{GTL_NUMCHARS, 1200};
    const LRESULT n = ::SendMessageW(edit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&len), 0);
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    GETTEXTEX get{static_cast<DWORD>((n + 1) * sizeof(wchar_t)), GT_DEFAULT, 1200, nullptr, nullptr};
    const LRESULT got = ::SendMessageW(edit, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(got));
    out.text = text;
    ::SendMessageW(edit, EM_SETSEL, 0, 1);
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    ::SendMessageW(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    out.face = cf.szFaceName;
    out.twips = cf.yHeight;
    ::DestroyWindow(edit);
    if (lib) ::FreeLibrary(lib);
    return out;
}

std::wstring Repeat(const std::wstring& piece, int times) {
    std::wstring s;
    for (int i = 0; i < times; ++i) s += piece;
    return s;
}

}  // namespace

TEST(Clipboard, CopyPutsFourFormatsThatAnotherProcessReadsBack) {
    EncoderProcess app;
    ASSERT_TRUE(app.Start());
    HWND main = app.WaitMain();
    ASSERT_NE(main, nullptr);
    HWND pane = app.Pane(), data = ::GetDlgItem(main, kData);
    testing_support::ReadBackBatch batch;
    const struct { const wchar_t* row; std::wstring typed; const char* layout; const char* format; bool lines; } cases[] = {
        {L"Code128B", L"Kestrivo-42", "code128desktop", "Code128", false},
        {L"Data Matrix", std::wstring(600, L'7') + L"Kestrivo", "band", "DataMatrix", false},
        {L"PDF417", Repeat(L"Kestrivo Encoder ", 65), "band", "PDF417", true},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(ChooseEntry(pane, kSymbology, c.row));
        ::SendMessageW(data, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.typed.c_str()));
        ::SendMessageW(main, WM_COMMAND, MAKEWPARAM(kData, EN_CHANGE), reinterpret_cast<LPARAM>(data));
        Settle(main);
        if (::OpenClipboard(nullptr)) {
            ::EmptyClipboard();
            ::CloseClipboard();
        }
        ::SendMessageW(::GetDlgItem(main, kCopyTool), BM_CLICK, 0, 0);
        Settle(main);
        const std::string unicodeBytes = UpToZero(ReadFormat(CF_UNICODETEXT), 2);
        const std::u16string font(reinterpret_cast<const char16_t*>(unicodeBytes.data()), unicodeBytes.size() / 2);
        ASSERT_FALSE(font.empty()) << "nothing on the clipboard";
        std::string low;
        for (char16_t u : font) low += static_cast<char>(u & 0xFF);
        EXPECT_EQ(UpToZero(ReadFormat(CF_TEXT), 1), low);
        EXPECT_EQ(UpToZero(ReadFormat(CF_OEMTEXT), 1), low);
        const std::string rtf = ReadFormat(::RegisterClipboardFormatW(L"Rich Text Format"));
        const RichRead rich = ReadRtf(UpToZero(rtf, 1));
        EXPECT_EQ(rich.twips, 240) << "12 points";
        EXPECT_FALSE(rich.face.empty());
        EXPECT_EQ(rich.face.substr(0, 2), L"KV");
        // Each LF of the font text ends a paragraph (CR in the rich edit); the raw CR and LF
        // characters of the document are not text to a reader.
        std::wstring expect;
        for (char16_t u : font)
            if (u != u'\r') expect += u == u'\n' ? L'\r' : static_cast<wchar_t>(u);
        std::wstring gotText = rich.text;
        while (!gotText.empty() && gotText.back() == L'\r' && (expect.empty() || expect.back() != L'\r')) gotText.pop_back();
        EXPECT_EQ(gotText, expect) << "rich text";
        if (c.lines) {
            EXPECT_GT(rtf.size(), 4096u) << "not a large symbol";
        }
        std::string data8(c.typed.begin(), c.typed.end());
        batch.Add(std::string("clipboard ") + c.format,
                  testing_support::RenderFontText(c.layout, font, 3.0, 10), c.format, false, data8);
    }
    ASSERT_TRUE(batch.Write("readback-clipboard"));
}
