// The program's global objects, defined in one place so that they are built
// in this order before the application starts and destroyed in the reverse
// order after it has ended.
#include "app/Kestrabel.h"
#include "app/Settings.h"
#include "engine/BreakSettings.h"
#include "engine/DayCounters.h"
#include "engine/HooksLoader.h"
#include "tray/TrayNotifyIcon.h"
#include "services/Translator.h"
#include "ui/Dashboard.h"

// Plain settings with their initial values.
bool g_trackMouse = true;
bool g_trackMouseMove = true;
bool g_trackKeyboard = true;
bool g_enablePauses = false;
int g_pauseDelay = 2;
bool g_forceAnimation = false;
bool g_useSound = true;
bool g_useSoundPauseStart = true;
bool g_useSoundPauseEnd = true;
bool g_lockOnInactivity = true;
int g_lockOnInactivityDelay = 2;
bool g_autoZeroEnabled = false;
int g_autoZeroMode = 0;
int g_autoZeroDelay = 8;
int g_autoZeroTime = 0;
bool g_dialogMoved = false;
int g_dialogXPos = 0;
int g_dialogYPos = 0;
bool g_3dBorder = false;
int g_trayFontSize = 80;
BYTE g_parameters = PARAMETERS_PORTABLE;
bool g_autoCheckForUpdates = true;
int g_lastCheckDay = 0;
LOGFONTA g_trayLogFont = { -13, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Verdana" };
bool g_firstRun = false;
bool g_isPrimaryInstance = false;
HMODULE g_hWtsApi32 = nullptr;
HANDLE g_hInstanceMutex = nullptr;
DWORD g_dwInstanceMutexError = 0;

// Tests point the data folder somewhere of their own; it outlives the
// counters' final save.
CString g_strDataDirectoryOverride;

// The objects built at start-up, in order.
CString g_strSoundFile("beepbeep.wav");
CString g_strSoundFilePauseStart("start.wav");
CString g_strSoundFilePauseEnd("end.wav");
BreakSettings g_breakSettings;
DayCounters g_dayCounters;
CString g_strDashboardStatus;
CHooksLoader g_hooksLoader;
CTrayNotifyIcon g_trayIcon;
CString g_strLanguage;
CTranslator g_translator;

namespace {
// The framework's own texts (its prompts) go through the program's translator.
CString TranslateForFramework(const char* pszEnglish) { return g_translator.Translate(pszEnglish); }
struct FrameworkTranslator {
    FrameworkTranslator() { g_pfnTranslateHook = TranslateForFramework; }
} s_frameworkTranslator;
}

namespace {
struct WtsApiLibrary {
    WtsApiLibrary() { g_hWtsApi32 = ::LoadLibraryA("WtsApi32.dll"); }
    ~WtsApiLibrary() { if (g_hWtsApi32) ::FreeLibrary(g_hWtsApi32); g_hWtsApi32 = nullptr; }
} s_wtsApi;

// One mutex for every instance of the program in every session.
struct InstanceMutex {
    InstanceMutex()
    {
        g_hInstanceMutex = ::CreateMutexA(nullptr, FALSE, "Global\\{6F1C3A52-8E0B-4D7A-9C21-5B3E7F40D8A6}");
        g_dwInstanceMutexError = ::GetLastError();
    }
    ~InstanceMutex() { if (g_hInstanceMutex) ::CloseHandle(g_hInstanceMutex); g_hInstanceMutex = nullptr; }
} s_instanceMutex;
}

CVantrelApp theApp;
