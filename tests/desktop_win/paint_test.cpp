// Every window and popup of Encoder as a user sees it: opened by real input (the pointer and
// the keys, through SendInput), taken from the screen (what the X server shows, not what the
// program believes it drew) and looked at: no large black area, the expected texts drawn in
// their fonts, nothing cut or covered. Each picture is kept below the build folder.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "encoder_driver.h"
#include "resource.h"
#include "real_mouse.h"
#include "screen_picture.h"

namespace {

constexpr int kOptionsTool = IDC_TOOL_OPTIONS, kKeyboardTool = IDC_TOOL_KEYBOARD, kSequenceTool = IDC_TOOL_SEQUENCE;
constexpr int kMessageLine = IDC_MESSAGE_LINE;
constexpr UINT kTrayMenu = IDR_TRAYMENU, kAboutCommand = ID_APP_ABOUT;

// Visible top-level windows of class `cls` (of process `pid`, or of any other process when
// `others` is set).
std::vector<HWND> Windows(const wchar_t* cls, DWORD pid, bool others = false) {
    struct Search {
        const wchar_t* cls;
        DWORD pid;
        bool others;
        std::vector<HWND> found;
    } s{cls, pid, others, {}};
    ::EnumWindows(
        [](HWND wnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(wnd, &pid);
            wchar_t name[64] = {};
            ::GetClassNameW(wnd, name, 64);
            if ((pid == s->pid) != s->others && ::IsWindowVisible(wnd) && ::lstrcmpiW(name, s->cls) == 0)
                s->found.push_back(wnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND WaitWindow(const wchar_t* cls, DWORD pid, bool others = false, DWORD ms = 4000) {
    for (DWORD waited = 0; waited < ms; waited += 50) {
        auto found = Windows(cls, pid, others);
        if (!found.empty()) return found.front();
        ::Sleep(50);
    }
    return nullptr;
}

bool WaitVisible(HWND wnd, bool visible) {
    for (int i = 0; i < 100; ++i) {
        if ((::IsWindowVisible(wnd) != 0) == visible) return true;
        ::Sleep(30);
    }
    return false;
}

void ClickAt(int x, int y, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP) {
    Mouse(MOUSEEVENTF_MOVE, x, y);
    ::Sleep(60);
    Mouse(down);
    ::Sleep(60);
    Mouse(up);
    ::Sleep(100);
}

void Click(HWND wnd) {
    const RECT r = WindowRect(wnd);
    ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void Key(WORD vk) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, in, sizeof in[0]);
    ::Sleep(80);
}

// The shell's balloon of a notification icon of process `pid` (or of this process), once shown.
HWND WaitBalloon() {
    for (int i = 0; i < 80; ++i, ::Sleep(50))
        for (HWND tip : Windows(TOOLTIPS_CLASSW, ::GetCurrentProcessId(), true))
            if (::GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON) return tip;
    return nullptr;
}

// What the shell makes of a balloon with the warning icon, `title` and `text` for a plain
// notification icon of this process: the balloon's picture, taken before the icon goes.
Shot PlainBalloon(const wchar_t* title, const wchar_t* text) {
    HWND owner = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof nid;
    nid.hWnd = owner;
    nid.uID = 7;
    nid.uFlags = NIF_ICON | NIF_TIP | NIF_INFO;
    nid.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    ::lstrcpynW(nid.szTip, L"plain", 128);
    ::lstrcpynW(nid.szInfo, text, 256);
    ::lstrcpynW(nid.szInfoTitle, title, 64);
    nid.uTimeout = 20000;
    nid.dwInfoFlags = NIIF_WARNING;
    Shot shot;
    if (::Shell_NotifyIconW(NIM_ADD, &nid)) {
        if (HWND balloon = WaitBalloon()) {
            shot = Settled(WindowRect(balloon));
        }
        nid.uFlags = 0;
        ::Shell_NotifyIconW(NIM_DELETE, &nid);
    }
    ::DestroyWindow(owner);
    for (int i = 0; i < 40 && WaitBalloon(); ++i) ::Sleep(50);  // gone with its icon
    return shot;
}

// The program with its main window up and activated by a click on its message line.
class Painted : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        plainBalloon = PlainBalloon(L"Kestrivo", L"Encoder");
        Keep(plainBalloon, "wine-plain-balloon");
    }
    static Shot plainBalloon;
    void SetUp() override {
        ASSERT_TRUE(app.Start());
        main = app.WaitMain();
        ASSERT_NE(main, nullptr);
        Settle(main);
        Click(::GetDlgItem(main, kMessageLine));
    }
    HWND OpenOptions() {
        Click(::GetDlgItem(main, kOptionsTool));
        HWND pane = app.Pane();
        EXPECT_TRUE(pane && WaitVisible(pane, true)) << "the Options button showed no pane";
        return pane;
    }
    EncoderProcess app;
    HWND main = nullptr;
};

Shot Painted::plainBalloon;

// The paint area of the face: the inside of the white field under the data field, whose frame
// is one pixel around it.
constexpr RECT kPaintArea = {13, 169, 387, 400};
// Room a symbol keeps at the sides of the area for a reader at 12 points: ten modules of a
// linear symbol (a pixel each), four modules of a QR Code (4 pixels each).
int QuietZone(const std::wstring& row) { return row.find(L"QR") != std::wstring::npos ? 16 : 10; }
const wchar_t kPreviewCut[] = L"The symbol is larger than the preview and is shown cut; it prints, copies and exports whole.";

// Where a picture of the main window shows the painted symbol: the dark pixels inside the
// paint area, and whether ink lies on the area's frame (a symbol that spills out of the area
// paints over it).
struct Painting {
    RECT ink{kPaintArea.right, kPaintArea.bottom, kPaintArea.left, kPaintArea.top};
    bool overFrame = false;
    bool Any() const { return ink.right > ink.left; }
    // Whole: nothing on the frame and the ink `side` pixels clear of the area's sides, one
    // pixel clear of its bottom.
    bool Whole(int side) const {
        return !overFrame && (!Any() || (ink.left - kPaintArea.left >= side && kPaintArea.right - ink.right >= side &&
                                         ink.bottom < kPaintArea.bottom));
    }
};

Painting Look(const Shot& face) {
    Painting p;
    for (int y = kPaintArea.top; y < kPaintArea.bottom; ++y)
        for (int x = kPaintArea.left; x < kPaintArea.right; ++x)
            if (face.Luma(x, y) < 128) {
                p.ink.left = std::min<LONG>(p.ink.left, x), p.ink.right = std::max<LONG>(p.ink.right, x + 1);
                p.ink.top = std::min<LONG>(p.ink.top, y), p.ink.bottom = std::max<LONG>(p.ink.bottom, y + 1);
            }
    // The frame is a light grey line on the dark body: black on it is ink.
    for (int x = kPaintArea.left - 1; x <= kPaintArea.right; ++x)
        for (int y : {static_cast<int>(kPaintArea.top) - 1, static_cast<int>(kPaintArea.bottom)}) p.overFrame |= face.Luma(x, y) < 40;
    for (int y = kPaintArea.top - 1; y <= kPaintArea.bottom; ++y)
        for (int x : {static_cast<int>(kPaintArea.left) - 1, static_cast<int>(kPaintArea.right)}) p.overFrame |= face.Luma(x, y) < 40;
    return p;
}

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

// The option lists of each kind (a row that shows them, the lists it shows).
struct ListsOfRow {
    const wchar_t* row;
    std::vector<int> lists;
};

}  // namespace

// Each drop-down list of the Options pane opens painted: its entries drawn in the pane's
// font on a light ground, no black block.
TEST_F(Painted, EveryOptionListOpensWithItsEntriesDrawn) {
    HWND pane = OpenOptions();
    ASSERT_NE(pane, nullptr);
    const LOGFONTW font = DialogFont(7, L"Microsoft Sans Serif");
    const std::vector<ListsOfRow> rows = {
        {L"Code 39", {IDC_SYMBOLOGY, IDC_FACE, IDC_POINT_SIZE}}, {L"Data Matrix", {IDC_DM_ENCODATION, IDC_DM_FORMAT}},
        {L"QR Code", {IDC_QR_ECLEVEL}}, {L"PDF417", {IDC_PDF_SECURITY, IDC_PDF_COMPACTION}},
        {L"Aztec", {IDC_AZTEC_FORMAT, IDC_AZTEC_LEVEL}}, {L"Maxicode", {IDC_MAXICODE_MODE}},
    };
    for (const ListsOfRow& r : rows) {
        ASSERT_TRUE(ChooseEntry(pane, IDC_SYMBOLOGY, r.row)) << r.row;
        Settle(pane);
        for (int id : r.lists) {
            SCOPED_TRACE("list " + std::to_string(id));
            HWND combo = ::GetDlgItem(pane, id);
            ASSERT_TRUE(::IsWindowVisible(combo));
            const auto entries = ListEntries(combo);
            ASSERT_GE(entries.size(), 2u);
            const RECT box = WindowRect(combo);
            ClickAt(box.right - 6, (box.top + box.bottom) / 2);  // the drop button
            HWND list = WaitWindow(L"ComboLBox", app.pid());
            ASSERT_NE(list, nullptr) << "no list dropped";
            const Shot shot = Settled(WindowRect(list));
            Keep(shot, "options-list-" + std::to_string(id));
            EXPECT_TRUE(NotBlack(shot));
            // An entry that is not the selected one (the selection is drawn light on dark).
            const int selected = static_cast<int>(::SendMessageW(combo, CB_GETCURSEL, 0, 0));
            const std::wstring entry = entries[selected == 1 ? 0 : 1];
            EXPECT_TRUE(Shows(shot, entry, font)) << "entry not drawn: " << std::string(entry.begin(), entry.end());
            Key(VK_ESCAPE);
            ASSERT_TRUE(WaitVisible(list, false)) << "Escape left the list open";
        }
    }
}

// Every label and check box of the pane shows its whole text, in every kind's layout, and no
// two visible controls overlap.
TEST_F(Painted, OptionLabelsShowTheirWholeTexts) {
    HWND pane = OpenOptions();
    ASSERT_NE(pane, nullptr);
    const LOGFONTW font = DialogFont(7, L"Microsoft Sans Serif");
    for (const wchar_t* row : {L"Code 39", L"Data Matrix", L"QR Code", L"PDF417", L"Aztec", L"Maxicode", L"Intelligent Mail"}) {
        ASSERT_TRUE(ChooseEntry(pane, IDC_SYMBOLOGY, row));
        Settle(pane);
        const Shot shot = Settled(WindowRect(pane));
        const std::wstring name(row);
        std::string file = "options-" + std::string(name.begin(), name.end());
        std::replace(file.begin(), file.end(), ' ', '-');
        Keep(shot, file);
        EXPECT_TRUE(NotBlack(shot)) << file;
        std::vector<HWND> shown;
        for (HWND c = ::GetWindow(pane, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
            if (::IsWindowVisible(c)) shown.push_back(c);
        const RECT paneRect = WindowRect(pane);
        for (HWND c : shown) {
            wchar_t cls[16] = {};
            ::GetClassNameW(c, cls, 16);
            const LONG type = ::GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK;
            const bool label = ::lstrcmpiW(cls, L"Static") == 0;
            const bool check = ::lstrcmpiW(cls, L"Button") == 0 && (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX);
            if (!label && !check) continue;
            std::wstring text = TextOf(c);
            text.erase(std::remove(text.begin(), text.end(), L'&'), text.end());
            RECT r = WindowRect(c);
            ::OffsetRect(&r, -paneRect.left, -paneRect.top);
            Shot part;
            part.width = r.right - r.left;
            part.height = r.bottom - r.top;
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x) part.px.push_back(shot.px[static_cast<std::size_t>(y * shot.width + x)]);
            // A disabled check box embosses its text: it is measured instead.
            if (!::IsWindowEnabled(c)) {
                EXPECT_GE(part.width, InkWidth(text, font) + ::GetSystemMetrics(SM_CXMENUCHECK) + 8)
                    << file << ": \"" << std::string(text.begin(), text.end()) << "\" does not fit";
                continue;
            }
            EXPECT_TRUE(Shows(part, text, font)) << file << ": \"" << std::string(text.begin(), text.end()) << "\" is not shown whole";
            for (HWND other : shown) {
                RECT a = WindowRect(c), b = WindowRect(other), both{};
                if (other != c && ::IntersectRect(&both, &a, &b))
                    ADD_FAILURE() << file << ": \"" << std::string(text.begin(), text.end()) << "\" overlaps control "
                                  << ::GetDlgCtrlID(other);
            }
        }
    }
}

// At 12 points, the size the pane starts with, every row's own sample (put into the data
// field when the row is chosen) is painted whole inside the paint area, with room for a
// reader at its sides, and the message line says nothing of it.
TEST_F(Painted, EveryRowsSampleIsPaintedWholeAtTwelvePoints) {
    HWND pane = OpenOptions();
    ASSERT_NE(pane, nullptr);
    ASSERT_EQ(TextOf(::GetDlgItem(pane, IDC_POINT_SIZE)), L"12");
    const auto rows = ListEntries(::GetDlgItem(pane, IDC_SYMBOLOGY));
    ASSERT_EQ(rows.size(), 53u);
    for (const std::wstring& row : rows) {
        ASSERT_TRUE(ChooseEntry(pane, IDC_SYMBOLOGY, row));
        Settle(main);
        const Shot face = Settled(WindowRect(main));
        const Painting p = Look(face);
        std::string file = "sample-" + Narrow(row);
        for (char& c : file)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '-';
        EXPECT_TRUE(p.Any()) << Narrow(row) << ": nothing painted";
        EXPECT_TRUE(p.Whole(QuietZone(row))) << Narrow(row) << ": ink from " << p.ink.left << "," << p.ink.top << " to "
                                         << p.ink.right << "," << p.ink.bottom << (p.overFrame ? ", over the frame" : "");
        if (!p.Whole(QuietZone(row))) Keep(face, file);
        EXPECT_EQ(TextOf(::GetDlgItem(main, kMessageLine)), L"") << Narrow(row);
    }
    ASSERT_TRUE(ChooseEntry(pane, IDC_SYMBOLOGY, L"PDF417"));
    Settle(main);
    Keep(Settled(WindowRect(main)), "sample-PDF417-12pt");
}

// A symbol larger than the paint area at the chosen size is cut by its frame: the message line
// says so, at exactly the sizes where the picture shows the symbol cut.
TEST_F(Painted, SymbolsLargerThanThePaintAreaAreToldOnTheMessageLine) {
    HWND pane = OpenOptions();
    ASSERT_NE(pane, nullptr);
    const auto sizes = ListEntries(::GetDlgItem(pane, IDC_POINT_SIZE));
    ASSERT_EQ(sizes.size(), 15u);
    for (const wchar_t* row : {L"PDF417", L"Maxicode"}) {
        ASSERT_TRUE(ChooseEntry(pane, IDC_SYMBOLOGY, row));
        int told = 0;
        for (const std::wstring& size : sizes) {
            ASSERT_TRUE(ChooseEntry(pane, IDC_POINT_SIZE, size));
            Settle(main);
            const std::string label = Narrow(row) + " at " + Narrow(size) + " pt";
            const Shot face = Settled(WindowRect(main));
            const Painting p = Look(face);
            ASSERT_TRUE(p.Any()) << label << ": nothing painted";
            const std::wstring line = TextOf(::GetDlgItem(main, kMessageLine));
            EXPECT_EQ(line == kPreviewCut, !p.Whole(1)) << label << ": the message line says \"" << Narrow(line) << "\"";
            EXPECT_TRUE(line.empty() || line == kPreviewCut) << label << ": " << Narrow(line);
            told += line == kPreviewCut;
            if (size == L"24") Keep(face, "cut-" + Narrow(row) + "-24pt");
        }
        EXPECT_GT(told, 0) << Narrow(row) << " is never larger than the area";
        EXPECT_LT(told, 15) << Narrow(row) << " is always larger than the area";
        // Back at 12 points the symbol is whole and the line clears.
        ASSERT_TRUE(ChooseEntry(pane, IDC_POINT_SIZE, L"12"));
        Settle(main);
        EXPECT_EQ(TextOf(::GetDlgItem(main, kMessageLine)), L"") << Narrow(row);
    }
}

// A greyed check box shows its whole label: every column of pixels that carries ink of the
// label while the box can be used (a row whose box is enabled) carries ink of it while the box
// is greyed (a row whose box is disabled); a letter that lost a stroke or its end does not.
TEST_F(Painted, GreyedCheckBoxLabelsAreWhole) {
    HWND pane = OpenOptions();
    ASSERT_NE(pane, nullptr);
    // The columns right of the box that hold ink: pixels nearer the label's darkest than the
    // pane's face.
    auto labelColumns = [&](int id, const wchar_t* row, bool enabled) {
        EXPECT_TRUE(ChooseEntry(pane, IDC_SYMBOLOGY, row));
        Settle(pane);
        HWND box = ::GetDlgItem(pane, id);
        EXPECT_EQ(::IsWindowEnabled(box) != 0, enabled) << Narrow(row);
        const Shot shot = Settled(WindowRect(box));
        Keep(shot, "checkbox-" + std::to_string(id) + (enabled ? "-enabled" : "-greyed"));
        const int face = shot.Luma(shot.width - 1, shot.height / 2);
        const int left = ::GetSystemMetrics(SM_CXMENUCHECK) + 1;
        int darkest = face;
        for (int y = 0; y < shot.height; ++y)
            for (int x = left; x < shot.width; ++x) darkest = std::min(darkest, shot.Luma(x, y));
        std::vector<bool> ink(static_cast<std::size_t>(shot.width), false);
        for (int y = 0; y < shot.height; ++y)
            for (int x = left; x < shot.width; ++x)
                if (shot.Luma(x, y) < (face + darkest) / 2) ink[static_cast<std::size_t>(x)] = true;
        return ink;
    };
    for (int id : {IDC_CHECKSUM, IDC_HUMAN_READABLE}) {
        const auto enabled = labelColumns(id, L"Code 39", true);  // both boxes can be used
        const auto greyed = labelColumns(id, L"Data Matrix", false);
        ASSERT_EQ(enabled.size(), greyed.size());
        ASSERT_GT(std::count(enabled.begin(), enabled.end(), true), 20);
        std::string lost;
        for (std::size_t x = 0; x < enabled.size(); ++x)
            if (enabled[x] && !greyed[x]) lost += " " + std::to_string(x);
        EXPECT_EQ(lost, "") << "the greyed label of box " << id << " lost the columns" << lost;
    }
}

// A tool button's tooltip shows its text when the pointer rests on the button.
TEST_F(Painted, ToolButtonTooltipsShowTheirTexts) {
    const LOGFONTW font = Metrics().lfStatusFont;
    for (auto [id, tip] : {std::pair{kOptionsTool, L"Options"}, std::pair{IDC_TOOL_CLOSE, L"Close"}}) {
        const RECT button = WindowRect(::GetDlgItem(main, id));
        Mouse(MOUSEEVENTF_MOVE, (button.left + button.right) / 2 - 3, (button.top + button.bottom) / 2);
        ::Sleep(60);
        Mouse(MOUSEEVENTF_MOVE, (button.left + button.right) / 2, (button.top + button.bottom) / 2);
        HWND shown = WaitWindow(TOOLTIPS_CLASSW, app.pid());
        ASSERT_NE(shown, nullptr) << "no tooltip over button " << id;
        const Shot shot = Settled(WindowRect(shown));
        Keep(shot, "tooltip-" + std::to_string(id));
        EXPECT_TRUE(NotBlack(shot));
        EXPECT_TRUE(Shows(shot, tip, font)) << "tooltip of " << id;
        Mouse(MOUSEEVENTF_MOVE, button.right + 150, button.bottom + 300);  // over the light field
        ASSERT_TRUE(WaitVisible(shown, false));
    }
}

// The keyboard pane and the batch dialog, each opened by its tool button.
TEST_F(Painted, KeyboardPaneAndBatchDialogShowTheirKeys) {
    Click(::GetDlgItem(main, kKeyboardTool));
    HWND keys = app.Keyboard();
    ASSERT_TRUE(keys && WaitVisible(keys, true));
    Shot shot = Settled(WindowRect(keys));
    Keep(shot, "keyboard-pane");
    EXPECT_TRUE(NotBlack(shot));
    const LOGFONTW arial = DialogFont(8, L"Arial");
    for (const wchar_t* key : {L"NUL", L"SOH", L"BS", L"DLE", L"EM", L"ESC", L"DEL", L"Close"})
        EXPECT_TRUE(Shows(shot, key, arial)) << "key text " << Narrow(key);
    // Every key lies whole inside the pane's client area (the keys of the last column too).
    RECT client{};
    ::GetClientRect(keys, &client);
    ::MapWindowPoints(keys, nullptr, reinterpret_cast<POINT*>(&client), 2);
    for (HWND c = ::GetWindow(keys, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(c)) continue;
        const RECT key = WindowRect(c);
        RECT inside{};
        ::IntersectRect(&inside, &key, &client);
        EXPECT_TRUE(::EqualRect(&inside, &key)) << "key \"" << Narrow(TextOf(c)) << "\" is cut: " << key.left << ".."
                                                << key.right << " in " << client.left << ".." << client.right;
    }

    Click(::GetDlgItem(main, kSequenceTool));
    HWND batch = app.WaitDialog(IDC_SEQ_GENERATE, nullptr, 4000);
    ASSERT_NE(batch, nullptr) << "no batch dialog";
    shot = Settled(WindowRect(batch));
    Keep(shot, "batch-dialog");
    EXPECT_TRUE(NotBlack(shot));
    const LOGFONTW shell = DialogFont(8, L"MS Shell Dlg");
    for (const wchar_t* text : {L"Prefix:", L"Generate", L"Import", L"Export"}) EXPECT_TRUE(Shows(shot, text, shell));
    Click(::GetDlgItem(batch, IDOK));
    EXPECT_TRUE(WaitVisible(batch, false) || !::IsWindow(batch));
}

// A refused Intelligent Mail field shows its message box, drawn whole.
TEST_F(Painted, MessageBoxShowsItsText) {
    HWND pane = OpenOptions();
    ASSERT_NE(pane, nullptr);
    ASSERT_TRUE(ChooseEntry(pane, IDC_SYMBOLOGY, L"Intelligent Mail"));
    Settle(pane);
    Click(::GetDlgItem(pane, IDC_IM_ID));  // the Barcode Identifier
    Key(VK_END);
    Key(VK_BACK);
    Key(VK_BACK);
    Key('7');
    Key('7');
    Click(::GetDlgItem(pane, IDC_IM_SERVICE));  // leaving it refuses "77"
    HWND box = app.WaitMessageBox(4000);
    ASSERT_NE(box, nullptr) << "no message box";
    const Shot shot = Settled(WindowRect(box));
    Keep(shot, "message-box");
    EXPECT_TRUE(NotBlack(shot));
    // The refusal's text, as the box holds it, is what the box shows (its first words, which
    // stand on the first line).
    std::wstring text = TextOf(::GetDlgItem(box, 0xFFFF));
    ASSERT_NE(text.find(L"must be"), std::wstring::npos) << "not a refusal";
    text = text.substr(0, text.find(L" must be"));
    EXPECT_TRUE(Shows(shot, text, Metrics().lfMessageFont)) << std::string(text.begin(), text.end());
    EXPECT_TRUE(Shows(shot, L"OK", Metrics().lfMessageFont));
    Click(::GetDlgItem(box, IDOK));
    EXPECT_TRUE(WaitVisible(box, false) || !::IsWindow(box));
    // Answering one refusal can raise the next as the focus moves between the fields; the
    // program is ended by the fixture, whatever boxes are still up.
}

// At start the shell's balloon names the program and covers no tool button; the main window
// is named for the taskbar; the tray icon can be reached, and its menu opens the About box.
TEST_F(Painted, BalloonTrayMenuAndAboutBox) {
    EXPECT_EQ(TextOf(main), L"Kestrivo Encoder");

    // The balloon (Wine reports a shell that has balloons): drawn by the shell, placed at the
    // icon. Its title is set as Wine sets the same title in a balloon of a plain program.
    HWND balloon = WaitBalloon();
    ASSERT_NE(balloon, nullptr) << "no balloon at start";
    const Shot balloonShot = Settled(WindowRect(balloon));
    Keep(balloonShot, "tray-balloon");
    EXPECT_TRUE(NotBlack(balloonShot));
    const LOGFONTW text = Metrics().lfStatusFont;
    LOGFONTW title = text;
    title.lfWeight = FW_BOLD;
    EXPECT_TRUE(Shows(balloonShot, L"Encoder", text));
    EXPECT_TRUE(Shows(balloonShot, L"Kestriv", title));
    // The title as the shell draws it for any program (Wine's shell cuts its last letter).
    EXPECT_EQ(Shows(balloonShot, L"Kestrivo", title), Shows(plainBalloon, L"Kestrivo", title))
        << "the program's balloon title differs from the shell's drawing of the same title";
    const RECT b = WindowRect(balloon);
    for (int id = IDC_TOOL_FIRST; id <= IDC_TOOL_REFRESH; ++id) {
        RECT button = WindowRect(::GetDlgItem(main, id)), both{};
        EXPECT_FALSE(::IntersectRect(&both, &b, &button)) << "the balloon covers tool button " << id;
    }

    // The tray icon: at the left of the shell's notification area, not under the main window.
    HWND tray = ::FindWindowW(L"__winex11_standalone_tray", nullptr);
    if (!tray || !::IsWindowVisible(tray)) GTEST_SKIP() << "no notification-area window of Wine's own on this display";
    RECT client{};
    ::GetClientRect(tray, &client);
    POINT icon{10, client.bottom / 2};
    ::ClientToScreen(tray, &icon);
    const RECT mainRect = WindowRect(main);
    EXPECT_FALSE(::PtInRect(&mainRect, icon)) << "the main window covers the tray icon";
    ClickAt(icon.x, icon.y, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    HWND menu = WaitWindow(L"#32768", app.pid());
    ASSERT_NE(menu, nullptr) << "a right click on the tray icon opened no menu";
    const Shot menuShot = Settled(WindowRect(menu));
    Keep(menuShot, "tray-menu");
    EXPECT_TRUE(NotBlack(menuShot));
    LOGFONTW defaultItem = Metrics().lfMenuFont;  // "&About" is the menu's bold default item
    defaultItem.lfWeight = FW_BOLD;
    EXPECT_TRUE(Shows(menuShot, L"About", defaultItem));
    EXPECT_TRUE(Shows(menuShot, L"Exit", Metrics().lfMenuFont));

    // "&About" by the keys, at its place in the program's own tray menu.
    HMODULE exe = ::LoadLibraryExW(L"" KESTRIVO_ENCODER_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HMENU resource = exe ? ::LoadMenuW(exe, MAKEINTRESOURCEW(kTrayMenu)) : nullptr;
    ASSERT_NE(resource, nullptr);
    HMENU popup = ::GetSubMenu(resource, 0);
    int downs = 0;
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
        const UINT id = ::GetMenuItemID(popup, i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separators
        ++downs;
        if (id == kAboutCommand) break;
    }
    ::DestroyMenu(resource);
    ::FreeLibrary(exe);
    for (int i = 0; i < downs; ++i) Key(VK_DOWN);
    Key(VK_RETURN);

    HWND about = app.WaitDialog(IDC_WEB_LINK, nullptr, 4000);
    ASSERT_NE(about, nullptr) << "\"&About\" showed no box";
    const Shot shot = Settled(WindowRect(about));
    Keep(shot, "about-box");
    EXPECT_TRUE(NotBlack(shot));
    const LOGFONTW shell = DialogFont(8, L"MS Shell Dlg");
    for (const wchar_t* text : {L"Kestrivo Encoder Version 1.0", L"website:", L"OK"}) EXPECT_TRUE(Shows(shot, text, shell));
}
