// What the dashboard shows and how it fades, computed without a window.
//
//   DashboardEngine, DashboardView, ComputeDashboardView   the contents
//   AdvanceFade                                            the fade-out
#pragma once
#include "vfx.h"

// The colours of the chart's slices (alpha in the top byte).
const DWORD kDashWorkColor = 0xFF00FFFF;
const DWORD kDashRestColor = 0xFF008000;
const DWORD kDashLeftColor = 0xFFFFFF00;
const DWORD kDashOvertimeColor = 0xFFFF0000;

// What the dashboard reads of the main frame.
struct DashboardEngine {
    int nPeriodMinutes = 0;
    int nMinutesLeft = 0;
    bool bPaused = false;     // paused, auto-paused or the settings sheet open
    bool bOnBreak = false;    // the work period is not running
};

struct DashboardSlice {
    CString label;
    double value = 0.0;
    DWORD color = 0;
};

struct DashboardView {
    DashboardSlice slices[3];   // work, rest and idle, left to work or overtime
    int nRangeMax = 0;          // the progress bar's range is 0..nRangeMax
    int nPos = 0;
    bool bPausePressed = false;
    bool bBreakPressed = false;
};

// The time left to the daily limit (g_breakSettings, g_dayCounters): its
// magnitude in seconds, at most the largest int, yellow "Left to work:" or
// red "Overtime:" once the limit is passed.
DashboardSlice ComputeLeftToWorkSlice();

// The slices from the day counters and the daily limit (g_dayCounters,
// g_breakSettings), the bar and the buttons from the engine.
DashboardView ComputeDashboardView(const DashboardEngine& engine);

// One fading tick: the step grows by the single-precision 1.55 and the
// opacity drops by its whole part; TRUE when the opacity has run out.
bool AdvanceFade(int& nAlpha, float& fStep);
