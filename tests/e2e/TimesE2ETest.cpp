// The real program: a break setting changed on the Times page of the sheet
// that a click on the tray icon opens, up to the settings store and the
// break it brings.
#include "support/Harness.h"
#include "app/Messages.h"
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>

namespace {
// Opens the sheet by a click on the icon, types text into the Times page's
// row at listRow and closes the sheet with OK.
void EditRow(ProgramRun& run, int listRow, const char* text)
{
    ASSERT_TRUE(run.Post(WM_TRAY_NOTIFY, 131, WM_LBUTTONUP));
    HWND sheet = run.WaitForSheet();
    ASSERT_NE(sheet, nullptr);
    HWND page = (HWND)::SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
    HWND list = ::GetDlgItem(page, 1056);
    ASSERT_NE(list, nullptr);
    ::SendMessageA(list, LB_SETCURSEL, listRow, 0);
    ::SendMessageA(page, WM_COMMAND, MAKEWPARAM(1056, LBN_SELCHANGE), (LPARAM)list);
    HWND editor = ::FindWindowExA(list, nullptr, "Edit", nullptr);
    ASSERT_NE(editor, nullptr);
    // Typed: an editor left without typing keeps the value.
    ::SendMessageA(editor, EM_SETSEL, 0, -1);
    for (const char* c = text; *c; ++c) ::SendMessageA(editor, WM_CHAR, (unsigned char)*c, 1);
    ::SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
    ::PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    for (DWORD start = ::GetTickCount(); ::IsWindow(sheet) && ::GetTickCount() - start < 5000;) ::Sleep(50);
    EXPECT_FALSE(::IsWindow(sheet));
}

bool IniBecomes(ProgramRun& run, const char* key, const char* value, DWORD ms)
{
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < ms; ::Sleep(50))
        if (run.IniValue(key) == value) return true;
    return run.IniValue(key) == value;
}
}

TEST(TimesE2E, ASettingChangedOnTheTimesPageIsSavedAtOnce)
{
    ProgramRun run;
    run.SetIniValue("FontSize", "80");   // not the first run: no welcome page
    ASSERT_TRUE(run.Start());
    ASSERT_NE(run.WaitForMainWindow(), nullptr);

    EditRow(run, 7, "1 minute(s)");              // Short Breaks, "Once every"
    EXPECT_TRUE(IniBecomes(run, "Delay", "1", 2000));
    EditRow(run, 21, "23:59 hour(s)");           // "Daily work limit"
    EXPECT_TRUE(IniBecomes(run, "Daily limit", "1439", 2000));
    for (const char* refused : {"0:00", "25", "4294967297"}) {
        EditRow(run, 21, refused);
        ::Sleep(500);
        EXPECT_EQ(run.IniValue("Daily limit"), "1439") << refused;
    }
    EXPECT_TRUE(run.Exit());
}

// Waits out the minute of work: CTest runs it as a program of its own
// (KS_BREAK_MINUTE set), beside the others.
TEST(TimesE2E, OnceEverySetToOneBringsTheBreakWithinSeventySeconds)
{
    if (!getenv("KS_BREAK_MINUTE")) GTEST_SKIP() << "run on its own by CTest (test_e2e_break_minute)";
    ProgramRun run;
    run.SetIniValue("FontSize", "80");
    run.SetIniValue("AutoCheckForUpdates", "0");
    ASSERT_TRUE(run.Start());
    ASSERT_NE(run.WaitForMainWindow(), nullptr);

    EditRow(run, 7, "1 minute(s)");
    DWORD applied = ::GetTickCount();
    HWND lock = nullptr;   // the short break's screen lock
    while (!lock && ::GetTickCount() - applied < 70000) {
        ::Sleep(250);
        for (HWND h : WindowsOfProcess(run.pi.dwProcessId))
            if (h != run.hMain && ::IsWindowVisible(h)) lock = h;
    }
    ASSERT_NE(lock, nullptr) << "no break within 70 s";
    DWORD took = ::GetTickCount() - applied;
    EXPECT_GE(took, 55000u);
    printf("the break came %lu ms after OK\n", took);
    ASSERT_TRUE(run.Exit());
    EXPECT_EQ(1, ReadDayCounters(run).breaks);
}
