#include "tray/TrayNotifyIcon.h"
#include "services/Translator.h"
#include "ui/Dashboard.h"
#include <stddef.h>
#include <string.h>

#ifndef _WIN64
// The 32-bit layouts the shell expects.
static_assert(offsetof(NOTIFYICONDATAA, guidItem) == 488, "NOTIFYICONDATAA with balloon fields");
static_assert(offsetof(NOTIFYICONDATAA, szTip) + 64 == 88, "NOTIFYICONDATAA of the oldest shell");
static_assert(sizeof(APPBARDATA) == 36, "APPBARDATA");
#endif

int g_trayIconRetries;
PFN_SHELL_NOTIFY_ICON g_pfnShellNotifyIcon;

static BOOL ShellNotify(DWORD message, NOTIFYICONDATAA* data)
{
    if (g_pfnShellNotifyIcon) return g_pfnShellNotifyIcon(message, data);
    return ::Shell_NotifyIconA(message, data);
}

// Copies a text into one of the record's fixed fields: cut to the field and
// always terminated.
static void CopyField(char* field, size_t size, const char* text)
{
    if (!size) return;
    size_t n = text ? strnlen(text, size - 1) : 0;
    if (n) memcpy(field, text, n);
    field[n] = '\0';
}

CTrayNotifyIcon::CTrayNotifyIcon()
{
    memset(&m_nid, 0, sizeof(m_nid));
}

CTrayNotifyIcon::~CTrayNotifyIcon()
{
    RemoveIcon();
    if (m_bAddFailed) DeleteFromShell();
    m_menu.DestroyMenu();
}

void CTrayNotifyIcon::DeleteFromShell()
{
    NOTIFYICONDATAA nid;
    memset(&nid, 0, sizeof(nid));
    nid.cbSize = m_nid.cbSize ? m_nid.cbSize : TRAY_RECORD_SIZE_FULL;
    nid.hWnd = m_nid.hWnd;
    nid.uID = m_nid.uID;
    ShellNotify(NIM_DELETE, &nid);
    m_bAddFailed = FALSE;
}

void CTrayNotifyIcon::DropMenu()
{
    if (m_nMenuUsers > 0 && m_menu.m_hMenu && !m_hRetiredMenu) {
        // The open popup belongs to this menu: it goes once the popup closed.
        m_hRetiredMenu = m_menu.Detach();
    } else {
        m_menu.DestroyMenu();
    }
}

void CTrayNotifyIcon::EndMenuUse()
{
    if (m_nMenuUsers > 0 && --m_nMenuUsers == 0 && m_hRetiredMenu) {
        ::DestroyMenu(m_hRetiredMenu);
        m_hRetiredMenu = nullptr;
    }
}

BOOL CTrayNotifyIcon::Add()
{
    m_shownPixels.clear();
    m_bCreated = ShellNotify(NIM_ADD, &m_nid) != FALSE;
    m_bAddFailed = !m_bCreated;
    return m_bCreated;
}

// Removes an icon of an earlier add (under whatever id, shown or not),
// loads the menu and fills a fresh record for the next add.
void CTrayNotifyIcon::PrepareRecord(CWnd* pOwner, UINT id, UINT menuId, DWORD size, UINT uID, UINT flags,
                                    UINT callbackMessage, HICON icon)
{
    if (m_bCreated || m_bAddFailed) {
        DeleteFromShell();
        m_bCreated = FALSE;
    }
    LoadMenu(menuId ? menuId : id);
    m_pOwner = pOwner;
    memset(&m_nid, 0, sizeof(m_nid));
    m_nid.cbSize = size;
    m_nid.hWnd = pOwner ? pOwner->m_hWnd : nullptr;
    m_nid.uID = uID;
    m_nid.uFlags = flags;
    m_nid.uCallbackMessage = callbackMessage;
    m_nid.hIcon = icon;
}

BOOL CTrayNotifyIcon::Create(CWnd* pOwner, UINT id, const char* tip, HICON icon, UINT callbackMessage,
                             UINT menuId, BOOL fullSize)
{
    // Once the user chose to end the program nothing is added any more;
    // while the question is open, a redraw from its message loop adds nothing.
    if (m_bExitChosen) return FALSE;
    if (m_bAsking) return TRUE;

    PrepareRecord(pOwner, id, menuId, fullSize ? TRAY_RECORD_SIZE_FULL : TRAY_RECORD_SIZE_OLD,
                  id + (UINT)g_trayIconRetries, NIF_MESSAGE | NIF_ICON, callbackMessage, icon);
    // The tip is kept in the record but not shown (no NIF_TIP): hovering
    // opens the dashboard instead. The oldest shell reads 64 characters.
    CopyField(m_nid.szTip, fullSize ? sizeof(m_nid.szTip) : 64, tip);
    if (Add()) return TRUE;

    ++g_trayIconRetries;
    if (g_trayIconRetries % 10 != 0) return TRUE;

    m_bAsking = TRUE;
    int answer = AfxMessageBox(g_translator.Translate("Failed to create tray icon.\nTry again?"),
                               MB_YESNO | MB_ICONSTOP);
    m_bAsking = FALSE;
    if (answer != IDNO) return TRUE;

    // End the program by closing its main window: a posted command could be
    // dropped by its update rule (Exit is disabled while the settings are open).
    m_bExitChosen = TRUE;
    CWnd* main = AfxGetMainWnd();
    HWND target = (main && main->m_hWnd) ? main->m_hWnd : m_nid.hWnd;
    if (target && ::IsWindow(target)) ::PostMessageA(target, WM_CLOSE, 0, 0);
    else ::PostQuitMessage(0);
    return FALSE;
}

BOOL CTrayNotifyIcon::CreateWithBalloon(CWnd* pOwner, UINT id, const char* tip, const char* text,
                                        const char* title, UINT timeoutMs, int type, HICON icon,
                                        UINT callbackMessage, UINT menuId)
{
    if (m_bExitChosen || m_bAsking) return FALSE;
    PrepareRecord(pOwner, id, menuId, TRAY_RECORD_SIZE_FULL, id, NIF_MESSAGE | NIF_ICON | NIF_INFO,
                  callbackMessage, icon);
    CopyField(m_nid.szTip, sizeof(m_nid.szTip), tip);
    CopyField(m_nid.szInfo, sizeof(m_nid.szInfo), text);
    CopyField(m_nid.szInfoTitle, sizeof(m_nid.szInfoTitle), title);
    m_nid.uTimeout = timeoutMs;
    switch (type) {
    case 0: m_nid.dwInfoFlags = NIIF_WARNING; break;
    case 1: m_nid.dwInfoFlags = NIIF_ERROR; break;
    case 2: m_nid.dwInfoFlags = NIIF_INFO; break;
    default: m_nid.dwInfoFlags = NIIF_NONE; break;
    }
    return Add();
}

BOOL CTrayNotifyIcon::CreateFromBitmap(CWnd* pOwner, UINT id, const char* tip, CBitmap* pBitmap,
                                       UINT callbackMessage, UINT menuId, BOOL fullSize)
{
    HICON icon = CreateIconFromBitmap(pBitmap);
    BOOL ok = Create(pOwner, id, tip, icon, callbackMessage, menuId, fullSize);
    if (icon) ::DestroyIcon(icon);
    m_nid.hIcon = nullptr;
    return ok;
}

BOOL CTrayNotifyIcon::CreateWithBalloonFromBitmap(CWnd* pOwner, UINT id, const char* tip, const char* text,
                                                  const char* title, UINT timeoutMs, int type, CBitmap* pBitmap,
                                                  UINT callbackMessage, UINT menuId)
{
    HICON icon = CreateIconFromBitmap(pBitmap);
    BOOL ok = CreateWithBalloon(pOwner, id, tip, text, title, timeoutMs, type, icon, callbackMessage, menuId);
    if (icon) ::DestroyIcon(icon);
    m_nid.hIcon = nullptr;
    return ok;
}

BOOL CTrayNotifyIcon::SetIcon(HICON icon)
{
    if (!m_bCreated) return FALSE;
    m_nid.uFlags = NIF_ICON;
    m_nid.hIcon = icon;
    return ShellNotify(NIM_MODIFY, &m_nid);
}

// The bits of a bitmap as the system keeps them; empty when they cannot be
// read (or the bitmap is implausibly large for an icon).
static std::vector<BYTE> PixelsOf(CBitmap* pBitmap)
{
    std::vector<BYTE> pixels;
    BITMAP bm = {};
    if (!pBitmap || !pBitmap->m_hObject || !::GetObjectA(pBitmap->m_hObject, sizeof(bm), &bm)) return pixels;
    LONG size = bm.bmWidthBytes * bm.bmHeight;
    if (bm.bmWidthBytes <= 0 || bm.bmHeight <= 0 || size > (1 << 20)) return pixels;
    pixels.resize((size_t)size);
    if (::GetBitmapBits((HBITMAP)pBitmap->m_hObject, size, pixels.data()) != size) pixels.clear();
    return pixels;
}

// A picture like the one the shell already shows is not sent again: the
// engine redraws every second through a long absence, and each change asks
// the shell's process for a round trip.
BOOL CTrayNotifyIcon::SetIconFromBitmap(CBitmap* pBitmap)
{
    std::vector<BYTE> pixels = PixelsOf(pBitmap);
    if (m_bCreated && !pixels.empty() && pixels == m_shownPixels) return TRUE;
    HICON icon = CreateIconFromBitmap(pBitmap);
    BOOL ok = SetIcon(icon);
    if (icon) ::DestroyIcon(icon);
    m_nid.hIcon = nullptr;
    if (ok && icon) m_shownPixels.swap(pixels);
    else m_shownPixels.clear();
    return ok;
}

void CTrayNotifyIcon::RemoveIcon()
{
    m_shownPixels.clear();
    if (!m_bCreated) return;
    m_nid.uFlags = 0;
    DeleteFromShell();
    DropMenu();
    m_bCreated = FALSE;
}

BOOL CTrayNotifyIcon::LoadMenu(UINT menuId)
{
    DropMenu();
    if (!m_menu.LoadMenu(menuId)) return FALSE;
    CMenu* popup = m_menu.GetSubMenu(0);
    if (!popup) return FALSE;
    popup->SetDefaultItem(0, TRUE);
    g_translator.TranslateMenu(popup);
    return TRUE;
}

BOOL CTrayNotifyIcon::HandleCallback(WPARAM id, LPARAM mouseMessage)
{
    if ((UINT)id != m_nid.uID) return FALSE;
    HWND owner = (m_pOwner && m_pOwner->m_hWnd) ? m_pOwner->m_hWnd : nullptr;
    if (!owner) return TRUE;

    if ((UINT)mouseMessage == WM_RBUTTONUP) {
        CMenu* popup = m_menu.GetSubMenu(0);
        if (!popup || m_nMenuUsers > 0) return TRUE;
        ::SetForegroundWindow(owner);
        SuppressDashboard();
        POINT pt = { 0, 0 };
        ::GetCursorPos(&pt);
        HMENU hPopup = popup->m_hMenu;
        BeginMenuUse();
        ::TrackPopupMenu(hPopup, 0, pt.x, pt.y, 0, owner, nullptr);
        EndMenuUse();
        // Lets the menu close properly when the user clicks elsewhere.
        ::PostMessageA(owner, WM_NULL, 0, 0);
        --g_dashboardSuppress;
    } else if ((UINT)mouseMessage == WM_LBUTTONDBLCLK) {
        CMenu* popup = m_menu.GetSubMenu(0);
        if (!popup) return TRUE;
        UINT cmd = popup->GetMenuItemID(0);
        if (cmd == 0 || cmd == (UINT)-1) return TRUE;
        ::SetForegroundWindow(owner);
        ::SendMessageA(owner, WM_COMMAND, cmd, 0);
    }
    return TRUE;
}

HICON CreateIconFromBitmap(CBitmap* pBitmap)
{
    if (!pBitmap || !pBitmap->m_hObject) return nullptr;
    int w = ::GetSystemMetrics(SM_CXSMICON), h = ::GetSystemMetrics(SM_CYSMICON);
    if (w <= 0 || h <= 0) return nullptr;
    // An all-zero mask: every pixel of the colour bitmap is shown opaque.
    // Rows of width/8 + 2 bytes hold at least the word-aligned rows it needs.
    size_t stride = (size_t)w / 8 + 2;
    BYTE* bits = new BYTE[stride * (size_t)h]();
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

static BOOL SurfaceFailed(const char* text)
{
    AfxMessageBox(g_translator.Translate(text), MB_OK);
    return FALSE;
}

BOOL CreateIconSurface(CDC& dc, CBitmap& bmp)
{
    HWND desktop = ::GetDesktopWindow();
    if (!desktop) return SurfaceFailed("CTrayNotifyIcon: failed to get desktop window handle");
    HDC screen = ::GetDC(desktop);
    if (!screen) return SurfaceFailed("CTrayNotifyIcon: failed to get desktop HDC");
    int w = ::GetSystemMetrics(SM_CXSMICON), h = ::GetSystemMetrics(SM_CYSMICON);
    if (!bmp.CreateCompatibleBitmap(screen, w, h)) {
        ::ReleaseDC(desktop, screen);
        return SurfaceFailed("CTrayNotifyIcon: failed to get create compatible bitmap");
    }
    if (!dc.CreateCompatibleDC(screen)) {
        bmp.DeleteObject();
        ::ReleaseDC(desktop, screen);
        return SurfaceFailed("CTrayNotifyIcon: failed to get create compatible DC");
    }
    dc.SelectObject(&bmp);
    ::ReleaseDC(desktop, screen);
    return TRUE;
}

// ---- the tray rectangle ----

void ComputeTrayRect(const TrayWindows& f, RECT* rect)
{
    // An empty rectangle (a hidden taskbar of no size) tells nothing.
    if (f.bTaskbar && !::IsRectEmpty(&f.rcTaskbar)) {
        RECT r = f.bNotify ? f.rcNotify : f.rcTaskbar;
        if (f.bClock) {
            const RECT& c = f.rcClock;
            bool vertical = (f.rcTaskbar.bottom - f.rcTaskbar.top) > (f.rcTaskbar.right - f.rcTaskbar.left);
            if (!vertical) r.right = c.left;            // the clock ends the row of icons
            else if (c.bottom < r.bottom - 5) r.top = c.bottom;   // clock above the icons
            else r.bottom = c.top;                      // clock below the icons
        }
        *rect = r;
        return;
    }
    if (f.bAppBar && !::IsRectEmpty(&f.rcAppBar)) {
        const RECT& t = f.rcAppBar;
        switch (f.uAppBarEdge) {
        case ABE_LEFT:
        case ABE_RIGHT:
            rect->left = t.left;
            rect->top = t.bottom - 100;
            rect->right = t.right;
            rect->bottom = t.bottom - 16;
            return;
        case ABE_TOP:
        case ABE_BOTTOM:
            rect->left = t.right - 100;
            rect->top = t.top;
            rect->right = t.right - 16;
            rect->bottom = t.bottom;
            return;
        default:
            break;   // an edge we do not know: the work area's corner
        }
    }
    rect->left = f.rcWorkArea.right - 150;
    rect->top = f.rcWorkArea.bottom - 30;
    rect->right = f.rcWorkArea.right;
    rect->bottom = f.rcWorkArea.bottom;
}

static BOOL CALLBACK FindTrayPart(HWND hWnd, LPARAM lParam)
{
    TrayWindows* f = (TrayWindows*)lParam;
    char name[64];
    if (::GetClassNameA(hWnd, name, (int)sizeof(name)) <= 0) return TRUE;
    name[sizeof(name) - 1] = '\0';
    RECT r;
    if (strcmp(name, "TrayNotifyWnd") == 0) {
        if (::GetWindowRect(hWnd, &r)) {
            f->bNotify = TRUE;
            f->rcNotify = r;
        }
        return TRUE;
    }
    if (strcmp(name, "TrayClockWClass") == 0 && ::GetWindowRect(hWnd, &r)) {
        f->bClock = TRUE;
        f->rcClock = r;
        return FALSE;
    }
    return TRUE;
}

void ReadTaskbarWindows(HWND taskbar, TrayWindows* f)
{
    if (!taskbar || !::GetWindowRect(taskbar, &f->rcTaskbar)) return;
    f->bTaskbar = TRUE;
    ::EnumChildWindows(taskbar, FindTrayPart, (LPARAM)f);
}

void FindTrayWindows(TrayWindows* f)
{
    *f = TrayWindows();
    ReadTaskbarWindows(::FindWindowA("Shell_TrayWnd", nullptr), f);
    if (!f->bTaskbar || ::IsRectEmpty(&f->rcTaskbar)) {
        APPBARDATA abd;
        memset(&abd, 0, sizeof(abd));
        abd.cbSize = sizeof(abd);
        if (::SHAppBarMessage(ABM_GETTASKBARPOS, &abd)) {
            f->bAppBar = TRUE;
            f->uAppBarEdge = abd.uEdge;
            f->rcAppBar = abd.rc;
        }
    }
    if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &f->rcWorkArea, 0)) {
        f->rcWorkArea.left = f->rcWorkArea.top = 0;
        f->rcWorkArea.right = ::GetSystemMetrics(SM_CXSCREEN);
        f->rcWorkArea.bottom = ::GetSystemMetrics(SM_CYSCREEN);
    }
}

void GetTrayRect(RECT* rect)
{
    if (!rect) return;
    TrayWindows found;
    FindTrayWindows(&found);
    ComputeTrayRect(found, rect);
}
