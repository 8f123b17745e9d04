// The program Encoder under Wine, driven from this second process as a user would drive it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "code128.h"
#include "encoder_driver.h"
#include "resource.h"
#include "settings.h"
#include "support/font_text.h"
#include "support/read_back.h"
#include "symbology_table.h"

namespace {

constexpr int kData = IDC_DATA, kMessageLine = IDC_MESSAGE_LINE;
constexpr int kSymbology = IDC_SYMBOLOGY, kHumanReadable = IDC_HUMAN_READABLE, kChecksum = IDC_CHECKSUM, kFace = IDC_FACE,
              kPointSize = IDC_POINT_SIZE;
// The light field below the data field where the font text is painted (window pixels).
constexpr RECT kOutputArea = {13, 169, 387, 400};

const wchar_t kSettingKey[] = L"Software\\Kestrivo";

void SetDefaultSymbology(const wchar_t* text) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSettingKey, 0, nullptr, 0, KEY_WRITE | KEY_WOW64_64KEY,
                                nullptr, &key, nullptr), ERROR_SUCCESS);
    if (text)
        ::RegSetValueExW(key, L"DefaultSymbology", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                         static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
    else
        ::RegDeleteValueW(key, L"DefaultSymbology");
    ::RegCloseKey(key);
}

std::wstring DefaultSymbology() {
    wchar_t text[64] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, kSettingKey, L"DefaultSymbology", RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY,
                       nullptr, text, &size) != ERROR_SUCCESS)
        return L"<none>";
    return text;
}

std::wstring W(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

const desktop::SymbologyAction& Row(const std::vector<desktop::SymbologyAction>& table, const std::wstring& name) {
    const auto* row = desktop::FindSymbology(table, std::u16string(name.begin(), name.end()));
    if (!row) throw std::runtime_error("no such row");
    return *row;
}

// The painted symbol alone with a white quiet zone of `margin` pixels around it: the data
// field above the light field leaves no quiet zone there, and a small symbol in a wide white
// field is found by the reader's detector less reliably than a framed one.
testing_support::Image Framed(const testing_support::Image& image, int margin = 16) {
    int left = image.width, top = image.height, right = -1, bottom = -1;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.pixels[static_cast<std::size_t>(y * image.width + x)] < 128) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    testing_support::Image out;
    if (right < 0) return image;
    out.width = right - left + 1 + 2 * margin;
    out.height = bottom - top + 1 + 2 * margin;
    out.pixels.assign(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height), 255);
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            out.pixels[static_cast<std::size_t>((y - top + margin) * out.width + (x - left + margin))] =
                image.pixels[static_cast<std::size_t>(y * image.width + x)];
    return out;
}

bool Differ(const testing_support::Image& a, const testing_support::Image& b) { return a.pixels != b.pixels; }

bool AnyDark(const testing_support::Image& image) {
    return std::any_of(image.pixels.begin(), image.pixels.end(), [](std::uint8_t p) { return p < 96; });
}

class EncoderWindow : public ::testing::Test {
protected:
    void SetUp() override {
        SetDefaultSymbology(nullptr);
        ASSERT_TRUE(app.Start());
        main = app.WaitMain();
        ASSERT_NE(main, nullptr) << "the main window did not appear";
        pane = app.Pane();
        ASSERT_NE(pane, nullptr);
        data = ::GetDlgItem(main, kData);
    }
    // Picks a row and types `text` over the sample it brought; the painted output settled.
    void ChooseAndType(const std::wstring& row, const std::wstring& text) {
        ASSERT_TRUE(ChooseEntry(pane, kSymbology, row)) << "row not listed";
        ::SendMessageW(data, EM_SETSEL, 0, -1);
        ASSERT_TRUE(TypeInto(data, text, text));
        Settle(main);
    }
    EncoderProcess app;
    HWND main = nullptr, pane = nullptr, data = nullptr;
};

TEST(EncoderStart, RunsAsOneCopyAndAgainAfterTheFirstEnded) {
    SetDefaultSymbology(nullptr);
    EncoderProcess first;
    ASSERT_TRUE(first.Start());
    HWND main = first.WaitMain();
    ASSERT_NE(main, nullptr);
    ::SendMessageW(::GetDlgItem(main, kData), EM_SETSEL, 0, -1);
    ASSERT_TRUE(TypeInto(::GetDlgItem(main, kData), L"ABC", L"ABC"));

    EncoderProcess second;
    ASSERT_TRUE(second.Start());
    EXPECT_EQ(second.WaitExit(10000), 0) << "the second copy kept running";
    EXPECT_EQ(second.WaitMain(0), nullptr);
    // The first copy is untouched.
    EXPECT_EQ(first.WaitExit(0), -1);
    EXPECT_EQ(first.WaitMain(0), main);
    EXPECT_EQ(TextOf(::GetDlgItem(main, kData)), L"ABC");

    first.Close();
    EXPECT_EQ(first.WaitExit(0), 0);
    EncoderProcess third;
    ASSERT_TRUE(third.Start());
    HWND again = third.WaitMain();
    ASSERT_NE(again, nullptr) << "a copy started after the first ended must run";
    // The tray menu's "Exit" ends the program.
    ::PostMessageW(again, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_EQ(third.WaitExit(10000), 0);
}

TEST_F(EncoderWindow, FaceComesFromTheSkinAndPanesDockBesideIt) {
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(main, region), ERROR);
    EXPECT_FALSE(::PtInRegion(region, 0, 0)) << "a magenta corner belongs to the window";
    EXPECT_FALSE(::PtInRegion(region, 399, 479));
    EXPECT_TRUE(::PtInRegion(region, 20, 20)) << "a button face is not part of the window";
    EXPECT_TRUE(::PtInRegion(region, 200, 300));
    ::DeleteObject(region);

    const RECT expected[8] = {{11, 9, 85, 35},    {11, 50, 85, 76},   {313, 11, 387, 36},  {313, 51, 387, 77},
                              {313, 91, 387, 117}, {11, 90, 85, 116}, {11, 130, 85, 157}, {313, 131, 387, 158}};
    for (int i = 0; i < 8; ++i) {
        HWND button = ::GetDlgItem(main, IDC_TOOL_FIRST + i);
        ASSERT_NE(button, nullptr) << i;
        RECT r;
        ::GetWindowRect(button, &r);
        ::MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_TRUE(::EqualRect(&r, &expected[i])) << "button " << IDC_TOOL_FIRST + i << " at " << r.left << "," << r.top;
    }

    // "Options" at the start place shows the pane where a user sees it.
    EXPECT_FALSE(::IsWindowVisible(pane));
    ::SendMessageW(::GetDlgItem(main, IDC_TOOL_OPTIONS), BM_CLICK, 0, 0);
    Settle(main);
    ASSERT_TRUE(::IsWindowVisible(pane));
    RECT work, placed;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ::GetWindowRect(pane, &placed);
    EXPECT_GE(placed.left, work.left);
    EXPECT_LE(placed.right, work.right);
    EXPECT_EQ(placed.right - placed.left, 280);
    EXPECT_EQ(placed.bottom - placed.top, 332);

    // After a move with room on the left the pane sits left of the window, top aligned.
    ::SetWindowPos(main, nullptr, 400, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Settle(main);
    ::GetWindowRect(pane, &placed);
    EXPECT_EQ(placed.left, 120);
    EXPECT_EQ(placed.top, 120);

    // A second click hides it.
    ::SendMessageW(::GetDlgItem(main, IDC_TOOL_OPTIONS), BM_CLICK, 0, 0);
    Settle(main);
    EXPECT_FALSE(::IsWindowVisible(pane));
}

TEST_F(EncoderWindow, TypedTextIsPaintedInTheBarcodeFontAndReadsBack) {
    testing_support::ReadBackBatch batch;
    struct Case {
        const wchar_t* row;
        const wchar_t* typed;
        const char* format;
        const char* expect;
        int pointSizeEntry;  // -1 keeps 12 points
    } cases[] = {
        {L"Code128B", L"Kestrivo-42", "Code128", "Kestrivo-42", -1},
        {L"PDF417", L"Kestrivo", "PDF417", "Kestrivo", -1},
        {L"QR Code", L"Kestrivo QR", "QRCode", "Kestrivo QR", -1},
        {L"Data Matrix", L"Kestrivo DM", "DataMatrix", "Kestrivo DM", -1},
    };
    for (const Case& c : cases) {
        ChooseAndType(c.row, c.typed);
        if (c.pointSizeEntry >= 0) {
            HWND sizes = ::GetDlgItem(pane, kPointSize);
            ::SendMessageW(sizes, CB_SETCURSEL, static_cast<WPARAM>(c.pointSizeEntry), 0);
            ::SendMessageW(pane, WM_COMMAND, MAKEWPARAM(kPointSize, CBN_SELENDOK), reinterpret_cast<LPARAM>(sizes));
            Settle(main);
        }
        EXPECT_EQ(TextOf(::GetDlgItem(main, kMessageLine)), L"") << c.row;
        const auto image = Capture(main, kOutputArea);
        EXPECT_TRUE(AnyDark(image)) << c.row << ": nothing painted";
        batch.Add(std::string(c.format) + " typed", Framed(image), c.format, false, c.expect);
        if (c.pointSizeEntry >= 0) {
            HWND sizes = ::GetDlgItem(pane, kPointSize);
            ::SendMessageW(sizes, CB_SETCURSEL, 6, 0);
            ::SendMessageW(pane, WM_COMMAND, MAKEWPARAM(kPointSize, CBN_SELENDOK), reinterpret_cast<LPARAM>(sizes));
        }
    }
    ASSERT_TRUE(batch.Write("readback-encoder"));
}

// Grey pixels: neither the light field nor ink.
int GreyPixels(const testing_support::Image& image) {
    return static_cast<int>(std::count_if(image.pixels.begin(), image.pixels.end(),
                                          [](std::uint8_t p) { return p > 48 && p < 200; }));
}

// Every point size the pane offers paints bars of whole pixels (no grey edges) that read back;
// at 48 points the characters that Code 128's "Hr" face prints under the bars are read too.
// The data are short enough for Code 128 to fit the light field at 48 points; the smallest
// DataBar Expanded symbol (101 modules, 4 pixels each at 48 points) is wider than the window
// itself there, and is cut (the fonts alone are read at 48 points in win_font_tests).
TEST_F(EncoderWindow, Code128AndDataBarExpandedAreCrispAndReadAtEveryPointSize) {
    testing_support::ReadBackBatch batch;
    const struct {
        const wchar_t* row;
        const wchar_t* typed;
        const char* format;
        const char* expect;
        int largest;          // the largest size that fits the field
        const char* printed;  // what the row's "Hr" face prints under the bars
    } cases[] = {
        {L"Code128B", L"Kv42", "Code128", "Kv42", 48, "Kv42"},
        {L"Databar Expanded", L"(10)12", "DataBarExpanded", "(10)12", 32, nullptr},
    };
    const auto sizes = ListEntries(::GetDlgItem(pane, kPointSize));
    ASSERT_EQ(sizes.size(), 15u);
    const int field = kOutputArea.right - kOutputArea.left;
    for (const auto& c : cases) {
        ChooseAndType(c.row, c.typed);
        for (const std::wstring& size : sizes) {
            ASSERT_TRUE(ChooseEntry(pane, kPointSize, size));
            Settle(main);
            const std::string label = std::string(c.format) + " at " + std::string(size.begin(), size.end()) + " pt";
            const auto image = Capture(main, kOutputArea);
            ASSERT_TRUE(AnyDark(image)) << label << ": nothing painted";
            const auto symbol = Framed(image);
            EXPECT_EQ(GreyPixels(symbol), 0) << label << ": grey edges";
            const bool fits = symbol.width - 32 < field - 8;
            EXPECT_EQ(fits, std::stoi(size) <= c.largest) << label;
            if (fits) batch.Add(label, symbol, c.format, false, c.expect);
            if (c.printed && size == L"48") {
                // Large enough to read the characters the "Hr" face prints under the bars: the
                // em's top left is where the start glyph's first bar begins.
                EXPECT_EQ(TextOf(::GetDlgItem(pane, kFace)), L"KVCode128BMHr");
                int left = image.width, top = image.height;
                for (int y = 0; y < image.height; ++y)
                    for (int x = 0; x < image.width; ++x)
                        if (image.pixels[static_cast<std::size_t>(y * image.width + x)] < 128)
                            left = std::min(left, x), top = std::min(top, y);
                linear::Context ctx{linear::kDesktop};
                const std::u16string typed(c.typed, c.typed + std::wcslen(c.typed));
                const std::u16string font = linear::EncodeCode128B(ctx, typed.c_str());
                int stray = -1;
                EXPECT_EQ(testing_support::ReadPrintedText(image, "code128b-hr", font, left, top, 64.0 / fonts::kEm, &stray),
                          c.printed);
                EXPECT_EQ(stray, 0) << "text where no character belongs";
            }
        }
        ASSERT_TRUE(ChooseEntry(pane, kPointSize, L"12"));
    }
    EXPECT_EQ(batch.size(), 29u);
    ASSERT_TRUE(batch.Write("readback-encoder/sizes"));
}

// The Maxicode row painted at 12 and 24 points: the font text's own finder shows its three
// rings where ISO/IEC 16023 has them, and the symbol at 12 points reads back (at 24 points the
// symbol is larger than the paint area, which shows its middle).
TEST_F(EncoderWindow, MaxicodeIsPaintedWithItsFinder) {
    testing_support::ReadBackBatch batch;
    ChooseAndType(L"Maxicode", L"Kestrivo window");
    for (const wchar_t* size : {L"12", L"24"}) {
        ASSERT_TRUE(ChooseEntry(pane, kPointSize, size));
        Settle(main);
        const std::string label = "Maxicode at " + std::string(size, size + std::wcslen(size)) + " pt";
        const auto image = Capture(main, kOutputArea);
        ASSERT_TRUE(AnyDark(image)) << label << ": nothing painted";
        EXPECT_EQ(testing_support::MaxicodeFinderProblem(image), "") << label;
        if (size == std::wstring(L"12")) batch.Add(label, Framed(image), "MaxiCode", true, "Kestrivo window");
    }
    ASSERT_TRUE(ChooseEntry(pane, kPointSize, L"12"));
    ASSERT_TRUE(batch.Write("readback-encoder/maxicode"));
}

TEST_F(EncoderWindow, EncoderMessageFillsTheMessageLineUntilTheNextGoodInput) {
    ChooseAndType(L"Micro QRCode", L"abcdefghijklmnopqrstuvwxyz0123456789");
    EXPECT_NE(TextOf(::GetDlgItem(main, kMessageLine)), L"") << "no message for data too long";
    EXPECT_FALSE(AnyDark(Capture(main, kOutputArea))) << "output painted despite the message";
    ::SendMessageW(data, EM_SETSEL, 0, -1);
    ASSERT_TRUE(TypeInto(data, L"ok", L"ok"));
    Settle(main);
    EXPECT_EQ(TextOf(::GetDlgItem(main, kMessageLine)), L"");
    EXPECT_TRUE(AnyDark(Capture(main, kOutputArea)));
}

TEST_F(EncoderWindow, TextsBeyondTheEncodeBufferAreCutNotOverrun) {
    const std::wstring huge(9000, L'7');
    for (const wchar_t* row : {L"Code128C", L"QR Code"}) {
        ASSERT_TRUE(ChooseEntry(pane, kSymbology, row));
        ::SendMessageW(data, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(huge.c_str()));
        ASSERT_EQ(TextOf(data).size(), huge.size());
        ::SendMessageW(::GetDlgItem(main, IDC_TOOL_REFRESH), BM_CLICK, 0, 0);  // "Refresh" encodes the field
        Settle(main);
        EXPECT_EQ(app.WaitExit(0), -1) << "the program ended encoding a long text";
        ::SendMessageW(data, EM_SETSEL, 0, -1);
        ASSERT_TRUE(TypeInto(data, L"1234", L"1234"));
        Settle(main);
        EXPECT_EQ(TextOf(::GetDlgItem(main, kMessageLine)), L"");
        EXPECT_TRUE(AnyDark(Capture(main, kOutputArea))) << "nothing painted after the long text";
    }
}

TEST_F(EncoderWindow, ChoosingARowBringsItsSampleAndItsBoxModes) {
    const auto table = desktop::BuildSymbologyTable();
    const auto entries = ListEntries(::GetDlgItem(pane, kSymbology));
    ASSERT_GT(entries.size(), 10u) << "the fonts are not installed in the prefix";
    HWND checksum = ::GetDlgItem(pane, kChecksum), human = ::GetDlgItem(pane, kHumanReadable);
    for (const std::wstring& name : entries) {
        const auto& row = Row(table, name);
        ASSERT_TRUE(ChooseEntry(pane, kSymbology, name));
        EXPECT_EQ(TextOf(data), W(row.szSampleData)) << "row " << std::string(name.begin(), name.end());
        std::int32_t add = 0, hr = 1;
        const auto c = desktop::ApplyChecksumMode(row.nAttr1, add);
        const auto h = desktop::ApplyHumanReadableMode(row.nAttr3, hr);
        const std::string label(name.begin(), name.end());
        EXPECT_EQ(::IsWindowEnabled(checksum) != 0, c.enabled) << label;
        EXPECT_EQ(::SendMessageW(checksum, BM_GETCHECK, 0, 0) == BST_CHECKED, add != 0) << label;
        EXPECT_EQ(::IsWindowEnabled(human) != 0, h.enabled) << label;
        EXPECT_EQ(::SendMessageW(human, BM_GETCHECK, 0, 0) == BST_CHECKED, hr != 0) << label;
    }
    // Choosing rows never writes the stored start row.
    EXPECT_EQ(DefaultSymbology(), entries.front());
}

TEST_F(EncoderWindow, ChecksumKeepsTheUsersTextAndEncodesItAgain) {
    ChooseAndType(L"Interleaved 2 of 5", L"123456");
    const auto before = Capture(main, kOutputArea);
    ::SendMessageW(::GetDlgItem(pane, kChecksum), BM_CLICK, 0, 0);
    Settle(main);
    EXPECT_EQ(TextOf(data), L"123456");
    EXPECT_EQ(::SendMessageW(::GetDlgItem(pane, kChecksum), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(Differ(before, Capture(main, kOutputArea))) << "the painted symbol kept the old setting";
}

TEST(EncoderSetting, DefaultSymbologyIsReadAtStartAndWrittenWhenItNamesNoRow) {
    SetDefaultSymbology(L"qr code");
    {
        EncoderProcess app;
        ASSERT_TRUE(app.Start());
        HWND main = app.WaitMain();
        ASSERT_NE(main, nullptr);
        HWND list = ::GetDlgItem(app.Pane(), kSymbology);
        const auto entries = ListEntries(list);
        const LRESULT sel = ::SendMessageW(list, CB_GETCURSEL, 0, 0);
        ASSERT_GE(sel, 0);
        EXPECT_EQ(entries[static_cast<std::size_t>(sel)], L"QR Code");
        EXPECT_EQ(TextOf(::GetDlgItem(main, kData)), L"Kestrivo QR Code Barcode solution.");
        EXPECT_EQ(DefaultSymbology(), L"qr code") << "a matching value is not rewritten";
    }
    SetDefaultSymbology(L"No Such Row");
    EncoderProcess app;
    ASSERT_TRUE(app.Start());
    ASSERT_NE(app.WaitMain(), nullptr);
    const auto entries = ListEntries(::GetDlgItem(app.Pane(), kSymbology));
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(DefaultSymbology(), entries.front());
}

TEST_F(EncoderWindow, IntelligentMailFieldsComposeAndCheckTheirLengths) {
    ASSERT_TRUE(ChooseEntry(pane, kSymbology, L"Intelligent Mail"));
    struct Field {
        int id;
        const wchar_t* text;
    } fields[] = {{IDC_IM_ID, L"01"}, {IDC_IM_SERVICE, L"234"}, {IDC_IM_MAILER, L"567094"}, {IDC_IM_SERIAL, L"987654321"},
                  {IDC_IM_ZIP, L"01234567891"}};
    for (const Field& f : fields) {
        HWND edit = ::GetDlgItem(pane, f.id);
        ASSERT_TRUE(::IsWindowVisible(edit) || true);
        ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(f.text));
    }
    Settle(main);
    EXPECT_EQ(TextOf(data), L"0123456709498765432101234567891");
    // Every field of a right length is accepted when it loses the focus: no message box.
    for (const Field& f : fields) {
        ::PostMessageW(pane, WM_COMMAND, MAKEWPARAM(f.id, EN_KILLFOCUS), reinterpret_cast<LPARAM>(::GetDlgItem(pane, f.id)));
        Settle(pane);
        EXPECT_EQ(app.WaitMessageBox(200), nullptr) << f.id;
    }

    struct Refusal {
        int id;
        const wchar_t* text;
        const wchar_t* message;
    } refusals[] = {
        {IDC_IM_ID, L"05", L"The second digit of Barcode Identifier must be between 0 and 4."},
        {IDC_IM_SERVICE, L"23", L"Service Type Identifier must be 3-digits long."},
        {IDC_IM_MAILER, L"5670941", L"Mail Identifier must be either 6-digits or 9-digits long."},
        {IDC_IM_MAILER, L"567094", nullptr},
        {IDC_IM_SERIAL, L"987654", L"Serial Number must be either 6-digits or 9-digits long."},
        {IDC_IM_ZIP, L"1234", L"Delivery Point Zipcode shall be either 5, 9, or 11 digits."},
    };
    for (const Refusal& r : refusals) {
        HWND edit = ::GetDlgItem(pane, r.id);
        ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(r.text));
        ::PostMessageW(pane, WM_COMMAND, MAKEWPARAM(r.id, EN_KILLFOCUS), reinterpret_cast<LPARAM>(edit));
        HWND box = app.WaitMessageBox(r.message ? 5000 : 300);
        if (!r.message) {
            EXPECT_EQ(box, nullptr);
            continue;
        }
        ASSERT_NE(box, nullptr) << "no message for field " << r.id;
        EXPECT_EQ(TextOf(::GetDlgItem(box, 0xFFFF)), r.message);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        for (int i = 0; i < 100 && ::IsWindow(box); ++i) ::Sleep(20);
        EXPECT_FALSE(::IsWindow(box));
    }
}

}  // namespace
