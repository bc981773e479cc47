// The dashboard over the tray icon: its globals and the operations through
// which the rest of the program opens, closes, suppresses and feeds it.
#pragma once
#include "vfx.h"

class CDashBoardDlg;

extern CDashBoardDlg* g_dashboard;
extern int g_dashboardSuppress;
extern CString g_strDashboardStatus;
extern bool g_dashboardDirty;
extern bool g_dashboardPinned;
extern bool g_dashboardHasPos;
extern int g_dashboardXPos;
extern int g_dashboardYPos;
extern int g_dashboardLastSession;

// Opening, closing and resetting the fade of the dashboard window; tests
// of the callers install their own.
extern void (*g_pfnShowDashboard)();
extern void (*g_pfnCloseDashboard)();
extern void (*g_pfnResetDashboardFade)();

// Opens the dashboard; nothing when one is open or it cannot be made.
void ShowDashboard();
void ShowDashboardIfAllowed();
void ShowDashboardIfPinned();
// Asks the open dashboard to close; it goes when the request is handled.
void CloseDashboard();
void SuppressDashboard();
void ResetDashboardFade();
void SetDashboardStatus(const CString& text);
// TRUE when the session counter moved since the last call, or the contents
// were marked dirty.
bool DashboardNeedsRefresh();
void LoadDashboardSettings();
BOOL SaveDashboardSettings();

// The dashboard's buttons: the main frame's operations, called directly.
void OpenSettings();
void TogglePause();
void TakeBreak();
