// The Options pane: the symbology, the barcode face and point size, the options of the
// chosen symbology and the Intelligent Mail fields. It owns the symbology table and sets the
// shared state's current row; the main window encodes with it (EncodeSelected, the program's
// one encode road).
#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "ButtonST.h"
#include "FlatComboBox.h"
#include "encoder_state.h"
#include "framework.h"
#include "symbology_table.h"

class COptionDlg : public CDialogEx {
public:
    // `state` and `main` (the main window, which owns the pane) outlive the pane.
    COptionDlg(desktop::EncoderState& state, desktop::EncoderHost& main);
    ~COptionDlg() override;

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

    desktop::EncoderState& state() { return m_state; }
    // Whether a refusal of an Intelligent Mail field is on the screen.
    bool IsShowingRefusal() const { return m_bShowingRefusal; }

    CCJFlatComboBox m_cbSymbology, m_cbDMFormat, m_cbDMEncodation, m_cbQRLevel, m_cbPDFLevel,
        m_cbPDFCompaction, m_cbAztecFormat, m_cbAztecLevel, m_cbMaxicodeMode;
    CNotifyCombo<CCJFlatComboBox> m_cbFace, m_cbPointSize;
    CButtonST m_btnClose;
    std::vector<desktop::SymbologyAction> arrActions;

private:
    void OnPaint();
    static int FittedWidth(HWND control);
    // The command handlers by notification; each true when it handled the command.
    bool OnBoxClicked(UINT id);
    bool OnListChosen(UINT id);
    bool OnFieldNotified(UINT id, int code);  // EN_CHANGE and EN_KILLFOCUS of an edit field
    void OnSelOption(CComboBox& list, std::int32_t& setting);
    void OnKillFocusIMField(UINT id);
    void OnChangeIMField(UINT id);
    void ShowComposed();

    desktop::EncoderState& m_state;
    desktop::EncoderHost& m_main;
    HICON m_hIcon;
    // Set once the pane's start has run: edit notifications raised while the pane fills its
    // own controls are not the user's.
    bool m_bStarted = false;
    // A field is checked when the focus has settled after it left the field (a box shown
    // while the focus moves would itself take the focus from the next field); while a
    // refusal is on the screen no other check runs, and a refusal is shown once for each
    // change of its field.
    static constexpr UINT kCheckIMField = WM_APP + 28;
    bool m_bShowingRefusal = false;
    std::array<bool, 5> m_imTold{};  // the field's present text was refused and told
};
