#include "EncoderApp.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "AboutDlg.h"
#include "EncoderDlg.h"
#include "resource.h"

namespace {

// The named marker of a running copy: created before the application starts, closed when
// the program ends. It is never waited on or owned.
class SingleInstanceMutex {
public:
    SingleInstanceMutex()
        : m_handle(::CreateMutexW(nullptr, FALSE, L"{9AFCFAB4-B063-4f71-9BCC-D8755111D6AF}")),
          m_error(::GetLastError()) {}
    ~SingleInstanceMutex() {
        if (m_handle) ::CloseHandle(m_handle);
        m_handle = nullptr;
    }
    DWORD error() const { return m_error; }

private:
    HANDLE m_handle;
    DWORD m_error;
};

// Program-wide objects, in the order they are built (and the reverse of their end).
CEncoderApp theApp;
SingleInstanceMutex singleInstance;

}  // namespace

DWORD SingleInstanceError() { return singleInstance.error(); }

CEncoderApp::CEncoderApp() = default;
CEncoderApp::~CEncoderApp() = default;

BOOL CEncoderApp::InitInstance() {
    if (singleInstance.error() == ERROR_ALREADY_EXISTS) return FALSE;
    ::InitCommonControls();
    ::OleInitialize(nullptr);
    CEncoderDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    m_pAboutBox.reset();  // its window went with the main window's
    return FALSE;
}

BOOL CEncoderApp::OnCmdMsg(UINT id, int code) {
    if (code != 0) return FALSE;
    if (id == ID_APP_ABOUT) {
        OnAppAbout();
        return TRUE;
    }
    if (id == ID_APP_EXIT) {
        OnAppExitCommand();
        return TRUE;
    }
    return FALSE;
}

// A modeless box owned by the main window; its OK only hides it, so a later "&About" shows
// the same box again.
void CEncoderApp::OnAppAbout() {
    if (m_pAboutBox && ::IsWindow(m_pAboutBox->m_hWnd)) {
        m_pAboutBox->ShowWindow(SW_SHOW);
        ::BringWindowToTop(m_pAboutBox->m_hWnd);
        return;
    }
    auto box = std::make_unique<CAboutDlg>();
    if (!box->Create(IDD_ABOUTBOX, m_pMainWnd)) return;
    box->ShowWindow(SW_SHOW);
    m_pAboutBox = std::move(box);
}

void CEncoderApp::OnAppExitCommand() {
    ::OleUninitialize();
    OnAppExit();
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    CWinApp* app = AfxGetApp();
    if (app) app->InitInstance();
    return 0;
}
