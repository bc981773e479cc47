// Messages whose parameters are pointers are only ever sent; posted from
// another process with pointers that mean nothing there, the program
// ignores them and runs on unchanged.
#include "support/Harness.h"
#include "controls/Property.h"
#include "res/resource.h"
#include <gtest/gtest.h>

namespace {
HWND WaitForDashboard(const ProgramRun& run)
{
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < 10000; ::Sleep(50))
        for (HWND h : WindowsOfProcess(run.pi.dwProcessId)) {
            char title[64] = "";
            ::GetWindowTextA(h, title, sizeof(title));
            if (strcmp(title, " Kestrabel Dashboard") == 0 && ::IsWindowVisible(h)) return h;
        }
    return nullptr;
}
}  // namespace

// Each message in a run of its own: the main window's, the dashboard's and
// the Times page's property list's.
TEST(PostedPointersE2E, BogusPointersFromAnotherProcessAreIgnored)
{
    ProgramRun run;
    run.SetIniValue("FontSize", "80");   // not the first run: no welcome page
    run.SetIniValue("AutoCheckForUpdates", "0");
    run.SetIniValue("DashBoardPinned", "1");   // the dashboard shows from the start
    ASSERT_TRUE(run.Start());
    ASSERT_NE(run.WaitForMainWindow(), nullptr);
    ASSERT_NE(WaitForDashboard(run), nullptr);
    ASSERT_TRUE(run.Exit());
    const std::string before = run.Ini();

    for (const char* target : { "main window", "dashboard", "property list" }) {
        SCOPED_TRACE(target);
        ASSERT_TRUE(run.Start());
        ASSERT_NE(run.WaitForMainWindow(), nullptr);
        HWND to = target[0] == 'm' ? run.hMain : WaitForDashboard(run), sheet = nullptr;
        UINT msg = WM_NOTIFY;
        WPARAM wp = 0;
        LPARAM lp = 1;
        if (target[0] == 'p') {
            // A row's own item, with its new value at address 0x10.
            ASSERT_TRUE(run.Post(WM_COMMAND, ID_TRAY_SETTINGS));
            ASSERT_NE(sheet = run.WaitForSheet(), nullptr);
            to = ::GetDlgItem((HWND)::SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0), IDC_TIMES_LIST);
            ASSERT_NE(to, nullptr);
            msg = WM_PROPLIST_CHANGED;
            wp = 0x10;
            lp = ::SendMessageA(to, LB_GETITEMDATA, 7, 0);
            ASSERT_TRUE(lp != 0 && lp != LB_ERR);
        }
        ASSERT_NE(to, nullptr);
        ASSERT_TRUE(::PostMessageA(to, msg, wp, lp));
        // A thread takes posted messages in the order they came: the sheet
        // opens, or closes, only after the message before was dealt with.
        if (!sheet && run.Post(WM_COMMAND, ID_TRAY_SETTINGS)) sheet = run.WaitForSheet(20000);
        DWORD_PTR answer;
        bool alive = sheet && run.CloseSheet(20000) && !run.WaitForExit(0)
                     && ::SendMessageTimeoutA(run.hMain, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 15000, &answer);
        if (!alive || !run.Exit()) {
            ADD_FAILURE() << "the program died or hangs";
            run.Kill();
            continue;
        }
        EXPECT_EQ(run.Ini(), before);
    }
}
