// Where the alert windows go, computed from rectangles alone, and the
// displays the screen lock dims.
//
//   SliderPlacement, ComputeSliderPlacement   the slider beside the tray
//   LockLayout, ComputeLockLayout              the lock's bar and buttons
//   MonitorArea, ComputeDimAreas               the dimming windows' rectangles
//   CDisplays, Displays, SetDisplays           the work area and the monitors
//   TruncateText                               bounded copies of texts
#pragma once
#include "vfx.h"
#include <vector>

// Where the slider appears and how it slides in and out.
struct SliderPlacement {
    int x = 0;
    int y = 0;
    DWORD dwShowFlags = 0;   // AnimateWindow flags for showing
    DWORD dwHideFlags = 0;   // direction flags for hiding; 0: no slide
};

// tray: the notification area (screen); w, h: the slider's window size;
// shellAnswered and edge: what the shell said of the taskbar's edge
// (ABM_GETTASKBARPOS). The slider lies 4 pixels off the notification area on
// the side away from the screen's edge and slides out of the taskbar.
SliderPlacement ComputeSliderPlacement(const RECT& tray, int w, int h, BOOL shellAnswered, UINT edge);

// The lock's bar across the bottom of the work area and its controls.
struct LockLayout {
    RECT rcBar = {};         // the dialog's window, screen coordinates
    POINT ptUnlock = {};     // the buttons' top-left corners, client coordinates
    POINT ptPostpone = {};
    int nTextRight = 0;      // the right edge of the message (and title), client
};

// work: the work area; barHeight: the dialog's window height; unlock and
// postpone: the buttons' sizes (kept).
LockLayout ComputeLockLayout(const RECT& work, int barHeight, SIZE unlock, SIZE postpone);

// One monitor: its whole rectangle and its work area (screen coordinates).
struct MonitorArea {
    RECT rcMonitor;
    RECT rcWork;
};

// The rectangles the dimming windows cover while the lock's bar (barHeight
// high) lies across the bottom of the work area: the work area above the
// bar, then the whole work area of every other monitor. The monitor of the
// bar is the one that holds the most of the work area; an empty rectangle
// is left out.
std::vector<RECT> ComputeDimAreas(const RECT& work, int barHeight, const std::vector<MonitorArea>& monitors);

// The displays as the screen lock sees them. The program asks the system;
// a test installs its own layout (for instance two monitors).
class CDisplays {
public:
    virtual ~CDisplays() {}
    // The primary monitor's work area; FALSE when it cannot be read.
    virtual BOOL GetWorkArea(RECT* rc);
    // Every monitor whose information can be read.
    virtual void ListMonitors(std::vector<MonitorArea>& out);
};

CDisplays& Displays();
// Installs a layout (NULL brings back the system's).
void SetDisplays(CDisplays* pDisplays);

// The text cut to at most maxBytes bytes, at a character boundary of the
// thread's code page.
CString TruncateText(const char* text, int maxBytes);
