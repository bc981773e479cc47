#include "ui/SettingsSheet.h"

// The sheet's pages are not built yet: the sheet opens with no page and so
// does not show.
static void RunSheet(CWnd*, int, BOOL) {}

RUN_SETTINGS_SHEET g_pfnRunSettingsSheet = RunSheet;

void RunSettingsSheet(CWnd* pParent, int startPage, BOOL welcome)
{
    g_pfnRunSettingsSheet(pParent, startPage, welcome);
}
