// The main frame's commands, their update rules, the tray callback and the
// dashboard hover.
#include "engine/MainFrame.h"
#include "engine/World.h"
#include "app/Kestrabel.h"
#include "app/Product.h"
#include "controls/OpenUrl.h"
#include "services/Translator.h"
#include "tray/TrayNotifyIcon.h"
#include "ui/Dashboard.h"
#include "ui/SettingsSheet.h"
#include "res/resource.h"

// ---- the settings sheet ----

void CMainFrame::ShowSettings(int startPage, BOOL welcome)
{
    if (g_modalOpen) return;
    StopPulse();
    CloseAlerts();
    g_modalOpen = true;
    UpdateTrayIcon();
    RunSettingsSheet(this, startPage, welcome);
    // The welcome is shown once: whatever closed the sheet, the settings
    // now exist in the store.
    if (welcome) theApp.SaveSettings();
    g_modalOpen = false;
    UpdateTrayIcon();
}

void CMainFrame::OnSettings() { ShowSettings(0, FALSE); }
void CMainFrame::OnFirstRunSettings() { ShowSettings(0, TRUE); }
void CMainFrame::OnStatistics() { ShowSettings(4, FALSE); }
void CMainFrame::OnAbout() { ShowSettings(5, FALSE); }

// ---- commands ----

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

void CMainFrame::OnGiveFeedback()
{
    CString link = "mailto:" KS_SUPPORT_ADDRESS "?subject=Kestrabel feedback";
    HINSTANCE result = g_pfnShellExecuteA(m_hWnd, "open", link, nullptr, nullptr, SW_SHOWNORMAL);
    if ((INT_PTR)result <= 32) {
        CString text = g_translator.Translate("Failed to send email\n\nPlease sent your feedback to ");
        AfxMessageBox(text + KS_SUPPORT_ADDRESS, MB_OK);
    }
}

// ---- update rules ----

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

// ---- the tray callback ----

LRESULT CMainFrame::OnTrayNotification(WPARAM wParam, LPARAM lParam)
{
    UINT mouse = (UINT)lParam;
    if (mouse == WM_MOUSEMOVE) {
        if (CanHover()) ArmHover();
        else if (g_dashboard) ResetDashboardFade();
    } else if (mouse == WM_LBUTTONDOWN || mouse == WM_RBUTTONDOWN || mouse == WM_MBUTTONDOWN) {
        EndHover();
    }
    if (g_trayIcon.HandleCallback(wParam, lParam) && mouse == WM_LBUTTONUP) {
        CWorld& world = World();
        bool ctrl = world.GetKeyState(VK_CONTROL) < 0;
        bool shift = world.GetKeyState(VK_SHIFT) < 0;
        bool alt = world.GetKeyState(VK_MENU) < 0;
        if (ctrl && shift) {
            // A minute off the countdown, never below 0; not while the
            // settings sheet holds the countdown.
            if (!g_modalOpen && m_nMinutesLeft > 0) {
                --m_nMinutesLeft;
                UpdateTrayIcon();
            }
        } else {
            UINT id = shift ? ID_TRAY_RESTART_COUNTER : ctrl ? ID_TRAY_TOGGLE_MODE : alt ? ID_TRAY_PAUSE : ID_TRAY_SETTINGS;
            PostMessage(WM_COMMAND, id, 0);
        }
    }
    return 0;
}

// ---- hover ----

BOOL CMainFrame::CanHover() const { return !m_bHoverArmed && !g_dashboard && m_bHoverEnabled; }
void CMainFrame::SetHoverEnabled(BOOL enabled) { m_bHoverEnabled = enabled != FALSE; }

void CMainFrame::ArmHover()
{
    m_bHoverArmed = true;
    m_bHoverEnabled = false;
    if (!World().GetCursorPos(&m_ptHover)) m_ptHover = POINT{ 0, 0 };
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

void CMainFrame::OnHoverTimer()
{
    POINT pt;
    if (!World().GetCursorPos(&pt)) pt = POINT{ 0, 0 };
    if (IsNearHoverPoint(pt)) {
        if (m_bHoverArmed) ShowDashboardOnHover();
    } else {
        SetHoverEnabled(TRUE);
    }
    DisarmHover();
}
