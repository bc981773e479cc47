// The main frame's commands, their update rules, the tray callback and the
// dashboard hover.
#include "engine/MainFrame.h"
#include "engine/World.h"
#include "tray/TrayNotifyIcon.h"
#include "ui/Dashboard.h"

void CMainFrame::ShowSettings(int, BOOL) {}
void CMainFrame::OnSettings() { ShowSettings(0, FALSE); }
void CMainFrame::OnFirstRunSettings() { ShowSettings(0, TRUE); }
void CMainFrame::OnStatistics() { ShowSettings(4, FALSE); }
void CMainFrame::OnAbout() { ShowSettings(5, FALSE); }

void CMainFrame::OnRestartCounter()
{
    RestartCounter();
    UpdateTrayIcon();
}

void CMainFrame::OnPause()
{
    if (IsPaused()) Resume(); else Pause();
    UpdateTrayIcon();
}

void CMainFrame::OnGiveFeedback() {}

void CMainFrame::OnUpdateNeedsNoSheetNoLock(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!g_modalOpen && !m_pLockDlg);
}

void CMainFrame::OnUpdateExit(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!g_modalOpen);
}

void CMainFrame::OnUpdateRestartCounter(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!(m_dwState & (STATE_PAUSED | STATE_AUTOPAUSED)) && !g_modalOpen);
}

void CMainFrame::OnUpdatePause(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(IsPaused() ? 1 : 0);
    pCmdUI->Enable(((m_dwState & STATE_WORKING) || m_bScreenSaver || m_bSessionLocked) && !g_modalOpen);
}

void CMainFrame::OnUpdateToggleMode(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!g_modalOpen && ((m_dwState & STATE_WORKING) || m_bScreenSaver || m_bSessionLocked
                                    || !g_breakSettings.bDisableToggleMode));
}

LRESULT CMainFrame::OnTrayNotification(WPARAM wParam, LPARAM lParam)
{
    g_trayIcon.HandleCallback(wParam, lParam);
    return 0;
}

BOOL CMainFrame::CanHover() const { return !m_bHoverArmed && !g_dashboard && m_bHoverEnabled; }
void CMainFrame::SetHoverEnabled(BOOL enabled) { m_bHoverEnabled = enabled != FALSE; }

void CMainFrame::ArmHover()
{
    m_bHoverArmed = true;
    m_bHoverEnabled = false;
    World().GetCursorPos(&m_ptHover);
    m_nTimerHover = SetTimer(TIMER_HOVER, 330);
}

void CMainFrame::DisarmHover()
{
    m_bHoverArmed = false;
    if (m_nTimerHover) KillTimer(m_nTimerHover);
    m_nTimerHover = 0;
    m_bHoverEnabled = true;
}

void CMainFrame::EndHover()
{
    DisarmHover();
    if (g_dashboard) CloseDashboard();
}

void CMainFrame::ShowDashboardOnHover()
{
    if (!g_dashboard) ShowDashboardIfAllowed();
}

BOOL CMainFrame::IsNearHoverPoint(POINT pt) const
{
    return abs(pt.x - m_ptHover.x) < 16 && abs(pt.y - m_ptHover.y) < 16;
}
