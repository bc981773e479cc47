#include "ui/AdvancedPage.h"
#include "app/Messages.h"
#include "app/Settings.h"
#include "engine/World.h"
#include "res/resource.h"
#include "services/Translator.h"

BEGIN_MESSAGE_MAP(CAdvancedPage, CPageWithHelp)
    ON_BN_CLICKED(IDC_TRACK_MOUSE, OnControlChanged)
    ON_BN_CLICKED(IDC_TRACK_KEYBOARD, OnControlChanged)
    ON_BN_CLICKED(IDC_TRACK_MOUSEMOVE, OnControlChanged)
    ON_BN_CLICKED(IDC_TRACK_PAUSE, OnControlChanged)
    ON_BN_CLICKED(IDC_TRACK_RESTART, OnControlChanged)
    ON_BN_CLICKED(IDC_TRACK_LOCK, OnControlChanged)
    ON_EN_CHANGE(IDC_TRACK_PAUSE_DELAY, OnControlChanged)
    ON_EN_CHANGE(IDC_TRACK_LOCK_DELAY, OnLockDelayChanged)
END_MESSAGE_MAP()

CAdvancedPage::CAdvancedPage()
    : CPageWithHelp(IDD_TRACKING_PAGE, "/manual/TrackingPage.html?help=1"),
      m_nPauseDelay(g_pauseDelay), m_bTrackKeyboard(g_trackKeyboard), m_bTrackMouse(g_trackMouse),
      m_nLockDelay(g_lockOnInactivityDelay), m_bLockOnInactivity(g_lockOnInactivity),
      m_bTrackMouseMove(g_trackMouseMove)
{
}

CAdvancedPage::~CAdvancedPage() {}

void CAdvancedPage::DoDataExchange(CDataExchange* pDX)
{
    CPageWithHelp::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TRACK_MOUSEMOVE, m_btnTrackMouseMove);
    DDX_Control(pDX, IDC_TRACK_PAUSE_SPIN, m_spinPauseDelay);
    DDX_Control(pDX, IDC_TRACK_MOUSE, m_btnTrackMouse);
    DDX_Control(pDX, IDC_TRACK_KEYBOARD, m_btnTrackKeyboard);
    DDX_Control(pDX, IDC_TRACK_PAUSE_DELAY, m_editPauseDelay);
    DDX_Text(pDX, IDC_TRACK_PAUSE_DELAY, m_nPauseDelay);
    DDV_MinMaxInt(pDX, m_nPauseDelay, 1, 60);
    DDX_Check(pDX, IDC_TRACK_KEYBOARD, m_bTrackKeyboard);
    DDX_Check(pDX, IDC_TRACK_MOUSE, m_bTrackMouse);
    DDX_Control(pDX, IDC_TRACK_LOCK_SPIN, m_spinLockDelay);
    DDX_Control(pDX, IDC_TRACK_LOCK, m_btnLockOnInactivity);
    DDX_Text(pDX, IDC_TRACK_LOCK_DELAY, m_nLockDelay);
    DDX_Check(pDX, IDC_TRACK_LOCK, m_bLockOnInactivity);
    DDX_Check(pDX, IDC_TRACK_MOUSEMOVE, m_bTrackMouseMove);
}

BOOL CAdvancedPage::OnInitDialog()
{
    m_bReady = false;
    CPageWithHelp::OnInitDialog();
    g_translator.TranslateWindow(this);
    m_spinPauseDelay.SendMessage(UDM_SETRANGE, 0, MAKELPARAM(60, 1));
    m_spinLockDelay.SendMessage(UDM_SETRANGE, 0, MAKELPARAM(60, 0));
    CheckRadioButton(IDC_TRACK_PAUSE, IDC_TRACK_RESTART, g_enablePauses ? IDC_TRACK_PAUSE : IDC_TRACK_RESTART);
    UpdateControls();
    m_bReady = true;
    return TRUE;
}

void CAdvancedPage::UpdateControls()
{
    if (!m_btnTrackMouse.m_hWnd) return;
    bool hooks = m_btnTrackMouse.GetCheck() == BST_CHECKED || m_btnTrackKeyboard.GetCheck() == BST_CHECKED;
    bool moves = m_btnTrackMouseMove.GetCheck() == BST_CHECKED;
    bool on;
    if (World().IsHookLibraryLoaded()) {
        GetDlgItem(IDC_TRACK_NO_LIBRARY).ShowWindow(SW_HIDE);
        GetDlgItem(IDC_TRACK_EXPLAIN).ShowWindow(SW_SHOW);
        on = hooks || moves;
    } else {
        m_btnTrackMouse.EnableWindow(FALSE);
        m_btnTrackKeyboard.EnableWindow(FALSE);
        GetDlgItem(IDC_TRACK_EXPLAIN).ShowWindow(SW_HIDE);
        GetDlgItem(IDC_TRACK_NO_LIBRARY).ShowWindow(SW_SHOW);
        on = moves;
    }
    for (int id : { IDC_TRACK_PAUSE, IDC_TRACK_RESTART, IDC_TRACK_EXPLAIN, IDC_TRACK_IDLE_TEXT, IDC_TRACK_MINUTES,
                    IDC_TRACK_PAUSE_DELAY, IDC_TRACK_LOCK })
        GetDlgItem(id).EnableWindow(on);
    bool lock = on && m_btnLockOnInactivity.GetCheck() == BST_CHECKED;
    GetDlgItem(IDC_TRACK_LOCK_DELAY).EnableWindow(lock);
    m_spinLockDelay.EnableWindow(lock);
}

void CAdvancedPage::OnControlChanged()
{
    if (!m_bReady) return;
    UpdateControls();
    SetModified(TRUE);
}

void CAdvancedPage::OnLockDelayChanged()
{
    if (m_bReady) SetModified(TRUE);
}

BOOL CAdvancedPage::OnApply()
{
    if (!UpdateData(TRUE)) return FALSE;
    if (!CPageWithHelp::OnApply()) return FALSE;
    g_enablePauses = IsDlgButtonChecked(IDC_TRACK_PAUSE) == BST_CHECKED;
    g_pauseDelay = m_nPauseDelay;
    g_trackKeyboard = m_bTrackKeyboard != 0;
    g_trackMouse = m_bTrackMouse != 0;
    g_trackMouseMove = m_bTrackMouseMove != 0;
    g_lockOnInactivityDelay = m_nLockDelay;
    g_lockOnInactivity = m_bLockOnInactivity != 0;
    if (CWnd* main = AfxGetMainWnd()) main->PostMessage(WM_SETTINGS_APPLIED, 0, 0);
    return TRUE;
}
