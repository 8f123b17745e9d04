#include "ColHead.h"

#include <string>
#include <vector>

#include "SpreadsheetImport.h"
#include "batch.h"
#include "windows_platform.h"
#include "resource.h"

namespace {

constexpr int ListId = IDC_COLUMN_LIST;

using desktop::Utf16;
using desktop::Wide;

// What stopped a spreadsheet read; each shown to the user once the application has ended.
enum class Fault { None, Start, Open };

Fault FaultOf(const SpreadsheetSession& session) {
    switch (session.GetStatus()) {
    case SpreadsheetSession::Status::NotStarted: return Fault::Start;
    case SpreadsheetSession::Status::NotOpened: return Fault::Open;
    default: return Fault::None;
    }
}

void Report(Fault fault, HWND owner) {
    if (fault == Fault::None) return;
    ::MessageBoxW(owner, fault == Fault::Start ? L"Error starting Excel." : L"Error openning Excel spreadsheet.",
                  AfxGetAppName(), MB_OK | MB_ICONEXCLAMATION);
}

// The first row's titles ("A1", "B1", ...) and cell texts.
Fault ReadFirstRow(const CString& path, std::vector<CString>& titles, std::vector<CString>& values) {
    SpreadsheetSession session(path);
    if (Fault fault = FaultOf(session); fault != Fault::None) return fault;
    long columns = 0;
    if (!session.UsedColumns(columns)) return Fault::Open;
    for (long i = 0; i < columns; ++i) {
        std::wstring address = Wide(desktop::ColumnLetters(static_cast<std::uint32_t>(i + 1))) + L"1";
        std::wstring text;
        if (!session.CellText(address, text)) return Fault::Open;
        titles.emplace_back(address);
        values.emplace_back(text);
    }
    return Fault::None;
}

// Every used cell of column `letters`, each followed by the record separator.
Fault ReadColumn(const CString& path, const CString& letters, std::wstring& batch) {
    SpreadsheetSession session(path);
    if (Fault fault = FaultOf(session); fault != Fault::None) return fault;
    long rows = 0;
    if (!session.UsedRows(rows)) return Fault::Open;
    const std::wstring separator(desktop::RecordSeparator.begin(), desktop::RecordSeparator.end());
    for (long r = 1; r <= rows; ++r) {
        std::wstring text;
        if (!session.CellText(letters.str() + std::to_wstring(r), text)) return Fault::Open;
        batch += text + separator;
    }
    return Fault::None;
}

}  // namespace

CColHead::CColHead(CBatchDialog* batch) : CDialogEx(IDD_COLHEAD, batch), m_pBatch(batch) {}
CColHead::~CColHead() = default;
CBatchDialog::~CBatchDialog() = default;

void CColHead::DoDataExchange(CDataExchange* dx) {
    CDialogEx::DoDataExchange(dx);
    DDX_Control(dx, ListId, m_list);
}

BOOL CColHead::OnInitDialog() {
    CDialogEx::OnInitDialog();
    m_header.Init(m_list.GetHeaderCtrl());
    return TRUE;
}

BOOL CColHead::OnCmdMsg(UINT id, int code) {
    if (id == IDOK && code == BN_CLICKED) {
        OnColHeadOK();
        return TRUE;
    }
    return CDialogEx::OnCmdMsg(id, code);
}

BOOL CColHead::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
    bool headerClick = hdr->code == HDN_ITEMCLICKW && m_list.m_hWnd && hdr->hwndFrom == m_list.GetHeaderCtrl();
    // Only a row that becomes selected chooses: the list's own changes while it is filled or
    // cleared choose nothing.
    bool rowChosen = false;
    if (hdr->code == LVN_ITEMCHANGED && hdr->idFrom == ListId) {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(hdr);
        rowChosen = (change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) &&
                    !(change->uOldState & LVIS_SELECTED);
    }
    if (headerClick || rowChosen) {
        OnColumnClick(hdr, result);
        return TRUE;
    }
    return CDialogEx::OnNotify(wParam, lParam, result);
}

void CColHead::AddColumn(const CString& title, const CString& value) {
    RECT client{};
    m_list.GetClientRect(&client);
    m_list.InsertColumn(m_nColumns, title, LVCFMT_LEFT, client.right / 5 * 2);
    if (m_list.GetItemCount() > 0)
        m_list.SetItemText(0, m_nColumns, value);
    else
        m_list.InsertItem(0, value);
    m_header.ShowOwnPicture(m_nColumns);
    ++m_nColumns;
}

void CColHead::ClearColumns() {
    for (int i = m_nColumns - 1; i >= 0; --i) m_list.DeleteColumn(i);
    m_list.DeleteAllItems();
    m_nColumns = 0;
    m_nChosen = 0;
    m_strChosen.Empty();
}

void CColHead::OnColumnClick(const NMHDR* notification, LRESULT* result) {
    m_nChosen = notification->code == LVN_ITEMCHANGED
                    ? reinterpret_cast<const NMLISTVIEW*>(notification)->iItem
                    : reinterpret_cast<const NMHEADERW*>(notification)->iItem;
    wchar_t title[257] = L"";
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = title;
    item.cchTextMax = 256;
    ::SendMessageW(m_list.GetHeaderCtrl(), HDM_GETITEMW, static_cast<WPARAM>(m_nChosen),
                   reinterpret_cast<LPARAM>(&item));
    m_strChosen = Wide(desktop::ChosenColumnLetters(Utf16(title)));
    ::MessageBoxW(m_hWnd, CString(L"Column ") + m_strChosen + L" has been chosen.", AfxGetAppName(), MB_OK);
    *result = 0;
}

void CColHead::OnColHeadOK() {
    if (m_pBatch && ::IsWindow(m_pBatch->m_hWnd) && !m_strChosen.IsEmpty())
        ReadExcelColumn(m_strChosen, *m_pBatch);
    OnOK();
}

int ImportExcel(const CString& path, CBatchDialog& batch) {
    CColHead* chooser = batch.m_pColHead.get();
    if (!chooser || !chooser->m_hWnd) return 0;
    std::vector<CString> titles, values;
    if (Fault fault = ReadFirstRow(path, titles, values); fault != Fault::None) {
        Report(fault, batch.m_hWnd);
        return 0;
    }
    chooser->ClearColumns();
    for (std::size_t i = 0; i < titles.size(); ++i) chooser->AddColumn(titles[i], values[i]);
    return 1;
}

int ReadExcelColumn(const CString& letters, CBatchDialog& batch) {
    if (letters.IsEmpty()) return 0;
    std::wstring text;
    if (Fault fault = ReadColumn(batch.SpreadsheetPath, letters, text); fault != Fault::None) {
        Report(fault, batch.m_hWnd);
        return 0;
    }
    // The fields typed since the last exchange stay: read them before writing them all back.
    if (batch.m_hWnd) batch.UpdateData(TRUE);
    batch.m_strBatch = CString(std::move(text));
    if (batch.m_hWnd) {
        batch.Invalidate();
        batch.UpdateData(FALSE);
    }
    return 1;
}
