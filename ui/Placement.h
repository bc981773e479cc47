// Where the settings sheet and the dashboard open: beside the notification
// area, or at a position the user left them.
//
//   PlacementFacts, ComputeBesideTray   the geometry, from what was found
//   PlaceBesideTray                     finds the facts and moves a window
#pragma once
#include "vfx.h"

// What the placement needs to know of the system.
struct PlacementFacts {
    RECT rcTray = {};            // the notification area (GetTrayRect)
    // The monitor of the remembered point: none, found with its work area,
    // or found but its information could not be read.
    enum Monitor { kNoMonitor, kMonitorWork, kMonitorUnread };
    Monitor monitor = kNoMonitor;
    RECT rcWork = {};            // that monitor's work area (kMonitorWork)
    BOOL bShellAnswered = FALSE; // ABM_GETTASKBARPOS succeeded
    UINT uEdge = ABE_BOTTOM;     // its taskbar edge
    // The work area of the monitor of the notification area; empty when
    // unknown. A window placed beside the tray is kept inside it (a shell
    // that reports the whole taskbar as the tray would else push it off
    // the screen).
    RECT rcTrayWork = {};
};

// The gap between the window and the notification area.
const int kTrayGap = 16;

// The top-left corner for a window of size w x h. hasPos/x/y: the remembered
// position; hasPos is cleared when that position is on no monitor or the
// window would not lie wholly inside the monitor's work area. Beside the
// tray, the window is then moved into the tray's work area where it would
// stick out of it.
POINT ComputeBesideTray(const PlacementFacts& facts, int w, int h, bool& hasPos, int x, int y);

// Moves the window (size kept, z-order kept) to its remembered position or
// beside the tray and returns the position chosen; trayUsed, when given,
// receives the tray rectangle the placement went by (for a zoom out of it).
POINT PlaceBesideTray(CWnd* pWnd, bool& hasPos, int x, int y, RECT* trayUsed = nullptr);

