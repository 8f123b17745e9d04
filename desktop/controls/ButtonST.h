// CButtonST: a dialog's push button or check box drawn flat: a face in the button colour, a
// raised one-pixel frame while the pointer is over it, a sunken one while pressed (or checked),
// and the caption centred (embossed grey when disabled). A check-box button keeps its check
// state itself. Attached with DDX_Control; the parent still gets BN_CLICKED.
#pragma once
#include "BCMenu.h"
#include "framework.h"

class CButtonST : public CButton {
public:
    CButtonST();
    ~CButtonST() override;

    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void DrawItem(DRAWITEMSTRUCT* dis) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    virtual int PaintBackground(CDC* dc, CRect* r);
    virtual int PaintBorder(CDC* dc, CRect* r);
    virtual int PaintCaption(CDC* dc, const wchar_t* title, RECT* item, CRect* caption,
                             BOOL pressed, BOOL disabled);

    enum { ColorInBk, ColorInFg, ColorOutBk, ColorOutFg, ColorFocusBk, ColorFocusFg };

    CPoint m_ptPressedShift{1, 1};
    BOOL m_bHover = FALSE;
    BOOL m_bPressed = FALSE, m_bFocused = FALSE, m_bDisabled = FALSE;
    BOOL m_bDefault = FALSE;
    BOOL m_bCheckBox = FALSE;
    COLORREF m_colors[6];
    BCMenu m_menu;  // the popup menu: stays empty in this program
    CToolTipCtrl m_tip;
    BOOL m_bHoverWhenInactive = TRUE;
    int m_nCheckState = 0;
    UINT m_nButtonType = 0x1F;
    DWORD m_dwTipStyle = 0;

private:
    void SetDefaultColors();
    void CancelHover();
    void OnMouseMove(UINT flags, CPoint point);
};
