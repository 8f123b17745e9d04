// The main window and the Options pane of Encoder under Wine, driven with real keyboard and
// mouse input from this second process: field checks that can always be left, sizes chosen
// with the keys, panes that open with one click, the message line telling what the painted
// symbol leaves out, and Royal Mail CMDM painted as its symbol.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "cmdm.h"
#include "encoder_driver.h"
#include "real_mouse.h"
#include "resource.h"
#include "screen_picture.h"
#include "shaping.h"
#include "support/read_back.h"

namespace {

constexpr int kData = IDC_DATA, kMessageLine = IDC_MESSAGE_LINE, kSymbology = IDC_SYMBOLOGY, kPointSize = IDC_POINT_SIZE;
constexpr int kIdentifier = IDC_IM_ID, kServiceType = IDC_IM_SERVICE;
constexpr int kOptionsTool = IDC_TOOL_OPTIONS, kKeyboardTool = IDC_TOOL_KEYBOARD, kCopyTool = IDC_TOOL_COPY,
              kMinimizeTool = IDC_TOOL_MINIMIZE, kRefreshTool = IDC_TOOL_REFRESH;
constexpr WPARAM kTrayRestore = ID_TRAY_MINIMIZE, kAppExit = ID_APP_EXIT;
constexpr RECT kOutputArea = {13, 169, 387, 400};

// One key pressed and released, as the keyboard gives it.
void Key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &in, sizeof in);
}
void Press(WORD vk) {
    Key(vk, false);
    Key(vk, true);
    ::Sleep(40);
}
void PressWithControl(WORD vk) {
    Key(VK_CONTROL, false);
    Press(vk);
    Key(VK_CONTROL, true);
    ::Sleep(40);
}
// Digits typed on the keyboard.
void TypeDigits(const wchar_t* digits) {
    for (const wchar_t* p = digits; *p; ++p) Press(static_cast<WORD>(*p));
}

// A left click in the middle of a window, with the real pointer.
void ClickOn(HWND wnd) {
    RECT r{};
    ::GetWindowRect(wnd, &r);
    Mouse(MOUSEEVENTF_MOVE, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ::Sleep(30);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
    ::Sleep(150);
}

bool WaitFor(const std::function<bool()>& done, DWORD ms = 3000) {
    for (DWORD waited = 0; waited < ms; waited += 20) {
        if (done()) return true;
        ::Sleep(20);
    }
    return done();
}

// The window that has the keyboard focus in the thread of `wnd`.
HWND FocusOf(HWND wnd) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(wnd, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

// The visible message boxes of a process captioned "Encoder".
int OpenBoxes(DWORD pid) {
    struct Count {
        DWORD pid;
        int n;
    } count{pid, 0};
    ::EnumWindows(
        [](HWND wnd, LPARAM param) -> BOOL {
            auto* c = reinterpret_cast<Count*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(wnd, &owner);
            wchar_t cls[16] = {};
            ::GetClassNameW(wnd, cls, 16);
            if (owner == c->pid && ::IsWindowVisible(wnd) && std::wstring(cls) == L"#32770" &&
                TextOf(wnd) == L"Encoder")
                ++c->n;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count.n;
}

bool AnyDark(const testing_support::Image& image) {
    return std::any_of(image.pixels.begin(), image.pixels.end(), [](std::uint8_t p) { return p < 96; });
}

// The rectangle of dark pixels (left, top, right, bottom), or an empty one.
RECT DarkBounds(const testing_support::Image& image) {
    RECT r{image.width, image.height, -1, -1};
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.pixels[static_cast<std::size_t>(y * image.width + x)] < 128) {
                r.left = std::min<LONG>(r.left, x), r.right = std::max<LONG>(r.right, x + 1);
                r.top = std::min<LONG>(r.top, y), r.bottom = std::max<LONG>(r.bottom, y + 1);
            }
    return r;
}

// The dark part of the picture with a white quiet zone around it.
testing_support::Image Framed(const testing_support::Image& image, int margin = 16) {
    const RECT b = DarkBounds(image);
    if (b.right < 0) return image;
    testing_support::Image out;
    out.width = b.right - b.left + 2 * margin;
    out.height = b.bottom - b.top + 2 * margin;
    out.pixels.assign(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height), 255);
    for (int y = b.top; y < b.bottom; ++y)
        for (int x = b.left; x < b.right; ++x)
            out.pixels[static_cast<std::size_t>((y - b.top + margin) * out.width + (x - b.left + margin))] =
                image.pixels[static_cast<std::size_t>(y * image.width + x)];
    return out;
}

std::wstring FromClipboard() {
    std::wstring text;
    if (!::OpenClipboard(nullptr)) return text;
    if (HANDLE block = ::GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(::GlobalLock(block));
        ::GlobalUnlock(block);
    }
    ::CloseClipboard();
    return text;
}

class UserInput : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.Start());
        main = app.WaitMain();
        ASSERT_NE(main, nullptr) << "the main window did not appear";
        pane = app.Pane();
        ASSERT_NE(pane, nullptr);
        data = ::GetDlgItem(main, kData);
        line = ::GetDlgItem(main, kMessageLine);
        // Away from the screen's corner (where Wine puts its own tray window), with room on
        // the left for the Options pane.
        ::SetWindowPos(main, nullptr, 300, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        Settle(main);
    }
    void ShowPane() {
        ClickOn(::GetDlgItem(main, kOptionsTool));
        ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(pane) != 0; })) << "the Options pane did not open";
        Settle(pane);
    }
    // Puts `text` into the data field as a paste with the keyboard would.
    void Paste(const std::wstring& text) {
        ASSERT_TRUE(PutOnClipboard(text));
        ClickOn(data);
        ::SendMessageW(data, EM_SETSEL, 0, -1);
        PressWithControl('V');
        ASSERT_TRUE(WaitFor([&] { return TextOf(data) == text; })) << "the paste did not arrive";
        Settle(main);
    }
    EncoderProcess app;
    HWND main = nullptr, pane = nullptr, data = nullptr, line = nullptr;
};

TEST_F(UserInput, IntelligentMailRefusalsComeOnceAndCanAlwaysBeLeft) {
    ASSERT_TRUE(ChooseEntry(pane, kSymbology, L"Intelligent Mail"));
    ShowPane();
    HWND identifier = ::GetDlgItem(pane, kIdentifier), service = ::GetDlgItem(pane, kServiceType);
    ClickOn(identifier);
    ASSERT_TRUE(WaitFor([&] { return FocusOf(pane) == identifier; }));
    TypeDigits(L"05");
    ASSERT_TRUE(WaitFor([&] { return TextOf(identifier) == L"05"; }));

    // Tab: one refusal, for the field that was left, and nothing more.
    Press(VK_TAB);
    HWND box = app.WaitMessageBox(3000);
    ASSERT_NE(box, nullptr) << "no refusal of the identifier";
    EXPECT_EQ(TextOf(::GetDlgItem(box, 0xFFFF)), L"The second digit of Barcode Identifier must be between 0 and 4.");
    ::Sleep(800);
    EXPECT_EQ(OpenBoxes(app.pid()), 1) << "a second box came with the first";
    // Escape leaves it, and no other box follows.
    Press(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); })) << "Escape did not close the refusal";
    ::Sleep(800);
    EXPECT_EQ(OpenBoxes(app.pid()), 0) << "a new box came after the refusal was left";
    EXPECT_EQ(FocusOf(pane), service) << "the focus is not where Tab put it";

    // Leaving the (empty) Service Type field refuses it once; leaving fields again unchanged
    // shows nothing.
    ClickOn(identifier);
    box = app.WaitMessageBox(3000);
    ASSERT_NE(box, nullptr) << "no refusal of the empty service type";
    EXPECT_EQ(TextOf(::GetDlgItem(box, 0xFFFF)), L"Service Type Identifier must be 3-digits long.");
    Press(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
    ASSERT_TRUE(WaitFor([&] { return FocusOf(pane) == identifier; }));
    Press(VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return FocusOf(pane) == service; }));
    Key(VK_SHIFT, false);
    Press(VK_TAB);
    Key(VK_SHIFT, true);
    ::Sleep(800);
    EXPECT_EQ(OpenBoxes(app.pid()), 0) << "a refusal came again for a field that did not change";

    // A corrected field is accepted and composed into the data field.
    ASSERT_TRUE(WaitFor([&] { return FocusOf(pane) == identifier; }));
    Press(VK_END);
    Press(VK_BACK);
    Press(VK_BACK);
    TypeDigits(L"01");
    ASSERT_TRUE(WaitFor([&] { return TextOf(identifier) == L"01"; }));
    Press(VK_TAB);
    ::Sleep(800);
    EXPECT_EQ(OpenBoxes(app.pid()), 0) << "a right identifier was refused";
    EXPECT_EQ(TextOf(data).substr(0, 2), L"01");

    // A changed field is refused again; the tray's Exit ends the program with its box open.
    TypeDigits(L"2");
    Press(VK_TAB);
    ASSERT_NE(app.WaitMessageBox(3000), nullptr) << "a changed wrong field was not refused";
    ::PostMessageW(main, WM_COMMAND, kAppExit, 0);
    EXPECT_EQ(app.WaitExit(10000), 0) << "the tray's Exit did not end the program";
}

TEST_F(UserInput, ModifierLettersAndLaoMarksTypedOrPastedFirstInTheDataFieldAreShownOrRefusedByName) {
    ClickOn(data);
    ASSERT_TRUE(WaitFor([&] { return FocusOf(main) == data; }));
    // The circumflex and the Lao vowel sign I are shown first in the field; the small tilde,
    // the Lao vowel sign U and the tone mark MAI EK are refused there under Wine, by name,
    // and the field keeps its text.
    for (const wchar_t c : {L'\u02C6', L'\u02DC', L'\u0EB8', L'\u0EC8', L'\u0EB4'}) {
        for (const bool paste : {false, true}) {
            SCOPED_TRACE(testing::Message() << std::hex << static_cast<int>(c) << (paste ? " pasted" : " typed"));
            ::SendMessageW(data, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"7"));
            ::SendMessageW(data, EM_SETSEL, 0, 0);
            if (paste) {
                ASSERT_TRUE(PutOnClipboard(std::wstring(1, c)));
                PressWithControl('V');
            } else {
                TypeUnicodeKey(c);
            }
            if (desktop::FailsFirstInRun(static_cast<char16_t>(c))) {
                HWND box = app.WaitMessageBox(5000);
                ASSERT_NE(box, nullptr) << "no refusal; the program " << (app.WaitExit(0) == -1 ? "runs" : "ended");
                const std::u16string refused = desktop::ShapingRefused(static_cast<char16_t>(c));
                EXPECT_EQ(TextOf(::GetDlgItem(box, 0xFFFF)), std::wstring(refused.begin(), refused.end()));
                Press(VK_RETURN);
                EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
                EXPECT_EQ(TextOf(data), L"7");
            } else {
                EXPECT_TRUE(WaitFor([&] { return TextOf(data) == std::wstring(1, c) + L"7"; })) << "shown: " << TextOf(data).size();
                ::Sleep(300);
                EXPECT_EQ(OpenBoxes(app.pid()), 0);
            }
            ASSERT_EQ(app.WaitExit(0), -1) << "the program ended";
        }
    }
    // After a letter of its script each is shown.
    ::SendMessageW(data, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"x"));
    ::SendMessageW(data, EM_SETSEL, 1, 1);
    ASSERT_TRUE(PutOnClipboard(L"\u02DC\u0E81\u0EB8\u0EC8"));
    PressWithControl('V');
    EXPECT_TRUE(WaitFor([&] { return TextOf(data) == L"x\u02DC\u0E81\u0EB8\u0EC8"; }));
    ::Sleep(300);
    EXPECT_EQ(OpenBoxes(app.pid()), 0);
    ASSERT_EQ(app.WaitExit(0), -1) << "the program ended";
}

TEST_F(UserInput, PointSizeChosenWithTheKeysIsPaintedAtOnce) {
    ASSERT_TRUE(ChooseEntry(pane, kSymbology, L"Code128B"));
    ShowPane();
    Settle(main);
    const auto before = Capture(main, kOutputArea);
    ASSERT_TRUE(AnyDark(before));
    HWND sizes = ::GetDlgItem(pane, kPointSize);
    ClickOn(sizes);  // opens its list
    // 12 points down to 18: the bars' hinting draws 6 to 16 points at one pixel a module.
    Press(VK_DOWN);
    Press(VK_DOWN);
    Press(VK_DOWN);
    Press(VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return ::SendMessageW(sizes, CB_GETCURSEL, 0, 0) == 9; }))
        << "the keys did not choose 18 points";
    EXPECT_TRUE(WaitFor([&] { return !::SendMessageW(sizes, CB_GETDROPPEDSTATE, 0, 0); }));
    Settle(main);
    const auto chosen = Capture(main, kOutputArea);
    EXPECT_NE(DarkBounds(chosen).right - DarkBounds(chosen).left, DarkBounds(before).right - DarkBounds(before).left)
        << "the symbol was not painted at the size the keys chose";
    ClickOn(::GetDlgItem(main, kRefreshTool));
    Settle(main);
    EXPECT_EQ(Capture(main, kOutputArea).pixels, chosen.pixels) << "Refresh painted another size than the list shows";
}

TEST_F(UserInput, PanesOpenWithOneClickAfterTheirCloseButtonOrARestore) {
    HWND options = ::GetDlgItem(main, kOptionsTool);
    ShowPane();
    ClickOn(::GetDlgItem(pane, IDOK));  // the pane's own "Close"
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(pane); })) << "Close did not close the pane";
    ClickOn(options);
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(pane) != 0; }, 1500)) << "one click after Close did nothing";

    ClickOn(::GetDlgItem(main, kMinimizeTool));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(main) && !::IsWindowVisible(pane); }));
    ::PostMessageW(main, WM_COMMAND, kTrayRestore, 0);  // the tray menu's "Minimize / Restore"
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(main) != 0; }));
    Settle(main);
    EXPECT_FALSE(::IsWindowVisible(pane)) << "the restore brings the main window alone";
    ClickOn(options);
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(pane) != 0; }, 1500)) << "one click after a restore did nothing";

    HWND keys = app.Keyboard();
    ASSERT_NE(keys, nullptr);
    ClickOn(::GetDlgItem(main, kKeyboardTool));
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(keys) != 0; }));
    Settle(keys);
    ClickOn(::GetDlgItem(keys, IDOK));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(keys); }));
    ClickOn(::GetDlgItem(main, kKeyboardTool));
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(keys) != 0; }, 1500)) << "one click after Close did nothing";
}

TEST_F(UserInput, MessageLineTellsWhatThePaintedSymbolLeavesOut) {
    struct Case {
        const wchar_t* row;
        std::wstring pasted;
        const wchar_t* message;
    } cases[] = {
        // A symbol that long is also larger than the paint area: the line says that too.
        {L"Code128B", std::wstring(10000, L'K'),
         L"Data too long: only its beginning is encoded. The symbol is larger than the preview and is shown cut; it "
         L"prints, copies and exports whole."},
        {L"Code128B", L"Kes\ttrivo", L"Some characters cannot be encoded and are left out."},
        {L"Code 39", L"KES\u4E2DTRIVO", L"Some characters cannot be encoded and are left out."},
        {L"Aztec", L"Kestrivo \u4E2D\u6587", L"Some characters cannot be encoded and are replaced."},
        {L"Maxicode", L"Kestrivo \U0001F600", L"Some characters cannot be encoded and are replaced."},
        {L"QR Code", L"Kestrivo \u4E2D\u6587 \U0001F600", L""},
        {L"Code128B", L"Kestrivo", L""},
        {L"Code128C", L"00", L""},
        {L"Codabar", L"A12B", L""},
        {L"Code128B", L"A\u00E9", L"Some characters cannot be encoded and are left out."},
        {L"Code128A", L"AB&#0;C", L"The NUL character cannot be encoded and is left out."},
        {L"Code128B", L"AB&#0;C", L"The NUL character cannot be encoded and is left out."},
        {L"Intelligent Mail", L"0123456709498765432A", L"Characters other than digits are encoded as other digits."},
    };
    for (const Case& c : cases) {
        const std::string label(c.row, c.row + wcslen(c.row));
        ASSERT_TRUE(ChooseEntry(pane, kSymbology, c.row)) << label;
        Paste(c.pasted);
        EXPECT_EQ(TextOf(line), c.message) << label;
        EXPECT_TRUE(AnyDark(Capture(main, kOutputArea))) << label << ": the symbol is not painted";
    }
    // The font text is what it always was: the copy of a text with a character Code 39 lacks
    // is the copy of the text without it.
    ASSERT_TRUE(ChooseEntry(pane, kSymbology, L"Code 39"));
    Paste(L"KES\u4E2DTRIVO");
    ClickOn(::GetDlgItem(main, kCopyTool));
    const std::wstring withChinese = FromClipboard();
    Paste(L"KESTRIVO");
    EXPECT_EQ(TextOf(line), L"");
    ClickOn(::GetDlgItem(main, kCopyTool));
    EXPECT_EQ(withChinese, FromClipboard());
    EXPECT_FALSE(withChinese.empty());
}

// How tall `text` stands when wrapped at word ends into `width` pixels, in the message line's font.
int WrappedHeight(const std::wstring& text, int width) {
    LOGFONTW lf{};
    HDC screen = ::GetDC(nullptr);
    lf.lfHeight = -::MulDiv(8, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    lf.lfCharSet = DEFAULT_CHARSET;
    ::lstrcpynW(lf.lfFaceName, L"MS Shell Dlg", LF_FACESIZE);
    HFONT font = ::CreateFontIndirectW(&lf);
    HGDIOBJ old = ::SelectObject(screen, font);
    RECT r{0, 0, width, 0};
    ::DrawTextW(screen, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL);
    ::SelectObject(screen, old);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, screen);
    return r.bottom - r.top;
}

// The message line shows its longest messages whole: a loss sentence together with the
// sentence of a symbol larger than the paint area (a pasted text far too long for Code 128),
// and the longest sentences the program has, each wrapped within the line's own width.
TEST_F(UserInput, MessageLineShowsItsLongestMessagesWhole) {
    ASSERT_TRUE(ChooseEntry(pane, kSymbology, L"Code128B"));
    Paste(std::wstring(10000, L'K'));
    const std::wstring shown = TextOf(line);
    EXPECT_NE(shown.find(L"Data too long: only its beginning is encoded."), std::wstring::npos) << "no loss sentence";
    EXPECT_NE(shown.find(L"larger than the preview"), std::wstring::npos) << "no sentence of the cut preview";
    const LONG style = ::GetWindowLongW(line, GWL_STYLE);
    EXPECT_TRUE(style & ES_MULTILINE) << "the line does not wrap";
    RECT client{};
    ::GetClientRect(line, &client);
    // The edit keeps a few pixels of margin at each side.
    const int width = client.right - 8;
    const std::wstring longest[] = {
        shown,
        L"Data too long: only its beginning is encoded. Some characters cannot be encoded and are left out. "
        L"The symbol is larger than the preview and is shown cut; it prints, copies and exports whole.",
        L"Cannot encode in GS1 mode and Reader Initialization at the same time",
    };
    for (const std::wstring& text : longest)
        EXPECT_LE(WrappedHeight(text, width), client.bottom) << "not whole in " << client.right << " x " << client.bottom
                                                             << ": " << std::string(text.begin(), text.end());
    // The screen shows the first words and the last ones.
    const Shot shot = Settled(WindowRect(line));
    Keep(shot, "message-line-two-sentences");
    const LOGFONTW font = DialogFont(8, L"MS Shell Dlg");
    EXPECT_TRUE(Shows(shot, L"Data too long:", font));
    EXPECT_TRUE(Shows(shot, L"whole.", font));
    // The line lies on the face, clear of the data field and the paint area.
    RECT lineRect{}, dataRect{}, both{};
    ::GetWindowRect(line, &lineRect);
    ::GetWindowRect(data, &dataRect);
    EXPECT_FALSE(::IntersectRect(&both, &lineRect, &dataRect));
    RECT face{};
    ::GetWindowRect(main, &face);
    RECT area = kOutputArea;
    ::OffsetRect(&area, face.left, face.top);
    EXPECT_FALSE(::IntersectRect(&both, &lineRect, &area));
}

TEST_F(UserInput, RoyalMailCmdmIsPaintedLineByLineAndReadsBack) {
    const std::wstring text = L"JGB 6201120B012722900021AC35B211234567";
    ASSERT_TRUE(ChooseEntry(pane, kSymbology, L"Royal Mail CMDM"));
    Paste(text);
    EXPECT_EQ(TextOf(line), L"");
    const auto image = Capture(main, kOutputArea);
    const RECT b = DarkBounds(image);
    ASSERT_GT(b.right, b.left) << "nothing painted";
    // A square symbol of many lines, not one line of glyphs.
    EXPECT_GT(b.bottom - b.top, 3 * (b.right - b.left) / 4) << "painted " << b.right - b.left << " x " << b.bottom - b.top;
    std::u16string data(text.begin(), text.end());
    data.insert(data.begin() + 30, matrix::cmdmCheckChar(data.data() + 10, 20));
    testing_support::ReadBackBatch batch;
    batch.Add("Royal Mail CMDM painted", Framed(image), "DataMatrix", false, std::string(data.begin(), data.end()));
    ASSERT_TRUE(batch.Write("readback-cmdm"));
}

}  // namespace
