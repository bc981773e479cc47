// The main frame's alert windows.
#include "engine/MainFrame.h"

void CMainFrame::ShowAlert(int kind)
{
    (void)kind;
}

void CMainFrame::CloseAlerts()
{
}
