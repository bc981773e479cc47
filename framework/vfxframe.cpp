#include "vfxframe.h"
#include "vfxapp.h"

const RECT CFrameWnd::rectDefault = { (LONG)CW_USEDEFAULT, (LONG)CW_USEDEFAULT, 0, 0 };

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CLOSE()
    ON_WM_ENDSESSION()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_INITMENUPOPUP()
    if (message == WM_QUERYENDSESSION) { lResult = TRUE; return TRUE; }
END_MESSAGE_MAP()

BOOL CFrameWnd::Create(const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle,
                       const RECT& rect, CWnd* pParentWnd, const char* lpszMenuName,
                       DWORD dwExStyle, void* pContext)
{
    (void)pContext;
    HMENU hMenu = nullptr;
    if (lpszMenuName) hMenu = ::LoadMenuA(AfxGetResourceHandle(), lpszMenuName);
    int x = rect.left, y = rect.top, w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (rect.left == (LONG)CW_USEDEFAULT) { x = y = w = h = CW_USEDEFAULT; }
    BOOL ok = CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, w, h,
                       pParentWnd ? pParentWnd->m_hWnd : nullptr, hMenu);
    if (!ok && hMenu) ::DestroyMenu(hMenu);
    return ok;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW),
                                           (HBRUSH)(COLOR_WINDOW + 1));
    return cs.lpszClass != nullptr;
}

CWnd* CFrameWnd::GetActiveView() const
{
    return FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST));
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra)
{
    CWnd* pView = GetActiveView();
    if (pView && pView != this && pView->OnCmdMsg(nID, nCode, pExtra)) return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra)) return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra);
}

void CFrameWnd::OnClose()
{
    DestroyWindow();
}

void CFrameWnd::OnEndSession(BOOL bEnding)
{
    // The session ends without the message loop running out: tidy up now.
    CWinApp* app = AfxGetApp();
    if (bEnding && app && app->m_pMainWnd == this) app->ExitInstance();
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    (void)nType;
    HWND view = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
    if (view) ::MoveWindow(view, 0, 0, cx, cy, TRUE);
}

void CFrameWnd::OnSetFocus(HWND)
{
    HWND view = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
    if (view) ::SetFocus(view);
}

void CFrameWnd::OnInitMenuPopup(HMENU hPopup, UINT, BOOL bSysMenu)
{
    if (bSysMenu || !hPopup) return;
    CMenu menu;
    menu.AttachView(hPopup);
    int n = menu.GetMenuItemCount();
    for (int i = 0; i < n; ++i) {
        UINT id = menu.GetMenuItemID(i);
        if (id == 0 || id == (UINT)-1) continue;   // separator or sub-menu
        CCmdUI state;
        state.m_nID = id;
        state.m_nIndex = (UINT)i;
        state.m_pMenu = &menu;
        state.DoUpdate(this, m_bAutoMenuEnable);
    }
}
