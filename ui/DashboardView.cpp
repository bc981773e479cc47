#include "ui/DashboardView.h"
#include "engine/BreakSettings.h"
#include "engine/DayCounters.h"
#include "services/Translator.h"
#include <climits>

static int CapToInt(long long v)
{
    return v > INT_MAX ? INT_MAX : (int)v;
}

DashboardSlice ComputeLeftToWorkSlice()
{
    const DayCounters& c = g_dayCounters;
    DashboardSlice s;
    long long left = (long long)g_breakSettings.aBreaks[BREAK_DAILY_LIMIT].nInterval * 60 + 59 - c.nDailySeconds;
    bool overtime = left < 0;
    if (overtime) left = -left;
    s.label = g_translator.Translate(overtime ? "Overtime:" : "Left to work:") + " " + FormatLeftToWork(false);
    s.value = CapToInt(left);
    s.color = overtime ? kDashOvertimeColor : kDashLeftColor;
    return s;
}

DashboardView ComputeDashboardView(const DashboardEngine& engine)
{
    DashboardView v;
    const DayCounters& c = g_dayCounters;

    v.slices[0].label = g_translator.Translate("Work time:") + " " + FormatMinutes(c.nWorkSeconds);
    v.slices[0].value = c.nWorkSeconds;
    v.slices[0].color = kDashWorkColor;

    // Restored counters may hold more work than total time: no rest then.
    long long rest = (long long)c.nTotalSeconds - c.nWorkSeconds;
    if (rest < 0) rest = 0;
    v.slices[1].label = g_translator.Translate("Rest/Idle time:") + " " + FormatMinutes(CapToInt(rest));
    v.slices[1].value = (double)rest;
    v.slices[1].color = kDashRestColor;

    v.slices[2] = ComputeLeftToWorkSlice();

    v.nRangeMax = engine.nPeriodMinutes;
    v.nPos = engine.nPeriodMinutes - engine.nMinutesLeft;
    v.bPausePressed = engine.bPaused;
    v.bBreakPressed = engine.bOnBreak;
    return v;
}

bool AdvanceFade(int& nAlpha, float& fStep)
{
    fStep = (float)((double)fStep * (double)1.55f);
    nAlpha -= (int)fStep;
    return nAlpha <= 0;
}
