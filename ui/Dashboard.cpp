#include "ui/Dashboard.h"
#include "ui/DashBoardDlg.h"
#include "engine/DayCounters.h"
#include "engine/MainFrame.h"
#include "res/resource.h"

CDashBoardDlg* g_dashboard;
int g_dashboardSuppress;
bool g_dashboardDirty;
bool g_dashboardPinned;
bool g_dashboardHasPos;
int g_dashboardXPos;
int g_dashboardYPos;

int g_dashboardLastSession;

static const char kSection[] = "Settings";

static CDashBoardDlg* NewDashboard(CWnd* pParent) { return new CDashBoardDlg(pParent); }
PFN_NEW_DASHBOARD g_pfnNewDashboard = NewDashboard;

void ShowDashboard()
{
    if (g_dashboard) return;
    CWnd* main = AfxGetMainWnd();
    CDashBoardDlg* p = g_pfnNewDashboard(main);
    if (!p) return;
    g_dashboard = p;
    // On failure the object is gone, by its own end or deleted here.
    if (!AfxCreateOrDelete(p, [main](CDashBoardDlg* d) { return d->Create(IDD_DASHBOARD, main); })) {
        if (g_dashboard == p) g_dashboard = nullptr;
        return;
    }
    p->ShowWindow(SW_SHOW);
}

static void CloseDashboardWindow()
{
    if (g_dashboard && g_dashboard->IsWindow()) g_dashboard->PostMessage(WM_CLOSE);
}

static void ResetFadeOfDashboard()
{
    if (g_dashboard && g_dashboard->IsWindow()) g_dashboard->ResetFade();
}

void (*g_pfnShowDashboard)() = ShowDashboard;
void (*g_pfnCloseDashboard)() = CloseDashboardWindow;
void (*g_pfnResetDashboardFade)() = ResetFadeOfDashboard;

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

void ResetDashboardFade()
{
    if (g_dashboard && g_pfnResetDashboardFade) g_pfnResetDashboardFade();
}

bool DashboardNeedsRefresh()
{
    static bool s_used;
    if (!s_used) {
        s_used = true;
        g_dashboardLastSession = g_dayCounters.nSessionSeconds;
    }
    if (g_dayCounters.nSessionSeconds != g_dashboardLastSession) {
        g_dashboardLastSession = g_dayCounters.nSessionSeconds;
        return true;
    }
    return g_dashboardDirty;
}

void OpenSettings()
{
    if (CMainFrame* frame = DashboardFrame()) frame->ShowSettings(0, FALSE);
}

void TogglePause()
{
    if (CMainFrame* frame = DashboardFrame()) frame->OnPause();
}

void TakeBreak()
{
    if (CMainFrame* frame = DashboardFrame()) frame->ToggleMode();
}

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
