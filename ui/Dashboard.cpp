#include "ui/Dashboard.h"

CDashBoardDlg* g_dashboard;
int g_dashboardSuppress;
bool g_dashboardDirty;
bool g_dashboardPinned;
bool g_dashboardHasPos;
int g_dashboardXPos;
int g_dashboardYPos;

static const char kSection[] = "Settings";

// The dashboard window itself is not built yet: opening and closing it go
// through these, which do nothing until it exists.
void (*g_pfnShowDashboard)();
void (*g_pfnCloseDashboard)();

void ShowDashboardIfAllowed()
{
    if (g_dashboardSuppress == 0 && g_pfnShowDashboard) g_pfnShowDashboard();
}

void ShowDashboardIfPinned()
{
    if (g_dashboardPinned) ShowDashboardIfAllowed();
}

void CloseDashboard()
{
    if (g_dashboard && g_pfnCloseDashboard) g_pfnCloseDashboard();
}

void SuppressDashboard()
{
    ++g_dashboardSuppress;
    CloseDashboard();
}

void ResetDashboardFade() {}

void SetDashboardStatus(const CString& text)
{
    int cut = text.GetLength();
    for (int i = 0; i < text.GetLength(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n' || c == '\t') { cut = i; break; }
    }
    g_strDashboardStatus = text.Left(cut);
    g_dashboardDirty = true;
}

void LoadDashboardSettings()
{
    CWinApp* app = AfxGetApp();
    g_dashboardPinned = app->GetProfileInt(kSection, "DashBoardPinned", g_dashboardPinned ? 1 : 0) != 0;
    g_dashboardXPos = app->GetProfileInt(kSection, "DashBoardXPos", g_dashboardXPos);
    g_dashboardYPos = app->GetProfileInt(kSection, "DashBoardYPos", g_dashboardYPos);
    g_dashboardHasPos = g_dashboardXPos != 0 || g_dashboardYPos != 0;
}

BOOL SaveDashboardSettings()
{
    CWinApp* app = AfxGetApp();
    return app->WriteProfileInt(kSection, "DashBoardXPos", g_dashboardXPos)
        && app->WriteProfileInt(kSection, "DashBoardYPos", g_dashboardYPos)
        && app->WriteProfileInt(kSection, "DashBoardPinned", g_dashboardPinned ? 1 : 0);
}
