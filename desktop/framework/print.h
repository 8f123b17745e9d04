// The print dialog and a print job's page state. What the dialog hands back (the printer DC
// and the device-mode and device-name blocks) is the caller's to free: CPrintDialog frees it
// when it goes, whether the user printed or cancelled.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include "geometry.h"

// Frees the printer DC and the device-mode and device-name blocks that are set, and clears them.
void ReleasePrintDialog(PRINTDLGW& pd);

class CPrintDialog {
public:
    CPrintDialog(HWND owner, DWORD flags);
    CPrintDialog(const CPrintDialog&) = delete;
    CPrintDialog& operator=(const CPrintDialog&) = delete;
    ~CPrintDialog() { ReleasePrintDialog(m_pd); }

    // Shows the dialog; true when the user chose to print.
    bool DoModal() { return ::PrintDlgW(&m_pd) != FALSE; }
    HDC GetPrinterDC() const { return m_pd.hDC; }

    PRINTDLGW m_pd{};
};

// A job's page range and the rectangle left to draw in.
struct CPrintInfo {
    UINT m_nFromPage = 1, m_nToPage = 1;
    CRect m_rectDraw;
};
