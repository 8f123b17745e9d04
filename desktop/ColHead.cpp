#include "ColHead.h"

#include "Sequence.h"
#include "resource.h"

CColHead::CColHead(CSequence* batch) : CDialogEx(IDD_COLHEAD, batch), m_pBatch(batch) {}
CColHead::~CColHead() = default;

int ImportExcel(const CString&, CSequence&) { return 0; }
int ReadExcelColumn(const CString&, CSequence&) { return 0; }
