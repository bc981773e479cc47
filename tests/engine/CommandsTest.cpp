// The tray menu's commands, their update rules, the click shortcuts, the
// modal settings sheet and the dashboard hover.
#include "support/TestSupport.h"
#include "support/FakeWorld.h"
#include "tray/TraySupport.h"
#include "engine/MainFrame.h"
#include "engine/DayCounters.h"
#include "app/Kestrabel.h"
#include "app/Settings.h"
#include "tray/TrayNotifyIcon.h"
#include "ui/Dashboard.h"
#include "ui/SettingsSheet.h"
#include "controls/OpenUrl.h"
#include "res/resource.h"
#include <gtest/gtest.h>

namespace {
struct SheetRun { int startPage; BOOL welcome; bool modalOpen; bool pulsing; };
std::vector<SheetRun> g_sheetRuns;
CMainFrame* g_frame;
void (*g_insideSheet)();

void RecordSheet(CWnd*, int startPage, BOOL welcome)
{
    g_sheetRuns.push_back({ startPage, welcome, g_modalOpen, g_frame && g_frame->m_nTimerPulse != 0 });
    if (g_insideSheet) g_insideSheet();
}

// What the shell was asked to open, and what it answers.
std::vector<std::string> g_shellOpened;
INT_PTR g_shellResult = 42;
HINSTANCE WINAPI RecordShell(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT)
{
    g_shellOpened.push_back(std::string(verb ? verb : "") + " " + (file ? file : ""));
    return (HINSTANCE)g_shellResult;
}

int g_dashboardOpened, g_dashboardClosed;
void OpenDashboard() { ++g_dashboardOpened; }
void CloseTheDashboard() { ++g_dashboardClosed; }
void ResetTheFade() {}

class CommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        world.SetLocal(2026, 12, 9, 10, 0, 0);
        g_sheetRuns.clear();
        g_insideSheet = nullptr;
        g_pfnRunSettingsSheet = RecordSheet;
        previousShow = g_pfnShowDashboard;
        previousClose = g_pfnCloseDashboard;
        previousReset = g_pfnResetDashboardFade;
        g_pfnShowDashboard = OpenDashboard;
        g_pfnCloseDashboard = CloseTheDashboard;
        g_pfnResetDashboardFade = ResetTheFade;
        g_dashboardOpened = g_dashboardClosed = 0;
        g_shellOpened.clear();
        g_shellResult = 42;
        previousShell = g_pfnShellExecuteA;
        g_pfnShellExecuteA = RecordShell;
        breaks = g_breakSettings;
        frame = new CMainFrame;
        ASSERT_TRUE(frame->Create(nullptr, "Kestrabel", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, nullptr, nullptr));
        g_frame = frame;
        PumpMessages(20);
    }
    void TearDown() override
    {
        frame->m_pLockDlg = nullptr;
        frame->DestroyWindow();
        g_frame = nullptr;
        g_pfnRunSettingsSheet = previousRun;
        g_pfnShellExecuteA = previousShell;
        g_pfnShowDashboard = previousShow;
        g_pfnCloseDashboard = previousClose;
        g_pfnResetDashboardFade = previousReset;
        g_dashboard = nullptr;
        g_modalOpen = false;
        g_breakSettings = breaks;
    }
    struct Rule { bool enabled; int checked; };
    Rule RuleOf(UINT id)
    {
        CCmdUI state;
        state.m_nID = id;
        state.DoUpdate(frame, TRUE);
        return { state.m_bEnabled != FALSE, state.m_nCheck };
    }
    void Click(UINT mouseMessage)
    {
        frame->SendMessage(WM_TRAY_NOTIFY, g_trayIcon.m_nid.uID, mouseMessage);
        PumpMessages(20);
    }
    FakeWorld world;
    ShellRecorder shell;   // no real notification area: quick and quiet
    MessageBoxRecorder boxes{ IDYES };
    RUN_SETTINGS_SHEET previousRun = g_pfnRunSettingsSheet;
    PFN_SHELLEXECUTEA previousShell = nullptr;
    void (*previousShow)() = nullptr;
    void (*previousClose)() = nullptr;
    void (*previousReset)() = nullptr;
    BreakSettings breaks;
    CMainFrame* frame = nullptr;
};

enum State { Working, Paused, AutoPaused, OnBreak, BreakSaver, BreakLocked, SheetOpen, LockOpen };
}

TEST_F(CommandsTest, UpdateRuleMatrix)
{
    struct Row { State state; bool disableToggle; bool settings, exit, restart, pause, pauseChecked, toggle; };
    const Row rows[] = {
        //                      settings exit  restart pause  checked toggle
        { Working,     false,   true,    true, true,   true,  false,  true },
        { Working,     true,    true,    true, true,   true,  false,  true },
        { Paused,      false,   true,    true, false,  true,  true,   true },
        { AutoPaused,  false,   true,    true, false,  true,  true,   true },
        { OnBreak,     false,   true,    true, true,   false, false,  true },
        { OnBreak,     true,    true,    true, true,   false, false,  false },
        { BreakSaver,  true,    true,    true, true,   true,  false,  true },
        { BreakLocked, true,    true,    true, true,   true,  false,  true },
        { SheetOpen,   false,   false,   false, false, false, true,   false },
        { LockOpen,    true,    false,   true, true,   false, false,  false },
    };
    for (const Row& r : rows) {
        frame->m_dwState = STATE_WORKING;
        frame->m_bScreenSaver = frame->m_bSessionLocked = false;
        frame->m_pLockDlg = nullptr;
        g_modalOpen = false;
        g_breakSettings.bDisableToggleMode = r.disableToggle;
        switch (r.state) {
        case Working: break;
        case Paused: frame->m_dwState |= STATE_PAUSED; break;
        case AutoPaused: frame->m_dwState |= STATE_AUTOPAUSED; break;
        case OnBreak: frame->m_dwState = 0; break;
        case BreakSaver: frame->m_dwState = 0; frame->m_bScreenSaver = true; break;
        case BreakLocked: frame->m_dwState = 0; frame->m_bSessionLocked = true; break;
        case SheetOpen: g_modalOpen = true; break;
        case LockOpen: frame->m_dwState = 0; frame->m_pLockDlg = (CLockDlg*)frame; break;   // only compared
        }
        SCOPED_TRACE(testing::Message() << "state " << r.state << " disableToggle " << r.disableToggle);
        for (UINT id : { ID_TRAY_SETTINGS, ID_TRAY_STATISTICS, ID_APP_ABOUT, ID_TRAY_CHECK_UPDATES })
            EXPECT_EQ(RuleOf(id).enabled, r.settings) << id;
        EXPECT_EQ(RuleOf(ID_APP_EXIT).enabled, r.exit);
        EXPECT_EQ(RuleOf(ID_TRAY_RESTART_COUNTER).enabled, r.restart);
        EXPECT_EQ(RuleOf(ID_TRAY_PAUSE).enabled, r.pause);
        EXPECT_EQ(RuleOf(ID_TRAY_PAUSE).checked != 0, r.pauseChecked);
        EXPECT_EQ(RuleOf(ID_TRAY_TOGGLE_MODE).enabled, r.toggle);
        EXPECT_TRUE(RuleOf(ID_TRAY_FEEDBACK).enabled);
        EXPECT_TRUE(RuleOf(ID_FIRST_RUN).enabled);
    }
    g_modalOpen = false;
}

TEST_F(CommandsTest, PostedCommandsReachTheirHandlersOnlyWhenEnabled)
{
    // Restart Counter while paused is dropped.
    frame->m_nMinutesLeft = 5;
    frame->m_dwState = STATE_WORKING | STATE_PAUSED;
    frame->PostMessage(WM_COMMAND, ID_TRAY_RESTART_COUNTER, 0);
    PumpMessages(20);
    EXPECT_EQ(frame->m_nMinutesLeft, 5);
    frame->m_dwState = STATE_WORKING;
    frame->PostMessage(WM_COMMAND, ID_TRAY_RESTART_COUNTER, 0);
    PumpMessages(20);
    EXPECT_EQ(frame->m_nMinutesLeft, frame->m_nPeriodMinutes);

    // With the sheet open, nothing but feedback gets through.
    g_modalOpen = true;
    for (UINT id : { ID_TRAY_PAUSE, ID_TRAY_TOGGLE_MODE, ID_TRAY_SETTINGS, ID_APP_ABOUT, ID_TRAY_STATISTICS })
        frame->PostMessage(WM_COMMAND, id, 0);
    PumpMessages(20);
    EXPECT_EQ(frame->m_dwState, (DWORD)STATE_WORKING);
    EXPECT_TRUE(g_sheetRuns.empty());
    g_shellResult = 42;
    frame->PostMessage(WM_COMMAND, ID_TRAY_FEEDBACK, 0);
    PumpMessages(20);
    ASSERT_EQ(g_shellOpened.size(), 1u);
    EXPECT_EQ(g_shellOpened[0], "open mailto:support@example.com?subject=Kestrabel feedback");
    g_modalOpen = false;

    frame->PostMessage(WM_COMMAND, ID_TRAY_STATISTICS, 0);
    frame->PostMessage(WM_COMMAND, ID_APP_ABOUT, 0);
    PumpMessages(20);
    ASSERT_EQ(g_sheetRuns.size(), 2u);
    EXPECT_EQ(g_sheetRuns[0].startPage, 4);
    EXPECT_EQ(g_sheetRuns[1].startPage, 5);
}

TEST_F(CommandsTest, ClickShortcuts)
{
    // Plain left click: the settings.
    Click(WM_LBUTTONUP);
    ASSERT_EQ(g_sheetRuns.size(), 1u);
    EXPECT_EQ(g_sheetRuns[0].startPage, 0);
    EXPECT_FALSE(g_sheetRuns[0].welcome);

    // Alt+click pauses during work, does nothing during a break.
    world.keysDown[VK_MENU] = true;
    Click(WM_LBUTTONUP);
    EXPECT_TRUE(frame->m_dwState & STATE_PAUSED);
    // Shift+click while paused does nothing.
    world.keysDown[VK_MENU] = false;
    world.keysDown[VK_SHIFT] = true;
    frame->m_nMinutesLeft = 3;
    Click(WM_LBUTTONUP);
    EXPECT_EQ(frame->m_nMinutesLeft, 3);
    world.keysDown[VK_SHIFT] = false;
    world.keysDown[VK_MENU] = true;
    Click(WM_LBUTTONUP);
    EXPECT_FALSE(frame->m_dwState & STATE_PAUSED);
    frame->m_dwState = 0;
    Click(WM_LBUTTONUP);
    EXPECT_EQ(frame->m_dwState, 0u);
    world.keysDown[VK_MENU] = false;

    // Ctrl+click during a break with toggling disabled does nothing; during
    // work it starts the break whatever the option. Breaks of whole minutes:
    // a break shorter than one ends at the next tick, which may come while
    // the click's messages are pumped.
    g_breakSettings.aBreaks[BREAK_SHORT].nDuration = 120;
    g_breakSettings.aBreaks[BREAK_LONG].nDuration = 300;
    g_breakSettings.bDisableToggleMode = true;
    world.keysDown[VK_CONTROL] = true;
    Click(WM_LBUTTONUP);
    EXPECT_EQ(frame->m_dwState, 0u);
    frame->m_dwState = STATE_WORKING;
    int breaksBefore = g_dayCounters.nBreaks;
    Click(WM_LBUTTONUP);
    EXPECT_FALSE(frame->m_dwState & STATE_WORKING);
    EXPECT_EQ(g_dayCounters.nBreaks, breaksBefore + 1);

    // Ctrl+Shift+click takes a minute off, never below 0, and not while the
    // sheet is open.
    frame->m_dwState = STATE_WORKING;
    world.keysDown[VK_SHIFT] = true;
    frame->m_nMinutesLeft = 1;
    Click(WM_LBUTTONUP);
    EXPECT_EQ(frame->m_nMinutesLeft, 0);
    Click(WM_LBUTTONUP);
    EXPECT_EQ(frame->m_nMinutesLeft, 0);
    frame->m_nMinutesLeft = 4;
    g_modalOpen = true;
    Click(WM_LBUTTONUP);
    EXPECT_EQ(frame->m_nMinutesLeft, 4);
    g_modalOpen = false;
    world.keysDown.clear();

    // A click for another icon id is not ours.
    size_t runs = g_sheetRuns.size();
    frame->SendMessage(WM_TRAY_NOTIFY, g_trayIcon.m_nid.uID + 1, WM_LBUTTONUP);
    PumpMessages(20);
    EXPECT_EQ(g_sheetRuns.size(), runs);
}

TEST_F(CommandsTest, SettingsSheetRunsOnceAndHoldsTheEngine)
{
    frame->m_dwState = STATE_WORKING;
    frame->StartPulse();
    g_insideSheet = [] {
        // Inside the modal run a second request returns at once, and a
        // click on the icon is dropped by the rules.
        g_frame->ShowSettings(0, FALSE);
        g_frame->SendMessage(WM_TRAY_NOTIFY, g_trayIcon.m_nid.uID, WM_LBUTTONUP);
        PumpMessages(20);
        EXPECT_TRUE(g_frame->IsPaused());
        EXPECT_FALSE(g_frame->IsCountingAllowed());
    };
    frame->SendMessage(WM_COMMAND, ID_TRAY_SETTINGS, 0);
    ASSERT_EQ(g_sheetRuns.size(), 1u);
    EXPECT_TRUE(g_sheetRuns[0].modalOpen);
    EXPECT_FALSE(g_sheetRuns[0].pulsing);
    EXPECT_FALSE(g_modalOpen);
}

TEST_F(CommandsTest, FirstRunSheetSavesEvenWhenCancelled)
{
    TempDir dir;
    const char* profile = theApp.m_pszProfileName;
    theApp.m_pszProfileName = _strdup(dir.File("Kestrabel.INI").c_str());
    g_strDataDirectoryOverride = (dir.path + "Data\\").c_str();
    g_isPrimaryInstance = true;

    frame->SendMessage(WM_COMMAND, ID_FIRST_RUN, 0);
    ASSERT_EQ(g_sheetRuns.size(), 1u);
    EXPECT_TRUE(g_sheetRuns[0].welcome);
    EXPECT_EQ(g_sheetRuns[0].startPage, 0);
    EXPECT_TRUE(FileExistsA(dir.File("Kestrabel.INI")));
    frame->SendMessage(WM_COMMAND, ID_TRAY_SETTINGS, 0);
    EXPECT_FALSE(g_sheetRuns[1].welcome);

    free((void*)theApp.m_pszProfileName);
    theApp.m_pszProfileName = profile;
    g_strDataDirectoryOverride.Empty();
    g_isPrimaryInstance = false;
}

TEST_F(CommandsTest, FailingMailLinkTellsTheAddress)
{
    g_shellResult = 2;   // SE_ERR_FNF
    frame->SendMessage(WM_COMMAND, ID_TRAY_FEEDBACK, 0);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Failed to send email\n\nPlease sent your feedback to support@example.com");
    EXPECT_EQ(boxes.boxes[0].type, (UINT)MB_OK);
    g_shellResult = 33;
    frame->SendMessage(WM_COMMAND, ID_TRAY_FEEDBACK, 0);
    EXPECT_EQ(boxes.boxes.size(), 1u);
}

TEST_F(CommandsTest, HoverOpensTheDashboardOnlyNearWhereItBegan)
{
    world.cursor = { 500, 700 };
    Click(WM_MOUSEMOVE);
    EXPECT_TRUE(frame->m_bHoverArmed);
    EXPECT_FALSE(frame->CanHover());
    world.cursor = { 515, 685 };     // 15 pixels away on both axes
    PumpMessages(450);
    EXPECT_EQ(g_dashboardOpened, 1);
    EXPECT_FALSE(frame->m_bHoverArmed);
    EXPECT_TRUE(frame->CanHover());

    world.cursor = { 500, 700 };
    Click(WM_MOUSEMOVE);
    world.cursor = { 516, 700 };     // 16 pixels: too far
    PumpMessages(450);
    EXPECT_EQ(g_dashboardOpened, 1);
    EXPECT_TRUE(frame->CanHover());

    // A button press stops the hover and closes an open dashboard.
    Click(WM_MOUSEMOVE);
    g_dashboard = (CDashBoardDlg*)frame;   // only compared
    Click(WM_LBUTTONDOWN);
    EXPECT_FALSE(frame->m_bHoverArmed);
    EXPECT_EQ(g_dashboardClosed, 1);
    PumpMessages(450);
    EXPECT_EQ(g_dashboardOpened, 1);
    g_dashboard = nullptr;
}
