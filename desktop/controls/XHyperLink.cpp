#include "XHyperLink.h"

#include <optional>
#include <string>

#include "output_texts.h"

const UINT WM_XHYPERLINK_CLICKED = ::RegisterWindowMessageW(L"WM_XHYPERLINK_CLICKED");

namespace {

// What GotoURL answers for an empty address: counted as success, nothing is opened.
constexpr INT_PTR kNothingToOpen = 36;

HINSTANCE AsInstance(INT_PTR value) { return reinterpret_cast<HINSTANCE>(value); }

bool Succeeded(HINSTANCE result) { return reinterpret_cast<INT_PTR>(result) > 32; }

// The default value of HKEY_CLASSES_ROOT\`subKey`, read into a buffer of kRegistryBytes. Null
// when the key or value cannot be read, is empty, or does not fit with its terminator.
std::optional<std::wstring> ReadClassesDefault(const std::wstring& subKey) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, subKey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::nullopt;
    wchar_t data[CXHyperLink::kRegistryBytes / sizeof(wchar_t)] = {};
    LONG size = sizeof data;
    const LONG status = ::RegQueryValueW(key, nullptr, data, &size);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS || size < 0) return std::nullopt;
    const std::size_t units = static_cast<std::size_t>(size) / sizeof(wchar_t);
    std::size_t length = 0;
    while (length < units && length < std::size(data) && data[length]) ++length;
    if (length == std::size(data)) return std::nullopt;  // no room for the terminator
    if (length == 0) return std::nullopt;
    return std::wstring(data, length);
}

// `line` in the thread's ANSI code page; null when a character has no equivalent there.
std::optional<std::string> ToThreadCodePage(const std::wstring& line) {
    const int n = ::WideCharToMultiByte(CP_THREAD_ACP, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(n), '\0');
    BOOL lost = FALSE;
    if (::WideCharToMultiByte(CP_THREAD_ACP, 0, line.c_str(), -1, bytes.data(), n, nullptr, &lost) != n || lost)
        return std::nullopt;
    bytes.resize(static_cast<std::size_t>(n - 1));
    return bytes;
}

// The hand cursor copied from the help program of the Windows folder, or null.
HCURSOR HelpProgramHandCursor() {
    wchar_t folder[MAX_PATH] = L"";
    const UINT n = ::GetWindowsDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    const std::wstring program = std::wstring(folder) + L"\\winhlp32.exe";
    HMODULE module = ::LoadLibraryW(program.c_str());
    if (!module) return nullptr;
    HCURSOR cursor = nullptr;
    if (HCURSOR found = ::LoadCursorW(module, MAKEINTRESOURCEW(106)))
        cursor = static_cast<HCURSOR>(::CopyIcon(found));
    ::FreeLibrary(module);
    return cursor;
}

}  // namespace

CXHyperLink::CXHyperLink() = default;

CXHyperLink::~CXHyperLink() {
    // The window goes first, so that it never paints with the fonts deleted below.
    if (m_hWnd && ::IsWindow(m_hWnd)) DestroyWindow();
    if (m_hHandCursor && m_bOwnCursor) ::DestroyCursor(m_hHandCursor);
    m_hHandCursor = nullptr;
    m_fontUnderlined.DeleteObject();
    m_fontPlain.DeleteObject();
    m_brBack.DeleteObject();
    if (m_tip.m_hWnd) m_tip.DestroyWindow();
}

void CXHyperLink::PreSubclassWindow() {
    ::SetWindowLongW(m_hWnd, GWL_STYLE, ::GetWindowLongW(m_hWnd, GWL_STYLE) | SS_NOTIFY);

    CString text;
    GetWindowText(text);
    if (m_strTarget.IsEmpty()) m_strTarget = text;
    if (text.IsEmpty() && !m_strTarget.IsEmpty()) {
        SetWindowText(L"");
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        SetWindowText(m_strTarget);
        PositionWindow();
    }

    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (!font) font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    if (!font) font = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    LOGFONTW lf{};
    ::GetObjectW(font, sizeof lf, &lf);
    m_fontPlain.CreateFontIndirect(&lf);
    lf.lfUnderline = TRUE;
    m_fontUnderlined.CreateFontIndirect(&lf);

    PositionWindow();
    SetDefaultCursor();

    if (m_nUnderlineMode != -1 && ::IsWindow(m_hWnd)) {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(m_fontPlain)), TRUE);
        Invalidate();
        m_nUnderlineMode = -1;
    }

    if (m_bShowTip && m_tip.Create(this, 0)) {
        CRect client;
        GetClientRect(&client);
        m_tip.AddTool(this, m_strTarget, &client, 1);
    }
    CStatic::PreSubclassWindow();
}

BOOL CXHyperLink::DestroyWindow() {
    if (m_hWnd) KillTimer(m_nHoverTimer);
    return CStatic::DestroyWindow();
}

BOOL CXHyperLink::PreTranslateMessage(MSG* msg) {
    if (m_tip.m_hWnd) m_tip.RelayEvent(msg);
    return CStatic::PreTranslateMessage(msg);
}

LRESULT CXHyperLink::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETCURSOR:
        if (OnSetCursor()) return TRUE;
        return Default();  // no hand cursor: the class cursor stays
    case WM_MOUSEMOVE:
        OnMouseMove();
        return Default();
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        return Default();
    case WM_ERASEBKGND: {
        CDC dc;
        dc.Attach(reinterpret_cast<HDC>(wParam));
        const BOOL erased = OnEraseBkgnd(&dc);
        dc.Detach();
        return erased;
    }
    default:
        return CStatic::WindowProc(message, wParam, lParam);
    }
}

BOOL CXHyperLink::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        CDC dc;
        dc.Attach(reinterpret_cast<HDC>(wParam));
        *result = reinterpret_cast<LRESULT>(CtlColor(&dc, message - WM_CTLCOLORMSGBOX));
        dc.Detach();
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
        OnClicked();
        *result = 0;
        return TRUE;
    }
    return CStatic::OnChildNotify(message, wParam, lParam, result);
}

HBRUSH CXHyperLink::CtlColor(CDC* dc, UINT) {
    dc->SetTextColor(m_bHot ? m_clrHover : m_bWasOpened ? m_clrVisited : m_clrLink);
    dc->SetBkMode(TRANSPARENT);
    if (m_brBack.GetSafeHandle()) {
        dc->SetBkColor(m_clrBack);
        return m_brBack;
    }
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void CXHyperLink::OnMouseMove() {
    if (m_bHot) return;
    m_bHot = TRUE;
    if (m_nUnderlineMode == -1)
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(m_fontUnderlined)), TRUE);
    Invalidate();
    SetTimer(m_nHoverTimer, 100, nullptr);
}

void CXHyperLink::OnTimer(UINT_PTR id) {
    if (id != m_nHoverTimer) return;
    const DWORD at = ::GetMessagePos();
    POINT p{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    ScreenToClient(&p);
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(p)) return;
    m_bHot = FALSE;
    KillTimer(m_nHoverTimer);
    if (m_nUnderlineMode != 1)
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(m_fontPlain)), TRUE);
    client.bottom += 10;
    InvalidateRect(&client, TRUE);
}

BOOL CXHyperLink::OnSetCursor() {
    if (!m_hHandCursor) return FALSE;
    ::SetCursor(m_hHandCursor);
    return TRUE;
}

BOOL CXHyperLink::OnEraseBkgnd(CDC* dc) {
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, m_clrBack == 0xFFFFFFFF ? ::GetSysColor(COLOR_3DFACE) : m_clrBack);
    return TRUE;
}

void CXHyperLink::OnClicked() {
    m_bHot = FALSE;
    const HINSTANCE result = m_bOpenOnClick ? GotoURL(m_strTarget, m_bNewVerb) : AsInstance(33);
    if (Succeeded(result)) {
        m_bWasOpened = TRUE;
        if (::IsWindow(m_hWnd)) Invalidate();
    } else {
        Shell().Beep(MB_ICONEXCLAMATION);
    }
    if (m_bTellParent) {
        if (HWND parent = ::GetParent(m_hWnd))
            ::SendMessageW(parent, WM_XHYPERLINK_CLICKED, static_cast<WPARAM>(GetDlgCtrlID()), 0);
    }
}

void CXHyperLink::SetURL(CString url) {
    m_strTarget = url;
    if (::IsWindow(m_hWnd)) {
        PositionWindow();
        if (m_tip.m_hWnd) m_tip.UpdateTipText(m_strTarget, this, 1);
    }
}

HINSTANCE CXHyperLink::GotoURL(const wchar_t* url, BOOL newWindow) {
    if (!url || !*url) return AsInstance(kNothingToOpen);
    const HINSTANCE shell = Shell().Execute(nullptr, newWindow ? L"new" : L"open", url, nullptr, nullptr, SW_SHOW);
    if (Succeeded(shell)) return shell;

    // The browser registered for web pages, given the address itself.
    const auto fileClass = ReadClassesDefault(L".htm");
    if (!fileClass) return shell;
    const std::wstring commandKey = *fileClass + L"\\shell\\open\\command";
    if ((commandKey.size() + 1) * sizeof(wchar_t) > kRegistryBytes) return shell;  // not cut
    const auto command = ReadClassesDefault(commandKey);
    if (!command) return shell;
    const std::wstring address(url);
    const auto line = desktop::FallbackCommandLine(std::u16string(command->begin(), command->end()),
                                                   std::u16string(address.begin(), address.end()));
    if (!line) return shell;
    const auto bytes = ToThreadCodePage(std::wstring(line->begin(), line->end()));
    if (!bytes) return shell;
    return AsInstance(static_cast<INT_PTR>(Shell().Exec(bytes->c_str(), SW_SHOW)));
}

// Fits the window to its text: SS_CENTER keeps the centre, SS_RIGHT the right edge and
// SS_CENTERIMAGE the vertical centre; otherwise the top-left corner stays.
void CXHyperLink::PositionWindow() {
    if (!::IsWindow(m_hWnd) || !m_bFitToText) return;
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    ClientToScreen(reinterpret_cast<POINT*>(&client.left));
    ClientToScreen(reinterpret_cast<POINT*>(&client.right));
    if (HWND parent = ::GetParent(m_hWnd)) {
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&client), 2);
    }
    CString text;
    GetWindowText(text);
    CSize extent;
    {
        CClientDC dc(m_hWnd);
        HGDIOBJ old = m_fontUnderlined.GetSafeHandle() ? dc.SelectObject(m_fontUnderlined) : nullptr;
        extent = dc.GetTextExtent(text, text.GetLength());
        if (old) dc.SelectObject(old);
    }
    const int width = extent.cx + (window.Width() - client.Width());
    const int height = extent.cy + (window.Height() - client.Height());
    const DWORD style = GetStyle();
    if (style & SS_CENTERIMAGE) {
        const int shrink = (window.Height() - height) / 2;
        window.top += shrink;
        window.bottom -= shrink;
    } else {
        window.bottom = window.top + height;
    }
    switch (style & SS_TYPEMASK) {
    case SS_CENTER: {
        const int shrink = (window.Width() - width) / 2;
        window.left += shrink;
        window.right -= shrink;
        break;
    }
    case SS_RIGHT:
        window.left = window.right - width;
        break;
    default:
        window.right = window.left + width;
        break;
    }
    SetWindowPos(nullptr, window.left, window.top, window.Width(), window.Height(), SWP_NOZORDER);
}

void CXHyperLink::SetDefaultCursor() {
    if (m_hHandCursor) return;
    m_hHandCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32649));  // IDC_HAND
    m_bOwnCursor = false;
    if (!m_hHandCursor) {
        m_hHandCursor = HelpProgramHandCursor();
        m_bOwnCursor = m_hHandCursor != nullptr;
    }
}
