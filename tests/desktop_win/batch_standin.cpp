// The batch dialog as the column chooser's tests host it: the program's CSequence class with only
// what the chooser relies on. Its window (template 900 of the tests) shows the batch text in edit
// IDC_SEQ_BATCH, and it creates the chooser hidden when it starts, as the program's batch dialog does.
#include "ColHead.h"
#include "Sequence.h"
#include "resource.h"

CSequence::CSequence(CWnd*, COptionDlg* options) : CBatchDialog(900, nullptr), m_pOptions(options) {}
CSequence::~CSequence() = default;

BOOL CSequence::OnInitDialog() {
    CDialogEx::OnInitDialog();
    m_pColHead = std::make_unique<CColHead>(this);
    m_pColHead->Create(IDD_COLHEAD, this);
    return TRUE;
}

void CSequence::DoDataExchange(CDataExchange* dx) { DDX_Text(dx, IDC_SEQ_BATCH, m_strBatch); }
BOOL CSequence::OnCmdMsg(UINT id, int code) { return CDialogEx::OnCmdMsg(id, code); }
void CSequence::OnGenerate() {}
void CSequence::OnImport() {}
void CSequence::OnExport() {}
void CSequence::OnReset() {}
void CSequence::OnSequenceEdit() {}
