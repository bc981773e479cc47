// Cost of the main frame's one-second tick: a simulated day (86,400 ticks)
// of work periods, breaks, idle spells and a midnight, driven through the
// scripted world with the real icon drawing. Prints the median and 99th
// percentile of a tick without and with an icon redraw, and the process's
// private bytes before and after the day. Two more days repeat it with the
// shell's tray answering at once, which leaves the program's own cost.
#include "support/FakeWorld.h"
#include "support/TestSupport.h"
#include "engine/MainFrame.h"
#include "engine/DayCounters.h"
#include "app/Kestrabel.h"
#include "app/Settings.h"
#include "tray/TrayNotifyIcon.h"
#include <psapi.h>
#include <algorithm>
#include <stdio.h>
#include <vector>

static int AnswerYes(HWND, const char*, const char*, UINT) { return IDYES; }
static BOOL InstantShell(DWORD, NOTIFYICONDATAA*) { return TRUE; }

static double Percentile(std::vector<double>& v, double p)
{
    if (v.empty()) return 0;
    size_t i = (size_t)(p * (double)(v.size() - 1) + 0.5);
    std::nth_element(v.begin(), v.begin() + i, v.end());
    return v[i];
}

int main()
{
    if (g_hInstanceMutex) {
        ::CloseHandle(g_hInstanceMutex);
        g_hInstanceMutex = nullptr;
    }
    AfxWinInit(::GetModuleHandleA(nullptr));
    g_pfnMessageBoxHook = AnswerYes;

    FakeWorld world;
    world.SetLocal(2026, 3, 10, 12, 0, 0);
    BreakSettings& bs = g_breakSettings;
    bs.aBreaks[BREAK_SHORT].nDuration = 120;
    bs.aBreaks[BREAK_LONG].nDuration = 300;
    // Message windows: a balloon replaces the whole tray icon each time.
    for (BreakSpec& spec : bs.aBreaks) spec.nAlertType = ALERT_MESSAGE_BOX;
    bs.aBreaks[BREAK_MICRO].bEnabled = true;
    g_dayCounters.StartDay();

    g_trackKeyboard = g_trackMouse = false;           // no real hooks
    CMainFrame* frame = new CMainFrame;
    if (!frame->Create(nullptr, "Kestrabel", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, nullptr, nullptr)) {
        printf("cannot create the main frame\n");
        return 1;
    }
    g_trackKeyboard = g_trackMouse = true;
    frame->KillTimer(TIMER_TICK);
    frame->m_ptLastCursor = world.cursor;

    LARGE_INTEGER freq;
    ::QueryPerformanceFrequency(&freq);
    auto micros = [&](const LARGE_INTEGER& a, const LARGE_INTEGER& b) {
        return (double)(b.QuadPart - a.QuadPart) * 1e6 / (double)freq.QuadPart;
    };
    const int kDay = 86400;
    std::vector<double> plain, redraw;
    plain.reserve(kDay);
    redraw.reserve(kDay);

    // A simulated second: the user works (a key press) unless in an idle
    // spell; t counts from noon, so each day crosses a midnight.
    auto tick = [&](int t, bool measure) {
        int inCycle = t % 7200;                       // two-hour cycles
        bool idle = inCycle >= 6000 || (t % kDay >= 50400 && t % kDay < 57600);   // 20 min; 2 night hours
        if (!idle) {
            ++world.keyStrokes;
            if (t % 97 == 0) world.cursor.x ^= 1;
        }
        world.Advance(1);
        unsigned before = frame->m_nRedraws;
        LARGE_INTEGER a, b;
        ::QueryPerformanceCounter(&a);
        frame->OnTick();
        ::QueryPerformanceCounter(&b);
        if (measure) (frame->m_nRedraws != before ? redraw : plain).push_back(micros(a, b));
    };

    int t = 0;
    for (; t < 600; ++t) tick(t, false);              // warm-up
    const char* source = "";
    SIZE_T first = PrivateBytes(&source);
    printf("private bytes measured as: %s\n", source);

    // Day 1 with the shell's own tray, days 2 and 3 with the shell answering
    // at once (what the program's own code costs).
    for (int day = 0; day < 3; ++day) {
        if (day == 1) g_pfnShellNotifyIcon = InstantShell;
        plain.clear();
        redraw.clear();
        int breaks = g_dayCounters.nBreaks;
        SIZE_T before = PrivateBytes();
        for (int end = t + kDay; t < end; ++t) tick(t, true);
        SIZE_T after = PrivateBytes();
        printf("day %d, %s:\n", day + 1, day == 0 ? "the shell's tray" : "the shell answering at once");
        printf("  ticks %d (%zu without a redraw, %zu with one), breaks %d\n", kDay, plain.size(), redraw.size(),
               g_dayCounters.nBreaks - breaks);
        printf("  plain tick:  median %.2f us, 99th percentile %.2f us\n", Percentile(plain, 0.5),
               Percentile(plain, 0.99));
        printf("  redraw tick: median %.2f us, 99th percentile %.2f us\n", Percentile(redraw, 0.5),
               Percentile(redraw, 0.99));

        // The two halves of a redraw: drawing into the bitmap, and making an
        // icon of it for the shell.
        std::vector<double> draw, shell;
        for (int i = 0; i < 500; ++i) {
            LARGE_INTEGER a, b, c;
            ::QueryPerformanceCounter(&a);
            frame->DrawTrayIcon();
            ::QueryPerformanceCounter(&b);
            g_trayIcon.SetIconFromBitmap(&frame->m_bmpIcon);
            ::QueryPerformanceCounter(&c);
            draw.push_back(micros(a, b));
            shell.push_back(micros(b, c));
        }
        printf("  of a redraw: drawing median %.2f us (99th %.2f us), icon to the shell median %.2f us (99th %.2f us)\n",
               Percentile(draw, 0.5), Percentile(draw, 0.99), Percentile(shell, 0.5), Percentile(shell, 0.99));
        printf("  private bytes: before %zu, after %zu, growth %lld\n", (size_t)before, (size_t)after,
               (long long)after - (long long)before);
    }
    SIZE_T last = PrivateBytes();
    printf("private bytes over the three days: %zu -> %zu, growth %lld\n", (size_t)first, (size_t)last,
           (long long)last - (long long)first);

    g_pfnShellNotifyIcon = nullptr;
    frame->CloseAlerts();
    g_trayIcon.RemoveIcon();
    frame->DestroyWindow();
    return 0;
}
