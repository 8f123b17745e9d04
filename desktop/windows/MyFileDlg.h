// The file dialog of the batch import and export: the common open or save dialog with a
// filter written as "Name|pattern|Name|pattern||"; choosing another type in the save dialog
// gives the typed name the extension of the chosen pattern.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "framework.h"

class CMyFileDlg {
public:
    // `open`: an open dialog (several files may be chosen), else a save dialog. The name
    // buffer holds `bufferUnits` UTF-16 units.
    CMyFileDlg(BOOL open, const wchar_t* filter, CWnd* parent, std::size_t bufferUnits = 1000);
    virtual ~CMyFileDlg() = default;
    CMyFileDlg(const CMyFileDlg&) = delete;
    CMyFileDlg& operator=(const CMyFileDlg&) = delete;

    // IDOK when a path was chosen, else IDCANCEL.
    INT_PTR DoModal();
    // The chosen paths, in order (one for a save dialog).
    std::vector<CString> GetPathNames() const;
    // The chosen path (the first one).
    CString GetPathName() const;
    // The type chosen, from 1.
    DWORD FilterIndex() const { return m_ofn.nFilterIndex; }

    // The user picked another file type: the name in the dialog takes its extension.
    virtual void OnTypeChange();

    DWORD m_nFilterIndex = 1;  // the type last chosen

private:
    static UINT_PTR CALLBACK Hook(HWND child, UINT message, WPARAM wParam, LPARAM lParam);
    // The pattern of type `index` (from 1), or "".
    std::wstring Pattern(DWORD index) const;

    BOOL m_bOpen;
    std::wstring m_filter;       // NUL-separated pairs
    std::vector<wchar_t> m_name;
    OPENFILENAMEW m_ofn{};
    HWND m_hDialog = nullptr;    // the common dialog while it runs
    const OPENFILENAMEW* m_pRunning = nullptr;  // its record as the dialog reports it
};
