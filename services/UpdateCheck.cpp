// The update check.
#include "engine/MainFrame.h"

void CMainFrame::ArmUpdateCheck() {}
bool CMainFrame::StartUpdateCheck() { return false; }
LRESULT CMainFrame::OnUpdateCheckDone(WPARAM, LPARAM) { return 0; }
void CMainFrame::OnCheckForUpdates() {}
