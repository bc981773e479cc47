// CDashBoardDlg: the small top-most window over the tray icon with the
// status line, the countdown, the day's chart and four buttons that steer
// the engine. It fades out unless the cursor rests on it or it is pinned,
// and deletes itself once its window is gone.
#pragma once
#include "vfx.h"
#include "controls/PieChartCtrl.h"

class CMainFrame;

// The dashboard's timer.
#define TIMER_DASHBOARD ((UINT_PTR)1)

class CDashBoardDlg : public CDialog {
public:
    explicit CDashBoardDlg(CWnd* pParent);
    ~CDashBoardDlg() override;

    BOOL OnInitDialog() override;
    void PostNcDestroy() override;
    // Enter and Escape close the window as its close box does.
    void OnOK() override { OnClose(); }
    void OnCancel() override { OnClose(); }

    void Refresh();
    void ResetFade();

    void OnDestroy();
    void OnClose();
    void OnTimer(UINT_PTR nIDEvent);
    void OnMove(int x, int y);
    void OnSettings();
    void OnPause();
    void OnBreak();
    void OnPin();
    void OnMore();

    UINT_PTR m_nTimerId = 0;
    bool m_bInitialised = false;
    bool m_bMenuOpen = false;
    CFont m_fontStatus;
    CBitmap m_bmpUnpinned;
    CBitmap m_bmpPinned;
    int m_nAlpha = 255;
    float m_fFadeStep = 0.1f;
    CStatic m_status;
    CPieChartCtrl m_chart;
    CButton m_btnPin;
    CProgressCtrl m_progress;
    CButton m_btnMore;
    CButton m_btnPause;
    CButton m_btnBreak;

    // How often the contents were rebuilt; dashboards alive in the process.
    int m_nRefreshes = 0;
    static int s_nLive;
    DECLARE_MESSAGE_MAP()

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Sets the opacity; a window whose first opacity cannot be set is made
    // opaque again (a layered window without it shows nothing).
    void SetAlpha(int alpha);
    bool m_bAlphaSet = false;
};

// The main frame when the application's main window is one; else NULL.
CMainFrame* DashboardFrame();

// The first count slices of the chart take the given ones, drawn at once
// (no drawing in between).
struct DashboardSlice;
void ShowChartSlices(CPieChartCtrl& chart, const DashboardSlice* slices, int count);

// Makes the dashboard object that ShowDashboard opens; tests make others.
typedef CDashBoardDlg* (*PFN_NEW_DASHBOARD)(CWnd* pParent);
extern PFN_NEW_DASHBOARD g_pfnNewDashboard;
