#include "alerts/LockDlg.h"
#include "alerts/AlertLayout.h"
#include "engine/BreakSettings.h"
#include "engine/DayCounters.h"
#include "services/Translator.h"
#include "res/resource.h"
#include <algorithm>
#include <climits>
#include <new>

// ---- CLockDlg ----

BEGIN_MESSAGE_MAP(CLockDlg, CDialog)
    ON_COMMAND(IDC_POSTPONE, OnPostpone)
    ON_WM_TIMER()
    ON_WM_PAINT()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CLockDlg::CLockDlg(CWnd* pParentWnd) : CDialog(IDD_LOCK, pParentWnd)
{
}

CLockDlg::~CLockDlg()
{
    m_fontText.DeleteObject();
    m_fontTitle.DeleteObject();
}

void CLockDlg::PostNcDestroy()
{
    delete this;
}

void CLockDlg::BindControls()
{
    m_btnPostpone.SubclassDlgItem(IDC_POSTPONE, this);
    m_stTitle.SubclassDlgItem(IDC_LOCK_TITLE, this);
    m_stText.SubclassDlgItem(IDC_LOCK_TEXT, this);
    m_btnUnlock.SubclassDlgItem(IDCANCEL, this);
}

// The settings of the lock's kind; NULL for a kind that has none.
static const BreakSpec* SpecOf(int kind)
{
    if (kind < BREAK_MICRO || kind > BREAK_DAILY_LIMIT) return nullptr;
    return &g_breakSettings.aBreaks[kind];
}

BOOL CLockDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    BindControls();

    const BreakSpec* spec = SpecOf(m_nKind);
    if (spec) m_stText.SetWindowText(TruncateText(spec->strMessage, kMaxAlertText));
    g_translator.TranslateWindow(this);

    // A lock of no known kind can always be unlocked.
    m_bUnlockAllowed = spec ? spec->bEnableUnlocking : true;
    m_bPostponeAllowed = g_breakSettings.nPostpone != 0;
    m_nCountdown = g_breakSettings.UnlockDelaySeconds();
    m_bUnlockDelayed = m_nCountdown > 0;
    UpdatePostponeCaption();

    LOGFONTA lf = {};
    HFONT hDialogFont = GetFont();
    if (!hDialogFont || !::GetObjectA(hDialogFont, sizeof(lf), &lf))
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
    lf.lfWeight = FW_BOLD;
    m_fontText.CreateFontIndirect(&lf);
    m_stText.SetFont(m_fontText, TRUE);
    lf.lfHeight = lf.lfHeight * 3 / 2;
    m_fontTitle.CreateFontIndirect(&lf);
    m_stTitle.SetFont(m_fontTitle, TRUE);
    m_btnUnlock.SetFont(m_fontTitle, TRUE);

    m_stTitle.SetWindowText("Kestrabel:");
    PlaceOverWorkArea();

    // With neither button ever usable the countdown shows the delay at once.
    m_bSecondPhase = !m_bPostponeAllowed && !m_bUnlockAllowed;
    if (m_bUnlockDelayed && (m_bPostponeAllowed || m_bUnlockAllowed)) {
        m_btnUnlock.EnableWindow(FALSE);
        m_btnPostpone.EnableWindow(FALSE);
    }
    UpdateCountdownCaption();
    m_nTimer = SetTimer(TIMER_LOCK_COUNTDOWN, 1000);
    if (!m_bUnlockAllowed) m_btnUnlock.EnableWindow(FALSE);
    if (!m_bPostponeAllowed) m_btnPostpone.EnableWindow(FALSE);

    ModifyStyleEx(0, WS_EX_TOPMOST);
    SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

void CLockDlg::PlaceOverWorkArea()
{
    RECT work;
    if (!Displays().GetWorkArea(&work)) return;
    CRect wr;
    GetWindowRect(&wr);
    int h = wr.Height();
    CRect unlock = ChildRect(m_hWnd, m_btnUnlock), postpone = ChildRect(m_hWnd, m_btnPostpone);
    CRect text = ChildRect(m_hWnd, m_stText), title = ChildRect(m_hWnd, m_stTitle);
    SIZE su = { unlock.Width(), unlock.Height() }, sp = { postpone.Width(), postpone.Height() };
    LockLayout l = ComputeLockLayout(work, h, su, sp);

    // A message that needs more lines than the bar has makes the bar taller.
    int textWidth = std::max<int>(1, l.nTextRight - text.left);
    int extra = 0;
    {
        CString s = m_stText.GetWindowText();
        CClientDC dc(&m_stText);
        dc.SelectObject(&m_fontText);
        SIZE box = { textWidth, text.Height() };
        int maxHeight = std::max<int>(text.Height(), (work.bottom - work.top) / 2 - (h - text.Height()));
        SIZE need = FitTextBox(dc, s, kAlertTextFormat, box, textWidth, maxHeight);
        extra = std::max<int>(0, (int)need.cy - text.Height());
    }
    if (extra) {
        h += extra;
        l = ComputeLockLayout(work, h, su, sp);
    }

    SetWindowPos(HWND_TOPMOST, l.rcBar.left, l.rcBar.top, l.rcBar.right - l.rcBar.left, h, 0);
    m_btnUnlock.SetWindowPos(nullptr, l.ptUnlock.x, l.ptUnlock.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_btnPostpone.SetWindowPos(nullptr, l.ptPostpone.x, l.ptPostpone.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_stText.SetWindowPos(nullptr, text.left, text.top, textWidth, text.Height() + extra, SWP_NOZORDER | SWP_NOACTIVATE);
    // The title ends where the message does, clear of the Unlock button.
    if (title.right > l.nTextRight)
        m_stTitle.SetWindowPos(nullptr, 0, 0, std::max<int>(1, l.nTextRight - title.left), title.Height(),
                               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    std::vector<MonitorArea> monitors;
    Displays().ListMonitors(monitors);
    for (const RECT& r : ComputeDimAreas(work, h, monitors))
        CBlackPainter::CreateOver(this, r);
}

void CLockDlg::UpdatePostponeCaption()
{
    if (m_bPostponeAllowed)
        m_btnPostpone.SetWindowText(FormatTranslated("Remind me again in %d minutes", g_breakSettings.PostponeMinutes()));
    else
        m_btnPostpone.SetWindowText(g_translator.Translate("Postpone Disabled"));
}

void CLockDlg::UpdateCountdownCaption()
{
    CString t = FormatDuration(m_nCountdown);
    if (m_bSecondPhase)
        m_btnUnlock.SetWindowText(g_translator.Translate("Unlock") + "\r\n( " + t + " )");
    else if (m_bUnlockAllowed)
        m_btnUnlock.SetWindowText(t);
    else
        m_btnPostpone.SetWindowText(t);
}

void CLockDlg::OnTimer(UINT_PTR nIDEvent)
{
    DefWindowProc(WM_TIMER, nIDEvent, 0);
    if (!m_nTimer || nIDEvent != m_nTimer) return;
    if (m_nCountdown > INT_MIN) --m_nCountdown;
    UpdateCountdownCaption();
    if (m_nCountdown > 0 || m_bSecondPhase) return;

    m_bSecondPhase = true;
    if (m_bUnlockAllowed) {
        m_btnUnlock.EnableWindow(TRUE);
        m_btnUnlock.SetWindowText(g_translator.Translate("Unlock"));
    }
    if (m_bPostponeAllowed) {
        m_btnPostpone.EnableWindow(TRUE);
        UpdatePostponeCaption();
    }
    // The rest of the break, less the second that just went.
    const BreakSpec* spec = SpecOf(m_nKind);
    long long rest = (long long)(spec ? spec->nDuration : 0) - g_breakSettings.UnlockDelaySeconds() - 1;
    m_nCountdown = (int)std::max<long long>(INT_MIN, std::min<long long>(INT_MAX, rest));
    UpdateCountdownCaption();
}

void CLockDlg::PostResult(WPARAM wParam, LPARAM lParam)
{
    if (HWND target = AlertFrameWindow(m_hWndFrame)) ::PostMessageA(target, WM_ALERT_RESULT, wParam, lParam);
}

void CLockDlg::OnCancel()
{
    // Escape, Alt+F4 and a click that reaches a disabled button end nothing.
    if (!m_bUnlockAllowed || !m_btnUnlock.m_hWnd || !m_btnUnlock.IsWindowEnabled()) return;
    PostResult(0, 0);
}

void CLockDlg::OnPostpone()
{
    if (!m_bPostponeAllowed || !m_btnPostpone.m_hWnd || !m_btnPostpone.IsWindowEnabled()) return;
    PostResult(1, m_nKind == BREAK_DAILY_LIMIT ? 1 : 0);
}

void CLockDlg::OnDestroy()
{
    if (m_nTimer) {
        KillTimer(m_nTimer);
        m_nTimer = 0;
    }
    NotifyAlertGone(m_hWndFrame, m_hWnd);
}

void CLockDlg::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    DrawWarningTape(dc, client);
    CRect r = m_stTitle.m_hWnd ? ChildRect(m_hWnd, m_stTitle) : CRect();
    int size = r.left >= 50 ? 48 : (r.left < 36 ? 16 : 32);
    DrawResourceIcon(dc, IDI_LOCK, size, (r.left - size) / 2, r.top);
}

// ---- CBlackPainter ----

BEGIN_MESSAGE_MAP(CBlackPainter, CWnd)
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_MOUSEACTIVATE, OnMouseActivate)
END_MESSAGE_MAP()

CBlackPainter::~CBlackPainter()
{
}

const char* CBlackPainter::ClassName()
{
    static const char* s_name;
    if (!s_name) s_name = AfxRegisterWndClass(0);
    return s_name;
}

HWND CBlackPainter::CreateOver(CWnd* pOwner, const RECT& rc)
{
    const char* cls = ClassName();
    if (!cls) return nullptr;
    CBlackPainter* p = new (std::nothrow) CBlackPainter;
    if (!p) return nullptr;
    // The screen under it, taken before it covers it (the dimmed look on
    // every desktop, composing or not).
    p->m_snapshot.Take(rc);
    HWND hOwner = pOwner ? pOwner->m_hWnd : nullptr;
    p = AfxCreateOrDelete(p, [&](CBlackPainter* q) {
        return q->CreateEx(WS_EX_TOPMOST, cls, "", WS_POPUP, rc.left, rc.top, rc.right - rc.left,
                           rc.bottom - rc.top, hOwner, nullptr);
    });
    if (!p) return nullptr;
    HWND hWnd = p->m_hWnd;
    // Shown without activation: the lock's bar keeps the keyboard.
    p->ShowWindow(SW_SHOWNA);
    return hWnd;
}

LRESULT CBlackPainter::OnMouseActivate(WPARAM, LPARAM)
{
    // A click on the dimmed screen leaves the keyboard with the lock's bar.
    return MA_NOACTIVATE;
}

BOOL CBlackPainter::OnEraseBkgnd(HDC hdc)
{
    CRect wr;
    GetWindowRect(&wr);
    m_snapshot.Draw(hdc, 0, 0);
    CBitmap black;
    CDC mem;
    if (mem.CreateCompatibleDC(hdc) && black.CreateCompatibleBitmap(hdc, 64, 64)) {
        mem.SelectObject(&black);
        RECT r = { 0, 0, 64, 64 };
        mem.FillRect(&r, (HBRUSH)::GetStockObject(BLACK_BRUSH));
        BLENDFUNCTION bf = { AC_SRC_OVER, 0, 128, 0 };
        ::AlphaBlend(hdc, 0, 0, wr.Width(), wr.Height(), mem, 0, 0, 64, 64, bf);
    }
    return TRUE;
}
