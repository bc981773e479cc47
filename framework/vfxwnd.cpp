#include "vfxwnd.h"
#include "vfxapp.h"
#include "vfxfile.h"
#include <commctrl.h>
#include <stdio.h>
#include <unordered_map>

// ---- CCmdTarget / CCmdUI ----

BOOL CCmdTarget::OnWndMsg(UINT, WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra)
{
    LRESULT r = 0;
    return OnWndMsg(WM_VFX_COMMAND, MAKEWPARAM(nID, (WORD)nCode), (LPARAM)pExtra, &r);
}

void CCmdUI::Enable(BOOL bOn)
{
    m_bEnabled = bOn;
    m_bEnableChanged = TRUE;
    if (m_pMenu && m_pMenu->m_hMenu)
        ::EnableMenuItem(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    else if (m_pOther)
        m_pOther->EnableWindow(bOn);
}

void CCmdUI::SetCheck(int nCheck)
{
    m_nCheck = nCheck;
    if (m_pMenu && m_pMenu->m_hMenu)
        ::CheckMenuItem(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
}

void CCmdUI::SetText(const char* psz)
{
    if (m_pMenu && m_pMenu->m_hMenu)
        m_pMenu->SetMenuItemText(m_nIndex, psz, TRUE);
    else if (m_pOther)
        m_pOther->SetWindowText(psz);
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler)
{
    m_bEnableChanged = FALSE;
    BOOL bHandled = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this);
    if (bDisableIfNoHandler && !m_bEnableChanged) {
        BOOL bHasCommand = pTarget->OnCmdMsg(m_nID, CN_COMMAND, (void*)VFX_CMD_PROBE);
        Enable(bHasCommand);
    }
    return bHandled;
}

// ---- handle to object ----

// Windows are created and served on the user-interface thread only, so the
// table of bound windows needs no lock. A look-up costs no call to the
// system: it runs for every message every vfx window receives.
static std::unordered_map<HWND, CWnd*>& BoundWindows()
{
    static std::unordered_map<HWND, CWnd*> s_table;
    return s_table;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (!hWnd) return nullptr;
    auto& table = BoundWindows();
    auto it = table.find(hWnd);
    return it == table.end() ? nullptr : it->second;
}

static void UnbindWindow(HWND hWnd, CWnd* pWnd)
{
    auto& table = BoundWindows();
    auto it = table.find(hWnd);
    if (it != table.end() && it->second == pWnd) table.erase(it);
}

void CWnd::AttachObject(HWND hWnd)
{
    m_hWnd = hWnd;
    BoundWindows()[hWnd] = this;
    CCreateWatch::OnBound(this);
}

CWnd::~CWnd()
{
    // An object that dies before its window: let the window live on as a
    // plain window rather than call into freed memory.
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        if (m_pfnSuper) UnsubclassWindow();
        else UnbindWindow(m_hWnd, this);
    }
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) app->m_pMainWnd = nullptr;
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (!hWnd || m_hWnd) return FALSE;
    AttachObject(hWnd);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND h = m_hWnd;
    if (h) UnbindWindow(h, this);
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!hWnd || m_hWnd || FromHandlePermanent(hWnd)) return FALSE;
    AttachObject(hWnd);
    PreSubclassWindow();
    WNDPROC old = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
    if (old != AfxWndProc) m_pfnSuper = old;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    return pParent ? SubclassWindow(::GetDlgItem(pParent->m_hWnd, (int)nID)) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    HWND h = m_hWnd;
    if (!h) return nullptr;
    if (m_pfnSuper) ::SetWindowLongPtrA(h, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
    m_pfnSuper = nullptr;
    return Detach();
}

// ---- creation ----

static CCreateWatch* t_pWatch;

CCreateWatch::CCreateWatch(CWnd* pWnd) : m_pWnd(pWnd), m_pOuter(t_pWatch)
{
    t_pWatch = this;
}

CCreateWatch::~CCreateWatch()
{
    t_pWatch = m_pOuter;
}

bool CCreateWatch::IsCreating(CWnd* pWnd)
{
    for (CCreateWatch* w = t_pWatch; w; w = w->m_pOuter)
        if (w->m_pWnd == pWnd) return true;
    return false;
}

void CCreateWatch::OnBound(CWnd* pWnd)
{
    for (CCreateWatch* w = t_pWatch; w; w = w->m_pOuter)
        if (w->m_pWnd == pWnd) w->m_bBound = true;
}

void CCreateWatch::OnEnded(CWnd* pWnd)
{
    for (CCreateWatch* w = t_pWatch; w; w = w->m_pOuter)
        if (w->m_pWnd == pWnd) w->m_bEnded = true;
}

static CWnd* t_pWndInit;
static HHOOK t_hCbtHook;
static int t_hookUsers;

static LRESULT CALLBACK CbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && t_pWndInit) {
        HWND hWnd = (HWND)wParam;
        CWnd* pWnd = t_pWndInit;
        t_pWndInit = nullptr;
        pWnd->SubclassWindow(hWnd);
    }
    return ::CallNextHookEx(t_hCbtHook, code, wParam, lParam);
}

void AfxHookWindowCreate(CWnd* pWnd)
{
    if (t_hookUsers++ == 0)
        t_hCbtHook = ::SetWindowsHookExA(WH_CBT, CbtFilterHook, nullptr, ::GetCurrentThreadId());
    t_pWndInit = pWnd;
}

bool AfxUnhookWindowCreate()
{
    bool consumed = t_pWndInit == nullptr;
    t_pWndInit = nullptr;
    if (t_hookUsers > 0 && --t_hookUsers == 0 && t_hCbtHook) {
        ::UnhookWindowsHookEx(t_hCbtHook);
        t_hCbtHook = nullptr;
    }
    return consumed;
}

const char* AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    // Names are kept for the life of the process, one per distinct set.
    static std::vector<std::unique_ptr<char[]>> s_names;
    char name[96];
    snprintf(name, sizeof(name), "Vfx:%x:%p:%p:%p", nClassStyle, (void*)hCursor, (void*)hbrBackground, (void*)hIcon);
    for (auto& n : s_names)
        if (strcmp(n.get(), name) == 0) return n.get();
    WNDCLASSA wc = {};
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = name;
    WNDCLASSA existing;
    if (!::GetClassInfoA(wc.hInstance, name, &existing) && !::RegisterClassA(&wc))
        return nullptr;
    s_names.emplace_back(new char[strlen(name) + 1]);
    strcpy(s_names.back().get(), name);
    return s_names.back().get();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW));
    return cs.lpszClass != nullptr;
}

void AfxInitCommonControls()
{
    static bool s_done;
    if (s_done) return;
    s_done = true;
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES };
    ::InitCommonControlsEx(&icc);
}

BOOL CWindow::CreateEx(DWORD dwExStyle, const char* lpszClassName, const char* lpszWindowName,
                       DWORD dwStyle, int x, int y, int nWidth, int nHeight,
                       HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd) return FALSE;
    m_hWnd = ::CreateWindowExA(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, nWidth, nHeight,
                               hWndParent, nIDorHMenu, AfxGetInstanceHandle(), lpParam);
    return m_hWnd != nullptr;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, const char* lpszClassName, const char* lpszWindowName,
                    DWORD dwStyle, int x, int y, int nWidth, int nHeight,
                    HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd) return FALSE;
    CREATESTRUCTA cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = (LONG)dwStyle;
    cs.x = x; cs.y = y; cs.cx = nWidth; cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    // No window, no end of window: the object stays its creator's.
    if (!PreCreateWindow(cs)) return FALSE;
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, (DWORD)cs.style,
                                  cs.x, cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu,
                                  cs.hInstance, cs.lpCreateParams);
    bool hooked = AfxUnhookWindowCreate();
    // When creation failed after the window was bound, the object may be
    // gone already: nothing of it is touched here.
    if (!hWnd) return FALSE;
    if (!hooked) {
        // The creation hook never ran for it (a hook before it kept the call,
        // or the system called no more hooks): the window is not this
        // object's and would stand there unserved.
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::Create(const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd, UINT nID, void* pContext)
{
    (void)pContext;
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD,
                    rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                    pParentWnd ? pParentWnd->m_hWnd : nullptr, (HMENU)(UINT_PTR)nID);
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd) return FALSE;
    return ::DestroyWindow(m_hWnd);
}

// ---- dispatch ----

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    if (!m_pCurrentMsg) return 0;
    return DefWindowProc(m_pCurrentMsg->message, m_pCurrentMsg->wParam, m_pCurrentMsg->lParam);
}

void CWnd::DrawItem(LPDRAWITEMSTRUCT) { m_bItemDefault = true; }
void CWnd::MeasureItem(LPMEASUREITEMSTRUCT) { m_bItemDefault = true; }
void CWnd::DeleteItem(LPDELETEITEMSTRUCT) { m_bItemDefault = true; }
int CWnd::CompareItem(LPCOMPAREITEMSTRUCT) { m_bItemDefault = true; return 0; }

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (OnWndMsg(WM_VFX_REFLECT + message, wParam, lParam, pResult)) return TRUE;
    m_bItemDefault = false;
    switch (message) {
    case WM_DRAWITEM: DrawItem((LPDRAWITEMSTRUCT)lParam); *pResult = TRUE; break;
    case WM_MEASUREITEM: MeasureItem((LPMEASUREITEMSTRUCT)lParam); *pResult = TRUE; break;
    case WM_DELETEITEM: DeleteItem((LPDELETEITEMSTRUCT)lParam); *pResult = TRUE; break;
    case WM_COMPAREITEM: *pResult = CompareItem((LPCOMPAREITEMSTRUCT)lParam); break;
    // A list box of ours takes its own action for a key or character.
    case WM_VKEYTOITEM: case WM_CHARTOITEM: *pResult = -1; return TRUE;
    default: return FALSE;
    }
    return !m_bItemDefault;
}

// The window whose notification to hParent this is, when it comes from a
// control (NULL for menus, for the window's own scroll bars and for
// notifications without a sender).
static HWND NotificationSender(HWND hParent, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        return (HWND)lParam;
    case WM_NOTIFY:
        return lParam ? ((NMHDR*)lParam)->hwndFrom : nullptr;
    case WM_DRAWITEM:
        return (wParam && lParam && ((DRAWITEMSTRUCT*)lParam)->CtlType != ODT_MENU)
            ? ((DRAWITEMSTRUCT*)lParam)->hwndItem : nullptr;
    case WM_MEASUREITEM:
        return (wParam && lParam && ((MEASUREITEMSTRUCT*)lParam)->CtlType != ODT_MENU)
            ? ::GetDlgItem(hParent, (int)((MEASUREITEMSTRUCT*)lParam)->CtlID) : nullptr;
    case WM_COMPAREITEM:
        return lParam ? ((COMPAREITEMSTRUCT*)lParam)->hwndItem : nullptr;
    case WM_DELETEITEM:
        return (wParam && lParam) ? ((DELETEITEMSTRUCT*)lParam)->hwndItem : nullptr;
    case WM_CTLCOLORBTN: case WM_CTLCOLOREDIT: case WM_CTLCOLORDLG: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC: case WM_CTLCOLORMSGBOX:
    case WM_HSCROLL: case WM_VSCROLL:
    case WM_VKEYTOITEM: case WM_CHARTOITEM:
        return (HWND)lParam;
    default:
        return nullptr;
    }
}

// The object of the real child of hParent that sent this notification.
// A notification from any other window (a property sheet's to its pages,
// a window's to itself) is not reflected.
static CWnd* NotifyingChild(HWND hParent, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND hChild = NotificationSender(hParent, message, wParam, lParam);
    if (!hChild || hChild == hParent) return nullptr;
    CWnd* pChild = CWnd::FromHandlePermanent(hChild);
    if (!pChild || ::GetAncestor(hChild, GA_PARENT) != hParent) return nullptr;
    if (!(::GetWindowLongPtrA(hChild, GWL_STYLE) & WS_CHILD)) return nullptr;
    return pChild;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    int nCode = HIWORD(wParam);
    // A control's notification (its own object has had it first).
    if (lParam) return OnCmdMsg(nID, nCode, nullptr);
    // A command without a control (menu, accelerator, posted): its update
    // rule decides first, and a disabled command is dropped.
    CCmdUI state;
    state.m_nID = nID;
    OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state);
    if (!state.m_bEnabled) return TRUE;
    return OnCmdMsg(nID, CN_COMMAND, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_COMMAND:
        if (OnCommand(wParam, lParam)) { *pResult = 0; return TRUE; }
        return FALSE;
    case WM_NOTIFY:
        return OnNotify(wParam, lParam, pResult);
    default:
        return FALSE;
    }
}

// Handlers running on an object are counted; the object's end of window
// (PostNcDestroy, which may delete it) waits until the last has returned.
static void EnterObject(CWnd* pWnd)
{
    ++pWnd->m_nMsgDepth;
}

static void LeaveObject(CWnd* pWnd)
{
    if (--pWnd->m_nMsgDepth == 0 && pWnd->m_bNcDestroyPending) {
        pWnd->m_bNcDestroyPending = false;
        CCreateWatch::OnEnded(pWnd);
        pWnd->PostNcDestroy();
    }
}

// The one catch at the window procedure's boundary.
static void ReportAndGoOn(CException* e)
{
    AfxReportUnexpectedException();
    if (e) e->Delete();
}

static BOOL CALLBACK PassDownToChild(HWND hChild, LPARAM lParam)
{
    const MSG* pMsg = (const MSG*)lParam;
    ::SendMessageA(hChild, pMsg->message, pMsg->wParam, pMsg->lParam);
    return TRUE;
}

// The system tells only top-level windows that its settings or colours
// changed; every window below one (controls that keep colours, fonts or
// metrics) hears it from there, once: a child passes nothing on.
static void PassSystemChangeDown(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_SETTINGCHANGE && message != WM_SYSCOLORCHANGE) return;
    if (!::IsWindow(hWnd) || (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD)) return;
    MSG msg = {};
    msg.hwnd = hWnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    ::EnumChildWindows(hWnd, PassDownToChild, (LPARAM)&msg);
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    EnterObject(pWnd);
    MSG current = {};
    current.hwnd = hWnd;
    current.message = message;
    current.wParam = wParam;
    current.lParam = lParam;
    const MSG* pOuterMsg = pWnd->m_pCurrentMsg;
    pWnd->m_pCurrentMsg = &current;
    LRESULT result = 0;
    try {
        BOOL handled = FALSE;
        if (CWnd* pChild = NotifyingChild(hWnd, message, wParam, lParam)) {
            EnterObject(pChild);
            try {
                handled = pChild->OnChildNotify(message, wParam, lParam, &result);
            } catch (...) {
                LeaveObject(pChild);
                throw;
            }
            LeaveObject(pChild);
        }
        if (!handled && !pWnd->OnWndMsg(message, wParam, lParam, &result))
            result = pWnd->DefWindowProc(message, wParam, lParam);
        else if (message == WM_NOTIFY && ::GetClassLongPtrA(hWnd, GCW_ATOM) == (ULONG_PTR)WC_DIALOG)
            // A dialog's answer is read from DWLP_MSGRESULT as well.
            ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, result);
    } catch (CException* e) {
        ReportAndGoOn(e);
        result = 0;
    } catch (...) {
        ReportAndGoOn(nullptr);
        result = 0;
    }
    pWnd->m_pCurrentMsg = pOuterMsg;
    PassSystemChangeDown(hWnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The window is gone; the object is released once the outermost
        // handler running on it has returned.
        // The main window's end ends the loop, unless it ended while being
        // created: then no loop runs, and its creator hears of it.
        if (AfxGetApp() && AfxGetApp()->m_pMainWnd == pWnd) {
            AfxGetApp()->m_pMainWnd = nullptr;
            if (!CCreateWatch::IsCreating(pWnd)) ::PostQuitMessage(0);
        }
        pWnd->UnsubclassWindow();
        UnbindWindow(hWnd, pWnd);
        pWnd->m_bNcDestroyPending = true;
    }
    LeaveObject(pWnd);
    return result;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd) return ::DefWindowProcA(hWnd, message, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, message, wParam, lParam);
}

// ---- small wrappers ----

void CWindow::GetWindowText(CString& s) const
{
    int n = ::GetWindowTextLengthA(m_hWnd);
    if (n <= 0) { s.Empty(); return; }
    char* p = s.GetBuffer(n + 1);
    int got = ::GetWindowTextA(m_hWnd, p, n + 1);
    s.ReleaseBuffer(got > 0 ? got : 0);
}

BOOL CWindow::ModifyStyle(DWORD remove, DWORD add, UINT flags)
{
    DWORD s = GetStyle(), n = (s & ~remove) | add;
    if (s == n) return FALSE;
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, (LONG_PTR)n);
    if (flags) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

BOOL CWindow::ModifyStyleEx(DWORD remove, DWORD add, UINT flags)
{
    DWORD s = GetExStyle(), n = (s & ~remove) | add;
    if (s == n) return FALSE;
    ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, (LONG_PTR)n);
    if (flags) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

// Entry points of user32 that not every system has.
static FARPROC User32Proc(const char* name)
{
    HMODULE h = ::GetModuleHandleA("user32.dll");
    return h ? ::GetProcAddress(h, name) : nullptr;
}

BOOL CWindow::SetLayeredWindowAttributes(COLORREF crKey, BYTE bAlpha, DWORD dwFlags)
{
    typedef BOOL(WINAPI * PFN)(HWND, COLORREF, BYTE, DWORD);
    static PFN s_pfn = (PFN)(void*)User32Proc("SetLayeredWindowAttributes");
    return s_pfn ? s_pfn(m_hWnd, crKey, bAlpha, dwFlags) : FALSE;
}

BOOL AfxDrawAnimatedRects(HWND hWnd, int idAni, const RECT* from, const RECT* to)
{
    typedef BOOL(WINAPI * PFN)(HWND, int, const RECT*, const RECT*);
    static PFN s_pfn = (PFN)(void*)User32Proc("DrawAnimatedRects");
    return s_pfn ? s_pfn(hWnd, idAni, from, to) : FALSE;
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type)
{
    return AfxShowMessageBox(m_hWnd, text, caption ? caption : AfxGetAppName(), type);
}

// ---- CMenu ----

BOOL CMenu::LoadMenu(UINT nID)
{
    return Attach(::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nID)));
}

BOOL CMenu::CreatePopupMenu()
{
    return Attach(::CreatePopupMenu());
}

BOOL CMenu::DestroyMenu()
{
    m_subMenus.clear();
    if (!m_hMenu) return FALSE;
    BOOL ok = TRUE;
    if (m_bOwned) ok = ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    m_bOwned = false;
    return ok;
}

BOOL CMenu::Attach(HMENU h)
{
    if (!h) return FALSE;
    DestroyMenu();
    m_hMenu = h;
    m_bOwned = true;
    return TRUE;
}

HMENU CMenu::Detach()
{
    m_subMenus.clear();
    HMENU h = m_hMenu;
    m_hMenu = nullptr;
    m_bOwned = false;
    return h;
}

void CMenu::AttachView(HMENU h)
{
    DestroyMenu();
    m_hMenu = h;
    m_bOwned = false;
}

CMenu* CMenu::GetSubMenu(int nPos)
{
    HMENU h = ::GetSubMenu(m_hMenu, nPos);
    if (!h) return nullptr;
    for (auto& m : m_subMenus)
        if (m->m_hMenu == h) return m.get();
    m_subMenus.emplace_back(new CMenu);
    m_subMenus.back()->AttachView(h);
    return m_subMenus.back().get();
}

int CMenu::GetMenuString(UINT id, CString& s, UINT flags) const
{
    char buf[512];
    int n = ::GetMenuStringA(m_hMenu, id, buf, (int)sizeof(buf), flags);
    if (n < 0) n = 0;
    if (n >= (int)sizeof(buf)) n = (int)sizeof(buf) - 1;
    buf[n] = '\0';
    s = buf;
    return n;
}

BOOL CMenu::SetMenuItemText(UINT item, const char* text, BOOL byPosition)
{
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STRING;
    mii.dwTypeData = (LPSTR)text;
    return ::SetMenuItemInfoA(m_hMenu, item, byPosition, &mii);
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* pWnd, LPCRECT r)
{
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, pWnd ? pWnd->m_hWnd : nullptr, r);
}
