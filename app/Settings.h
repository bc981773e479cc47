// The settings globals: loaded at start-up, written back by every save.
#pragma once
#include "vfx.h"

extern bool g_trackMouse;
extern bool g_trackMouseMove;
extern bool g_trackKeyboard;
extern bool g_enablePauses;
extern int g_pauseDelay;                 // idle minutes before the idle action
extern bool g_forceAnimation;
extern bool g_useSound;
extern CString g_strSoundFile;
extern bool g_useSoundPauseStart;
extern CString g_strSoundFilePauseStart;
extern bool g_useSoundPauseEnd;
extern CString g_strSoundFilePauseEnd;
extern bool g_lockOnInactivity;
extern int g_lockOnInactivityDelay;      // seconds
extern bool g_autoZeroEnabled;
extern int g_autoZeroMode;               // 0: after idle hours, 1: at a time of day
extern int g_autoZeroDelay;              // hours
extern int g_autoZeroTime;               // HHMM
extern bool g_dialogMoved;
extern int g_dialogXPos;
extern int g_dialogYPos;
extern bool g_3dBorder;
extern int g_trayFontSize;               // tenths of a point
extern BYTE g_parameters;                // bit 2: portable mode
extern bool g_autoCheckForUpdates;
extern int g_lastCheckDay;
extern LOGFONTA g_trayLogFont;
extern CString g_strLanguage;

// Run-time state.
extern bool g_firstRun;

#define PARAMETERS_PORTABLE 0x04

struct BreakSettings;
class CWinApp;

// How a key is stored, and the type of the value it belongs to.
enum SettingType {
    SETTING_FLAG,       // bool, stored as 0 or 1
    SETTING_INT,        // int
    SETTING_MINUTES,    // int seconds in memory, stored in whole minutes
    SETTING_STRING,     // CString
    SETTING_FONT,       // LOGFONTA, stored as a binary of exactly its size
    SETTING_BYTE,       // BYTE, the low byte of a stored int; read, never written
};

// One key of the "Settings" section.
struct SettingKey {
    const char* pszKey;
    SettingType type;
    // The value the key belongs to: a settings global, or a field of the
    // break-settings record handed in (bBreakRecord), so that a page can
    // work on a copy of the record.
    void* (*pfnValue)(BreakSettings& record);
    bool bBreakRecord;
    // The initial value, in memory's units: flags and numbers in nDefault,
    // texts in pszDefault; the font's height and face name.
    int nDefault;
    const char* pszDefault;

    template <class T> T& Value(BreakSettings& record) const { return *static_cast<T*>(pfnValue(record)); }
};

struct SettingKeyList {
    const SettingKey* pFirst;
    int nCount;
    const SettingKey* begin() const { return pFirst; }
    const SettingKey* end() const { return pFirst + nCount; }
};

// Every key of the section but the dashboard's, in the store's key order
// (the order of every save; loads read them in the same order).
SettingKeyList SettingKeys();
// Reads one key into its value, with the current value as the default.
void ReadSetting(CWinApp* pApp, const SettingKey& key, BreakSettings& record);
// Writes one key; FALSE when the store refused it ("Parameters", never
// written, always succeeds).
BOOL WriteSetting(CWinApp* pApp, const SettingKey& key, BreakSettings& record);
