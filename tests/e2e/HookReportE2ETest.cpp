// The real program with a hook library that lacks its exports: the box that
// says so comes in the user's language, and only from the first instance.
#include "support/Harness.h"
#include <gtest/gtest.h>

namespace {
struct BoxSearch {
    std::string text;
};

BOOL CALLBACK FindText(HWND h, LPARAM lp)
{
    char cls[16] = "", text[256] = "";
    ::GetClassNameA(h, cls, sizeof(cls));
    ::GetWindowTextA(h, text, sizeof(text));
    if (lstrcmpiA(cls, "Static") == 0 && text[0]) ((BoxSearch*)lp)->text = text;
    return TRUE;
}

// A message box of process pid, with its text; NULL when none is open.
HWND FindBox(DWORD pid, std::string& text)
{
    for (HWND h : WindowsOfProcess(pid)) {
        char cls[16] = "";
        ::GetClassNameA(h, cls, sizeof(cls));
        if (strcmp(cls, "#32770") != 0 || !::IsWindowVisible(h)) continue;
        BoxSearch s;
        ::EnumChildWindows(h, FindText, (LPARAM)&s);
        text = s.text;
        return h;
    }
    return nullptr;
}
}

// A copy of the program whose hook library loads but exports none of the
// calls, set to German on a run after the first.
static void PrepareBrokenHooks(ProgramRun& run)
{
    ASSERT_TRUE(::CopyFileA(run.dir.File("Kestrabel.exe").c_str(), run.dir.File("tapvex.dll").c_str(), FALSE));
    run.SetIniValue("FontSize", "80");
    run.SetIniValue("Language", "German");
}

TEST(HookReportE2E, TranslatedAfterTheSettingsAndOnlyInTheFirstInstance)
{
    ProgramRun run;
    PrepareBrokenHooks(run);
    ASSERT_TRUE(run.Start());

    std::string text;
    HWND box = nullptr;
    for (DWORD start = ::GetTickCount(); !box && ::GetTickCount() - start < 10000;) {
        box = FindBox(run.pi.dwProcessId, text);
        if (!box) ::Sleep(50);
    }
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(text, "Tastatur- und Maus-Hooks konnten nicht eingerichtet werden");

    // A second copy while the box is open: it ends at once, showing nothing.
    ProgramRun second;
    PrepareBrokenHooks(second);
    ASSERT_TRUE(second.Start());
    EXPECT_TRUE(second.WaitForExit(5000));

    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_NE(run.WaitForMainWindow(), nullptr);
    EXPECT_TRUE(run.Exit());
}
