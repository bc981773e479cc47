// The main frame's alert windows: one at a time, in the style the break
// kind's settings choose.
#include "engine/MainFrame.h"
#include "engine/World.h"
#include "alerts/AlertBox.h"
#include "alerts/LockDlg.h"
#include "app/Settings.h"
#include "res/resource.h"
#include <mmsystem.h>
#include <new>

// Creates an alert window from its template; false when it could not be
// made; the object is gone then too (with its window, or deleted).
template <class T>
static bool CreateAlertWindow(T* p, UINT nIDTemplate, CWnd* pParent)
{
    return AfxCreateOrDelete(p, [&](T* q) { return q->Create(nIDTemplate, pParent); }) != nullptr;
}

void CMainFrame::ShowAlert(int kind)
{
    // A kind or an alert type out of range (a damaged store) shows nothing
    // and leaves whatever is open as it is.
    if (kind < BREAK_MICRO || kind > BREAK_DAILY_LIMIT) return;
    int type = g_breakSettings.aBreaks[kind].nAlertType;
    if (type < ALERT_BALLOON || type > ALERT_SCREEN_LOCK) return;

    CloseAlerts();
    HWND hForeground = ::GetForegroundWindow();
    CAlertBox* pShown = nullptr;
    switch (type) {
    case ALERT_BALLOON:
        ShowBalloon(GetBalloonText(kind));
        return;
    case ALERT_SLIDER: {
        CSmallMsg* p = new (std::nothrow) CSmallMsg(this);
        if (!p) return;
        p->m_nKind = kind;
        p->m_hWndFrame = m_hWnd;
        if (!CreateAlertWindow(p, IDD_SMALLMSG, this)) return;
        m_pSmallMsg = p;
        ::AnimateWindow(p->m_hWnd, 500, p->m_dwShowFlags);
        // An animation the system refuses still leaves the slider shown.
        if (!p->IsWindowVisible()) p->ShowWindow(SW_SHOWNA);
        p->InvalidateRect(nullptr, TRUE);
        pShown = p;
        break;
    }
    case ALERT_MESSAGE_BOX: {
        CMessengerDlg* p = new (std::nothrow) CMessengerDlg(this);
        if (!p) return;
        p->m_nKind = kind;
        p->m_hWndFrame = m_hWnd;
        if (!CreateAlertWindow(p, IDD_MESSENGER, this)) return;
        // Shown without being activated: it never takes the keyboard.
        p->ShowWindow(SW_SHOWNA);
        m_pMessengerDlg = p;
        pShown = p;
        break;
    }
    case ALERT_SCREEN_LOCK: {
        CLockDlg* p = new (std::nothrow) CLockDlg(nullptr);
        if (!p) return;
        p->m_nKind = kind;
        p->m_hWndFrame = m_hWnd;
        if (!CreateAlertWindow(p, IDD_LOCK, nullptr)) return;
        m_pLockDlg = p;
        m_nLockKind = kind;
        return;
    }
    }
    // The slider and the message window only inform: the window that had
    // the keyboard keeps it.
    pShown->SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    if (hForeground) ::SetForegroundWindow(hForeground);
}

void CMainFrame::CloseAlerts()
{
    // Each pointer is cleared before its window goes; a window that went
    // some other way has cleared its pointer itself.
    bool closed = false;
    if (m_pMessengerDlg) {
        CMessengerDlg* p = m_pMessengerDlg;
        m_pMessengerDlg = nullptr;
        p->DestroyWindow();
        closed = true;
    }
    if (m_pSmallMsg) {
        CSmallMsg* p = m_pSmallMsg;
        m_pSmallMsg = nullptr;
        if (p->IsWindow() && p->m_dwHideFlags) ::AnimateWindow(p->m_hWnd, 400, p->m_dwHideFlags | AW_HIDE);
        p->DestroyWindow();
        closed = true;
    }
    if (m_pLockDlg) {
        CLockDlg* p = m_pLockDlg;
        m_pLockDlg = nullptr;
        m_nLockKind = -1;
        p->DestroyWindow();
        closed = true;
    }
    if (closed && g_useSoundPauseEnd && !g_strSoundFilePauseEnd.IsEmpty())
        World().PlaySound(g_strSoundFilePauseEnd, SND_FILENAME | SND_ASYNC);
}

// A click or the micro-break's timer on the slider or message window: it
// closes when it is still the open one (a late request of a window already
// replaced closes nothing).
LRESULT CMainFrame::OnAlertCloseRequest(WPARAM wParam, LPARAM)
{
    HWND hWnd = (HWND)wParam;
    if (!hWnd) return 0;
    if ((m_pSmallMsg && m_pSmallMsg->m_hWnd == hWnd) || (m_pMessengerDlg && m_pMessengerDlg->m_hWnd == hWnd))
        CloseAlerts();
    return 0;
}

// An alert window is being destroyed, by CloseAlerts or some other way (its
// owner went, say): its pointer goes with it.
LRESULT CMainFrame::OnAlertGone(WPARAM wParam, LPARAM)
{
    HWND hWnd = (HWND)wParam;
    if (!hWnd) return 0;
    if (m_pSmallMsg && m_pSmallMsg->m_hWnd == hWnd) m_pSmallMsg = nullptr;
    if (m_pMessengerDlg && m_pMessengerDlg->m_hWnd == hWnd) m_pMessengerDlg = nullptr;
    if (m_pLockDlg && m_pLockDlg->m_hWnd == hWnd) {
        m_pLockDlg = nullptr;
        m_nLockKind = -1;
    }
    return 0;
}
