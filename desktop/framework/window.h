// CWnd: a window object bound to one window handle, and CWinApp, the application object.
//
// Binding. A CWnd is bound to its handle in a per-thread map ("permanent" objects) and the
// window's procedure is replaced by the layer's entry (subclassing); the entry finds the object
// and calls its WindowProc, a switch of the class that hands what it does not handle to its
// base class. The last base, CWnd::WindowProc, does the layer's work (commands, reflection,
// owner-drawn menus) and otherwise Default(), which replays the current message to the
// previous window procedure. PreSubclassWindow runs before the procedure is replaced, both for
// existing windows (SubclassWindow) and for windows the layer creates (CreateEx).
//
// Reflection. WM_COMMAND and WM_NOTIFY from a control, WM_DRAWITEM, WM_MEASUREITEM and
// WM_CTLCOLOR* reach the parent, which first offers them to the control's own object
// (OnChildNotify). The rule: when OnChildNotify returns TRUE the message is handled and the
// parent does not see it; when it returns FALSE the parent handles it as usual. A control that
// acts on a notification and still lets its parent have it returns FALSE.
//
// Commands. A WM_COMMAND the control does not take goes to OnCmdMsg of the window (the class's
// command switch); a dialog passes what it leaves to its owner's OnCmdMsg and then to the
// application's. Control notifications are dropped while UpdateData writes the controls.
//
// Lifetime. At WM_NCDESTROY the object is unbound and PostNcDestroy runs (an object that frees
// itself deletes itself there). Destroying the object destroys a window that is still alive.
// No exception leaves the layer's window procedure.
#pragma once
#include <windows.h>

#include <functional>

#include "cstring.h"
#include "geometry.h"
#include "module.h"

class CDataExchange;

class CWnd {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object bound to a handle, or null.
    static CWnd* FromHandlePermanent(HWND wnd);
    // The bound object, or else a temporary unbound wrapper kept until the loop is idle.
    static CWnd* FromHandle(HWND wnd);
    static void DeleteTempMap();

    BOOL SubclassWindow(HWND wnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();
    BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName,
                  DWORD style, int x, int y, int cx, int cy, HWND parent, HMENU menuOrId,
                  void* param = nullptr);
    BOOL Create(const wchar_t* className, const wchar_t* windowName, DWORD style,
                const RECT& rect, CWnd* parent, UINT id);
    virtual BOOL DestroyWindow();

    // The class's message switch; unhandled messages go to the base class, finally here.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Replays the message being handled to the previous window procedure.
    LRESULT Default();
    // Passes a message of one's own to the previous window procedure.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual void PreSubclassWindow() {}
    virtual void PostNcDestroy() {}
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The class's command switch: TRUE when it handled command `id` with notification `code`.
    virtual BOOL OnCmdMsg(UINT id, int code);
    // A message reflected from the parent (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM,
    // WM_MEASUREITEM, WM_CTLCOLOR*): TRUE when handled, with the parent's answer in *result.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual void DoDataExchange(CDataExchange*) {}
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // PreTranslateMessage of every bound window from the message's window up through its
    // parents and owners, ending with `stop`; TRUE when one of them took the message.
    static BOOL WalkPreTranslateTree(HWND stop, MSG* msg);

    // Thin wrappers.
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }
    // Change the style; nothing at all happens when the style stays the same (FALSE).
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
    LRESULT SendMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessageW(m_hWnd, m, w, l); }
    BOOL PostMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const { return ::PostMessageW(m_hWnd, m, w, l); }
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    void GetClientRect(RECT* r) const { ::GetClientRect(m_hWnd, r); }
    void GetWindowRect(RECT* r) const { ::GetWindowRect(m_hWnd, r); }
    void ClientToScreen(POINT* p) const { ::ClientToScreen(m_hWnd, p); }
    void ScreenToClient(POINT* p) const { ::ScreenToClient(m_hWnd, p); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(const RECT* r, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, r, erase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void SetWindowText(const wchar_t* text) { ::SetWindowTextW(m_hWnd, text); }
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    // The owner window, else the parent.
    CWnd* GetOwner() const;
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    static CWnd* GetCapture() { return FromHandle(::GetCapture()); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    static CWnd* GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
    static CWnd* WindowFromPoint(POINT p) { return FromHandle(::WindowFromPoint(p)); }
    UINT_PTR SetTimer(UINT_PTR id, UINT ms, TIMERPROC proc) { return ::SetTimer(m_hWnd, id, ms, proc); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) {
        return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
    }
    void MoveWindow(int x, int y, int cx, int cy, BOOL repaint = TRUE) {
        ::MoveWindow(m_hWnd, x, y, cx, cy, repaint);
    }
    HICON SetIcon(HICON icon, BOOL big) {
        return reinterpret_cast<HICON>(SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                                                   reinterpret_cast<LPARAM>(icon)));
    }

    WNDPROC m_pfnSuper = nullptr;  // the window procedure that Default() replays to

protected:
    // Runs `create`, binding this object to the first window it creates before that window's
    // first message; the created handle, or null.
    HWND CreateBound(const std::function<HWND()>& create);

private:
    friend LRESULT CALLBACK LayerWindowProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK LayerCbtHook(int, WPARAM, LPARAM);
    void Bind(HWND wnd);
    void Unbind();
};

// The application object: the last stop of command routing and the holder of the main window.
class CWinApp {
public:
    CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();
    virtual BOOL InitInstance() { return FALSE; }
    // The class's command switch: TRUE when it handled the command.
    virtual BOOL OnCmdMsg(UINT id, int code);
    // The default exit command: closes the main window.
    void OnAppExit();
    CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();
int AfxMessageBox(const wchar_t* text, UINT type = MB_OK | MB_ICONEXCLAMATION);
// Control notifications sent to this window are dropped (during UpdateData); null for none.
HWND& AfxLockoutNotifyWindow();
