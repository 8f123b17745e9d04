// The Options pane: the symbology, the barcode face and point size, the options of the
// chosen symbology and the Intelligent Mail fields. EncodeSelected is the program's one
// encode road.
#pragma once
#include <array>
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
    // Whether a refusal of an Intelligent Mail field is on the screen.
    bool IsShowingRefusal() const { return m_bShowingRefusal; }

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
    void OnChangeIMField(UINT id);
    void ShowComposed();
    void RepaintMain();

    CEncoderDlg* m_pMain;
    desktop::Session& m_session;
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

// Encodes `input` with the pane's current row into `output`, which holds `capacity` units
// with the terminator; the text is cut to fit. No pane or no current row gives "".
void EncodeSelected(const wchar_t* input, wchar_t* output, std::size_t capacity, COptionDlg* pane);
