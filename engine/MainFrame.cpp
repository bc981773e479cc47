#include "engine/MainFrame.h"
#include "engine/DayCounters.h"
#include "engine/HooksLoader.h"
#include "engine/World.h"
#include "app/Kestrabel.h"
#include "app/Settings.h"
#include "tray/TrayNotifyIcon.h"
#include "services/Translator.h"
#include "ui/Dashboard.h"
#include "res/resource.h"
#include <mmsystem.h>

bool g_modalOpen;
__int64 g_lastActivityTime;
DWORD g_keyStrokesBase;
DWORD g_mouseEventsBase;
int g_pulseCount;

static UINT s_msgTaskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_SETFOCUS()
    ON_WM_TIMER()
    ON_MESSAGE(WM_SETTINGS_APPLIED, OnSettingsApplied)
    ON_MESSAGE(WM_ALERT_RESULT, OnAlertClosed)
    ON_MESSAGE(WM_ALERT_CLOSE_REQUEST, OnAlertCloseRequest)
    ON_MESSAGE(WM_ALERT_GONE, OnAlertGone)
    ON_MESSAGE(WM_WTSSESSION_CHANGE, OnSessionChange)
    ON_MESSAGE(WM_TRAY_NOTIFY, OnTrayNotification)
    ON_MESSAGE(WM_UPDATE_CHECK_DONE, OnUpdateCheckDone)
    ON_REGISTERED_MESSAGE(s_msgTaskbarCreated, OnTaskbarCreated)
    ON_COMMAND(ID_TRAY_SETTINGS, OnSettings)
    ON_COMMAND(ID_FIRST_RUN, OnFirstRunSettings)
    ON_COMMAND(ID_TRAY_STATISTICS, OnStatistics)
    ON_COMMAND(ID_APP_ABOUT, OnAbout)
    ON_COMMAND(ID_TRAY_RESTART_COUNTER, OnRestartCounter)
    ON_COMMAND(ID_TRAY_TOGGLE_MODE, ToggleMode)
    ON_COMMAND(ID_TRAY_PAUSE, OnPause)
    ON_COMMAND(ID_TRAY_CHECK_UPDATES, OnCheckForUpdates)
    ON_COMMAND(ID_TRAY_FEEDBACK, OnGiveFeedback)
    ON_UPDATE_COMMAND_UI(ID_APP_ABOUT, OnUpdateNeedsNoSheetNoLock)
    ON_UPDATE_COMMAND_UI(ID_TRAY_SETTINGS, OnUpdateNeedsNoSheetNoLock)
    ON_UPDATE_COMMAND_UI(ID_TRAY_STATISTICS, OnUpdateNeedsNoSheetNoLock)
    ON_UPDATE_COMMAND_UI(ID_TRAY_CHECK_UPDATES, OnUpdateNeedsNoSheetNoLock)
    ON_UPDATE_COMMAND_UI(ID_APP_EXIT, OnUpdateExit)
    ON_UPDATE_COMMAND_UI(ID_TRAY_RESTART_COUNTER, OnUpdateRestartCounter)
    ON_UPDATE_COMMAND_UI(ID_TRAY_PAUSE, OnUpdatePause)
    ON_UPDATE_COMMAND_UI(ID_TRAY_TOGGLE_MODE, OnUpdateToggleMode)
END_MESSAGE_MAP()

// Stored values that must be positive to make sense are used as at least 1.
static int AtLeastOne(int v) { return v < 1 ? 1 : v; }

// Every redraw the engine asks for goes through here and is counted.
static void Redraw(CMainFrame* frame)
{
    ++frame->m_nRedraws;
    frame->UpdateTrayIcon();
}

// Every alert the engine raises goes through here and is counted.
static void RaiseAlert(CMainFrame* frame, int kind)
{
    if (kind >= 0 && kind < 4) ++frame->m_nAlerts[kind];
    frame->ShowAlert(kind);
}

CMainFrame::CMainFrame()
{
    m_dwState = STATE_WORKING;
    g_modalOpen = false;
    LOGFONTA lf = g_trayLogFont;
    lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    m_fontIcon.CreateFontIndirect(&lf);
    ResetCountdown(BREAK_SHORT);
    World().GetLocalTime(&m_stLastTick);
}

CMainFrame::~CMainFrame()
{
    // The bitmap and font leave the icon's context before either is deleted.
    m_dcIcon.DeleteDC();
    m_bmpIcon.DeleteObject();
    m_fontIcon.DeleteObject();
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
    cs.dwExStyle |= WS_EX_TOPMOST;
    cs.lpszClass = AfxRegisterWndClass(0);
    return cs.lpszClass != nullptr;
}

int CMainFrame::OnCreate(LPCREATESTRUCTA lpcs)
{
    if (CFrameWnd::DefWindowProc(WM_CREATE, 0, (LPARAM)lpcs) == -1) return -1;
    RECT empty = { 0, 0, 0, 0 };
    if (!m_wndView.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, empty, this, AFX_IDW_PANE_FIRST))
        return -1;
    if (!CreateIconSurface(m_dcIcon, m_bmpIcon)) {
        CString text = g_translator.Translate("OnCreate: Failed to create tray icon");
        AfxMessageBox(text, MB_OK | MB_ICONSTOP);
        return -1;
    }
    if (!CreateDefaultIcon()) return -1;
    m_nTimerTick = SetTimer(TIMER_TICK, 1000);
    m_nTimerPulse = 0;
    StartHooks();
    UpdateTrayIcon();
    ShowDashboardIfPinned();
    return 0;
}

void CMainFrame::OnSetFocus(HWND)
{
    if (m_wndView.m_hWnd) m_wndView.SetFocus();
}

void CMainFrame::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TIMER_TICK) {
        OnTick();
    } else if (nIDEvent == TIMER_PULSE && m_nTimerPulse) {
        ++g_pulseCount;
        Redraw(this);
    } else if (nIDEvent == TIMER_UPDATE_CHECK && m_nTimerUpdate) {
        KillTimer(m_nTimerUpdate);
        m_nTimerUpdate = 0;
        StartUpdateCheck();
    } else if (nIDEvent == TIMER_HOVER && m_nTimerHover) {
        OnHoverTimer();
    }
}

void CMainFrame::OnTick()
{
    CWorld& world = World();
    bool redraw = false;

    // 1. Screen saver.
    BOOL saver = m_bScreenSaver;
    if (world.GetScreenSaverRunning(&saver)) m_bScreenSaver = saver != FALSE;

    // 2. Elapsed time: late ticks count in full, anything else as 1 second.
    // The clock is read once; the day counters and the idle check share it.
    SYSTEMTIME now;
    world.GetLocalTime(&now);
    __int64 moment = world.Now();
    int elapsed = (((int)now.wHour - m_stLastTick.wHour) * 60 + (int)now.wMinute - m_stLastTick.wMinute) * 60
                  + (int)now.wSecond - m_stLastTick.wSecond;
    if (elapsed <= 2) elapsed = 1;
    if (g_dayCounters.Tick(elapsed, moment)) redraw = true;
    m_stLastTick = now;

    // 3. Clearing at a time of day.
    if (g_autoZeroEnabled && g_autoZeroMode == 1) {
        long long d = ((long long)now.wHour * 100 + now.wMinute - g_autoZeroTime) * 100 + now.wSecond;
        if (d < 2 && d > -2) {
            g_dayCounters.Reset();
            redraw = true;
        }
    }

    // 4. Cursor.
    POINT pt;
    if (!world.GetTickCursorPos(&pt)) {
        pt.x = pt.y = 0;
        m_ptLastCursor = pt;
    }

    // 5. Activity.
    bool idleHit = false;
    if (m_dwState & (STATE_WORKING | STATE_AUTOPAUSED)) {
        if (g_trackKeyboard && world.ReadKeyStrokes() != g_keyStrokesBase) OnActivity(TRUE);
        if (g_trackMouse && world.ReadMouseEvents() != g_mouseEventsBase) OnActivity(TRUE);
        if (g_trackMouseMove && (pt.x != m_ptLastCursor.x || pt.y != m_ptLastCursor.y)) OnActivity(FALSE);

        bool hooksUsable = (g_trackMouse || g_trackKeyboard) && world.IsHookLibraryLoaded();
        if (!g_trackMouseMove && !hooksUsable) {
            m_dwState &= ~STATE_WAIT_ACTIVITY;
        } else {
            __int64 idleMinutes = (moment - g_lastActivityTime) / 60;
            if (idleMinutes >= AtLeastOne(g_pauseDelay)) {
                idleHit = true;
                redraw = true;
                if (g_enablePauses) AutoPause();
                else RestartCounter();
            } else if (m_dwState & STATE_AUTOPAUSED) {
                Resume();
                redraw = true;
            }
            if (m_nIdleSeconds < INT_MAX) ++m_nIdleSeconds;
            if (m_nInputIdleSeconds < INT_MAX) ++m_nInputIdleSeconds;
            if (g_autoZeroEnabled && g_autoZeroMode == 0 && m_nIdleSeconds / 3600 >= AtLeastOne(g_autoZeroDelay))
                g_dayCounters.Reset();
            if (m_nIdleSeconds / 60 >= AtLeastOne(g_breakSettings.aBreaks[BREAK_SHORT].nInterval))
                m_nShortBreaks = 0;
            if (idleHit) g_dayCounters.CountIdleSecond();
        }
    }

    // 6. Time accounting (an idle second above already counted as idle).
    if (!idleHit) {
        if (m_bScreenSaver || m_bSessionLocked) g_dayCounters.CountIdleSecond();
        else if (m_dwState & STATE_WORKING) g_dayCounters.CountWorkSecond();
    }

    // 7.
    m_ptLastCursor = pt;

    // 8. Minute.
    if (++m_nSecond >= 60) {
        m_nSecond = 0;
        if (!IsCountingAllowed()) return;
        redraw = true;
        if (m_nMinutesLeft > 0) --m_nMinutesLeft;
        ++m_nMinutesSinceMicro;
    }

    // 9. Last minute: warning sound and pulse.
    if (m_nMinutesLeft == 1 && (m_dwState & STATE_WORKING)) {
        if ((m_nSecond == 30 || m_nSecond == 50) && !IsPaused() && HasWarningSound())
            world.PlaySound(g_strSoundFile, SND_FILENAME | SND_ASYNC);
        if (m_nSecond >= 30 && !m_nTimerPulse && !g_modalOpen) StartPulse();
    }

    // 10. Zero and alerts.
    const BreakSpec& micro = g_breakSettings.aBreaks[BREAK_MICRO];
    const BreakSpec& daily = g_breakSettings.aBreaks[BREAK_DAILY_LIMIT];
    if (m_nMinutesLeft <= 0) {
        if (!(m_dwState & STATE_WORKING)) {
            ToggleMode();
        } else if (!(m_dwState & (STATE_PAUSED | STATE_AUTOPAUSED)) && !g_modalOpen && CanAlertNow(TRUE)) {
            // A paused reminder does not interrupt: the break waits for the
            // first tick after the pause or the settings sheet.
            ToggleMode();
        }
    } else if (m_dwState & STATE_WORKING) {
        int microInterval = AtLeastOne(micro.nInterval);
        if (micro.bEnabled && m_nMinutesSinceMicro >= microInterval && m_nMinutesLeft >= microInterval
            && CanAlertNow(FALSE)) {
            m_nMinutesSinceMicro = 0;
            RaiseAlert(this, BREAK_MICRO);
        }
        if (daily.bEnabled && g_dayCounters.nDailySeconds / 60 >= AtLeastOne(daily.nInterval)
            && !g_dayCounters.bDailyLimitShown && CanAlertNow(TRUE)) {
            g_dayCounters.bDailyLimitShown = true;
            RaiseAlert(this, BREAK_DAILY_LIMIT);
        }
    }

    // 11.
    if (redraw) Redraw(this);
}

// ---- transitions ----

void CMainFrame::StartWork(BOOL postponed)
{
    CloseAlerts();
    m_dwState = STATE_WORKING;
    int kind;
    if (postponed) {
        // The postponed break keeps its kind; without a break in progress
        // there is none to keep and the coming one stays as it was.
        kind = (m_nCurrentBreak == BREAK_SHORT || m_nCurrentBreak == BREAK_LONG) ? m_nCurrentBreak : m_nNextBreak;
    } else {
        if (m_nCurrentBreak == BREAK_LONG) m_nShortBreaks = 0;
        const BreakSpec& lb = g_breakSettings.aBreaks[BREAK_LONG];
        kind = (lb.bEnabled && m_nShortBreaks + 1 >= AtLeastOne(lb.nInterval)) ? BREAK_LONG : BREAK_SHORT;
    }
    ResetCountdown(kind);
    if (postponed) m_nMinutesLeft = g_breakSettings.PostponeMinutes();
    StopPulse();
    OnActivity(TRUE);
    Redraw(this);
}

void CMainFrame::StartBreak()
{
    m_nCurrentBreak = m_nNextBreak;
    if (m_nCurrentBreak == BREAK_SHORT) ++m_nShortBreaks;
    // The break is under way before it is announced: an alert may show a
    // modal box (a balloon the shell refused), and the ticks that run while
    // it is open must find a break, not a work period at zero to start again.
    m_dwState = 0;
    // A length below 0 is a break of none: it ends on the next tick.
    int duration = g_breakSettings.aBreaks[m_nCurrentBreak].nDuration;
    m_nPeriodMinutes = duration < 0 ? 0 : duration / 60;
    RestartCounter();
    OnActivity(TRUE);
    AnnounceBreak();
    Redraw(this);
}

void CMainFrame::AnnounceBreak()
{
    StopPulse();
    if (g_useSoundPauseStart && !g_strSoundFilePauseStart.IsEmpty())
        World().PlaySound(g_strSoundFilePauseStart, SND_FILENAME | SND_ASYNC);
    // Counted before the alert, which may not return for a while.
    g_dayCounters.CountBreak();
    RaiseAlert(this, m_nCurrentBreak);
}

void CMainFrame::PostponeBreak()
{
    g_dayCounters.CountPostponement();
    if (m_nShortBreaks > 0) --m_nShortBreaks;
    else m_nShortBreaks = AtLeastOne(g_breakSettings.aBreaks[BREAK_LONG].nInterval);
    StartWork(TRUE);
}

void CMainFrame::ToggleMode()
{
    if (m_dwState & STATE_WORKING) {
        StartBreak();
    } else if (!m_bScreenSaver && !m_bSessionLocked) {
        StartWork(FALSE);
        m_dwState |= STATE_WAIT_ACTIVITY;
    }
}

void CMainFrame::Pause()
{
    StopPulse();
    m_dwState |= STATE_PAUSED;
    Redraw(this);
}

void CMainFrame::AutoPause()
{
    StopPulse();
    m_dwState |= STATE_AUTOPAUSED;
    Redraw(this);
}

void CMainFrame::Resume()
{
    StopPulse();
    m_dwState &= ~(STATE_PAUSED | STATE_AUTOPAUSED);
    Redraw(this);
}

void CMainFrame::RestartCounter()
{
    m_nSecond = 0;
    m_nMinutesLeft = m_nPeriodMinutes;
    m_nMinutesSinceMicro = 0;
    StopPulse();
}

void CMainFrame::ResetCountdown(int kind)
{
    m_nNextBreak = kind;
    m_nCurrentBreak = BREAK_MICRO;
    m_nMinutesLeft = m_nPeriodMinutes = AtLeastOne(g_breakSettings.aBreaks[BREAK_SHORT].nInterval);
    m_nMinutesSinceMicro = 0;
}

void CMainFrame::OnActivity(BOOL inputActivity)
{
    CWorld& world = World();
    g_keyStrokesBase = world.ReadKeyStrokes();
    g_mouseEventsBase = world.ReadMouseEvents();
    g_lastActivityTime = world.Now();
    m_nIdleSeconds = 0;
    if (inputActivity) m_nInputIdleSeconds = 0;
    m_dwState &= ~STATE_WAIT_ACTIVITY;
}

void CMainFrame::StartHooks()
{
    CWorld& world = World();
    DWORD keys = world.ReadKeyStrokes(), clicks = world.ReadMouseClicks();
    if (g_trackKeyboard) HookKeyboardOn(); else HookKeyboardOff();
    if (g_trackMouse) HookMouseOn(); else HookMouseOff();
    g_dayCounters.FollowHookReadings(keys, world.ReadKeyStrokes(), clicks, world.ReadMouseClicks());
    OnActivity(TRUE);
}

void CMainFrame::StartPulse()
{
    if (m_nTimerPulse) return;
    m_nTimerPulse = SetTimer(TIMER_PULSE, 100);
    g_pulseCount = 0;
}

void CMainFrame::StopPulse()
{
    if (!m_nTimerPulse) return;
    KillTimer(m_nTimerPulse);
    m_nTimerPulse = 0;
}

// ---- predicates ----

BOOL CMainFrame::IsPaused() const
{
    return (m_dwState & (STATE_PAUSED | STATE_AUTOPAUSED)) || g_modalOpen;
}

BOOL CMainFrame::IsCountingAllowed() const
{
    return !(m_dwState & (STATE_PAUSED | STATE_AUTOPAUSED | STATE_WAIT_ACTIVITY)) && !g_modalOpen;
}

BOOL CMainFrame::IsNextBreakLong() const
{
    return m_nNextBreak == BREAK_LONG;
}

BOOL CMainFrame::HasWarningSound() const
{
    return g_useSound && !g_strSoundFile.IsEmpty();
}

BOOL CMainFrame::CanAlertNow(BOOL lockWait) const
{
    CWorld& world = World();
    if (world.IsKeyDown(VK_LBUTTON) || world.IsKeyDown(VK_RBUTTON) || world.IsKeyDown(VK_MBUTTON)
        || world.IsKeyDown(VK_CONTROL) || world.IsKeyDown(VK_SHIFT) || world.IsKeyDown(VK_MENU))
        return FALSE;
    // The wait for idle input holds only while a hook really counts keys or
    // clicks; without one the idle count never moves.
    if (lockWait && g_lockOnInactivity && (g_trackMouse || g_trackKeyboard) && world.IsInputHookInstalled()
        && g_breakSettings.aBreaks[m_nNextBreak].nAlertType == ALERT_SCREEN_LOCK
        && m_nInputIdleSeconds < AtLeastOne(g_lockOnInactivityDelay))
        return FALSE;
    return TRUE;
}

// ---- messages ----

LRESULT CMainFrame::OnSettingsApplied(WPARAM, LPARAM)
{
    theApp.SaveSettings();
    StartWork(FALSE);
    m_nShortBreaks = 0;
    StartHooks();
    g_trayIcon.LoadMenu(IDR_TRAY_MENU);
    return 0;
}

LRESULT CMainFrame::OnAlertClosed(WPARAM wParam, LPARAM lParam)
{
    // A screen lock shown for a micro-break starts no break: unlocking only
    // closes it and the work countdown goes on; postponing closes it and
    // brings the micro-break back after the postponement's minutes.
    if (m_nLockKind == BREAK_MICRO) {
        CloseAlerts();
        if (wParam != 0) {
            int interval = AtLeastOne(g_breakSettings.aBreaks[BREAK_MICRO].nInterval);
            m_nMinutesSinceMicro = interval - g_breakSettings.PostponeMinutes();
        }
        return 0;
    }
    if (wParam == 0) {
        StartWork(FALSE);
    } else if (lParam == 0) {
        // A late answer from a lock that is gone: no break to postpone.
        if (!(m_dwState & STATE_WORKING)) PostponeBreak();
    } else {
        g_dayCounters.PostponeDailyLimit();
        StartWork(FALSE);
    }
    return 0;
}

LRESULT CMainFrame::OnSessionChange(WPARAM wParam, LPARAM)
{
    if (wParam == WTS_SESSION_LOCK) m_bSessionLocked = true;
    else if (wParam == WTS_SESSION_UNLOCK) m_bSessionLocked = false;
    return 0;
}
