// The real program steered through its tray callback: click shortcuts with
// modifier keys, and the tray menu's Exit. They run in a virtual desktop
// (tests/e2e/in_desktop.sh), whose taskbar shows the program's icon: what the
// icon shows is read from the screen.
#include "support/Harness.h"
#include "res/resource.h"
#include "app/Messages.h"
#include <gtest/gtest.h>
#include <algorithm>

namespace {
// Sends a tray click to the program while the given keys are down in its
// thread's keyboard state (shared for the moment through attached input).
void ClickWithKeys(ProgramRun& run, std::initializer_list<int> keys)
{
    DWORD target = ::GetWindowThreadProcessId(run.hMain, nullptr);
    DWORD self = ::GetCurrentThreadId();
    ASSERT_TRUE(::AttachThreadInput(self, target, TRUE));
    BYTE state[256];
    ::GetKeyboardState(state);
    BYTE saved[256];
    memcpy(saved, state, sizeof(state));
    for (int vk : keys) state[vk] = 0x80;
    ::SetKeyboardState(state);
    run.Send(WM_TRAY_NOTIFY, 131, WM_LBUTTONUP);
    ::SetKeyboardState(saved);
    ::AttachThreadInput(self, target, FALSE);
}

int BreaksInCounters(const ProgramRun& run)
{
    std::string data = ReadFileBytes(run.dir.File("Data\\Counters.dat"));
    size_t eol = data.find('\n');
    return eol == std::string::npos ? -1 : atoi(data.c_str() + eol + 1);
}

// Pixels of the pause mark (the icon's yellow corner) in the taskbar's
// notification area; -1 when there is no taskbar to look at.
int PauseMarkPixels()
{
    HWND tray = ::FindWindowA("Shell_TrayWnd", nullptr);
    RECT rc;
    if (!tray || !::GetWindowRect(tray, &rc) || rc.right <= rc.left || rc.bottom <= rc.top) return -1;
    HDC screen = ::GetDC(nullptr);
    std::vector<DWORD> pixels = CapturePixels(screen, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    ::ReleaseDC(nullptr, screen);
    if (pixels.empty()) return -1;
    return (int)std::count(pixels.begin(), pixels.end(), 0xFFFF00u);
}

// Waits up to ms for the icon to show the pause mark (or not to).
bool IconShowsPause(bool paused, DWORD ms = 5000)
{
    for (DWORD start = ::GetTickCount();; ::Sleep(100)) {
        int n = PauseMarkPixels();
        if ((n >= 20) == paused && n >= 0) return true;
        if (::GetTickCount() - start > ms) return false;
    }
}

// Outside a virtual desktop nothing shows the icon: these tests run where
// in_desktop.sh has set KS_DESKTOP, and there the taskbar must come up.
#define REQUIRE_TASKBAR()                                                                         \
    do {                                                                                          \
        if (!getenv("KS_DESKTOP")) GTEST_SKIP() << "run in a virtual desktop by tests/e2e/in_desktop.sh"; \
        HWND tray = nullptr;                                                                      \
        for (int i = 0; i < 100 && !tray; ++i, ::Sleep(100))                                     \
            tray = ::FindWindowA("Shell_TrayWnd", nullptr);                                       \
        ASSERT_NE(tray, nullptr) << "no taskbar in the virtual desktop";                          \
    } while (0)

void PrepareOneMinuteBreaks(ProgramRun& run)
{
    run.SetIniValue("FontSize", "80");
    run.SetIniValue("AutoCheckForUpdates", "0");
    run.SetIniValue("Delay", "1");
    run.SetIniValue("Alert", "0");
    run.SetIniValue("TrackMouseMove", "0");
    run.SetIniValue("TrackMouse", "0");
    run.SetIniValue("TrackKeyboard", "0");
}
}

TEST(TrayClicksE2E, ShiftClickRestartsAndAltClickPausesTheCountdown)
{
    REQUIRE_TASKBAR();
    // With a one-minute period the break starts at the first minute; a
    // restart half-way and a pause both keep it from starting by then. The
    // icon shows "Paused" after the Alt+click, and only then.
    for (int vk : { VK_SHIFT, VK_MENU }) {
        ProgramRun run;
        PrepareOneMinuteBreaks(run);
        ASSERT_TRUE(run.Start());
        ASSERT_NE(run.WaitForMainWindow(), nullptr);
        EXPECT_TRUE(IconShowsPause(false, 10000)) << "key " << vk << ": " << PauseMarkPixels();
        ::Sleep(30000);
        ClickWithKeys(run, { vk });
        EXPECT_TRUE(IconShowsPause(vk == VK_MENU)) << "key " << vk << ": " << PauseMarkPixels();
        ::Sleep(35000);
        EXPECT_TRUE(IconShowsPause(vk == VK_MENU, 0)) << "key " << vk << ": " << PauseMarkPixels();
        ASSERT_TRUE(run.Exit());
        EXPECT_EQ(BreaksInCounters(run), 0) << "key " << vk;
    }
}

TEST(TrayClicksE2E, CtrlClickStartsTheBreakAndTheMenuExitSaves)
{
    REQUIRE_TASKBAR();
    ProgramRun run;
    PrepareOneMinuteBreaks(run);
    run.SetIniValue("Delay", "20");
    ASSERT_TRUE(run.Start());
    ASSERT_NE(run.WaitForMainWindow(), nullptr);
    ClickWithKeys(run, { VK_CONTROL });
    run.SetIniValue("PauseDelay", "");

    // Right click opens the tray menu; the last item is Exit.
    run.Post(WM_TRAY_NOTIFY, 131, WM_RBUTTONUP);
    HWND menu = nullptr;
    for (int i = 0; i < 100 && !menu; ++i) {
        ::Sleep(50);
        menu = ::FindWindowA("#32768", nullptr);
    }
    ASSERT_NE(menu, nullptr);
    ::PostMessageA(menu, WM_KEYDOWN, VK_UP, 0);
    ::PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(run.WaitForExit(10000));
    EXPECT_EQ(BreaksInCounters(run), 1);
    EXPECT_EQ(run.IniValue("PauseDelay"), "2");   // the settings were saved at exit
}
