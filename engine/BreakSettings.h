// BreakSpec, BreakSettings: the settings of the four kinds of break.
#pragma once
#include "vfx.h"

enum BreakKind { BREAK_MICRO = 0, BREAK_SHORT = 1, BREAK_LONG = 2, BREAK_DAILY_LIMIT = 3 };
enum AlertType { ALERT_BALLOON = 0, ALERT_SLIDER = 1, ALERT_MESSAGE_BOX = 2, ALERT_SCREEN_LOCK = 3 };

// One kind's settings. The record holds a string and is never stored as a
// block, so it keeps its natural alignment.
struct BreakSpec {
    int nDuration = 60;          // seconds
    int nInterval = 1;           // minutes; long breaks: every N-th; daily limit: minutes
    int nAlertType = ALERT_BALLOON;
    bool bEnableUnlocking = true;
    bool bEnabled = false;
    CString strMessage;
};

class CWinApp;

struct BreakSettings {
    BreakSettings();
    BreakSpec aBreaks[4];
    int nPostpone = 5;               // minutes; 0 disables postponing
    int nDisableUnlocking = 16;      // seconds
    bool bDisableToggleMode = false;

    // The stored counts as they are used (a hand-edited store may hold 0 or
    // less; the stored values stay as they are): a postponement lasts at
    // least a minute, the unlock delay is never below 0 seconds.
    int PostponeMinutes() const { return nPostpone < 1 ? 1 : nPostpone; }
    int UnlockDelaySeconds() const { return nDisableUnlocking < 0 ? 0 : nDisableUnlocking; }

    void SetDefaultBreakMessages();
    // Reads the break keys, each with the field's current value as default.
    void LoadBreakSettings(CWinApp* pApp);
    // Writes the break keys; FALSE at the first write that fails.
    BOOL SaveBreakSettings(CWinApp* pApp);
};

extern BreakSettings g_breakSettings;

// minutes * factor without overflow: saturates at the int range; used
// wherever stored minutes become seconds or milliseconds.
int SaturatingMultiply(int value, int factor);
