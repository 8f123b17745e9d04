// CSystemTray: the program's icon in the taskbar's notification area, with a tooltip and a
// balloon at start. A hidden popup window receives the icon's callback messages: a right click
// opens the tray menu, a double click sends the menu's default command to the target window.
// The icon is hidden and shown for the main window's minimise/restore toggle and added again
// when the shell restarts or the work area changes. Every call to the shell goes through the
// shell seam.
#pragma once
#include "resource.h"
#include "framework.h"

class CSystemTray : public CWnd {
public:
    CSystemTray();
    ~CSystemTray() override;

    void Initialise();
    BOOL Create(HICON icon);
    BOOL AddIcon();
    BOOL RemoveIcon();
    BOOL HideIcon();
    BOOL ShowIcon();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual LRESULT OnTrayIconNotify(WPARAM wParam, LPARAM lParam);
    // Called with the popup just before it is shown; empty here.
    virtual void CustomizeTrayMenu(CMenu*) {}

    static constexpr UINT IconId = IDR_TRAYMENU;  // also the resource ID of the tray menu
    static constexpr UINT CallbackMessage = WM_APP + 10;
    static UINT TaskbarCreatedMessage();

    NOTIFYICONDATAW m_iconData;
    BOOL m_bTrayAvailable;
    BOOL m_bIconHidden;
    BOOL m_bIconDeleted;
    BOOL m_bAddPending;
    BOOL m_bBalloonShell;
    CWnd* m_pCommandWnd;
    UINT m_nDefaultEntry;
    BOOL m_bEntryByPosition;
    UINT m_uAddFlags;

private:
    BOOL Notify(DWORD message) { return Shell().NotifyIcon(message, &m_iconData); }
    LRESULT OnTaskbarCreated();
    void OnSettingChange(UINT flags);
    void AddAgain();
};
