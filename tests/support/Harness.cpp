#include "support/Harness.h"
#include "res/resource.h"
#include <stdio.h>

static void CopyFolder(const std::string& from, const std::string& to, bool recurse)
{
    ::CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((from + "*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (recurse && name == "Languages") CopyFolder(from + name + "\\", to + name + "\\", false);
            continue;
        }
        // The program and what ships beside it; not the test programs.
        std::string lower = name;
        for (auto& c : lower) c = (char)tolower((unsigned char)c);
        bool wanted = lower == "kestrabel.exe" || lower == "tapvex.dll"
                      || (lower.size() > 5 && (lower.substr(lower.size() - 4) == ".wav" || lower.substr(lower.size() - 5) == ".lang"));
        if (wanted) ::CopyFileA((from + name).c_str(), (to + name).c_str(), FALSE);
    } while (::FindNextFileA(h, &fd));
    ::FindClose(h);
}

// What the end-to-end tests run: the release as it ships (KS_RELEASE_DIR,
// set by the test run), else the program built beside the test.
static std::string ReleaseFolder()
{
    char path[MAX_PATH] = "";
    DWORD n = ::GetEnvironmentVariableA("KS_RELEASE_DIR", path, sizeof(path));
    if (n == 0 || n >= sizeof(path)) return ProgramFolder();
    std::string folder(path, n);
    return folder.back() == '\\' ? folder : folder + "\\";
}

ProgramRun::ProgramRun()
{
    CopyFolder(ReleaseFolder(), dir.path, true);
}

ProgramRun::~ProgramRun()
{
    if (pi.hProcess) {
        if (::WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) Kill();
        ::CloseHandle(pi.hProcess);
        ::CloseHandle(pi.hThread);
    }
}

bool ProgramRun::Start()
{
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    std::string exe = dir.File("Kestrabel.exe");
    std::string cmd = "\"" + exe + "\"";
    std::vector<char> line(cmd.begin(), cmd.end());
    line.push_back('\0');
    if (pi.hProcess) { ::CloseHandle(pi.hProcess); ::CloseHandle(pi.hThread); pi = {}; }
    hMain = nullptr;
    return ::CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.path.c_str(), &si, &pi)
           != FALSE;
}

struct FindData { DWORD pid; std::vector<HWND> found; };

static BOOL CALLBACK CollectWindow(HWND h, LPARAM lp)
{
    FindData* fd = (FindData*)lp;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(h, &pid);
    if (pid == fd->pid) fd->found.push_back(h);
    return TRUE;
}

std::vector<HWND> WindowsOfProcess(DWORD pid)
{
    FindData fd{ pid, {} };
    ::EnumWindows(CollectWindow, (LPARAM)&fd);
    return fd.found;
}

HWND ProgramRun::WaitForMainWindow(DWORD ms)
{
    DWORD start = ::GetTickCount();
    do {
        for (HWND h : WindowsOfProcess(pi.dwProcessId)) {
            char title[64] = "";
            ::GetWindowTextA(h, title, sizeof(title));
            if (strcmp(title, "Kestrabel") == 0 && ::GetDlgItem(h, AFX_IDW_PANE_FIRST)) return hMain = h;
        }
        if (::WaitForSingleObject(pi.hProcess, 50) == WAIT_OBJECT_0) return nullptr;
    } while (::GetTickCount() - start < ms);
    return nullptr;
}

bool ProgramRun::Post(UINT msg, WPARAM wp, LPARAM lp)
{
    return hMain && ::PostMessageA(hMain, msg, wp, lp);
}

LRESULT ProgramRun::Send(UINT msg, WPARAM wp, LPARAM lp)
{
    DWORD_PTR result = 0;
    if (hMain) ::SendMessageTimeoutA(hMain, msg, wp, lp, SMTO_ABORTIFHUNG, 10000, &result);
    return (LRESULT)result;
}

bool ProgramRun::WaitForExit(DWORD ms)
{
    return pi.hProcess && ::WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0;
}

HWND ProgramRun::FindSheet() const
{
    for (HWND h : WindowsOfProcess(pi.dwProcessId)) {
        char cls[32] = "";
        ::GetClassNameA(h, cls, sizeof(cls));
        if (strcmp(cls, "#32770") == 0 && ::IsWindowVisible(h) && ::FindWindowExA(h, nullptr, "SysTabControl32", nullptr))
            return h;
    }
    return nullptr;
}

HWND ProgramRun::WaitForSheet(DWORD ms) const
{
    DWORD start = ::GetTickCount();
    do {
        if (HWND h = FindSheet()) return h;
        if (::WaitForSingleObject(pi.hProcess, 50) == WAIT_OBJECT_0) return nullptr;
    } while (::GetTickCount() - start < ms);
    return nullptr;
}

bool ProgramRun::CloseSheet(DWORD ms)
{
    HWND h = FindSheet();
    if (!h) return false;
    ::PostMessageA(h, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    DWORD start = ::GetTickCount();
    while (::IsWindow(h) && ::GetTickCount() - start < ms) ::Sleep(50);
    return !::IsWindow(h);
}

bool ProgramRun::Exit(DWORD ms)
{
    // The menu's Exit is disabled while the settings sheet (the first run's
    // welcome) is open: cancel it and ask again.
    DWORD start = ::GetTickCount();
    Post(WM_COMMAND, ID_APP_EXIT, 0);
    do {
        if (::WaitForSingleObject(pi.hProcess, 200) == WAIT_OBJECT_0) return true;
        if (CloseSheet()) Post(WM_COMMAND, ID_APP_EXIT, 0);
    } while (::GetTickCount() - start < ms);
    return false;
}

void ProgramRun::Kill()
{
    if (pi.hProcess) {
        ::TerminateProcess(pi.hProcess, 1);
        ::WaitForSingleObject(pi.hProcess, 5000);
    }
}

DWORD ProgramRun::ExitCode() const
{
    DWORD code = 0;
    if (pi.hProcess) ::GetExitCodeProcess(pi.hProcess, &code);
    return code;
}

std::string ProgramRun::IniValue(const std::string& key) const
{
    // Parsed from the bytes on disk: the system's profile functions may keep
    // a copy of the file from before the program wrote it.
    std::string ini = Ini();
    bool inSettings = false;
    size_t pos = 0;
    while (pos < ini.size()) {
        size_t eol = ini.find('\n', pos);
        if (eol == std::string::npos) eol = ini.size();
        std::string line = ini.substr(pos, eol - pos);
        pos = eol + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '[') {
            inSettings = line == "[Settings]";
            continue;
        }
        size_t eq = line.find('=');
        if (inSettings && eq != std::string::npos && line.substr(0, eq) == key) return line.substr(eq + 1);
    }
    return "\x01";
}

bool ProgramRun::WaitForIniValue(const std::string& key, const std::string& value, DWORD ms) const
{
    DWORD start = ::GetTickCount();
    while (IniValue(key) != value) {
        if (::GetTickCount() - start >= ms) return false;
        ::Sleep(50);
    }
    for (std::string last = Ini();;) {
        ::Sleep(300);
        std::string now = Ini();
        if (now == last) return IniValue(key) == value;
        if (::GetTickCount() - start >= ms) return false;
        last = now;
    }
}

void ProgramRun::SetIniValue(const std::string& key, const std::string& value)
{
    // Edited as bytes on disk, like IniValue reads them.
    std::string ini = Ini();
    std::string out;
    bool inSettings = false, sawSettings = false, done = false;
    size_t pos = 0;
    while (pos < ini.size()) {
        size_t eol = ini.find('\n', pos);
        if (eol == std::string::npos) eol = ini.size();
        std::string line = ini.substr(pos, eol - pos);
        pos = eol + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '[') {
            if (inSettings && !done) { out += key + "=" + value + "\r\n"; done = true; }
            inSettings = line == "[Settings]";
            sawSettings |= inSettings;
        } else if (inSettings && line.compare(0, key.size() + 1, key + "=") == 0) {
            if (!done) out += key + "=" + value + "\r\n";
            done = true;
            continue;
        }
        out += line + "\r\n";
    }
    if (!done) {
        if (!sawSettings) out += "[Settings]\r\n";
        else if (!inSettings) {
            // The section exists but is not the last one: put the key right after its header.
            size_t at = out.find("[Settings]\r\n") + 12;
            out.insert(at, key + "=" + value + "\r\n");
            WriteFileBytes(dir.File("Kestrabel.INI"), out);
            return;
        }
        out += key + "=" + value + "\r\n";
    }
    WriteFileBytes(dir.File("Kestrabel.INI"), out);
}

Counters ReadDayCounters(const ProgramRun& run)
{
    Counters c;
    std::string text = ReadFileBytes(run.dir.File("Data\\Counters.dat"));
    size_t eol = text.find('\n');
    if (eol == std::string::npos) return c;
    Counters read;
    if (sscanf(text.c_str() + eol + 1, "%d;%d;%d;%d;%d;%d;%d", &read.breaks, &read.daily, &read.postpones, &read.idle,
               &read.total, &read.work, &read.session) == 7)
        c = read;
    return c;
}
