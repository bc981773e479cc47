#include "ui/DashBoardDlg.h"
#include "ui/Dashboard.h"
#include "ui/DashboardView.h"
#include "ui/Placement.h"
#include "engine/MainFrame.h"
#include "engine/World.h"
#include "services/Translator.h"
#include "tray/TrayNotifyIcon.h"
#include "res/resource.h"
#include <commctrl.h>

int CDashBoardDlg::s_nLive;

void ShowChartSlices(CPieChartCtrl& chart, const DashboardSlice* slices, int count)
{
    chart.SendMessage(WM_SETREDRAW, FALSE);
    for (int i = 0; i < count; ++i) {
        chart.SetSliceLabel(i, slices[i].label);
        chart.SetSliceValue(i, slices[i].value);
        chart.SetSliceColor(i, slices[i].color);
    }
    chart.SendMessage(WM_SETREDRAW, TRUE);
    chart.InvalidateRect(nullptr, TRUE);
    chart.UpdateWindow();
}

CMainFrame* DashboardFrame()
{
    return dynamic_cast<CMainFrame*>(AfxGetMainWnd());
}

BEGIN_MESSAGE_MAP(CDashBoardDlg, CDialog)
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_TIMER()
    ON_WM_MOVE()
    ON_BN_CLICKED(IDC_DASH_SETTINGS, OnSettings)
    ON_BN_CLICKED(IDC_DASH_PAUSE, OnPause)
    ON_BN_CLICKED(IDC_DASH_BREAK, OnBreak)
    ON_BN_CLICKED(IDC_DASH_PIN, OnPin)
    ON_BN_CLICKED(IDC_DASH_MORE, OnMore)
END_MESSAGE_MAP()

CDashBoardDlg::CDashBoardDlg(CWnd* pParent) : CDialog(IDD_DASHBOARD, pParent)
{
    ++s_nLive;
}

CDashBoardDlg::~CDashBoardDlg()
{
    --s_nLive;
}

void CDashBoardDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DASH_STATUS, m_status);
    DDX_Control(pDX, IDC_DASH_PIN, m_btnPin);
    DDX_Control(pDX, IDC_DASH_CHART, m_chart);
    DDX_Control(pDX, IDC_DASH_PROGRESS, m_progress);
    DDX_Control(pDX, IDC_DASH_MORE, m_btnMore);
    DDX_Control(pDX, IDC_DASH_BREAK, m_btnBreak);
    DDX_Control(pDX, IDC_DASH_PAUSE, m_btnPause);
}

BOOL CDashBoardDlg::OnInitDialog()
{
    m_bInitialised = false;
    CDialog::OnInitDialog();
    g_translator.TranslateWindow(this);

    m_fontStatus.Attach(::CreateFontA(-15, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                      VARIABLE_PITCH, "Trebuchet MS"));
    m_status.SetFont(m_fontStatus, TRUE);

    m_chart.AddSlice(g_translator.Translate("Work time:"), 0.0, kDashWorkColor);
    m_chart.AddSlice(g_translator.Translate("Rest time:"), 0.0, kDashRestColor);
    m_chart.AddSlice(g_translator.Translate("Left to work:"), 0.0, kDashLeftColor);
    m_chart.ShowLegend(TRUE);

    g_dashboardDirty = true;
    Refresh();

    RECT tray, wr;
    PlaceBesideTray(this, g_dashboardHasPos, g_dashboardXPos, g_dashboardYPos, &tray);
    GetWindowRect(&wr);
    AfxDrawAnimatedRects(m_hWnd, IDANI_OPEN, &tray, &wr);

    m_nTimerId = SetTimer(TIMER_DASHBOARD, 125);
    ModifyStyleEx(0, WS_EX_LAYERED);

    HINSTANCE inst = AfxGetResourceHandle();
    m_bmpPinned.Attach(::CreateMappedBitmap(inst, IDB_PINNED, 0, nullptr, 0));
    m_bmpUnpinned.Attach(::CreateMappedBitmap(inst, IDB_UNPINNED, 0, nullptr, 0));
    if (g_dashboardPinned) m_btnPin.SetCheck(BST_CHECKED);
    OnPin();

    m_bInitialised = true;
    ResetFade();
    return TRUE;
}

void CDashBoardDlg::PostNcDestroy()
{
    CDialog::PostNcDestroy();
    delete this;
}

void CDashBoardDlg::Refresh()
{
    if (!DashboardNeedsRefresh()) return;
    ++m_nRefreshes;
    m_status.SetWindowText(g_strDashboardStatus);

    CMainFrame* frame = DashboardFrame();
    DashboardEngine engine;
    if (frame) {
        engine.nPeriodMinutes = frame->m_nPeriodMinutes;
        engine.nMinutesLeft = frame->m_nMinutesLeft;
        engine.bPaused = frame->IsPaused() != FALSE;
        engine.bOnBreak = !(frame->m_dwState & STATE_WORKING);
    }
    DashboardView view = ComputeDashboardView(engine);

    ShowChartSlices(m_chart, view.slices, 3);

    if (frame) {
        m_progress.SetRange(0, view.nRangeMax);
        m_progress.SetPos(view.nPos);
        m_btnPause.SetCheck(view.bPausePressed ? BST_CHECKED : BST_UNCHECKED);
        m_btnBreak.SetCheck(view.bBreakPressed ? BST_CHECKED : BST_UNCHECKED);
    }
    g_dashboardDirty = false;
}

void CDashBoardDlg::SetAlpha(int alpha)
{
    if (SetLayeredWindowAttributes(0, (BYTE)alpha, LWA_ALPHA)) m_bAlphaSet = true;
    else if (!m_bAlphaSet) ModifyStyleEx(WS_EX_LAYERED, 0);
}

void CDashBoardDlg::ResetFade()
{
    m_nAlpha = 255;
    m_fFadeStep = 0.1f;
    SetAlpha(255);
}

void CDashBoardDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == m_nTimerId && m_nTimerId) {
        POINT pt;
        if (!World().GetCursorPos(&pt)) pt = POINT{ 0, 0 };
        RECT wr;
        GetWindowRect(&wr);
        CMainFrame* frame = DashboardFrame();
        bool hold = ::PtInRect(&wr, pt) || (frame && frame->IsNearHoverPoint(pt))
                    || m_btnPin.GetCheck() == BST_CHECKED || m_bMenuOpen;
        if (hold) {
            ResetFade();
        } else if (AdvanceFade(m_nAlpha, m_fFadeStep)) {
            PostMessage(WM_CLOSE);
        } else {
            SetAlpha(m_nAlpha);
        }
        Refresh();
    }
    DefWindowProc(WM_TIMER, nIDEvent, 0);
}

void CDashBoardDlg::OnPin()
{
    g_dashboardPinned = m_btnPin.GetCheck() == BST_CHECKED;
    HBITMAP bmp = g_dashboardPinned ? (HBITMAP)m_bmpPinned : (HBITMAP)m_bmpUnpinned;
    m_btnPin.SendMessage(BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)bmp);
}

void CDashBoardDlg::OnSettings()
{
    if (!g_dashboardPinned) CloseDashboard();
    OpenSettings();
}

void CDashBoardDlg::OnPause()
{
    if (!g_dashboardPinned) CloseDashboard();
    TogglePause();
}

void CDashBoardDlg::OnBreak()
{
    if (!g_dashboardPinned) CloseDashboard();
    TakeBreak();
}

void CDashBoardDlg::OnMore()
{
    CMenu* popup = g_trayIcon.GetMenu()->GetSubMenu(0);
    // Only the handle is kept: the tray may replace its menu meanwhile.
    HMENU hMenu = popup ? popup->m_hMenu : nullptr;
    if (!hMenu) return;
    CWnd* main = AfxGetMainWnd();
    HWND owner = main ? main->m_hWnd : nullptr;
    RECT r;
    m_btnMore.GetWindowRect(&r);
    // The menu is tracked without WM_INITMENUPOPUP: its rules run here.
    if (CMainFrame* frame = DashboardFrame()) frame->OnInitMenuPopup(hMenu, 0, FALSE);
    ::SetForegroundWindow(owner);
    m_bMenuOpen = true;
    g_trayIcon.BeginMenuUse();
    UINT cmd = (UINT)::TrackPopupMenu(hMenu, TPM_RETURNCMD | TPM_NONOTIFY, r.right, r.bottom, 0, owner, nullptr);
    g_trayIcon.EndMenuUse();
    m_bMenuOpen = false;
    if (cmd == 0) return;
    if (!g_dashboardPinned) CloseDashboard();
    if (owner) ::PostMessageA(owner, WM_COMMAND, cmd, 0);
}

void CDashBoardDlg::OnMove(int, int)
{
    if (!m_bInitialised) return;
    RECT wr;
    GetWindowRect(&wr);
    g_dashboardHasPos = true;
    g_dashboardXPos = wr.left;
    g_dashboardYPos = wr.top;
}

void CDashBoardDlg::OnClose()
{
    // A dialog's own WM_CLOSE would only post IDCANCEL; the window goes now.
    DestroyWindow();
}

void CDashBoardDlg::OnDestroy()
{
    if (m_nTimerId) KillTimer(m_nTimerId);
    m_nTimerId = 0;
    if (g_dashboard == this) g_dashboard = nullptr;
}
