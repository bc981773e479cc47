#include "engine/HooksLoader.h"
#include "vfx.h"

// Zero-initialised: valid before any constructor of another file runs.
HookEntryPoints g_hookEntryPoints;
HMODULE (*CDllLoader::s_pfnLoad)(const char*);
FARPROC (*CDllLoader::s_pfnBind)(HMODULE, const char*);
BOOL (*CDllLoader::s_pfnFree)(HMODULE);

CDllLoader::CDllLoader(const char* pszFileName)
    : m_hModule(s_pfnLoad ? s_pfnLoad(pszFileName) : ::LoadLibraryA(pszFileName))
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

CHooksLoader::CHooksLoader()
    : CHooksLoader("tapvex.dll")
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
        AfxMessageBox("Failed to init keyboard and mouse hooks", MB_OK | MB_ICONSTOP);
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
