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

// Open and close the dashboard window.
extern void (*g_pfnShowDashboard)();
extern void (*g_pfnCloseDashboard)();

void ShowDashboardIfAllowed();
void ShowDashboardIfPinned();
void CloseDashboard();
void SuppressDashboard();
void ResetDashboardFade();
void SetDashboardStatus(const CString& text);
void LoadDashboardSettings();
BOOL SaveDashboardSettings();
