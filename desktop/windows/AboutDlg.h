// The About box: the program's name and version, two notice lines, and links to the support
// address and the maker's web page. Opened modeless from the tray menu; OK hides it and the
// same box is shown again the next time.
#pragma once
#include "XHyperLink.h"
#include "framework.h"
#include "resource.h"

// The maker's web page (also the tray menu's "Web site" and the printed page's address line,
// string resource IDS_WEB_ADDRESS) and the support address.
inline constexpr wchar_t kMakerWebPage[] = L"" KESTRIVO_WEB_ADDRESS;
inline constexpr wchar_t kSupportAddress[] = L"support@kestrivo.example";

class CAboutDlg : public CDialogEx {
public:
    CAboutDlg();

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    CStatic m_name, m_notice, m_notice2;
    CButton m_ok;
    CXHyperLink m_webLink;
    CXHyperLink m_supportLink;
};
