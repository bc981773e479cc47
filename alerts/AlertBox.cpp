#include "alerts/AlertBox.h"
#include "alerts/AlertLayout.h"
#include "engine/BreakSettings.h"
#include "services/Translator.h"
#include "tray/TrayNotifyIcon.h"
#include "res/resource.h"
#include <algorithm>

// The product's name as the alert windows show it (never translated).
static const char kProductTitle[] = "Kestrabel";

// ---- shared helpers ----

BOOL CScreenSnapshot::Take(const RECT& rc)
{
    m_bmp.DeleteObject();
    m_size.cx = rc.right - rc.left;
    m_size.cy = rc.bottom - rc.top;
    if (m_size.cx <= 0 || m_size.cy <= 0) return FALSE;
    HDC screen = ::GetDC(nullptr);
    if (!screen) return FALSE;
    BOOL ok = FALSE;
    if (m_bmp.CreateCompatibleBitmap(screen, m_size.cx, m_size.cy)) {
        CDC mem;
        if (mem.CreateCompatibleDC(screen)) {
            mem.SelectObject(&m_bmp);
            ok = mem.BitBlt(0, 0, m_size.cx, m_size.cy, screen, rc.left, rc.top, SRCCOPY);
        }
    }
    ::ReleaseDC(nullptr, screen);
    if (!ok) m_bmp.DeleteObject();
    return ok;
}

BOOL CScreenSnapshot::Draw(HDC hdc, int x, int y) const
{
    if (!m_bmp.GetSafeHandle()) return FALSE;
    CDC mem;
    if (!mem.CreateCompatibleDC(hdc)) return FALSE;
    mem.SelectObject(m_bmp.GetSafeHandle());
    return ::BitBlt(hdc, x, y, m_size.cx, m_size.cy, mem, 0, 0, SRCCOPY);
}

HWND AlertFrameWindow(HWND hWndFrame)
{
    if (!hWndFrame && AfxGetMainWnd()) hWndFrame = AfxGetMainWnd()->m_hWnd;
    // A frame that went before its alert may have left its handle to a
    // window of another thread or program: that one hears nothing.
    if (!hWndFrame || ::GetWindowThreadProcessId(hWndFrame, nullptr) != ::GetCurrentThreadId()) return nullptr;
    return hWndFrame;
}

void NotifyAlertGone(HWND hWndFrame, HWND hWnd)
{
    if (HWND frame = AlertFrameWindow(hWndFrame)) ::SendMessageA(frame, WM_ALERT_GONE, (WPARAM)hWnd, 0);
}

SIZE FitTextBox(HDC hdc, const char* text, UINT format, SIZE box, int maxWidth, int maxHeight)
{
    if (maxWidth < box.cx) maxWidth = box.cx;
    if (maxHeight < box.cy) maxHeight = box.cy;
    int w = box.cx;
    for (;;) {
        RECT r = { 0, 0, w, 0 };
        ::DrawTextA(hdc, text ? text : "", -1, &r, format | DT_CALCRECT);
        int h = r.bottom - r.top;
        bool fitsWidth = r.right - r.left <= w;
        if (fitsWidth && h <= box.cy) return box;
        if (fitsWidth && h <= maxHeight) { SIZE s = { w, h }; return s; }
        if (w >= maxWidth) { SIZE s = { w, maxHeight }; return s; }
        w = std::min(maxWidth, w + std::max<int>(8, w / 4));
    }
}

CString GetAlertMessage(int kind)
{
    const char* text = "Please make a break.";
    if (kind >= BREAK_MICRO && kind <= BREAK_DAILY_LIMIT) text = g_breakSettings.aBreaks[kind].strMessage;
    return TruncateText(g_translator.Translate(text), kMaxAlertText);
}

CString GetBalloonText(int kind)
{
    const char* text = "Have a break...";
    if (kind == BREAK_DAILY_LIMIT) text = g_breakSettings.aBreaks[BREAK_DAILY_LIMIT].strMessage;
    NOTIFYICONDATAA nid;
    return TruncateText(g_translator.Translate(text), (int)sizeof(nid.szInfo) - 1);
}

// A child's rectangle in its parent's client coordinates.
CRect ChildRect(HWND hParent, HWND hChild)
{
    CRect r;
    ::GetWindowRect(hChild, &r);
    ::MapWindowPoints(nullptr, hParent, (POINT*)&r, 2);
    return r;
}

CRect WorkArea()
{
    CRect r;
    if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0))
        r.SetRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    return r;
}

// The strip of warning tape along the top of a client area.
void DrawWarningTape(HDC hdc, const RECT& client)
{
    CBitmap tape;
    if (!tape.LoadBitmap(IDB_WARNING_TAPE)) return;
    CDC mem;
    if (!mem.CreateCompatibleDC(hdc)) return;
    mem.SelectObject(&tape);
    for (int x = client.left; x < client.right; x += 60)
        ::BitBlt(hdc, x, client.top, 60, 4, mem, 0, 0, SRCCOPY);
}

// An icon of the resources at a size, drawn and released.
void DrawResourceIcon(HDC hdc, UINT id, int size, int x, int y)
{
    HICON h = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR);
    if (!h) return;
    ::DrawIconEx(hdc, x, y, h, size, size, 0, nullptr, DI_NORMAL);
    ::DestroyIcon(h);
}

// ---- CAlertBox ----

BEGIN_MESSAGE_MAP(CAlertBox, CDialog)
    ON_WM_LBUTTONDOWN()
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CAlertBox::CAlertBox(UINT nIDTemplate, CWnd* pParentWnd) : CDialog(nIDTemplate, pParentWnd)
{
}

CAlertBox::~CAlertBox()
{
}

void CAlertBox::PostNcDestroy()
{
    CDialog::PostNcDestroy();
    delete this;
}

void CAlertBox::OnDestroy()
{
    // Gone without the frame's CloseAlerts (its owner went, say): the frame
    // forgets it now, so its pointer never outlives the window.
    NotifyAlertGone(m_hWndFrame, m_hWnd);
}

BOOL CAlertBox::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_nKind == BREAK_MICRO) {
        int seconds = std::max<int>(0, g_breakSettings.aBreaks[BREAK_MICRO].nDuration);
        m_nTimer = SetTimer(TIMER_ALERT_CLOSE, (UINT)SaturatingMultiply(seconds, 1000));
    }
    // No focus is given to the alert: the window that had the keyboard
    // keeps it.
    return FALSE;
}

void CAlertBox::OnLButtonDown(UINT nFlags, CPoint point)
{
    DefWindowProc(WM_LBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
    RequestClose();
}

void CAlertBox::OnTimer(UINT_PTR nIDEvent)
{
    DefWindowProc(WM_TIMER, nIDEvent, 0);
    if (m_nTimer && nIDEvent == m_nTimer) {
        KillTimer(m_nTimer);
        m_nTimer = 0;
        RequestClose();
    }
}

CString CAlertBox::GetMessageText() const
{
    return GetAlertMessage(m_nKind);
}

void CAlertBox::RequestClose()
{
    // Posted: the click or timer that asks is over before the window goes.
    if (HWND frame = AlertFrameWindow(m_hWndFrame)) ::PostMessageA(frame, WM_ALERT_CLOSE_REQUEST, (WPARAM)m_hWnd, 0);
}

// ---- CSmallMsg ----

BEGIN_MESSAGE_MAP(CSmallMsg, CAlertBox)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CSmallMsg::CSmallMsg(CWnd* pParentWnd) : CAlertBox(IDD_SMALLMSG, pParentWnd)
{
}

void CSmallMsg::BindControls()
{
    m_stMessage.SubclassDlgItem(IDC_SMALLMSG_TEXT, this);
    m_stTitle.SubclassDlgItem(IDC_SMALLMSG_TITLE, this);
}

BOOL CSmallMsg::OnInitDialog()
{
    CAlertBox::OnInitDialog();
    BindControls();

    LOGFONTA lf = {};
    HFONT hDialogFont = GetFont();
    if (!hDialogFont || !::GetObjectA(hDialogFont, sizeof(lf), &lf))
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
    m_fontMessage.CreateFontIndirect(&lf);
    m_stMessage.SetFont(m_fontMessage, TRUE);
    lf.lfHeight = lf.lfHeight + lf.lfHeight / 2;
    lf.lfWeight = FW_BOLD;
    m_fontTitle.CreateFontIndirect(&lf);
    m_stTitle.SetFont(m_fontTitle, TRUE);

    m_stMessage.SetWindowText(GetMessageText());
    FitMessage();

    CRect rc;
    GetClientRect(&rc);
    rc.right -= ::GetSystemMetrics(SM_CXBORDER);
    rc.top += std::max<int>(::GetSystemMetrics(SM_CYBORDER), 8);
    rc.left = rc.right - ::GetSystemMetrics(SM_CXSMSIZE);
    rc.bottom = rc.top + ::GetSystemMetrics(SM_CYSMSIZE);
    m_rcClose = rc;

    RECT tray;
    GetTrayRect(&tray);
    CRect wr;
    GetWindowRect(&wr);
    APPBARDATA abd = {};
    abd.cbSize = sizeof(abd);
    BOOL answered = ::SHAppBarMessage(ABM_GETTASKBARPOS, &abd) != 0;
    SliderPlacement p = ComputeSliderPlacement(tray, wr.Width(), wr.Height(), answered, abd.uEdge);
    m_dwShowFlags = p.dwShowFlags;
    m_dwHideFlags = p.dwHideFlags;
    SetWindowPos(HWND_TOPMOST, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    return FALSE;
}

void CSmallMsg::FitMessage()
{
    CString text = m_stMessage.GetWindowText();
    CRect rs = ChildRect(m_hWnd, m_stMessage);
    CRect wr;
    GetWindowRect(&wr);
    CRect work = WorkArea();
    SIZE need;
    {
        CClientDC dc(&m_stMessage);
        dc.SelectObject(&m_fontMessage);
        SIZE box = { rs.Width(), rs.Height() };
        need = FitTextBox(dc, text, kAlertTextFormat, box,
                          std::max<int>(rs.Width(), work.Width() / 3 - (wr.Width() - rs.Width())),
                          std::max<int>(rs.Height(), work.Height() / 2 - (wr.Height() - rs.Height())));
    }
    int dx = need.cx - rs.Width(), dy = need.cy - rs.Height();
    if (!dx && !dy) return;
    m_stMessage.SetWindowPos(nullptr, 0, 0, need.cx, need.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(nullptr, 0, 0, wr.Width() + dx, wr.Height() + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSmallMsg::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    DrawWarningTape(dc, rc);
    ::DrawFrameControl(dc, &m_rcClose, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_HOT);
    int left = m_stTitle.m_hWnd ? ChildRect(m_hWnd, m_stTitle).left : 0;
    int size = left > 50 ? 48 : (left < 35 ? 16 : 32);
    DrawResourceIcon(dc, IDI_ALERT, size, (left - size) / 2, 4);
}

void CSmallMsg::OnLButtonDown(UINT nFlags, CPoint point)
{
    CAlertBox::OnLButtonDown(nFlags, point);
    // The close box closes at once; anywhere else the slider slides back.
    if (::PtInRect(&m_rcClose, point)) m_dwHideFlags = 0;
}

// ---- CMessengerDlg ----

BEGIN_MESSAGE_MAP(CMessengerDlg, CAlertBox)
    ON_WM_KILLFOCUS()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CMessengerDlg::CMessengerDlg(CWnd* pParentWnd) : CAlertBox(IDD_MESSENGER, pParentWnd)
{
}

void CreateMessengerFonts(CFont& title, CFont& message)
{
    LOGFONTA lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = ANTIALIASED_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    lf.lfHeight = -24;
    lf.lfWeight = FW_BOLD;
    lstrcpynA(lf.lfFaceName, "Tahoma", LF_FACESIZE);
    title.CreateFontIndirect(&lf);
    lf.lfHeight = -14;
    lf.lfWeight = FW_SEMIBOLD;
    lstrcpynA(lf.lfFaceName, "Verdana", LF_FACESIZE);
    message.CreateFontIndirect(&lf);
}

RECT MessengerTextRect(const RECT& client, int titleHeight)
{
    RECT r;
    r.left = client.left + 16 + 58;
    r.top = client.top + 16 + titleHeight + titleHeight / 5;
    r.right = client.right - 16;
    r.bottom = client.bottom - 16;
    return r;
}

BOOL CMessengerDlg::OnInitDialog()
{
    CAlertBox::OnInitDialog();
    BindControls();
    FitMessage();

    CRect c;
    GetClientRect(&c);
    CRgn rgn;
    if (rgn.CreateRoundRectRgn(c.left + 4, c.top + 4, c.right - 4, c.bottom - 4, 16, 14)
        && ::SetWindowRgn(m_hWnd, rgn, FALSE))
        rgn.Detach();  // the window owns it now
    SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);

    // The window draws itself over what lay beneath it when it came.
    RECT screen = c;
    ::MapWindowPoints(m_hWnd, nullptr, (POINT*)&screen, 2);
    m_snapshot.Take(screen);
    return FALSE;
}

void CMessengerDlg::FitMessage()
{
    CFont title, message;
    CreateMessengerFonts(title, message);
    CString text = GetMessageText();
    CRect c, wr;
    GetClientRect(&c);
    GetWindowRect(&wr);
    CRect work = WorkArea();
    CSize frame(wr.Width() - c.Width(), wr.Height() - c.Height());
    SIZE need, box;
    RECT tr;
    {
        CClientDC dc(this);
        dc.SelectObject(&title);
        CSize ts = dc.GetTextExtent(kProductTitle, (int)strlen(kProductTitle));
        dc.SelectObject(&message);
        tr = MessengerTextRect(c, ts.cy);
        box.cx = tr.right - tr.left;
        box.cy = tr.bottom - tr.top;
        need = FitTextBox(dc, text, kAlertTextFormat, box,
                          work.Width() - 40 - frame.cx - (c.Width() - box.cx),
                          work.Height() - 40 - frame.cy - (c.Height() - box.cy));
    }
    int dx = need.cx - box.cx, dy = need.cy - box.cy;
    if (!dx && !dy) return;
    int w = wr.Width() + dx, h = wr.Height() + dy;
    SetWindowPos(nullptr, work.left + (work.Width() - w) / 2, work.top + (work.Height() - h) / 2, w, h,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMessengerDlg::OnKillFocus(HWND hNew)
{
    DefWindowProc(WM_KILLFOCUS, (WPARAM)hNew, 0);
}

BOOL CMessengerDlg::OnEraseBkgnd(HDC)
{
    return TRUE;
}

void CMessengerDlg::OnPaint()
{
    // The objects outlive the context, which gives them back at its end.
    CPen pen(PS_SOLID, 8, RGB(222, 0, 0));
    CFont title, message;
    CreateMessengerFonts(title, message);
    CBitmap fill;
    CPaintDC dc(this);

    CRect c;
    GetClientRect(&c);
    CRect in = c;
    in.DeflateRect(16, 16);

    dc.SelectObject(&pen);
    dc.SelectObject(&title);
    CSize ts = dc.GetTextExtent(kProductTitle, (int)strlen(kProductTitle));
    dc.SetBkMode(TRANSPARENT);

    // Translucent dark red over what lay beneath the window.
    m_snapshot.Draw(dc, 0, 0);
    if (fill.CreateCompatibleBitmap(dc, 5, 5)) {
        CDC mem;
        if (mem.CreateCompatibleDC(dc)) {
            mem.SelectObject(&fill);
            mem.FillSolidRect(0, 0, 5, 5, RGB(64, 0, 0));
            CRgn clip;
            if (clip.CreateRoundRectRgn(c.left + 4, c.top + 4, c.right - 4, c.bottom - 4, 16, 14))
                ::SelectClipRgn(dc, clip);
            BLENDFUNCTION bf = { AC_SRC_OVER, 0, 0xA0, 0 };
            ::AlphaBlend(dc, c.left, c.top, c.Width(), c.Height(), mem, 0, 0, 4, 4, bf);
            ::SelectClipRgn(dc, nullptr);
        }
    }

    // The red border; half the pen lies outside the window's region.
    dc.SelectStockObject(NULL_BRUSH);
    dc.RoundRect(c.left + 4, c.top + 4, c.right - 4, c.bottom - 4, 16, 14);

    int x = in.left + (in.right - ts.cx - in.left) / 2;
    dc.SetTextColor(RGB(0, 0, 0));
    dc.TextOut(x + 2, in.top + 2, kProductTitle, (int)strlen(kProductTitle));
    dc.SetTextColor(RGB(255, 255, 255));
    dc.TextOut(x, in.top, kProductTitle, (int)strlen(kProductTitle));

    DrawResourceIcon(dc, IDI_ALERT, 48, in.left + 3, in.top + (in.Height() - 48) / 2);

    dc.SelectObject(&message);
    RECT tr = MessengerTextRect(c, ts.cy);
    dc.DrawText(GetMessageText(), &tr, kAlertTextFormat);
}
