// The application object of Encoder: the single-instance rule, the platform libraries and
// the modal main window, whose loop is the program's only message loop.
#pragma once
#include <memory>

#include "framework.h"

class CAboutDlg;

class CEncoderApp : public CWinApp {
public:
    CEncoderApp();
    ~CEncoderApp() override;
    BOOL InitInstance() override;
    BOOL OnCmdMsg(UINT id, int code) override;
    void OnAppAbout();
    void OnAppExitCommand();

    // The About box, made by the first "&About" and shown again by every later one.
    std::unique_ptr<CAboutDlg> m_pAboutBox;
};

// The last-error value read right after the single-instance mutex was created.
DWORD SingleInstanceError();
