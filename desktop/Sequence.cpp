#include "Sequence.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "BatchWork.h"
#include "ColHead.h"
#include "EncoderDlg.h"
#include "MyFileDlg.h"
#include "OptionDlg.h"
#include "StdioFileEx.h"
#include "batch.h"
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

// UTF-16 units a write of the export file takes at most.
constexpr std::size_t kWriteUnits = 65536;

using desktop::Utf16;
using desktop::Wide;

std::u16string U16(const CString& text) { return Utf16(text.str()); }

std::wstring GetText(HWND wnd) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(wnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(std::max(0, ::GetWindowTextW(wnd, text.data(), static_cast<int>(text.size())))));
    return text;
}

// The bytes of the file at `path`, read as part of `work`; false when it cannot be read or
// the user cancelled.
bool ReadWholeFile(const wchar_t* path, std::string& bytes, CBatchWork& work) {
    HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    ::GetFileSizeEx(file, &size);
    bool ok = true;
    char chunk[65536];
    DWORD got = 0;
    while ((ok = ::ReadFile(file, chunk, sizeof chunk, &got, nullptr) != 0) && got > 0) {
        bytes.append(chunk, got);
        if (!work.Continue(u"Reading", bytes.size(), static_cast<std::uint64_t>(size.QuadPart), u"bytes")) {
            ok = false;
            break;
        }
    }
    ::CloseHandle(file);
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
    // A large file takes a while: the batch as it was comes back when the user cancels.
    const CString before = m_strBatch;
    CBatchWork work(*this);
    // The first text file replaces the batch; further text files chosen with it add their
    // records after it, so none of the chosen files is lost.
    bool replaced = false;
    for (const CString& path : dialog.GetPathNames()) {
        if (work.Cancelled()) break;
        switch (desktop::ImportKindOf(U16(path))) {
        case desktop::ImportKind::Text: {
            if (!replaced) m_strBatch.Empty();
            replaced = true;
            std::string bytes;
            if (!ReadWholeFile(path, bytes, work)) break;
            std::u16string batch;
            if (desktop::ImportText(*m_pOwner, bytes, batch)) m_strBatch += CString(Wide(batch));
            break;
        }
        case desktop::ImportKind::Spreadsheet:
            SpreadsheetPath = path;
            if (ImportExcel(path, *this) == 1 && m_pColHead) m_pColHead->ShowWindow(SW_SHOW);
            break;
        case desktop::ImportKind::None: break;
        }
    }
    if (!work.Cancelled() && !FillBatchField(m_strBatch, work)) {
        work.EndCancel();
        FillBatchField(before, work);
    }
    if (work.Cancelled()) m_strBatch = before;
    UpdateData(FALSE);
}

bool CSequence::FillBatchField(const CString& text, CBatchWork& work) {
    HWND edit = ::GetDlgItem(m_hWnd, kBatch);
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
        if (!work.Continue(u"Importing", pieces.RecordsDone(), pieces.Records(), u"records")) {
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
    COptionDlg* pane = m_pOwner ? m_pOwner->m_pOptions.get() : nullptr;
    std::vector<wchar_t> output(kExportUnits);
    const desktop::RecordEncoder encode = [&](std::u16string_view record) {
        const std::wstring in(record.begin(), record.end());
        EncodeSelected(in.c_str(), output.data(), output.size(), pane);
        const std::wstring_view out(output.data());
        return std::u16string(out.begin(), out.end());
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

    CStdioFileEx file;
    if (!file.Open(path.c_str(), CStdioFileEx::modeCreate | CStdioFileEx::modeWrite | CStdioFileEx::modeWriteUnicode))
        return;
    // The text is UTF-16 as the file writes it (its mark first), written a part at a time.
    for (std::size_t at = 0; at < text.size(); at += kWriteUnits) {
        const std::u16string_view part = std::u16string_view(text).substr(at, kWriteUnits);
        file.WriteString(std::wstring(part.begin(), part.end()));
    }
    file.Close();
    if (!emptied.empty())
        ::MessageBoxW(m_hWnd, Wide(desktop::XslFoEmptiedNote(emptied)).c_str(), AfxGetAppName(), MB_OK);
}
