// The Sound, Tracking and Misc pages in the real program: values reach the
// INI file soon after OK, and the Startup shortcut appears in the prefix's
// Startup folder and goes again.
#include "support/Harness.h"
#include "res/resource.h"
#include <gtest/gtest.h>
#include <shlobj.h>
#include <string>

namespace {
// Shows the sheet's page with the caption; its window, NULL when there is none.
HWND ShowPage(HWND sheet, const char* caption)
{
    for (int i = 0; i < 9; ++i) {
        if (!::SendMessageA(sheet, PSM_SETCURSEL, i, 0)) continue;
        HWND page = (HWND)::SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
        char text[64] = "";
        ::GetWindowTextA(page, text, sizeof(text));
        if (strcmp(text, caption) == 0) return page;
    }
    return nullptr;
}

HWND OpenSheet(ProgramRun& run)
{
    if (!run.Start() || !run.WaitForMainWindow()) return nullptr;
    if (run.WaitForSheet(3000)) run.CloseSheet();   // the first run's welcome
    run.Post(WM_COMMAND, ID_TRAY_SETTINGS);
    return run.WaitForSheet();
}

bool WaitFor(const std::function<bool()>& cond, DWORD ms)
{
    for (DWORD t = ::GetTickCount(); ::GetTickCount() - t < ms; ::Sleep(50))
        if (cond()) return true;
    return cond();
}
}  // namespace

TEST(PagesE2E, SoundAndTrackingReachTheIniSoonAfterOk)
{
    ProgramRun run;
    HWND sheet = OpenSheet(run);
    ASSERT_NE(nullptr, sheet);
    HWND sound = ShowPage(sheet, "Sound");
    ASSERT_NE(nullptr, sound);
    ::SendDlgItemMessageA(sound, IDC_SOUND_START, BM_CLICK, 0, 0);
    ::SetDlgItemTextA(sound, IDC_SOUND_END_FILE, "C:\\chime.wav");
    HWND tracking = ShowPage(sheet, "Tracking");
    ASSERT_NE(nullptr, tracking);
    ::SetDlgItemTextA(tracking, IDC_TRACK_PAUSE_DELAY, "17");
    ::SetDlgItemTextA(tracking, IDC_TRACK_LOCK_DELAY, "300");
    std::string before = run.IniValue("UseSoundPauseStart");
    ::PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    // Saved once the sheet has gone; without a window manager Wine spends
    // about two seconds hiding a captioned window, hence the margin.
    EXPECT_TRUE(run.WaitForIniValue("PauseDelay", "17", 6000));
    EXPECT_EQ("300", run.IniValue("LockOnInactivityDelay"));
    EXPECT_EQ("C:\\chime.wav", run.IniValue("SoundFilePauseEnd"));
    EXPECT_NE(before, run.IniValue("UseSoundPauseStart"));
    EXPECT_TRUE(run.Exit());
}

TEST(PagesE2E, StartupShortcutComesAndGoes)
{
    char folder[MAX_PATH] = "";
    ASSERT_TRUE(::SHGetSpecialFolderPathA(nullptr, folder, CSIDL_STARTUP, FALSE));
    std::string link = std::string(folder) + "\\Kestrabel.lnk";
    ::DeleteFileA(link.c_str());
    ProgramRun run;
    for (bool on : { true, false }) {
        HWND sheet = run.hMain ? (run.Post(WM_COMMAND, ID_TRAY_SETTINGS), run.WaitForSheet()) : OpenSheet(run);
        ASSERT_NE(nullptr, sheet);
        HWND misc = ShowPage(sheet, "Misc");
        ASSERT_NE(nullptr, misc);
        EXPECT_EQ(!on, ::IsDlgButtonChecked(misc, IDC_MISC_AUTORUN) == BST_CHECKED);
        ::SendDlgItemMessageA(misc, IDC_MISC_AUTORUN, BM_CLICK, 0, 0);
        ::PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        EXPECT_TRUE(WaitFor([&] { return FileExistsA(link) == on; }, 3000)) << on;
        EXPECT_TRUE(WaitFor([&] { return run.FindSheet() == nullptr; }, 3000));
    }
    EXPECT_TRUE(run.Exit());
}
