#include "controls/HyperLink.h"
#include "controls/OpenUrl.h"

HCURSOR g_hHandCursor;
PFN_GETWINDOWSDIRECTORYA g_pfnGetWindowsDirectoryA = ::GetWindowsDirectoryA;

static const UINT_PTR kToolId = 1;

// ---- pure parts ----

COLORREF LinkTextColour(bool hover, bool focus, bool visited, DWORD options)
{
    if (hover && (options & HLOPT_HOVER_COLOUR)) return kHoverColour;
    if (focus && !(options & HLOPT_NO_FOCUS_COLOUR)) return kFocusColour;
    if (visited) return kVisitedColour;
    return kLinkColour;
}

CString LinkTipText(const CString& target)
{
    int q = target.Find('?');
    return q > 0 ? target.Left(q) : target;
}

RECT FitLinkRect(const RECT& window, SIZE border, SIZE text, DWORD style)
{
    RECT r = window;
    if (style & SS_CENTERIMAGE) {
        int dy = ((r.bottom - r.top) - text.cy) / 2;
        r.top += dy;
        r.bottom -= dy;
    } else {
        r.bottom = r.top + text.cy;
    }
    // The alignment is a value of the type field, not a set of bits.
    DWORD type = style & SS_TYPEMASK;
    if (type == SS_CENTER) {
        int dx = ((r.right - r.left) - text.cx) / 2;
        r.left += dx;
        r.right -= dx;
    } else if (type == SS_RIGHT) {
        r.left = r.right - text.cx;
    } else {
        r.right = r.left + text.cx;
    }
    r.right += border.cx;
    r.bottom += border.cy;
    return r;
}

CString LinkOpenErrorText(int code)
{
    switch (code) {
    case 0: return "The operating system is out\nof memory or resources.";
    case ERROR_FILE_NOT_FOUND: return "The specified file was not found.";
    case ERROR_PATH_NOT_FOUND: return "The specified path was not found.";
    case SE_ERR_ACCESSDENIED: return "The operating system denied\naccess to the specified file.";
    case SE_ERR_OOM: return "There was not enough memory to complete the operation.";
    case ERROR_BAD_FORMAT: return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case SE_ERR_SHARE: return "A sharing violation occurred. ";
    case SE_ERR_ASSOCINCOMPLETE: return "The filename association is\nincomplete or invalid.";
    case SE_ERR_DDETIMEOUT: return "The DDE transaction could not\nbe completed because the request timed out.";
    case SE_ERR_DDEFAIL: return "The DDE transaction failed.";
    case SE_ERR_DDEBUSY:
        return "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.";
    case SE_ERR_NOASSOC: return "There is no application associated\nwith the given filename extension.";
    case SE_ERR_DLLNOTFOUND: return "The specified dynamic-link library was not found.";
    default: {
        CString s;
        s.Format("Unknown Error (%d) occurred.", code);
        return s;
    }
    }
}

void LoadHandCursor()
{
    if (g_hHandCursor) return;
    static const char kModule[] = "\\winhlp32.exe";
    char path[MAX_PATH];
    UINT n = g_pfnGetWindowsDirectoryA(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH || n + sizeof(kModule) > sizeof(path)) return;
    memcpy(path + n, kModule, sizeof(kModule));
    // Only its resources are wanted: none of its code runs here.
    HMODULE hModule = ::LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!hModule) return;
    HCURSOR hCursor = ::LoadCursorA(hModule, MAKEINTRESOURCEA(106));
    if (hCursor) g_hHandCursor = (HCURSOR)::CopyIcon((HICON)hCursor);
    ::FreeLibrary(hModule);
}

// ---- the control ----

// A colour request from the parent, handed back to this control.
#define ON_WM_CTLCOLOR_REFLECTED() \
    if (message >= WM_VFX_REFLECT + WM_CTLCOLORMSGBOX && message <= WM_VFX_REFLECT + WM_CTLCOLORSTATIC) { \
        lResult = (LRESULT)this->CtlColor((HDC)wParam, message - WM_VFX_REFLECT - WM_CTLCOLORMSGBOX); return TRUE; }

BEGIN_MESSAGE_MAP(CHyperLink, CStatic)
    ON_WM_CTLCOLOR_REFLECTED()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_KEYDOWN()
    ON_WM_NCHITTEST()
    ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
END_MESSAGE_MAP()

CHyperLink::~CHyperLink()
{
    m_font.DeleteObject();
}

void CHyperLink::PreSubclassWindow()
{
    if (m_strTarget.IsEmpty()) m_strTarget = GetWindowText();
    if (GetWindowTextLength() == 0) SetWindowText(m_strTarget);

    HFONT hFont = GetFont();
    if (hFont) {
        LOGFONTA lf;
        if (::GetObjectA(hFont, sizeof(lf), &lf) == sizeof(lf)) {
            lf.lfUnderline = (m_dwOptions & HLOPT_UNDERLINE) ? TRUE : FALSE;
            if (m_font.CreateFontIndirect(&lf)) SetFont(m_font, TRUE);
        }
        FitToText();
    } else {
        m_dwOptions &= ~(DWORD)HLOPT_FIT_TO_TEXT;
    }

    if (!(m_dwOptions & HLOPT_NO_HAND_CURSOR)) LoadHandCursor();

    if (m_toolTip.Create(this)) {
        CRect rc;
        GetClientRect(&rc);
        m_toolTip.AddTool(this, m_strTarget, &rc, kToolId);
    }
    CStatic::PreSubclassWindow();
}

BOOL CHyperLink::PreTranslateMessage(MSG* pMsg)
{
    m_toolTip.RelayEvent(pMsg);
    return CStatic::PreTranslateMessage(pMsg);
}

void CHyperLink::SetLinkTarget(const CString& target)
{
    m_strTarget = target;
    if (!m_hWnd) return;
    ShowWindow(SW_HIDE);
    FitToText();
    ResetTool();
    m_toolTip.UpdateTipText(LinkTipText(target), this, kToolId);
    ShowWindow(SW_SHOW);
}

void CHyperLink::SetLinkFont(CFont* pFont)
{
    LOGFONTA lf;
    if (!pFont || !pFont->m_hObject || pFont->GetObject(sizeof(lf), &lf) != sizeof(lf)) return;
    if (m_hWnd) ShowWindow(SW_HIDE);
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&lf);
    if (!m_hWnd) return;
    SetFont(m_font, TRUE);
    FitToText();
    ShowWindow(SW_SHOW);
}

void CHyperLink::FitToText()
{
    if (!(m_dwOptions & HLOPT_FIT_TO_TEXT) || !m_hWnd) return;
    CRect window, client;
    GetWindowRect(&window);
    ::MapWindowPoints(nullptr, ::GetParent(m_hWnd), (POINT*)&window, 2);
    GetClientRect(&client);
    SIZE border = { window.Width() - client.Width(), window.Height() - client.Height() };

    // Measured with the font the control draws with.
    HFONT hFont = m_font.m_hObject ? (HFONT)m_font : GetFont();
    CString text = GetWindowText();
    SIZE extent = { 0, 0 };
    HDC hdc = ::GetDC(m_hWnd);
    if (!hdc) return;
    HGDIOBJ old = hFont ? ::SelectObject(hdc, hFont) : nullptr;
    ::GetTextExtentPoint32A(hdc, text, text.GetLength(), &extent);
    if (old) ::SelectObject(hdc, old);
    ::ReleaseDC(m_hWnd, hdc);

    RECT r = FitLinkRect(window, border, extent, GetStyle());
    MoveWindow(r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    // The link draws no background of its own, and a shrinking window keeps
    // the pixels it had: the parent paints afresh where the link was.
    ::RedrawWindow(::GetParent(m_hWnd), &window, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CHyperLink::ResetTool()
{
    m_toolTip.DelTool(this, kToolId);
    CRect rc;
    GetClientRect(&rc);
    m_toolTip.AddTool(this, m_strTarget, &rc, kToolId);
}

void CHyperLink::OpenTarget()
{
    int r = OpenUrl(m_strTarget, SW_SHOW);
    if (r > 32) {
        m_bVisited = 1;
        if (m_hWnd) Invalidate(TRUE);
    } else {
        AfxMessageBeep(MB_ICONEXCLAMATION);
        ShowOpenError(r);
    }
}

void CHyperLink::ShowOpenError(int code)
{
    CString text = CString("Can't open link:\n\n") + LinkOpenErrorText(code);
    AfxMessageBox(text, MB_ICONEXCLAMATION);
}

HBRUSH CHyperLink::CtlColor(HDC hDC, UINT)
{
    ::SetTextColor(hDC, LinkTextColour(m_bHover != 0, m_bFocus != 0, m_bVisited != 0, m_dwOptions));
    ::SetBkMode(hDC, TRANSPARENT);
    return (HBRUSH)::GetStockObject(NULL_BRUSH);
}

BOOL CHyperLink::OnSetCursor(HWND, UINT, UINT)
{
    if (!g_hHandCursor) return FALSE;
    ::SetCursor(g_hHandCursor);
    return TRUE;
}

void CHyperLink::OnMouseMove(UINT, CPoint point)
{
    CRect rc;
    GetClientRect(&rc);
    if (!m_bHover) {
        m_bHover = 1;
        Invalidate(TRUE);
        ::SetCapture(m_hWnd);
    } else if (!rc.PtInRect(point)) {
        m_bHover = 0;
        ::ReleaseCapture();
        Invalidate(TRUE);
    }
}

LRESULT CHyperLink::OnCaptureChanged(WPARAM, LPARAM)
{
    // Whoever took the mouse (a message box, a menu) ends the hover and any
    // press: the cursor is followed again from the next move over the link.
    m_bPressed = false;
    if (m_bHover) {
        m_bHover = 0;
        Invalidate(TRUE);
    }
    return 0;
}

void CHyperLink::OnLButtonDown(UINT, CPoint)
{
    if (m_dwOptions & HLOPT_FOCUS_ON_CLICK) SetFocus();
    m_bPressed = true;
    if (m_dwOptions & HLOPT_OPEN_ON_PRESS) OpenTarget();
    m_bFocus = 1;
}

void CHyperLink::OnLButtonUp(UINT, CPoint point)
{
    bool pressed = m_bPressed;
    m_bPressed = false;
    CRect rc;
    GetClientRect(&rc);
    if (pressed && !(m_dwOptions & HLOPT_OPEN_ON_PRESS) && rc.PtInRect(point)) OpenTarget();
}

void CHyperLink::OnSetFocus(HWND)
{
    m_bFocus = 1;
    Invalidate(TRUE);
}

void CHyperLink::OnKillFocus(HWND)
{
    m_bHover = 0;
    m_bFocus = 0;
    m_bPressed = false;
    Invalidate(TRUE);
}

void CHyperLink::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_SPACE) {
        // Held down, the key repeats: only its first press opens.
        if (!(nFlags & KF_REPEAT)) OpenTarget();
        return;
    }
    DefWindowProc(WM_KEYDOWN, nChar, MAKELPARAM(nRepCnt, nFlags));
}

LRESULT CHyperLink::OnNcHitTest(CPoint)
{
    return HTCLIENT;
}
