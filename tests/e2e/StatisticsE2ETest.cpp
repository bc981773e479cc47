// The real program's Statistics page: opened from the tray menu's command,
// its rows, Clear followed by Cancel, and the automatic clearing at a time of
// day set through "When?". With KS_SHOT_DIR set, each step leaves a file
// named after it there and waits until a script has taken a screenshot and
// removed it.
#include "support/Harness.h"
#include "res/resource.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <stdio.h>

namespace {
void Shot(const char* name)
{
    char dir[MAX_PATH] = "";
    if (!::GetEnvironmentVariableA("KS_SHOT_DIR", dir, sizeof(dir))) return;
    std::string marker = std::string(dir) + "\\" + name;
    WriteFileBytes(marker, "");
    for (int i = 0; i < 100 && FileExistsA(marker); ++i) ::Sleep(100);
}

// The control nID of a visible window of the process (of that caption when
// one is given).
HWND WaitForControl(const ProgramRun& run, const char* caption, int nID)
{
    for (int i = 0; i < 100; ++i, ::Sleep(100))
        for (HWND h : WindowsOfProcess(run.pi.dwProcessId)) {
            char text[64] = "";
            ::GetWindowTextA(h, text, sizeof(text));
            if (!::IsWindowVisible(h) || (caption && strcmp(text, caption) != 0)) continue;
            struct Find { int id; HWND found; } f = { nID, nullptr };
            ::EnumChildWindows(h, [](HWND c, LPARAM lp) -> BOOL {
                Find* f = (Find*)lp;
                if (::GetDlgCtrlID(c) == f->id && ::IsWindowVisible(c)) { f->found = c; return FALSE; }
                return TRUE;
            }, (LPARAM)&f);
            if (f.found) return f.found;
        }
    return nullptr;
}

// Starts the program and opens the sheet from the tray menu's command; the
// Statistics page's list, NULL when it did not show.
HWND OpenStatistics(ProgramRun& run)
{
    if (!run.Start() || !run.WaitForMainWindow()) return nullptr;
    run.Post(WM_COMMAND, ID_TRAY_STATISTICS);
    return WaitForControl(run, nullptr, IDC_STATS_LIST);
}

void Click(HWND button) { ::PostMessageA(button, BM_CLICK, 0, 0); ::Sleep(700); }

// Counters.dat: the date, then breaks, daily, postpones, idle, total, work, session.
void WriteCounters(ProgramRun& run, const char* values)
{
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    char text[160];
    snprintf(text, sizeof(text), "%d-%d-%d\r\n%s\r\n", st.wYear, st.wMonth, st.wDay, values);
    ::CreateDirectoryA(run.dir.File("Data").c_str(), nullptr);
    WriteFileBytes(run.dir.File("Data\\Counters.dat"), text);
}

void Prepare(ProgramRun& run, bool hooks)
{
    run.SetIniValue("FontSize", "80");
    run.SetIniValue("AutoCheckForUpdates", "0");
    run.SetIniValue("AutoZeroEnabled", "0");
    if (!hooks) {
        ::DeleteFileA(run.dir.File("tapvex.dll").c_str());
        run.SetIniValue("DayBreaks enabled", "0");
    }
}
}  // namespace

TEST(StatisticsE2E, RowsThenClearAndCancelKeepTheClearing)
{
    for (bool hooks : { true, false }) {
        SCOPED_TRACE(hooks ? "with the hook library" : "without it, no daily limit");
        ProgramRun run;
        Prepare(run, hooks);
        if (!hooks) run.SetIniValue("Language", "German");
        WriteCounters(run, "4;7200;2;1800;11100;7200;999");
        HWND list = OpenStatistics(run);
        ASSERT_TRUE(list);
        EXPECT_EQ(hooks ? 9 : 6, (int)::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        Shot(hooks ? "page.png" : "page-german.png");
        HWND page = ::GetParent(list);
        Click(::GetDlgItem(page, IDC_STATS_CLEAR));
        Shot(hooks ? "cleared.png" : "cleared-german.png");
        if (!hooks) {
            Click(::GetDlgItem(page, IDC_STATS_AUTOCLEAR));
            Click(::GetDlgItem(page, IDC_STATS_WHEN));
            HWND at = WaitForControl(run, nullptr, IDC_AUTOCLEAR_AT);
            ASSERT_TRUE(at);
            Shot("dialog-nolib.png");
            ::PostMessageA(::GetParent(at), WM_COMMAND, IDCANCEL, 0);
            ::Sleep(500);
        }
        ::PostMessageA(::GetParent(page), WM_COMMAND, IDCANCEL, 0);
        ::Sleep(500);
        ASSERT_TRUE(run.Exit());
        Counters c = ReadDayCounters(run);
        EXPECT_EQ(0, c.breaks);
        EXPECT_EQ(0, c.postpones);
        EXPECT_LE(c.total, 30);        // the seconds since the clearing
        EXPECT_GE(c.session, 999);     // kept
    }
}

TEST(StatisticsE2E, ClearsAtTheTimeChosenThroughWhen)
{
    ProgramRun run;
    Prepare(run, true);
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    // Far enough ahead to close the windows first, and never past midnight.
    int minutes = st.wHour * 60 + st.wMinute + (st.wSecond < 30 ? 1 : 2);
    if (minutes >= 24 * 60) GTEST_SKIP() << "too close to midnight";
    int hhmm = minutes / 60 * 100 + minutes % 60;
    run.SetIniValue("AutoZeroTime", std::to_string(hhmm));
    run.SetIniValue("AutoZeroMode", "0");
    // Past the daily limit (which is off, so no alert comes): the red slice.
    run.SetIniValue("DayBreaks enabled", "0");
    WriteCounters(run, "4;31000;2;1800;11100;7200;999");
    HWND list = OpenStatistics(run);
    ASSERT_TRUE(list);
    Shot("overtime.png");
    HWND page = ::GetParent(list), sheet = ::GetParent(page);
    Click(::GetDlgItem(page, IDC_STATS_AUTOCLEAR));
    Click(::GetDlgItem(page, IDC_STATS_WHEN));
    HWND at = WaitForControl(run, nullptr, IDC_AUTOCLEAR_AT);
    ASSERT_TRUE(at);
    Shot("dialog-after.png");
    Click(at);
    Shot("dialog-at.png");
    ::PostMessageA(::GetParent(at), WM_COMMAND, IDOK, 0);
    ::Sleep(500);
    ::PostMessageA(sheet, WM_COMMAND, IDOK, 0);
    // Until two seconds into the minute after the chosen one.
    for (;;) {
        ::GetLocalTime(&st);
        if (st.wHour * 60 + st.wMinute > minutes) break;
        ::Sleep(500);
    }
    ASSERT_TRUE(run.Exit());
    Counters c = ReadDayCounters(run);
    EXPECT_EQ(0, c.breaks);
    EXPECT_LE(c.total, 60);
    EXPECT_EQ("1", run.IniValue("AutoZeroEnabled"));
    EXPECT_EQ("1", run.IniValue("AutoZeroMode"));
    EXPECT_EQ(std::to_string(hhmm), run.IniValue("AutoZeroTime"));
}
