// The spreadsheet import of Encoder under Wine, from the "Sequence" tool button to the batch
// text: "Import" and a workbook path in the open dialog, the column chooser listing its first
// row, a real click on a header, "Close". The stand-in spreadsheet application answers and
// logs the automation calls.
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "encoder_driver.h"
#include "real_mouse.h"
#include "resource.h"
#include "standin_client.h"

namespace {

constexpr int kSequenceTool = IDC_TOOL_SEQUENCE, kImport = IDC_SEQ_IMPORT, kBatch = IDC_SEQ_BATCH, kList = IDC_COLUMN_LIST,
              kPrefix = IDC_SEQ_PREFIX;

template <class Done>
bool WaitFor(Done done, int ms = 5000) {
    for (int waited = 0; !done(); waited += 25) {
        if (waited >= ms) return false;
        ::Sleep(25);
    }
    return true;
}

TEST(SpreadsheetImport, AColumnChosenInTheChooserBecomesTheBatch) {
    wchar_t temp[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, temp);
    // Named in upper case, as Windows names often are: read as a spreadsheet all the same.
    const std::wstring book = std::wstring(temp) + L"KESTRIVO_IMPORT.XLS", log = std::wstring(temp) + L"kestrivo_sheet.log";
    if (std::FILE* f = ::_wfopen(book.c_str(), L"wb")) {
        std::fputs("A1 text Code\nB1 text Qty\nA2 text X-1\nB2 number 42\nB3 empty\nB4 text last one\n", f);
        std::fclose(f);
    }
    ::DeleteFileW(log.c_str());
    RegisterStandIn(KESTRIVO_SHEET_STANDIN);
    ::SetEnvironmentVariableW(L"KESTRIVO_SHEET_LOG", log.c_str());  // the program inherits it

    EncoderProcess app;
    ASSERT_TRUE(app.Start());
    HWND main = app.WaitMain();
    ASSERT_NE(main, nullptr);
    ::PostMessageW(::GetDlgItem(main, kSequenceTool), BM_CLICK, 0, 0);
    HWND batch = app.WaitDialog(kImport, L"Sequence Manipulation", 10000);
    ASSERT_NE(batch, nullptr);
    ::PostMessageW(::GetDlgItem(batch, kImport), BM_CLICK, 0, 0);
    HWND files = app.WaitDialog(cmb1, nullptr, 10000);
    ASSERT_NE(files, nullptr);
    HWND name = ::GetDlgItem(files, cmb13) ? ::GetDlgItem(files, cmb13) : ::GetDlgItem(files, edt1);
    ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(book.c_str()));
    ::PostMessageW(::GetDlgItem(files, IDOK), BM_CLICK, 0, 0);

    HWND chooser = app.WaitDialog(kList, L"Column Header List", 10000);
    ASSERT_NE(chooser, nullptr) << "the chooser is not shown";
    HWND list = ::GetDlgItem(chooser, kList);
    HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    ASSERT_EQ(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 2);
    // Every column is two fifths of the list wide: the middle of the second header.
    RECT client, bar;
    ::GetClientRect(list, &client);
    ::GetClientRect(header, &bar);
    POINT at{client.right / 5 * 2 * 3 / 2, bar.bottom / 2};
    ::ClientToScreen(header, &at);
    Mouse(MOUSEEVENTF_MOVE, at.x, at.y);
    ASSERT_TRUE(WaitFor([&] { return ::WindowFromPoint(at) == header; }));
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
    HWND box = app.WaitMessageBox(5000);
    ASSERT_NE(box, nullptr) << "no message box captioned with the program's name";
    EXPECT_EQ(TextOf(::GetDlgItem(box, 0xFFFF)), L"Column B has been chosen.");
    ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }));

    // A prefix typed while the chooser is open survives the read.
    ::SendMessageW(::GetDlgItem(batch, kPrefix), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"PRE"));
    ::PostMessageW(::GetDlgItem(chooser, IDOK), BM_CLICK, 0, 0);
    const std::wstring expected = L"Qty\n\r\n\r42\n\r\n\r\n\r\n\rlast one\n\r\n\r";
    EXPECT_TRUE(WaitFor([&] { return TextOf(::GetDlgItem(batch, kBatch)) == expected; }))
        << testing::PrintToString(TextOf(::GetDlgItem(batch, kBatch)));
    EXPECT_FALSE(::IsWindowVisible(chooser));
    EXPECT_EQ(TextOf(::GetDlgItem(batch, kPrefix)), L"PRE") << "the typed prefix was put back";

    ::PostMessageW(::GetDlgItem(batch, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(batch); }));
    app.Close();
    Sessions sessions = ReadSessions(log);
    EXPECT_EQ(sessions.Opened(), 2) << "one session to list, one to read";
    sessions.ExpectEndedCleanly();
    ::SetEnvironmentVariableW(L"KESTRIVO_SHEET_LOG", nullptr);
    UnregisterStandIn();
    ::DeleteFileW(book.c_str());
}

}  // namespace
