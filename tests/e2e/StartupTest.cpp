// The real program under Wine: start-up, single instance, settings at exit.
#include "support/Harness.h"
#include <gtest/gtest.h>

TEST(Startup, FirstStartIsHiddenTopmostAndWritesEveryKeyAtExit)
{
    ProgramRun run;
    ASSERT_TRUE(run.Start());
    HWND main = run.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    // A test run starts the release as it ships: the 32-bit program.
    BOOL wow64 = FALSE;
    if (::GetEnvironmentVariableA("KS_RELEASE_DIR", nullptr, 0)) {
        EXPECT_TRUE(::IsWow64Process(run.pi.hProcess, &wow64) && wow64);
    }
    EXPECT_FALSE(::IsWindowVisible(main));
    EXPECT_TRUE(::GetWindowLongPtrA(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // Only the welcome sheet shows.
    HWND sheet = run.WaitForSheet();
    EXPECT_NE(sheet, nullptr);
    for (HWND h : WindowsOfProcess(run.pi.dwProcessId))
        if (h != sheet) { EXPECT_FALSE(::IsWindowVisible(h)); }

    ASSERT_TRUE(run.Exit());
    const char* keys[][2] = {
        { "TrackMouse", "1" }, { "TrackMouseMove", "1" }, { "TrackKeyboard", "1" }, { "EnablePauses", "0" },
        { "PauseDelay", "2" }, { "ForceAnimation", "0" }, { "UseSound", "1" }, { "SoundFile", "beepbeep.wav" },
        { "UseSoundPauseStart", "1" }, { "SoundFilePauseStart", "start.wav" }, { "UseSoundPauseEnd", "1" },
        { "SoundFilePauseEnd", "end.wav" }, { "LockOnInactivity", "1" }, { "LockOnInactivityDelay", "2" },
        { "AutoZeroEnabled", "0" }, { "AutoZeroMode", "0" }, { "AutoZeroDelay", "8" }, { "AutoZeroTime", "0" },
        { "Dialog Moved", "0" }, { "XPosition", "0" }, { "YPosition", "0" }, { "3D Border", "0" },
        { "FontSize", "80" }, { "AutoCheckForUpdates", "1" }, { "LastCheckDay", "0" }, { "Language", "" },
        { "MicroBreaks enabled", "0" }, { "Micro Delay", "5" }, { "Micro Pause", "30" }, { "Micro Alert", "2" },
        { "MicroBreaks message", "Micro-break: let your eyes have some rest." },
        { "ShortBreaks enabled", "1" }, { "Delay", "20" }, { "Pause", "2" }, { "Alert", "3" }, { "Postpone SB", "1" },
        { "ShortBreaks message", "It's time for a short rest break." },
        { "LongBreaks enabled", "1" }, { "Long Delay", "3" }, { "Long Pause", "5" }, { "Long Alert", "3" },
        { "Postpone LB", "1" }, { "LongBreaks message", "Long break: stand up, stretch, go for a short walk." },
        { "DayBreaks enabled", "1" }, { "Daily limit", "510" }, { "Day Alert", "2" },
        { "DayBreaks message", "You have reached your daily work limit" },
        { "Postpone", "5" }, { "DisableUnlocking", "16" }, { "Disable Toggle Mode", "0" },
        { "DashBoardXPos", "0" }, { "DashBoardYPos", "0" }, { "DashBoardPinned", "0" },
    };
    for (auto& kv : keys) EXPECT_EQ(run.IniValue(kv[0]), kv[1]) << kv[0];
    // The font as 120 letters: height -13 is F3 FF FF FF.
    std::string font = run.IniValue("Font");
    EXPECT_EQ(font.size(), 120u);
    EXPECT_EQ(font.substr(0, 8), "DPPPPPPP");
    EXPECT_EQ(run.IniValue("Parameters"), "\x01");
    EXPECT_TRUE(FileExistsA(run.dir.File("Data\\Counters.dat")));
}

TEST(Startup, SecondInstanceEndsAtOnceAndChangesNothing)
{
    ProgramRun first;
    ASSERT_TRUE(first.Start());
    ASSERT_NE(first.WaitForMainWindow(), nullptr);
    PumpMessages(1500);
    // A second copy started from the same folder.
    std::string ini = first.Ini();
    std::string counters = ReadFileBytes(first.dir.File("Data\\Counters.dat"));

    STARTUPINFOA si = { sizeof(si) };
    PROCESS_INFORMATION pi;
    std::string exe = first.dir.File("Kestrabel.exe");
    std::string cmd = "\"" + exe + "\"";
    ASSERT_TRUE(::CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, first.dir.path.c_str(), &si, &pi));
    DWORD start = ::GetTickCount();
    bool ended = ::WaitForSingleObject(pi.hProcess, 2000) == WAIT_OBJECT_0;
    EXPECT_TRUE(ended) << "second instance still running after 2 s";
    EXPECT_LT(::GetTickCount() - start, 2000u);
    EXPECT_TRUE(WindowsOfProcess(pi.dwProcessId).empty());
    if (!ended) ::TerminateProcess(pi.hProcess, 1);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);

    EXPECT_EQ(first.Ini(), ini);
    EXPECT_EQ(ReadFileBytes(first.dir.File("Data\\Counters.dat")), counters);
    ASSERT_TRUE(first.Exit());
}
