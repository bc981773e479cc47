// The first run's farewell: the balloon once, when the first sheet goes.
#include "ui/UiTest.h"
#include "support/FakeWorld.h"
#include "tray/TraySupport.h"
#include "engine/MainFrame.h"
#include "app/Settings.h"
#include "ui/SettingsSheet.h"
#include <gtest/gtest.h>

TEST(Farewell, TheFirstRunsSheetLeavesOneBalloon)
{
    FakeWorld world;
    MessageBoxRecorder boxes;
    ShellRecorder shell;
    Keep keep{ g_pfnDrawAnimatedRects, g_firstRun };
    g_pfnDrawAnimatedRects = [](HWND, int, const RECT*, const RECT*) WINAPI -> BOOL { return TRUE; };
    RealMainFrame main;
    g_firstRun = true;
    auto runAndCancel = [](BOOL welcome) {
        WhenShown(ActiveSheet, [](HWND sheet) { ::PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0); });
        RunSettingsSheetModal(AfxGetMainWnd(), 0, welcome);
    };

    shell.calls.clear();
    runAndCancel(TRUE);
    std::vector<ShellCall> balloons;
    for (const ShellCall& c : shell.Of(NIM_ADD))
        if (c.nid.uFlags & NIF_INFO) balloons.push_back(c);
    ASSERT_EQ(balloons.size(), 1u);
    EXPECT_STREQ(balloons[0].nid.szInfoTitle, "Kestrabel");
    EXPECT_EQ(std::string(balloons[0].nid.szInfo).substr(0, 48), "Kestrabel will continue to run in the background");
    EXPECT_FALSE(g_firstRun);

    // A later sheet of the same run says nothing.
    shell.calls.clear();
    runAndCancel(FALSE);
    for (const ShellCall& c : shell.calls) EXPECT_FALSE(c.nid.uFlags & NIF_INFO);
}
