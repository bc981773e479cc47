// CDllLoader, CHooksLoader: the optional input-hook library tapvex.dll and
// the wrappers through which the program installs its hooks and reads the
// key, mouse-event and click counts.
#pragma once
#include <windows.h>

// Holds one loaded library; frees it when destroyed unless told to keep it.
class CDllLoader {
public:
    explicit CDllLoader(const char* pszFileName);
    ~CDllLoader();
    CDllLoader(const CDllLoader&) = delete;
    CDllLoader& operator=(const CDllLoader&) = delete;
    HMODULE m_hModule;
    // Set when the module must stay loaded at exit (a hook could not be removed).
    bool m_bKeepLoaded = false;

    // The system calls behind every loader (NULL: LoadLibraryA, GetProcAddress,
    // FreeLibrary). Tests point them at a library of their own making.
    static HMODULE (*s_pfnLoad)(const char* pszFileName);
    static FARPROC (*s_pfnBind)(HMODULE hModule, const char* pszName);
    static BOOL (*s_pfnFree)(HMODULE hModule);
};

class CHooksLoader : public CDllLoader {
public:
    CHooksLoader();
    explicit CHooksLoader(const char* pszFileName);
    virtual ~CHooksLoader();
    // Set when the library loaded but one of its exports could not be bound;
    // the start-up reports it once it knows it is the only instance.
    bool m_bMissingExports = false;
    // Shows "Failed to init keyboard and mouse hooks", translated, when an
    // export was missing.
    void ReportLoadFailure() const;
};

extern CHooksLoader g_hooksLoader;

// The library's entry points (NULL until bound) and the two installed flags,
// shared by the whole process.
typedef int (*PFN_HOOK_CALL)(void);
typedef DWORD (*PFN_HOOK_COUNT)(void);
struct HookEntryPoints {
    PFN_HOOK_CALL pfnSetKBHook;
    PFN_HOOK_CALL pfnSetMouseHook;
    PFN_HOOK_COUNT pfnGetKeyStrokes;
    PFN_HOOK_COUNT pfnGetMouseEvents;
    PFN_HOOK_COUNT pfnGetMouseClicks;
    PFN_HOOK_CALL pfnKillKBHook;
    PFN_HOOK_CALL pfnKillMouseHook;
    bool bKeyboardInstalled;
    bool bMouseInstalled;
};
extern HookEntryPoints g_hookEntryPoints;

bool HookKeyboardOn();
bool HookMouseOn();
bool HookKeyboardOff();
bool HookMouseOff();
bool IsKeyboardHookInstalled();
bool IsMouseHookInstalled();
DWORD ReadKeyStrokes();
DWORD ReadMouseEvents();
DWORD ReadMouseClicks();
// The report of g_hooksLoader (see CHooksLoader::ReportLoadFailure).
void ReportHookLoadFailure();
