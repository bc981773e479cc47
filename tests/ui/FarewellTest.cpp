// The first run's farewell: the balloon once, when the first sheet goes.
#include "support/TestSupport.h"
#include "support/FakeWorld.h"
#include "tray/TraySupport.h"
#include "engine/MainFrame.h"
#include "app/Settings.h"
#include "ui/SettingsSheet.h"
#include <gtest/gtest.h>

namespace {
void CALLBACK CancelSheet(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND sheet = ::GetActiveWindow();
    if (!sheet || !::SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0)) return;
    ::KillTimer(nullptr, id);
    ::PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

void RunAndCancel(BOOL welcome)
{
    UINT_PTR t = ::SetTimer(nullptr, 0, 50, CancelSheet);
    RunSettingsSheetModal(AfxGetMainWnd(), 0, welcome);
    ::KillTimer(nullptr, t);
}
}

TEST(Farewell, TheFirstRunsSheetLeavesOneBalloon)
{
    FakeWorld world;
    MessageBoxRecorder boxes;
    ShellRecorder shell;
    PFN_DRAWANIMATEDRECTS savedZoom = g_pfnDrawAnimatedRects;
    g_pfnDrawAnimatedRects = [](HWND, int, const RECT*, const RECT*) -> BOOL { return TRUE; };
    CMainFrame* frame = new CMainFrame;
    ASSERT_TRUE(frame->Create(nullptr, "Kestrabel", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, nullptr, nullptr));
    AfxGetApp()->m_pMainWnd = frame;
    bool firstRun = g_firstRun;
    g_firstRun = true;

    shell.calls.clear();
    RunAndCancel(TRUE);
    std::vector<ShellCall> balloons;
    for (const ShellCall& c : shell.Of(NIM_ADD))
        if (c.nid.uFlags & NIF_INFO) balloons.push_back(c);
    ASSERT_EQ(balloons.size(), 1u);
    EXPECT_STREQ(balloons[0].nid.szInfoTitle, "Kestrabel");
    EXPECT_EQ(std::string(balloons[0].nid.szInfo).substr(0, 48), "Kestrabel will continue to run in the background");
    EXPECT_FALSE(g_firstRun);

    // A later sheet of the same run says nothing.
    shell.calls.clear();
    RunAndCancel(FALSE);
    for (const ShellCall& c : shell.calls) EXPECT_FALSE(c.nid.uFlags & NIF_INFO);

    AfxGetApp()->m_pMainWnd = nullptr;
    frame->DestroyWindow();
    g_firstRun = firstRun;
    g_pfnDrawAnimatedRects = savedZoom;
}
