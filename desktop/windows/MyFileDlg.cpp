#include "MyFileDlg.h"

#include <dlgs.h>

#include <algorithm>

#include "ShapingGuard.h"

CMyFileDlg::CMyFileDlg(BOOL open, const wchar_t* filter, CWnd* parent, std::size_t bufferUnits)
    : m_bOpen(open), m_filter(filter ? filter : L""), m_name(std::max<std::size_t>(bufferUnits, 2), L'\0') {
    std::replace(m_filter.begin(), m_filter.end(), L'|', L'\0');
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.hwndOwner = parent ? parent->m_hWnd : nullptr;
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = m_name.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_name.size());
    m_ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLESIZING | (open ? OFN_ALLOWMULTISELECT : 0);
    m_ofn.lpfnHook = Hook;
    m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
}

INT_PTR CMyFileDlg::DoModal() {
    std::fill(m_name.begin(), m_name.end(), L'\0');
    const BOOL ok = m_bOpen ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    m_hDialog = nullptr;
    m_pRunning = nullptr;
    m_nFilterIndex = m_ofn.nFilterIndex;
    return ok ? IDOK : IDCANCEL;
}

std::vector<CString> CMyFileDlg::GetPathNames() const {
    std::vector<CString> paths;
    const wchar_t* p = m_name.data();
    const wchar_t* end = p + m_name.size();
    const std::wstring first(p, std::find(p, end, L'\0'));
    if (first.empty()) return paths;
    p += first.size() + 1;
    // One path, or a folder followed by the names chosen in it.
    if (p >= end || *p == L'\0') {
        paths.emplace_back(first.c_str());
        return paths;
    }
    std::wstring folder = first;
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    while (p < end && *p != L'\0') {
        const std::wstring name(p, std::find(p, end, L'\0'));
        paths.emplace_back((folder + name).c_str());
        p += name.size() + 1;
    }
    return paths;
}

CString CMyFileDlg::GetPathName() const {
    const auto paths = GetPathNames();
    return paths.empty() ? CString() : paths.front();
}

std::wstring CMyFileDlg::Pattern(DWORD index) const {
    // Pairs of name and pattern, each ended by a NUL.
    std::size_t at = 0;
    for (DWORD i = 1; at < m_filter.size(); ++i) {
        const std::size_t nameEnd = m_filter.find(L'\0', at);
        if (nameEnd == std::wstring::npos || nameEnd == at) break;
        const std::size_t patternEnd = m_filter.find(L'\0', nameEnd + 1);
        const std::wstring pattern = m_filter.substr(nameEnd + 1, patternEnd == std::wstring::npos
                                                                      ? std::wstring::npos
                                                                      : patternEnd - nameEnd - 1);
        if (i == index) return pattern;
        if (patternEnd == std::wstring::npos) break;
        at = patternEnd + 1;
    }
    return {};
}

void CMyFileDlg::OnTypeChange() {
    if (!m_hDialog) return;
    m_nFilterIndex = m_pRunning ? m_pRunning->nFilterIndex : m_ofn.nFilterIndex;
    wchar_t typedName[MAX_PATH] = L"";
    if (::SendMessageW(m_hDialog, CDM_GETSPEC, MAX_PATH, reinterpret_cast<LPARAM>(typedName)) <= 0) return;
    std::wstring title = typedName;
    const std::size_t dot = title.rfind(L'.');
    if (dot != std::wstring::npos) title.erase(dot);
    if (title.empty()) return;
    const std::wstring pattern = Pattern(m_nFilterIndex);
    const std::size_t extension = pattern.rfind(L'.');
    if (extension == std::wstring::npos) return;
    // The extension is taken from the pattern's last dot.
    std::wstring ext = pattern.substr(extension);
    const std::wstring name = title + ext;
    // The name field: a combo box (cmb13) or an edit (edt1), by the dialog's version.
    ::SendMessageW(m_hDialog, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(name.c_str()));
    ::SendMessageW(m_hDialog, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(name.c_str()));
}

UINT_PTR CALLBACK CMyFileDlg::Hook(HWND child, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* ofn = reinterpret_cast<const OPENFILENAMEW*>(lParam);
        auto* self = reinterpret_cast<CMyFileDlg*>(ofn->lCustData);
        ::SetWindowLongPtrW(child, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_hDialog = ::GetParent(child);
        GuardEditFields(self->m_hDialog);  // the file name field
        return 0;
    }
    if (message == WM_NOTIFY) {
        const auto* notify = reinterpret_cast<const OFNOTIFYW*>(lParam);
        if (notify->hdr.code == CDN_TYPECHANGE) {
            auto* self = reinterpret_cast<CMyFileDlg*>(::GetWindowLongPtrW(child, GWLP_USERDATA));
            if (self) {
                self->m_pRunning = notify->lpOFN;
                self->OnTypeChange();
            }
        }
    }
    return 0;
}
