#include "controls.h"

#include <string>

BOOL CButton::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
    if (message != WM_DRAWITEM) return FALSE;
    DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    *result = TRUE;
    return TRUE;
}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
    if (message == WM_DRAWITEM)
        DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    else if (message == WM_MEASUREITEM)
        MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    else
        return FALSE;
    *result = TRUE;
    return TRUE;
}

void CComboBox::GetLBText(int i, CString& text) const {
    LRESULT n = SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(i));
    if (n == CB_ERR) {
        text.Empty();
        return;
    }
    std::wstring buffer(static_cast<std::size_t>(n) + 1, L'\0');
    LRESULT got = SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(got == CB_ERR ? 0 : static_cast<std::size_t>(got));
    text = CString(std::move(buffer));
}

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style) {
    return CreateEx(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, parent ? parent->m_hWnd : nullptr, nullptr);
}

namespace {
TTTOOLINFOW ToolInfo(CWnd* wnd, UINT_PTR id) {
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = wnd ? wnd->m_hWnd : nullptr;
    ti.uId = id;
    return ti;
}
}  // namespace

BOOL CToolTipCtrl::AddTool(CWnd* wnd, const wchar_t* text, const RECT* r, UINT_PTR id) {
    TTTOOLINFOW ti = ToolInfo(wnd, id);
    ti.uFlags = 0;
    ti.hinst = AfxGetResourceHandle();
    ti.lpszText = const_cast<wchar_t*>(text);
    if (r) ti.rect = *r;
    return SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
}

void CToolTipCtrl::UpdateTipText(const wchar_t* text, CWnd* wnd, UINT_PTR id) {
    TTTOOLINFOW ti = ToolInfo(wnd, id);
    ti.hinst = AfxGetResourceHandle();
    ti.lpszText = const_cast<wchar_t*>(text);
    SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::GetText(CString& text, CWnd* wnd, UINT_PTR id) const {
    wchar_t buffer[1024] = L"";
    TTTOOLINFOW ti = ToolInfo(wnd, id);
    ti.lpszText = buffer;
    SendMessage(TTM_GETTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    text = buffer;
}
