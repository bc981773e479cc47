#include "engine/HooksLoader.h"
#include "vfx.h"

typedef int (*HOOKPROC_VOID)(void);
typedef DWORD (*HOOKPROC_COUNT)(void);

static HOOKPROC_VOID s_pfnSetKBHook;
static HOOKPROC_VOID s_pfnSetMouseHook;
static HOOKPROC_COUNT s_pfnGetKeyStrokes;
static HOOKPROC_COUNT s_pfnGetMouseEvents;
static HOOKPROC_COUNT s_pfnGetMouseClicks;
static HOOKPROC_VOID s_pfnKillKBHook;
static HOOKPROC_VOID s_pfnKillMouseHook;
static bool s_keyboardInstalled;
static bool s_mouseInstalled;

CDllLoader::CDllLoader(const char* pszFileName)
    : m_hModule(::LoadLibraryA(pszFileName))
{
}

CDllLoader::~CDllLoader()
{
    if (m_hModule && !m_bKeepLoaded) ::FreeLibrary(m_hModule);
    m_hModule = nullptr;
}

template <class T>
static bool Bind(HMODULE h, const char* name, T& pfn)
{
    pfn = (T)(void*)::GetProcAddress(h, name);
    return pfn != nullptr;
}

CHooksLoader::CHooksLoader()
    : CDllLoader("tapvex.dll")
{
    if (!m_hModule) return;
    bool ok = true;
    ok &= Bind(m_hModule, "SetKBHook", s_pfnSetKBHook);
    ok &= Bind(m_hModule, "SetMouseHook", s_pfnSetMouseHook);
    ok &= Bind(m_hModule, "GetKeyStrokes", s_pfnGetKeyStrokes);
    ok &= Bind(m_hModule, "GetMouseEvents", s_pfnGetMouseEvents);
    ok &= Bind(m_hModule, "GetMouseClicks", s_pfnGetMouseClicks);
    ok &= Bind(m_hModule, "KillKBHook", s_pfnKillKBHook);
    ok &= Bind(m_hModule, "KillMouseHook", s_pfnKillMouseHook);
    m_bMissingExports = !ok;
}

CHooksLoader::~CHooksLoader()
{
    HookMouseOff();
    HookKeyboardOff();
    // A hook that is still installed points into the library's code.
    if (s_keyboardInstalled || s_mouseInstalled) m_bKeepLoaded = true;
}

void ReportHookLoadFailure()
{
    if (g_hooksLoader.m_bMissingExports)
        AfxMessageBox("Failed to init keyboard and mouse hooks", MB_OK | MB_ICONSTOP);
}

bool HookKeyboardOn()
{
    if (!s_keyboardInstalled && s_pfnSetKBHook) {
        s_pfnSetKBHook();
        s_keyboardInstalled = true;
    }
    return s_keyboardInstalled;
}

bool HookMouseOn()
{
    if (!s_mouseInstalled && s_pfnSetMouseHook) {
        s_pfnSetMouseHook();
        s_mouseInstalled = true;
    }
    return s_mouseInstalled;
}

bool HookKeyboardOff()
{
    if (s_keyboardInstalled && s_pfnKillKBHook) {
        s_pfnKillKBHook();
        s_keyboardInstalled = false;
    }
    return !s_keyboardInstalled;
}

bool HookMouseOff()
{
    if (s_mouseInstalled && s_pfnKillMouseHook) {
        s_pfnKillMouseHook();
        s_mouseInstalled = false;
    }
    return !s_mouseInstalled;
}

bool IsKeyboardHookInstalled() { return s_keyboardInstalled; }
bool IsMouseHookInstalled() { return s_mouseInstalled; }

DWORD ReadKeyStrokes()
{
    return (s_keyboardInstalled && s_pfnGetKeyStrokes) ? s_pfnGetKeyStrokes() : 0;
}

DWORD ReadMouseEvents()
{
    return (s_mouseInstalled && s_pfnGetMouseEvents) ? s_pfnGetMouseEvents() : 0;
}

DWORD ReadMouseClicks()
{
    return (s_mouseInstalled && s_pfnGetMouseClicks) ? s_pfnGetMouseClicks() : 0;
}
