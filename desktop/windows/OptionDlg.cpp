#include "OptionDlg.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cwchar>
#include <string>

#include "ShapingGuard.h"
#include "resource.h"
#include "windows_platform.h"

namespace {

using desktop::kKindAztec;
using desktop::kKindDataMatrix;
using desktop::kKindIntelligentMail;
using desktop::kKindMaxicode;
using desktop::kKindPdf417;
using desktop::kKindQRCode;
using desktop::Utf16;
using desktop::Wide;

// Pixel places of the pane's controls (x, y, width, height). The Maxicode list and its label
// keep their template places. A drop-down list keeps room for its open list below the box.
struct Place {
    int id, x, y, w, h;
};
constexpr Place kPlaces[] = {
    {IDC_SYMBOLOGY_LABEL, 10, 10, 70, 20}, {IDC_SYMBOLOGY, 90, 10, 150, 20},
    {IDC_HUMAN_READABLE, 10, 35, 80, 20}, {IDC_CHECKSUM, 140, 35, 80, 20},
    {IDC_FACE_LABEL, 10, 60, 80, 20}, {IDC_FACE, 10, 80, 120, 20},
    {IDC_SIZE_LABEL, 140, 60, 80, 20}, {IDC_POINT_SIZE, 140, 80, 60, 20},
    {IDC_ENCODATION_LABEL, 10, 110, 80, 20}, {IDC_DM_ENCODATION, 10, 130, 120, 20},
    {IDC_DM_FORMAT_LABEL, 140, 110, 80, 20}, {IDC_DM_FORMAT, 140, 130, 120, 20},
    {IDC_GS1, 10, 170, 120, 20},
    {IDC_QR_LABEL, 10, 110, 120, 20}, {IDC_QR_ECLEVEL, 10, 130, 120, 20},
    {IDC_PDF_LEVEL_LABEL, 10, 110, 120, 20}, {IDC_PDF_COMPACTION_LABEL, 140, 110, 120, 20},
    {IDC_PDF_SECURITY, 10, 130, 120, 20}, {IDC_PDF_COMPACTION, 140, 130, 120, 20},
    {IDC_PDF_ROWS_LABEL, 10, 155, 50, 20}, {IDC_PDF_ROWS, 70, 155, 30, 20},
    {IDC_PDF_COLUMNS_LABEL, 140, 155, 80, 20}, {IDC_PDF_COLUMNS, 225, 155, 30, 20},
    {IDC_PDF_TRUNCATED, 10, 175, 120, 20},
    {IDC_AZTEC_FORMAT_LABEL, 10, 110, 120, 20}, {IDC_AZTEC_FORMAT, 10, 130, 120, 20},
    {IDC_AZTEC_LEVEL_LABEL, 10, 155, 80, 20}, {IDC_AZTEC_LEVEL, 95, 155, 50, 20},
    {IDC_IM_ID_LABEL, 10, 110, 120, 20}, {IDC_IM_ID, 10, 130, 120, 20},
    {IDC_IM_SERVICE_LABEL, 140, 110, 120, 20}, {IDC_IM_SERVICE, 140, 130, 120, 20},
    {IDC_IM_MAILER_LABEL, 10, 155, 80, 20}, {IDC_IM_MAILER, 10, 175, 80, 20},
    {IDC_IM_SERIAL_LABEL, 95, 155, 80, 20}, {IDC_IM_SERIAL, 95, 175, 80, 20},
    {IDC_IM_ZIP_LABEL, 180, 155, 80, 20}, {IDC_IM_ZIP, 180, 175, 80, 20},
    {IDOK, 10, 260, 40, 20},
};
constexpr int kDroppedHeight = 220;

bool IsList(int id) {
    switch (id) {
    case IDC_SYMBOLOGY: case IDC_FACE: case IDC_POINT_SIZE: case IDC_DM_ENCODATION: case IDC_DM_FORMAT:
    case IDC_QR_ECLEVEL: case IDC_PDF_SECURITY: case IDC_PDF_COMPACTION: case IDC_AZTEC_FORMAT:
    case IDC_AZTEC_LEVEL: case IDC_MAXICODE_MODE:
        return true;
    default:
        return false;
    }
}

// Every option control, and which kind shows it.
struct OptionControl {
    int id;
    std::uint32_t kind;
};
constexpr OptionControl kOptionControls[] = {
    {IDC_IM_ID_LABEL, kKindIntelligentMail}, {IDC_IM_ID, kKindIntelligentMail},
    {IDC_IM_SERVICE_LABEL, kKindIntelligentMail}, {IDC_IM_SERVICE, kKindIntelligentMail},
    {IDC_IM_MAILER_LABEL, kKindIntelligentMail}, {IDC_IM_MAILER, kKindIntelligentMail},
    {IDC_IM_SERIAL_LABEL, kKindIntelligentMail}, {IDC_IM_SERIAL, kKindIntelligentMail},
    {IDC_IM_ZIP_LABEL, kKindIntelligentMail}, {IDC_IM_ZIP, kKindIntelligentMail},
    {IDC_ENCODATION_LABEL, kKindDataMatrix}, {IDC_DM_ENCODATION, kKindDataMatrix},
    {IDC_DM_FORMAT_LABEL, kKindDataMatrix}, {IDC_DM_FORMAT, kKindDataMatrix}, {IDC_GS1, kKindDataMatrix},
    {IDC_PDF_LEVEL_LABEL, kKindPdf417}, {IDC_PDF_COMPACTION_LABEL, kKindPdf417}, {IDC_PDF_SECURITY, kKindPdf417},
    {IDC_PDF_COMPACTION, kKindPdf417}, {IDC_PDF_ROWS_LABEL, kKindPdf417}, {IDC_PDF_ROWS, kKindPdf417},
    {IDC_PDF_COLUMNS_LABEL, kKindPdf417}, {IDC_PDF_COLUMNS, kKindPdf417}, {IDC_PDF_TRUNCATED, kKindPdf417},
    {IDC_QR_LABEL, kKindQRCode}, {IDC_QR_ECLEVEL, kKindQRCode},
    {IDC_AZTEC_FORMAT_LABEL, kKindAztec}, {IDC_AZTEC_FORMAT, kKindAztec},
    {IDC_AZTEC_LEVEL_LABEL, kKindAztec}, {IDC_AZTEC_LEVEL, kKindAztec},
    {IDC_MAXICODE_LABEL, kKindMaxicode}, {IDC_MAXICODE_MODE, kKindMaxicode},
};

constexpr int kPointSizes[] = {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 32, 48};

void ApplyBox(HWND box, const desktop::CheckBoxState& state) {
    ::ShowWindow(box, state.shown ? SW_SHOW : SW_HIDE);
    ::EnableWindow(box, state.enabled);
}

// Opens the list at least as wide as its longest entry, so that no entry is cut.
void FitDroppedWidth(CComboBox& list) {
    HDC dc = ::GetDC(list.m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(list.m_hWnd, WM_GETFONT, 0, 0)));
    int widest = 0;
    const int n = list.GetCount();
    for (int i = 0; i < n; ++i) {
        CString text;
        list.GetLBText(i, text);
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text, text.GetLength(), &size);
        widest = std::max<int>(widest, size.cx);
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(list.m_hWnd, dc);
    // Room for the item's margins, the list's frame and its scroll bar.
    ::SendMessageW(list.m_hWnd, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(widest + ::GetSystemMetrics(SM_CXVSCROLL) + 10), 0);
}

template <std::size_t N>
void Fill(CComboBox& list, const std::array<std::u16string_view, N>& entries, int selected) {
    list.ResetContent();
    for (auto entry : entries) list.AddString(Wide(entry).c_str());
    list.SetCurSel(selected);
    FitDroppedWidth(list);
}

// A greyed check box draws its label again in the grey of disabled text, as smoothly as an
// enabled label: the system's own greyed label is drawn through a one-bit picture, which loses
// the thin strokes of the pane's small font and leaves words that look cut ("Checksum").
void DrawGreyedLabel(HWND box) {
    const int length = ::GetWindowTextLengthW(box);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(box, text.data(), length + 1)));
    HDC dc = ::GetDC(box);
    HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(box, WM_GETFONT, 0, 0)));
    // The label's place: where the system puts the enabled label, right of the box (13 pixels
    // at 96 dpi) by half a digit and a pixel.
    const int boxWidth = 12 * ::GetDeviceCaps(dc, LOGPIXELSX) / 96 + 1;
    INT digit = 0;
    ::GetCharWidthW(dc, L'0', L'0', &digit);
    RECT label{};
    ::GetClientRect(box, &label);
    label.left += boxWidth + digit / 2 + 1;
    auto brush = reinterpret_cast<HBRUSH>(
        ::SendMessageW(::GetParent(box), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(box)));
    ::FillRect(dc, &label, brush ? brush : ::GetSysColorBrush(COLOR_BTNFACE));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(box, dc);
}

// The box paints itself on WM_PAINT and at once when it is greyed, checked or given a text.
LRESULT CALLBACK GreyedLabelProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    const LRESULT result = ::DefSubclassProc(box, message, wParam, lParam);
    switch (message) {
    case WM_PAINT: case WM_ENABLE: case WM_SETTEXT: case BM_SETCHECK: case BM_SETSTATE: case WM_UPDATEUISTATE:
        if (!::IsWindowEnabled(box) && ::IsWindowVisible(box)) DrawGreyedLabel(box);
        break;
    default:
        break;
    }
    return result;
}

}  // namespace

COptionDlg::COptionDlg(desktop::EncoderState& state, desktop::EncoderHost& main)
    : CDialogEx(IDD_OPTIONS), m_state(state), m_main(main) {
    m_hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_OPTIONS));
}

// The current row points into the pane's table.
COptionDlg::~COptionDlg() { m_state.pCurrentAction = nullptr; }

void COptionDlg::DoDataExchange(CDataExchange* dx) {
    desktop::OptionSettings& s = m_state.options;
    DDX_Control(dx, IDC_SYMBOLOGY, m_cbSymbology);
    DDX_Control(dx, IDC_DM_FORMAT, m_cbDMFormat);
    DDX_Control(dx, IDC_DM_ENCODATION, m_cbDMEncodation);
    DDX_Control(dx, IDC_QR_ECLEVEL, m_cbQRLevel);
    DDX_Control(dx, IDC_PDF_SECURITY, m_cbPDFLevel);
    DDX_Control(dx, IDC_PDF_COMPACTION, m_cbPDFCompaction);
    DDX_Control(dx, IDC_AZTEC_FORMAT, m_cbAztecFormat);
    DDX_Control(dx, IDC_AZTEC_LEVEL, m_cbAztecLevel);
    DDX_Control(dx, IDC_MAXICODE_MODE, m_cbMaxicodeMode);
    DDX_Control(dx, IDC_FACE, m_cbFace);
    DDX_Control(dx, IDC_POINT_SIZE, m_cbPointSize);
    DDX_Control(dx, IDOK, m_btnClose);
    DDX_Check(dx, IDC_HUMAN_READABLE, s.HumanReadable);
    DDX_Check(dx, IDC_CHECKSUM, s.AddChecksum);
    DDX_Text(dx, IDC_PDF_ROWS, s.PDF417MaxRows);
    DDX_Text(dx, IDC_PDF_COLUMNS, s.PDF417FixedColumns);
    struct Field {
        int id;
        std::u16string& value;
    } fields[] = {{IDC_IM_ID, s.IMBarcodeIdentifier}, {IDC_IM_SERVICE, s.IMServiceTypeIdentifier},
                  {IDC_IM_MAILER, s.IMMailerIdentifier}, {IDC_IM_SERIAL, s.IMSerialNumber},
                  {IDC_IM_ZIP, s.IMZipCode}};
    for (Field& f : fields) {
        CString text(Wide(f.value));
        DDX_Text(dx, f.id, text);
        if (dx->m_bSaveAndValidate) f.value = Utf16(text.str());
    }
}

BOOL COptionDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    GuardEditFields(m_hWnd);
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    arrActions = desktop::BuildSymbologyTable();
    desktop::CheckSymbologyFonts(arrActions, [this](std::u16string_view face) {
        return m_state.session.platform.IsFontInstalled(face);
    });
    if (!FillSymbologyList()) return FALSE;
    FillOptionLists();
    for (int id : {IDC_HUMAN_READABLE, IDC_CHECKSUM})
        if (HWND box = ::GetDlgItem(m_hWnd, id)) ::SetWindowSubclass(box, GreyedLabelProc, 1, 0);
    m_state.options.HumanReadable = 1;
    m_bStarted = true;
    OnSymbologyChanged(0);
    FillPointSizes();
    return TRUE;
}

int COptionDlg::FillSymbologyList() {
    m_cbSymbology.ResetContent();
    const std::vector<std::u16string> listed = desktop::ListedSymbologies(arrActions);
    for (const auto& name : listed) m_cbSymbology.AddString(Wide(name).c_str());
    if (listed.empty()) {
        const CString app = AfxGetAppName();
        ::MessageBoxW(m_hWnd, L"Installation error. Please reinstall.", app, MB_OK | MB_ICONSTOP);
        ::PostQuitMessage(0);
        return 0;
    }
    m_cbSymbology.SetCurSel(desktop::SelectDefaultSymbology(m_state.session.platform, listed));
    FitDroppedWidth(m_cbSymbology);
    return 1;
}

void COptionDlg::FillOptionLists() {
    desktop::OptionSettings& s = m_state.options;
    Fill(m_cbQRLevel, desktop::kQRCodeECLevelEntries, s.QRCodeECLevel);
    Fill(m_cbDMEncodation, desktop::kDataMatrixEncodationEntries, s.DataMatrixEncodation);
    Fill(m_cbMaxicodeMode, desktop::kMaxicodeModeEntries, s.MaxicodeMode);
    Fill(m_cbDMFormat, desktop::kDataMatrixFormatEntries, s.DataMatrixFormat);
    Fill(m_cbPDFLevel, desktop::kPDF417SecurityLevelEntries, s.PDF417SecurityLevel);
    Fill(m_cbPDFCompaction, desktop::kPDF417CompactionModeEntries, s.PDF417CompactionMode);
    Fill(m_cbAztecFormat, desktop::kAztecPreferredFormatEntries, s.AztecPreferredFormat);
    Fill(m_cbAztecLevel, desktop::kAztecECLevelEntries, s.AztecECLevel);
}

void COptionDlg::FillPointSizes() {
    m_cbPointSize.ResetContent();
    for (int size : kPointSizes) m_cbPointSize.AddString(std::to_wstring(size).c_str());
    m_cbPointSize.SetCurSel(6);
}

void COptionDlg::FillFontFaces(int keepIndex) {
    m_cbFace.ResetContent();
    if (!m_state.pCurrentAction) return;
    const auto faces = desktop::FontFaces(*m_state.pCurrentAction, m_state.options.HumanReadable,
                                          [this](std::u16string_view face) {
                                              return m_state.session.platform.IsFontInstalled(face);
                                          });
    for (const auto& face : faces) m_cbFace.AddString(Wide(face).c_str());
    const int selected = desktop::SelectFontFace(faces, *m_state.pCurrentAction, keepIndex);
    if (selected >= 0) m_cbFace.SetCurSel(selected);
    FitDroppedWidth(m_cbFace);
}

void COptionDlg::OnSymbologyChanged(int fromChecksum) {
    const int sel = m_cbSymbology.GetCurSel();
    if (sel < 0) return;
    CString name;
    m_cbSymbology.GetLBText(sel, name);
    const desktop::SymbologyAction* row = desktop::FindSymbology(arrActions, Utf16(name.str()));
    if (!row) return;
    m_state.pCurrentAction = row;
    ShowSymbologyOptions();
    m_main.OnRowChanged();
    if (fromChecksum == 0) m_main.SetDataField(row->szSampleData);
    FillFontFaces(-1);
    if (fromChecksum == 1) return;
    desktop::OptionSettings& s = m_state.options;
    ApplyBox(::GetDlgItem(m_hWnd, IDC_CHECKSUM), desktop::ApplyChecksumMode(row->nAttr1, s.AddChecksum));
    ApplyBox(::GetDlgItem(m_hWnd, IDC_HUMAN_READABLE),
             desktop::ApplyHumanReadableMode(row->nAttr3, s.HumanReadable));
    ::CheckDlgButton(m_hWnd, IDC_CHECKSUM, s.AddChecksum ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_HUMAN_READABLE, s.HumanReadable ? BST_CHECKED : BST_UNCHECKED);
    m_main.OnChangeData();
    m_main.Repaint();
}

void COptionDlg::ShowSymbologyOptions() {
    const std::uint32_t kind = m_state.Kind();
    for (const OptionControl& c : kOptionControls) {
        HWND control = ::GetDlgItem(m_hWnd, c.id);
        const bool shown = c.kind == kind;
        ::ShowWindow(control, shown ? SW_SHOW : SW_HIDE);
        if (IsList(c.id)) ::EnableWindow(control, shown);
    }
    if (kind == kKindPdf417)
        ::CheckDlgButton(m_hWnd, IDC_PDF_TRUNCATED, m_state.options.PDF417Truncate == 1 ? BST_CHECKED : BST_UNCHECKED);
}

void COptionDlg::GetLogFont(LOGFONTW* lf) {
    const int face = m_cbFace.m_hWnd ? m_cbFace.GetCurSel() : -1;
    CString name;
    if (face >= 0) m_cbFace.GetLBText(face, name);
    // A face name that does not fit the 32-unit field is not cut to another face: none is set.
    if (name.GetLength() < LF_FACESIZE)
        std::wcsncpy(lf->lfFaceName, name, LF_FACESIZE);
    else
        lf->lfFaceName[0] = L'\0';
    lf->lfFaceName[LF_FACESIZE - 1] = L'\0';
    const int size = m_cbPointSize.m_hWnd ? m_cbPointSize.GetCurSel() : -1;
    if (size >= 0) {
        CString text;
        m_cbPointSize.GetLBText(size, text);
        lf->lfHeight = 10 * _wtoi(text);
    } else {
        lf->lfHeight = 120;
    }
    lf->lfWeight = FW_NORMAL;
    lf->lfItalic = FALSE;
    lf->lfUnderline = FALSE;
}

void COptionDlg::GetFontSizeText(CString& text) {
    const int size = m_cbPointSize.GetCurSel();
    if (size >= 0)
        m_cbPointSize.GetLBText(size, text);
    else
        m_cbPointSize.GetWindowText(text);
}

LRESULT COptionDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kCheckIMField) {
        OnKillFocusIMField(static_cast<UINT>(wParam));
        return 0;
    }
    if (message == WM_PAINT) {
        OnPaint();
        return CDialogEx::WindowProc(message, wParam, lParam);
    }
    return CDialogEx::WindowProc(message, wParam, lParam);
}

void COptionDlg::OnPaint() {
    if (::IsIconic(m_hWnd)) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(m_hWnd, &ps);
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        ::DrawIcon(dc, (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2,
                   (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2, m_hIcon);
        ::EndPaint(m_hWnd, &ps);
        return;
    }
    for (const Place& p : kPlaces) {
        HWND control = ::GetDlgItem(m_hWnd, p.id);
        if (!control) continue;
        const int h = IsList(p.id) ? kDroppedHeight : p.h;
        const int w = std::max(p.w, FittedWidth(control));
        RECT now;
        ::GetWindowRect(control, &now);
        POINT at{now.left, now.top};
        ::ScreenToClient(m_hWnd, &at);
        if (at.x != p.x || at.y != p.y || now.right - now.left != w)
            ::MoveWindow(control, p.x, p.y, w, h, TRUE);
    }
}

// The width a label or check box needs to show its whole text in its font (the pane's font is
// wider on some systems than the places above allow for); 0 for every other control.
int COptionDlg::FittedWidth(HWND control) {
    wchar_t cls[16] = {};
    ::GetClassNameW(control, cls, 16);
    const LONG style = ::GetWindowLongW(control, GWL_STYLE);
    const bool label = ::lstrcmpiW(cls, L"Static") == 0;
    const bool check = ::lstrcmpiW(cls, L"Button") == 0 &&
                       ((style & BS_TYPEMASK) == BS_AUTOCHECKBOX || (style & BS_TYPEMASK) == BS_CHECKBOX);
    if (!label && !check) return 0;
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    text.erase(std::remove(text.begin(), text.end(), L'&'), text.end());  // the mnemonic mark
    HDC dc = ::GetDC(control);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    // A check box draws its box and a gap before the text, its focus frame around it, and a
    // disabled text embossed one pixel wider.
    return check ? size.cx + ::GetSystemMetrics(SM_CXMENUCHECK) + 24 : size.cx + 2;
}

void COptionDlg::OnSelOption(CComboBox& list, std::int32_t& setting) {
    const int sel = list.GetCurSel();
    if (sel >= 0) setting = sel;
}

void COptionDlg::ShowComposed() {
    m_main.UpdatePreview(desktop::ComposeIMData(m_state.options));
}

namespace {
// The index of an Intelligent Mail field in the pane's memory of refusals, or -1.
int IMFieldIndex(UINT id) {
    switch (id) {
    case IDC_IM_ID: return 0;
    case IDC_IM_SERVICE: return 1;
    case IDC_IM_MAILER: return 2;
    case IDC_IM_SERIAL: return 3;
    case IDC_IM_ZIP: return 4;
    default: return -1;
    }
}
}  // namespace

void COptionDlg::OnChangeIMField(UINT id) {
    if (const int i = IMFieldIndex(id); i >= 0) m_imTold[static_cast<std::size_t>(i)] = false;
    UpdateData(TRUE);
    ShowComposed();
    Invalidate(TRUE);
}

void COptionDlg::OnKillFocusIMField(UINT id) {
    const int index = IMFieldIndex(id);
    if (index < 0 || m_bShowingRefusal) return;
    UpdateData(TRUE);
    const desktop::OptionSettings& s = m_state.options;
    const wchar_t* refusal = nullptr;
    switch (id) {
    case IDC_IM_ID:
        if (!(s.IMBarcodeIdentifier.size() == 2 && s.IMBarcodeIdentifier[1] >= u'0' && s.IMBarcodeIdentifier[1] <= u'4'))
            refusal = L"The second digit of Barcode Identifier must be between 0 and 4.";
        break;
    case IDC_IM_SERVICE:
        if (s.IMServiceTypeIdentifier.size() != 3) refusal = L"Service Type Identifier must be 3-digits long.";
        break;
    case IDC_IM_MAILER:
        if (s.IMMailerIdentifier.size() != 6 && s.IMMailerIdentifier.size() != 9)
            refusal = L"Mail Identifier must be either 6-digits or 9-digits long.";
        break;
    case IDC_IM_SERIAL: {
        const std::size_t n = s.IMSerialNumber.size();
        if (!((n == 6 || n == 9) && n + s.IMMailerIdentifier.size() == 15))
            refusal = L"Serial Number must be either 6-digits or 9-digits long.";
        break;
    }
    case IDC_IM_ZIP: {
        const std::size_t n = s.IMZipCode.size();
        if (n != 0 && n != 5 && n != 9 && n != 11)
            refusal = L"Delivery Point Zipcode shall be either 5, 9, or 11 digits.";
        break;
    }
    default:
        break;
    }
    bool& told = m_imTold[static_cast<std::size_t>(index)];
    if (!refusal) {
        told = false;
        ShowComposed();
    } else if (!told) {
        told = true;
        m_bShowingRefusal = true;
        ::MessageBoxW(m_hWnd, refusal, L"Encoder", MB_OK);
        m_bShowingRefusal = false;
    }
    Invalidate(TRUE);
}

bool COptionDlg::OnBoxClicked(UINT id) {
    desktop::OptionSettings& s = m_state.options;
    switch (id) {
    case IDC_HUMAN_READABLE:
        s.HumanReadable = desktop::Flipped(s.HumanReadable);
        FillFontFaces(m_cbFace.GetCurSel());
        ::CheckDlgButton(m_hWnd, IDC_HUMAN_READABLE, s.HumanReadable ? BST_CHECKED : BST_UNCHECKED);
        m_main.Repaint();
        return true;
    case IDC_CHECKSUM:
        s.AddChecksum = desktop::Flipped(s.AddChecksum);
        FillFontFaces(m_cbFace.GetCurSel());
        OnSymbologyChanged(1);
        ::CheckDlgButton(m_hWnd, IDC_CHECKSUM, s.AddChecksum ? BST_CHECKED : BST_UNCHECKED);
        // The user's text stays and is encoded again with the new setting.
        m_main.OnChangeData();
        return true;
    case IDC_GS1:
        s.GS1Mode = desktop::Flipped(s.GS1Mode);
        ::CheckDlgButton(m_hWnd, IDC_GS1, s.GS1Mode ? BST_CHECKED : BST_UNCHECKED);
        m_main.Repaint();
        return true;
    case IDC_PDF_TRUNCATED:
        s.PDF417Truncate = desktop::Flipped(s.PDF417Truncate);
        ::CheckDlgButton(m_hWnd, IDC_PDF_TRUNCATED, s.PDF417Truncate == 1 ? BST_CHECKED : BST_UNCHECKED);
        return true;
    default:
        return false;
    }
}

bool COptionDlg::OnListChosen(UINT id) {
    desktop::OptionSettings& s = m_state.options;
    switch (id) {
    case IDC_SYMBOLOGY:
        s.HumanReadable = 1;
        OnSymbologyChanged(0);
        return true;
    case IDC_FACE:
    case IDC_POINT_SIZE:
        m_main.Repaint();
        return true;
    case IDC_MAXICODE_MODE: OnSelOption(m_cbMaxicodeMode, s.MaxicodeMode); return true;
    case IDC_DM_ENCODATION: OnSelOption(m_cbDMEncodation, s.DataMatrixEncodation); return true;
    case IDC_DM_FORMAT: OnSelOption(m_cbDMFormat, s.DataMatrixFormat); return true;
    case IDC_QR_ECLEVEL: OnSelOption(m_cbQRLevel, s.QRCodeECLevel); return true;
    case IDC_PDF_SECURITY: OnSelOption(m_cbPDFLevel, s.PDF417SecurityLevel); return true;
    case IDC_PDF_COMPACTION: OnSelOption(m_cbPDFCompaction, s.PDF417CompactionMode); return true;
    case IDC_AZTEC_FORMAT: OnSelOption(m_cbAztecFormat, s.AztecPreferredFormat); return true;
    case IDC_AZTEC_LEVEL: OnSelOption(m_cbAztecLevel, s.AztecECLevel); return true;
    default:
        return false;
    }
}

bool COptionDlg::OnFieldNotified(UINT id, int code) {
    if (id == IDC_PDF_ROWS || id == IDC_PDF_COLUMNS) {
        UpdateData(TRUE);
        Invalidate(TRUE);
        return true;
    }
    if (IMFieldIndex(id) < 0) return false;
    if (code == EN_CHANGE)
        OnChangeIMField(id);
    else if (!m_bShowingRefusal)
        PostMessage(kCheckIMField, id);
    return true;
}

BOOL COptionDlg::OnCmdMsg(UINT id, int code) {
    // Nothing the pane raises while it fills its own controls is the user's.
    if (!m_bStarted) return id == IDOK || id == IDCANCEL ? CDialogEx::OnCmdMsg(id, code) : TRUE;
    bool handled = false;
    switch (code) {
    case BN_CLICKED: handled = OnBoxClicked(id); break;
    case CBN_SELENDOK: handled = OnListChosen(id); break;
    case CBN_SELCHANGE:
    case static_cast<int>(NM_RETURN):
        // A face or size chosen with the keyboard (arrow keys in the box, Enter or Escape
        // closing its list) is painted as one chosen with the mouse: the painted symbol always
        // has the face and size the boxes show.
        if (id == IDC_FACE || id == IDC_POINT_SIZE) {
            m_main.Repaint();
            handled = true;
        }
        break;
    case EN_KILLFOCUS:
    case EN_CHANGE: handled = OnFieldNotified(id, code); break;
    default: break;
    }
    return handled ? TRUE : CDialogEx::OnCmdMsg(id, code);
}
