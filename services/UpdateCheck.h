// The update check: once a week a worker thread asks the product's site for
// the newest release and offers the download page when it differs.
#pragma once
#include "vfx.h"
#include "app/Messages.h"

// Whole days since 1 January 1601 UTC of a FILETIME value.
int DayNumberOf(const FILETIME& ft);
// Today's day number by the engine's clock.
int TodayDayNumber();

// The update site's root URL, the build's KS_UPDATE_SITE; tests point it at
// a server of their own.
extern const char* g_pszUpdateSite;

// The version file's address (forVersionFile) or the download page's, with
// the query "?param=<g_parameters>&version=<GetProgramVersion()>".
CString BuildUpdateCheckUrl(bool forVersionFile);

// Everything a worker needs, copied for it before it starts: the worker
// owns the block and deletes it. It reads nothing of the user-interface
// thread (no window object, no list of open modal windows, no global that
// a window writes), so nothing that thread opens, closes or tears down at
// exit meanwhile can reach it.
struct UpdateCheckJob {
    HWND hwndNotify = nullptr;   // the main window: gets WM_UPDATE_CHECK_DONE and owns the boxes
    CString strUrl;              // the version file's address
    CString strVersion;          // the program's own version
};

// The worker: param is a new-allocated UpdateCheckJob. Exit code 1 after a
// completed check, 0 after a failed one; it always ends by posting
// WM_UPDATE_CHECK_DONE (1 when the user chose to upgrade, else 0).
DWORD WINAPI UpdateCheckThreadProc(LPVOID param);

// The worker now running, kept (as a duplicate of hThread) for the wait at
// exit, which outlives the main frame and its handle; and its end.
void RememberRunningUpdateWorker(HANDLE hThread);
void ForgetRunningUpdateWorker();

// At exit: gives a running worker up to ms milliseconds to finish. TRUE
// when no worker runs any more.
bool WaitForUpdateCheckToEnd(DWORD ms = 2000);
