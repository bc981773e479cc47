// The real program: the first run, the registry store and the language.
#include "support/Harness.h"
#include <gtest/gtest.h>
#include <shlobj.h>

namespace {
const char kKey[] = "Software\\Osterwick Software\\Kestrabel\\Settings";

DWORD RegistryType(HKEY key, const char* name)
{
    DWORD type = 0, size = 0;
    if (::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return REG_NONE;
    return type;
}
}

TEST(SettingsE2E, FirstRunSavesRightAwayAndLaterRunsOnlyAtExit)
{
    ProgramRun run;
    ASSERT_TRUE(run.Start());
    ASSERT_NE(run.WaitForMainWindow(), nullptr);
    // The first run opens the sheet on its welcome page; however it is
    // closed, the settings are saved then.
    HWND sheet = run.WaitForSheet();
    ASSERT_NE(sheet, nullptr);
    HWND page = (HWND)::SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
    char caption[64] = "";
    ::GetWindowTextA(page, caption, sizeof(caption));
    EXPECT_STREQ(caption, "Welcome!");
    EXPECT_TRUE(run.CloseSheet());
    // A busy machine (the whole suite at once) may take several seconds.
    EXPECT_TRUE(run.WaitForIniValue("FontSize", "80")) << run.IniValue("FontSize");
    ASSERT_TRUE(run.Exit());

    // Not a first run any more: nothing is written until the exit.
    run.SetIniValue("PauseDelay", "7");
    run.SetIniValue("XPosition", "");
    ASSERT_TRUE(run.Start());
    ASSERT_NE(run.WaitForMainWindow(), nullptr);
    ::Sleep(1500);
    EXPECT_EQ(run.IniValue("XPosition"), "");
    ASSERT_TRUE(run.Exit());
    EXPECT_EQ(run.IniValue("XPosition"), "0");
    EXPECT_EQ(run.IniValue("PauseDelay"), "7");
}

TEST(SettingsE2E, RegistryStoreWhenParametersSaySo)
{
    HKEY key;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
    DWORD zero = 0;
    ::RegSetValueExA(key, "Parameters", 0, REG_DWORD, (const BYTE*)&zero, sizeof(zero));
    char appData[MAX_PATH];
    ASSERT_TRUE(::SHGetSpecialFolderPathA(nullptr, appData, CSIDL_APPDATA, TRUE));
    std::string counters = std::string(appData) + "\\Kestrabel\\Counters.dat";
    ::DeleteFileA(counters.c_str());

    ProgramRun run;
    ASSERT_TRUE(run.Start());
    ASSERT_NE(run.WaitForMainWindow(), nullptr);
    EXPECT_TRUE(run.Exit());

    EXPECT_FALSE(FileExistsA(run.dir.File("Kestrabel.INI")));
    EXPECT_FALSE(FileExistsA(run.dir.File("Data")));
    EXPECT_TRUE(FileExistsA(counters));
    EXPECT_EQ(RegistryType(key, "Delay"), (DWORD)REG_DWORD);
    EXPECT_EQ(RegistryType(key, "SoundFile"), (DWORD)REG_SZ);
    EXPECT_EQ(RegistryType(key, "Font"), (DWORD)REG_BINARY);
    EXPECT_EQ(RegistryType(key, "Parameters"), (DWORD)REG_DWORD);   // read, never written

    // A string "4" (first byte 0x34 has bit 2) selects the INI file again.
    ::RegSetValueExA(key, "Parameters", 0, REG_SZ, (const BYTE*)"4", 2);
    ProgramRun portable;
    ASSERT_TRUE(portable.Start());
    ASSERT_NE(portable.WaitForMainWindow(), nullptr);
    EXPECT_TRUE(portable.Exit());
    EXPECT_TRUE(FileExistsA(portable.dir.File("Kestrabel.INI")));
    EXPECT_TRUE(FileExistsA(portable.dir.File("Data\\Counters.dat")));

    ::RegCloseKey(key);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
}

TEST(SettingsE2E, LanguageFromLanguagesFolderOrBackToTheDefault)
{
    ProgramRun run;
    ASSERT_TRUE(FileExistsA(run.dir.File("Languages\\German.lang")));
    run.SetIniValue("FontSize", "80");
    run.SetIniValue("Language", "German");
    ASSERT_TRUE(run.Start());
    ASSERT_NE(run.WaitForMainWindow(), nullptr);
    ASSERT_TRUE(run.Exit());
    EXPECT_EQ(run.IniValue("Language"), "German");

    // A language without a file is forgotten: the machine's language takes
    // its place (English, written as "", or German under a German locale).
    run.SetIniValue("Language", "Klingon");
    ASSERT_TRUE(run.Start());
    ASSERT_NE(run.WaitForMainWindow(), nullptr);
    ASSERT_TRUE(run.Exit());
    EXPECT_EQ(run.IniValue("Language"), MachineLanguageIn(run.dir.File("Languages")));
}
