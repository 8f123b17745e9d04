#include "Sequence.h"

#include "ColHead.h"
#include "EncoderDlg.h"
#include "resource.h"

CSequence::CSequence(CEncoderDlg* parent) : CDialogEx(IDD_SEQUENCE, parent), m_pOwner(parent) {}
CSequence::~CSequence() = default;

BOOL CSequence::OnInitDialog() { return CDialogEx::OnInitDialog(); }
void CSequence::DoDataExchange(CDataExchange*) {}
BOOL CSequence::OnCmdMsg(UINT id, int code) { return CDialogEx::OnCmdMsg(id, code); }
void CSequence::OnGenerate() {}
void CSequence::OnImport() {}
void CSequence::OnExport() {}
void CSequence::OnReset() {}
void CSequence::OnSequenceEdit() {}
