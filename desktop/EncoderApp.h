// The application object of Encoder: the single-instance rule, the platform libraries and
// the modal main window, whose loop is the program's only message loop.
#pragma once
#include "framework.h"

class CEncoderApp : public CWinApp {
public:
    BOOL InitInstance() override;
    BOOL OnCmdMsg(UINT id, int code) override;
    void OnAppAbout();
    void OnAppExitCommand();
};

// The last-error value read right after the single-instance mutex was created.
DWORD SingleInstanceError();
