#include "EncoderDlg.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "AboutDlg.h"
#include "Keyboard.h"
#include "OptionDlg.h"
#include "Sequence.h"
#include "ShapingGuard.h"
#include "loss.h"
#include "output_texts.h"
#include "preview.h"
#include "resource.h"

namespace {

struct ToolButton {
    const wchar_t* tip;
    RECT rect;  // client pixels
};

// Ids IDC_TOOL_FIRST + index.
const ToolButton kToolButtons[8] = {
    {L"Options", {11, 9, 85, 35}},
    {L"Special Keyboard", {11, 50, 85, 76}},
    {L"Copy to Clipboard", {313, 11, 387, 36}},
    {L"Print", {313, 51, 387, 77}},
    {L"Sequence", {313, 91, 387, 117}},
    {L"Close", {11, 90, 85, 116}},
    {L"Minimize", {11, 130, 85, 157}},
    {L"Refresh", {313, 131, 387, 158}},
};

constexpr int kOptionsWidth = 280, kOptionsHeight = 332;
// The keyboard pane's client area holds its nine keys of a row with a margin of 10 pixels on
// both sides; the pane's outer width follows from its frame.
constexpr int kKeyboardClientWidth = 378, kKeyboardHeight = 233;

// A copy of the skin's pixels in `r` as a bitmap compatible with `dc`.
HBITMAP CutPicture(HDC dc, HBITMAP skin, const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    HBITMAP picture = ::CreateCompatibleBitmap(dc, w, h);
    HDC src = ::CreateCompatibleDC(dc);
    HDC dst = ::CreateCompatibleDC(dc);
    HGDIOBJ oldSrc = ::SelectObject(src, skin);
    HGDIOBJ oldDst = ::SelectObject(dst, picture);
    ::BitBlt(dst, 0, 0, w, h, src, r.left, r.top, SRCCOPY);
    ::SelectObject(src, oldSrc);
    ::SelectObject(dst, oldDst);
    ::DeleteDC(src);
    ::DeleteDC(dst);
    return picture;
}

// The screen's top-left corner, unless a shell window that shows the notification icons lies
// there: a shell without a taskbar shows them in a small window of its own at that corner, and
// the window then goes just right of it, so that neither the icons nor the balloon pointing at
// them are covered by or cover the tool buttons; a taskbar along the top edge puts the window
// below it.
POINT ClearOfNotificationArea(int width, int height) {
    POINT at{0, 0};
    const RECT window{0, 0, width, height};
    for (const wchar_t* cls : {L"Shell_TrayWnd", L"__winex11_standalone_tray"}) {
        HWND tray = ::FindWindowW(cls, nullptr);
        RECT r{}, overlap{};
        if (!tray || !::IsWindowVisible(tray) || !::GetWindowRect(tray, &r)) continue;
        if (!::IntersectRect(&overlap, &r, &window)) continue;
        if (r.right < width)
            at.x = std::max<LONG>(at.x, r.right);  // a small window at the corner
        else
            at.y = std::max<LONG>(at.y, r.bottom);  // a taskbar along the top edge
    }
    return at;
}

RECT Moved(RECT r, int dx, int dy) {
    ::OffsetRect(&r, dx, dy);
    return r;
}

}  // namespace

CEncoderDlg::CEncoderDlg() : CDialogEx(IDD_ENCODER_DIALOG) {
    m_hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
}

CEncoderDlg::~CEncoderDlg() = default;

BOOL CEncoderDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    GuardEditFields(m_hWnd);
    // The window has no caption; its title names it in the taskbar and the window list.
    SetWindowText(L"Kestrivo Encoder");
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    if (!Start()) {
        // Without its icon or skin the window has no face, buttons or panes: end it.
        EndDialog(IDCANCEL);
        return FALSE;
    }
    OnChangeData();
    return TRUE;
}

bool CEncoderDlg::Start() {
    m_tray.m_pCommandWnd = this;
    if (!m_tray.Create(m_hIcon)) {
        ::MessageBoxW(m_hWnd, L"Unable to create tray icon.", L"Encoder", MB_OK);
        return false;
    }

    HBITMAP skin = static_cast<HBITMAP>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDB_SKIN),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!skin) {
        ::MessageBoxW(m_hWnd, L"Installation error. Please reinstall. We are sorry for the inconvenience.",
                      L"Encoder", MB_OK);
        return false;
    }
    m_bmpSkin.Attach(skin);
    BITMAP info{};
    m_bmpSkin.GetBitmap(&info);
    m_rcSkin = CRect(0, 0, info.bmWidth, info.bmHeight);
    const POINT at = ClearOfNotificationArea(info.bmWidth, info.bmHeight);
    SetWindowPos(HWND_TOP, at.x, at.y, info.bmWidth, info.bmHeight, 0);
    if (HRGN region = CreateRegionFromBitmap(skin)) {
        if (!::SetWindowRgn(m_hWnd, region, FALSE)) ::DeleteObject(region);
    }

    // The message line sits in the strip under the paint area, as wide as the face's fields.
    if (HWND line = ::GetDlgItem(m_hWnd, IDC_MESSAGE_LINE)) {
        const desktop::PixelRect& r = desktop::kMessageLineRect;
        ::MoveWindow(line, r.left, r.top, r.Width(), r.Height(), FALSE);
    }

    CClientDC dc(m_hWnd);
    for (UINT i = 0; i < 8; ++i) {
        const RECT& r = kToolButtons[i].rect;
        auto button = std::make_unique<CBitmapBtn>();
        if (!button->Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, r, this, IDC_TOOL_FIRST + i)) continue;
        CString tip(kToolButtons[i].tip);
        button->SetToolTipText(&tip);
        button->m_bmpNormal.Attach(CutPicture(dc, skin, r));
        button->m_bmpDisabled.Attach(CutPicture(dc, skin, r));
        button->m_bmpPressed.Attach(CutPicture(dc, skin, Moved(r, -3, -2)));
        button->m_bmpHover.Attach(CutPicture(dc, skin, Moved(r, -2, -1)));
        button->ShowWindow(SW_SHOW);
        m_buttons.push_back(std::move(button));
    }

    m_pOptions = std::make_unique<COptionDlg>(m_state, *this);
    if (!m_pOptions->Create(IDD_OPTIONS, this)) m_pOptions.reset();
    m_bOptionsVisible = 0;
    m_pKeyboard = std::make_unique<CKeyboard>(this, m_state, *this);
    if (!m_pKeyboard->Create(IDD_KEYBOARD, this)) m_pKeyboard.reset();
    m_bKeyboardVisible = 0;
    DockPanes();
    return true;
}

HRGN CEncoderDlg::CreateRegionFromBitmap(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof info, &info)) return nullptr;
    const int w = info.bmWidth, h = info.bmHeight;
    CDibSection copy(w, h);
    HDC src = ::CreateCompatibleDC(copy.dc());
    if (!src || !copy.ok()) {
        if (src) ::DeleteDC(src);
        return nullptr;
    }
    HGDIOBJ oldSrc = ::SelectObject(src, bitmap);
    ::BitBlt(copy.dc(), 0, 0, w, h, src, 0, 0, SRCCOPY);
    ::GdiFlush();
    ::SelectObject(src, oldSrc);
    ::DeleteDC(src);

    HRGN result = nullptr;
    constexpr DWORD kBatch = 2000;
    std::vector<RECT> rects;
    rects.reserve(100);
    auto flush = [&] {
        if (rects.empty()) return;
        std::vector<std::uint8_t> block(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
        auto* data = reinterpret_cast<RGNDATA*>(block.data());
        data->rdh.dwSize = sizeof(RGNDATAHEADER);
        data->rdh.iType = RDH_RECTANGLES;
        data->rdh.nCount = static_cast<DWORD>(rects.size());
        data->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
        ::SetRect(&data->rdh.rcBound, 0, 0, w, h);
        std::copy(rects.begin(), rects.end(), reinterpret_cast<RECT*>(data->Buffer));
        HRGN part = ::ExtCreateRegion(nullptr, static_cast<DWORD>(block.size()), data);
        if (part) {
            if (result) {
                ::CombineRgn(result, result, part, RGN_OR);
                ::DeleteObject(part);
            } else {
                result = part;
            }
        }
        rects.clear();
    };
    const auto* pixels = copy.bits();
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* row = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
        for (int x = 0; x < w;) {
            while (x < w && (row[x] & 0xFFFFFF) == 0xFF00FF) ++x;
            const int x0 = x;
            while (x < w && (row[x] & 0xFFFFFF) != 0xFF00FF) ++x;
            if (x > x0) {
                if (rects.size() == rects.capacity()) rects.reserve(rects.size() + 100);
                rects.push_back({x0, y, x, y + 1});
                if (rects.size() == kBatch) flush();
            }
        }
    }
    flush();
    return result;
}

LRESULT CEncoderDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(m_hIcon);
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_NCHITTEST: {
        // Children keep their own hit tests; the face drags the window.
        LRESULT hit = CDialogEx::WindowProc(message, wParam, lParam);
        return hit == HTCLIENT ? HTCAPTION : hit;
    }
    case WM_MOVE:
        DockPanes();
        break;
    case WM_CLOSE:
        // The tray's exit command: the modal loop ends; a refusal box of the Options pane that
        // is open ends with it.
        EndDialog(IDCANCEL);
        if (m_pOptions && m_pOptions->IsShowingRefusal()) ::PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return CDialogEx::WindowProc(message, wParam, lParam);
}

BOOL CEncoderDlg::OnCmdMsg(UINT id, int code) {
    if (id == IDC_DATA && code == EN_CHANGE) {
        OnChangeData();
        return TRUE;
    }
    if (code == BN_CLICKED || code == 0) {
        switch (id) {
        case IDC_TOOL_OPTIONS: OnOptions(); return TRUE;
        case IDC_TOOL_CLOSE: ::PostQuitMessage(0); return TRUE;
        case IDC_TOOL_MINIMIZE:
        case ID_TRAY_MINIMIZE: OnMinimize(); return TRUE;
        case IDC_TOOL_REFRESH: OnChangeData(); return TRUE;
        case ID_TRAY_WEBSITE:
            Shell().Execute(m_hWnd, L"open", kMakerWebPage, nullptr, nullptr, SW_SHOWNORMAL);
            return TRUE;
        case IDC_TOOL_KEYBOARD: OnKeyboard(); return TRUE;
        case IDC_TOOL_COPY: OnCopyToClipboard(); return TRUE;
        case IDC_TOOL_PRINT: OnPrint(); return TRUE;
        case IDC_TOOL_SEQUENCE: {
            CSequence batch(this, m_pOptions.get());
            batch.DoModal();
            return TRUE;
        }
        default:
            break;
        }
    }
    // Enter and Escape never end the window.
    if (id == IDOK || (id == IDCANCEL && code == BN_CLICKED)) return TRUE;
    return CDialogEx::OnCmdMsg(id, code);
}

BOOL CEncoderDlg::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYUP && msg->wParam == VK_ESCAPE) {
        ::DefWindowProcW(msg->hwnd, msg->message, msg->wParam, msg->lParam);
        return TRUE;
    }
    return FALSE;
}

void CEncoderDlg::OnChangeData() {
    HWND data = ::GetDlgItem(m_hWnd, IDC_DATA);
    if (!data) return;
    m_state.EncodeData(desktop::WindowText(data));
    TellLoss();
    Invalidate(TRUE);
}

void CEncoderDlg::UpdatePreview(std::u16string_view text) {
    std::u16string data(text);
    ::SetDlgItemTextW(m_hWnd, IDC_DATA, desktop::WideText(data));
    m_state.EncodeData(std::move(data));
    TellLoss();
    Invalidate(FALSE);
}

void CEncoderDlg::SetDataField(std::u16string_view text) {
    ::SetDlgItemTextW(m_hWnd, IDC_DATA, desktop::WideText(std::u16string(text)));
}

void CEncoderDlg::OnRowChanged() {
    if (m_pKeyboard) m_pKeyboard->UpdateKeys();
}

void CEncoderDlg::Repaint() {
    if (m_hWnd) Invalidate(TRUE);
}

void CEncoderDlg::TellLoss() {
    // What the encode reported; the font text is never changed here. The sentences follow
    // whatever the line already says.
    // (The line's own text may end with the paint's note on a cut preview, which is not a
    // message of the encode: the encode's message is kept apart.)
    if (m_state.output.empty() || m_state.loss == desktop::kLossNone) return;
    const std::u16string loss = desktop::LossMessage(m_state.loss);
    SetMessageLine(m_message.empty() ? loss : m_message + u" " + loss);
}

void CEncoderDlg::SetMessageLine(std::u16string_view message) {
    // Every encode sets the line, a batch export once a record: a line that shows the text
    // already is left alone (setting and repainting it is what takes the time).
    HWND line = ::GetDlgItem(m_hWnd, IDC_MESSAGE_LINE);
    m_message = message;
    m_previewCut = false;  // the next paint tells it again
    if (desktop::WindowText(line) == message) return;
    ::SetDlgItemTextW(m_hWnd, IDC_MESSAGE_LINE, desktop::WideText(std::u16string(message)));
    Invalidate(TRUE);
}

void CEncoderDlg::OnPaint() {
    CPaintDC dc(m_hWnd);
    if (::IsIconic(m_hWnd)) {
        CRect client;
        GetClientRect(&client);
        const int cx = ::GetSystemMetrics(SM_CXICON), cy = ::GetSystemMetrics(SM_CYICON);
        ::DrawIcon(dc, (client.Width() - cx + 1) / 2, (client.Height() - cy + 1) / 2, m_hIcon);
        return;
    }
    if (HWND data = ::GetDlgItem(m_hWnd, IDC_DATA)) ::MoveWindow(data, 106, 46, 188, 116, TRUE);
    if (m_bmpSkin.GetSafeHandle()) {
        CDC mem;
        mem.CreateCompatibleDC(dc);
        HGDIOBJ old = mem.SelectObject(m_bmpSkin);
        dc.BitBlt(0, 0, m_rcSkin.Width(), m_rcSkin.Height(), mem, 0, 0, SRCCOPY);
        mem.SelectObject(old);
    }
    // Nothing is painted without a current row or output.
    if (!m_pOptions || !m_state.pCurrentAction || m_state.output.empty()) {
        TellPreviewCut(false);
        return;
    }

    LOGFONTW lf{};
    m_pOptions->GetLogFont(&lf);
    lf.lfHeight = -::MulDiv(lf.lfHeight, dc.GetDeviceCaps(LOGPIXELSY), 720);
    // Bars are drawn without font smoothing: grey edges make a symbol unreadable.
    lf.lfQuality = NONANTIALIASED_QUALITY;
    CFont font;
    font.CreateFontIndirect(&lf);
    HGDIOBJ oldFont = dc.SelectObject(font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 0));
    CRect client;
    GetClientRect(&client);
    // A symbol larger than the paint area is cut at its frame (the message line tells).
    const desktop::PixelRect& area = desktop::kPaintArea;
    ::IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);

    const auto draw = [&](int x, int y, std::u16string_view line) {
        ::TextOutW(dc, x, y, reinterpret_cast<const wchar_t*>(line.data()), static_cast<int>(line.size()));
    };
    const auto extent = [&](std::u16string_view line) {
        return dc.GetTextExtent(reinterpret_cast<const wchar_t*>(line.data()), static_cast<int>(line.size()));
    };
    std::vector<std::u16string_view> lines{m_state.output};
    if (!desktop::PaintedByLines(m_state.Kind())) {
        draw((client.Width() - extent(m_state.output).cx) / 2, desktop::kPaintTop, m_state.output);
    } else {
        lines = desktop::PaintedLines(m_state.output);
        const CSize first = extent(lines[0]);
        const int x = (client.Width() - first.cx) / 2;
        for (std::size_t i = 0; i < lines.size(); ++i)
            draw(x, desktop::kPaintTop + static_cast<int>(i) * first.cy, lines[i]);
    }
    TellPreviewCut(!PaintedInside(dc, lines));
    dc.SelectObject(oldFont);
}

bool CEncoderDlg::PaintedInside(CDC& dc, const std::vector<std::u16string_view>& lines) {
    // What the font system sets: each line's width, each line as tall as the first.
    std::vector<int> widths;
    int height = 0;
    for (std::u16string_view line : lines) {
        const CSize size = dc.GetTextExtent(reinterpret_cast<const wchar_t*>(line.data()), static_cast<int>(line.size()));
        if (widths.empty()) height = size.cy;
        widths.push_back(size.cx);
    }
    CRect client;
    GetClientRect(&client);
    return desktop::InsidePaintArea(desktop::PaintedRect(client.Width(), widths, height));
}

void CEncoderDlg::TellPreviewCut(bool cut) {
    // Printed, copied and exported symbols are never cut: only the message line tells.
    if (cut == m_previewCut) return;
    m_previewCut = cut;
    ::SetDlgItemTextW(m_hWnd, IDC_MESSAGE_LINE, desktop::WideText(desktop::MessageLineText(m_message, cut)));
}

void CEncoderDlg::DockPanes() {
    RECT window{};
    GetWindowRect(&window);
    // The keyboard under the window.
    if (m_pKeyboard && ::IsWindow(m_pKeyboard->m_hWnd)) {
        RECT frame{0, 0, kKeyboardClientWidth, 0};
        ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongW(m_pKeyboard->m_hWnd, GWL_STYLE)), FALSE,
                             static_cast<DWORD>(::GetWindowLongW(m_pKeyboard->m_hWnd, GWL_EXSTYLE)));
        ::SetWindowPos(m_pKeyboard->m_hWnd, m_hWnd, window.left + 12, window.bottom, frame.right - frame.left,
                       kKeyboardHeight, SWP_NOACTIVATE);
    }
    if (!m_pOptions || !::IsWindow(m_pOptions->m_hWnd)) return;
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    RECT work{};
    if (::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &mi))
        work = mi.rcWork;
    else
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    // Left of the window; when the work area has no room there, right of it; in any case
    // inside the work area.
    int x = window.left - kOptionsWidth;
    if (x < work.left) x = window.right;
    x = std::max<int>(work.left, std::min<int>(x, work.right - kOptionsWidth));
    int y = std::max<int>(work.top, std::min<int>(window.top, work.bottom - kOptionsHeight));
    ::SetWindowPos(m_pOptions->m_hWnd, m_hWnd, x, y, kOptionsWidth, kOptionsHeight, SWP_NOACTIVATE);
}

void CEncoderDlg::OnKeyboard() {
    if (!m_pKeyboard) return;
    // The pane may have been closed by its own button or hidden with the window: the button
    // goes by what the user sees.
    m_bKeyboardVisible = m_pKeyboard->IsWindowVisible() ? 1 : 0;
    if (m_bKeyboardVisible == 0) {
        DockPanes();
        m_pKeyboard->ShowWindow(SW_SHOW);
        m_pKeyboard->UpdateKeys();
    } else {
        m_pKeyboard->ShowWindow(SW_HIDE);
    }
    m_bKeyboardVisible = m_bKeyboardVisible == 0 ? 1 : 0;
}

namespace {

// A movable, shareable, zeroed global block holding `size` bytes from `data`; null on failure.
HGLOBAL GlobalCopy(const void* data, std::size_t size) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, size);
    if (!block) return nullptr;
    void* p = ::GlobalLock(block);
    if (!p) {
        ::GlobalFree(block);
        return nullptr;
    }
    std::memcpy(p, data, size);
    ::GlobalUnlock(block);
    return block;
}

}  // namespace

void CEncoderDlg::OnCopyToClipboard() {
    const std::u16string& output = m_state.output;
    LOGFONTW lf{};
    if (m_pOptions) m_pOptions->GetLogFont(&lf);
    const std::string rtf = desktop::BuildRtf(desktop::Utf16(lf.lfFaceName), lf.lfHeight, output);
    const std::string bytes = desktop::ClipboardBytes(output);
    const std::u16string wide = desktop::ClipboardUnicode(output);
    if (rtf.empty()) return;
    struct Format {
        UINT id;
        HGLOBAL block;
    } formats[] = {
        {::RegisterClipboardFormatW(L"Rich Text Format"), GlobalCopy(rtf.data(), rtf.size())},
        {CF_TEXT, GlobalCopy(bytes.data(), bytes.size())},
        {CF_OEMTEXT, GlobalCopy(bytes.data(), bytes.size())},
        {CF_UNICODETEXT, GlobalCopy(wide.data(), wide.size() * sizeof(char16_t))},
    };
    if (::OpenClipboard(m_hWnd)) {
        ::EmptyClipboard();
        for (Format& f : formats)
            if (f.block && f.id && ::SetClipboardData(f.id, f.block)) f.block = nullptr;  // the clipboard's now
        ::CloseClipboard();
    }
    for (const Format& f : formats)
        if (f.block) ::GlobalFree(f.block);
}

void CEncoderDlg::OnOptions() {
    if (!m_pOptions) return;
    m_bOptionsVisible = m_pOptions->IsWindowVisible() ? 1 : 0;  // as OnKeyboard
    if (m_bOptionsVisible == 0) {
        DockPanes();
        m_pOptions->ShowWindow(SW_SHOW);
    } else {
        m_pOptions->ShowWindow(SW_HIDE);
    }
    m_bOptionsVisible = m_bOptionsVisible == 0 ? 1 : 0;
}

void CEncoderDlg::OnMinimize() {
    m_bTrayHidden = !m_bTrayHidden;
    if (m_bTrayHidden) {
        m_tray.ShowIcon();
        if (m_pOptions) m_pOptions->ShowWindow(SW_HIDE);
        if (m_pKeyboard) m_pKeyboard->ShowWindow(SW_HIDE);
        ShowWindow(SW_HIDE);
    } else {
        ShowWindow(SW_SHOW);
        m_tray.HideIcon();
    }
}

void CEncoderDlg::OnDestroy() {
    if (m_pOptions && m_pOptions->m_hWnd) m_pOptions->DestroyWindow();
    m_pOptions.reset();
    if (m_pKeyboard && m_pKeyboard->m_hWnd) m_pKeyboard->DestroyWindow();
    m_pKeyboard.reset();
    m_bmpSkin.DeleteObject();
    m_state.output.clear();
    m_state.output.shrink_to_fit();
    m_buttons.clear();
}
