#include "BCMenu.h"

#include <algorithm>
#include <cwctype>

namespace {

// Every popup handle appended by a BCMenu that still exists.
std::vector<HMENU>& SubMenuList() {
    static std::vector<HMENU> list;
    return list;
}

void Forget(HMENU menu) {
    auto& list = SubMenuList();
    list.erase(std::remove(list.begin(), list.end(), menu), list.end());
}

// The commands that have an image, and the images in the same order.
std::vector<int>& ImageIds() {
    static std::vector<int> ids;
    return ids;
}

CImageList& AllImages() {
    static CImageList images;
    return images;
}

int ImageOffset(UINT_PTR id) {
    auto& ids = ImageIds();
    auto it = std::find(ids.begin(), ids.end(), static_cast<int>(id));
    return it == ids.end() ? -1 : static_cast<int>(it - ids.begin());
}

// Separators keep only MF_BYPOSITION of the flags; every item is owner-drawn.
UINT OwnerDrawFlags(UINT flags, UINT_PTR id) {
    if (id == 0 && !(flags & MF_POPUP)) return MF_SEPARATOR | MF_OWNERDRAW | (flags & MF_BYPOSITION);
    return flags | MF_OWNERDRAW;
}

BCMenu::VersionCalls& Versions() {
    static BCMenu::VersionCalls calls{&::GetVersion, &::GetVersionExW};
    return calls;
}

void MenuFont(CFont& font, bool bold) {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    if (bold) ncm.lfMenuFont.lfWeight = FW_BOLD;
    font.CreateFontIndirect(&ncm.lfMenuFont);
}

// The window whose DC measures texts: the main window, or the desktop.
HWND MeasuringWindow() {
    CWinApp* app = AfxGetApp();
    return app && app->m_pMainWnd && app->m_pMainWnd->m_hWnd ? app->m_pMainWnd->m_hWnd : ::GetDesktopWindow();
}

// The width of a text as DrawText sets it on one line ("&" marks no width).
int TextWidth(HDC dc, const std::wstring& text) {
    RECT r{0, 0, 0, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_CALCRECT);
    return r.right - r.left;
}

// What stands between a text and its accelerator.
const wchar_t kAcceleratorGap[] = L"  ";

void SplitAtTab(const std::wstring& all, std::wstring& text, std::wstring& accelerator) {
    auto tab = all.find(L'\t');
    text = all.substr(0, tab);
    accelerator = tab == std::wstring::npos ? std::wstring() : all.substr(tab + 1);
}

// The check mark: seven one-pixel strokes of one pen, a short arm and a long arm.
void DrawCheckMark(CDC& dc, int x, int y, COLORREF colour) {
    CPen pen(PS_SOLID, 1, colour);
    HGDIOBJ old = dc.SelectObject(pen);
    for (int i = 0; i < 3; ++i) {
        dc.MoveTo(x, y + 2 + i);
        dc.LineTo(x + 2, y + 4 + i);
        dc.LineTo(x + 7, y - 1 + i);
    }
    dc.MoveTo(x, y + 5);
    dc.LineTo(x + 1, y + 6);
    dc.SelectObject(old);
}

void DrawRadioMark(CDC& dc, int x, int y, COLORREF colour) {
    CPen pen(PS_SOLID, 1, colour);
    CBrush brush(colour);
    HGDIOBJ oldPen = dc.SelectObject(pen);
    HGDIOBJ oldBrush = dc.SelectObject(brush);
    ::Ellipse(dc, x, y, x + 7, y + 7);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
}

// An icon drawn over the face colour into a bitmap compatible with the screen.
HBITMAP IconToBitmap(HICON icon, int cx, int cy) {
    HDC screen = ::GetDC(nullptr);
    CDC dc;
    dc.CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, cx, cy);
    ::ReleaseDC(nullptr, screen);
    if (!bitmap) return nullptr;
    HGDIOBJ old = dc.SelectObject(bitmap);
    dc.FillSolidRect(0, 0, cx, cy, ::GetSysColor(COLOR_BTNFACE));
    ::DrawIconEx(dc, 0, 0, icon, cx, cy, 0, nullptr, DI_NORMAL);
    dc.SelectObject(old);
    return bitmap;
}

// Puts the image of command `id` into the program-wide table (in place of one it had); the
// pixels of `transparent` are left out.
BOOL AddToImageTable(UINT id, HBITMAP bitmap, COLORREF transparent, int cx, int cy) {
    CImageList& images = AllImages();
    if (!images.m_hImageList) images.m_hImageList = ::ImageList_Create(cx, cy, ILC_COLOR24 | ILC_MASK, 0, 4);
    int added = ::ImageList_AddMasked(images, bitmap, transparent);
    if (added < 0) return FALSE;
    int offset = ImageOffset(id);
    if (offset < 0) {
        ImageIds().push_back(static_cast<int>(id));
        return TRUE;
    }
    ::ImageList_Copy(images, offset, images, added, ILCF_MOVE);
    return ::ImageList_Remove(images, added);
}

// A monochrome bitmap of an image: 0 where the image has a pixel, 1 elsewhere.
HBITMAP ImageSilhouette(HIMAGELIST list, int index, int cx, int cy) {
    CDibSection dib(cx, cy);
    if (!dib.ok()) return nullptr;
    ::PatBlt(dib.dc(), 0, 0, cx, cy, WHITENESS);
    ::ImageList_Draw(list, index, dib.dc(), 0, 0, ILD_TRANSPARENT);
    ::GdiFlush();
    const int stride = (cx + 15) / 16 * 2;
    std::vector<BYTE> bits(static_cast<std::size_t>(stride * cy), 0);
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
            if (dib.at(x, y) == 0xFFFFFFu)
                bits[static_cast<std::size_t>(y * stride + x / 8)] |= static_cast<BYTE>(0x80 >> (x % 8));
    return ::CreateBitmap(cx, cy, 1, 1, bits.data());
}

// A disabled image: its silhouette embossed, in the highlight colour one pixel down and right,
// then in the shadow colour.
void DrawDisabledImage(CDC& dc, int x, int y, HIMAGELIST list, int index, int cx, int cy) {
    CBitmap mono;
    mono.Attach(ImageSilhouette(list, index, cx, cy));
    if (!mono.GetSafeHandle()) return;
    CDC monoDC;
    monoDC.CreateCompatibleDC(dc);
    HGDIOBJ oldBitmap = monoDC.SelectObject(mono);
    COLORREF oldText = dc.SetTextColor(RGB(0, 0, 0)), oldBk = dc.SetBkColor(RGB(255, 255, 255));
    CBrush light(::GetSysColor(COLOR_3DHILIGHT)), shadow(::GetSysColor(COLOR_BTNSHADOW));
    HGDIOBJ oldBrush = dc.SelectObject(light);
    dc.BitBlt(x + 1, y + 1, cx, cy, monoDC, 0, 0, 0x00B8074A);  // the brush where the source is black
    dc.SelectObject(shadow);
    dc.BitBlt(x, y, cx, cy, monoDC, 0, 0, 0x00B8074A);
    dc.SelectObject(oldBrush);
    dc.SetTextColor(oldText);
    dc.SetBkColor(oldBk);
    monoDC.SelectObject(oldBitmap);
}

// An image's silhouette dithered in `colour` (every other pixel), the flat look's shadow.
void DrawDitheredImage(CDC& dc, int x, int y, HIMAGELIST list, int index, int cx, int cy, COLORREF colour) {
    CDC work;
    work.CreateCompatibleDC(dc);
    CBitmap picture;
    picture.CreateCompatibleBitmap(dc, cx, cy);
    HGDIOBJ oldPicture = work.SelectObject(picture);
    ::PatBlt(work, 0, 0, cx, cy, 0x00FF0062);  // white
    ::ImageList_Draw(list, index, work, 0, 0, ILD_TRANSPARENT);

    CDC mask;
    mask.CreateCompatibleDC(dc);
    CBitmap maskBits, checker;
    maskBits.Attach(::CreateBitmap(cx, cy, 1, 1, nullptr));
    HGDIOBJ oldMask = mask.SelectObject(maskBits);
    work.SetBkColor(RGB(255, 255, 255));
    mask.BitBlt(0, 0, cx, cy, work, 0, 0, SRCCOPY);  // 0 on the image's pixels
    const int stride = (cx + 15) / 16 * 2;
    std::vector<BYTE> pattern(static_cast<std::size_t>(stride * cy));
    for (int row = 0; row < cy; ++row)
        std::fill_n(pattern.begin() + row * stride, stride, static_cast<BYTE>(row % 2 ? 0x55 : 0xAA));
    checker.Attach(::CreateBitmap(cx, cy, 1, 1, pattern.data()));
    work.SelectObject(checker);
    mask.BitBlt(0, 0, cx, cy, work, 0, 0, 0x00EE0086);  // or: half of the pixels drop out

    // The mask's 0 bits become white (the brush is painted), its 1 bits black (kept).
    COLORREF oldText = dc.SetTextColor(RGB(255, 255, 255)), oldBk = dc.SetBkColor(RGB(0, 0, 0));
    CBrush brush(colour);
    HGDIOBJ oldBrush = dc.SelectObject(brush);
    dc.BitBlt(x, y, cx, cy, mask, 0, 0, 0x00E20746);
    dc.SelectObject(oldBrush);
    dc.SetTextColor(oldText);
    dc.SetBkColor(oldBk);
    mask.SelectObject(oldMask);
    work.SelectObject(oldPicture);
}

// A frame drawn by DrawEdge around a fill in a lightened colour.
void FrameCell(CDC& dc, CRect r, UINT edge, COLORREF colour, double factor) {
    ::DrawEdge(dc, &r, edge, BF_RECT | BF_ADJUST);
    CBrush brush(BCMenu::LightenColor(colour, factor));
    dc.FillRect(&r, brush);
}

// A fill in a lightened colour inside a one-pixel frame.
void FillCell(CDC& dc, const CRect& r, COLORREF colour, double factor, COLORREF frame) {
    CBrush brush(BCMenu::LightenColor(colour, factor));
    dc.FillRect(&r, brush);
    dc.Draw3dRect(&r, frame, frame);
}

}  // namespace

int BCMenu::s_shellType = BCMenu::QueryWindowsVersion();
int BCMenu::s_drawMode = 0;
BOOL BCMenu::s_bClassicTheme = FALSE;
BOOL BCMenu::s_bThemeRead = FALSE;
CPINFO BCMenu::s_cpInfo{};

BCMenuMemDC::BCMenuMemDC(CDC* pDC, const RECT* rect) : m_pDC(pDC), m_rect(*rect) {
    const DWORD type = ::GetObjectType(*pDC);
    m_bMemDC = ::GetDeviceCaps(*pDC, TECHNOLOGY) != DT_RASPRINTER && type != OBJ_ENHMETADC && type != OBJ_METADC;
    if (m_bMemDC) {
        CreateCompatibleDC(*pDC);
        m_bitmap.CreateCompatibleBitmap(*pDC, m_rect.Width(), m_rect.Height());
        m_oldBitmap = SelectObject(m_bitmap);
        ::SetWindowOrgEx(m_hDC, m_rect.left, m_rect.top, nullptr);
    } else {
        Attach(pDC->m_hDC);
    }
}

BCMenuMemDC::~BCMenuMemDC() {
    if (m_bMemDC) {
        m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC, m_rect.left, m_rect.top,
                      SRCCOPY);
        SelectObject(m_oldBitmap);
    } else {
        Detach();
    }
}

BCMenu::BCMenu() { ::GetCPInfo(CP_ACP, &s_cpInfo); }

BCMenu::~BCMenu() { DestroyMenu(); }

bool BCMenu::IsSubMenu(HMENU menu) {
    auto& list = SubMenuList();
    return menu && std::find(list.begin(), list.end(), menu) != list.end();
}

COLORREF BCMenu::LightenColor(COLORREF colour, double factor) {
    if (!(factor > 0.0 && factor <= 1.0)) return colour;
    auto up = [factor](BYTE c) { return static_cast<BYTE>(c + (255 - c) * factor); };
    return RGB(up(GetRValue(colour)), up(GetGValue(colour)), up(GetBValue(colour)));
}

BCMenu::VersionCalls BCMenu::SetVersionCalls(const VersionCalls& calls) {
    VersionCalls old = Versions();
    Versions() = calls;
    return old;
}

int BCMenu::QueryWindowsVersion() {
    const VersionCalls& calls = Versions();
    DWORD version = calls.GetVersion();
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!(version & 0x80000000u)) {
        calls.GetVersionEx(&info);
        if (info.dwMajorVersion == 4) return 5;
        if (info.dwMajorVersion == 5 && info.dwMinorVersion == 0) return 6;
        if (info.dwMajorVersion == 5 && info.dwMinorVersion == 1) return 7;
        return 1;
    }
    if (LOBYTE(LOWORD(version)) < 4) return 0;
    calls.GetVersionEx(&info);
    if (info.dwMajorVersion == 4 && info.dwMinorVersion == 10) return 3;
    if (info.dwMajorVersion == 4 && info.dwMinorVersion == 90) return 4;
    return 2;
}

BOOL BCMenu::IsClassicTheme() {
    if (s_bThemeRead) return s_bClassicTheme;
    s_bThemeRead = TRUE;
    s_bClassicTheme = FALSE;
    HKEY key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Plus!\\Themes\\Current", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return s_bClassicTheme;
    wchar_t value[130] = {};  // 260 bytes
    DWORD size = sizeof value - sizeof(wchar_t), type = 0;
    if (::RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::wstring name(value);
        const std::wstring classic = L"windows classic.theme";
        for (auto& c : name) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
        s_bClassicTheme = name.size() >= classic.size() &&
                          name.compare(name.size() - classic.size(), classic.size(), classic) == 0;
    }
    ::RegCloseKey(key);
    return s_bClassicTheme;
}

bool BCMenu::IsFlatLook() { return (s_shellType == 7 && !IsClassicTheme()) || s_drawMode == 1; }

BOOL BCMenu::LoadMenu(UINT id) { return LoadMenu(MAKEINTRESOURCEW(id)); }

BOOL BCMenu::LoadMenu(const wchar_t* resourceName) {
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceW(module, resourceName, MAKEINTRESOURCEW(4) /* RT_MENU */);
    if (!found) {
        module = ::GetModuleHandleW(nullptr);
        found = ::FindResourceW(module, resourceName, MAKEINTRESOURCEW(4));
    }
    if (!found) return FALSE;
    const auto* data = static_cast<const BYTE*>(::LockResource(::LoadResource(module, found)));
    DWORD size = ::SizeofResource(module, found);
    if (!data || size < 4) return FALSE;

    Clear(false);
    CMenu::DestroyMenu();
    if (!CreatePopupMenu()) return FALSE;
    m_bLoaded = TRUE;

    // The template: a header (version, offset), then items: flags, the command for a plain
    // item, and the text. MF_POPUP opens a level, MF_END closes the current one.
    const BYTE* end = data + size;
    const BYTE* p = data + 4 + reinterpret_cast<const WORD*>(data)[1];
    struct Truncated {};
    std::vector<BCMenu*> levels{this};
    auto word = [&]() -> WORD {
        if (p + 2 > end) throw Truncated{};
        WORD w = static_cast<WORD>(p[0] | (p[1] << 8));
        p += 2;
        return w;
    };
    auto close = [&levels]() {
        levels.back()->AlignAcceleratorText();
        levels.pop_back();
    };
    try {
        while (!levels.empty() && p < end) {
            WORD flags = word();
            WORD id = (flags & MF_POPUP) ? 0 : word();
            std::wstring text;
            for (WORD c; (c = word()) != 0;) text += static_cast<wchar_t>(c);
            BCMenu* level = levels.back();
            bool last = (flags & MF_END) != 0;
            UINT itemFlags = flags & ~(MF_END | MF_POPUP);
            if (flags & MF_POPUP) {
                // A popup's items follow it; an MF_END on the popup closes its parent level
                // (its last item), and the popup's own level opens.
                auto sub = std::make_unique<BCMenu>();
                sub->CreatePopupMenu();
                sub->m_bLoaded = TRUE;
                sub->m_cxIcon = m_cxIcon;
                sub->m_cyIcon = m_cyIcon;
                sub->m_crImageTransparent = m_crImageTransparent;
                sub->m_bImageTransparentSet = m_bImageTransparentSet;
                sub->m_pCheckImages = m_pCheckImages;
                sub->m_nCheckedImage = m_nCheckedImage;
                sub->m_nUncheckedImage = m_nUncheckedImage;
                sub->m_bCheckImagesShared = TRUE;
                BCMenu* opened = sub.get();
                level->AppendOwnerDrawItem(text.c_str(), itemFlags | MF_POPUP,
                                           reinterpret_cast<UINT_PTR>(opened->m_hMenu));
                level->m_subMenus.push_back(std::move(sub));
                if (last) close();
                levels.push_back(opened);
            } else {
                level->AppendOwnerDrawItem(text.c_str(), itemFlags, id);
                if (last) close();
            }
        }
    } catch (const Truncated&) {
        DestroyMenu();
        return FALSE;
    }
    for (UINT pos = 0; pos < m_items.size(); ++pos) {
        const BCMenuData& item = *m_items[pos];
        if (item.flags & MF_POPUP) {
            std::wstring text = item.text;
            ModifyOwnerDrawItem(pos, MF_BYPOSITION | MF_POPUP | MF_OWNERDRAW, item.id, text.c_str());
        }
    }
    return TRUE;
}

void BCMenu::TakeImage(BCMenuData& item) const {
    item.image.reset();
    item.globalOffset = (item.flags & (MF_POPUP | MF_SEPARATOR)) ? -1 : ImageOffset(item.id);
    if (item.globalOffset < 0) return;
    HICON icon = ::ImageList_GetIcon(AllImages(), item.globalOffset, ILD_NORMAL);
    if (!icon) return;
    int cx = 0, cy = 0;
    ::ImageList_GetIconSize(AllImages(), &cx, &cy);
    item.image = std::make_unique<CImageList>();
    item.image->m_hImageList = ::ImageList_Create(cx, cy, ILC_COLOR24 | ILC_MASK, 1, 1);
    ::ImageList_AddIcon(*item.image, icon);
    ::DestroyIcon(icon);
}

BOOL BCMenu::AppendOwnerDrawItem(const wchar_t* text, UINT flags, UINT_PTR id) {
    auto item = std::make_unique<BCMenuData>();
    flags = OwnerDrawFlags(flags, id);
    if (!(flags & MF_SEPARATOR)) item->text = text ? text : L"";
    if (flags & MF_POPUP) {
        HMENU popup = reinterpret_cast<HMENU>(id);
        SubMenuList().push_back(popup);
        m_popupHandles.push_back(popup);
    }
    item->flags = flags & ~MF_BYPOSITION;
    item->id = id;
    TakeImage(*item);
    BCMenuData* record = item.get();
    m_items.push_back(std::move(item));
    BOOL ok = ::AppendMenuW(m_hMenu, flags, id, reinterpret_cast<const wchar_t*>(record));
    if (m_bLoaded) Synchronize();
    return ok;
}

BOOL BCMenu::ModifyOwnerDrawItem(UINT position, UINT flags, UINT_PTR id, const wchar_t* text) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    if (!::GetMenuItemInfoW(m_hMenu, position, (flags & MF_BYPOSITION) != 0, &info)) return FALSE;
    BCMenuData* record = nullptr;
    for (auto& item : m_items)
        if (reinterpret_cast<ULONG_PTR>(item.get()) == info.dwItemData) record = item.get();
    if (!record) {
        m_items.push_back(std::make_unique<BCMenuData>());
        record = m_items.back().get();
    }
    flags = OwnerDrawFlags(flags, id);
    record->text = (flags & MF_SEPARATOR) || !text ? L"" : text;
    if (flags & MF_POPUP) {
        HMENU popup = reinterpret_cast<HMENU>(id);
        if (!IsSubMenu(popup)) SubMenuList().push_back(popup);
        if (std::find(m_popupHandles.begin(), m_popupHandles.end(), popup) == m_popupHandles.end())
            m_popupHandles.push_back(popup);
    }
    record->flags = flags & ~MF_BYPOSITION;
    record->id = id;
    TakeImage(*record);
    BOOL ok = ::ModifyMenuW(m_hMenu, position, flags, id, reinterpret_cast<const wchar_t*>(record));
    if (m_bLoaded) Synchronize();
    return ok;
}

// Puts the records in the order of the system menu's items: items added or removed by the
// plain menu calls get a record or lose theirs.
void BCMenu::Synchronize() {
    for (auto& item : m_items) item->syncFlag = 0;
    std::vector<std::unique_ptr<BCMenuData>> ordered;
    const int count = ::GetMenuItemCount(m_hMenu);
    for (int pos = 0; pos < count; ++pos) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA | MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
        if (!::GetMenuItemInfoW(m_hMenu, static_cast<UINT>(pos), TRUE, &info)) continue;
        auto it = std::find_if(m_items.begin(), m_items.end(), [&](const std::unique_ptr<BCMenuData>& item) {
            return item && !item->syncFlag && reinterpret_cast<ULONG_PTR>(item.get()) == info.dwItemData;
        });
        if (it != m_items.end()) {
            (*it)->syncFlag = 1;
            ordered.push_back(std::move(*it));
            continue;
        }
        auto item = std::make_unique<BCMenuData>();
        item->syncFlag = 1;
        if (info.fType & MFT_SEPARATOR) {
            item->flags = MF_SEPARATOR | MF_OWNERDRAW;
        } else {
            wchar_t text[256] = {};
            ::GetMenuStringW(m_hMenu, static_cast<UINT>(pos), text, 256, MF_BYPOSITION);
            item->text = text;
            item->flags = MF_OWNERDRAW | (info.hSubMenu ? MF_POPUP : 0);
            item->id = info.hSubMenu ? reinterpret_cast<UINT_PTR>(info.hSubMenu) : info.wID;
            if (info.hSubMenu) {
                if (!IsSubMenu(info.hSubMenu)) SubMenuList().push_back(info.hSubMenu);
                m_popupHandles.push_back(info.hSubMenu);
            }
            TakeImage(*item);
        }
        info.fMask = MIIM_FTYPE | MIIM_DATA;
        info.fType |= MFT_OWNERDRAW;
        info.dwItemData = reinterpret_cast<ULONG_PTR>(item.get());
        ::SetMenuItemInfoW(m_hMenu, static_cast<UINT>(pos), TRUE, &info);
        ordered.push_back(std::move(item));
    }
    m_items = std::move(ordered);
}

void BCMenu::AlignAcceleratorText() {
    CFont font;
    MenuFont(font, false);
    CClientDC dc(MeasuringWindow());
    HGDIOBJ old = dc.SelectObject(font);
    int widest = 0;
    std::wstring text, accelerator;
    for (auto& item : m_items) {
        if (item->text.find(L'\t') == std::wstring::npos) continue;
        SplitAtTab(item->text, text, accelerator);
        widest = std::max(widest, TextWidth(dc, text));
    }
    for (auto& item : m_items) {
        if (item->text.find(L'\t') == std::wstring::npos) continue;
        SplitAtTab(item->text, text, accelerator);
        for (int pad = 0; pad < 256 && TextWidth(dc, text) < widest; ++pad) text += L' ';
        item->text = text + L'\t' + accelerator;
    }
    dc.SelectObject(old);
}

BOOL BCMenu::AddImage(UINT id, HBITMAP bitmap) {
    return AddToImageTable(id, bitmap, m_crImageTransparent, m_cxIcon, m_cyIcon);
}

BOOL BCMenu::AddImage(UINT id, HICON icon) {
    HBITMAP bitmap = IconToBitmap(icon, m_cxIcon, m_cyIcon);
    if (!bitmap) return FALSE;
    BOOL ok = AddToImageTable(id, bitmap, ::GetSysColor(COLOR_BTNFACE), m_cxIcon, m_cyIcon);
    ::DeleteObject(bitmap);
    return ok;
}

BOOL BCMenu::SetCheckImages(HBITMAP strip, int checked, int unchecked) {
    auto images = std::make_unique<CImageList>();
    images->m_hImageList = ::ImageList_Create(m_cxIcon, m_cyIcon, ILC_COLOR24 | ILC_MASK, 2, 1);
    if (!images->m_hImageList || ::ImageList_AddMasked(*images, strip, m_crImageTransparent) < 0) return FALSE;
    if (m_pCheckImages && !m_bCheckImagesShared) delete m_pCheckImages;
    m_pCheckImages = images.release();
    m_bCheckImagesShared = FALSE;
    m_nCheckedImage = checked;
    m_nUncheckedImage = unchecked;
    return TRUE;
}

void BCMenu::Clear(bool checkImages) {
    Forget(m_hMenu);
    for (HMENU popup : m_popupHandles) Forget(popup);
    m_popupHandles.clear();
    // The sub-menus belong to this menu's handle: destroying it destroys them, so their
    // objects only let go of their handles.
    for (auto& sub : m_subMenus) {
        sub->Clear(true);
        sub->Detach();
    }
    m_subMenus.clear();
    m_items.clear();
    if (checkImages) {
        if (m_pCheckImages && !m_bCheckImagesShared) delete m_pCheckImages;
        m_pCheckImages = nullptr;
    }
    m_bLoaded = FALSE;
}

BOOL BCMenu::DestroyMenu() {
    Clear(true);
    return CMenu::DestroyMenu();
}

LRESULT BCMenu::FindMnemonic(UINT ch, UINT flags, CMenu* menu) {
    auto* bc = dynamic_cast<BCMenu*>(menu);
    if (!bc || !(flags & MF_POPUP)) return 0;
    if (::GetMenuItemCount(bc->m_hMenu) != static_cast<int>(bc->m_items.size())) bc->Synchronize();
    wchar_t key[3] = {L'&', static_cast<wchar_t>(std::towlower(static_cast<wint_t>(ch))), 0};
    for (std::size_t i = 0; i < bc->m_items.size(); ++i) {
        std::wstring text = bc->m_items[i]->text;
        for (auto& c : text) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
        if (text.find(key) != std::wstring::npos) return MAKELRESULT(static_cast<WORD>(i), MNC_EXECUTE);
    }
    return 0;
}

void BCMenu::MeasureItem(MEASUREITEMSTRUCT* mis) {
    const auto* item = reinterpret_cast<const BCMenuData*>(mis->itemData);
    const bool flat = IsFlatLook();
    const int dy = flat ? 7 : 4;
    if (!item || (item->flags & MF_SEPARATOR)) {
        mis->itemWidth = 0;
        mis->itemHeight = static_cast<UINT>(std::max(::GetSystemMetrics(SM_CYMENU) / 2, (m_cyIcon + dy) / 2));
        return;
    }
    CFont font;
    MenuFont(font, false);
    CClientDC dc(MeasuringWindow());
    HGDIOBJ old = s_shellType >= 2 ? dc.SelectObject(font) : nullptr;
    std::wstring text, accelerator;
    SplitAtTab(item->text, text, accelerator);
    if (item->text.find(L'\t') != std::wstring::npos) text += kAcceleratorGap + accelerator;
    CSize size = dc.GetTextExtent(text.c_str(), static_cast<int>(text.size()));
    if (old) dc.SelectObject(old);
    mis->itemWidth = static_cast<UINT>(flat ? m_cxIcon + size.cx + dy + 8 : size.cx + 2 * m_cxIcon + 1);
    mis->itemHeight = static_cast<UINT>(std::max(::GetSystemMetrics(SM_CYMENU), m_cyIcon + dy));
}

void BCMenu::DrawItem(DRAWITEMSTRUCT* dis) {
    const auto* item = reinterpret_cast<const BCMenuData*>(dis->itemData);
    if (!item) return;
    if (!(::GetDeviceCaps(dis->hDC, RASTERCAPS) & RC_PALETTE) && IsFlatLook())
        DrawFlat(dis, *item);
    else
        DrawClassic(dis, *item);
}

void BCMenu::DrawMark(CDC& dc, const CRect& cell, const DRAWITEMSTRUCT* dis, COLORREF colour) {
    const bool checked = (dis->itemState & ODS_CHECKED) != 0;
    const int image = checked ? m_nCheckedImage : m_nUncheckedImage;
    if (m_pCheckImages && image >= 0) {
        ::ImageList_Draw(*m_pCheckImages, image, dc, cell.left + (cell.Width() - m_cxIcon) / 2,
                         cell.top + (cell.Height() - m_cyIcon) / 2, ILD_TRANSPARENT);
        return;
    }
    if (!checked) return;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    ::GetMenuItemInfoW(m_hMenu, dis->itemID, FALSE, &info);
    int x = cell.left + (cell.Width() - 7) / 2, y = cell.top + (cell.Height() - 7) / 2;
    if (info.fType & MFT_RADIOCHECK)
        DrawRadioMark(dc, x, y, colour);
    else
        DrawCheckMark(dc, x, y, colour);
}

// The classic look, straight on the item DC: the menu colour (the highlight colour right of
// the image cell when selected); a checked item's cell sunken in a lightened face colour with
// its image or mark, an image raised when selected; the text and the accelerator in the menu
// text colour (highlight text when selected, embossed grey when disabled, bold for the default
// item).
void BCMenu::DrawClassic(DRAWITEMSTRUCT* dis, const BCMenuData& item) {
    CDC dc;
    dc.Attach(dis->hDC);
    const CRect r(dis->rcItem);
    const COLORREF menu = ::GetSysColor(COLOR_MENU), highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF light = ::GetSysColor(COLOR_3DHILIGHT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
    if (item.flags & MF_SEPARATOR) {
        dc.FillSolidRect(&r, menu);
        int y = r.top + r.Height() / 2 - 1;
        dc.FillSolidRect(r.left, y, r.Width(), 1, shadow);
        dc.FillSolidRect(r.left, y + 1, r.Width(), 1, light);
        dc.Detach();
        return;
    }
    const bool disabled = (dis->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    const bool selected = (dis->itemState & ODS_SELECTED) && (!disabled || m_bSelectDisabled);
    const bool checked = (dis->itemState & ODS_CHECKED) != 0;
    const int cell = m_cxIcon + 4;
    CRect cellRect(r.left, r.top, r.left + cell, r.bottom);
    CRect textRect(r.left + cell, r.top, r.right, r.bottom);
    dc.FillSolidRect(&cellRect, menu);
    dc.FillSolidRect(&textRect, selected ? highlight : menu);

    CRect box(cellRect);
    box.DeflateRect(1, 1);
    if (checked) FrameCell(dc, box, BDR_SUNKENOUTER, ::GetSysColor(COLOR_BTNFACE), 0.6);
    if (item.image) {
        int x = box.left + (box.Width() - m_cxIcon) / 2, y = box.top + (box.Height() - m_cyIcon) / 2;
        if (disabled)
            DrawDisabledImage(dc, x, y, *item.image, 0, m_cxIcon, m_cyIcon);
        else
            ::ImageList_Draw(*item.image, 0, dc, x, y, ILD_TRANSPARENT);
        if (selected && !checked) dc.Draw3dRect(&box, light, shadow);
    } else {
        DrawMark(dc, box, dis, ::GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
    }

    CFont font;
    MenuFont(font, (dis->itemState & ODS_DEFAULT) != 0);
    HGDIOBJ oldFont = dc.SelectObject(font);
    dc.SetBkMode(TRANSPARENT);
    std::wstring text, accelerator;
    SplitAtTab(item.text, text, accelerator);
    const int accelX = TextWidth(dc, text + kAcceleratorGap);
    auto draw = [&](CRect at, COLORREF colour) {
        dc.SetTextColor(colour);
        dc.DrawText(text.c_str(), -1, &at, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        at.left += accelX;
        if (!accelerator.empty()) dc.DrawText(accelerator.c_str(), -1, &at, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    };
    CRect t(textRect);
    t.left += 4;
    if (disabled) {
        CRect shifted(t);
        shifted.OffsetRect(1, 1);
        draw(shifted, light);
        draw(t, ::GetSysColor(COLOR_GRAYTEXT));
    } else {
        draw(t, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    }
    dc.SelectObject(oldFont);
    dc.Detach();
}

// The flat look, drawn off screen: a strip in the face colour under the image cell, the body
// in the window colour; a selected item framed in the highlight colour over a lightened
// highlight fill, a checked one's cell likewise; a selected image raised over its dithered
// shadow; the text and the accelerator in the menu text colour (grey when disabled).
void BCMenu::DrawFlat(DRAWITEMSTRUCT* dis, const BCMenuData& item) {
    CDC target;
    target.Attach(dis->hDC);
    {
        BCMenuMemDC dc(&target, &dis->rcItem);
        const CRect r(dis->rcItem);
        const bool themed = s_shellType == 7 && !IsClassicTheme();
        const COLORREF window = ::GetSysColor(COLOR_WINDOW);
        const COLORREF face = themed ? ::GetSysColor(COLOR_BTNFACE) : LightenColor(::GetSysColor(COLOR_BTNFACE), 0.25);
        CBrush windowBrush(window), faceBrush(face);
        CRect strip(r.left, r.top, r.left + m_cxIcon + 8, r.bottom);
        CRect body(strip.right, r.top, r.right, r.bottom);
        dc.FillRect(&strip, faceBrush);
        if (item.flags & MF_SEPARATOR) {
            dc.FillRect(&body, windowBrush);
            dc.FillSolidRect(body.left + 4, r.top + r.Height() / 2, body.Width() - 4, 1,
                             LightenColor(::GetSysColor(COLOR_BTNSHADOW), 0.4));
        } else {
            const COLORREF text = ::GetSysColor(COLOR_MENUTEXT), highlight = ::GetSysColor(COLOR_HIGHLIGHT);
            const double selectFactor = themed ? 0.7 : 0.85;
            CPen windowPen(PS_SOLID, 1, window);
            HGDIOBJ oldPen = dc.SelectObject(windowPen);
            HGDIOBJ oldBrush = dc.SelectObject(windowBrush);
            ::Rectangle(dc, body.left, body.top, body.right, body.bottom);
            dc.SelectObject(oldBrush);
            dc.SelectObject(oldPen);

            const bool disabled = (dis->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
            const bool selected = (dis->itemState & ODS_SELECTED) && (!disabled || m_bSelectDisabled);
            const bool checked = (dis->itemState & ODS_CHECKED) != 0;
            if (selected) FillCell(dc, r, highlight, selectFactor, highlight);
            CRect box(strip);
            box.DeflateRect(1, 1);
            if (checked) FillCell(dc, box, highlight, selected ? 0.4 : 0.5, highlight);
            if (item.image) {
                int x = box.left + (box.Width() - m_cxIcon) / 2, y = box.top + (box.Height() - m_cyIcon) / 2;
                if (disabled) {
                    DrawDisabledImage(dc, x, y, *item.image, 0, m_cxIcon, m_cyIcon);
                } else if (selected && !checked) {
                    DrawDitheredImage(dc, x + 1, y + 1, *item.image, 0, m_cxIcon, m_cyIcon,
                                      ::GetSysColor(COLOR_BTNSHADOW));
                    ::ImageList_Draw(*item.image, 0, dc, x - 1, y - 1, ILD_TRANSPARENT);
                } else {
                    ::ImageList_Draw(*item.image, 0, dc, x, y, ILD_TRANSPARENT);
                }
            } else {
                DrawMark(dc, box, dis, disabled ? ::GetSysColor(COLOR_GRAYTEXT) : text);
            }

            CFont font;
            MenuFont(font, (dis->itemState & ODS_DEFAULT) != 0);
            HGDIOBJ oldFont = dc.SelectObject(font);
            dc.SetBkMode(TRANSPARENT);
            dc.SetTextColor(disabled ? ::GetSysColor(COLOR_GRAYTEXT) : text);
            std::wstring caption, accelerator;
            SplitAtTab(item.text, caption, accelerator);
            CRect t(body);
            t.left += 6;
            dc.DrawText(caption.c_str(), -1, &t, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
            if (!accelerator.empty()) {
                t.left += TextWidth(dc, caption + kAcceleratorGap);
                dc.DrawText(accelerator.c_str(), -1, &t, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
            }
            dc.SelectObject(oldFont);
        }
    }
    target.Detach();
}
