// What the Statistics page and its auto-clear dialog show, computed without
// a window:
//   StatisticsRows, StatisticsRowsNow        which optional rows apply now
//   StatisticsValues, ComputeStatisticsValues the list's texts and the slices
//   CountSinceBase                           a hook count since the clearing
//   PickerFormat, UserPickerFormat           the time picker's format
//   PickerTimeOf                             the stored time in the picker
#pragma once
#include "ui/DashboardView.h"

const DWORD kStatsIdleColor = 0xFF0000FF;

struct StatisticsRows {
    bool bLeft = false;     // the daily limit is on
    bool bKeys = false;     // keys tracked and the hook library loaded
    bool bClicks = false;   // clicks tracked and the hook library loaded
};
StatisticsRows StatisticsRowsNow();

struct StatisticsValues {
    CString total, work, rest, idle, left, breaks, postpones, keys, clicks;
    DashboardSlice slices[4];   // work, rest, idle, left to work or overtime
};
// From g_dayCounters, the daily limit and the hook counts of World().
StatisticsValues ComputeStatisticsValues();

// Presses or clicks since the counters were cleared: reading - base, or the
// reading itself when it is below a base of 0 or more (the count restarted
// after the clearing, so all it holds came later). A base below 0 carries
// what was counted before the hook last went out (DayCounters::FollowHookReadings).
DWORD CountSinceBase(DWORD reading, int base);

// The user's time format without its seconds: the first separator + "ss",
// else the first separator + "s", is taken out.
CString PickerFormat(const char* pszTimeFormat, const char* pszSeparator);
// The locale reader; tests make it fail.
typedef int(WINAPI* PFN_GETLOCALEINFOA)(LCID, LCTYPE, LPSTR, int);
extern PFN_GETLOCALEINFOA g_pfnGetLocaleInfoA;
// PickerFormat of the user's locale: "HH:mm" without a time format, ":"
// without a separator.
CString UserPickerFormat();

// 1 January 2000 at the stored time (hour * 100 + minute); 00:00 when it is
// no time of day.
SYSTEMTIME PickerTimeOf(int hhmm);
