// The "Print" tool: one page with the maker's name and address, the symbology, the face and
// the data, then the font text in the barcode face at 8, 10, 12 and 14 points (the postal
// rows once at 12). The page's texts come from output_texts.h; this file only places them.
#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "EncoderDlg.h"
#include "OptionDlg.h"
#include "output_texts.h"
#include "resource.h"

namespace {

// All pages, no page numbers, no selection, no print-to-file choice, copies and collation
// through the device mode.
constexpr DWORD kPrintDialogFlags =
    PD_ALLPAGES | PD_NOPAGENUMS | PD_NOSELECTION | PD_HIDEPRINTTOFILE | PD_USEDEVMODECOPIESANDCOLLATE;
static_assert(kPrintDialogFlags == 0x14000C);

// The encoded text is read into a buffer of this many units.
constexpr std::size_t kPrintOutputUnits = 8192;

using desktop::Utf16;
using desktop::Wide;

// A font description of `face` at `points` on the printer.
LOGFONTW PrinterFont(CDC* dc, const wchar_t* face, int points, LONG weight, bool italic) {
    LOGFONTW lf{};
    lf.lfHeight = -::MulDiv(points, dc->GetDeviceCaps(LOGPIXELSY), 72);
    lf.lfWeight = weight;
    lf.lfItalic = italic ? TRUE : FALSE;
    std::wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

UINT Layout(bool lines) { return DT_NOPREFIX | (lines ? 0u : static_cast<UINT>(DT_SINGLELINE)); }

// The rectangle `text` takes from the top-left of `area`.
CRect Measure(CDC* dc, const std::wstring& text, const RECT& area, bool lines) {
    CRect r(area);
    dc->DrawText(text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | Layout(lines));
    return r;
}

// Measures `text` and draws it at the measured rectangle; returns that rectangle.
CRect Place(CDC* dc, const std::wstring& text, const RECT& area, bool lines) {
    CRect r = Measure(dc, text, area, lines);
    dc->DrawText(text.c_str(), static_cast<int>(text.size()), &r, Layout(lines));
    return r;
}

struct PieceFonts {
    HFONT label, value, barcode;
};

// Places `pieces` from the draw rectangle's top: a piece that starts a line goes to the left
// edge, `blankLines` line steps below the previous line's bottom; the others follow on their
// line. Afterwards the rectangle's top is the bottom of the last line. The caller restores
// the DC's font.
void DrawPieces(CDC* dc, CRect& rect, const std::vector<desktop::PrintPiece>& pieces, const PieceFonts& fonts,
                int lineStep) {
    int x = rect.left, top = rect.top, bottom = rect.top;
    for (const desktop::PrintPiece& piece : pieces) {
        if (piece.newLine) {
            top = bottom + piece.blankLines * lineStep;
            bottom = top;
            x = rect.left;
        }
        switch (piece.font) {
        case desktop::PrintFont::Value: dc->SelectObject(fonts.value); break;
        case desktop::PrintFont::Barcode: dc->SelectObject(fonts.barcode); break;
        default: dc->SelectObject(fonts.label); break;
        }
        const CRect took = Place(dc, Wide(piece.text), CRect(x, top, rect.right, rect.bottom), piece.multiLine);
        x = took.right;
        bottom = std::max<int>(bottom, took.bottom);
    }
    rect.top = bottom;
}

}  // namespace

void CEncoderDlg::OnPrint() {
    // The dialog object frees the printer DC and the device blocks on every way out.
    CPrintDialog dialog(m_hWnd, kPrintDialogFlags | PD_RETURNDC);
    if (!dialog.DoModal() || !dialog.GetPrinterDC()) return;
    CDC dc;
    dc.Attach(dialog.GetPrinterDC());

    DOCINFOW doc{};
    doc.cbSize = sizeof doc;
    const std::wstring name = Wide(desktop::kPrintDocumentName);
    doc.lpszDocName = name.c_str();
    bool ok = ::StartDocW(dc, &doc) > 0;

    CPrintInfo info;
    info.m_rectDraw = CRect(0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
    PrintSetup(&dc, &info);
    for (UINT page = info.m_nFromPage; ok && page <= info.m_nToPage; ++page) {
        ok = ::StartPage(dc) > 0;
        if (!ok) break;
        PrintHeader(&dc, info.m_rectDraw);
        PrintBody(&dc, info.m_rectDraw);
        ok = ::EndPage(dc) > 0;
    }
    m_fontPrintHeader.DeleteObject();
    m_fontPrintLabel.DeleteObject();
    m_fontPrintValue.DeleteObject();
    m_fontPrintLink.DeleteObject();
    if (ok)
        ::EndDoc(dc);
    else
        ::AbortDoc(dc);
    dc.Detach();
}

void CEncoderDlg::PrintSetup(CDC* dc, CPrintInfo* info) {
    ::SetMapMode(*dc, MM_TEXT);
    const LOGFONTW header = PrinterFont(dc, L"Times New Roman", 16, FW_NORMAL, true);
    const LOGFONTW label = PrinterFont(dc, L"Times New Roman", 12, FW_NORMAL, false);
    const LOGFONTW value = PrinterFont(dc, L"Times New Roman", 12, FW_NORMAL, true);
    const LOGFONTW link = PrinterFont(dc, L"Arial", 12, FW_THIN, true);
    m_fontPrintHeader.CreateFontIndirect(&header);
    m_fontPrintLabel.CreateFontIndirect(&label);
    m_fontPrintValue.CreateFontIndirect(&value);
    m_fontPrintLink.CreateFontIndirect(&link);
    info->m_nFromPage = 1;
    info->m_nToPage = 1;
    const int marginX = dc->GetDeviceCaps(LOGPIXELSX) / 4, marginY = dc->GetDeviceCaps(LOGPIXELSY) / 4;
    info->m_rectDraw.left += marginX;
    info->m_rectDraw.right -= marginX;
    info->m_rectDraw.top += marginY;
    info->m_rectDraw.bottom -= marginY;
}

void CEncoderDlg::PrintHeader(CDC* dc, CRect& rect) {
    HGDIOBJ old = dc->SelectObject(m_fontPrintHeader);
    const CRect name = Place(dc, L"Kestrivo", rect, false);
    dc->SelectObject(m_fontPrintLink);
    wchar_t address[256] = {};
    ::LoadStringW(AfxGetResourceHandle(), IDS_WEB_ADDRESS, address, 256);
    const CRect link = Place(dc, address, CRect(rect.left, name.bottom, rect.right, rect.bottom), false);
    rect.top = link.bottom + link.Height();
    dc->SelectObject(old);
}

void CEncoderDlg::PrintBody(CDC* dc, CRect& rect) {
    HGDIOBJ old = dc->SelectObject(m_fontPrintLabel);
    m_nPrintLineStep = Measure(dc, L"123456ABC", rect, false).Height();

    LOGFONTW lf{};
    if (m_pOptions) m_pOptions->GetLogFont(&lf);
    const HWND field = ::GetDlgItem(m_hWnd, IDC_DATA);
    const std::u16string data = field ? desktop::WindowText(field) : std::u16string();
    const std::u16string encoded = m_state.Encode(data, kPrintOutputUnits);
    const std::u16string symbology = m_state.pCurrentAction ? m_state.pCurrentAction->szDisplayName : std::u16string();

    DrawPieces(dc, rect, desktop::PrintDataPieces(symbology, Utf16(lf.lfFaceName), data),
               {m_fontPrintLabel, m_fontPrintValue, nullptr}, m_nPrintLineStep);
    if (desktop::PrintedOnceAt12(symbology)) {
        PrintBarcodeAt12(dc, rect, desktop::WideText(encoded), lf.lfFaceName);
    } else {
        for (int size : desktop::kPrintPointSizes) PrintBarcodeAtSize(dc, rect, desktop::WideText(encoded), size, lf.lfFaceName);
    }
    dc->SelectObject(old);
}

void CEncoderDlg::PrintBarcodeAtSize(CDC* dc, CRect& rect, const wchar_t* encoded, int pointSize, const wchar_t* face) {
    LOGFONTW lf = PrinterFont(dc, face, pointSize, FW_NORMAL, false);
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = NONANTIALIASED_QUALITY;  // bars without grey edges
    CFont font;
    font.CreateFontIndirect(&lf);
    HGDIOBJ old = dc->SelectObject(m_fontPrintLabel);
    DrawPieces(dc, rect, desktop::PrintBarcodePieces(Utf16(encoded), pointSize, false),
               {m_fontPrintLabel, m_fontPrintValue, font}, m_nPrintLineStep);
    dc->SelectObject(old);
}

void CEncoderDlg::PrintBarcodeAt12(CDC* dc, CRect& rect, const wchar_t* encoded, const wchar_t* face) {
    LOGFONTW lf = PrinterFont(dc, face, 12, FW_NORMAL, false);
    lf.lfQuality = NONANTIALIASED_QUALITY;
    CFont font;
    font.CreateFontIndirect(&lf);
    HGDIOBJ old = dc->SelectObject(m_fontPrintLabel);
    DrawPieces(dc, rect, desktop::PrintBarcodePieces(Utf16(encoded), 12, true),
               {m_fontPrintLabel, m_fontPrintValue, font}, m_nPrintLineStep);
    dc->SelectObject(old);
}
