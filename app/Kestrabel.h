// CVantrelApp: the application object.
#pragma once
#include "vfx.h"

class CVantrelApp : public CWinApp {
public:
    CVantrelApp() : CWinApp(nullptr) {}
    BOOL InitInstance() override;
    int ExitInstance() override;
    void LoadSettings();
    void SaveSettings();
    // Chooses the store by the "Parameters" flags: the INI file beside the
    // program or the registry. FALSE when the program's path is unusable.
    bool ChooseStore();
};

extern CVantrelApp theApp;

// Set once this process knows it is the only instance; nothing is written
// to the store or the data folder before (or without) it.
extern bool g_isPrimaryInstance;
extern HANDLE g_hInstanceMutex;
extern DWORD g_dwInstanceMutexError;
extern HMODULE g_hWtsApi32;

// When set (by tests), the data folder to use, with a trailing backslash.
extern CString g_strDataDirectoryOverride;
// The first byte of the registry's raw "Parameters" value, of whatever type;
// FALSE when there is none.
bool ReadRawParameters(BYTE& value);
// The data folder with a trailing backslash, created if missing; empty when
// no usable folder can be had (callers then skip their file work).
CString GetDataDirectory();
// The program file's folder with a trailing backslash; empty when the path
// cannot be read in full.
CString GetProgramDirectory();
// The program file's full path; empty when it cannot be read in full.
CString GetProgramPath();
// At exit: removes the input hooks, then gives a running update worker its
// time to end.
void EndInputHooksAndUpdateCheck();
