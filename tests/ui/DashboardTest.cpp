// The dashboard: what it shows, its fade, the one-window invariant across
// every way of opening and closing it, its buttons and More... menu, its
// position, and what a thousand open/close cycles leave behind.
#include "ui/UiTest.h"
#include "support/FakeWorld.h"
#include "tray/TraySupport.h"
#include "ui/Dashboard.h"
#include "ui/DashBoardDlg.h"
#include "ui/DashboardView.h"
#include "ui/SettingsSheet.h"
#include "engine/MainFrame.h"
#include "app/Kestrabel.h"
#include "app/Messages.h"
#include "res/resource.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <climits>
#include <optional>

// ---- contents and fade, without a window ----

TEST(DashboardView, SlicesStayPositiveAndWithinTheIntRange)
{
    // Work, total and daily seconds, the daily limit in minutes; the rest
    // slice and the third slice as shown.
    struct { const char* what; int work, total, daily, limit; const char* rest; double restValue;
             const char* third; double thirdValue; DWORD thirdColor; } views[] = {
        { "just inside the limit", 600, 900, 30659, 510, "Rest/Idle time: 5 minutes", 300, "Left to work: 0 minutes", 0, kDashLeftColor },
        { "one second over", 600, 900, 30660, 510, "Rest/Idle time: 5 minutes", 300, "Overtime: 0 minutes", 1, kDashOvertimeColor },
        { "more work than total", 500, 10, 0, 510, "Rest/Idle time: 0 minutes", 0, "Left to work: 8h 30m", 30659, kDashLeftColor },
        { "a huge limit", 0, 0, 0, 40000000, "Rest/Idle time: 0 minutes", 0, "Left to work: 24855d 3h 14m", INT_MAX, kDashLeftColor },
        { "most negative daily", 0, 0, INT_MIN, 0, "Rest/Idle time: 0 minutes", 0, "Left to work: 24855d 3h 14m", INT_MAX, kDashLeftColor },
        { "huge overtime", 0, 0, INT_MAX, 0, "Rest/Idle time: 0 minutes", 0, "Overtime: 24855d 3h 13m", 2147483588.0, kDashOvertimeColor },
    };
    Keep keep{ g_breakSettings };
    keep.Bytes(g_dayCounters);
    for (auto& v : views) {
        SCOPED_TRACE(v.what);
        SetDay(v.total, v.work, 0, v.daily, v.limit, true);
        DashboardView view = ComputeDashboardView(DashboardEngine());
        EXPECT_EQ(view.slices[0].value, (double)v.work);
        EXPECT_STREQ(view.slices[1].label, v.rest);
        EXPECT_EQ(view.slices[1].value, v.restValue);
        EXPECT_STREQ(view.slices[2].label, v.third);
        EXPECT_EQ(view.slices[2].value, v.thirdValue);
        EXPECT_EQ(view.slices[2].color, v.thirdColor);
    }
}

// ---- the window ----

namespace {
int DashboardWindows()
{
    int n = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND h, LPARAM l) CALLBACK -> BOOL {
        char text[64] = "";
        ::GetWindowTextA(h, text, sizeof(text));
        if (strcmp(text, " Kestrabel Dashboard") == 0) ++*(int*)l;
        return TRUE;
    }, (LPARAM)&n);
    return n;
}

// What the sheet does around its modal run: suppress, pump, let a pinned
// dashboard back.
struct SheetSeen { int runs = 0; bool dashboardWindowDuring = false; int liveDuring = 0; } g_sheet;
void FakeSheet(CWnd*, int, BOOL)
{
    ++g_sheet.runs;
    SuppressDashboard();
    PumpMessages(30);
    g_sheet.dashboardWindowDuring = DashboardWindows() > 0;
    g_sheet.liveDuring = CDashBoardDlg::s_nLive;
    --g_dashboardSuppress;
    ShowDashboardIfPinned();
}

// A dashboard with no such template, and one whose window ends inside its creation.
struct CNoTemplateDashboard : CDashBoardDlg {
    using CDashBoardDlg::CDashBoardDlg;
    BOOL Create(UINT, CWnd* pParent) override { return CDashBoardDlg::Create(9999, pParent); }
};
struct CEndingDashboard : CDashBoardDlg {
    using CDashBoardDlg::CDashBoardDlg;
    BOOL OnInitDialog() override { CDashBoardDlg::OnInitDialog(); DestroyWindow(); return TRUE; }
};

struct MenuSeen {
    bool fired = false;
    UINT pauseState = 0, restartState = 0;
    bool oldMenuAlive = false;
    HMENU oldMenu = nullptr;
    bool reload = false;
    UINT choose = 0;
} g_menu;

void CALLBACK InsideMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    g_menu.fired = true;
    CMenu* popup = g_trayIcon.GetMenu()->GetSubMenu(0);
    g_menu.oldMenu = popup ? popup->m_hMenu : nullptr;
    if (popup) {
        g_menu.pauseState = popup->GetMenuState(ID_TRAY_PAUSE, MF_BYCOMMAND);
        g_menu.restartState = popup->GetMenuState(ID_TRAY_RESTART_COUNTER, MF_BYCOMMAND);
    }
    if (g_menu.reload) {
        g_trayIcon.LoadMenu(IDR_TRAY_MENU);   // as a balloon announcement does
        g_menu.oldMenuAlive = ::IsMenu(g_menu.oldMenu) != FALSE;
    }
    if (!g_menu.choose) {
        ::EndMenu();
        return;
    }
    // A stale menu offers the item whatever its rule says; the keys walk
    // down to it (separators are skipped) and choose it.
    ::EnableMenuItem(g_menu.oldMenu, g_menu.choose, MF_BYCOMMAND | MF_ENABLED);
    HWND hMenuWnd = ::FindWindowA("#32768", nullptr);
    int n = ::GetMenuItemCount(g_menu.oldMenu);
    for (int i = 0; i < n; ++i) {
        UINT id = ::GetMenuItemID(g_menu.oldMenu, i);
        if (id != 0) ::PostMessageA(hMenuWnd, WM_KEYDOWN, VK_DOWN, 0);
        if (id == g_menu.choose) break;
    }
    ::PostMessageA(hMenuWnd, WM_KEYDOWN, VK_RETURN, 0);
}

class DashboardTest : public ::testing::Test {
protected:
    FakeWorld world;
    ShellRecorder shell;
    Keep keep{ g_breakSettings, g_pfnRunSettingsSheet, g_pfnNewDashboard, g_dashboardPinned, g_dashboardHasPos,
               g_dashboardXPos, g_dashboardYPos };
    std::optional<RealMainFrame> main;
    CMainFrame* frame = nullptr;
    void SetUp() override
    {
        static ULONG_PTR gdiplus;
        if (!gdiplus) {
            Gdiplus::GdiplusStartupInput in;
            Gdiplus::GdiplusStartup(&gdiplus, &in, nullptr);
        }
        keep.Bytes(g_dayCounters);
        world.SetLocal(2026, 12, 9, 10, 0, 0);
        world.cursor = { 600, 5 };    // off the window and the hover point
        g_dashboardPinned = g_dashboardHasPos = false;
        g_pfnRunSettingsSheet = FakeSheet;
        g_sheet = SheetSeen();
        frame = main.emplace().frame;   // its tick stopped: the test drives the engine
    }
    void TearDown() override
    {
        if (g_dashboard && g_dashboard->IsWindow()) g_dashboard->DestroyWindow();
        PumpMessages(10);
        EXPECT_EQ(g_dashboard, nullptr);
        EXPECT_EQ(CDashBoardDlg::s_nLive, 0);
        // A break the test started ends with it: its lock, parentless,
        // would outlive the frame and cover the screen for the next test.
        EXPECT_EQ(frame->m_pLockDlg, nullptr);
        frame->CloseAlerts();
        main.reset();
        g_dashboardSuppress = 0;
        g_modalOpen = false;
    }
    CDashBoardDlg* Open() { ShowDashboardIfAllowed(); return g_dashboard; }
    void Tick(int n = 1) { for (int i = 0; i < n && g_dashboard; ++i) g_dashboard->OnTimer(g_dashboard->m_nTimerId); }
    int Alpha() const
    {
        BYTE a = 0;
        DWORD flags = 0;
        return g_dashboard && ::GetLayeredWindowAttributes(g_dashboard->m_hWnd, nullptr, &a, &flags) ? a : -1;
    }
    // Exactly one window and a pointer to it, or neither.
    void ExpectInvariant(bool open)
    {
        EXPECT_EQ(DashboardWindows(), open ? 1 : 0);
        EXPECT_EQ(g_dashboard != nullptr, open);
        EXPECT_EQ(CDashBoardDlg::s_nLive, open ? 1 : 0);
        if (g_dashboard) { EXPECT_TRUE(g_dashboard->IsWindow()); }
    }
};
}  // namespace

TEST_F(DashboardTest, OneWindowAndOnePointerWhateverClosesIt)
{
    struct Way { const char* what; bool pinned; std::function<void()> close; };
    const Way ways[] = {
        { "tray button press", false, [this] { frame->EndHover(); } },
        { "tray popup", true, [] { SuppressDashboard(); PumpMessages(20); --g_dashboardSuppress; } },
        { "close box", false, [] { g_dashboard->SendMessage(WM_SYSCOMMAND, SC_CLOSE); } },
        { "WM_CLOSE", true, [] { g_dashboard->PostMessage(WM_CLOSE); } },
        { "Escape", true, [] {
              MSG m = { ::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0 };
              if (!m.hwnd || !::IsChild(g_dashboard->m_hWnd, m.hwnd)) m.hwnd = g_dashboard->m_hWnd;
              ::IsDialogMessageA(g_dashboard->m_hWnd, &m); } },
        { "Enter", true, [] { g_dashboard->SendMessage(WM_COMMAND, IDOK); } },
        { "Cancel", false, [] { g_dashboard->SendMessage(WM_COMMAND, IDCANCEL); } },
        { "16th fading tick", false, [this] { Tick(16); } },
        { "two close requests", false, [] { CloseDashboard(); CloseDashboard(); } },
        { "close, then show before it is handled", false, [] { CloseDashboard(); ShowDashboard(); } },
        { "Pause unpinned", false, [] { g_dashboard->m_btnPause.Click(); } },
        { "Break unpinned", false, [] { g_dashboard->m_btnBreak.Click(); } },
    };
    for (const Way& w : ways) {
        SCOPED_TRACE(w.what);
        g_dashboardPinned = w.pinned;
        ASSERT_NE(Open(), nullptr);
        ExpectInvariant(true);
        ShowDashboard();                 // a second one is never made
        ExpectInvariant(true);
        w.close();
        PumpMessages(30);
        ExpectInvariant(false);
        CloseDashboard();                // nothing left to close
        PumpMessages(5);
        ExpectInvariant(false);
        if (frame->IsPaused()) frame->OnPause();
        if (!(frame->m_dwState & STATE_WORKING)) frame->ToggleMode();
    }
    // Pinned, the buttons leave it open; Break ends a break that the tray's
    // Toggle Mode may not end.
    g_dashboardPinned = true;
    g_breakSettings.bDisableToggleMode = true;
    ASSERT_NE(Open(), nullptr);
    g_dashboard->m_btnPause.Click();
    EXPECT_TRUE(frame->IsPaused());
    g_dashboard->m_btnPause.Click();
    EXPECT_FALSE(frame->IsPaused());
    g_dashboard->m_btnBreak.Click();
    ASSERT_FALSE(frame->m_dwState & STATE_WORKING);
    frame->SendMessage(WM_COMMAND, ID_TRAY_TOGGLE_MODE);
    EXPECT_FALSE(frame->m_dwState & STATE_WORKING);
    g_dashboard->m_btnBreak.Click();
    EXPECT_TRUE(frame->m_dwState & STATE_WORKING);
    PumpMessages(30);
    ExpectInvariant(true);
}

TEST_F(DashboardTest, SettingsClosesItWhileTheSheetRunsAndAPinnedOneComesBack)
{
    for (bool pin : { false, true }) {
        SCOPED_TRACE(pin ? "pinned" : "unpinned");
        g_dashboardPinned = pin;
        g_sheet = SheetSeen();
        ASSERT_NE(Open(), nullptr);
        CDashBoardDlg* first = g_dashboard;
        first->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DASH_SETTINGS, BN_CLICKED),
                           (LPARAM)::GetDlgItem(first->m_hWnd, IDC_DASH_SETTINGS));
        EXPECT_EQ(g_sheet.runs, 1);
        EXPECT_FALSE(g_sheet.dashboardWindowDuring);
        EXPECT_EQ(g_sheet.liveDuring, 1);   // the object outlived its window inside the click
        PumpMessages(20);
        ExpectInvariant(pin);
        if (pin) { EXPECT_NE(g_dashboard, first); }
        if (g_dashboard) g_dashboard->DestroyWindow();
    }
}

TEST_F(DashboardTest, FailedCreationLeavesNothingAndTheNextHoverOpensOne)
{
    PFN_NEW_DASHBOARD real = g_pfnNewDashboard;
    for (PFN_NEW_DASHBOARD make : { +[](CWnd* p) -> CDashBoardDlg* { return new CNoTemplateDashboard(p); },
                                    +[](CWnd* p) -> CDashBoardDlg* { return new CEndingDashboard(p); } }) {
        g_pfnNewDashboard = make;
        EXPECT_EQ(Open(), nullptr);
        ExpectInvariant(false);
    }
    g_pfnNewDashboard = real;
    world.cursor = { 700, 700 };
    frame->SendMessage(WM_TRAY_NOTIFY, g_trayIcon.m_nid.uID, WM_MOUSEMOVE);
    PumpMessages(450);
    ExpectInvariant(true);
}

TEST_F(DashboardTest, FadesAwayFromTheWindowAndTheHoverPointOnly)
{
    world.cursor = { 205, 5 };
    frame->ArmHover();
    frame->DisarmHover();            // the hover point stays (205, 5)
    ASSERT_NE(Open(), nullptr);
    RECT wr;
    g_dashboard->GetWindowRect(&wr);
    POINT away = { 5, 5 };
    ASSERT_TRUE(wr.left > 230 || wr.top > 30);   // the window is clear of both
    const int want[] = { 255, 255, 255, 255, 255, 254, 252, 249, 244, 236, 224, 205, 176, 130, 59 };
    struct Hold { const char* what; std::function<void()> on, off; };
    const Hold holds[] = {
        { "cursor inside", [&] { world.cursor = { wr.left + 3, wr.top + 3 }; }, [&] { world.cursor = away; } },
        { "15 from the hover point", [&] { world.cursor = { 220, 20 }; }, [&] { world.cursor = away; } },
        { "pin checked", [] { g_dashboard->m_btnPin.SetCheck(BST_CHECKED); },
          [] { g_dashboard->m_btnPin.SetCheck(BST_UNCHECKED); } },
        { "menu open", [] { g_dashboard->m_bMenuOpen = true; }, [] { g_dashboard->m_bMenuOpen = false; } },
    };
    for (const Hold& h : holds) {
        SCOPED_TRACE(h.what);
        world.cursor = away;
        Tick(9);
        EXPECT_EQ(Alpha(), want[8]);
        h.on();
        Tick();
        EXPECT_EQ(Alpha(), 255);
        h.off();
    }
    world.cursor = { 221, 5 };       // 16 pixels: no longer near
    for (int i = 0; i < 15; ++i) {
        Tick();
        EXPECT_EQ(Alpha(), want[i]) << i;
    }
    Tick();
    PumpMessages(20);
    ExpectInvariant(false);

    g_dashboardPinned = true;        // pinned: never fades
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(g_dashboard->m_btnPin.GetCheck(), BST_CHECKED);
    Tick(100);
    EXPECT_EQ(Alpha(), 255);
}

TEST_F(DashboardTest, RefreshesOncePerChangeAndShowsTheEngine)
{
    SetDashboardStatus("a\nb");
    frame->m_nPeriodMinutes = 20;
    frame->m_nMinutesLeft = 12;
    g_dashboardPinned = true;
    ASSERT_NE(Open(), nullptr);
    CDashBoardDlg* d = g_dashboard;
    EXPECT_STREQ(d->m_status.GetWindowText(), "a");
    EXPECT_EQ(d->m_progress.SendMessage(PBM_GETRANGE, TRUE), 0);
    EXPECT_EQ(d->m_progress.SendMessage(PBM_GETRANGE, FALSE), 20);
    EXPECT_EQ(d->m_progress.SendMessage(PBM_GETPOS), 8);
    int before = d->m_nRefreshes;
    Tick(8);
    EXPECT_EQ(d->m_nRefreshes, before);
    ++g_dayCounters.nSessionSeconds;
    Tick(8);
    EXPECT_EQ(d->m_nRefreshes, before + 1);
    frame->Pause();
    SetDashboardStatus("whole status");
    Tick(8);
    EXPECT_EQ(d->m_nRefreshes, before + 2);
    EXPECT_STREQ(d->m_status.GetWindowText(), "whole status");
    EXPECT_EQ(d->m_btnPause.GetCheck(), BST_CHECKED);
    EXPECT_EQ(d->m_btnBreak.GetCheck(), BST_UNCHECKED);
    ASSERT_EQ(d->m_chart.m_slices.size(), 3u);
    EXPECT_TRUE(strncmp(d->m_chart.m_slices[1].label, "Rest/Idle time:", 15) == 0);
}

TEST_F(DashboardTest, MoreShowsTheRulesOfTheMomentAndOutlivesAReload)
{
    frame->Pause();
    frame->UpdateTrayIcon();
    struct MenuCase { const char* what; bool pin; bool reload; UINT choose; bool stays; };
    const MenuCase cases[] = {
        { "dismissed, menu reloaded inside", false, true, 0, true },
        { "Restart Counter while paused: dropped", false, false, ID_TRAY_RESTART_COUNTER, false },
        { "Pause chosen, pinned", true, false, ID_TRAY_PAUSE, true },
    };
    for (const MenuCase& c : cases) {
        SCOPED_TRACE(c.what);
        g_dashboardPinned = c.pin;
        if (!g_dashboard) { ASSERT_NE(Open(), nullptr); }
        int restarts = frame->m_nMinutesLeft;
        bool wasPaused = frame->IsPaused() != FALSE;
        g_menu = MenuSeen();
        g_menu.reload = c.reload;
        g_menu.choose = c.choose;
        for (int attempt = 0; attempt < 3 && !g_menu.fired; ++attempt) {
            UINT_PTR t = ::SetTimer(nullptr, 0, 100, InsideMenu);
            g_dashboard->OnMore();
            if (!g_menu.fired) ::KillTimer(nullptr, t);
        }
        ASSERT_TRUE(g_menu.fired);
        EXPECT_TRUE(g_menu.pauseState & MF_CHECKED);
        EXPECT_TRUE(g_menu.restartState & MF_GRAYED);
        if (c.reload) {
            EXPECT_TRUE(g_menu.oldMenuAlive);
            EXPECT_FALSE(::IsMenu(g_menu.oldMenu));   // gone once the menu closed
        }
        PumpMessages(30);
        EXPECT_EQ(frame->m_nMinutesLeft, restarts);
        if (c.choose == ID_TRAY_PAUSE) { EXPECT_NE(frame->IsPaused() != FALSE, wasPaused); }
        ExpectInvariant(c.stays);
    }
}

TEST_F(DashboardTest, RemembersWhereTheUserMovedIt)
{
    ASSERT_NE(Open(), nullptr);
    EXPECT_FALSE(g_dashboardHasPos);     // the placement's own move is not the user's
    g_dashboard->SetWindowPos(nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(g_dashboardHasPos);
    EXPECT_EQ(g_dashboardXPos, 300);
    EXPECT_EQ(g_dashboardYPos, 200);
    g_dashboard->DestroyWindow();

    RECT wr;
    ASSERT_NE(Open(), nullptr);          // opens where it was left
    g_dashboard->GetWindowRect(&wr);
    EXPECT_TRUE(wr.left == 300 && wr.top == 200);
    g_dashboard->DestroyWindow();

    g_dashboardXPos = -400;              // off every monitor: beside the tray
    g_dashboardYPos = 150;
    ASSERT_NE(Open(), nullptr);
    g_dashboard->GetWindowRect(&wr);
    EXPECT_GE(wr.left, 0);
    EXPECT_FALSE(g_dashboardHasPos);
    EXPECT_TRUE(g_dashboardXPos == -400 && g_dashboardYPos == 150);   // the stored value stays
}

TEST_F(DashboardTest, AThousandCyclesLeaveNoObjectsBehind)
{
    SIZE_T start = 0;
    for (int i = 0; i < 1000; ++i) {
        ASSERT_NE(Open(), nullptr) << i;
        HGDIOBJ owned[] = { g_dashboard->m_fontStatus.GetSafeHandle(), g_dashboard->m_bmpPinned.GetSafeHandle(),
                            g_dashboard->m_bmpUnpinned.GetSafeHandle() };
        ++g_dayCounters.nSessionSeconds;
        Tick(3);                         // one rebuild, two idle ticks
        switch (i % 4) {
        case 0: CloseDashboard(); break;
        case 1: g_dashboard->PostMessage(WM_CLOSE); break;
        case 2: g_dashboard->SendMessage(WM_COMMAND, IDCANCEL); break;
        default: Tick(16); break;
        }
        PumpMessages(0);
        ASSERT_EQ(g_dashboard, nullptr) << i;
        ASSERT_EQ(CDashBoardDlg::s_nLive, 0) << i;
        for (HGDIOBJ h : owned) ASSERT_TRUE(h && ::GetObjectType(h) == 0) << i;   // made, and gone
        if (i == 100) start = PrivateBytes();
    }
    EXPECT_LT(PrivateBytes(), start + 2 * 1024 * 1024);

    // The last one, after many rebuilds, still draws its chart.
    g_dashboardPinned = true;
    ASSERT_NE(Open(), nullptr);
    g_dashboard->SetWindowPos(HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE);
    g_dayCounters.nWorkSeconds = 3600;
    g_dayCounters.nTotalSeconds = 3600;
    for (int i = 0; i < 1000; ++i) {   // a rebuild and a repaint on each tick
        ++g_dayCounters.nSessionSeconds;
        Tick();
    }
    EXPECT_LT(PrivateBytes(), start + 2 * 1024 * 1024);
    PumpMessages(50);
    RECT rc;
    g_dashboard->m_chart.GetClientRect(&rc);
    HDC dc = ::GetDC(g_dashboard->m_chart.m_hWnd);
    int cyan = 0;
    for (int yy = 0; yy < rc.bottom; yy += 2)
        for (int xx = 0; xx < rc.right / 2; xx += 2) {
            COLORREF c = ::GetPixel(dc, xx, yy);
            if (GetRValue(c) < 90 && GetGValue(c) > 150 && GetBValue(c) > 150) ++cyan;
        }
    ::ReleaseDC(g_dashboard->m_chart.m_hWnd, dc);
    EXPECT_GT(cyan, 20);
}
