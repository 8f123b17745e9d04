// The Windows side of the desktop's platform seam, under Wine with the built fonts installed:
// font presence, code-page conversions, the registry setting, and font text of the desktop's
// encode road drawn with GDI in the built fonts (the images are read back afterwards by the
// independent reader, see fonts_readback).
#include <windows.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <cstring>
#include <string>
#include <vector>

#include "fonts/layouts.h"
#include "frame.h"
#include "gdi.h"
#include "matrix.h"
#include "registry.h"
#include "settings.h"
#include "support/font_text.h"
#include "support/read_back.h"
#include "symbology_table.h"
#include "text.h"
#include "windows_platform.h"

namespace {

class Platform : public desktop::WindowsPlatform {
public:
    std::u16string line;
    void SetMessageLine(std::u16string_view message) override { line = message; }
};

const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
std::u16string U16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

// ---- Font presence ---------------------------------------------------------------------------

TEST(FontPresence, EveryBuiltFaceIsFoundAndNoOtherFace) {
    Platform p;
    for (const fonts::Face& f : fonts::GeneratedFaces()) EXPECT_TRUE(p.IsFontInstalled(U16(f.name))) << f.name;
    EXPECT_TRUE(p.IsFontInstalled(u"kvqrcode"));  // face names match without regard to case
    // Faces of the families that are not built (only their default faces are), near misses and
    // names that cannot be faces.
    for (std::u16string_view missing : {u"KVTelepenSHr", u"KVCode16KL", u"KVQRCod", u"KVQRCodeX", u"KVQRCode ",
                                        u"", u"KVCode39MHrKVCode39MHrKVCode39MHr"})
        EXPECT_FALSE(p.IsFontInstalled(missing)) << std::string(missing.begin(), missing.end());
    EXPECT_FALSE(p.IsFontInstalled(std::u16string_view(u"KVQRCode\0X", 10)));
    // The font mapper hands out a font for a missing face all the same: creation proves nothing.
    HFONT any = CreateFontW(16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"KVTelepenSHr");
    EXPECT_NE(any, nullptr);
    DeleteObject(any);
}

TEST(FontPresence, SymbologyRowsAreListedByTheirDefaultFace) {
    Platform p;
    auto table = desktop::BuildSymbologyTable();
    desktop::CheckSymbologyFonts(table, [&p](std::u16string_view face) { return p.IsFontInstalled(face); });
    for (const auto& row : table)
        EXPECT_EQ(row.bFontAvailable, 1u) << std::string(row.szFontFace.begin(), row.szFontFace.end());
}

// ---- Code pages ------------------------------------------------------------------------------

TEST(CodePages, LoneSurrogateConvertsAndShortBuffersFailTerminated) {
    Platform p;
    const std::u16string text = u"a\xD800z";
    EXPECT_EQ(p.ToNarrow(desktop::CodePage::System, text.data(), text.size(), nullptr, 0), 3);
    char out[8];
    std::memset(out, 'x', sizeof out);
    ASSERT_EQ(p.ToNarrow(desktop::CodePage::System, text.data(), text.size(), out, sizeof out), 3);
    EXPECT_EQ(out[0], 'a');
    EXPECT_EQ(out[2], 'z');
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(p.ToNarrow(desktop::CodePage::System, text.data(), text.size(), out, 2), -1);
    EXPECT_EQ(out[0], '\0');
    char16_t wide[4] = {u'x', u'x', u'x', u'x'};
    EXPECT_EQ(p.ToWide(desktop::CodePage::System, "abc", 3, wide, 2), -1);
    EXPECT_EQ(wide[0], u'\0');
    EXPECT_EQ(p.ToNarrow(desktop::CodePage::System, text.data(), 0, out, sizeof out), 0);
    std::string narrow;
    ASSERT_TRUE(desktop::ToAnsi(p, desktop::CodePage::Thread, u"Kestrivo \xD83D", narrow));
    EXPECT_EQ(narrow.substr(0, 9), "Kestrivo ");
    EXPECT_EQ(narrow.size(), 10u);
}

// In a double-byte code page (932 here, by the thread's locale) a lead byte at the end of the
// given bytes must not pull in the byte after it.
TEST(CodePages, DoubleByteLeadByteAtTheEndStaysAlone) {
    const LCID before = GetThreadLocale();
    ASSERT_TRUE(SetThreadLocale(MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), SORT_DEFAULT)));
    Platform p;
    std::string bytes;
    const bool converted = desktop::ToAnsi(p, desktop::CodePage::Thread, u"\u3042", bytes);
    SetThreadLocale(before);
    ASSERT_TRUE(converted);
    ASSERT_EQ(bytes, "\x82\xA0") << "the thread's code page is not 932";

    SetThreadLocale(MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), SORT_DEFAULT));
    const char pair[] = "\x82\xA0";
    char16_t wide[4] = {};
    const long whole = p.ToWide(desktop::CodePage::Thread, pair, 2, wide, 4);
    const char16_t first = wide[0];
    const long cut = p.ToWide(desktop::CodePage::Thread, pair, 1, wide, 4);
    char tooSmall[2] = {'x', 'x'};
    const long small = p.ToNarrow(desktop::CodePage::Thread, u"\u3042", 1, tooSmall, 1);
    SetThreadLocale(before);
    EXPECT_EQ(whole, 1);
    EXPECT_EQ(first, u'\u3042');
    EXPECT_EQ(cut, 1);
    EXPECT_NE(wide[0], u'\u3042');
    EXPECT_EQ(small, -1);
    EXPECT_EQ(tooSmall[0], '\0');
}

// ---- The registry setting --------------------------------------------------------------------

class Registry : public ::testing::Test {
protected:
    const std::u16string subKey = u"Software\\Kestrivo";
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean() {
        for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) RegDeleteKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Kestrivo", view, 0);
    }
    // Stores the data exactly as given in the program's (64-bit) view. RegSetValueExW would
    // complete a string value without its terminator; the native call stores what it is given.
    void Store(DWORD type, const void* data, DWORD size) {
        HKEY h;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, W(subKey), 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY,
                                  nullptr, &h, nullptr),
                  ERROR_SUCCESS);
        using SetValue = LONG(WINAPI*)(HANDLE, UNICODE_STRING*, ULONG, ULONG, const void*, ULONG);
        const auto set = reinterpret_cast<SetValue>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtSetValueKey")));
        ASSERT_NE(set, nullptr);
        wchar_t name[] = L"DefaultSymbology";
        UNICODE_STRING u{static_cast<USHORT>(sizeof name - 2), static_cast<USHORT>(sizeof name), name};
        EXPECT_EQ(set(h, &u, 0, type, data, size), 0);
        RegCloseKey(h);
    }
    static bool InView(REGSAM view) {
        HKEY h;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Kestrivo", 0, KEY_QUERY_VALUE | view, &h) != ERROR_SUCCESS)
            return false;
        const bool found = RegQueryValueExW(h, L"DefaultSymbology", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
        RegCloseKey(h);
        return found;
    }
};

TEST_F(Registry, DefaultSymbologyWrittenIsReadBackFromTheSameView) {
    Platform p;
    desktop::RegistryString absent(p, desktop::kDefaultSymbologyPath, u"", true);
    EXPECT_FALSE(absent.valueRead());
    EXPECT_EQ(absent.Get(), u"");
    absent.Set(u"Code 93");
    EXPECT_TRUE(absent.valueRead());

    desktop::RegistryString next(p, desktop::kDefaultSymbologyPath, u"", true);
    EXPECT_TRUE(next.valueRead());
    EXPECT_EQ(next.Get(), u"Code 93");
    EXPECT_TRUE(InView(KEY_WOW64_64KEY));
    EXPECT_FALSE(InView(KEY_WOW64_32KEY));

    const desktop::RegistryValue raw = p.ReadRegistryValue(subKey, u"DefaultSymbology");
    EXPECT_TRUE(raw.found);
    EXPECT_EQ(raw.type, static_cast<std::uint32_t>(REG_SZ));
    EXPECT_EQ(raw.data.size(), 16u);  // seven characters and the terminator

    // A long name survives the size query.
    const std::u16string longName(3000, u'Q');
    next.Set(longName);
    EXPECT_EQ(desktop::RegistryString(p, desktop::kDefaultSymbologyPath, u"", true).Get(), longName);
}

TEST_F(Registry, OnlyATerminatedStringValueCounts) {
    Platform p;
    const wchar_t text[] = L"Code 39";
    for (DWORD type : {DWORD(REG_EXPAND_SZ), DWORD(REG_BINARY), DWORD(REG_MULTI_SZ)}) {
        Store(type, text, sizeof text);
        const desktop::RegistryValue raw = p.ReadRegistryValue(subKey, u"DefaultSymbology");
        EXPECT_TRUE(raw.found);
        EXPECT_EQ(raw.type, type);
        desktop::RegistryString setting(p, desktop::kDefaultSymbologyPath, u"", true);
        EXPECT_FALSE(setting.valueRead()) << type;
        EXPECT_EQ(setting.Get(), u"") << type;
    }
    const DWORD number = 7;
    Store(REG_DWORD, &number, sizeof number);
    EXPECT_EQ(desktop::RegistryString(p, desktop::kDefaultSymbologyPath, u"", true).Get(), u"");
    // A string value without its terminator, and one of an odd number of bytes.
    Store(REG_SZ, text, 14);
    EXPECT_EQ(p.ReadRegistryValue(subKey, u"DefaultSymbology").data.size(), 14u);
    EXPECT_EQ(desktop::RegistryString(p, desktop::kDefaultSymbologyPath, u"", true).Get(), u"");
    Store(REG_SZ, text, 15);
    EXPECT_EQ(desktop::RegistryString(p, desktop::kDefaultSymbologyPath, u"", true).Get(), u"");
    Store(REG_SZ, text, sizeof text);
    EXPECT_EQ(desktop::RegistryString(p, desktop::kDefaultSymbologyPath, u"", true).Get(), u"Code 39");
}

// ---- Font text drawn with GDI in the built fonts ---------------------------------------------

struct Drawn {
    testing_support::Image image;
    std::u16string face;    // as GDI reports it
    int lineHeight = 0;     // tmHeight
    int leading = 0;        // tmExternalLeading
};

// Draws the lines of `text` (LF ends a line, CR draws nothing) at `em` pixels to the em.
Drawn Draw(const std::u16string& face, const std::u16string& text, int em, int margin, BYTE quality = DEFAULT_QUALITY) {
    Drawn d;
    std::vector<std::u16string> lines(1);
    for (char16_t c : text) {
        if (c == u'\n') lines.emplace_back();
        else lines.back() += c;
    }
    if (lines.back().empty()) lines.pop_back();
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontW(-em, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, quality, DEFAULT_PITCH, W(face));
    HGDIOBJ oldFont = SelectObject(dc, font);
    wchar_t name[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, name);
    d.face.assign(reinterpret_cast<const char16_t*>(name));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    d.lineHeight = tm.tmHeight;
    d.leading = tm.tmExternalLeading;
    int width = 0;
    for (const auto& l : lines) {
        SIZE s{};
        GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(l.c_str()), static_cast<int>(l.size()), &s);
        width = std::max(width, static_cast<int>(s.cx));
    }
    width += 2 * margin;
    const int height = static_cast<int>(lines.size()) * em + 2 * margin;
    SelectObject(dc, oldFont);
    DeleteDC(dc);
    CDibSection dib(width, height);
    oldFont = SelectObject(dib.dc(), font);
    PatBlt(dib.dc(), 0, 0, width, height, WHITENESS);
    SetTextColor(dib.dc(), RGB(0, 0, 0));
    SetBkMode(dib.dc(), TRANSPARENT);
    SetTextAlign(dib.dc(), TA_TOP | TA_LEFT | TA_NOUPDATECP);
    for (std::size_t i = 0; i < lines.size(); ++i)
        TextOutW(dib.dc(), margin, margin + static_cast<int>(i) * em, reinterpret_cast<const wchar_t*>(lines[i].c_str()),
                 static_cast<int>(lines[i].size()));
    GdiFlush();
    d.image.width = width;
    d.image.height = height;
    d.image.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < d.image.pixels.size(); ++i) {
        const std::uint32_t p = dib.ok() ? dib.bits()[i] : 0xFFFFFFu;
        d.image.pixels[i] = static_cast<std::uint8_t>(((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF)) / 3);
    }
    SelectObject(dib.dc(), oldFont);
    DeleteObject(font);
    return d;
}

// Symbols of the desktop's encode road drawn in their rows' default faces; the reader must
// give the data back (fonts_readback). Written to readback-fonts/ in the working folder.
TEST(FontText, SymbolsDrawnInTheBuiltFontsAreWrittenForReading) {
    struct Case {
        std::u16string row, text;
        const char* format;
        bool matrix;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {u"QR Code", u"Kestrivo QR Code Barcode solution.", "QRCode", true, "Kestrivo QR Code Barcode solution."},
        {u"QR Code", u"0123456789 Kestrivo", "QRCode", true, "0123456789 Kestrivo"},
        {u"Data Matrix", u"Kestrivo Data Matrix Solution.", "DataMatrix", true, "Kestrivo Data Matrix Solution."},
        {u"Aztec", u"Kestrivo Aztec Barcode solution.", "Aztec", true, "Kestrivo Aztec Barcode solution."},
        {u"PDF417", u"Kestrivo PDF417 Barcode Print Solution", "PDF417", true, "Kestrivo PDF417 Barcode Print Solution"},
        {u"Code128B", u"KESTRIVO", "Code128", false, "KESTRIVO"},
        {u"Code128B", u"Kestrivo 128", "Code128", false, "Kestrivo 128"},
        {u"Code128C", u"9780735200449", "Code128", false, "09780735200449"},
        {u"Asian-Code128B", u"Kestrivo 128", "Code128", false, "Kestrivo 128"},
        {u"Asian-Code128C", u"1234567890", "Code128", false, "1234567890"},
        {u"Code 39", u"KESTRIVO", "Code39", false, "KESTRIVO"},
        {u"Code 93", u"KESTRIVO", "Code93", false, "KESTRIVO"},
        {u"EAN-13", u"400638133393", "EAN13", false, "4006381333931"},
        {u"UPC-A", u"03600029145", "UPCA", false, "036000291452"},
        {u"Interleaved 2 of 5", u"12345678", "ITF", false, "12345678"},
        {u"Databar Expanded", u"(01)90012345678908(3103)001750", "DataBarExpanded", false,
         "(01)90012345678908(3103)001750"},
        {u"Maxicode", u"Kestrivo Maxicode", "MaxiCode", true, "Kestrivo Maxicode"},
    };
    Platform p;
    linear::Context ctx{linear::kDesktop};
    desktop::OptionSettings options;
    desktop::Session session{ctx, options, p};
    const auto table = desktop::BuildSymbologyTable();
    testing_support::ReadBackBatch batch;
    for (const Case& c : cases) {
        const desktop::SymbologyAction* row = desktop::FindSymbology(table, c.row);
        ASSERT_NE(row, nullptr);
        const std::u16string font = desktop::EncodeSelected(session, *row, c.text);
        ASSERT_FALSE(font.empty()) << c.format << ": " << std::string(p.line.begin(), p.line.end());
        // Band text: four modules to the em, 8 pixels a module. Linear fonts: sixteen, 3 pixels.
        // Maxicode: three rows of hexagons to the em, about 12 pixels a module.
        const bool maxicode = row->szFontFamily == u"KVMaxicode";
        const int em = maxicode ? 30 : c.matrix ? 32 : 48;
        const int margin = c.matrix ? 32 : 36;
        Drawn d = Draw(row->szFontFace, font, em, margin);
        if (maxicode) {
            EXPECT_EQ(testing_support::MaxicodeFinderProblem(d.image), "") << "the font text's own finder";
        }
        EXPECT_TRUE(desktop::EqualNoCase(d.face, row->szFontFace)) << c.format;
        EXPECT_EQ(d.lineHeight, em) << c.format;  // lines one em apart join without a gap
        EXPECT_EQ(d.leading, 0) << c.format;
        batch.Add(std::string(c.format) + " in " + std::string(row->szFontFace.begin(), row->szFontFace.end()),
                  d.image, c.format, c.matrix, c.expected);
    }
    ASSERT_TRUE(batch.Write("readback-fonts"));
}

// ---- Human-readable faces and small sizes ---------------------------------------------------

std::u16string Encode(const std::u16string& rowName, const std::u16string& text, int checksum = 0) {
    Platform p;
    linear::Context ctx{linear::kDesktop};
    desktop::OptionSettings options;
    options.AddChecksum = checksum;
    desktop::Session session{ctx, options, p};
    const auto table = desktop::BuildSymbologyTable();
    const desktop::SymbologyAction* row = desktop::FindSymbology(table, rowName);
    return row ? desktop::EncodeSelected(session, *row, text) : std::u16string();
}

std::u16string FaceOf(const std::u16string& rowName) {
    const auto table = desktop::BuildSymbologyTable();
    const desktop::SymbologyAction* row = desktop::FindSymbology(table, rowName);
    return row ? row->szFontFace : std::u16string();
}

// Maxicode font text as the server's class returns it (modes 4, 5 and 6) and as the desktop's
// row gives it, set in the built KVMaxicode face with nothing added: the finder's three rings
// are where ISO/IEC 16023 puts them at the sizes of the desktop's 12 and 24 points and larger,
// and the symbols read back (fonts_readback).
TEST(FontText, MaxicodeInTheBuiltFaceDrawsItsFinder) {
    testing_support::ReadBackBatch batch;
    struct Case {
        std::string label, data;
        int mode;  // 0: the desktop's row
    };
    const std::vector<Case> cases = {
        {"server mode 4", "Kestrivo Maxicode 4 / 0123456789", 4},
        {"server mode 5", "KESTRIVO ENHANCED 5", 5},
        {"server mode 6", "reader programming 6", 6},
        {"desktop row", "Kestrivo desktop Maxicode", 0},
    };
    for (const Case& c : cases) {
        std::u16string font;
        if (c.mode) {
            auto rec = std::make_unique<matrix::SymbolRecord>();
            rec->symbology = 26;
            rec->option1 = c.mode;
            const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(c.data.data()), c.data.size());
            ASSERT_EQ(matrix::EncodeMaxicode(*rec, bytes, matrix::Call::Server(true)), matrix::kSuccess) << c.label;
            font = testing_support::Widen(rec->fontText);
        } else {
            font = Encode(u"Maxicode", testing_support::Widen(c.data));
        }
        ASSERT_FALSE(font.empty()) << c.label;
        for (const int em : {16, 32, 40}) {  // 12 and 24 points on a 96 dpi screen, and larger
            const Drawn d = Draw(u"KVMaxicode", font, em, 24);
            const std::string label = c.label + " at " + std::to_string(em) + " pixels to the em";
            EXPECT_EQ(testing_support::MaxicodeFinderProblem(d.image), "") << label;
            batch.Add(label, d.image, "MaxiCode", true, c.data);
        }
    }
    ASSERT_TRUE(batch.Write("readback-fonts/maxicode"));
}

// The "Hr" faces (and the UPC/EAN faces, which always print their digits) drawn with GDI: the
// bars read back (fonts_readback), and under them, where
// each glyph's characters belong, the picture shows those characters' strokes (read at the
// middle of every stroke cell) and nothing else: no text under start, stop, shift or function
// glyphs, and no bar below the bar band but where the font draws one (UPC/EAN's guards).
TEST(FontText, HumanReadableFacesPrintTheDataUnderBarsThatRead) {
    const struct {
        std::u16string row, typed;
        const char* format;
        std::string read, printed;
    } cases[] = {
        {u"Code 39", u"KESTRIVO", "Code39", "KESTRIVO", "*KESTRIVO*"},
        {u"Code 93", u"Kv-93", "Code93", "Kv-93", ""},
        {u"Code128B", u"Kestrivo-42", "Code128", "Kestrivo-42", "Kestrivo-42"},
        {u"Code128C", u"123456", "Code128", "123456", "123456"},
        {u"Asian-Code128B", u"Kv 128", "Code128", "Kv 128", ""},
        {u"Interleaved 2 of 5", u"12345678", "ITF", "12345678", "12345678"},
        {u"EAN-13", u"400638133393", "EAN13", "4006381333931", "4006381333931"},
        {u"UPC-A", u"03600029145", "UPCA", "036000291452", "036000291452"},
    };
    constexpr int em = 96, margin = 40;  // six pixels a module
    const double scale = static_cast<double>(em) / fonts::kEm;
    testing_support::ReadBackBatch batch;
    for (const auto& c : cases) {
        const std::string label = c.format + std::string(" in ") + std::string(c.row.begin(), c.row.end());
        const std::u16string font = Encode(c.row, c.typed);
        const fonts::Face* face = nullptr;
        static const auto faces = fonts::GeneratedFaces();
        for (const fonts::Face& f : faces)
            if (desktop::EqualNoCase(U16(f.name), FaceOf(c.row))) face = &f;
        ASSERT_TRUE(face && (face->humanReadable || face->layout == "upcean")) << label;  // UPC/EAN always prints
        const Drawn d = Draw(FaceOf(c.row), font, em, margin);
        batch.Add(label + " Hr", d.image, c.format, false, c.read);

        int stray = 0;
        const std::string printed = testing_support::ReadPrintedText(d.image, face->layout, font, margin, margin, scale, &stray);
        std::string layoutText;
        for (char16_t code : font) layoutText += fonts::FindLayout(face->layout)->Find(code)->text;
        EXPECT_FALSE(layoutText.empty()) << label;
        EXPECT_EQ(printed, layoutText) << label;
        if (!c.printed.empty()) {
            EXPECT_EQ(printed, c.printed) << label;
        }
        EXPECT_EQ(stray, 0) << label << ": ink below the bars where the font draws nothing";
    }
    ASSERT_TRUE(batch.Write("readback-fonts/hr"));
}

// The faces the program paints Code 128 and DataBar Expanded in, at the pixel size of every
// point size the program offers (96 dpi): with font smoothing off (as the program draws) the
// bars have no grey edge and read back. With the system's smoothing they read back too where
// the hinting makes modules whole pixels (below two pixels a module, up to 24 points); above,
// outlines are drawn as they are and only unsmoothed drawing keeps their edges sharp.
TEST(FontText, Code128AndDataBarExpandedReadAtEveryOfferedPointSize) {
    const struct {
        std::u16string row, typed;
        const char* format;
        std::string read;
    } cases[] = {
        {u"Code128B", u"Kestrivo-42", "Code128", "Kestrivo-42"},
        {u"GS1-128", u"(00)350123451234567894", "Code128", "00350123451234567894"},
        {u"Databar Expanded", u"(01)90012345678908(3103)001750", "DataBarExpanded", "(01)90012345678908(3103)001750"},
    };
    testing_support::ReadBackBatch batch;
    for (const auto& c : cases) {
        const std::u16string font = Encode(c.row, c.typed);
        ASSERT_FALSE(font.empty());
        // The point sizes of the Options pane's list.
        for (int points : {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 32, 48}) {
            const int em = MulDiv(points, 96, 72);
            const std::string label = c.format + std::string(" at ") + std::to_string(points) + " pt";
            for (BYTE quality : {BYTE(NONANTIALIASED_QUALITY), BYTE(DEFAULT_QUALITY)}) {
                if (quality == DEFAULT_QUALITY && points > 24) continue;
                const Drawn d = Draw(FaceOf(c.row), font, em, 24, quality);
                auto grey = [](auto begin, auto end) {
                    return std::count_if(begin, end, [](std::uint8_t p) { return p > 16 && p < 240; });
                };
                if (quality == NONANTIALIASED_QUALITY) {
                    EXPECT_EQ(grey(d.image.pixels.begin(), d.image.pixels.end()), 0) << label;
                } else {
                    // Smoothed, the edges across a row through the bars are whole pixels too.
                    const auto row = d.image.pixels.begin() + (24 + em / 3) * d.image.width;
                    EXPECT_EQ(grey(row, row + d.image.width), 0) << label << " smoothed";
                }
                batch.Add(label + (quality == DEFAULT_QUALITY ? " smoothed" : ""), d.image, c.format, false, c.read);
            }
        }
    }
    ASSERT_TRUE(batch.Write("readback-fonts/sizes"));
}

}  // namespace
