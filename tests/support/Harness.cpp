#include "support/Harness.h"
#include "res/resource.h"

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

ProgramRun::ProgramRun()
{
    CopyFolder(ProgramFolder(), dir.path, true);
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

bool ProgramRun::Exit(DWORD ms)
{
    Post(WM_COMMAND, ID_APP_EXIT, 0);
    return WaitForExit(ms);
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
    char buf[4096];
    ::GetPrivateProfileStringA("Settings", key.c_str(), "\x01", buf, sizeof(buf), dir.File("Kestrabel.INI").c_str());
    return buf;
}

void ProgramRun::SetIniValue(const std::string& key, const std::string& value)
{
    ::WritePrivateProfileStringA("Settings", key.c_str(), value.c_str(), dir.File("Kestrabel.INI").c_str());
}
