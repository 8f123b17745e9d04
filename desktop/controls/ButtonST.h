// CButtonST: a dialog's push button or check box drawn flat: a face in the button colour, a
// raised one-pixel frame while the pointer is over it, a sunken one while pressed (or checked),
// and the caption centred (embossed grey when disabled). A check-box button keeps its check
// state itself. Attached with DDX_Control; the parent still gets BN_CLICKED.
// The class also carries looks and actions that its owner may switch on through its public
// members: the classic raised look with a focus rectangle, an icon or a bitmap (with its mask)
// beside the caption, the parent's background instead of a face, a popup menu, a web address
// or sounds on click, and a cursor of its own.
#pragma once
#include "BCMenu.h"
#include "framework.h"

class CButtonST : public CButton {
public:
    CButtonST();
    ~CButtonST() override;

    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void DrawItem(DRAWITEMSTRUCT* dis) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    virtual int PaintBackground(CDC* dc, CRect* r);
    virtual int PaintBorder(CDC* dc, CRect* r);
    virtual int PaintIcon(CDC* dc, BOOL hasTitle, RECT* item, CRect* caption, BOOL pressed, BOOL disabled);
    virtual int PaintBitmap(CDC* dc, BOOL hasTitle, RECT* item, CRect* caption, BOOL pressed, BOOL disabled);
    virtual int PaintCaption(CDC* dc, const wchar_t* title, RECT* item, CRect* caption,
                             BOOL pressed, BOOL disabled);

    enum { ColorInBk, ColorInFg, ColorOutBk, ColorOutFg, ColorFocusBk, ColorFocusFg };
    enum { ImageLeft, ImageAbove, ImageRight };
    // Index of the image records: "in" (hovered or pressed) and "out".
    enum { In, Out };
    // Index of the sound records.
    enum { HoverSound, ClickSound };

    struct IconImage {
        HICON icon = nullptr;
        int width = 0, height = 0;
    };
    struct BitmapImage {
        HBITMAP bitmap = nullptr;
        int width = 0, height = 0;
        HBITMAP mask = nullptr;  // monochrome: 1 where the bitmap is transparent
    };
    struct Sound {
        wchar_t name[MAX_PATH] = {};
        const wchar_t* sound = nullptr;  // a resource name or a memory image, as `flags` say
        HMODULE module = nullptr;
        DWORD flags = 0;
    };

    BOOL m_bGreyDisabledImage = TRUE;
    CPoint m_ptImageMargin{3, 3};
    CPoint m_ptPressedShift{1, 1};
    BOOL m_bFlat = TRUE;
    BOOL m_bHover = FALSE;
    BOOL m_bTransparent = FALSE;
    BOOL m_bPressed = FALSE, m_bFocused = FALSE, m_bDisabled = FALSE;
    BOOL m_bDefault = FALSE;
    BOOL m_bCheckBox = FALSE;
    BYTE m_nImageAlign = ImageLeft;
    BOOL m_bHoverBorder = TRUE;
    BOOL m_bFlatFocus = FALSE;
    COLORREF m_colors[6];
    HWND m_hMenuOwner = nullptr;  // receives the popup menu's command
    BOOL m_bMenuShown = FALSE;
    BCMenu m_menu;  // the popup menu: its sub-menu 0 opens on click
    HCURSOR m_hButtonCursor = nullptr;
    CToolTipCtrl m_tip;
    CDC m_dcParentBk;  // the parent's background under the button, for the transparent look
    CBitmap m_bmpParentBk;
    HGDIOBJ m_pOldParentBk = nullptr;
    BOOL m_bHoverWhenInactive = TRUE;
    int m_nCheckState = 0;
    UINT m_nButtonType = 0x1F;
    DWORD m_dwTipStyle = 0;
    wchar_t m_szUrl[MAX_PATH] = {};  // opened on click
    IconImage m_icons[2];
    BitmapImage m_bitmaps[2];
    // Told with SendMessage(window, message, sub-menu, lParam) before the popup menu opens.
    HWND m_hMenuCallbackWnd = nullptr;
    UINT m_nMenuCallbackMessage = 0;
    LPARAM m_lMenuCallbackParam = 0;
    Sound m_sounds[2];

private:
    void SetDefaultColors();
    void FreeParentBk();
    void PaintParentBk(CDC* dc);
    void CancelHover();
    void OnMouseMove(UINT flags, CPoint point);
    void OnClicked();
    void PlayButtonSound(int which);
    // Where an image of `width` x `height` goes, and the caption rectangle made room for.
    CRect ImageRect(BOOL hasTitle, const RECT* item, CRect* caption, int width, int height, BOOL pressed) const;
};
