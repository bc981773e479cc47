// Opens and closes the running program's settings sheet through its
// commands, for scripts/sheet-memory.sh, which measures the program's memory
// between the rounds.
//
//   sheet_driver.exe COMMAND VISIT CLOSE CYCLES STEP
//
// COMMAND: settings, statistics or about (the main window's commands);
// VISIT: the page indexes to show after the start page ("" or "-" for
// none; "012345" is every page of a sheet without the welcome page);
// CLOSE: ok or cancel. After every STEP cycles (and before the first) the
// driver prints "AT n" and waits for a line on its input before going on;
// "DONE n" at the end. The program's main window is found by its title and
// view, in any process of the prefix.
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>

namespace {

const UINT kSettings = 32771, kStatistics = 32775, kAbout = 0xE140, kPaneFirst = 0xE900;

BOOL CALLBACK FindMain(HWND h, LPARAM lp)
{
    char title[64] = "";
    ::GetWindowTextA(h, title, sizeof(title));
    if (strcmp(title, "Kestrabel") == 0 && ::GetDlgItem(h, kPaneFirst)) { *(HWND*)lp = h; return FALSE; }
    return TRUE;
}

struct SheetSearch { DWORD pid; HWND found; };

BOOL CALLBACK FindSheet(HWND h, LPARAM lp)
{
    SheetSearch* s = (SheetSearch*)lp;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(h, &pid);
    char cls[16] = "";
    ::GetClassNameA(h, cls, sizeof(cls));
    if (pid == s->pid && strcmp(cls, "#32770") == 0 && ::IsWindowVisible(h) &&
        ::FindWindowExA(h, nullptr, "SysTabControl32", nullptr)) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

HWND WaitFor(DWORD pid, DWORD ms)
{
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < ms; ::Sleep(2)) {
        SheetSearch s = { pid, nullptr };
        ::EnumWindows(FindSheet, (LPARAM)&s);
        if (s.found) return s.found;
    }
    return nullptr;
}

bool WaitGone(HWND h, DWORD ms)
{
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < ms; ::Sleep(2))
        if (!::IsWindow(h)) return true;
    return false;
}

void Checkpoint(const char* what, int n)
{
    printf("%s %d\n", what, n);
    fflush(stdout);
    char line[64];
    if (!fgets(line, sizeof(line), stdin)) exit(0);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 6) {
        fprintf(stderr, "usage: sheet_driver COMMAND VISIT ok|cancel CYCLES STEP\n");
        return 2;
    }
    std::string what = argv[1], visit = argv[2];
    if (visit == "-") visit.clear();
    bool ok = strcmp(argv[3], "ok") == 0;
    int cycles = atoi(argv[4]), step = atoi(argv[5]);
    UINT command = what == "statistics" ? kStatistics : what == "about" ? kAbout : kSettings;

    HWND hMain = nullptr;
    for (int i = 0; i < 600 && !hMain; ++i) {
        ::EnumWindows(FindMain, (LPARAM)&hMain);
        if (!hMain) ::Sleep(100);
    }
    if (!hMain) { fprintf(stderr, "sheet_driver: no main window\n"); return 1; }
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hMain, &pid);

    for (int i = 0; i < cycles; ++i) {
        if (step > 0 && i % step == 0) Checkpoint("AT", i);
        ::PostMessageA(hMain, WM_COMMAND, command, 0);
        HWND hSheet = WaitFor(pid, 20000);
        if (!hSheet) { fprintf(stderr, "sheet_driver: no sheet at cycle %d\n", i); return 1; }
        for (char c : visit) {
            DWORD_PTR r = 0;
            ::SendMessageTimeoutA(hSheet, PSM_SETCURSEL, (WPARAM)(c - '0'), 0, SMTO_NORMAL, 20000, &r);
        }
        ::PostMessageA(hSheet, PSM_PRESSBUTTON, ok ? PSBTN_OK : PSBTN_CANCEL, 0);
        if (!WaitGone(hSheet, 20000)) { fprintf(stderr, "sheet_driver: the sheet stays at cycle %d\n", i); return 1; }
    }
    Checkpoint("DONE", cycles);
    return 0;
}
