#include "app/Kestrabel.h"
#include "app/Settings.h"
#include "engine/MainFrame.h"
#include "engine/HooksLoader.h"
#include "services/UpdateCheck.h"
#include "res/resource.h"
#include <shlobj.h>

static const char kRegistryKey[] = "Osterwick Software";

CString GetProgramPath()
{
    char path[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return CString();   // failed or truncated
    path[n] = '\0';
    return CString(path);
}

CString GetProgramDirectory()
{
    CString path = GetProgramPath();
    int slash = path.ReverseFind('\\');
    return slash < 0 ? CString() : path.Left(slash + 1);
}

CString GetDataDirectory()
{
    if (!g_strDataDirectoryOverride.IsEmpty()) {
        ::CreateDirectoryA(g_strDataDirectoryOverride, nullptr);
        return g_strDataDirectoryOverride;
    }
    char path[MAX_PATH];
    if (g_parameters & PARAMETERS_PORTABLE) {
        CString dir = GetProgramDirectory();
        if (dir.IsEmpty() || dir.GetLength() >= MAX_PATH) return CString();
        lstrcpynA(path, dir, MAX_PATH);
        ::PathRemoveBackslashA(path);
        if (!::PathAppendA(path, "Data")) return CString();
    } else {
        CWnd* main = AfxGetMainWnd();
        if (!::SHGetSpecialFolderPathA(main ? main->m_hWnd : nullptr, path, CSIDL_APPDATA, TRUE)) return CString();
        path[MAX_PATH - 1] = '\0';
        if (!path[0] || !::PathAppendA(path, "Kestrabel")) return CString();
    }
    ::CreateDirectoryA(path, nullptr);
    if (!::PathAddBackslashA(path)) return CString();
    return CString(path);
}

// The first byte of the raw "Parameters" value, of whatever type; FALSE
// when there is none.
bool ReadRawParameters(BYTE& value)
{
    HKEY hKey;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Osterwick Software\\Kestrabel\\Settings", 0, KEY_READ, &hKey)
        != ERROR_SUCCESS)
        return false;
    bool ok = false;
    DWORD type = 0, size = 0;
    if (::RegQueryValueExA(hKey, "Parameters", nullptr, &type, nullptr, &size) == ERROR_SUCCESS && size >= 1
        && size <= 65536) {
        BYTE* buf = new BYTE[size]();
        DWORD got = size;
        if (::RegQueryValueExA(hKey, "Parameters", nullptr, &type, buf, &got) == ERROR_SUCCESS && got >= 1) {
            value = buf[0];
            ok = true;
        }
        delete[] buf;
    }
    ::RegCloseKey(hKey);
    return ok;
}

bool CVantrelApp::ChooseStore()
{
    if (g_parameters & PARAMETERS_PORTABLE) {
        char path[MAX_PATH];
        CString program = GetProgramPath();
        bool ok = !program.IsEmpty();
        if (ok) {
            lstrcpynA(path, program, MAX_PATH);
            ok = ::PathRenameExtensionA(path, ".INI") != FALSE;
        }
        free((void*)m_pszProfileName);
        // Without a usable path the store stays empty: reads give the
        // defaults and saves fail visibly, nothing lands elsewhere.
        m_pszProfileName = _strdup(ok ? path : "");
        return ok;
    }
    SetRegistryKey(kRegistryKey);
    return true;
}

BOOL CVantrelApp::InitInstance()
{
    if (g_dwInstanceMutexError == ERROR_ALREADY_EXISTS) return FALSE;
    g_isPrimaryInstance = true;

    AfxEnableControlContainer();
    AfxGdiplusStartup();

    BYTE raw;
    if (ReadRawParameters(raw)) g_parameters = raw;
    ChooseStore();

    g_firstRun = GetProfileInt("Settings", "FontSize", 0) == 0;
    LoadSettings();
    // Once the language is known, and only in the one instance.
    ReportHookLoadFailure();

    // A frame whose creation fails is gone afterwards (it deleted itself
    // with its window, or it never had one and is deleted there), and the
    // application no longer names it.
    CMainFrame* frame = AfxCreateOrDelete(new CMainFrame, [this](CMainFrame* p) {
        m_pMainWnd = p;
        return p->Create(nullptr, "Kestrabel", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, nullptr, nullptr);
    });
    if (!frame) return FALSE;

    if (g_hWtsApi32) {
        typedef BOOL(WINAPI * PFNREGISTER)(HWND, DWORD);
        PFNREGISTER reg = (PFNREGISTER)(void*)::GetProcAddress(g_hWtsApi32, "WTSRegisterSessionNotification");
        if (reg) reg(frame->m_hWnd, 0);
    }
    frame->ShowWindow(SW_HIDE);
    frame->UpdateWindow();
    if (g_autoCheckForUpdates) frame->ArmUpdateCheck();
    if (g_firstRun) frame->PostMessage(WM_COMMAND, ID_FIRST_RUN, 0);
    return TRUE;
}

void EndInputHooksAndUpdateCheck()
{
    // The low-level hooks run on this thread: while it waits for the update
    // worker, every key and click on the desktop would wait with it.
    HookMouseOff();
    HookKeyboardOff();
    WaitForUpdateCheckToEnd();
}

int CVantrelApp::ExitInstance()
{
    EndInputHooksAndUpdateCheck();
    if (g_isPrimaryInstance) SaveSettings();
    return CWinApp::ExitInstance();
}
