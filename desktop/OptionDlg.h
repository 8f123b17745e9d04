// The Options pane: the symbology, the barcode face and point size, the options of the
// chosen symbology and the Intelligent Mail fields. EncodeSelected is the program's one
// encode road.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "ButtonST.h"
#include "FlatComboBox.h"
#include "framework.h"
#include "session.h"
#include "symbology_table.h"

class CEncoderDlg;

class COptionDlg : public CDialogEx {
public:
    // `main` owns the pane and outlives its window; `session` is the main window's.
    COptionDlg(CEncoderDlg* main, desktop::Session& session);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT id, int code) override;

    void GetLogFont(LOGFONTW* lf);
    void GetFontSizeText(CString& text);
    void OnSymbologyChanged(int fromChecksum);
    void ShowSymbologyOptions();
    int FillSymbologyList();
    void FillOptionLists();
    void FillPointSizes();
    void FillFontFaces(int keepIndex);

    desktop::Session& session() { return m_session; }

    // The current row; null until a row is listed and chosen.
    const desktop::SymbologyAction* pCurrentAction = nullptr;

    CCJFlatComboBox m_cbSymbology, m_cbDMFormat, m_cbDMEncodation, m_cbQRLevel, m_cbPDFLevel,
        m_cbPDFCompaction, m_cbAztecFormat, m_cbAztecLevel, m_cbMaxicodeMode;
    CNotifyCombo<CCJFlatComboBox> m_cbFace, m_cbPointSize;
    CButtonST m_btnClose;
    std::vector<desktop::SymbologyAction> arrActions;

private:
    void OnPaint();
    static int FittedWidth(HWND control);
    void OnSelOption(CComboBox& list, std::int32_t& setting);
    void OnKillFocusIMField(UINT id);
    void OnChangeIMField();
    void ShowComposed();
    void RepaintMain();

    CEncoderDlg* m_pMain;
    desktop::Session& m_session;
    HICON m_hIcon;
    // Set once the pane's start has run: edit notifications raised while the pane fills its
    // own controls are not the user's.
    bool m_bStarted = false;
};

// Encodes `input` with the pane's current row into `output`, which holds `capacity` units
// with the terminator; the text is cut to fit. No pane or no current row gives "".
void EncodeSelected(const wchar_t* input, wchar_t* output, std::size_t capacity, COptionDlg* pane);
