#include "SystemTray.h"

#include <cwchar>

namespace {

template <std::size_t N>
void CopyText(wchar_t (&field)[N], const wchar_t* text) {
    std::wcsncpy(field, text, N - 1);
    field[N - 1] = L'\0';
}

const UINT g_taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");

}  // namespace

UINT CSystemTray::TaskbarCreatedMessage() { return g_taskbarCreated; }

CSystemTray::CSystemTray() { Initialise(); }

void CSystemTray::Initialise() {
    m_iconData = NOTIFYICONDATAW{};
    m_bTrayAvailable = FALSE;
    m_bIconHidden = TRUE;
    m_bIconDeleted = TRUE;
    m_bAddPending = FALSE;
    m_pCommandWnd = nullptr;
    m_nDefaultEntry = 0;
    m_bEntryByPosition = TRUE;
    m_uAddFlags = 0;
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    ::GetVersionExW(&info);
    m_bBalloonShell = info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion >= 5;
}

BOOL CSystemTray::Create(HICON icon) {
    m_bTrayAvailable = LOBYTE(LOWORD(::GetVersion())) >= 4;
    if (!m_bTrayAvailable) return FALSE;
    if (!CreateEx(0, nullptr, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr)) return FALSE;

    // The record's size is that of the structure this program is built with.
    m_iconData.cbSize = sizeof m_iconData;
    m_iconData.hWnd = m_hWnd;
    m_iconData.uID = IconId;
    m_iconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_iconData.uCallbackMessage = CallbackMessage;
    m_iconData.hIcon = icon;
    CopyText(m_iconData.szTip, L"Kestrivo Encoder");
    if (m_bBalloonShell) {
        m_iconData.uFlags |= NIF_INFO;
        CopyText(m_iconData.szInfo, L"Encoder");
        CopyText(m_iconData.szInfoTitle, L"Kestrivo");
        m_iconData.uTimeout = 20000;
        m_iconData.dwInfoFlags = NIIF_WARNING;
    }
    m_uAddFlags = m_iconData.uFlags;
    m_bIconHidden = FALSE;
    BOOL added = Notify(NIM_ADD);
    m_bIconDeleted = m_bIconHidden = m_bAddPending = !added;
    if (m_bBalloonShell) m_iconData.szInfo[0] = L'\0';
    return added;
}

CSystemTray::~CSystemTray() {
    m_bAddPending = FALSE;
    if (m_bTrayAvailable && !m_bIconDeleted) {
        m_iconData.uFlags = 0;
        if (Notify(NIM_DELETE)) m_bIconHidden = m_bIconDeleted = TRUE;
    }
    DestroyWindow();
}

BOOL CSystemTray::AddIcon() {
    if (!m_bIconDeleted) RemoveIcon();
    if (m_bTrayAvailable) {
        m_iconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        if (Notify(NIM_ADD))
            m_bIconHidden = m_bIconDeleted = FALSE;
        else
            m_bAddPending = TRUE;
    }
    return !m_bIconDeleted;
}

BOOL CSystemTray::RemoveIcon() {
    m_bAddPending = FALSE;
    if (!m_bTrayAvailable || m_bIconDeleted) return TRUE;
    m_iconData.uFlags = 0;
    if (Notify(NIM_DELETE)) m_bIconHidden = m_bIconDeleted = TRUE;
    return m_bIconDeleted;
}

BOOL CSystemTray::HideIcon() {
    if (!m_bTrayAvailable || m_bIconDeleted || m_bIconHidden) return TRUE;
    if (m_bBalloonShell) {
        m_iconData.uFlags = NIF_STATE;
        m_iconData.dwState = NIS_HIDDEN;
        m_iconData.dwStateMask = NIS_HIDDEN;
        m_bIconHidden = Notify(NIM_MODIFY);
        return m_bIconHidden;
    }
    RemoveIcon();
    return m_bIconHidden;
}

BOOL CSystemTray::ShowIcon() {
    if (m_bIconDeleted) return AddIcon();
    if (!m_bIconHidden) return TRUE;
    if (m_bBalloonShell) {
        m_iconData.uFlags = NIF_STATE;
        m_iconData.dwState = 0;
        m_iconData.dwStateMask = NIS_HIDDEN;
        if (Notify(NIM_MODIFY)) {
            m_bIconHidden = FALSE;
            return TRUE;
        }
        // The shell no longer has the icon (it restarted): add it again.
        m_bIconDeleted = TRUE;
        return AddIcon();
    }
    AddIcon();
    return !m_bIconHidden;
}

void CSystemTray::AddAgain() {
    m_iconData.uFlags = m_uAddFlags;
    m_bIconHidden = m_bAddPending = !Notify(NIM_ADD);
}

LRESULT CSystemTray::OnTaskbarCreated() {
    m_bAddPending = TRUE;
    if (!m_bIconHidden) {
        AddAgain();
    } else if (!m_bIconDeleted) {
        // A hidden icon went with the old shell: the next ShowIcon adds it anew.
        m_bIconDeleted = TRUE;
    }
    return 0;
}

void CSystemTray::OnSettingChange(UINT flags) {
    if (flags != SPI_SETWORKAREA) return;
    m_bAddPending = !m_bIconHidden;
    if (!m_bIconHidden) AddAgain();
}

LRESULT CSystemTray::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == m_iconData.uCallbackMessage && m_iconData.uCallbackMessage)
        return OnTrayIconNotify(wParam, lParam);
    if (message == TaskbarCreatedMessage()) return OnTaskbarCreated();
    if (message == WM_SETTINGCHANGE) {
        LRESULT r = Default();
        OnSettingChange(static_cast<UINT>(wParam));
        return r;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

LRESULT CSystemTray::OnTrayIconNotify(WPARAM wParam, LPARAM lParam) {
    if (wParam != m_iconData.uID) return 0;
    CWnd* target = m_pCommandWnd;
    if (!target && AfxGetApp()) target = AfxGetApp()->m_pMainWnd;
    if (!target || !target->m_hWnd) return 0;
    UINT mouse = LOWORD(lParam);
    if (mouse == WM_RBUTTONUP) {
        CMenu menu;
        if (!menu.LoadMenu(m_iconData.uID)) return 0;
        CMenu popup;
        if (!popup.Attach(menu.GetSubMenu(0))) return 0;
        popup.SetDefaultItem(m_nDefaultEntry, m_bEntryByPosition);
        CustomizeTrayMenu(&popup);
        POINT p;
        ::GetCursorPos(&p);
        ::SetForegroundWindow(target->m_hWnd);
        popup.TrackPopupMenu(0, p.x, p.y, target->m_hWnd);
        target->PostMessage(WM_NULL);
        popup.Detach();  // destroyed with its menu
    } else if (mouse == WM_LBUTTONDBLCLK) {
        ::SetForegroundWindow(target->m_hWnd);
        UINT command = m_nDefaultEntry;
        if (m_bEntryByPosition) {
            CMenu menu;
            if (!menu.LoadMenu(m_iconData.uID)) return 0;
            HMENU popup = menu.GetSubMenu(0);
            if (!popup) return 0;
            command = ::GetMenuItemID(popup, static_cast<int>(m_nDefaultEntry));
        }
        target->PostMessage(WM_COMMAND, command, 0);
    }
    return 1;
}
