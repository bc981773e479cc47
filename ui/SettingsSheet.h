// Running the settings sheet.
#pragma once
#include "vfx.h"

// Builds the settings sheet (with the welcome page first when asked) and
// runs it modally over pParent, starting at startPage. Replaceable so that
// tests can watch what happens around the modal run.
typedef void (*RUN_SETTINGS_SHEET)(CWnd* pParent, int startPage, BOOL welcome);
extern RUN_SETTINGS_SHEET g_pfnRunSettingsSheet;
void RunSettingsSheet(CWnd* pParent, int startPage, BOOL welcome);
