// CCJFlatComboBox: a combo box drawn flat. The system's 3D frame is painted over with a thin
// frame: flat while the pointer is away, raised while it is over the control or the control has
// the focus, pressed while the left button is down on it; a 10 ms timer watches the pointer.
// Typed text is completed from the list. CNotifyCombo<CCJFlatComboBox> also keeps Enter and
// Escape (closing the list and sending NM_RETURN to its owner) and opens the list with Up and
// Down.
#pragma once
#include "framework.h"

class CCJFlatComboBox : public CComboBox {
public:
    CCJFlatComboBox();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    enum { StateNormal = 1, StateRaised = 2, StatePressed = 3 };
    void PaintFlatBorder(int state, COLORREF topLeft, COLORREF bottomRight);

    int m_cxDropButton;
    BOOL m_bButtonDown = FALSE;
    BOOL m_bRaisedShown = FALSE;
    BOOL m_bFocus = FALSE;
    COLORREF m_clrLight, m_clrDark, m_clrFace;

private:
    void ReadColors();
    void OnTimer();
    void OnPaint();
    void OnCbnEditUpdate();
    // Set by Backspace and Delete: the next edit update is not completed.
    BOOL m_bSkipCompletion = FALSE;
};

template <class Base>
class CNotifyCombo : public Base {
public:
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN) {
            WPARAM key = msg->wParam;
            if (key == VK_RETURN || key == VK_ESCAPE) {
                if (this->GetDroppedState()) this->ShowDropDown(FALSE);
                NotifyOwner();
                return TRUE;
            }
            if ((key == VK_UP || key == VK_DOWN) && ::GetKeyState(VK_MENU) >= 0 &&
                ::GetKeyState(VK_CONTROL) >= 0 && !this->GetDroppedState()) {
                this->ShowDropDown(TRUE);
                return TRUE;
            }
        }
        return Base::PreTranslateMessage(msg);
    }

private:
    // NM_RETURN to the owner window, else to the parent.
    void NotifyOwner() {
        HWND target = ::GetWindow(this->m_hWnd, GW_OWNER);
        if (!target) target = ::GetParent(this->m_hWnd);
        if (!target) return;
        NMHDR hdr{};
        hdr.hwndFrom = this->m_hWnd;
        hdr.idFrom = static_cast<UINT_PTR>(this->GetDlgCtrlID());
        hdr.code = NM_RETURN;
        ::SendMessageW(target, WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
    }
};
