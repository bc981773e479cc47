// The placement beside the tray or at a remembered corner, for every
// taskbar edge, without the shell's answer, and for remembered corners on
// no monitor, sticking out of the work area or near the int limits.
#include "ui/Placement.h"
#include <gtest/gtest.h>
#include <climits>

namespace {

const RECT kTrayBottom = { 1100, 1004, 1230, 1024 };  // bottom right
const RECT kTrayTop = { 1100, 0, 1230, 20 };
const RECT kTrayLeft = { 0, 900, 40, 1000 };
const RECT kTrayRight = { 1240, 900, 1280, 1000 };
const RECT kTrayCorner = { 10, 20, 140, 50 };         // top left
const RECT kWork = { 0, 0, 1280, 1004 };
const int W = 200, H = 100;

// The tray, the remembered point's monitor, the shell's answer and edge, the
// remembered position; the corner and whether the position still counts.
struct Case {
    const char* what; RECT tray; PlacementFacts::Monitor monitor; BOOL answered; UINT edge; bool hasPos; int x, y;
    int wantX, wantY; bool wantHasPos;
};

const Case kCases[] = {
    // Beside the tray, by the shell's taskbar edge.
    { "bottom", kTrayBottom, PlacementFacts::kNoMonitor, TRUE, ABE_BOTTOM, false, 0, 0, 900, 888, false },
    { "right", kTrayRight, PlacementFacts::kNoMonitor, TRUE, ABE_RIGHT, false, 0, 0, 1040, 784, false },
    { "unknown edge as bottom", kTrayBottom, PlacementFacts::kNoMonitor, TRUE, 9, false, 0, 0, 900, 888, false },
    { "top: 16 below, right edge at the tray's left", kTrayTop, PlacementFacts::kNoMonitor, TRUE, ABE_TOP, false, 0, 0, 900, 36, false },
    { "left: 16 right of it, bottom 16 above", kTrayLeft, PlacementFacts::kNoMonitor, TRUE, ABE_LEFT, false, 0, 0, 56, 784, false },
    // No answer from the shell: left of and above, else right of and below.
    { "no shell", kTrayBottom, PlacementFacts::kNoMonitor, FALSE, 0, false, 0, 0, 900, 888, false },
    { "no shell, top left", kTrayCorner, PlacementFacts::kNoMonitor, FALSE, 0, false, 0, 0, 156, 66, false },
    // Remembered corners.
    { "remembered inside", kTrayBottom, PlacementFacts::kMonitorWork, TRUE, ABE_BOTTOM, true, 300, 200, 300, 200, true },
    { "right edge exactly at the work area's", kTrayBottom, PlacementFacts::kMonitorWork, TRUE, ABE_BOTTOM, true, 1080, 904, 1080, 904, true },
    { "one pixel out on the right", kTrayBottom, PlacementFacts::kMonitorWork, TRUE, ABE_BOTTOM, true, 1081, 200, 900, 888, false },
    { "one pixel out at the bottom", kTrayBottom, PlacementFacts::kMonitorWork, TRUE, ABE_BOTTOM, true, 300, 905, 900, 888, false },
    { "left of the work area", kTrayBottom, PlacementFacts::kMonitorWork, TRUE, ABE_BOTTOM, true, -1, 200, 900, 888, false },
    { "above the work area", kTrayBottom, PlacementFacts::kMonitorWork, TRUE, ABE_BOTTOM, true, 300, -1, 900, 888, false },
    { "monitor gone", kTrayBottom, PlacementFacts::kNoMonitor, TRUE, ABE_BOTTOM, true, -400, 150, 900, 888, false },
    { "monitor unreadable keeps it", kTrayBottom, PlacementFacts::kMonitorUnread, TRUE, ABE_BOTTOM, true, 5000, 150, 5000, 150, true },
    // Kept inside the tray's work area: a shell that calls the whole
    // taskbar its tray, a tray at the top left with the taskbar at the bottom.
    { "whole taskbar as the tray", { 0, 1004, 1280, 1024 }, PlacementFacts::kNoMonitor, TRUE, ABE_BOTTOM, false, 0, 0, 0, 888, false },
    { "no room above", kTrayCorner, PlacementFacts::kNoMonitor, TRUE, ABE_BOTTOM, false, 0, 0, 0, 0, false },
    { "near INT_MAX does not wrap", kTrayBottom, PlacementFacts::kMonitorWork, TRUE, ABE_BOTTOM, true, INT_MAX - 10, INT_MAX - 10, 900, 888, false },
};

}  // namespace

TEST(PlaceBesideTray, EveryEdgeFallbackAndRememberedCorner)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        PlacementFacts f;
        f.rcTray = c.tray; f.monitor = c.monitor; f.bShellAnswered = c.answered; f.uEdge = c.edge;
        f.rcWork = f.rcTrayWork = kWork;
        bool hasPos = c.hasPos;
        POINT p = ComputeBesideTray(f, W, H, hasPos, c.x, c.y);
        EXPECT_EQ(p.x, c.wantX);
        EXPECT_EQ(p.y, c.wantY);
        EXPECT_EQ(hasPos, c.wantHasPos);
    }
}
