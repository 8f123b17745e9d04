#include "Sequence.h"

#include <string>
#include <vector>

#include "ColHead.h"
#include "EncoderDlg.h"
#include "MyFileDlg.h"
#include "OptionDlg.h"
#include "StdioFileEx.h"
#include "batch.h"
#include "batch_import.h"
#include "resource.h"

namespace {

enum : int {
    kBatch = 1032,
    kReset = 1033,
    kStart = 1035,
    kEnd = 1036,
    kIncrement = 1037,
    kGenerate = 1038,
    kImport = 1039,
    kExport = 1040,
    kPrefix = 1041,
    kSuffix = 1042,
};

// Capacity of the export's output buffer, in UTF-16 units.
constexpr std::size_t kExportUnits = 8192;

using desktop::Utf16;
using desktop::Wide;

std::u16string U16(const CString& text) { return Utf16(text.str()); }

// Reads the text file at `path` into `batch` (its lines as the batch text records them);
// the message to show when it cannot be read whole, or "".
std::u16string ReadTextFile(const wchar_t* path, std::u16string& batch) {
    batch.clear();
    CStdioFileEx file;
    if (!file.Open(path, CStdioFileEx::modeRead)) return desktop::ImportOpenFailed(Utf16(path));
    CString line;
    while (file.ReadString(line)) desktop::AppendImportedLine(batch, U16(line));
    if (file.Failed()) return desktop::ImportReadFailed(Utf16(path));
    desktop::EndImportedText(batch);
    if (const auto fault = desktop::FirstFieldFault(batch)) return desktop::ImportNotShowable(Utf16(path), *fault);
    return {};
}

// Writes `text` to `path` through a file beside it that then replaces it, so that a write
// that fails leaves any earlier file as it was; false when it fails.
bool WriteWholeFile(const std::wstring& path, std::wstring_view text) {
    const std::size_t slash = path.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash + 1);
    wchar_t temp[MAX_PATH] = L"";
    if (!::GetTempFileNameW(folder.c_str(), L"kv", 0, temp)) return false;
    CStdioFileEx file;
    bool ok = file.Open(temp, CStdioFileEx::modeCreate | CStdioFileEx::modeWrite | CStdioFileEx::modeWriteUnicode);
    ok = ok && file.WriteString(text);
    ok = file.Close() && ok;
    ok = ok && ::MoveFileExW(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) ::DeleteFileW(temp);
    return ok;
}

}  // namespace

CSequence::CSequence(CEncoderDlg* parent) : CDialogEx(IDD_SEQUENCE, parent), m_pOwner(parent) {}
CSequence::~CSequence() = default;

BOOL CSequence::OnInitDialog() {
    CDialogEx::OnInitDialog();
    // The column chooser: created hidden; its template may be missing, then there is none.
    m_pColHead = std::make_unique<CColHead>(this);
    if (!m_pColHead->Create(IDD_COLHEAD, this)) m_pColHead.reset();
    else m_pColHead->ShowWindow(SW_HIDE);
    return TRUE;
}

void CSequence::DoDataExchange(CDataExchange* dx) {
    CDialogEx::DoDataExchange(dx);
    DDX_Control(dx, kGenerate, m_btnGenerate);
    DDX_Control(dx, kImport, m_btnImport);
    DDX_Control(dx, kExport, m_btnExport);
    DDX_Control(dx, kReset, m_btnReset);
    DDX_Control(dx, IDOK, m_btnClose);
    DDX_Text(dx, kStart, m_strStart);
    DDX_Text(dx, kEnd, m_strEnd);
    DDX_Text(dx, kIncrement, m_strIncrement);
    DDX_Text(dx, kBatch, m_strBatch);
    DDX_Text(dx, kPrefix, m_strPrefix);
    DDX_Text(dx, kSuffix, m_strSuffix);
}

BOOL CSequence::OnCmdMsg(UINT id, int code) {
    if (code == EN_CHANGE && (id == kStart || id == kEnd || id == kIncrement)) {
        OnSequenceEdit();
        return TRUE;
    }
    if (code == BN_CLICKED) {
        switch (id) {
        case kGenerate: OnGenerate(); return TRUE;
        case kImport: OnImport(); return TRUE;
        case kExport: OnExport(); return TRUE;
        case kReset: OnReset(); return TRUE;
        default: break;
        }
    }
    return CDialogEx::OnCmdMsg(id, code);
}

void CSequence::OnSequenceEdit() { UpdateData(TRUE); }

void CSequence::OnReset() {
    UpdateData(TRUE);
    m_strBatch.Empty();
    Invalidate();
    UpdateData(FALSE);
}

void CSequence::OnGenerate() {
    // What the user typed last counts, in every field.
    UpdateData(TRUE);
    desktop::SequenceFields fields;
    fields.prefix = U16(m_strPrefix);
    fields.start = U16(m_strStart);
    fields.end = U16(m_strEnd);
    fields.increment = U16(m_strIncrement);
    fields.suffix = U16(m_strSuffix);
    std::u16string batch = U16(m_strBatch);
    const desktop::SequenceResult result = desktop::GenerateSequence(fields, batch);
    const CString app = AfxGetAppName();
    for (const std::u16string& message : result.messages)
        ::MessageBoxW(m_hWnd, Wide(message).c_str(), app, MB_OK);
    if (!result.generated) return;
    m_strBatch = Wide(batch);
    Invalidate();
    UpdateData(FALSE);
}

void CSequence::OnImport() {
    UpdateData(TRUE);
    CMyFileDlg dialog(TRUE, L"Data Files(*.txt;*.xls)|*.txt;*.xls;||", this, 1000);
    if (dialog.DoModal() != IDOK) return;
    // The first text file replaces the batch; further text files chosen with it add their
    // records after it, so none of the chosen files is lost. The batch changes only when
    // every text file chosen has been read whole; one that cannot be read is named.
    std::u16string imported;
    bool read = false;
    for (const CString& path : dialog.GetPathNames()) {
        switch (desktop::ImportKindOf(U16(path))) {
        case desktop::ImportKind::Text: {
            std::u16string batch;
            const std::u16string failure = ReadTextFile(path, batch);
            if (!failure.empty()) {
                ::MessageBoxW(m_hWnd, Wide(failure).c_str(), AfxGetAppName(), MB_OK);
                return;
            }
            imported += batch;
            read = true;
            break;
        }
        case desktop::ImportKind::Spreadsheet:
            SpreadsheetPath = path;
            if (ImportExcel(path, *this) == 1 && m_pColHead) m_pColHead->ShowWindow(SW_SHOW);
            break;
        case desktop::ImportKind::None: break;
        }
    }
    if (read) m_strBatch = CString(Wide(imported));
    UpdateData(FALSE);
}

void CSequence::OnExport() {
    UpdateData(TRUE);
    CMyFileDlg dialog(FALSE, L"TXT Files(*.txt)|*.txt|XSL-FO(*.xml)|*.xml||", this, 1000);
    if (dialog.DoModal() != IDOK) return;
    std::wstring path = static_cast<const wchar_t*>(dialog.GetPathName());
    if (!path.empty()) ::CharLowerBuffW(path.data(), static_cast<DWORD>(path.size()));
    const std::u16string batch = U16(m_strBatch);
    COptionDlg* pane = m_pOwner ? m_pOwner->m_pOptions.get() : nullptr;
    std::vector<wchar_t> output(kExportUnits);
    const desktop::RecordEncoder encode = [&](std::u16string_view record) {
        const std::wstring in(record.begin(), record.end());
        EncodeSelected(in.c_str(), output.data(), output.size(), pane);
        const std::wstring_view out(output.data());
        return std::u16string(out.begin(), out.end());
    };

    std::string bytes;
    std::vector<std::size_t> emptied;
    if (dialog.m_nFilterIndex == 2) {
        LOGFONTW font{};
        CString size;
        if (pane) {
            pane->GetLogFont(&font);
            pane->GetFontSizeText(size);
        }
        bytes = desktop::XslFoExportLayout(batch, encode, Utf16(font.lfFaceName), U16(size), &emptied);
    } else {
        bytes = desktop::TxtExportLayout(batch, encode);
    }
    // The layout's bytes are UTF-16LE after the mark, which the file writes itself.
    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                     static_cast<unsigned char>(bytes[i + 1]) << 8);
    if (!WriteWholeFile(path, text)) {
        ::MessageBoxW(m_hWnd, Wide(desktop::ExportWriteFailed(Utf16(path))).c_str(), AfxGetAppName(), MB_OK);
        return;
    }
    if (!emptied.empty() && m_pOwner) m_pOwner->SetMessageLine(desktop::XslFoEmptiedNote(emptied));
}
