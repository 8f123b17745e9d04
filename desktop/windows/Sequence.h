// The batch dialog "Sequence Manipulation": a batch of data records in one multi-line text,
// filled by generating a numbered sequence, by importing a text file or a spreadsheet column,
// or by typing, and exported as a file of font texts.
#pragma once
#include <memory>
#include <string_view>

#include "ButtonST.h"
#include "ColHead.h"
#include "framework.h"

class CBatchWork;
class COptionDlg;

class CSequence : public CBatchDialog {
public:
    // `parent` is the main window; `options` its Options pane, whose row, settings, face and
    // size the export uses (without it every record exports as an empty text).
    explicit CSequence(CWnd* parent, COptionDlg* options = nullptr);
    ~CSequence() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnCmdMsg(UINT id, int code) override;

    void OnGenerate();
    void OnImport();
    void OnExport();
    void OnReset();
    void OnSequenceEdit();

    CButtonST m_btnGenerate, m_btnImport, m_btnExport, m_btnReset, m_btnClose;
    CString m_strStart = L"000001";
    CString m_strEnd = L"000009";
    CString m_strIncrement = L"1";
    CString m_strPrefix;
    CString m_strSuffix;

private:
    // Puts `text` into the batch field a piece at a time as part of `work`, whose progress is
    // shown as `name` ("Importing"); false when the user cancelled (the field then holds the
    // pieces put so far).
    bool FillBatchField(const CString& text, CBatchWork& work, std::u16string_view name);

    COptionDlg* m_pOptions;
};
