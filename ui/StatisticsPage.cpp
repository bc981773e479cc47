#include "ui/StatisticsPage.h"
#include "app/Settings.h"
#include "engine/DayCounters.h"
#include "engine/World.h"
#include "res/resource.h"
#include "services/Translator.h"
#include "ui/DashBoardDlg.h"
#include "ui/StatisticsView.h"

// ---- the page ----

BEGIN_MESSAGE_MAP(CStatisticsPage, CPageWithHelp)
    ON_BN_CLICKED(IDC_STATS_CLEAR, OnClear)
    ON_BN_CLICKED(IDC_STATS_AUTOCLEAR, OnAutoClear)
    ON_BN_CLICKED(IDC_STATS_WHEN, OnWhen)
    ON_WM_DESTROY()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CStatisticsPage::CStatisticsPage()
    : CPageWithHelp(IDD_STATISTICS_PAGE, "/manual/StatisticsPage.html?help=1"),
      m_nAutoClearMode(g_autoZeroMode), m_nAutoClearHours(g_autoZeroDelay), m_nAutoClearTime(g_autoZeroTime)
{
}

CStatisticsPage::~CStatisticsPage() {}

void CStatisticsPage::DoDataExchange(CDataExchange* pDX)
{
    CPageWithHelp::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_STATS_AUTOCLEAR, m_btnAutoClear);
    DDX_Control(pDX, IDC_STATS_LIST, m_list);
    DDX_Control(pDX, IDC_STATS_CHART, m_chart);
}

static ARGB OpaqueArgb(COLORREF c)
{
    return 0xFF000000u | ((ARGB)GetRValue(c) << 16) | ((ARGB)GetGValue(c) << 8) | GetBValue(c);
}

BOOL CStatisticsPage::OnInitDialog()
{
    CPageWithHelp::OnInitDialog();
    g_translator.TranslateWindow(this);

    m_list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    CRect rc;
    m_list.GetWindowRect(&rc);
    int w = rc.Width() - 32;
    m_list.InsertColumn(0, g_translator.Translate("Property"), LVCFMT_LEFT, 2 * w / 3);
    m_list.InsertColumn(1, g_translator.Translate("Value"), LVCFMT_LEFT, w / 3);

    ARGB window = OpaqueArgb(::GetSysColor(COLOR_WINDOW));
    m_chart.SetBackgroundColors(window, window);
    m_chart.AddSlice(g_translator.Translate("Work time:"), 0, kDashWorkColor);
    m_chart.AddSlice(g_translator.Translate("Rest time:"), 0, kDashRestColor);
    m_chart.AddSlice(g_translator.Translate("Idle/Away time:"), 0, kStatsIdleColor);
    m_chart.AddSlice(g_translator.Translate("Left to work:"), 0, kDashLeftColor);
    m_chart.ShowLegend(TRUE);

    FillRows();
    UpdateValues();

    m_btnAutoClear.SetCheck(g_autoZeroEnabled ? BST_CHECKED : BST_UNCHECKED);
    EnableWhen();
    m_nTimer = SetTimer(TIMER_STATISTICS, 500, nullptr);
    return TRUE;
}

void CStatisticsPage::FillRows()
{
    m_list.DeleteAllItems();
    StatisticsRows rows = StatisticsRowsNow();
    auto add = [this](const char* caption) {
        return m_list.InsertItem(m_list.GetItemCount(), g_translator.Translate(caption));
    };
    m_nRowTotal = add("Total up time:");
    m_nRowWork = add("Work time:");
    m_nRowRest = add("Rest time:");
    m_nRowIdle = add("Idle/Away time:");
    m_nRowLeft = rows.bLeft ? add("Left to work:") : -1;
    m_nRowBreaks = add("Number of breaks:");
    m_nRowPostpones = add("Number of postpones:");
    m_nRowKeys = rows.bKeys ? add("Key presses:") : -1;
    m_nRowClicks = rows.bClicks ? add("Mouse clicks:") : -1;
}

void CStatisticsPage::SetValue(int nRow, const CString& text)
{
    if (nRow >= 0) m_list.SetItemText(nRow, 1, text);
}

void CStatisticsPage::UpdateValues()
{
    StatisticsValues v = ComputeStatisticsValues();
    StatisticsRows rows = StatisticsRowsNow();
    SetValue(m_nRowTotal, v.total);
    SetValue(m_nRowWork, v.work);
    SetValue(m_nRowRest, v.rest);
    SetValue(m_nRowIdle, v.idle);
    if (rows.bLeft) SetValue(m_nRowLeft, v.left);
    SetValue(m_nRowBreaks, v.breaks);
    SetValue(m_nRowPostpones, v.postpones);
    if (rows.bKeys) SetValue(m_nRowKeys, v.keys);
    if (rows.bClicks) SetValue(m_nRowClicks, v.clicks);

    ShowChartSlices(m_chart, v.slices, 4);
}

void CStatisticsPage::OnTimer(UINT_PTR nIDEvent)
{
    DefWindowProc(WM_TIMER, (WPARAM)nIDEvent, 0);
    if (m_nTimer && nIDEvent == m_nTimer) UpdateValues();
}

void CStatisticsPage::OnDestroy()
{
    if (m_nTimer) KillTimer(m_nTimer);
    m_nTimer = 0;
}

void CStatisticsPage::OnClear()
{
    g_dayCounters.Reset();
    UpdateValues();
}

void CStatisticsPage::OnAutoClear()
{
    SetModified(TRUE);
    EnableWhen();
}

void CStatisticsPage::EnableWhen()
{
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_STATS_WHEN), m_btnAutoClear.GetCheck() == BST_CHECKED);
}

void CStatisticsPage::OnWhen()
{
    CAutoClearDlg dlg(this);
    dlg.m_nMode = m_nAutoClearMode;
    dlg.m_nTime = m_nAutoClearTime;
    dlg.m_nHours = m_nAutoClearHours;
    if (dlg.DoModal() != IDOK) return;
    m_nAutoClearMode = dlg.m_nMode;
    m_nAutoClearTime = dlg.m_nTime;
    m_nAutoClearHours = dlg.m_nHours;
    SetModified(TRUE);
}

BOOL CStatisticsPage::OnApply()
{
    if (!UpdateData(TRUE) || !CPageWithHelp::OnApply()) return FALSE;
    g_autoZeroEnabled = m_btnAutoClear.GetCheck() == BST_CHECKED;
    g_autoZeroDelay = m_nAutoClearHours;
    g_autoZeroMode = m_nAutoClearMode;
    g_autoZeroTime = m_nAutoClearTime;
    return TRUE;
}

// ---- the auto-clear dialog ----

BEGIN_MESSAGE_MAP(CAutoClearDlg, CDialog)
    ON_BN_CLICKED(IDC_AUTOCLEAR_AT, OnAtTime)
    ON_BN_CLICKED(IDC_AUTOCLEAR_AFTER, OnAfterInactivity)
END_MESSAGE_MAP()

CAutoClearDlg::CAutoClearDlg(CWnd* pParent) : CDialog(IDD_AUTOCLEAR, pParent) {}

CAutoClearDlg::~CAutoClearDlg() {}

void CAutoClearDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_AUTOCLEAR_TIME, m_timePicker);
    DDX_Control(pDX, IDC_AUTOCLEAR_SPIN, m_spinHours);
    DDX_Control(pDX, IDC_AUTOCLEAR_HOURS, m_editHours);
    // Hours not in use (the time of day chosen) or greyed out (no hook
    // library) are not the user's to correct: they keep their value and
    // never block OK.
    if (pDX->m_bSaveAndValidate
        && (!m_editHours.IsWindowEnabled() || ::IsDlgButtonChecked(m_hWnd, IDC_AUTOCLEAR_AFTER) != BST_CHECKED))
        return;
    DDX_Text(pDX, IDC_AUTOCLEAR_HOURS, m_nHours);
    DDV_MinMaxInt(pDX, m_nHours, 1, 99);
}

BOOL CAutoClearDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    g_translator.TranslateWindow(this);
    m_spinHours.SendMessage(UDM_SETRANGE, 0, MAKELPARAM(99, 1));

    if ((g_trackMouse || g_trackKeyboard) && World().IsHookLibraryLoaded()) {
        ::CheckRadioButton(m_hWnd, IDC_AUTOCLEAR_AFTER, IDC_AUTOCLEAR_AT, m_nMode == 0 ? IDC_AUTOCLEAR_AFTER : IDC_AUTOCLEAR_AT);
        EnableModeControls(m_nMode);
    } else {
        ::EnableWindow(::GetDlgItem(m_hWnd, IDC_AUTOCLEAR_AFTER), FALSE);
        ::CheckRadioButton(m_hWnd, IDC_AUTOCLEAR_AFTER, IDC_AUTOCLEAR_AT, IDC_AUTOCLEAR_AT);
        EnableModeControls(1);
    }

    m_timePicker.SetFormat(UserPickerFormat());
    SYSTEMTIME st = PickerTimeOf(m_nTime);
    m_timePicker.SetTime(&st);
    return TRUE;
}

void CAutoClearDlg::EnableModeControls(int atTime)
{
    m_spinHours.EnableWindow(atTime == 0);
    m_editHours.EnableWindow(atTime == 0);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_AUTOCLEAR_HOURS_TEXT), atTime == 0);
    m_timePicker.EnableWindow(atTime != 0);
}

void CAutoClearDlg::OnAfterInactivity() { EnableModeControls(0); }
void CAutoClearDlg::OnAtTime() { EnableModeControls(1); }

void CAutoClearDlg::OnOK()
{
    if (!UpdateData(TRUE)) return;
    SYSTEMTIME st = {};
    if (m_timePicker.GetTime(&st) == GDT_VALID && st.wHour < 24 && st.wMinute < 60)
        m_nTime = st.wHour * 100 + st.wMinute;
    m_nMode = ::IsDlgButtonChecked(m_hWnd, IDC_AUTOCLEAR_AFTER) == BST_CHECKED ? 0 : 1;
    EndDialog(IDOK);
}
