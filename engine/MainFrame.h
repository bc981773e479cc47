// CMainFrame: the hidden, top-most main window. Its one-second tick runs
// the work periods and breaks; it owns the tray icon's drawing surface, the
// alert windows, the tray commands and the update check.
#pragma once
#include "vfx.h"
#include "engine/ChildView.h"
#include "app/Messages.h"
#include "engine/BreakSettings.h"

class CLockDlg;
class CMessengerDlg;
class CSmallMsg;

enum {
    STATE_WORKING = 1,
    STATE_PAUSED = 2,
    STATE_AUTOPAUSED = 4,
    STATE_WAIT_ACTIVITY = 8,
};

enum {
    TIMER_TICK = 1,
    TIMER_PULSE = 2,
    TIMER_UPDATE_CHECK = 3,
    TIMER_HOVER = 4,
};

class CMainFrame : public CFrameWnd {
public:
    CMainFrame();
    ~CMainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    // Window messages.
    int OnCreate(LPCREATESTRUCTA lpcs);
    void OnSetFocus(HWND hOld);
    void OnTimer(UINT_PTR nIDEvent);
    void OnTick();
    LRESULT OnSettingsApplied(WPARAM wParam, LPARAM lParam);
    LRESULT OnAlertClosed(WPARAM wParam, LPARAM lParam);
    LRESULT OnAlertCloseRequest(WPARAM wParam, LPARAM lParam);
    LRESULT OnAlertGone(WPARAM wParam, LPARAM lParam);
    LRESULT OnSessionChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnTrayNotification(WPARAM wParam, LPARAM lParam);
    LRESULT OnUpdateCheckDone(WPARAM wParam, LPARAM lParam);
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);

    // Transitions.
    void StartWork(BOOL postponed);
    void StartBreak();
    void AnnounceBreak();
    void PostponeBreak();
    void ToggleMode();
    void Pause();
    void AutoPause();
    void Resume();
    void RestartCounter();
    void ResetCountdown(int kind);
    void OnActivity(BOOL inputActivity);
    void StartHooks();
    void StartPulse();
    void StopPulse();

    // Predicates.
    BOOL IsPaused() const;
    BOOL IsCountingAllowed() const;
    BOOL IsNextBreakLong() const;
    BOOL HasWarningSound() const;
    BOOL CanAlertNow(BOOL lockWait) const;

    // Tray icon.
    BOOL CreateDefaultIcon();
    void ShowBalloon(const CString& text);
    void UpdateTrayIcon();
    void UpdateIconFont();
    // Draws the icon and returns the status text, without handing either on.
    CString DrawTrayIcon();

    // Alerts.
    void ShowAlert(int kind);
    void CloseAlerts();

    // Commands and their rules.
    void ShowSettings(int startPage, BOOL welcome);
    void OnSettings();
    void OnFirstRunSettings();
    void OnStatistics();
    void OnAbout();
    void OnRestartCounter();
    void OnPause();
    void OnGiveFeedback();
    void OnCheckForUpdates();
    void OnUpdateNeedsNoSheetNoLock(CCmdUI* pCmdUI);
    void OnUpdateExit(CCmdUI* pCmdUI);
    void OnUpdateRestartCounter(CCmdUI* pCmdUI);
    void OnUpdatePause(CCmdUI* pCmdUI);
    void OnUpdateToggleMode(CCmdUI* pCmdUI);

    // Dashboard hover.
    BOOL CanHover() const;
    void SetHoverEnabled(BOOL enabled);
    void ArmHover();
    void DisarmHover();
    void EndHover();
    void ShowDashboardOnHover();
    BOOL IsNearHoverPoint(POINT pt) const;
    void OnHoverTimer();

    // Update check.
    void ArmUpdateCheck();
    bool StartUpdateCheck();

    CChildView m_wndView;
    CDC m_dcIcon;
    CBitmap m_bmpIcon;
    UINT_PTR m_nTimerTick = 0;
    UINT_PTR m_nTimerPulse = 0;
    UINT_PTR m_nTimerUpdate = 0;
    UINT_PTR m_nTimerHover = 0;
    int m_nSecond = 0;
    int m_nMinutesLeft = 0;
    int m_nShortBreaks = 0;
    int m_nPeriodMinutes = 0;
    int m_nMinutesSinceMicro = 0;
    DWORD m_dwState = STATE_WORKING;
    int m_nCurrentBreak = BREAK_MICRO;
    int m_nNextBreak = BREAK_SHORT;
    bool m_bSessionLocked = false;
    int m_nIdleSeconds = 0;
    int m_nInputIdleSeconds = 0;
    CFont m_fontIcon;
    HANDLE m_hUpdateThread = nullptr;
    CLockDlg* m_pLockDlg = nullptr;
    CMessengerDlg* m_pMessengerDlg = nullptr;
    CSmallMsg* m_pSmallMsg = nullptr;
    // The break kind of the open screen lock, -1 when none is open.
    int m_nLockKind = -1;
    bool m_bScreenSaver = false;
    bool m_bHoverArmed = false;
    bool m_bHoverEnabled = true;
    POINT m_ptHover = { 0, 0 };
    SYSTEMTIME m_stLastTick = {};
    // The cursor position seen by the previous tick.
    POINT m_ptLastCursor = { 0, 0 };
    // Icon redraws asked for by the tick, the pulse and the transitions,
    // and the alerts raised by the engine, by break kind.
    unsigned m_nRedraws = 0;
    unsigned m_nAlerts[4] = {};

    DECLARE_MESSAGE_MAP()
};

// Globals of the engine.
extern bool g_modalOpen;
extern __int64 g_lastActivityTime;
extern DWORD g_keyStrokesBase;
extern DWORD g_mouseEventsBase;
extern int g_pulseCount;
