// One session with the spreadsheet application ("Excel.Application"), driven by late-bound
// automation calls: start it, open a workbook, count the used columns and rows of its first
// worksheet, read cells as text by A1 address. The session always ends the same way, whatever
// failed on the road: the workbook is closed without saving, the application is told to quit
// and every object is released.
#pragma once
#include <oaidl.h>

#include <string>

class SpreadsheetSession {
public:
    enum class Status { Ready, NotStarted, NotOpened };

    // Starts the application and opens the workbook at `path` (its first worksheet).
    explicit SpreadsheetSession(const wchar_t* path);
    ~SpreadsheetSession();
    SpreadsheetSession(const SpreadsheetSession&) = delete;
    SpreadsheetSession& operator=(const SpreadsheetSession&) = delete;

    Status GetStatus() const { return m_status; }
    // The last used column or row of the worksheet (counted from column A and row 1, so that
    // every used cell lies within it); false when it cannot be read.
    bool UsedColumns(long& last);
    bool UsedRows(long& last);
    // The value of the cell at `address` ("B3") as the spreadsheet gives it as text; an empty
    // cell gives "". False when the cell cannot be read.
    bool CellText(const std::wstring& address, std::wstring& text);

private:
    bool LastUsed(const wchar_t* part, const wchar_t* first, long& last);

    HRESULT m_init = E_FAIL;
    IDispatch* m_app = nullptr;
    IDispatch* m_book = nullptr;
    IDispatch* m_sheet = nullptr;
    Status m_status = Status::NotStarted;
};
