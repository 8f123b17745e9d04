// The column chooser "Column Header List" of the spreadsheet import, and the import itself:
// the first row of the workbook's first worksheet listed as columns, and the chosen column
// read into the batch text, one record per used row.
#pragma once
#include <memory>

#include "AdvHeaderCtrl.h"
#include "framework.h"

class CBatchDialog;

class CColHead : public CDialogEx {
public:
    explicit CColHead(CBatchDialog* batch);
    ~CColHead() override;

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL OnCmdMsg(UINT id, int code) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // Appends a column titled `title` whose row 0 holds `value`.
    void AddColumn(const CString& title, const CString& value);
    // Removes every column and item; nothing is chosen afterwards.
    void ClearColumns();
    // A click on a header (or the row becoming selected) chooses that column and says so.
    void OnColumnClick(const NMHDR* notification, LRESULT* result);
    // "Close": reads the chosen column into the batch text (nothing when none is chosen), hides.
    void OnColHeadOK();

    CBatchDialog* m_pBatch;
    CListCtrl m_list;
    CAdvHeaderCtrl m_header;
    int m_nColumns = 0;
    int m_nChosen = 0;
    CString m_strChosen;  // the chosen column's letters; empty while none is chosen
};

// The batch dialog as its column chooser sees it: the batch text a column is read into, the
// workbook the chooser lists, and the chooser. The batch dialog CSequence is one.
class CBatchDialog : public CDialogEx {
public:
    using CDialogEx::CDialogEx;
    ~CBatchDialog() override;

    CString m_strBatch;                    // the batch text; records end with LF CR LF CR
    CString SpreadsheetPath;               // the workbook the chooser lists
    std::unique_ptr<CColHead> m_pColHead;  // the column chooser, a hidden modeless dialog
};

// Lists the first row of the workbook at `path` in the batch dialog's chooser; 1 when it was
// filled. On a failure the chooser and the batch text stay as they were and 0 is returned.
int ImportExcel(const CString& path, CBatchDialog& batch);

// Replaces the batch text with every used cell of the column `letters` of the workbook at the
// batch dialog's SpreadsheetPath; 1 when it was read. On a failure the batch text stays.
int ReadExcelColumn(const CString& letters, CBatchDialog& batch);
