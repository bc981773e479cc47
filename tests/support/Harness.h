// Runs the real Kestrabel.exe in a folder of its own (portable mode) and
// steers it with window messages.
#pragma once
#include "support/TestSupport.h"

class ProgramRun {
public:
    // Copies the program, the hook library, the sounds and Languages/ from
    // the build folder into a fresh temporary folder.
    ProgramRun();
    // The program as a script laid it out in folder (trailing backslash),
    // which stays when the run ends.
    explicit ProgramRun(const std::string& folder) : dir(folder) {}
    ~ProgramRun();
    // Starts the program; FALSE when the process could not be created.
    bool Start();
    // The program's hidden main window ("Kestrabel"), waiting up to ms.
    HWND WaitForMainWindow(DWORD ms = 10000);
    bool Post(UINT msg, WPARAM wp = 0, LPARAM lp = 0);
    LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0);
    // Waits for the process to end; FALSE on time-out.
    bool WaitForExit(DWORD ms = 15000);
    // The program's settings sheet when it shows; NULL otherwise.
    HWND FindSheet() const;
    HWND WaitForSheet(DWORD ms = 10000) const;
    // Cancels the open sheet and waits until it is gone; FALSE without one.
    bool CloseSheet(DWORD ms = 5000);
    // Posts ID_APP_EXIT and waits for the end (cancelling an open sheet).
    bool Exit(DWORD ms = 15000);
    void Kill();
    DWORD ExitCode() const;

    std::string Ini() const { return ReadFileBytes(dir.File("Kestrabel.INI")); }
    std::string IniValue(const std::string& key) const;
    void SetIniValue(const std::string& key, const std::string& value);
    // Waits until the key holds the value and the file has stopped changing
    // (a save writes its keys one after another, each rewriting the file,
    // so a read in the middle can catch a half-written file); FALSE when the
    // value does not come within ms.
    bool WaitForIniValue(const std::string& key, const std::string& value, DWORD ms = 15000) const;

    TempDir dir;
    PROCESS_INFORMATION pi = {};
    HWND hMain = nullptr;
};

// The day's counters as the program last wrote them (Data\\Counters.dat);
// breaks is -1 while the file is missing or half written.
struct Counters {
    int breaks = -1, daily = 0, postpones = 0, idle = 0, total = 0, work = 0, session = 0;
};
Counters ReadDayCounters(const ProgramRun& run);

// Top-level windows of a process.
std::vector<HWND> WindowsOfProcess(DWORD pid);
