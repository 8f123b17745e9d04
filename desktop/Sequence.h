// The batch dialog "Sequence Manipulation": a batch of data records in one multi-line text,
// filled by generating a numbered sequence, by importing a text file or a spreadsheet column,
// or by typing, and exported as a file of font texts.
#pragma once
#include <memory>

#include "ButtonST.h"
#include "framework.h"

class CBatchWork;
class CColHead;
class CEncoderDlg;

class CSequence : public CDialogEx {
public:
    explicit CSequence(CEncoderDlg* parent);
    ~CSequence() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnCmdMsg(UINT id, int code) override;

    void OnGenerate();
    void OnImport();
    void OnExport();
    void OnReset();
    void OnSequenceEdit();

    // The main window whose Options pane encodes the records on export.
    CEncoderDlg* Owner() const { return m_pOwner; }

    CButtonST m_btnGenerate, m_btnImport, m_btnExport, m_btnReset, m_btnClose;
    CString m_strStart = L"000001";
    CString m_strEnd = L"000009";
    CString m_strIncrement = L"1";
    CString m_strBatch;                     // the batch text; records end with LF CR LF CR
    std::unique_ptr<CColHead> m_pColHead;   // the column chooser, a hidden modeless dialog
    CString SpreadsheetPath;                // the workbook the chooser lists
    CString m_strPrefix;
    CString m_strSuffix;

private:
    // Puts `text` into the batch field a piece at a time as part of `work`; false when the
    // user cancelled (the field then holds the pieces put so far).
    bool FillBatchField(const CString& text, CBatchWork& work);

    CEncoderDlg* m_pOwner;
};
