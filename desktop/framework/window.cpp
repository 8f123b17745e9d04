#include "window.h"

#include <memory>
#include <new>
#include <unordered_map>

#include "menu.h"

namespace {

struct CurrentMessage {
    HWND wnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

thread_local std::unordered_map<HWND, CWnd*> t_permanent;
thread_local std::unordered_map<HWND, std::unique_ptr<CWnd>> t_temporary;
thread_local CurrentMessage t_current{};
thread_local CWnd* t_creating = nullptr;
thread_local HHOOK t_cbtHook = nullptr;
thread_local HWND t_lockout = nullptr;
CWinApp* g_app = nullptr;

bool IsReflected(UINT m) {
    return m == WM_DRAWITEM || m == WM_MEASUREITEM ||
           (m >= WM_CTLCOLORMSGBOX && m <= WM_CTLCOLORSTATIC);
}

// The menu whose item an owner-drawn WM_MEASUREITEM is about: the bound menu that holds an
// item with this command and this item data.
CMenu* FindMeasuredMenu(const MEASUREITEMSTRUCT* mis) {
    CMenu* found = nullptr;
    CMenu::ForEachPermanent([&](CMenu* menu) {
        int n = ::GetMenuItemCount(menu->m_hMenu);
        for (int i = 0; i < n && !found; ++i) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_ID | MIIM_DATA;
            if (::GetMenuItemInfoW(menu->m_hMenu, static_cast<UINT>(i), TRUE, &info) &&
                info.wID == mis->itemID && info.dwItemData == mis->itemData)
                found = menu;
        }
    });
    return found;
}

}  // namespace

// The layer's one entry for every bound window.
LRESULT CALLBACK LayerWindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto it = t_permanent.find(wnd);
    if (it == t_permanent.end()) return ::DefWindowProcW(wnd, message, wParam, lParam);
    CWnd* object = it->second;
    CurrentMessage saved = t_current;
    t_current = {wnd, message, wParam, lParam};
    LRESULT result = 0;
    try {
        result = object->WindowProc(message, wParam, lParam);
    } catch (...) {
        // A failed handler leaves the message unanswered; creation fails, paint ends.
        result = message == WM_CREATE ? -1 : 0;
        if (message == WM_PAINT) ::ValidateRect(wnd, nullptr);
    }
    if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(wnd) == object) {
        object->Unbind();
        try {
            object->PostNcDestroy();
        } catch (...) {
        }
    }
    t_current = saved;
    return result;
}

LRESULT CALLBACK LayerCbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_creating) {
        CWnd* object = t_creating;
        t_creating = nullptr;
        try {
            object->Bind(reinterpret_cast<HWND>(wParam));
            object->PreSubclassWindow();
            object->m_pfnSuper = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
                object->m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LayerWindowProc)));
        } catch (...) {
            return 1;  // refuse the creation
        }
    }
    return ::CallNextHookEx(t_cbtHook, code, wParam, lParam);
}

CWnd::~CWnd() {
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        ::DestroyWindow(m_hWnd);
        if (m_hWnd) Unbind();  // a window of another thread cannot be destroyed from here
    }
}

CWnd* CWnd::FromHandlePermanent(HWND wnd) {
    auto it = t_permanent.find(wnd);
    return it == t_permanent.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND wnd) {
    if (!wnd) return nullptr;
    if (CWnd* object = FromHandlePermanent(wnd)) return object;
    auto& slot = t_temporary[wnd];
    if (!slot) {
        slot = std::make_unique<CWnd>();
        slot->m_hWnd = wnd;
    }
    return slot.get();
}

void CWnd::DeleteTempMap() {
    for (auto& [wnd, object] : t_temporary) object->m_hWnd = nullptr;
    t_temporary.clear();
}

void CWnd::Bind(HWND wnd) {
    m_hWnd = wnd;
    t_permanent[wnd] = this;
}

void CWnd::Unbind() {
    t_permanent.erase(m_hWnd);
    if (::IsWindow(m_hWnd) && m_pfnSuper &&
        ::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&LayerWindowProc))
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    m_hWnd = nullptr;
}

BOOL CWnd::SubclassWindow(HWND wnd) {
    if (m_hWnd || !::IsWindow(wnd) || FromHandlePermanent(wnd)) return FALSE;
    Bind(wnd);
    PreSubclassWindow();
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LayerWindowProc)));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    return SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow() {
    HWND wnd = m_hWnd;
    if (wnd) Unbind();
    return wnd;
}

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName,
                    DWORD style, int x, int y, int cx, int cy, HWND parent, HMENU menuOrId,
                    void* param) {
    if (m_hWnd) return FALSE;
    static const wchar_t* const layerClass = L"KestrivoWnd";
    if (!className || !*className) {
        WNDCLASSW wc{};
        if (!::GetClassInfoW(::GetModuleHandleW(nullptr), layerClass, &wc)) {
            wc.lpfnWndProc = ::DefWindowProcW;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.lpszClassName = layerClass;
            ::RegisterClassW(&wc);
        }
        className = layerClass;
    }
    HWND wnd = CreateBound([&] {
        return ::CreateWindowExW(exStyle, className, windowName, style, x, y, cx, cy, parent,
                                 menuOrId, ::GetModuleHandleW(nullptr), param);
    });
    return wnd != nullptr;
}

HWND CWnd::CreateBound(const std::function<HWND()>& create) {
    CWnd* outerCreating = t_creating;
    HHOOK outerHook = t_cbtHook;
    t_creating = this;
    t_cbtHook = ::SetWindowsHookExW(WH_CBT, &LayerCbtHook, nullptr, ::GetCurrentThreadId());
    HWND wnd = create();
    ::UnhookWindowsHookEx(t_cbtHook);
    t_cbtHook = outerHook;
    t_creating = outerCreating;
    if (!wnd && m_hWnd) Unbind();
    return wnd;
}

BOOL CWnd::Create(const wchar_t* className, const wchar_t* windowName, DWORD style,
                  const RECT& r, CWnd* parent, UINT id) {
    return CreateEx(0, className, windowName, style | WS_CHILD, r.left, r.top,
                    r.right - r.left, r.bottom - r.top, parent ? parent->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

LRESULT CWnd::Default() {
    const CurrentMessage& c = t_current;
    if (m_pfnSuper) return ::CallWindowProcW(m_pfnSuper, m_hWnd, c.message, c.wParam, c.lParam);
    return ::DefWindowProcW(m_hWnd, c.message, c.wParam, c.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (OnCommand(wParam, lParam)) return 0;
        break;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (OnNotify(wParam, lParam, &result)) return result;
        break;
    }
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (dis->CtlType == ODT_MENU) {
            if (CMenu* menu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(dis->hwndItem))) {
                menu->DrawItem(dis);
                return TRUE;
            }
            break;
        }
        CWnd* child = FromHandlePermanent(dis->hwndItem);
        LRESULT result = 0;
        if (child && child->OnChildNotify(message, wParam, lParam, &result)) return result;
        break;
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (mis->CtlType == ODT_MENU) {
            if (CMenu* menu = FindMeasuredMenu(mis)) {
                menu->MeasureItem(mis);
                return TRUE;
            }
            break;
        }
        CWnd* child = FromHandlePermanent(::GetDlgItem(m_hWnd, static_cast<int>(mis->CtlID)));
        LRESULT result = 0;
        if (child && child->OnChildNotify(message, wParam, lParam, &result)) return result;
        break;
    }
    default:
        if (IsReflected(message)) {
            CWnd* child = FromHandlePermanent(reinterpret_cast<HWND>(lParam));
            LRESULT result = 0;
            if (child && child->OnChildNotify(message, wParam, lParam, &result)) return result;
        }
        break;
    }
    return Default();
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT id = LOWORD(wParam);
    int code = HIWORD(wParam);
    if (lParam) {
        if (t_lockout == m_hWnd) return TRUE;  // written by UpdateData: dropped
        CWnd* child = FromHandlePermanent(reinterpret_cast<HWND>(lParam));
        LRESULT result = 0;
        if (child && child->OnChildNotify(WM_COMMAND, wParam, lParam, &result)) return TRUE;
    }
    return OnCmdMsg(id, code);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    if (t_lockout == m_hWnd) return TRUE;
    CWnd* child = FromHandlePermanent(hdr->hwndFrom);
    if (child && child->OnChildNotify(WM_NOTIFY, wParam, lParam, result)) return TRUE;
    return OnCmdMsg(static_cast<UINT>(hdr->idFrom), static_cast<int>(hdr->code));
}

BOOL CWnd::OnCmdMsg(UINT, int) { return FALSE; }

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg) {
    for (HWND wnd = msg->hwnd; wnd;) {
        CWnd* object = FromHandlePermanent(wnd);
        if (object && object->PreTranslateMessage(msg)) return TRUE;
        if (wnd == stop) break;
        wnd = (::GetWindowLongW(wnd, GWL_STYLE) & WS_CHILD) ? ::GetParent(wnd)
                                                            : ::GetWindow(wnd, GW_OWNER);
    }
    return FALSE;
}

namespace {
// Changes the style or extended style; nothing at all happens when it stays the same.
BOOL ModifyLong(HWND wnd, int index, DWORD remove, DWORD add, UINT flags) {
    DWORD style = static_cast<DWORD>(::GetWindowLongW(wnd, index)), changed = (style & ~remove) | add;
    if (changed == style) return FALSE;
    ::SetWindowLongW(wnd, index, static_cast<LONG>(changed));
    if (flags)
        ::SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}
}  // namespace

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
    return ModifyLong(m_hWnd, GWL_STYLE, remove, add, flags);
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) {
    return ModifyLong(m_hWnd, GWL_EXSTYLE, remove, add, flags);
}

void CWnd::GetWindowText(CString& text) const {
    int n = ::GetWindowTextLengthW(m_hWnd);
    std::wstring buffer(static_cast<std::size_t>(n) + 1, L'\0');
    int got = ::GetWindowTextW(m_hWnd, buffer.data(), n + 1);
    buffer.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
    text = CString(std::move(buffer));
}

CWnd* CWnd::GetOwner() const {
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    return FromHandle(owner ? owner : ::GetParent(m_hWnd));
}

HWND& AfxLockoutNotifyWindow() { return t_lockout; }

CWinApp::CWinApp() { g_app = this; }
CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}
BOOL CWinApp::OnCmdMsg(UINT, int) { return FALSE; }
void CWinApp::OnAppExit() {
    if (m_pMainWnd && m_pMainWnd->m_hWnd) m_pMainWnd->SendMessage(WM_CLOSE);
}

CWinApp* AfxGetApp() { return g_app; }

int AfxMessageBox(const wchar_t* text, UINT type) {
    CWinApp* app = AfxGetApp();
    HWND owner = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : ::GetActiveWindow();
    return ::MessageBoxW(owner, text, AfxGetAppName(), type);
}
