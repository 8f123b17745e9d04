#include "AboutDlg.h"

#include "resource.h"

CAboutDlg::CAboutDlg() : CDialogEx(IDD_ABOUTBOX) {}

void CAboutDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_ABOUT_NAME, m_name);
    DDX_Control(dx, IDC_ABOUT_NOTICE, m_notice);
    DDX_Control(dx, IDC_ABOUT_NOTICE2, m_notice2);
    DDX_Control(dx, IDOK, m_ok);
    DDX_Control(dx, IDC_WEB_LINK, m_webLink);
    DDX_Control(dx, IDC_SUPPORT_LINK, m_supportLink);
}

BOOL CAboutDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    m_webLink.SetURL(kMakerWebPage);
    m_supportLink.SetURL(CString(L"mailto:") + kSupportAddress);
    return TRUE;
}
