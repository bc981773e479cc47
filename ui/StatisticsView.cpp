#include "ui/StatisticsView.h"
#include "app/Settings.h"
#include "engine/BreakSettings.h"
#include "engine/DayCounters.h"
#include "engine/World.h"
#include "services/Translator.h"
#include <climits>

PFN_GETLOCALEINFOA g_pfnGetLocaleInfoA = ::GetLocaleInfoA;

StatisticsRows StatisticsRowsNow()
{
    StatisticsRows r;
    bool library = World().IsHookLibraryLoaded();
    r.bLeft = g_breakSettings.aBreaks[BREAK_DAILY_LIMIT].bEnabled != 0;
    r.bKeys = g_trackKeyboard && library;
    r.bClicks = g_trackMouse && library;
    return r;
}

DWORD CountSinceBase(DWORD reading, int base)
{
    return (base < 0 || reading >= (DWORD)base) ? reading - (DWORD)base : reading;
}

static CString Unsigned(DWORD n)
{
    CString s;
    s.Format("%lu", (unsigned long)n);
    return s;
}

static CString Signed(int n)
{
    CString s;
    s.Format("%d", n);
    return s;
}

static DashboardSlice Slice(const char* caption, int seconds, DWORD color)
{
    DashboardSlice s;
    s.label = g_translator.Translate(caption) + " " + FormatMinutes(seconds);
    s.value = seconds;
    s.color = color;
    return s;
}

StatisticsValues ComputeStatisticsValues()
{
    StatisticsValues v;
    const DayCounters& c = g_dayCounters;
    // Restored counters may hold more work and idle time than total time:
    // then there was no rest, never a negative one.
    long long rest = (long long)c.nTotalSeconds - c.nIdleSeconds - c.nWorkSeconds;
    if (rest < 0) rest = 0;
    if (rest > INT_MAX) rest = INT_MAX;

    v.total = FormatMinutes(c.nTotalSeconds);
    v.work = FormatMinutes(c.nWorkSeconds);
    v.rest = FormatMinutes((int)rest);
    v.idle = FormatMinutes(c.nIdleSeconds);
    v.left = FormatLeftToWork(true);
    v.breaks = Signed(c.nBreaks);
    v.postpones = Signed(c.nPostpones);
    StatisticsRows rows = StatisticsRowsNow();
    if (rows.bKeys) v.keys = Unsigned(CountSinceBase(World().ReadKeyStrokes(), c.nKeyStrokesBase));
    if (rows.bClicks) v.clicks = Unsigned(CountSinceBase(World().ReadMouseClicks(), c.nMouseClicksBase));

    v.slices[0] = Slice("Work time:", c.nWorkSeconds, kDashWorkColor);
    v.slices[1] = Slice("Rest time:", (int)rest, kDashRestColor);
    v.slices[2] = Slice("Idle/Away time:", c.nIdleSeconds, kStatsIdleColor);
    v.slices[3] = ComputeLeftToWorkSlice();
    return v;
}

CString PickerFormat(const char* pszTimeFormat, const char* pszSeparator)
{
    CString format(pszTimeFormat ? pszTimeFormat : "");
    CString sep(pszSeparator ? pszSeparator : "");
    for (const char* seconds : { "ss", "s" }) {
        CString cut = sep + seconds;
        int at = format.Find(cut);
        if (at >= 0) return format.Left(at) + format.Mid(at + cut.GetLength());
    }
    return format;
}

CString UserPickerFormat()
{
    char format[64] = {}, sep[64] = {};
    if (g_pfnGetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, format, (int)sizeof(format)) <= 0)
        return "HH:mm";
    format[sizeof(format) - 1] = '\0';
    if (g_pfnGetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIME, sep, (int)sizeof(sep)) <= 0)
        lstrcpyA(sep, ":");
    sep[sizeof(sep) - 1] = '\0';
    return PickerFormat(format, sep);
}

SYSTEMTIME PickerTimeOf(int hhmm)
{
    SYSTEMTIME st = {};
    st.wYear = 2000;
    st.wMonth = 1;
    st.wDay = 1;
    st.wDayOfWeek = 6;   // a Saturday
    if (hhmm >= 0 && hhmm / 100 < 24 && hhmm % 100 < 60) {
        st.wHour = (WORD)(hhmm / 100);
        st.wMinute = (WORD)(hhmm % 100);
    }
    return st;
}
