// CTrayNotifyIcon: the notification-area icon, its balloons and its menu;
// the icon's drawing surface and the tray rectangle (TrayWindows,
// ComputeTrayRect, GetTrayRect).
#pragma once
#include "vfx.h"
#include <vector>

// The record sizes the shell knows: with the balloon fields, and the oldest
// shell's (tip of 64 characters, no balloon).
#define TRAY_RECORD_SIZE_FULL   ((DWORD)NOTIFYICONDATAA_V2_SIZE)
#define TRAY_RECORD_SIZE_OLD    ((DWORD)NOTIFYICONDATAA_V1_SIZE)

class CTrayNotifyIcon {
public:
    CTrayNotifyIcon();
    virtual ~CTrayNotifyIcon();
    BOOL Create(CWnd* pOwner, UINT id, const char* tip, HICON icon, UINT callbackMessage,
                UINT menuId, BOOL fullSize);
    BOOL CreateWithBalloon(CWnd* pOwner, UINT id, const char* tip, const char* text, const char* title,
                           UINT timeoutMs, int type, HICON icon, UINT callbackMessage, UINT menuId);
    BOOL CreateFromBitmap(CWnd* pOwner, UINT id, const char* tip, CBitmap* pBitmap,
                          UINT callbackMessage, UINT menuId, BOOL fullSize);
    BOOL CreateWithBalloonFromBitmap(CWnd* pOwner, UINT id, const char* tip, const char* text,
                                     const char* title, UINT timeoutMs, int type, CBitmap* pBitmap,
                                     UINT callbackMessage, UINT menuId);
    BOOL SetIcon(HICON icon);
    BOOL SetIconFromBitmap(CBitmap* pBitmap);
    void RemoveIcon();
    BOOL LoadMenu(UINT menuId);
    CMenu* GetMenu() { return &m_menu; }
    virtual BOOL HandleCallback(WPARAM id, LPARAM mouseMessage);
    // The "Try again?" question is open, or the user answered it with No.
    BOOL IsAsking() const { return m_bAsking; }
    BOOL IsExitChosen() const { return m_bExitChosen; }
    // Another tracker of the popup menu (the dashboard's More...) holds it
    // in use as the icon's own popup does: a replaced menu is destroyed
    // only once the last user is done.
    void BeginMenuUse() { ++m_nMenuUsers; }
    void EndMenuUse();

    NOTIFYICONDATAA m_nid;
    BOOL m_bCreated = FALSE;
    CWnd* m_pOwner = nullptr;
    CMenu m_menu;

private:
    // Asks the shell to delete the icon of the current record (no change to
    // the menu); used before every add and by RemoveIcon.
    void DeleteFromShell();
    void PrepareRecord(CWnd* pOwner, UINT id, UINT menuId, DWORD size, UINT uID, UINT flags,
                       UINT callbackMessage, HICON icon);
    void DropMenu();
    BOOL Add();
    // An add that the shell answered with failure; it may still show the
    // icon later, so the record is deleted before the next add.
    BOOL m_bAddFailed = FALSE;
    BOOL m_bAsking = FALSE;
    BOOL m_bExitChosen = FALSE;
    // While a popup runs, a menu being replaced is destroyed only after it.
    int m_nMenuUsers = 0;
    HMENU m_hRetiredMenu = nullptr;
    // The pixels of the picture the shell shows, as SetIconFromBitmap last
    // sent it; empty when not known (before the first, after an add).
    std::vector<BYTE> m_shownPixels;
};

extern CTrayNotifyIcon g_trayIcon;
extern int g_trayIconRetries;

// The call through which the icon talks to the shell (NULL: Shell_NotifyIconA).
// Tests install a recorder.
typedef BOOL (*PFN_SHELL_NOTIFY_ICON)(DWORD message, NOTIFYICONDATAA* data);
extern PFN_SHELL_NOTIFY_ICON g_pfnShellNotifyIcon;

HICON CreateIconFromBitmap(CBitmap* pBitmap);
BOOL CreateIconSurface(CDC& dc, CBitmap& bmp);

// What GetTrayRect finds of the shell: the taskbar, the notification area
// and the clock met before the walk stopped, the app-bar answer, the work area.
struct TrayWindows {
    BOOL bTaskbar = FALSE;
    RECT rcTaskbar = {};
    BOOL bNotify = FALSE;
    RECT rcNotify = {};
    BOOL bClock = FALSE;
    RECT rcClock = {};
    BOOL bAppBar = FALSE;
    UINT uAppBarEdge = 0;
    RECT rcAppBar = {};
    RECT rcWorkArea = {};
};
// The notification area without the clock, from what was found.
void ComputeTrayRect(const TrayWindows& found, RECT* rect);
// The taskbar's rectangle and the parts found among its descendants.
void ReadTaskbarWindows(HWND taskbar, TrayWindows* found);
// Gathers what the shell shows.
void FindTrayWindows(TrayWindows* found);
void GetTrayRect(RECT* rect);
