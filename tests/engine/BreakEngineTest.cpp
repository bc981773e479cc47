// The break engine: a real main frame driven tick by tick through the
// scripted world, one simulated second per tick.
#include "support/FakeWorld.h"
#include "support/TestSupport.h"
#include "engine/MainFrame.h"
#include "engine/DayCounters.h"
#include "engine/HooksLoader.h"
#include "app/Kestrabel.h"
#include "app/Settings.h"
#include "tray/TrayNotifyIcon.h"
#include "alerts/LockDlg.h"
#include "res/resource.h"
#include <gtest/gtest.h>
#include <algorithm>

namespace {

// The settings and engine globals a test may change, put back afterwards.
struct SavedGlobals {
    BreakSettings breaks = g_breakSettings;
    bool trackMouse = g_trackMouse, trackMouseMove = g_trackMouseMove, trackKeyboard = g_trackKeyboard;
    bool enablePauses = g_enablePauses;
    int pauseDelay = g_pauseDelay;
    bool useSound = g_useSound;
    CString soundFile = g_strSoundFile;
    bool useSoundStart = g_useSoundPauseStart;
    CString soundStart = g_strSoundFilePauseStart;
    bool lockOnInactivity = g_lockOnInactivity;
    int lockDelay = g_lockOnInactivityDelay;
    bool autoZeroEnabled = g_autoZeroEnabled;
    int autoZeroMode = g_autoZeroMode, autoZeroDelay = g_autoZeroDelay, autoZeroTime = g_autoZeroTime;
    LOGFONTA font = g_trayLogFont;
    bool modalOpen = g_modalOpen;
    __int64 countersDate = g_dayCounters.m_date;

    ~SavedGlobals()
    {
        g_breakSettings = breaks;
        g_trackMouse = trackMouse; g_trackMouseMove = trackMouseMove; g_trackKeyboard = trackKeyboard;
        g_enablePauses = enablePauses;
        g_pauseDelay = pauseDelay;
        g_useSound = useSound;
        g_strSoundFile = soundFile;
        g_useSoundPauseStart = useSoundStart;
        g_strSoundFilePauseStart = soundStart;
        g_lockOnInactivity = lockOnInactivity;
        g_lockOnInactivityDelay = lockDelay;
        g_autoZeroEnabled = autoZeroEnabled;
        g_autoZeroMode = autoZeroMode; g_autoZeroDelay = autoZeroDelay; g_autoZeroTime = autoZeroTime;
        g_trayLogFont = font;
        g_modalOpen = modalOpen;
        g_dayCounters.m_date = countersDate;
    }
};

const int kShortWork = 20 * 60;      // ticks of a default work period

// The shell's side of the tray icon, answered at once: Wine's shell takes
// milliseconds to seconds per call, and these tests watch the engine.
int g_shellCalls;
BOOL FakeShellNotify(DWORD, NOTIFYICONDATAA*)
{
    ++g_shellCalls;
    return TRUE;
}

class BreakEngine : public ::testing::Test {
protected:
    SavedGlobals saved;
    PFN_SHELL_NOTIFY_ICON savedShell = g_pfnShellNotifyIcon;
    FakeWorld world;
    MessageBoxRecorder boxes{ IDYES };
    CMainFrame* frame = nullptr;

    void SetUp() override
    {
        BreakSettings& bs = g_breakSettings;
        bs = BreakSettings();
        // In memory the break durations are seconds.
        bs.aBreaks[BREAK_SHORT].nDuration = 120;
        bs.aBreaks[BREAK_LONG].nDuration = 300;
        for (BreakSpec& spec : bs.aBreaks) spec.nAlertType = ALERT_MESSAGE_BOX;
        bs.aBreaks[BREAK_MICRO].bEnabled = false;
        bs.aBreaks[BREAK_DAILY_LIMIT].bEnabled = false;
        g_trackMouse = g_trackMouseMove = g_trackKeyboard = true;
        g_enablePauses = false;
        g_pauseDelay = 2;
        g_useSound = true;
        g_strSoundFile = "beepbeep.wav";
        g_useSoundPauseStart = true;
        g_strSoundFilePauseStart = "start.wav";
        g_lockOnInactivity = true;
        g_lockOnInactivityDelay = 2;
        g_autoZeroEnabled = false;
        g_autoZeroMode = 0;
        g_autoZeroDelay = 8;
        g_autoZeroTime = 0;
        g_modalOpen = false;
        g_pfnShellNotifyIcon = FakeShellNotify;
        world.SetLocal(2026, 3, 10, 9, 0, 0);
        g_dayCounters.Reset();
        g_dayCounters.StartDay();
        CreateFrame();
    }

    void TearDown() override
    {
        DestroyFrame();
        g_dayCounters.Reset();
        g_modalOpen = false;
        g_pfnShellNotifyIcon = savedShell;
    }

    void CreateFrame()
    {
        // The hook library's real hooks stay out of the test process: the
        // scripted world answers for them.
        bool keyboard = g_trackKeyboard, mouse = g_trackMouse;
        g_trackKeyboard = g_trackMouse = false;
        frame = new CMainFrame;
        BOOL created = frame->Create(nullptr, "Kestrabel", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, nullptr, nullptr);
        g_trackKeyboard = keyboard;
        g_trackMouse = mouse;
        ASSERT_TRUE(created);
        // Only the test's own ticks run.
        frame->KillTimer(TIMER_TICK);
        frame->m_ptLastCursor = world.cursor;
    }

    void DestroyFrame()
    {
        if (!frame) return;
        frame->CloseAlerts();
        g_trayIcon.RemoveIcon();
        frame->DestroyWindow();
        frame = nullptr;
        HookKeyboardOff();
        HookMouseOff();
    }

    // One second passes without any input.
    void Tick(int n = 1)
    {
        for (int i = 0; i < n; ++i) {
            world.Advance(1);
            frame->OnTick();
        }
    }
    // Seconds with a key press in each.
    void Work(int n = 1)
    {
        for (int i = 0; i < n; ++i) {
            ++world.keyStrokes;
            Tick();
        }
    }
    bool OnBreak() const { return (frame->m_dwState & STATE_WORKING) == 0; }
    // Works until a break starts; the number of seconds it took, -1 if none
    // started within max.
    int WorkUntilBreak(int max = 4 * 3600)
    {
        for (int i = 1; i <= max; ++i) {
            Work();
            if (OnBreak()) return i;
        }
        return -1;
    }
    // Lets the running break end by its countdown; seconds it took, -1 if not.
    int RestUntilWork(int max = 3600)
    {
        for (int i = 1; i <= max; ++i) {
            Tick();
            if (!OnBreak()) return i;
        }
        return -1;
    }
    // The kinds of the next n breaks, each taken in full.
    std::vector<int> TakeBreaks(int n)
    {
        std::vector<int> kinds;
        for (int i = 0; i < n; ++i) {
            if (WorkUntilBreak() < 0) break;
            kinds.push_back(frame->m_nCurrentBreak);
            if (RestUntilWork() < 0) break;
        }
        return kinds;
    }
    // Works until minutes are left and the second is reached.
    void WorkTo(int minutesLeft, int second)
    {
        for (int i = 0; i < 24 * 3600; ++i) {
            if (frame->m_nMinutesLeft == minutesLeft && frame->m_nSecond == second) return;
            Work();
        }
        FAIL() << "never reached " << minutesLeft << " minutes and " << second << " seconds";
    }
    size_t CountSounds(const char* file) const
    {
        return (size_t)std::count(world.sounds.begin(), world.sounds.end(), std::string(file));
    }
    LRESULT AlertResult(WPARAM wParam, LPARAM lParam)
    {
        return ::SendMessageA(frame->m_hWnd, WM_ALERT_RESULT, wParam, lParam);
    }
};

TEST_F(BreakEngine, LateTicksCountInFullOnlyBeyondTwoSeconds)
{
    struct { int late; int added; } cases[] = { { 1, 1 }, { 2, 1 }, { 0, 1 }, { 3, 3 }, { 5, 5 }, { 1, 1 } };
    for (auto& c : cases) {
        int before = g_dayCounters.nTotalSeconds;
        world.Advance(c.late);
        frame->OnTick();
        EXPECT_EQ(g_dayCounters.nTotalSeconds - before, c.added) << c.late << " s late";
    }
    // Across midnight the difference of the clock times is negative.
    world.SetLocal(2026, 3, 10, 23, 59, 58);
    frame->OnTick();
    int before = g_dayCounters.nTotalSeconds;
    world.SetLocal(2026, 3, 11, 0, 0, 3);
    frame->OnTick();
    EXPECT_EQ(g_dayCounters.nTotalSeconds - before, 1);
    EXPECT_EQ(g_dayCounters.nDailySeconds, 0);      // a new day began
}

TEST_F(BreakEngine, IdleActionRestartsTheCountdownOnEveryIdleTick)
{
    Work(150);
    EXPECT_EQ(frame->m_nMinutesLeft, 18);
    int work = g_dayCounters.nWorkSeconds, idle = g_dayCounters.nIdleSeconds;
    Tick(119);                                        // idle, less than 2 minutes
    EXPECT_EQ(frame->m_nMinutesLeft, 16);
    EXPECT_EQ(frame->m_nSecond, 29);
    EXPECT_EQ(g_dayCounters.nWorkSeconds - work, 119);
    Tick();                                           // 2 idle minutes
    EXPECT_EQ(frame->m_nMinutesLeft, 20);
    EXPECT_EQ(frame->m_nSecond, 1);
    EXPECT_EQ(frame->m_dwState, (DWORD)STATE_WORKING);
    Tick(600);                                        // held at the full period
    EXPECT_EQ(frame->m_nMinutesLeft, 20);
    EXPECT_EQ(frame->m_nSecond, 1);
    EXPECT_EQ(g_dayCounters.nWorkSeconds - work, 119);
    EXPECT_EQ(g_dayCounters.nIdleSeconds - idle, 601);
    // The first activity lets it run again.
    Work(59);
    EXPECT_EQ(frame->m_nMinutesLeft, 19);
    EXPECT_EQ(frame->m_nSecond, 0);
}

TEST_F(BreakEngine, AutoPauseHoldsUntilTheFirstActivityAndClearsAUserPause)
{
    g_enablePauses = true;
    Work(90);
    Tick(119);
    EXPECT_EQ(frame->m_dwState, (DWORD)STATE_WORKING);
    int minutes = frame->m_nMinutesLeft;
    Tick();
    EXPECT_EQ(frame->m_dwState, (DWORD)(STATE_WORKING | STATE_AUTOPAUSED));
    world.Advance(5 * 3600);                          // however long
    frame->OnTick();
    Tick(60);
    EXPECT_EQ(frame->m_dwState, (DWORD)(STATE_WORKING | STATE_AUTOPAUSED));
    EXPECT_EQ(frame->m_nMinutesLeft, minutes);
    Work();
    EXPECT_EQ(frame->m_dwState, (DWORD)STATE_WORKING);

    // A pause of the user's own survives activity...
    frame->Pause();
    Work(30);
    EXPECT_EQ(frame->m_dwState, (DWORD)(STATE_WORKING | STATE_PAUSED));
    // ...but not the automatic resume after an idle auto-pause.
    Tick(120);
    EXPECT_EQ(frame->m_dwState, (DWORD)(STATE_WORKING | STATE_PAUSED | STATE_AUTOPAUSED));
    world.cursor.x += 5;                              // a cursor movement is activity too
    Tick();
    EXPECT_EQ(frame->m_dwState, (DWORD)STATE_WORKING);
}

TEST_F(BreakEngine, IdleDelayOfAnHourActsAfterAnHour)
{
    g_enablePauses = true;
    g_pauseDelay = 60;
    g_breakSettings.aBreaks[BREAK_SHORT].nInterval = 120;
    frame->StartWork(FALSE);
    Work();
    Tick(3599);
    EXPECT_EQ(frame->m_dwState, (DWORD)STATE_WORKING);
    Tick();
    EXPECT_EQ(frame->m_dwState, (DWORD)(STATE_WORKING | STATE_AUTOPAUSED));
}

TEST_F(BreakEngine, LongIdleRestartsTheCountTowardTheLongBreak)
{
    g_breakSettings.aBreaks[BREAK_SHORT].nInterval = 5;
    frame->StartWork(FALSE);
    EXPECT_EQ(TakeBreaks(1), std::vector<int>({ BREAK_SHORT }));
    EXPECT_EQ(frame->m_nShortBreaks, 1);
    Work(5);
    Tick(290);
    EXPECT_EQ(frame->m_nShortBreaks, 1);
    Tick(10);                                         // a short-break interval of idleness
    EXPECT_EQ(frame->m_nShortBreaks, 0);
    // N = 3: the long break is again three breaks away.
    EXPECT_EQ(TakeBreaks(3), std::vector<int>({ BREAK_SHORT, BREAK_SHORT, BREAK_LONG }));
}

TEST_F(BreakEngine, BreakSequencesFollowTheLongBreakInterval)
{
    struct { int n; bool enabled; std::vector<int> kinds; } cases[] = {
        { 3, true, { BREAK_SHORT, BREAK_SHORT, BREAK_LONG, BREAK_SHORT, BREAK_SHORT, BREAK_LONG } },
        { 2, true, { BREAK_SHORT, BREAK_LONG, BREAK_SHORT, BREAK_LONG } },
        { 1, true, { BREAK_SHORT, BREAK_LONG, BREAK_LONG, BREAK_LONG } },
        { 3, false, { BREAK_SHORT, BREAK_SHORT, BREAK_SHORT, BREAK_SHORT } },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "N = " << c.n << (c.enabled ? "" : ", long breaks off"));
        DestroyFrame();
        g_breakSettings.aBreaks[BREAK_LONG].nInterval = c.n;
        g_breakSettings.aBreaks[BREAK_LONG].bEnabled = c.enabled;
        g_dayCounters.Reset();
        world.sounds.clear();
        CreateFrame();
        EXPECT_EQ(TakeBreaks((int)c.kinds.size()), c.kinds);
        EXPECT_EQ(g_dayCounters.nBreaks, (int)c.kinds.size());
        EXPECT_EQ(CountSounds("start.wav"), c.kinds.size());
    }
}

TEST_F(BreakEngine, BreakRunsItsLengthThenWaitsForActivity)
{
    ASSERT_EQ(WorkUntilBreak(), kShortWork);
    EXPECT_EQ(frame->m_dwState, 0u);
    EXPECT_EQ(frame->m_nCurrentBreak, BREAK_SHORT);
    EXPECT_EQ(frame->m_nMinutesLeft, 2);
    EXPECT_EQ(frame->m_nPeriodMinutes, 2);
    EXPECT_EQ(frame->m_nAlerts[BREAK_SHORT], 1u);
    EXPECT_EQ(CountSounds("start.wav"), 1u);
    int work = g_dayCounters.nWorkSeconds;
    EXPECT_EQ(RestUntilWork(), 120);
    EXPECT_EQ(g_dayCounters.nWorkSeconds, work);      // rest is not work
    EXPECT_EQ(frame->m_dwState, (DWORD)(STATE_WORKING | STATE_WAIT_ACTIVITY));
    EXPECT_EQ(frame->m_nMinutesLeft, 20);
    EXPECT_EQ(frame->m_nCurrentBreak, BREAK_MICRO);
    Tick(100);                                        // nobody back yet
    EXPECT_EQ(frame->m_nMinutesLeft, 20);
    EXPECT_TRUE(frame->m_dwState & STATE_WAIT_ACTIVITY);
    Work();
    EXPECT_EQ(frame->m_dwState, (DWORD)STATE_WORKING);
    int second = frame->m_nSecond;
    Work(60 - second);
    EXPECT_EQ(frame->m_nMinutesLeft, 19);
}

TEST_F(BreakEngine, WithoutAnyActivitySourceTheNextPeriodStartsAtOnce)
{
    g_trackMouseMove = false;
    world.hookLibraryLoaded = false;
    world.inputHookInstalled = false;
    // Nothing to see: no idle action either, the countdown just runs.
    Tick(kShortWork - 1);
    EXPECT_EQ(frame->m_nMinutesLeft, 1);
    Tick();
    ASSERT_TRUE(OnBreak());
    EXPECT_EQ(RestUntilWork(), 120);
    EXPECT_EQ(frame->m_dwState, (DWORD)(STATE_WORKING | STATE_WAIT_ACTIVITY));
    Tick();
    EXPECT_EQ(frame->m_dwState, (DWORD)STATE_WORKING);
    Tick(59);
    EXPECT_EQ(frame->m_nMinutesLeft, 19);
}

TEST_F(BreakEngine, BreakShorterThanAMinuteEndsOnTheNextTick)
{
    g_breakSettings.aBreaks[BREAK_SHORT].nDuration = 45;
    ASSERT_GT(WorkUntilBreak(), 0);
    EXPECT_EQ(frame->m_nMinutesLeft, 0);
    Tick();
    EXPECT_EQ(frame->m_dwState, (DWORD)(STATE_WORKING | STATE_WAIT_ACTIVITY));
}

TEST_F(BreakEngine, ScreenSaverAndSessionLockHoldTheBreaksEndAndCountIdle)
{
    for (int how = 0; how < 2; ++how) {
        SCOPED_TRACE(how == 0 ? "screen saver" : "session lock");
        ASSERT_GT(WorkUntilBreak(), 0);
        Tick(30);
        if (how == 0) world.screenSaver = TRUE;
        else ::SendMessageA(frame->m_hWnd, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
        int idle = g_dayCounters.nIdleSeconds, work = g_dayCounters.nWorkSeconds;
        Tick(90);                                     // the countdown reaches 0
        EXPECT_EQ(frame->m_nMinutesLeft, 0);
        EXPECT_TRUE(OnBreak());
        Tick(600);
        EXPECT_TRUE(OnBreak());
        frame->ToggleMode();                          // the command does nothing either
        EXPECT_TRUE(OnBreak());
        EXPECT_EQ(g_dayCounters.nIdleSeconds - idle, 690);
        EXPECT_EQ(g_dayCounters.nWorkSeconds, work);
        if (how == 0) world.screenSaver = FALSE;
        else ::SendMessageA(frame->m_hWnd, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
        Tick();
        EXPECT_EQ(frame->m_dwState, (DWORD)(STATE_WORKING | STATE_WAIT_ACTIVITY));
        EXPECT_EQ(g_dayCounters.nIdleSeconds - idle, 690);
        Work();
    }
    // A failed query keeps the last answer.
    world.screenSaver = TRUE;
    Tick();
    world.screenSaverQueryFails = true;
    world.screenSaver = FALSE;
    Tick();
    EXPECT_TRUE(frame->m_bScreenSaver);
}

TEST_F(BreakEngine, PostponedBreakComesBackWithTheSameKind)
{
    g_breakSettings.aBreaks[BREAK_LONG].nInterval = 2;
    ASSERT_GT(WorkUntilBreak(), 0);
    EXPECT_EQ(frame->m_nCurrentBreak, BREAK_SHORT);
    EXPECT_EQ(frame->m_nShortBreaks, 1);
    EXPECT_EQ(g_dayCounters.nBreaks, 1);
    AlertResult(1, 0);
    EXPECT_EQ(frame->m_dwState, (DWORD)STATE_WORKING);
    EXPECT_EQ(g_dayCounters.nBreaks, 0);
    EXPECT_EQ(g_dayCounters.nPostpones, 1);
    EXPECT_EQ(frame->m_nShortBreaks, 0);
    EXPECT_EQ(frame->m_nNextBreak, BREAK_SHORT);
    EXPECT_EQ(frame->m_nMinutesLeft, 5);
    EXPECT_EQ(frame->m_nPeriodMinutes, 20);
    EXPECT_EQ(WorkUntilBreak(), 5 * 60);
    EXPECT_EQ(frame->m_nCurrentBreak, BREAK_SHORT);
    EXPECT_EQ(g_dayCounters.nBreaks, 1);
    ASSERT_EQ(RestUntilWork(), 120);

    // The long break keeps its kind too.
    ASSERT_GT(WorkUntilBreak(), 0);
    EXPECT_EQ(frame->m_nCurrentBreak, BREAK_LONG);
    EXPECT_EQ(g_dayCounters.nBreaks, 2);
    AlertResult(1, 0);
    EXPECT_EQ(g_dayCounters.nBreaks, 1);
    EXPECT_EQ(g_dayCounters.nPostpones, 2);
    EXPECT_EQ(frame->m_nNextBreak, BREAK_LONG);
    EXPECT_EQ(WorkUntilBreak(), 5 * 60);
    EXPECT_EQ(frame->m_nCurrentBreak, BREAK_LONG);
    EXPECT_EQ(frame->m_nMinutesLeft, 5);

    // Unlock ends the break and starts a full period.
    AlertResult(0, 0);
    EXPECT_EQ(frame->m_dwState, (DWORD)STATE_WORKING);
    EXPECT_EQ(frame->m_nMinutesLeft, 20);
    EXPECT_EQ(frame->m_nNextBreak, BREAK_SHORT);
    // A postponement arriving after the break is over changes nothing.
    AlertResult(1, 0);
    EXPECT_EQ(g_dayCounters.nPostpones, 2);
    EXPECT_EQ(frame->m_nMinutesLeft, 20);
    EXPECT_EQ(frame->m_nNextBreak, BREAK_SHORT);
}

TEST_F(BreakEngine, MicroBreakOnlyWhileTheNextBreakIsAtLeastOneIntervalAway)
{
    BreakSpec& micro = g_breakSettings.aBreaks[BREAK_MICRO];
    micro.bEnabled = true;
    micro.nInterval = 6;
    std::vector<int> shownAt;                         // minutes left when shown
    for (int i = 0; i < kShortWork - 1; ++i) {
        unsigned before = frame->m_nAlerts[BREAK_MICRO];
        Work();
        if (frame->m_nAlerts[BREAK_MICRO] != before) shownAt.push_back(frame->m_nMinutesLeft);
    }
    EXPECT_EQ(shownAt, std::vector<int>({ 14, 8 }));
    EXPECT_EQ(frame->m_nMinutesSinceMicro, 7);
    EXPECT_EQ(frame->m_dwState, (DWORD)STATE_WORKING);
}

TEST_F(BreakEngine, AlertsWaitWhileAButtonOrModifierIsDown)
{
    BreakSpec& micro = g_breakSettings.aBreaks[BREAK_MICRO];
    micro.bEnabled = true;
    micro.nInterval = 5;
    Work(299);
    const int keys[] = { VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_CONTROL, VK_SHIFT, VK_MENU };
    for (int vk : keys) {
        world.keysDown.clear();
        world.keysDown[vk] = true;
        Work();
        EXPECT_EQ(frame->m_nAlerts[BREAK_MICRO], 0u) << "key " << vk;
    }
    world.keysDown.clear();
    Work();
    EXPECT_EQ(frame->m_nAlerts[BREAK_MICRO], 1u);
    EXPECT_EQ(frame->m_nMinutesSinceMicro, 0);

    // The break itself waits the same way.
    WorkTo(1, 59);
    world.keysDown[VK_SHIFT] = true;
    Work(10);
    EXPECT_EQ(frame->m_nMinutesLeft, 0);
    EXPECT_FALSE(OnBreak());
    world.keysDown.clear();
    Work();
    EXPECT_TRUE(OnBreak());
}

TEST_F(BreakEngine, ScreenLockBreakWaitsForInputToRest)
{
    g_breakSettings.aBreaks[BREAK_SHORT].nAlertType = ALERT_SCREEN_LOCK;
    g_breakSettings.aBreaks[BREAK_LONG].nAlertType = ALERT_SCREEN_LOCK;
    Work(kShortWork);
    EXPECT_EQ(frame->m_nMinutesLeft, 0);
    EXPECT_FALSE(OnBreak());
    Work(30);                                         // typing on
    EXPECT_FALSE(OnBreak());
    Tick();                                           // 2 seconds without input
    EXPECT_TRUE(OnBreak());
    ASSERT_GT(RestUntilWork(), 0);

    // Cursor movement is not key or click input.
    g_lockOnInactivityDelay = 5;
    WorkTo(0, 59);
    for (int i = 0; i < 3; ++i) {
        world.cursor.x += 3;
        Tick();
        EXPECT_FALSE(OnBreak());
    }
    world.cursor.x += 3;
    Tick();
    EXPECT_TRUE(OnBreak());
    ASSERT_GT(RestUntilWork(), 0);

    // Without the setting it does not wait.
    g_lockOnInactivity = false;
    EXPECT_EQ(WorkUntilBreak(), kShortWork);
    EXPECT_EQ(frame->m_nCurrentBreak, BREAK_LONG);
}

TEST_F(BreakEngine, OpenSettingsSheetStopsTheCountdownAndThePulse)
{
    WorkTo(1, 10);
    g_modalOpen = true;
    Work(180);
    EXPECT_EQ(frame->m_nMinutesLeft, 1);
    EXPECT_EQ(frame->m_nSecond, 10);
    EXPECT_EQ(frame->m_nTimerPulse, 0u);
    EXPECT_EQ(CountSounds("beepbeep.wav"), 0u);
    EXPECT_TRUE(frame->IsPaused());
    g_modalOpen = false;
    Work(19);
    EXPECT_EQ(frame->m_nTimerPulse, 0u);
    Work();
    EXPECT_NE(frame->m_nTimerPulse, 0u);
    EXPECT_EQ(CountSounds("beepbeep.wav"), 1u);
    Work(20);
    EXPECT_EQ(CountSounds("beepbeep.wav"), 2u);
    Work(9);
    EXPECT_FALSE(OnBreak());
    Work();
    EXPECT_TRUE(OnBreak());
    EXPECT_EQ(frame->m_nTimerPulse, 0u);
    EXPECT_EQ(CountSounds("beepbeep.wav"), 2u);
}

TEST_F(BreakEngine, NoWarningSoundWhilePaused)
{
    WorkTo(1, 10);
    frame->Pause();
    Work(120);
    EXPECT_EQ(frame->m_nMinutesLeft, 1);
    EXPECT_EQ(CountSounds("beepbeep.wav"), 0u);
    frame->Resume();
    WorkTo(1, 50);
    EXPECT_EQ(CountSounds("beepbeep.wav"), 2u);
    // Nor without a sound file.
    g_strSoundFile = "";
    world.sounds.clear();
    frame->RestartCounter();
    WorkTo(1, 55);
    EXPECT_TRUE(world.sounds.empty());
}

TEST_F(BreakEngine, SecondsRunOnAcrossTheStartOfWork)
{
    Work(25);
    EXPECT_EQ(frame->m_nSecond, 25);
    frame->ToggleMode();                              // a break now
    EXPECT_TRUE(OnBreak());
    EXPECT_EQ(frame->m_nSecond, 0);
    Tick(10);
    frame->ToggleMode();                              // and over again
    EXPECT_EQ(frame->m_dwState, (DWORD)(STATE_WORKING | STATE_WAIT_ACTIVITY));
    EXPECT_EQ(frame->m_nSecond, 10);
    Work(49);
    EXPECT_EQ(frame->m_nMinutesLeft, 20);
    Work();                                           // a first minute of 50 seconds
    EXPECT_EQ(frame->m_nMinutesLeft, 19);
    Work(7);
    frame->RestartCounter();
    EXPECT_EQ(frame->m_nSecond, 0);
    EXPECT_EQ(frame->m_nMinutesLeft, 20);
}

TEST_F(BreakEngine, SettingsAppliedSavesAndRestartsThePeriodWithAFreshCount)
{
    TempDir dir;
    const char* oldProfile = theApp.m_pszProfileName;
    theApp.m_pszProfileName = _strdup(dir.File("Kestrabel.INI").c_str());
    CString oldData = g_strDataDirectoryOverride;
    g_strDataDirectoryOverride = dir.File("Data\\").c_str();

    g_breakSettings.aBreaks[BREAK_LONG].nInterval = 2;
    g_breakSettings.aBreaks[BREAK_SHORT].nInterval = 25;
    EXPECT_EQ(TakeBreaks(1), std::vector<int>({ BREAK_SHORT }));
    Work(300);
    EXPECT_EQ(frame->m_nMinutesLeft, 20);
    g_trackKeyboard = g_trackMouse = false;           // no real hooks in the test
    ::SendMessageA(frame->m_hWnd, WM_SETTINGS_APPLIED, 0, 0);
    EXPECT_EQ(frame->m_dwState, (DWORD)STATE_WORKING);
    EXPECT_EQ(frame->m_nMinutesLeft, 25);
    EXPECT_EQ(frame->m_nPeriodMinutes, 25);
    EXPECT_EQ(frame->m_nShortBreaks, 0);
    EXPECT_EQ(frame->m_nNextBreak, BREAK_LONG);       // chosen with the old count
    EXPECT_EQ(ReadFileBytes(dir.File("Kestrabel.INI")).find("Delay=25") != std::string::npos, true);
    EXPECT_TRUE(boxes.boxes.empty());

    free((void*)theApp.m_pszProfileName);
    theApp.m_pszProfileName = oldProfile;
    g_strDataDirectoryOverride = oldData;
}

TEST_F(BreakEngine, ClearsTheCountersAtTheTimeOfDayOrAfterIdleHours)
{
    g_autoZeroEnabled = true;
    g_autoZeroMode = 1;
    g_autoZeroTime = 1230;
    world.SetLocal(2026, 3, 10, 12, 29, 50);
    frame->OnTick();
    Work(5);
    g_dayCounters.nBreaks = 4;
    Work(4);                                          // 12:29:59
    EXPECT_EQ(g_dayCounters.nBreaks, 4);
    Work();                                           // 12:30:00
    EXPECT_EQ(g_dayCounters.nBreaks, 0);
    g_dayCounters.nBreaks = 4;
    Work();                                           // 12:30:01
    EXPECT_EQ(g_dayCounters.nBreaks, 0);
    g_dayCounters.nBreaks = 4;
    Work();                                           // 12:30:02
    EXPECT_EQ(g_dayCounters.nBreaks, 4);

    g_autoZeroMode = 0;
    g_autoZeroDelay = 1;
    g_pauseDelay = 1000;                              // the countdown just runs
    g_breakSettings.aBreaks[BREAK_SHORT].nInterval = 600;
    frame->StartWork(FALSE);
    Tick(3599);
    EXPECT_EQ(g_dayCounters.nBreaks, 4);
    Tick();
    EXPECT_EQ(g_dayCounters.nBreaks, 0);
}

TEST_F(BreakEngine, DailyLimitAlertComesOnceAndAgainAfterAPostponement)
{
    BreakSpec& daily = g_breakSettings.aBreaks[BREAK_DAILY_LIMIT];
    daily.bEnabled = true;
    daily.nInterval = 30;
    g_breakSettings.aBreaks[BREAK_SHORT].nInterval = 120;
    frame->StartWork(FALSE);
    Work(30 * 60 - 1);
    EXPECT_FALSE(g_dayCounters.bDailyLimitShown);
    Work();
    EXPECT_TRUE(g_dayCounters.bDailyLimitShown);
    EXPECT_EQ(frame->m_nAlerts[BREAK_DAILY_LIMIT], 1u);
    Work(600);
    EXPECT_EQ(frame->m_nAlerts[BREAK_DAILY_LIMIT], 1u);
    EXPECT_EQ(frame->m_dwState, (DWORD)STATE_WORKING);
    AlertResult(1, 1);
    EXPECT_FALSE(g_dayCounters.bDailyLimitShown);
    Work(5 * 60 - 1);
    EXPECT_EQ(frame->m_nAlerts[BREAK_DAILY_LIMIT], 1u);
    Work();
    EXPECT_EQ(frame->m_nAlerts[BREAK_DAILY_LIMIT], 2u);
}

// ---- the faults mended where the plain rules would go wrong ----

// Without the hook library the input-idle count never moves; the wait for
// idle input must not hold a screen-lock break back for ever.
TEST_F(BreakEngine, ScreenLockBreakStartsWhenNoHookCountsInput)
{
    g_breakSettings.aBreaks[BREAK_SHORT].nAlertType = ALERT_SCREEN_LOCK;
    g_trackMouseMove = false;
    world.hookLibraryLoaded = false;
    world.inputHookInstalled = false;
    Tick(kShortWork);
    EXPECT_TRUE(OnBreak());
    EXPECT_EQ(frame->m_nTimerPulse, 0u);
}

// A paused reminder does not interrupt: the break starts on the first tick
// after the pause or the settings sheet.
TEST_F(BreakEngine, NoBreakStartsWhilePausedOrWhileTheSheetIsOpen)
{
    for (int how = 0; how < 3; ++how) {
        SCOPED_TRACE(how == 0 ? "user pause" : how == 1 ? "auto-pause" : "settings sheet");
        g_enablePauses = how == 1;
        WorkTo(1, 59);
        world.keysDown[VK_CONTROL] = true;            // holds the break at zero
        Work();
        ASSERT_EQ(frame->m_nMinutesLeft, 0);
        ASSERT_FALSE(OnBreak());
        if (how == 0) frame->Pause();
        if (how == 1) Tick(130);
        if (how == 2) g_modalOpen = true;
        world.keysDown.clear();
        Tick(5);
        EXPECT_FALSE(OnBreak());
        if (how == 0) frame->Resume();
        if (how == 1) { Work(); EXPECT_TRUE(OnBreak()); }
        if (how == 2) g_modalOpen = false;
        if (how != 1) {
            EXPECT_FALSE(OnBreak());
            Tick();
            EXPECT_TRUE(OnBreak());
        }
        ASSERT_GT(RestUntilWork(), 0);
        Work();
    }
    // Ending a break at zero does not wait for the sheet.
    ASSERT_GT(WorkUntilBreak(), 0);
    world.screenSaver = TRUE;                         // holds the end at zero
    Tick(frame->m_nMinutesLeft * 60 + 5);
    ASSERT_EQ(frame->m_nMinutesLeft, 0);
    ASSERT_TRUE(OnBreak());
    g_modalOpen = true;
    world.screenSaver = FALSE;
    Tick();
    EXPECT_EQ(frame->m_dwState, (DWORD)(STATE_WORKING | STATE_WAIT_ACTIVITY));
}

// A screen lock shown for a micro-break: Unlock and postpone close it and
// leave the work period, the coming break and the counters alone.
TEST_F(BreakEngine, MicroBreakLockAnswersLeaveTheWorkPeriodAlone)
{
    BreakSpec& micro = g_breakSettings.aBreaks[BREAK_MICRO];
    micro.bEnabled = true;
    micro.nInterval = 5;
    micro.nAlertType = ALERT_SCREEN_LOCK;
    micro.bEnableUnlocking = true;
    g_breakSettings.nPostpone = 3;
    g_breakSettings.nDisableUnlocking = 0;          // both buttons at the lock's first second
    // The lock the alert opened, answered with one of its buttons: the
    // window must be gone afterwards.
    auto answerLock = [&](int button) {
        ASSERT_NE(frame->m_pLockDlg, nullptr);
        EXPECT_EQ(frame->m_nLockKind, BREAK_MICRO);
        HWND lock = frame->m_pLockDlg->m_hWnd;
        ASSERT_TRUE(::IsWindow(lock));
        ::KillTimer(lock, TIMER_LOCK_COUNTDOWN);
        ::SendMessageA(lock, WM_TIMER, TIMER_LOCK_COUNTDOWN, 0);
        ::SendMessageA(::GetDlgItem(lock, button), BM_CLICK, 0, 0);
        PumpMessages(50);
        EXPECT_FALSE(::IsWindow(lock));
        EXPECT_EQ(frame->m_pLockDlg, nullptr);
        EXPECT_EQ(frame->m_nLockKind, -1);
    };
    ASSERT_EQ(TakeBreaks(1), std::vector<int>({ BREAK_SHORT }));
    unsigned shown = frame->m_nAlerts[BREAK_MICRO];
    Work(300);
    ASSERT_EQ(frame->m_nAlerts[BREAK_MICRO], shown + 1);
    int breaks = g_dayCounters.nBreaks, postpones = g_dayCounters.nPostpones;
    auto unchanged = [&](int minutesLeft) {
        EXPECT_EQ(frame->m_dwState, (DWORD)STATE_WORKING);
        EXPECT_EQ(frame->m_nMinutesLeft, minutesLeft);
        EXPECT_EQ(frame->m_nPeriodMinutes, 20);
        EXPECT_EQ(frame->m_nNextBreak, BREAK_SHORT);
        EXPECT_EQ(frame->m_nShortBreaks, 1);
        EXPECT_EQ(g_dayCounters.nBreaks, breaks);
        EXPECT_EQ(g_dayCounters.nPostpones, postpones);
    };
    answerLock(IDC_POSTPONE);                         // remind me later
    unchanged(15);
    Work(3 * 60 - 1);
    EXPECT_EQ(frame->m_nAlerts[BREAK_MICRO], shown + 1);
    Work();
    EXPECT_EQ(frame->m_nAlerts[BREAK_MICRO], shown + 2);     // back after 3 minutes
    Work(20);
    answerLock(IDCANCEL);                             // unlock
    unchanged(12);
    EXPECT_EQ(frame->m_nSecond, 20);
    Work(5 * 60 - 21);
    EXPECT_EQ(frame->m_nAlerts[BREAK_MICRO], shown + 2);
    Work();
    EXPECT_EQ(frame->m_nAlerts[BREAK_MICRO], shown + 3);
    // The coming break is the one it was.
    EXPECT_GT(WorkUntilBreak(), 0);
    EXPECT_EQ(frame->m_nCurrentBreak, BREAK_SHORT);
    EXPECT_EQ(frame->m_nPeriodMinutes, 2);
}

// Stored values that only make sense when positive are used as at least 1.
TEST_F(BreakEngine, ZeroOrNegativeSettingsCannotMakeTheEngineRace)
{
    BreakSettings& bs = g_breakSettings;
    // A short-break interval of 0: a one-minute period, not a break a second.
    bs.aBreaks[BREAK_SHORT].nInterval = 0;
    frame->StartWork(FALSE);
    EXPECT_EQ(frame->m_nMinutesLeft, 1);
    Work(60 - frame->m_nSecond - 1);
    EXPECT_FALSE(OnBreak());
    Work();
    EXPECT_TRUE(OnBreak());
    ASSERT_GT(RestUntilWork(), 0);
    bs.aBreaks[BREAK_SHORT].nInterval = 20;
    frame->StartWork(FALSE);

    // An idle delay of 0: the idle action does not run while the user works.
    g_pauseDelay = 0;
    int minutes = frame->m_nMinutesLeft;
    Work(180);
    EXPECT_EQ(frame->m_nMinutesLeft, minutes - 3);
    Tick(59);
    EXPECT_EQ(frame->m_nMinutesLeft, minutes - 3);
    Tick();                                           // ...but after a minute
    EXPECT_EQ(frame->m_nMinutesLeft, 20);
    // Pausing instead, the first activity resumes.
    g_enablePauses = true;
    for (int delay : { 0, -5 }) {
        g_pauseDelay = delay;
        Tick(60);
        EXPECT_EQ(frame->m_dwState, (DWORD)(STATE_WORKING | STATE_AUTOPAUSED)) << delay;
        Work();
        EXPECT_EQ(frame->m_dwState, (DWORD)STATE_WORKING) << delay;
    }
    g_pauseDelay = 2;
    frame->StartWork(FALSE);

    // A micro interval of -5: at most one alert a minute.
    bs.aBreaks[BREAK_MICRO].bEnabled = true;
    bs.aBreaks[BREAK_MICRO].nInterval = -5;
    Work(600);
    EXPECT_LE(frame->m_nAlerts[BREAK_MICRO], 10u);
    EXPECT_GE(frame->m_nAlerts[BREAK_MICRO], 9u);
    bs.aBreaks[BREAK_MICRO].bEnabled = false;

    // A daily limit of 0 minutes: reached after the first minute.
    g_dayCounters.Reset();
    bs.aBreaks[BREAK_DAILY_LIMIT].bEnabled = true;
    bs.aBreaks[BREAK_DAILY_LIMIT].nInterval = 0;
    Work(59);
    EXPECT_FALSE(g_dayCounters.bDailyLimitShown);
    Work();
    EXPECT_TRUE(g_dayCounters.bDailyLimitShown);
    bs.aBreaks[BREAK_DAILY_LIMIT].bEnabled = false;

    // Clearing after 0 idle hours: not every second.
    g_autoZeroEnabled = true;
    g_autoZeroMode = 0;
    g_autoZeroDelay = 0;
    int total = g_dayCounters.nTotalSeconds;
    Work(100);
    EXPECT_EQ(g_dayCounters.nTotalSeconds, total + 100);
    // The stored values stay as they were.
    EXPECT_EQ(g_autoZeroDelay, 0);
    EXPECT_EQ(bs.aBreaks[BREAK_MICRO].nInterval, -5);
}

// A hand-edited store with a postponement of -5 minutes and an unlock delay
// of -3 seconds: the lock offers a one-minute postponement, can be left at
// once, and does not come back a second after the postponement.
TEST_F(BreakEngine, NegativeDelaysNeverLoopTheScreenLock)
{
    BreakSettings& bs = g_breakSettings;
    bs.aBreaks[BREAK_SHORT].nAlertType = ALERT_SCREEN_LOCK;
    bs.nPostpone = -5;
    bs.nDisableUnlocking = -3;
    g_lockOnInactivityDelay = -1;
    ASSERT_EQ(WorkUntilBreak(), kShortWork);
    ASSERT_NE(frame->m_pLockDlg, nullptr);
    HWND lock = frame->m_pLockDlg->m_hWnd;
    HWND postpone = ::GetDlgItem(lock, IDC_POSTPONE);
    char caption[128] = "";
    ::GetWindowTextA(postpone, caption, sizeof(caption));
    EXPECT_STREQ(caption, "Remind me again in 1 minutes");
    EXPECT_TRUE(::IsWindowEnabled(postpone));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(lock, IDCANCEL)));

    ::SendMessageA(lock, WM_COMMAND, MAKEWPARAM(IDC_POSTPONE, BN_CLICKED), (LPARAM)postpone);
    PumpMessages(50);
    EXPECT_FALSE(::IsWindow(lock));
    EXPECT_EQ(g_dayCounters.nPostpones, 1);
    EXPECT_EQ(frame->m_nMinutesLeft, 1);
    Tick(2);
    EXPECT_FALSE(OnBreak());
    EXPECT_EQ(frame->m_pLockDlg, nullptr);
    EXPECT_EQ(frame->m_nAlerts[BREAK_SHORT], 1u);
    // It comes back once the minute is over, once.
    Tick(60);
    EXPECT_TRUE(OnBreak());
    EXPECT_EQ(frame->m_nAlerts[BREAK_SHORT], 2u);
    EXPECT_EQ(g_dayCounters.nPostpones, 1);
    EXPECT_EQ(bs.nPostpone, -5);
    EXPECT_EQ(bs.nDisableUnlocking, -3);
    EXPECT_EQ(g_lockOnInactivityDelay, -1);
}

// The counters the tick adds to stop at the top of their range.
TEST_F(BreakEngine, DayCountersStopAtTheTopInsteadOfWrapping)
{
    g_enablePauses = true;
    DayCounters& c = g_dayCounters;
    c.nWorkSeconds = c.nIdleSeconds = c.nBreaks = INT_MAX;
    ASSERT_GT(WorkUntilBreak(), 0);   // work seconds, then a break
    RestUntilWork();
    Tick(121);                        // idle seconds, paused
    world.screenSaver = TRUE;         // and under the screen saver
    Work();
    EXPECT_EQ(c.nWorkSeconds, INT_MAX);
    EXPECT_EQ(c.nIdleSeconds, INT_MAX);
    EXPECT_EQ(c.nBreaks, INT_MAX);
}

// A shell that refuses balloons: the alert's failure box stays open while
// the tick runs on under it, past the break's end (a box opened from under
// it is answered at once). The break starts once, is counted once and ends
// by its own countdown.
TEST_F(BreakEngine, ABreakWhoseBalloonIsRefusedStartsOnceWhileTheBoxStaysOpen)
{
    static int opened;
    static std::function<void()> underBox;
    opened = 0;
    underBox = [this] { Tick(150); };
    g_breakSettings.aBreaks[BREAK_SHORT].nAlertType = ALERT_BALLOON;
    Scoped<PFN_SHELL_NOTIFY_ICON> shell(g_pfnShellNotifyIcon,
        [](DWORD message, NOTIFYICONDATAA* data) -> BOOL { return !(message == NIM_ADD && (data->uFlags & NIF_INFO)); });
    Scoped<AFX_MESSAGEBOX_HOOK> box(g_pfnMessageBoxHook, [](HWND, const char*, const char*, UINT) {
        if (++opened == 1) underBox();
        return IDOK;
    });
    WorkTo(1, 59);
    Work();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(g_dayCounters.nBreaks, 1);
    EXPECT_EQ(frame->m_dwState, (DWORD)(STATE_WORKING | STATE_WAIT_ACTIVITY));
}

// A face name that fills its field without a terminator.
TEST_F(BreakEngine, IconFontFromAnUnterminatedFaceName)
{
    DestroyFrame();
    memset(g_trayLogFont.lfFaceName, 'A', LF_FACESIZE);
    CreateFrame();
    LOGFONTA lf = {};
    ASSERT_NE(frame->m_fontIcon.GetObject(sizeof(lf), &lf), 0);
    EXPECT_EQ(std::string(lf.lfFaceName), std::string(LF_FACESIZE - 1, 'A'));
    EXPECT_EQ(g_trayLogFont.lfFaceName[LF_FACESIZE - 1], 'A');
}

// The icon's bitmap and font leave its memory context before they are
// deleted, so nothing is left behind when the frame goes.
TEST_F(BreakEngine, FrameLeavesNoIconObjectsBehind)
{
    Work(120);
    HGDIOBJ bitmap = frame->m_bmpIcon.m_hObject, font = frame->m_fontIcon.m_hObject;
    HDC dc = frame->m_dcIcon.m_hDC;
    ASSERT_TRUE(bitmap && font && dc);
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_BITMAP), bitmap);
    DestroyFrame();
    EXPECT_EQ(::GetObjectType(bitmap), 0u);
    EXPECT_EQ(::GetObjectType(font), 0u);
    EXPECT_EQ(::GetObjectType(dc), 0u);
    CreateFrame();
}

}  // namespace

TEST_F(BreakEngine, AnIdleSpellRedrawsEverySecondButTellsTheShellOnce)
{
    for (bool pauses : { true, false }) {
        SCOPED_TRACE(pauses ? "auto-pause" : "restart");
        g_enablePauses = pauses;
        Work(1);
        Tick(2 * 60 + 5);   // past the pause delay
        int redraws = frame->m_nRedraws, calls = g_shellCalls;
        Tick(30);
        EXPECT_GE(frame->m_nRedraws - redraws, 30);
        EXPECT_EQ(g_shellCalls - calls, 0);
    }
}
