// CTrayNotifyIcon: the notification-area icon, its balloons and its menu;
// the icon's drawing surface and the tray rectangle.
#pragma once
#include "vfx.h"

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

    NOTIFYICONDATAA m_nid;
    BOOL m_bCreated = FALSE;
    CWnd* m_pOwner = nullptr;
    CMenu m_menu;
};

extern CTrayNotifyIcon g_trayIcon;
extern int g_trayIconRetries;

HICON CreateIconFromBitmap(CBitmap* pBitmap);
BOOL CreateIconSurface(CDC& dc, CBitmap& bmp);
void GetTrayRect(RECT* rect);
