#include "print.h"

void ReleasePrintDialog(PRINTDLGW& pd) {
    if (pd.hDC) ::DeleteDC(pd.hDC);
    if (pd.hDevMode) ::GlobalFree(pd.hDevMode);
    if (pd.hDevNames) ::GlobalFree(pd.hDevNames);
    pd.hDC = nullptr;
    pd.hDevMode = nullptr;
    pd.hDevNames = nullptr;
}

CPrintDialog::CPrintDialog(HWND owner, DWORD flags) {
    m_pd.lStructSize = sizeof m_pd;
    m_pd.hwndOwner = owner;
    m_pd.Flags = flags;
    m_pd.nCopies = 1;
}
