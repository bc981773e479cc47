// The settings sheet's Statistics page and its auto-clear dialog:
//   CStatisticsPage  the day's counters as a list and a chart, refreshed
//                    twice a second; Clear; the automatic clearing's choice
//   CAutoClearDlg    "AutoZero Settings": after inactive hours or at a time
#pragma once
#include "vfx.h"
#include "controls/PieChartCtrl.h"
#include "ui/SettingsSheet.h"

const UINT_PTR TIMER_STATISTICS = 0x11221231;

class CStatisticsPage : public CPageWithHelp {
public:
    CStatisticsPage();
    ~CStatisticsPage() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnApply() override;

    // Inserts the rows that apply now; an index stays -1 for a row not there.
    void FillRows();
    // Writes the counters' texts into the rows FillRows made and whose
    // condition still holds, and the four slices.
    void UpdateValues();
    void OnTimer(UINT_PTR nIDEvent);
    void OnDestroy();
    // Clears the day's counters at once; Cancel does not bring them back.
    void OnClear();
    void OnAutoClear();
    void EnableWhen();
    void OnWhen();

    CButton m_btnAutoClear;   // its check is the working copy of g_autoZeroEnabled
    CListCtrl m_list;
    CPieChartCtrl m_chart;
    int m_nAutoClearMode;
    int m_nAutoClearHours;
    int m_nAutoClearTime;
    UINT_PTR m_nTimer = 0;
    int m_nRowTotal = -1, m_nRowWork = -1, m_nRowRest = -1, m_nRowIdle = -1, m_nRowLeft = -1,
        m_nRowBreaks = -1, m_nRowPostpones = -1, m_nRowKeys = -1, m_nRowClicks = -1;
    DECLARE_MESSAGE_MAP()

private:
    void SetValue(int nRow, const CString& text);
};

class CAutoClearDlg : public CDialog {
public:
    explicit CAutoClearDlg(CWnd* pParent);
    ~CAutoClearDlg() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    // The hours (spin, edit, label) for 0, the time picker otherwise.
    void EnableModeControls(int atTime);
    void OnAfterInactivity();
    void OnAtTime();

    CDateTimeCtrl m_timePicker;
    CSpinButtonCtrl m_spinHours;
    CEdit m_editHours;
    int m_nHours;
    int m_nMode;
    int m_nTime;
    DECLARE_MESSAGE_MAP()
};
