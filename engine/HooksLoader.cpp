#include "engine/HooksLoader.h"
#include "vfx.h"
#include "services/Translator.h"

// Zero-initialised: valid before any constructor of another file runs.
HookEntryPoints g_hookEntryPoints;
HMODULE (*CDllLoader::s_pfnLoad)(const char*);
FARPROC (*CDllLoader::s_pfnBind)(HMODULE, const char*);
BOOL (*CDllLoader::s_pfnFree)(HMODULE);

CDllLoader::CDllLoader(const char* pszFileName)
    : m_hModule(!pszFileName || !*pszFileName ? nullptr
                : s_pfnLoad                   ? s_pfnLoad(pszFileName)
                                              : ::LoadLibraryA(pszFileName))
{
}

CDllLoader::~CDllLoader()
{
    if (m_hModule && !m_bKeepLoaded) {
        if (s_pfnFree) s_pfnFree(m_hModule);
        else ::FreeLibrary(m_hModule);
    }
    m_hModule = nullptr;
}

template <class T>
static bool Bind(HMODULE h, const char* name, T& pfn)
{
    FARPROC p = CDllLoader::s_pfnBind ? CDllLoader::s_pfnBind(h, name) : ::GetProcAddress(h, name);
    pfn = (T)(void*)p;
    return pfn != nullptr;
}

// The hook library beside the program, by its full path: searched for by
// name, a library of that name in the current folder or on the PATH could be
// loaded instead. Empty when the program's own path cannot be had; the
// library is then simply absent. Built during static initialisation, so it
// uses nothing but the system.
static const char* HookLibraryPath()
{
    static char path[MAX_PATH];
    char exe[MAX_PATH];
    path[0] = '\0';
    DWORD n = ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return path;
    exe[n] = '\0';
    char* slash = strrchr(exe, '\\');
    if (!slash) return path;
    slash[1] = '\0';
    if (lstrlenA(exe) + lstrlenA("tapvex.dll") >= MAX_PATH) return path;
    lstrcpyA(path, exe);
    lstrcatA(path, "tapvex.dll");
    return path;
}

CHooksLoader::CHooksLoader()
    : CHooksLoader(HookLibraryPath())
{
}

CHooksLoader::CHooksLoader(const char* pszFileName)
    : CDllLoader(pszFileName)
{
    if (!m_hModule) return;
    HookEntryPoints& e = g_hookEntryPoints;
    bool ok = true;
    ok &= Bind(m_hModule, "SetKBHook", e.pfnSetKBHook);
    ok &= Bind(m_hModule, "SetMouseHook", e.pfnSetMouseHook);
    ok &= Bind(m_hModule, "GetKeyStrokes", e.pfnGetKeyStrokes);
    ok &= Bind(m_hModule, "GetMouseEvents", e.pfnGetMouseEvents);
    ok &= Bind(m_hModule, "GetMouseClicks", e.pfnGetMouseClicks);
    ok &= Bind(m_hModule, "KillKBHook", e.pfnKillKBHook);
    ok &= Bind(m_hModule, "KillMouseHook", e.pfnKillMouseHook);
    m_bMissingExports = !ok;
}

CHooksLoader::~CHooksLoader()
{
    HookMouseOff();
    HookKeyboardOff();
    HookEntryPoints& e = g_hookEntryPoints;
    if (e.bKeyboardInstalled || e.bMouseInstalled) {
        // A hook without its remove export is still installed and points
        // into the library's code: the library stays until the process ends.
        m_bKeepLoaded = true;
    } else if (m_hModule) {
        // The library goes with this object; nothing may call into it after.
        e = HookEntryPoints();
    }
}

void CHooksLoader::ReportLoadFailure() const
{
    if (m_bMissingExports)
        AfxMessageBox(g_translator.Translate("Failed to init keyboard and mouse hooks"), MB_OK | MB_ICONSTOP);
}

void ReportHookLoadFailure()
{
    g_hooksLoader.ReportLoadFailure();
}

bool HookKeyboardOn()
{
    HookEntryPoints& e = g_hookEntryPoints;
    if (!e.bKeyboardInstalled && e.pfnSetKBHook) {
        e.pfnSetKBHook();
        e.bKeyboardInstalled = true;
    }
    return e.bKeyboardInstalled;
}

bool HookMouseOn()
{
    HookEntryPoints& e = g_hookEntryPoints;
    if (!e.bMouseInstalled && e.pfnSetMouseHook) {
        e.pfnSetMouseHook();
        e.bMouseInstalled = true;
    }
    return e.bMouseInstalled;
}

bool HookKeyboardOff()
{
    HookEntryPoints& e = g_hookEntryPoints;
    if (e.bKeyboardInstalled && e.pfnKillKBHook) {
        e.pfnKillKBHook();
        e.bKeyboardInstalled = false;
    }
    return !e.bKeyboardInstalled;
}

bool HookMouseOff()
{
    HookEntryPoints& e = g_hookEntryPoints;
    if (e.bMouseInstalled && e.pfnKillMouseHook) {
        e.pfnKillMouseHook();
        e.bMouseInstalled = false;
    }
    return !e.bMouseInstalled;
}

bool IsKeyboardHookInstalled() { return g_hookEntryPoints.bKeyboardInstalled; }
bool IsMouseHookInstalled() { return g_hookEntryPoints.bMouseInstalled; }

DWORD ReadKeyStrokes()
{
    const HookEntryPoints& e = g_hookEntryPoints;
    return (e.bKeyboardInstalled && e.pfnGetKeyStrokes) ? e.pfnGetKeyStrokes() : 0;
}

DWORD ReadMouseEvents()
{
    const HookEntryPoints& e = g_hookEntryPoints;
    return (e.bMouseInstalled && e.pfnGetMouseEvents) ? e.pfnGetMouseEvents() : 0;
}

DWORD ReadMouseClicks()
{
    const HookEntryPoints& e = g_hookEntryPoints;
    return (e.bMouseInstalled && e.pfnGetMouseClicks) ? e.pfnGetMouseClicks() : 0;
}
