// The real program steered through its tray callback: click shortcuts with
// modifier keys, and the tray menu's Exit.
#include "support/Harness.h"
#include "res/resource.h"
#include "app/Messages.h"
#include <gtest/gtest.h>

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
    // With a one-minute period the break starts at the first minute; a
    // restart half-way and a pause both keep it from starting by then.
    for (int vk : { VK_SHIFT, VK_MENU }) {
        ProgramRun run;
        PrepareOneMinuteBreaks(run);
        ASSERT_TRUE(run.Start());
        ASSERT_NE(run.WaitForMainWindow(), nullptr);
        ::Sleep(35000);
        ClickWithKeys(run, { vk });
        ::Sleep(35000);
        ASSERT_TRUE(run.Exit());
        EXPECT_EQ(BreaksInCounters(run), 0) << "key " << vk;
    }
}

TEST(TrayClicksE2E, CtrlClickStartsTheBreakAndTheMenuExitSaves)
{
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
