#include "AdvHeaderCtrl.h"

CAdvHeaderCtrl::~CAdvHeaderCtrl() {
    // The header belongs to its list view: give it back rather than destroy it.
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        SetImageList(nullptr);
        UnsubclassWindow();
    }
}

BOOL CAdvHeaderCtrl::Init(HWND header) {
    if (!SubclassWindow(header)) {
        ::OutputDebugStringW(L"Unable to subclass existing header!\n");
        return FALSE;
    }
    m_images.Create(PicturesBitmap, 16, 4, RGB(255, 0, 255));
    SetImageList(m_images);
    for (int i = 0; i < GetItemCount(); ++i) ShowOwnPicture(i);
    ModifyStyle(0, HDS_HOTTRACK, 0);
    return TRUE;
}

BOOL CAdvHeaderCtrl::ShowOwnPicture(int i) { return SetPicture(i, i); }

BOOL CAdvHeaderCtrl::SetPicture(int i, int image) {
    HDITEMW item{};
    item.mask = HDI_FORMAT | HDI_IMAGE;
    if (!GetItem(i, &item)) return FALSE;
    item.fmt |= HDF_IMAGE;
    item.iImage = image;
    return SetItem(i, &item);
}

BOOL CAdvHeaderCtrl::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
    if (message != WM_NOTIFY) return FALSE;
    const auto* header = reinterpret_cast<const NMHEADERW*>(lParam);
    switch (header->hdr.code) {
    case HDN_BEGINTRACKW:
    case HDN_BEGINTRACKA:
        OnBeginTrack(header, result);
        return TRUE;
    case HDN_ENDTRACKW:
    case HDN_ENDTRACKA:
        OnEndTrack(header, result);
        return TRUE;
    default:
        return FALSE;
    }
}

void CAdvHeaderCtrl::OnBeginTrack(const NMHEADERW* header, LRESULT* result) {
    HDITEMW item{};
    item.mask = HDI_IMAGE;
    GetItem(header->iItem, &item);
    m_nImageBeforeDrag = item.iImage;
    SetPicture(header->iItem, DragPicture);
    *result = 0;  // the drag goes ahead
}

void CAdvHeaderCtrl::OnEndTrack(const NMHEADERW* header, LRESULT* result) {
    if (m_nImageBeforeDrag != -1) SetPicture(header->iItem, m_nImageBeforeDrag);
    m_nImageBeforeDrag = -1;
    *result = 0;
}
