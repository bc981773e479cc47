// Window messages shared by the program's windows.
#pragma once
#include <windows.h>

// Sent by an alert window to the frame that opened it (wParam: the alert's
// window): asks it to close its alerts, and tells it the window is going.
#define WM_ALERT_CLOSE_REQUEST  (WM_USER + 21)
#define WM_ALERT_GONE           (WM_USER + 22)
#define WM_TRAY_NOTIFY          (WM_USER + 100)
#define WM_SETTINGS_APPLIED     (WM_USER + 101)
#define WM_ALERT_RESULT         (WM_USER + 102)   // wParam 0: end the break, 1: postpone; lParam 1: daily limit
#define WM_UPDATE_CHECK_DONE    (WM_USER + 103)   // wParam 1: the user chose to upgrade

#ifndef WM_WTSSESSION_CHANGE
#define WM_WTSSESSION_CHANGE    0x02B1
#endif
#ifndef WTS_SESSION_LOCK
#define WTS_SESSION_LOCK        0x7
#define WTS_SESSION_UNLOCK      0x8
#endif
