// The notification area's rectangle: each way the shell can show it, and
// the search through real windows of the shell's classes.
#include "TraySupport.h"
#include <gtest/gtest.h>

namespace {
RECT R(int l, int t, int r, int b) { RECT x = { l, t, r, b }; return x; }
std::string S(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + ","
           + std::to_string(r.bottom);
}
std::string Compute(const TrayWindows& f)
{
    RECT r = R(-1, -1, -1, -1);
    ComputeTrayRect(f, &r);
    return S(r);
}
TrayWindows WorkAreaOnly()
{
    TrayWindows f;
    f.rcWorkArea = R(0, 0, 1280, 994);
    return f;
}
}

TEST(TrayRect, HorizontalTaskbarEndsAtTheClocksLeftEdge)
{
    TrayWindows f = WorkAreaOnly();
    f.bTaskbar = TRUE;
    f.rcTaskbar = R(0, 994, 1280, 1024);
    EXPECT_EQ(Compute(f), "0,994,1280,1024");   // no parts found: the whole taskbar
    f.bNotify = TRUE;
    f.rcNotify = R(1100, 996, 1278, 1022);
    EXPECT_EQ(Compute(f), "1100,996,1278,1022");
    f.bClock = TRUE;
    f.rcClock = R(1220, 996, 1278, 1022);
    EXPECT_EQ(Compute(f), "1100,996,1220,1022");
    // A clock without a notification window cuts the taskbar.
    f.bNotify = FALSE;
    EXPECT_EQ(Compute(f), "0,994,1220,1024");
    // A taskbar of two rows with the clock in the upper half is still cut at its left.
    f.rcTaskbar = R(0, 964, 1280, 1024);
    f.bNotify = TRUE;
    f.rcNotify = R(1100, 966, 1278, 1022);
    f.rcClock = R(1220, 970, 1278, 990);
    EXPECT_EQ(Compute(f), "1100,966,1220,1022");
}

TEST(TrayRect, VerticalTaskbarBeginsBelowOrEndsAboveTheClock)
{
    TrayWindows f = WorkAreaOnly();
    f.bTaskbar = TRUE;
    f.rcTaskbar = R(1220, 0, 1280, 1024);
    f.bNotify = TRUE;
    f.rcNotify = R(1222, 900, 1278, 1022);
    f.bClock = TRUE;
    f.rcClock = R(1222, 900, 1278, 920);   // above the icons
    EXPECT_EQ(Compute(f), "1222,920,1278,1022");
    f.rcClock = R(1222, 1002, 1278, 1022);   // below the icons: cut at its top
    EXPECT_EQ(Compute(f), "1222,900,1278,1002");
    f.rcClock = R(1222, 1002, 1278, 1019);   // within 5 pixels of the bottom counts as below
    EXPECT_EQ(Compute(f), "1222,900,1278,1002");
    // Left-hand taskbar, clock below.
    f.rcTaskbar = R(0, 0, 60, 1024);
    f.rcNotify = R(2, 900, 58, 1022);
    f.rcClock = R(2, 1000, 58, 1022);
    EXPECT_EQ(Compute(f), "2,900,58,1000");
}

TEST(TrayRect, AppBarAnswerForEachEdge)
{
    TrayWindows f = WorkAreaOnly();
    f.bAppBar = TRUE;
    f.rcAppBar = R(0, 994, 1280, 1024);
    f.uAppBarEdge = ABE_BOTTOM;
    EXPECT_EQ(Compute(f), "1180,994,1264,1024");
    f.rcAppBar = R(0, 0, 1280, 30);
    f.uAppBarEdge = ABE_TOP;
    EXPECT_EQ(Compute(f), "1180,0,1264,30");
    f.rcAppBar = R(0, 0, 60, 1024);
    f.uAppBarEdge = ABE_LEFT;
    EXPECT_EQ(Compute(f), "0,924,60,1008");
    f.rcAppBar = R(1220, 0, 1280, 1024);
    f.uAppBarEdge = ABE_RIGHT;
    EXPECT_EQ(Compute(f), "1220,924,1280,1008");
    // An edge the shell should not answer: the rectangle is still defined.
    f.uAppBarEdge = 7;
    EXPECT_EQ(Compute(f), "1130,964,1280,994");
}

TEST(TrayRect, WithoutTheShellTheWorkAreasCorner)
{
    TrayWindows f = WorkAreaOnly();
    EXPECT_EQ(Compute(f), "1130,964,1280,994");
    f.rcWorkArea = R(100, 50, 900, 650);
    EXPECT_EQ(Compute(f), "750,620,900,650");
}

namespace {
// Windows of the shell's class names, made by the test.
struct ShellLookalike {
    ShellLookalike()
    {
        Register("Shell_TrayWnd");
        Register("TrayNotifyWnd");
        Register("TrayClockWClass");
        Register("ToolbarWindow32x");   // a sibling of another class
        taskbar = ::CreateWindowExA(WS_EX_TOOLWINDOW, "Shell_TrayWnd", "", WS_POPUP, 0, 994, 1280, 30, nullptr,
                                    nullptr, ::GetModuleHandleA(nullptr), nullptr);
        HWND other = Child("ToolbarWindow32x", taskbar, 0, 0, 900, 30);
        (void)other;
        notify = Child("TrayNotifyWnd", taskbar, 1100, 2, 178, 26);
        clock = Child("TrayClockWClass", notify, 120, 0, 58, 26);
    }
    ~ShellLookalike()
    {
        if (taskbar) ::DestroyWindow(taskbar);
        for (const char* c : { "Shell_TrayWnd", "TrayNotifyWnd", "TrayClockWClass", "ToolbarWindow32x" })
            ::UnregisterClassA(c, ::GetModuleHandleA(nullptr));
    }
    static void Register(const char* name)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = name;
        ::RegisterClassA(&wc);
    }
    static HWND Child(const char* cls, HWND parent, int x, int y, int cx, int cy)
    {
        return ::CreateWindowExA(0, cls, "", WS_CHILD, x, y, cx, cy, parent, nullptr, ::GetModuleHandleA(nullptr),
                                 nullptr);
    }
    HWND taskbar = nullptr, notify = nullptr, clock = nullptr;
};
}

TEST(TrayRect, FindsTheShellsWindowsByTheirClasses)
{
    ShellLookalike shell;
    ASSERT_NE(shell.clock, nullptr);
    TrayWindows f;
    ReadTaskbarWindows(shell.taskbar, &f);
    ASSERT_TRUE(f.bTaskbar);
    EXPECT_EQ(S(f.rcTaskbar), "0,994,1280,1024");
    ASSERT_TRUE(f.bNotify);
    EXPECT_EQ(S(f.rcNotify), "1100,996,1278,1022");
    ASSERT_TRUE(f.bClock);
    EXPECT_EQ(S(f.rcClock), "1220,996,1278,1022");
    EXPECT_EQ(Compute(f), "1100,996,1220,1022");

    // What this desktop has, whatever it is, gives a usable rectangle.
    TrayWindows here;
    FindTrayWindows(&here);
    RECT work;
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(S(here.rcWorkArea), S(work));
    RECT r;
    GetTrayRect(&r);
    EXPECT_FALSE(::IsRectEmpty(&r)) << S(r);
}

TEST(TrayRect, EmptyRectanglesOfTheShellAreNotUsed)
{
    // A hidden taskbar of no size (as Wine keeps without a desktop window)
    // and an app-bar answer of no size fall through to the work area.
    TrayWindows f = WorkAreaOnly();
    f.bTaskbar = TRUE;
    f.rcTaskbar = R(0, 0, 0, 0);
    EXPECT_EQ(Compute(f), "1130,964,1280,994");
    f.bAppBar = TRUE;
    f.uAppBarEdge = ABE_LEFT;
    EXPECT_EQ(Compute(f), "1130,964,1280,994");
    f.rcAppBar = R(0, 0, 60, 994);
    EXPECT_EQ(Compute(f), "0,894,60,978");
}

