// The settings file against a kill in the middle of a save and against a
// disk that takes no more bytes: a save leaves the old file or a whole new
// one, never a cut one, and what the program does not write stays.
#include "support/Harness.h"
#include "app/Messages.h"
#include "res/resource.h"
#include <gtest/gtest.h>
#include <set>
#include <stdio.h>
#include <stdlib.h>

namespace {
const char kWarning[] = "Warning: Failed to save settings";

// The keys of the INI section [section] in the text.
std::set<std::string> KeysOf(const std::string& ini, const std::string& section)
{
    std::set<std::string> keys;
    bool in = false;
    for (size_t pos = 0; pos < ini.size();) {
        size_t eol = ini.find('\n', pos);
        if (eol == std::string::npos) eol = ini.size();
        std::string line = ini.substr(pos, eol - pos);
        pos = eol + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '[') in = line == "[" + section + "]";
        else if (in && line.find('=') != std::string::npos) keys.insert(line.substr(0, line.find('=')));
    }
    return keys;
}

// A file as a full save wrote it, with every number written as the program
// reads it but never writes it ("01", "+20"), so a save changes every
// key; with a comment, an unknown key and a section the program knows nothing of.
std::string SeedFrom(const std::string& saved)
{
    std::string seed = "; kept comment\r\n[Other]\r\nName=kept\r\n";
    for (size_t pos = 0; pos < saved.size();) {
        size_t eol = saved.find("\r\n", pos);
        if (eol == std::string::npos) break;
        std::string line = saved.substr(pos, eol - pos);
        pos = eol + 2;
        size_t eq = line.find('=');
        std::string value = eq == std::string::npos ? "" : line.substr(eq + 1);
        if (!value.empty() && value.find_first_not_of("0123456789") == std::string::npos)
            line = line.substr(0, eq + 1) + (value.size() == 1 ? "0" : "+") + value;
        seed += line + "\r\n";
        if (line == "[Settings]") seed += "ExtraKey=kept\r\n";
    }
    return seed;
}

// What is wrong with the file a save left ("" when nothing): it must be the
// seed itself or hold every key a full save writes and all the seed's own.
std::string FaultIn(const std::string& ini, const std::string& seed, const std::set<std::string>& written)
{
    if (ini == seed) return "";
    if (ini.empty() || ini.back() != '\n') return "cut short";
    std::set<std::string> keys = KeysOf(ini, "Settings");
    for (const std::string& k : written)
        if (!keys.count(k)) return "no key " + k;
    if (!keys.count("ExtraKey") || !KeysOf(ini, "Other").count("Name") || ini.find("; kept comment") == std::string::npos)
        return "lost what the program does not write";
    return "";
}

HWND FindWarning(const ProgramRun& run)
{
    for (HWND h : WindowsOfProcess(run.pi.dwProcessId))
        if (::IsWindowVisible(h) && ::FindWindowExA(h, nullptr, "Static", kWarning)) return h;
    return nullptr;
}
}  // namespace

// Twenty starts of the release, each killed at a random moment after an
// exit or an Apply began its save. ini_kill runs it on its own (KS_INI_KILL).
TEST(IniSaveE2E, AKillDuringASaveLeavesTheOldFileOrAWholeNewOne)
{
    if (!getenv("KS_INI_KILL")) GTEST_SKIP() << "run on its own by CTest (ini_kill)";
    ProgramRun run;
    run.SetIniValue("FontSize", "80");   // not the first run: nothing saved before the exit
    run.SetIniValue("AutoCheckForUpdates", "0");
    ASSERT_TRUE(run.Start());
    ASSERT_NE(run.WaitForMainWindow(), nullptr);
    ASSERT_TRUE(run.Exit());
    const std::set<std::string> written = KeysOf(run.Ini(), "Settings");
    ASSERT_GT(written.size(), 50u) << run.Ini();
    const std::string seed = SeedFrom(run.Ini()), path = run.dir.File("Kestrabel.INI");

    // One whole Apply save, watched: the kills fall within about its length.
    WriteFileBytes(path, seed);
    ASSERT_TRUE(run.Start());
    ASSERT_NE(run.WaitForMainWindow(), nullptr);
    DWORD posted = ::GetTickCount(), lastChange = posted;
    run.Post(WM_SETTINGS_APPLIED);
    for (std::string last = seed; ::GetTickCount() - lastChange < 2000 && ::GetTickCount() - posted < 30000; ::Sleep(2)) {
        std::string now = run.Ini();
        if (now != last) { last = now; lastChange = ::GetTickCount(); }
    }
    const std::string saved = run.Ini();
    ASSERT_EQ("", FaultIn(saved, seed, written)) << saved;
    ASSERT_NE(saved, seed);
    ASSERT_TRUE(run.Exit());
    const std::string exitSaved = run.Ini();   // the same, unless the exit's save writes more
    const DWORD span = std::max<DWORD>(60, (lastChange - posted) * 3 / 2);

    srand(::GetTickCount());
    int hits = 0, broken = 0, old = 0;
    for (int i = 0; i < 20; ++i) {
        const bool exiting = i % 2;
        WriteFileBytes(path, seed);
        ASSERT_TRUE(run.Start());
        ASSERT_NE(run.WaitForMainWindow(), nullptr);
        DWORD delay = (DWORD)(rand() % (span + 1));
        exiting ? run.Post(WM_COMMAND, ID_APP_EXIT) : run.Post(WM_SETTINGS_APPLIED);
        ::Sleep(delay);
        run.Kill();
        std::string left = run.Ini();
        old += left == seed;
        hits += left != seed && left != saved && left != exitSaved;
        std::string fault = FaultIn(left, seed, written);
        broken += !fault.empty();
        EXPECT_EQ("", fault) << (exiting ? "exit" : "Apply") << " killed after " << delay << " ms left "
                             << left.size() << " bytes";
    }
    printf("ini_kill: 20 kills within %lu ms of a save's start (a save took %lu ms): %d left the old file, %d caught a "
           "save in progress, %d left a broken file\n", span, lastChange - posted, old, hits, broken);
}

// A disk that takes no more bytes: full_disk.sh lays out the folder
// (KS_FULL_DISK_DIR) and runs this under a file size limit.
TEST(IniSaveE2E, AFullDiskKeepsTheOldFileAndWarns)
{
    const char* folder = getenv("KS_FULL_DISK_DIR");
    if (!folder) GTEST_SKIP() << "run by full_disk.sh under a file size limit";
    ProgramRun run(folder);
    const std::string seed = run.Ini();
    ASSERT_GT(seed.size(), 1024u);
    ASSERT_TRUE(run.Start());
    ASSERT_NE(run.WaitForMainWindow(), nullptr);
    for (UINT msg : { (UINT)WM_SETTINGS_APPLIED, (UINT)WM_COMMAND }) {
        const char* save = msg == WM_COMMAND ? "the exit's save" : "Apply";
        run.Post(msg, msg == WM_COMMAND ? ID_APP_EXIT : 0);
        HWND box = nullptr;
        for (DWORD start = ::GetTickCount(); !box && ::GetTickCount() - start < 20000; ::Sleep(50))
            if (!(box = FindWarning(run)) && run.WaitForExit(0)) break;
        EXPECT_NE(box, nullptr) << "no warning after " << save;
        EXPECT_TRUE(run.Ini() == seed) << "after " << save << " the file has " << run.Ini().size() << " bytes, not the "
                                       << seed.size() << " it had";
        if (box) ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        for (DWORD start = ::GetTickCount(); box && ::IsWindow(box) && ::GetTickCount() - start < 20000;) ::Sleep(50);
    }
    EXPECT_TRUE(run.WaitForExit(20000));
    EXPECT_TRUE(run.Ini() == seed) << "at the end the file has " << run.Ini().size() << " bytes";
}
