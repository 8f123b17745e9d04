// CBitmapBtn: a tool-bar push button painted entirely from one of four pictures (normal, hover,
// pressed, disabled) that its owner supplies, with a hover look that follows the mouse (the
// button holds the mouse capture while hovered) and a tooltip.
#pragma once
#include "framework.h"

class CBitmapBtn : public CButton {
public:
    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void DrawItem(DRAWITEMSTRUCT* dis) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void SetToolTipText(const CString* text);

    CBitmap m_bmpNormal, m_bmpHover, m_bmpPressed, m_bmpDisabled;
    CToolTipCtrl m_tip;
    BOOL m_bLatched = FALSE;    // the pressed picture while the pointer is not over the button
    BOOL m_bFixedLook = FALSE;  // one picture whatever the state: pressed when latched, else normal
    BOOL m_bHover = FALSE;

private:
    void CreateTip();
    void OnMouseMove(UINT flags, CPoint point);
    void EndHover();
};
