#include "BatchWork.h"

#include <commctrl.h>

#include <string>

#include "resource.h"

class CBatchProgressDlg : public CDialog {
public:
    CBatchProgressDlg() : CDialog(IDD_BATCH_PROGRESS) {}
    void OnOK() override {}
    // "Cancel", Escape: the work stops at its next step.
    void OnCancel() override {
        if (!m_bCancellable) return;
        m_bCancelled = true;
        ::EnableWindow(::GetDlgItem(m_hWnd, IDCANCEL), FALSE);
    }
    bool m_bCancelled = false;
    bool m_bCancellable = true;
};

CBatchWork::CBatchWork(CWnd& dialog) : m_dialog(dialog), m_pacer([] { return ::GetTickCount64(); }) {}

CBatchWork::~CBatchWork() {
    // The windows first, so that the batch dialog is active again when the progress goes.
    for (auto it = m_disabled.rbegin(); it != m_disabled.rend(); ++it)
        if (::IsWindow(*it)) ::EnableWindow(*it, TRUE);
    if (m_pProgress) m_pProgress->DestroyWindow();
    if (m_bWindowsDisabled && m_hFocus && ::IsWindow(m_hFocus) && ::IsWindowVisible(m_hFocus)) ::SetFocus(m_hFocus);
    if (m_bQuit) ::PostQuitMessage(m_nQuitCode);
}

void CBatchWork::EndCancel() {
    m_bCancellable = false;
    if (m_pProgress) {
        m_pProgress->m_bCancellable = false;
        ::EnableWindow(::GetDlgItem(m_pProgress->m_hWnd, IDCANCEL), FALSE);
    }
}

bool CBatchWork::Continue(std::u16string_view work, std::uint64_t done, std::uint64_t total,
                          std::u16string_view unit) {
    if (m_bCancelled && m_bCancellable) return false;
    if (!m_pacer.SliceOver()) return true;
    if (!m_bWindowsDisabled) DisableWindows();
    if (!m_pProgress && m_pacer.ShowProgress()) ShowProgress();
    if (m_pProgress) {
        const std::u16string line = desktop::WorkProgressText(work, done, total, unit);
        const std::wstring text(line.begin(), line.end());
        HWND label = ::GetDlgItem(m_pProgress->m_hWnd, IDC_PROGRESS_LINE);
        wchar_t shown[128] = L"";
        ::GetWindowTextW(label, shown, 128);
        if (text != shown) ::SetWindowTextW(label, text.c_str());
        ::SendDlgItemMessageW(m_pProgress->m_hWnd, IDC_PROGRESS_BAR, PBM_SETPOS,
                              static_cast<WPARAM>(desktop::WorkPermille(done, total)), 0);
    }
    Pump();
    if (m_pProgress && m_pProgress->m_bCancelled && m_bCancellable) m_bCancelled = true;
    return !(m_bCancelled && m_bCancellable);
}

namespace {

// Shown or not: a pane hidden now may be shown while the work runs.
BOOL CALLBACK CollectEnabled(HWND wnd, LPARAM list) {
    if (::IsWindowEnabled(wnd)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(wnd);
    return TRUE;
}

}  // namespace

void CBatchWork::DisableWindows() {
    m_bWindowsDisabled = true;
    m_hFocus = ::GetFocus();
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectEnabled, reinterpret_cast<LPARAM>(&m_disabled));
    for (HWND wnd : m_disabled) ::EnableWindow(wnd, FALSE);
}

void CBatchWork::ShowProgress() {
    auto progress = std::make_unique<CBatchProgressDlg>();
    if (!progress->Create(IDD_BATCH_PROGRESS, &m_dialog)) return;
    progress->m_bCancellable = m_bCancellable;
    if (!m_bCancellable) ::EnableWindow(::GetDlgItem(progress->m_hWnd, IDCANCEL), FALSE);
    ::SendDlgItemMessageW(progress->m_hWnd, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, 1000);
    // Centred over the batch dialog.
    RECT over{}, own{};
    m_dialog.GetWindowRect(&over);
    progress->GetWindowRect(&own);
    const int x = over.left + ((over.right - over.left) - (own.right - own.left)) / 2;
    const int y = over.top + ((over.bottom - over.top) - (own.bottom - own.top)) / 2;
    progress->SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    m_pProgress = std::move(progress);
}

void CBatchWork::Pump() {
    CWinApp* app = AfxGetApp();
    const HWND stop = app && app->m_pMainWnd && app->m_pMainWnd->m_hWnd ? app->m_pMainWnd->m_hWnd : m_dialog.m_hWnd;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The program is asked to end: the work stops, and the loops outside end too.
            m_bQuit = true;
            m_nQuitCode = static_cast<int>(msg.wParam);
            m_bCancelled = true;
            return;
        }
        if (!CWnd::WalkPreTranslateTree(stop, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}
