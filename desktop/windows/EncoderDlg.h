// The main window: the skinned face with its eight tool buttons, the data field, the
// message line and the painted font text; it owns the Options pane, the keyboard, the tray
// icon and the state they share, and answers what the panes ask of it.
#pragma once
#include <memory>
#include <string_view>
#include <vector>

#include "BitmapBtn.h"
#include "SystemTray.h"
#include "encoder_state.h"
#include "framework.h"
#include "windows_platform.h"

class COptionDlg;
class CKeyboard;

class CEncoderDlg : public CDialogEx, public desktop::EncoderHost {
public:
    CEncoderDlg();
    ~CEncoderDlg() override;

    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT id, int code) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    void OnChangeData() override;
    void UpdatePreview(std::u16string_view text) override;
    void OnRowChanged() override;
    void SetDataField(std::u16string_view text) override;
    void Repaint() override;
    void SetMessageLine(std::u16string_view message);

    // The region of every non-magenta pixel of `bitmap`, or null.
    static HRGN CreateRegionFromBitmap(HBITMAP bitmap);

    // Places the Options pane beside the window, within the work area.
    void DockPanes();

    // Printing (EncoderPrint.cpp): one page naming the symbology, the face and the data, with
    // the font text in the barcode face at several sizes. The draw rectangle's top moves down
    // as lines are printed.
    void OnPrint();
    void PrintSetup(CDC* dc, CPrintInfo* info);
    void PrintHeader(CDC* dc, CRect& rect);
    void PrintBody(CDC* dc, CRect& rect);
    void PrintBarcodeAtSize(CDC* dc, CRect& rect, const wchar_t* encoded, int pointSize, const wchar_t* face);
    void PrintBarcodeAt12(CDC* dc, CRect& rect, const wchar_t* encoded, const wchar_t* face);
    // The fonts of one job, made by PrintSetup; the line step is the label font's line height.
    CFont m_fontPrintHeader, m_fontPrintLabel, m_fontPrintValue, m_fontPrintLink;
    int m_nPrintLineStep = 0;

    // The state the panes share, made before them and ended after them.
    desktop::WindowsPlatform m_platform{[this](std::u16string_view message) { SetMessageLine(message); }};
    desktop::EncoderState m_state{m_platform};
    std::unique_ptr<COptionDlg> m_pOptions;  // the one owner of the pane
    std::unique_ptr<CKeyboard> m_pKeyboard;  // the one owner of the pane
    int m_bOptionsVisible = 0;
    int m_bKeyboardVisible = 0;
    HICON m_hIcon = nullptr;
    CRect m_rcSkin;
    CBitmap m_bmpSkin;
    CSystemTray m_tray;
    bool m_bTrayHidden = false;
    std::vector<std::unique_ptr<CBitmapBtn>> m_buttons;

private:
    void OnPaint();
    void OnOptions();
    void OnKeyboard();
    void OnCopyToClipboard();
    void OnMinimize();
    void OnDestroy();
    bool Start();
    // Tells in the message line when the painted symbol does not carry all of the data.
    void TellLoss();
    // Whether the font text painted in `dc` (its font selected) lies inside the paint area.
    bool PaintedInside(CDC& dc, const std::vector<std::u16string_view>& lines);
    // Adds the sentence of a symbol larger than the paint area to the message line, or takes it away.
    void TellPreviewCut(bool cut);

    std::u16string m_message;   // the encoder's or the loss sentence the message line shows
    bool m_previewCut = false;  // the message line tells that the painted symbol is cut
};
