#include "controls/PropertyEditors.h"

static int s_nLiveEditors;
int PropertyEditorLiveCount() { return s_nLiveEditors; }

// A new editor window over rc (id -1); NULL on failure, and then the object
// is gone (the framework's rule for objects that delete themselves).
static HWND CreateSelfDeleting(CWnd* p, const char* cls, DWORD style, const RECT& rc, HWND hwndParent)
{
    CWnd* made = AfxCreateOrDelete(p, [&](CWnd* w) {
        return w->CreateEx(0, cls, "", style, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                           hwndParent, (HMENU)(INT_PTR)-1);
    });
    return made ? made->m_hWnd : nullptr;
}

static HFONT FontOf(HWND h)
{
    return (HFONT)::SendMessageA(h, WM_GETFONT, 0, 0);
}

// ---- CPropertyEditWindow ----

BEGIN_MESSAGE_MAP(CPropertyEditWindow, CEdit)
    ON_MESSAGE(WM_CREATE, OnCreateMsg)
    ON_MESSAGE(WM_SETFOCUS, OnSetFocusMsg)
    ON_MESSAGE(WM_KILLFOCUS, OnKillFocusMsg)
    ON_MESSAGE(WM_KEYDOWN, OnKeyDownMsg)
    ON_MESSAGE(WM_CHAR, OnCharMsg)
    ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCodeMsg)
END_MESSAGE_MAP()

CPropertyEditWindow::CPropertyEditWindow() { ++s_nLiveEditors; }
CPropertyEditWindow::~CPropertyEditWindow() { --s_nLiveEditors; }

HWND CPropertyEditWindow::CreateEditor(HWND hwndList, const RECT& rc, DWORD dwStyle)
{
    return CreateSelfDeleting(new CPropertyEditWindow, "EDIT", dwStyle, rc, hwndList);
}

LRESULT CPropertyEditWindow::OnCreateMsg(WPARAM wParam, LPARAM lParam)
{
    if (DefWindowProc(WM_CREATE, wParam, lParam) == -1) return -1;
    SetFont(FontOf(::GetParent(m_hWnd)), TRUE);
    SetMargins(2, 0);
    return 0;
}

LRESULT CPropertyEditWindow::OnSetFocusMsg(WPARAM wParam, LPARAM lParam)
{
    m_bCancelled = TRUE;
    return DefWindowProc(WM_SETFOCUS, wParam, lParam);
}

LRESULT CPropertyEditWindow::OnKillFocusMsg(WPARAM wParam, LPARAM lParam)
{
    DefWindowProc(WM_KILLFOCUS, wParam, lParam);
    ::SendMessageA(::GetParent(m_hWnd), m_bCancelled ? WM_PROPLIST_CANCEL : WM_PROPLIST_UPDATE, 0, (LPARAM)m_hWnd);
    return 0;
}

LRESULT CPropertyEditWindow::OnKeyDownMsg(WPARAM wParam, LPARAM lParam)
{
    HWND hwndList = ::GetParent(m_hWnd);
    switch (wParam) {
    case VK_TAB: case VK_UP: case VK_DOWN:
        ::PostMessageA(hwndList, WM_PROPLIST_NAVIGATE, wParam, 0);
        return 0;
    case VK_RETURN:
        ::SetFocus(hwndList);
        return 0;
    case VK_ESCAPE:
        m_bCancelled = TRUE;
        ::SetFocus(hwndList);
        return 0;
    case VK_LEFT: case VK_RIGHT: {
        DWORD sel = GetSel();
        int at = wParam == VK_LEFT ? 0 : GetWindowTextLength();
        if (LOWORD(sel) == HIWORD(sel) && (int)LOWORD(sel) == at) {
            ::PostMessageA(hwndList, WM_PROPLIST_NAVIGATE, wParam, 0);
            return 0;
        }
        break;
    }
    default:
        break;
    }
    return DefWindowProc(WM_KEYDOWN, wParam, lParam);
}

LRESULT CPropertyEditWindow::OnCharMsg(WPARAM wParam, LPARAM lParam)
{
    if (wParam == VK_RETURN || wParam == VK_ESCAPE) return 0;
    m_bCancelled = FALSE;
    return DefWindowProc(WM_CHAR, wParam, lParam);
}

LRESULT CPropertyEditWindow::OnGetDlgCodeMsg(WPARAM wParam, LPARAM lParam)
{
    return DefWindowProc(WM_GETDLGCODE, wParam, lParam) | DLGC_WANTARROWS | DLGC_WANTALLKEYS;
}

// ---- CInPlaceButton ----

BEGIN_MESSAGE_MAP(CInPlaceButton, CButton)
    ON_MESSAGE(WM_KEYDOWN, OnKeyDownMsg)
    ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCodeMsg)
END_MESSAGE_MAP()

void CInPlaceButton::Click()
{
    if (m_pOwner)
        m_pOwner->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED), (LPARAM)m_hWnd);
}

LRESULT CInPlaceButton::OnKeyDownMsg(WPARAM wParam, LPARAM lParam)
{
    HWND hwndBox = m_pOwner ? m_pOwner->m_hWnd : ::GetParent(m_hWnd);
    HWND hwndList = ::GetParent(hwndBox);
    switch (wParam) {
    case VK_ESCAPE:
        ::PostMessageA(hwndList, WM_PROPLIST_UPDATE, 0, (LPARAM)hwndBox);
        return 0;
    case VK_SPACE: case VK_F2: case VK_F4:
        Click();
        return 0;
    case VK_UP: case VK_DOWN:
        ::PostMessageA(hwndList, WM_PROPLIST_NAVIGATE, wParam, 0);
        return 0;
    default:
        return DefWindowProc(WM_KEYDOWN, wParam, lParam);
    }
}

LRESULT CInPlaceButton::OnGetDlgCodeMsg(WPARAM wParam, LPARAM lParam)
{
    return DefWindowProc(WM_GETDLGCODE, wParam, lParam) | DLGC_WANTALLKEYS;
}

// ---- CPropertyDropWindowImpl ----

// The box is read-only: its text changes only through WM_SETTEXT, from a
// choice taken from its list. Typing, clicks, its edit menu, the clipboard
// commands and replacing or undoing text never reach the edit control. Its
// button keeps the focus, so keys that reach the box were sent to it.
BEGIN_MESSAGE_MAP(CPropertyDropWindowImpl, CEdit)
    ON_MESSAGE(WM_CREATE, OnCreateMsg)
    ON_MESSAGE(WM_SETFOCUS, OnSetFocusMsg)
    ON_MESSAGE(WM_KILLFOCUS, OnKillFocusMsg)
    ON_MESSAGE(WM_CHAR, OnDropped)
    ON_MESSAGE(WM_KEYDOWN, OnDropped)
    ON_MESSAGE(WM_SYSKEYDOWN, OnDropped)
    ON_MESSAGE(WM_IME_CHAR, OnDropped)
    ON_MESSAGE(WM_IME_COMPOSITION, OnDropped)
    ON_MESSAGE(WM_LBUTTONDOWN, OnDropped)
    ON_MESSAGE(WM_LBUTTONDBLCLK, OnDropped)
    ON_MESSAGE(WM_MBUTTONDOWN, OnDropped)
    ON_MESSAGE(WM_RBUTTONDOWN, OnDropped)
    ON_MESSAGE(WM_RBUTTONUP, OnDropped)
    ON_MESSAGE(WM_CONTEXTMENU, OnDropped)
    ON_MESSAGE(WM_PASTE, OnDropped)
    ON_MESSAGE(WM_CUT, OnDropped)
    ON_MESSAGE(WM_CLEAR, OnDropped)
    ON_MESSAGE(WM_UNDO, OnDropped)
    ON_MESSAGE(EM_UNDO, OnDropped)
    ON_MESSAGE(EM_REPLACESEL, OnDropped)
    ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCodeMsg)
END_MESSAGE_MAP()

CPropertyDropWindowImpl::CPropertyDropWindowImpl() { ++s_nLiveEditors; }
CPropertyDropWindowImpl::~CPropertyDropWindowImpl() { --s_nLiveEditors; }

LRESULT CPropertyDropWindowImpl::OnCreateMsg(WPARAM wParam, LPARAM lParam)
{
    if (DefWindowProc(WM_CREATE, wParam, lParam) == -1) return -1;
    CRect rc;
    GetClientRect(&rc);
    int h = rc.Height();
    HFONT font = FontOf(::GetParent(m_hWnd));
    SetFont(font, TRUE);
    ModifyStyle(WS_BORDER, 0);
    SetMargins(2, (UINT)::GetSystemMetrics(SM_CXVSCROLL));
    CRect rcButton(rc.right - h, rc.top - 1, rc.right, rc.bottom);
    if (m_button.Create("", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_OWNERDRAW, rcButton, this, 1)) {
        m_button.SetFont(font, TRUE);
        m_button.m_pOwner = this;
        m_button.SetFocus();
    }
    return 0;
}

LRESULT CPropertyDropWindowImpl::OnSetFocusMsg(WPARAM, LPARAM)
{
    if (m_button.IsWindow()) {
        m_button.SetFocus();
        m_button.Invalidate(TRUE);
    }
    return 0;
}

LRESULT CPropertyDropWindowImpl::OnKillFocusMsg(WPARAM wParam, LPARAM lParam)
{
    HWND hwndNew = (HWND)wParam;
    if (hwndNew && ::IsWindow(hwndNew) && hwndNew != m_button.m_hWnd)
        ::SendMessageA(::GetParent(m_hWnd), WM_PROPLIST_UPDATE, 0, (LPARAM)m_hWnd);
    return DefWindowProc(WM_KILLFOCUS, wParam, lParam);
}

LRESULT CPropertyDropWindowImpl::OnGetDlgCodeMsg(WPARAM wParam, LPARAM lParam)
{
    return DefWindowProc(WM_GETDLGCODE, wParam, lParam) | DLGC_WANTALLKEYS;
}

// ---- CInPlaceListBox ----

BEGIN_MESSAGE_MAP(CInPlaceListBox, CListBox)
    ON_MESSAGE(WM_KEYDOWN, OnKeyDownMsg)
    ON_MESSAGE(WM_LBUTTONUP, OnLButtonUpMsg)
    ON_MESSAGE(WM_KILLFOCUS, OnKillFocusMsg)
END_MESSAGE_MAP()

void CInPlaceListBox::CommitSelection()
{
    if (!m_pOwner) return;
    HWND hwndBox = m_pOwner->m_hWnd;
    HWND hwndList = ::GetParent(hwndBox);
    int sel = GetCurSel();
    if (sel >= 0) {
        int n = GetTextLen(sel);
        if (n >= 0) {
            CString text;
            char* p = text.GetBuffer(n + 1);
            int got = GetText(sel, p);
            text.ReleaseBuffer(got > 0 ? got : 0);
            ::SetWindowTextA(hwndBox, text);
            ::SendMessageA(hwndList, WM_PROPLIST_UPDATE, 0, (LPARAM)hwndBox);
        }
    }
    ::SetFocus(hwndList);
}

LRESULT CInPlaceListBox::OnKeyDownMsg(WPARAM wParam, LPARAM lParam)
{
    if (wParam == VK_RETURN) {
        CommitSelection();
    } else if (wParam == VK_ESCAPE && m_pOwner) {
        HWND hwndBox = m_pOwner->m_hWnd;
        HWND hwndList = ::GetParent(hwndBox);
        ::SendMessageA(hwndList, WM_PROPLIST_CANCEL, 0, (LPARAM)hwndBox);
        ::SetFocus(hwndList);
    }
    return IsWindow() ? DefWindowProc(WM_KEYDOWN, wParam, lParam) : 0;
}

LRESULT CInPlaceListBox::OnLButtonUpMsg(WPARAM wParam, LPARAM lParam)
{
    CommitSelection();
    return IsWindow() ? DefWindowProc(WM_LBUTTONUP, wParam, lParam) : 0;
}

LRESULT CInPlaceListBox::OnKillFocusMsg(WPARAM wParam, LPARAM lParam)
{
    LRESULT r = DefWindowProc(WM_KILLFOCUS, wParam, lParam);
    ShowWindow(SW_HIDE);
    return r;
}

// ---- CPropertyListWindow ----

BEGIN_MESSAGE_MAP(CPropertyListWindow, CPropertyDropWindowImpl)
    ON_MESSAGE(WM_CREATE, OnCreateMsg)
    ON_MESSAGE(WM_CHAR, OnCharMsg)
    ON_MESSAGE(WM_COMMAND, OnCommandMsg)
    ON_MESSAGE(WM_DRAWITEM, OnDrawItemMsg)
    ON_MESSAGE(WM_DESTROY, OnDestroyMsg)
END_MESSAGE_MAP()

CPropertyListWindow* CPropertyListWindow::CreateEditor(HWND hwndList, const RECT& rc)
{
    CPropertyListWindow* p = new CPropertyListWindow;
    return CreateSelfDeleting(p, "EDIT", WS_CHILD, rc, hwndList) ? p : nullptr;
}

LRESULT CPropertyListWindow::OnCreateMsg(WPARAM wParam, LPARAM lParam)
{
    if (CPropertyDropWindowImpl::OnCreateMsg(wParam, lParam) == -1) return -1;
    if (m_list.CreateEx(0, "LISTBOX", "", WS_POPUP | WS_BORDER | WS_VSCROLL,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr)) {
        m_list.SetFont(FontOf(::GetParent(m_hWnd)), TRUE);
        ::SetWindowLongPtrA(m_list.m_hWnd, GWLP_ID, 2);
        m_list.m_pOwner = this;
    }
    return 0;
}

int CPropertyListWindow::AddString(const char* pszText)
{
    m_nDropHeight = 0;
    return m_list.AddString(pszText);
}

void CPropertyListWindow::ShowDropList()
{
    if (!m_list.IsWindow()) return;
    if (m_nDropHeight == 0) {
        int h = m_list.GetCount() * m_list.GetItemHeight(0) + 2 * ::GetSystemMetrics(SM_CYBORDER);
        m_nDropHeight = h > 140 ? 140 : h;
    }
    CRect rc;
    GetWindowRect(&rc);
    m_list.SetWindowPos(HWND_TOPMOST, rc.left, rc.bottom, rc.Width(), m_nDropHeight, SWP_SHOWWINDOW);
    m_list.SetFocus();
}

LRESULT CPropertyListWindow::OnCharMsg(WPARAM wParam, LPARAM)
{
    if (!m_list.IsWindow()) return 0;
    if (m_list.IsWindowVisible()) {
        m_list.PostMessage(WM_CHAR, wParam, 0);
        return 0;
    }
    char text[2] = {(char)wParam, '\0'};
    int found = m_list.FindString(-1, text);
    if (found >= 0) {
        m_list.SetCurSel(found);
        m_list.CommitSelection();
    }
    return 0;
}

LRESULT CPropertyListWindow::OnCommandMsg(WPARAM wParam, LPARAM)
{
    if (LOWORD(wParam) == 1) ShowDropList();
    return 0;
}

LRESULT CPropertyListWindow::OnDrawItemMsg(WPARAM, LPARAM lParam)
{
    const DRAWITEMSTRUCT* dis = (const DRAWITEMSTRUCT*)lParam;
    if (!dis || dis->hwndItem != m_button.m_hWnd) return FALSE;
    RECT rc = dis->rcItem;
    ::DrawFrameControl(dis->hDC, &rc, DFC_SCROLL,
                       DFCS_SCROLLDOWN | ((dis->itemState & ODS_SELECTED) ? DFCS_PUSHED : 0));
    return TRUE;
}

LRESULT CPropertyListWindow::OnDestroyMsg(WPARAM wParam, LPARAM lParam)
{
    if (m_list.IsWindow()) m_list.DestroyWindow();
    return DefWindowProc(WM_DESTROY, wParam, lParam);
}
