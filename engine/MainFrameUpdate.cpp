// The main frame's part of the update check: arming it once a week,
// starting the worker and hearing that it ended.
#include "engine/MainFrame.h"
#include "services/UpdateCheck.h"
#include "services/ShellHelpers.h"
#include "controls/OpenUrl.h"
#include "app/Kestrabel.h"
#include "app/Settings.h"

void CMainFrame::ArmUpdateCheck()
{
    if (m_nTimerUpdate) return;
    if (g_lastCheckDay != 0) {
        // Unsigned: a last check "in the future" (the clock was set back)
        // gives a large difference, so the check is armed.
        DWORD days = (DWORD)TodayDayNumber() - (DWORD)g_lastCheckDay;
        if (days < 7) return;
    }
    m_nTimerUpdate = SetTimer(TIMER_UPDATE_CHECK, 30000);
}

bool CMainFrame::StartUpdateCheck()
{
    if (m_hUpdateThread) return false;
    // A check that fails still counts: it is in the store before it starts.
    g_lastCheckDay = TodayDayNumber();
    if (g_isPrimaryInstance) theApp.SaveSettings();

    UpdateCheckJob* job = new UpdateCheckJob;
    job->hwndNotify = m_hWnd;
    job->strUrl = BuildUpdateCheckUrl(true);
    job->strVersion = GetProgramVersion();
    DWORD threadId = 0;
    HANDLE hThread = ::CreateThread(nullptr, 0, UpdateCheckThreadProc, job, 0, &threadId);
    if (!hThread) {
        DWORD error = ::GetLastError();
        delete job;
        ::SetLastError(error);
        ShowLastError("Failed to create update-checking thread", MB_ICONEXCLAMATION);
        return false;
    }
    m_hUpdateThread = hThread;
    RememberRunningUpdateWorker(hThread);
    return true;
}

LRESULT CMainFrame::OnUpdateCheckDone(WPARAM wParam, LPARAM)
{
    if (m_hUpdateThread) ::CloseHandle(m_hUpdateThread);
    m_hUpdateThread = nullptr;
    ForgetRunningUpdateWorker();
    if (wParam) OnCheckForUpdates();
    return 0;
}

void CMainFrame::OnCheckForUpdates()
{
    OpenUrl(BuildUpdateCheckUrl(false), SW_SHOW);
}
