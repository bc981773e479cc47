// CDllLoader, CHooksLoader: the optional input-hook library tapvex.dll and
// the wrappers through which the program installs its hooks and reads the
// key, mouse-event and click counts.
#pragma once
#include <windows.h>

class CDllLoader {
public:
    explicit CDllLoader(const char* pszFileName);
    ~CDllLoader();
    CDllLoader(const CDllLoader&) = delete;
    CDllLoader& operator=(const CDllLoader&) = delete;
    HMODULE m_hModule;
    // Set when the module must stay loaded at exit (a hook could not be removed).
    bool m_bKeepLoaded = false;
};

class CHooksLoader : public CDllLoader {
public:
    CHooksLoader();
    virtual ~CHooksLoader();
    // The names of the exports that could not be bound; the start-up
    // reports them once it knows it is the only instance.
    bool m_bMissingExports = false;
};

extern CHooksLoader g_hooksLoader;

bool HookKeyboardOn();
bool HookMouseOn();
bool HookKeyboardOff();
bool HookMouseOff();
bool IsKeyboardHookInstalled();
bool IsMouseHookInstalled();
DWORD ReadKeyStrokes();
DWORD ReadMouseEvents();
DWORD ReadMouseClicks();
// Shows "Failed to init keyboard and mouse hooks" when an export was missing.
void ReportHookLoadFailure();
