// CXHyperLink: a static text control that behaves as a link. It is drawn in the link colour
// (the visited colour once opened, the hover colour while the pointer is over it), underlined
// while hovered, shows a hand cursor and a tooltip with its address, and opens the address
// with the shell when clicked. Attached with DDX_Control; the address is set with SetURL.
//
// When the shell cannot open the address, the browser command registered for ".htm" is run
// with the address in double quotes. An address holding a quote or a control character, or a
// class name, command or command line too long for its buffer, is refused (nothing runs).
#pragma once
#include "framework.h"

// Sent to the parent on a click when m_bTellParent is set: wParam the control's id, lParam 0.
extern const UINT WM_XHYPERLINK_CLICKED;

class CXHyperLink : public CStatic {
public:
    CXHyperLink();
    ~CXHyperLink() override;

    void PreSubclassWindow() override;
    BOOL DestroyWindow() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // Stores the address; an existing window is fitted to its text and its tip shows it.
    void SetURL(CString url);
    // Opens `url` with the shell (verb "new" or "open"), else with the registered browser
    // command; the result is an instance handle value, success when greater than 32.
    HINSTANCE GotoURL(const wchar_t* url, BOOL newWindow);

    // The registry reads of the browser command hold this many bytes with the terminator.
    static constexpr int kRegistryBytes = 260;

    COLORREF m_clrLink = RGB(0, 0, 238);
    COLORREF m_clrVisited = RGB(85, 26, 139);
    COLORREF m_clrHover = RGB(255, 0, 0);
    COLORREF m_clrBack = 0xFFFFFFFF;  // the dialog face colour
    CBrush m_brBack;
    BOOL m_bHot = FALSE;
    BOOL m_bWasOpened = FALSE;
    int m_nUnderlineMode = -1;  // -1 while hovered, 1 kept after the pointer leaves, 0 never
    BOOL m_bFitToText = TRUE;
    CString m_strTarget;
    CFont m_fontUnderlined, m_fontPlain;
    HCURSOR m_hHandCursor = nullptr;
    CToolTipCtrl m_tip;
    UINT m_nHoverTimer = 100;
    BOOL m_bOpenOnClick = TRUE;
    BOOL m_bTellParent = FALSE;
    BOOL m_bShowTip = TRUE;
    BOOL m_bNewVerb = FALSE;

protected:
    HBRUSH CtlColor(CDC* dc, UINT ctlColor);
    void OnMouseMove();
    void OnTimer(UINT_PTR id);
    BOOL OnSetCursor();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnClicked();
    void PositionWindow();
    void SetDefaultCursor();

private:
    bool m_bOwnCursor = false;  // the cursor is a copy of ours, not the shared system one
};
