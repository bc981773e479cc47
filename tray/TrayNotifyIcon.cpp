#include "tray/TrayNotifyIcon.h"
#include "services/Translator.h"

int g_trayIconRetries;

CTrayNotifyIcon::CTrayNotifyIcon()
{
    memset(&m_nid, 0, sizeof(m_nid));
}

CTrayNotifyIcon::~CTrayNotifyIcon()
{
    RemoveIcon();
    m_menu.DestroyMenu();
}

BOOL CTrayNotifyIcon::Create(CWnd* pOwner, UINT id, const char* tip, HICON icon, UINT callbackMessage,
                             UINT menuId, BOOL fullSize)
{
    (void)fullSize;
    LoadMenu(menuId ? menuId : id);
    m_pOwner = pOwner;
    memset(&m_nid, 0, sizeof(m_nid));
    m_nid.cbSize = sizeof(m_nid);
    m_nid.hWnd = pOwner ? pOwner->m_hWnd : nullptr;
    m_nid.uID = id + (UINT)g_trayIconRetries;
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON;
    m_nid.uCallbackMessage = callbackMessage;
    m_nid.hIcon = icon;
    lstrcpynA(m_nid.szTip, tip ? tip : "", sizeof(m_nid.szTip));
    m_bCreated = ::Shell_NotifyIconA(NIM_ADD, &m_nid);
    if (!m_bCreated) ++g_trayIconRetries;
    return TRUE;
}

BOOL CTrayNotifyIcon::CreateWithBalloon(CWnd*, UINT, const char*, const char*, const char*, UINT, int, HICON,
                                        UINT, UINT)
{
    return FALSE;
}

BOOL CTrayNotifyIcon::CreateFromBitmap(CWnd* pOwner, UINT id, const char* tip, CBitmap* pBitmap,
                                       UINT callbackMessage, UINT menuId, BOOL fullSize)
{
    HICON icon = CreateIconFromBitmap(pBitmap);
    BOOL ok = Create(pOwner, id, tip, icon, callbackMessage, menuId, fullSize);
    if (icon) ::DestroyIcon(icon);
    return ok;
}

BOOL CTrayNotifyIcon::CreateWithBalloonFromBitmap(CWnd* pOwner, UINT id, const char* tip, const char* text,
                                                  const char* title, UINT timeoutMs, int type, CBitmap* pBitmap,
                                                  UINT callbackMessage, UINT menuId)
{
    HICON icon = CreateIconFromBitmap(pBitmap);
    BOOL ok = CreateWithBalloon(pOwner, id, tip, text, title, timeoutMs, type, icon, callbackMessage, menuId);
    if (icon) ::DestroyIcon(icon);
    return ok;
}

BOOL CTrayNotifyIcon::SetIcon(HICON icon)
{
    if (!m_bCreated) return FALSE;
    m_nid.uFlags = NIF_ICON;
    m_nid.hIcon = icon;
    return ::Shell_NotifyIconA(NIM_MODIFY, &m_nid);
}

BOOL CTrayNotifyIcon::SetIconFromBitmap(CBitmap* pBitmap)
{
    HICON icon = CreateIconFromBitmap(pBitmap);
    BOOL ok = SetIcon(icon);
    if (icon) ::DestroyIcon(icon);
    return ok;
}

void CTrayNotifyIcon::RemoveIcon()
{
    if (!m_bCreated) return;
    m_nid.uFlags = 0;
    ::Shell_NotifyIconA(NIM_DELETE, &m_nid);
    m_menu.DestroyMenu();
    m_bCreated = FALSE;
}

BOOL CTrayNotifyIcon::LoadMenu(UINT menuId)
{
    m_menu.DestroyMenu();
    if (!m_menu.LoadMenu(menuId)) return FALSE;
    CMenu* popup = m_menu.GetSubMenu(0);
    if (!popup) return FALSE;
    popup->SetDefaultItem(0, TRUE);
    g_translator.TranslateMenu(popup);
    return TRUE;
}

BOOL CTrayNotifyIcon::HandleCallback(WPARAM id, LPARAM)
{
    return id == m_nid.uID;
}

HICON CreateIconFromBitmap(CBitmap* pBitmap)
{
    if (!pBitmap || !pBitmap->m_hObject) return nullptr;
    int w = ::GetSystemMetrics(SM_CXSMICON), h = ::GetSystemMetrics(SM_CYSMICON);
    int stride = w / 8 + 2;
    BYTE* bits = new BYTE[(size_t)stride * h]();
    HBITMAP mask = ::CreateBitmap(w, h, 1, 1, bits);
    delete[] bits;
    if (!mask) return nullptr;
    ICONINFO ii = {};
    ii.fIcon = TRUE;
    ii.hbmMask = mask;
    ii.hbmColor = (HBITMAP)pBitmap->m_hObject;
    HICON icon = ::CreateIconIndirect(&ii);
    ::DeleteObject(mask);
    return icon;
}

BOOL CreateIconSurface(CDC& dc, CBitmap& bmp)
{
    HWND desktop = ::GetDesktopWindow();
    HDC screen = ::GetDC(desktop);
    if (!screen) return FALSE;
    int w = ::GetSystemMetrics(SM_CXSMICON), h = ::GetSystemMetrics(SM_CYSMICON);
    BOOL ok = bmp.CreateCompatibleBitmap(screen, w, h) && dc.CreateCompatibleDC(screen);
    if (ok) dc.SelectObject(&bmp);
    ::ReleaseDC(desktop, screen);
    return ok;
}

void GetTrayRect(RECT* rect)
{
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    rect->right = work.right;
    rect->bottom = work.bottom;
    rect->left = work.right - 150;
    rect->top = work.bottom - 30;
}
