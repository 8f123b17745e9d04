// The column chooser and the spreadsheet import under Wine: a stand-in spreadsheet application
// (sheet_standin.dll, registered here as "Excel.Application") answers the automation calls and
// logs them; the chooser is driven with real mouse input and its message boxes are answered.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ColHead.h"
#include "Sequence.h"
#include "real_mouse.h"
#include "screen_picture.h"
#include "resource.h"
#include "standin_client.h"
#include "ui_support.h"

namespace {

const std::wstring App = L"colhead_tests";  // the caption of the program's message boxes
const std::wstring Sep = L"\n\r\n\r";
// The key colour of each picture of the strip.
const COLORREF Keys[] = {RGB(255, 0, 0), RGB(0, 128, 0), RGB(0, 0, 255), RGB(255, 255, 0)};

// The program's start: OLE initialised on the user-interface thread; the stand-in registered.
class StandInEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
        RegisterStandIn(KESTRIVO_SHEET_STANDIN);
    }
    void TearDown() override {
        UnregisterStandIn();
        ::OleUninitialize();
    }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new StandInEnvironment);

// Every message box of this thread is answered by a real click on its OK button and kept
// (caption and text). A box the click does not close (the mouse held by another window) is
// closed by its command after a while, and counted.
struct Box {
    std::wstring caption, text;
    bool closedByClick = true;
};
std::vector<Box> g_boxes;

void CALLBACK AnswerBoxes(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = FindThreadMessageBox();
    if (!box) return;
    if (auto since = reinterpret_cast<DWORD_PTR>(::GetPropW(box, L"answered"))) {
        if (::GetTickCount() - static_cast<DWORD>(since) > 2000 && g_boxes.back().closedByClick) {
            g_boxes.back().closedByClick = false;
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
        return;
    }
    ::SetPropW(box, L"answered", reinterpret_cast<HANDLE>(static_cast<DWORD_PTR>(::GetTickCount() | 1)));
    wchar_t caption[256] = L"", text[512] = L"";
    ::GetWindowTextW(box, caption, 256);
    ::GetDlgItemTextW(box, 0xFFFF, text, 512);
    g_boxes.push_back({caption, text});
    RECT ok;
    ::GetWindowRect(::GetDlgItem(box, IDOK), &ok);
    Mouse(MOUSEEVENTF_MOVE, (ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
}

// Runs the thread's messages until `done` holds, at most `ms` milliseconds.
bool RunUntil(const std::function<bool()>& done, int ms = 5000) {
    DWORD end = ::GetTickCount() + static_cast<DWORD>(ms);
    while (!done()) {
        if (static_cast<int>(end - ::GetTickCount()) <= 0) return false;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(5);
    }
    return true;
}

// A real click at a screen point, once `target` is the window there.
void ClickAt(HWND target, POINT p) {
    Mouse(MOUSEEVENTF_MOVE, p.x, p.y);
    ASSERT_TRUE(RunUntil([&] { return ::WindowFromPoint(p) == target; })) << "the window is covered";
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
}

// A1 column letters, counted here without the program's helper.
std::wstring Letters(int column) {
    std::wstring s;
    for (; column > 0; column = (column - 1) / 26) s.insert(s.begin(), static_cast<wchar_t>(L'A' + (column - 1) % 26));
    return s;
}

std::wstring Folder() {
    wchar_t dir[MAX_PATH] = L"";
    ::GetCurrentDirectoryW(MAX_PATH, dir);
    return std::wstring(dir) + L"\\";
}

// Writes a workbook for the stand-in and gives its path.
std::wstring WriteBook(const std::wstring& name, const std::string& cells) {
    std::wstring path = Folder() + name;
    if (std::FILE* f = ::_wfopen(path.c_str(), L"wb")) {
        std::fwrite(cells.data(), 1, cells.size(), f);
        std::fclose(f);
    }
    return path;
}

class Chooser : public ::testing::Test {
protected:
    void SetUp() override {
        m_log = Folder() + L"sheet_standin.log";
        ::DeleteFileW(m_log.c_str());
        ::SetEnvironmentVariableW(L"KESTRIVO_SHEET_LOG", m_log.c_str());
        ::SetEnvironmentVariableW(L"KESTRIVO_SHEET_FAIL", nullptr);
        g_boxes.clear();
        m_answerer = ::SetTimer(nullptr, 0, 30, AnswerBoxes);
        batch = std::make_unique<CSequence>(nullptr);
        ASSERT_TRUE(batch->Create(900, nullptr));
        ASSERT_TRUE(batch->m_pColHead && batch->m_pColHead->m_hWnd);
        ASSERT_FALSE(chooser().IsWindowVisible());
    }
    void TearDown() override {
        for (const Box& box : g_boxes) EXPECT_TRUE(box.closedByClick) << "a click on OK did not close: " << box.text;
        batch.reset();
        ::KillTimer(nullptr, m_answerer);
        Pump(30);
    }
    CColHead& chooser() { return *batch->m_pColHead; }
    HWND Header() { return chooser().m_list.GetHeaderCtrl(); }
    Sessions Log() const { return ReadSessions(m_log); }
    // OnImport's spreadsheet road: the path kept, the chooser filled and shown.
    void Import(const std::wstring& path) {
        batch->SpreadsheetPath = path.c_str();
        ASSERT_EQ(ImportExcel(batch->SpreadsheetPath, *batch), 1);
        chooser().ShowWindow(SW_SHOW);
        ASSERT_TRUE(RunUntil([&] { return chooser().IsWindowVisible() != FALSE; }));
        Pump(100);
    }
    HDITEMW Item(int i, wchar_t* text = nullptr) {
        HDITEMW item{};
        item.mask = HDI_FORMAT | HDI_IMAGE | HDI_WIDTH | (text ? HDI_TEXT : 0);
        item.pszText = text;
        item.cchTextMax = text ? 64 : 0;
        EXPECT_TRUE(::SendMessageW(Header(), HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)));
        return item;
    }
    std::wstring Title(int i) {
        wchar_t text[64] = L"";
        Item(i, text);
        return text;
    }
    RECT ItemRect(int i) {
        RECT r{};
        ::SendMessageW(Header(), HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        return r;
    }
    POINT OnScreen(HWND wnd, int x, int y) {
        POINT p{x, y};
        ::ClientToScreen(wnd, &p);
        return p;
    }
    // Pixels of each picture's key colour inside header item i, as the screen shows it.
    std::vector<int> KeyPixels(int i) {
        Picture p = Picture::FromScreen(Header());
        RECT r = ItemRect(i);
        std::vector<int> n(5, 0);
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                COLORREF c = p.At(x, y);
                for (int k = 0; k < 4; ++k) n[static_cast<std::size_t>(k)] += c == Keys[k];
                n[4] += c == RGB(255, 0, 255);
            }
        return n;
    }
    bool ShowsPicture(int i, int picture) {
        std::vector<int> n = KeyPixels(i);
        for (int k = 0; k < 4; ++k)
            if ((k == picture) != (n[static_cast<std::size_t>(k)] > 8)) return false;
        return n[4] == 0;  // magenta is transparent
    }
    void ClickHeader(int i) {
        RECT r = ItemRect(i);
        ClickAt(Header(), OnScreen(Header(), (r.left + r.right) / 2, (r.top + r.bottom) / 2));
    }
    void ClickClose() {
        HWND close = ::GetDlgItem(chooser(), IDOK);
        RECT r;
        ::GetClientRect(close, &r);
        ClickAt(close, OnScreen(close, r.right / 2, r.bottom / 2));
    }
    std::wstring BatchField() {
        wchar_t text[4096] = L"";
        ::GetDlgItemTextW(*batch, IDC_SEQ_BATCH, text, 4096);
        return text;
    }

    std::unique_ptr<CSequence> batch;
    std::wstring m_log;
    UINT_PTR m_answerer = 0;
};

const std::string CodesAndQuantities =
    "A1 text Code\nB1 text Qty\nC1 text Note\n"
    "A2 text X-1\nB2 number 42\n"
    "A3 text X-2\nB3 empty\n"
    "A4 text X-3\nB4 text two words\nC4 text last\n"
    "B5 number 3.5\n";

TEST_F(Chooser, ThreeColumnsShowTheirPicturesAndADraggedDividerShowsTheDragPicture) {
    Import(WriteBook(L"three.xls", CodesAndQuantities));
    ASSERT_EQ(::SendMessageW(Header(), HDM_GETITEMCOUNT, 0, 0), 3);
    for (int i = 0; i < 3; ++i) {
        HDITEMW item = Item(i);
        EXPECT_TRUE(item.fmt & HDF_IMAGE) << i;
        EXPECT_EQ(item.iImage, i);
    }
    EXPECT_TRUE(::GetWindowLongW(Header(), GWL_STYLE) & HDS_HOTTRACK);
    EXPECT_EQ(ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(::SendMessageW(Header(), HDM_GETIMAGELIST, 0, 0))), 4);
    Picture::FromScreen(chooser()).Save("colhead_pictures");
    ASSERT_TRUE(RunUntil([&] { return ShowsPicture(0, 0) && ShowsPicture(1, 1) && ShowsPicture(2, 2); }))
        << KeyPixels(0)[0] << " " << KeyPixels(1)[1] << " " << KeyPixels(2)[2] << " magenta " << KeyPixels(0)[4];
    // The chooser as the screen shows it: its prompt and the column titles drawn, no black block.
    Pump(200);
    const Shot shot = Screen(WindowRect(chooser()));
    Keep(shot, "column-chooser");
    EXPECT_TRUE(NotBlack(shot));
    const LOGFONTW font = DialogFont(8, L"MS Shell Dlg");
    EXPECT_TRUE(Shows(shot, L"Please click the header to choose a column for import", font));
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(Shows(shot, Title(i), font)) << "column title " << i;

    // Drag the divider right of column 1 with the real mouse.
    RECT r = ItemRect(1);
    int width = Item(1).cxy;
    POINT divider = OnScreen(Header(), r.right - 1, (r.top + r.bottom) / 2);
    Mouse(MOUSEEVENTF_MOVE, divider.x, divider.y);
    ASSERT_TRUE(RunUntil([&] { return ::WindowFromPoint(divider) == Header(); }));
    Mouse(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(RunUntil([&] { return Item(1).iImage == 3; })) << "the drag picture while the divider is held";
    EXPECT_EQ(chooser().m_header.m_nImageBeforeDrag, 1);
    Mouse(MOUSEEVENTF_MOVE, divider.x + 30, divider.y);
    ASSERT_TRUE(RunUntil([&] { return Item(1).cxy > width + 20; }));
    EXPECT_TRUE(RunUntil([&] { return ShowsPicture(1, 3); })) << "the drag picture on the screen";
    EXPECT_EQ(Item(0).iImage, 0);
    EXPECT_EQ(Item(2).iImage, 2);
    Picture::FromScreen(Header()).Save("colhead_dragging");
    Mouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(RunUntil([&] { return Item(1).iImage == 1; })) << "the column's own picture after the release";
    EXPECT_EQ(chooser().m_header.m_nImageBeforeDrag, -1);
    EXPECT_TRUE(RunUntil([&] { return ShowsPicture(1, 1); }));

    // An end of drag that no beginning came before changes nothing.
    NMHEADERW end{};
    end.hdr.hwndFrom = Header();
    end.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(Header()));
    end.hdr.code = HDN_ENDTRACKW;
    end.iItem = 2;
    ::SendMessageW(chooser().m_list, WM_NOTIFY, end.hdr.idFrom, reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(Item(2).iImage, 2);
    EXPECT_TRUE(Item(2).fmt & HDF_IMAGE);

    // A header that is taken already cannot be taken again.
    CAdvHeaderCtrl second;
    EXPECT_FALSE(second.Init(Header()));
    EXPECT_TRUE(g_boxes.empty());
}

TEST_F(Chooser, AClickedHeaderChoosesItsColumnAndCloseReadsItIntoTheBatch) {
    batch->m_strBatch = L"old\n\r\n\r";
    Import(WriteBook(L"codes.xls", CodesAndQuantities));
    EXPECT_EQ(Title(0), L"A1");
    EXPECT_EQ(Title(1), L"B1");
    EXPECT_EQ(Title(2), L"C1");
    wchar_t cell[32] = L"";
    ListView_GetItemText(chooser().m_list, 0, 1, cell, 32);
    EXPECT_EQ(std::wstring(cell), L"Qty");
    ListView_GetItemText(chooser().m_list, 0, 0, cell, 32);
    EXPECT_EQ(std::wstring(cell), L"Code");
    EXPECT_EQ(ListView_GetItemCount(chooser().m_list), 1);

    // A click on the row chooses column A (the row's index), once.
    RECT row{};
    row.left = LVIR_LABEL;
    ASSERT_TRUE(::SendMessageW(chooser().m_list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)));
    ClickAt(chooser().m_list, OnScreen(chooser().m_list, row.left + 10, (row.top + row.bottom) / 2));
    ASSERT_TRUE(RunUntil([] { return !g_boxes.empty(); }));
    Pump(200);
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0].text, L"Column A has been chosen.");
    EXPECT_EQ(chooser().m_strChosen, L"A");

    ClickHeader(1);
    ASSERT_TRUE(RunUntil([] { return g_boxes.size() == 2; }));
    EXPECT_EQ(g_boxes[1].caption, App);
    EXPECT_EQ(g_boxes[1].text, L"Column B has been chosen.");
    EXPECT_EQ(chooser().m_strChosen, L"B");
    EXPECT_EQ(chooser().m_nChosen, 1);
    EXPECT_EQ(batch->m_strBatch, L"old\n\r\n\r") << "choosing reads nothing yet";

    ClickClose();
    ASSERT_TRUE(RunUntil([&] { return !chooser().IsWindowVisible(); }));
    const std::wstring expected = L"Qty" + Sep + L"42" + Sep + Sep + L"two words" + Sep + L"3.5" + Sep;
    EXPECT_EQ(batch->m_strBatch.str(), expected);
    EXPECT_EQ(BatchField(), expected);
    EXPECT_EQ(g_boxes.size(), 2u);

    Sessions log = Log();
    EXPECT_EQ(log.Applications(), 2) << "one session to list, one to read";
    EXPECT_EQ(log.Opened(), 2);
    EXPECT_EQ(log.Count(L".Range(B5)"), 1);
    EXPECT_EQ(log.Count(L".Range(B6)"), 0);
    log.ExpectEndedCleanly();
}

// A used range that starts away from A1: every column and row up to its last cell is read.
TEST_F(Chooser, AUsedRangeAwayFromA1IsReadToItsLastCell) {
    Import(WriteBook(L"offset.xls", "B3 text x\nC5 number 7\n"));
    EXPECT_EQ(Title(2), L"C1") << "the last used column is not listed";
    for (int c = 0; c < 3; ++c) ListView_SetColumnWidth(chooser().m_list, c, 40);
    Pump(100);
    ClickHeader(2);
    ASSERT_TRUE(RunUntil([] { return g_boxes.size() == 1; }));
    EXPECT_EQ(g_boxes[0].text, L"Column C has been chosen.");
    ClickClose();
    ASSERT_TRUE(RunUntil([&] { return !chooser().IsWindowVisible(); }));
    EXPECT_EQ(batch->m_strBatch.str(), Sep + Sep + Sep + Sep + L"7" + Sep) << "rows below the used range's count lost";
    Log().ExpectEndedCleanly();
}

TEST_F(Chooser, CloseWithNoColumnChosenReadsNothing) {
    batch->m_strBatch = L"kept\n\r\n\r";
    Import(WriteBook(L"unchosen.xls", CodesAndQuantities));
    ClickClose();
    ASSERT_TRUE(RunUntil([&] { return !chooser().IsWindowVisible(); }));
    Pump(100);
    EXPECT_EQ(batch->m_strBatch, L"kept\n\r\n\r");
    EXPECT_TRUE(g_boxes.empty());
    Sessions log = Log();
    EXPECT_EQ(log.Opened(), 1) << "only the listing opened the workbook";
    log.ExpectEndedCleanly();
}

TEST_F(Chooser, ColumnsPastZZAreNamedWithThreeLetters) {
    std::string cells;
    for (int c = 1; c <= 703; ++c) {
        std::wstring l = Letters(c);
        cells += std::string(l.begin(), l.end()) + "1 text H" + std::to_string(c) + "\n";
    }
    cells += "AAA2 text deep\nAAA3 number 7\n";
    Import(WriteBook(L"wide.xls", cells));
    ASSERT_EQ(::SendMessageW(Header(), HDM_GETITEMCOUNT, 0, 0), 703);
    EXPECT_EQ(Title(25), L"Z1");
    EXPECT_EQ(Title(26), L"AA1");
    EXPECT_EQ(Title(51), L"AZ1");
    EXPECT_EQ(Title(52), L"BA1");
    EXPECT_EQ(Title(701), L"ZZ1");
    EXPECT_EQ(Title(702), L"AAA1");
    wchar_t cell[32] = L"";
    ListView_GetItemText(chooser().m_list, 0, 702, cell, 32);
    EXPECT_EQ(std::wstring(cell), L"H703");

    // X windows end at 32767 pixels: narrow columns keep the scrolled header within them.
    for (int c = 0; c < 703; ++c) ListView_SetColumnWidth(chooser().m_list, c, 40);
    ::SendMessageW(chooser().m_list, LVM_SCROLL, 1000000, 0);
    Pump(100);
    ClickHeader(702);
    ASSERT_TRUE(RunUntil([] { return !g_boxes.empty(); }));
    EXPECT_EQ(g_boxes[0].text, L"Column AAA has been chosen.");
    ClickClose();
    ASSERT_TRUE(RunUntil([&] { return !chooser().IsWindowVisible(); }));
    EXPECT_EQ(batch->m_strBatch.str(), L"H703" + Sep + L"deep" + Sep + L"7" + Sep);
    Log().ExpectEndedCleanly();
}

// Failures: the batch text stays, the user is told, and the application still ends cleanly.
TEST_F(Chooser, AnApplicationThatCannotStartLeavesEverythingAsItWas) {
    const std::wstring book = WriteBook(L"start.xls", CodesAndQuantities);
    Import(book);
    chooser().ShowWindow(SW_HIDE);
    batch->m_strBatch = L"kept\n\r\n\r";

    ::SetEnvironmentVariableW(L"KESTRIVO_SHEET_FAIL", L"create");
    EXPECT_EQ(ImportExcel(book.c_str(), *batch), 0);
    ::SetEnvironmentVariableW(L"KESTRIVO_SHEET_FAIL", nullptr);
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0].caption, App);
    EXPECT_EQ(g_boxes[0].text, L"Error starting Excel.");
    EXPECT_EQ(Log().Count(L"create -> refused"), 1);

    // No spreadsheet application registered at all.
    UnregisterStandIn();
    EXPECT_EQ(ImportExcel(book.c_str(), *batch), 0);
    RegisterStandIn(KESTRIVO_SHEET_STANDIN);
    ASSERT_EQ(g_boxes.size(), 2u);
    EXPECT_EQ(g_boxes[1].text, L"Error starting Excel.");

    EXPECT_EQ(batch->m_strBatch, L"kept\n\r\n\r");
    EXPECT_EQ(chooser().m_nColumns, 3) << "the earlier listing stays";
    Log().ExpectEndedCleanly();
}

TEST_F(Chooser, AWorkbookThatCannotBeOpenedOrReadLeavesTheBatchAndEndsTheApplication) {
    const std::wstring book = WriteBook(L"reads.xls", CodesAndQuantities);
    batch->m_strBatch = L"kept\n\r\n\r";

    // A missing file: the application is started, the open fails.
    EXPECT_EQ(ImportExcel((Folder() + L"missing.xls").c_str(), *batch), 0);
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0].caption, App);
    EXPECT_EQ(g_boxes[0].text, L"Error openning Excel spreadsheet.");
    Sessions missing = Log();
    EXPECT_EQ(missing.Applications(), 1);
    EXPECT_EQ(missing.Count(L"-> exception"), 1);
    missing.ExpectEndedCleanly();

    // A cell that cannot be read while the first row is listed.
    ::SetEnvironmentVariableW(L"KESTRIVO_SHEET_FAIL", L"read");
    EXPECT_EQ(ImportExcel(book.c_str(), *batch), 0);
    ASSERT_EQ(g_boxes.size(), 2u);
    EXPECT_EQ(g_boxes[1].text, L"Error openning Excel spreadsheet.");
    EXPECT_EQ(chooser().m_nColumns, 0);
    ::SetEnvironmentVariableW(L"KESTRIVO_SHEET_FAIL", nullptr);

    // Listed, then the chosen column cannot be opened, or read.
    batch->SpreadsheetPath = book.c_str();
    ASSERT_EQ(ImportExcel(book.c_str(), *batch), 1);
    for (const wchar_t* fault : {L"open", L"read"}) {
        ::SetEnvironmentVariableW(L"KESTRIVO_SHEET_FAIL", fault);
        EXPECT_EQ(ReadExcelColumn(L"B", *batch), 0) << fault;
        ::SetEnvironmentVariableW(L"KESTRIVO_SHEET_FAIL", nullptr);
    }
    ASSERT_EQ(g_boxes.size(), 4u);
    EXPECT_EQ(g_boxes[2].text, L"Error openning Excel spreadsheet.");
    EXPECT_EQ(g_boxes[3].text, L"Error openning Excel spreadsheet.");
    EXPECT_EQ(batch->m_strBatch, L"kept\n\r\n\r");
    EXPECT_EQ(ReadExcelColumn(L"", *batch), 0) << "no letters, no read";

    Sessions log = Log();
    EXPECT_EQ(log.Applications(), 5);
    EXPECT_EQ(log.Opened(), 3);
    log.ExpectEndedCleanly();
}

}  // namespace
