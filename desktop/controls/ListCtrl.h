// Thin wrappers of the list view, its header and image lists: CListCtrl (report view),
// CHeaderCtrl and CImageList.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "framework.h"

// An image list, ended with the object.
class CImageList {
public:
    CImageList() = default;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    ~CImageList() { DeleteImageList(); }
    HIMAGELIST m_hImageList = nullptr;
    operator HIMAGELIST() const { return m_hImageList; }
    // From the bitmap resource `bitmapId`: a strip of pictures `cx` wide; pixels of `mask` are
    // transparent.
    BOOL Create(UINT bitmapId, int cx, int grow, COLORREF mask) {
        DeleteImageList();
        m_hImageList = ::ImageList_LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(bitmapId), cx,
                                              grow, mask, IMAGE_BITMAP, 0);
        return m_hImageList != nullptr;
    }
    BOOL DeleteImageList() {
        HIMAGELIST list = m_hImageList;
        m_hImageList = nullptr;
        return list ? ::ImageList_Destroy(list) : FALSE;
    }
    int GetImageCount() const { return ::ImageList_GetImageCount(m_hImageList); }
};

class CHeaderCtrl : public CWnd {
public:
    int GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }
    BOOL GetItem(int i, HDITEMW* item) const {
        return SendMessage(HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item)) != 0;
    }
    BOOL SetItem(int i, HDITEMW* item) {
        return SendMessage(HDM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item)) != 0;
    }
    BOOL GetItemRect(int i, RECT* r) const {
        return SendMessage(HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(r)) != 0;
    }
    HIMAGELIST SetImageList(HIMAGELIST list) {
        return reinterpret_cast<HIMAGELIST>(SendMessage(HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list)));
    }
};

class CListCtrl : public CWnd {
public:
    HWND GetHeaderCtrl() const { return reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)); }
    int InsertColumn(int i, const wchar_t* title, int format, int width) {
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
        column.fmt = format;
        column.cx = width;
        column.pszText = const_cast<wchar_t*>(title);
        return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column)));
    }
    BOOL DeleteColumn(int i) { return SendMessage(LVM_DELETECOLUMN, static_cast<WPARAM>(i)) != 0; }
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    int InsertItem(int i, const wchar_t* text) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = const_cast<wchar_t*>(text);
        return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    BOOL SetItemText(int i, int subItem, const wchar_t* text) {
        LVITEMW item{};
        item.iSubItem = subItem;
        item.pszText = const_cast<wchar_t*>(text);
        return SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)) != 0;
    }
    BOOL DeleteAllItems() { return SendMessage(LVM_DELETEALLITEMS) != 0; }
};
