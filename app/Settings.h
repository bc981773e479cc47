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
extern ULONG_PTR g_gdiplusToken;

#define PARAMETERS_PORTABLE 0x04
