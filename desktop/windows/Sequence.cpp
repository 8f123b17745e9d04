#include "Sequence.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "BatchWork.h"
#include "MyFileDlg.h"
#include "OptionDlg.h"
#include "ShapingGuard.h"
#include "StdioFileEx.h"
#include "batch.h"
#include "batch_import.h"
#include "resource.h"
#include "windows_platform.h"

namespace {

// Capacity of the export's output buffer, in UTF-16 units.
constexpr std::size_t kExportUnits = 8192;

// UTF-16 units a write of the export file takes at most.
constexpr std::size_t kWriteUnits = 65536;

// Lines of an imported text file read between two looks at the windows.
constexpr std::size_t kLinesPerStep = 1024;

using desktop::Utf16;
using desktop::Wide;

std::u16string U16(const CString& text) { return Utf16(text.str()); }

std::wstring GetText(HWND wnd) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(wnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(std::max(0, ::GetWindowTextW(wnd, text.data(), static_cast<int>(text.size())))));
    return text;
}

// Reads the text file at `path` into `batch` (its lines as the batch text records them), as
// part of `work`; the message to show when it cannot be read whole, or "" (also when the user
// cancelled).
std::u16string ReadTextFile(const wchar_t* path, std::u16string& batch, CBatchWork& work) {
    batch.clear();
    CStdioFileEx file;
    if (!file.Open(path, CStdioFileEx::modeRead)) return desktop::ImportOpenFailed(Utf16(path));
    const auto length = static_cast<std::uint64_t>(std::max<LONGLONG>(file.GetLength(), 0));
    CString line;
    for (std::size_t lines = 1; file.ReadString(line); ++lines) {
        desktop::AppendImportedLine(batch, U16(line));
        if (lines % kLinesPerStep == 0 &&
            !work.Continue(u"Reading", static_cast<std::uint64_t>(std::max<LONGLONG>(file.GetPosition(), 0)), length, u"bytes"))
            return {};
    }
    if (file.Failed()) return desktop::ImportReadFailed(Utf16(path));
    desktop::EndImportedText(batch);
    if (const auto fault = desktop::FirstFieldFault(batch, desktop::WindowsPlatform().ShapingFails()))
        return desktop::ImportNotShowable(Utf16(path), *fault);
    return {};
}

// Writes `text` (UTF-16; the file writes its mark first) to `path` through a file beside it
// that then replaces it, a part at a time, so that a write that fails leaves any earlier file
// as it was; false when it fails.
bool WriteWholeFile(const std::wstring& path, std::u16string_view text) {
    const std::size_t slash = path.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash + 1);
    wchar_t temp[MAX_PATH] = L"";
    if (!::GetTempFileNameW(folder.c_str(), L"kv", 0, temp)) return false;
    CStdioFileEx file;
    bool ok = file.Open(temp, CStdioFileEx::modeCreate | CStdioFileEx::modeWrite | CStdioFileEx::modeWriteUnicode);
    for (std::size_t at = 0; ok && at < text.size(); at += kWriteUnits) {
        const std::u16string_view part = text.substr(at, kWriteUnits);
        ok = file.WriteString(std::wstring(part.begin(), part.end())) != FALSE;
    }
    ok = file.Close() && ok;
    ok = ok && ::MoveFileExW(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) ::DeleteFileW(temp);
    return ok;
}

}  // namespace

CSequence::CSequence(CWnd* parent, COptionDlg* options) : CBatchDialog(IDD_SEQUENCE, parent), m_pOptions(options) {}
CSequence::~CSequence() = default;

BOOL CSequence::OnInitDialog() {
    CDialogEx::OnInitDialog();
    GuardEditFields(m_hWnd);
    // The column chooser: created hidden; its template may be missing, then there is none.
    m_pColHead = std::make_unique<CColHead>(this);
    if (!m_pColHead->Create(IDD_COLHEAD, this)) m_pColHead.reset();
    else m_pColHead->ShowWindow(SW_HIDE);
    return TRUE;
}

void CSequence::DoDataExchange(CDataExchange* dx) {
    CDialogEx::DoDataExchange(dx);
    DDX_Control(dx, IDC_SEQ_GENERATE, m_btnGenerate);
    DDX_Control(dx, IDC_SEQ_IMPORT, m_btnImport);
    DDX_Control(dx, IDC_SEQ_EXPORT, m_btnExport);
    DDX_Control(dx, IDC_SEQ_RESET, m_btnReset);
    DDX_Control(dx, IDOK, m_btnClose);
    DDX_Text(dx, IDC_SEQ_START, m_strStart);
    DDX_Text(dx, IDC_SEQ_END, m_strEnd);
    DDX_Text(dx, IDC_SEQ_INCREMENT, m_strIncrement);
    DDX_Text(dx, IDC_SEQ_BATCH, m_strBatch);
    DDX_Text(dx, IDC_SEQ_PREFIX, m_strPrefix);
    DDX_Text(dx, IDC_SEQ_SUFFIX, m_strSuffix);
}

BOOL CSequence::OnCmdMsg(UINT id, int code) {
    if (code == EN_CHANGE && (id == IDC_SEQ_START || id == IDC_SEQ_END || id == IDC_SEQ_INCREMENT)) {
        OnSequenceEdit();
        return TRUE;
    }
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_SEQ_GENERATE: OnGenerate(); return TRUE;
        case IDC_SEQ_IMPORT: OnImport(); return TRUE;
        case IDC_SEQ_EXPORT: OnExport(); return TRUE;
        case IDC_SEQ_RESET: OnReset(); return TRUE;
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
    desktop::SequenceWork sequence(fields);
    const CString app = AfxGetAppName();
    for (const std::u16string& message : sequence.Messages())
        ::MessageBoxW(m_hWnd, Wide(message).c_str(), app, MB_OK);
    if (sequence.Refused()) return;
    // A long sequence takes a while, mostly in the batch field: the records are made and put
    // into the field a step at a time, and "Cancel" leaves the batch as it was.
    const CString before = m_strBatch;
    CBatchWork work(*this);
    while (!sequence.Finished()) {
        sequence.Step();
        if (!work.Continue(u"Numbering", sequence.Done(), sequence.Records(), u"records")) return;
    }
    m_strBatch = CString(Wide(sequence.Finish()));
    if (!FillBatchField(m_strBatch, work, u"Generating")) {
        work.EndCancel();
        FillBatchField(before, work, u"Generating");
        m_strBatch = before;
    }
    Invalidate();
    UpdateData(FALSE);
}

void CSequence::OnImport() {
    UpdateData(TRUE);
    CMyFileDlg dialog(TRUE, L"Data Files(*.txt;*.xls)|*.txt;*.xls;||", this, 1000);
    if (dialog.DoModal() != IDOK) return;
    // A name the import cannot read is never passed over in silence: when one is chosen,
    // nothing is read and the message names it.
    std::vector<std::u16string> unknown;
    for (const CString& path : dialog.GetPathNames())
        if (desktop::ImportKindOf(U16(path)) == desktop::ImportKind::None) unknown.push_back(U16(path));
    if (!unknown.empty()) {
        ::MessageBoxW(m_hWnd, Wide(desktop::ImportUnknownKind(unknown)).c_str(), AfxGetAppName(), MB_OK);
        return;
    }
    // A large file takes a while: the batch as it was comes back when the user cancels.
    const CString before = m_strBatch;
    std::optional<CBatchWork> work(std::in_place, *this);
    // The first text file replaces the batch; further text files chosen with it add their
    // records after it, so none of the chosen files is lost. The batch changes only when
    // every text file chosen has been read whole; one that cannot be read is named.
    std::u16string imported, failure;
    bool read = false;
    for (const CString& path : dialog.GetPathNames()) {
        if (work->Cancelled() || !failure.empty()) break;
        switch (desktop::ImportKindOf(U16(path))) {
        case desktop::ImportKind::Text: {
            std::u16string batch;
            failure = ReadTextFile(path, batch, *work);
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
    if (!failure.empty()) {
        work.reset();  // the windows it disabled answer the message box's owner again
        ::MessageBoxW(m_hWnd, Wide(failure).c_str(), AfxGetAppName(), MB_OK);
        return;
    }
    if (read && !work->Cancelled()) m_strBatch = CString(Wide(imported));
    if (!work->Cancelled() && !FillBatchField(m_strBatch, *work, u"Importing")) {
        work->EndCancel();
        FillBatchField(before, *work, u"Importing");
    }
    if (work->Cancelled()) m_strBatch = before;
    UpdateData(FALSE);
}

bool CSequence::FillBatchField(const CString& text, CBatchWork& work, std::u16string_view name) {
    HWND edit = ::GetDlgItem(m_hWnd, IDC_SEQ_BATCH);
    if (!edit || GetText(edit) == text.str()) return true;
    const std::u16string whole = U16(text);
    desktop::BatchPieces pieces(whole);
    std::u16string_view piece = pieces.Next();
    if (pieces.Done()) {
        // One piece: at once.
        ::SetWindowTextW(edit, text);
        return true;
    }
    // Hidden, the field does not scroll and paint at every piece; it takes the pieces whatever
    // its typing limit.
    const bool shown = ::IsWindowVisible(edit) != FALSE;
    ::ShowWindow(edit, SW_HIDE);
    const LRESULT limit = ::SendMessageW(edit, EM_GETLIMITTEXT, 0, 0);
    ::SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    ::SetWindowTextW(edit, L"");
    bool complete = true;
    // Each piece goes in at the caret, which stays at the end of the text.
    for (;; piece = pieces.Next()) {
        const std::wstring units(piece.begin(), piece.end());
        ::SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(units.c_str()));
        if (pieces.Done()) break;
        if (!work.Continue(name, pieces.RecordsDone(), pieces.Records(), u"records")) {
            complete = false;
            break;
        }
    }
    // At the top, as a text set at once shows it.
    ::SendMessageW(edit, EM_SETSEL, 0, 0);
    ::SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    ::SendMessageW(edit, EM_SETLIMITTEXT, static_cast<WPARAM>(limit), 0);
    if (shown) ::ShowWindow(edit, SW_SHOWNA);
    return complete;
}

void CSequence::OnExport() {
    UpdateData(TRUE);
    CMyFileDlg dialog(FALSE, L"TXT Files(*.txt)|*.txt|XSL-FO(*.xml)|*.xml||", this, 1000);
    if (dialog.DoModal() != IDOK) return;
    std::wstring path = static_cast<const wchar_t*>(dialog.GetPathName());
    if (!path.empty()) ::CharLowerBuffW(path.data(), static_cast<DWORD>(path.size()));
    const std::u16string batch = U16(m_strBatch);
    COptionDlg* pane = m_pOptions;
    const desktop::RecordEncoder encode = [&](std::u16string_view record) {
        return pane ? pane->state().Encode(std::u16string(record), kExportUnits) : std::u16string();
    };

    std::u16string text;
    std::vector<std::size_t> emptied;
    {
        std::optional<desktop::BatchExport> layout;
        if (dialog.m_nFilterIndex == 2) {
            LOGFONTW font{};
            CString size;
            if (pane) {
                pane->GetLogFont(&font);
                pane->GetFontSizeText(size);
            }
            layout.emplace(batch, Utf16(font.lfFaceName), U16(size));
        } else {
            layout.emplace(batch);
        }
        // Every record is encoded before the file is touched: a cancelled export writes nothing.
        CBatchWork work(*this);
        while (!layout->Finished()) {
            layout->Step(encode);
            if (!work.Continue(u"Exporting", layout->Done(), layout->Records(), u"records")) return;
        }
        text = layout->Finish();
        emptied = layout->Emptied();
    }
    if (!WriteWholeFile(path, text)) {
        ::MessageBoxW(m_hWnd, Wide(desktop::ExportWriteFailed(Utf16(path))).c_str(), AfxGetAppName(), MB_OK);
        return;
    }
    if (!emptied.empty())
        ::MessageBoxW(m_hWnd, Wide(desktop::XslFoEmptiedNote(emptied)).c_str(), AfxGetAppName(), MB_OK);
}
