#include "ui/Placement.h"
#include "tray/TrayNotifyIcon.h"

// A window of size w x h at (x, y) lies wholly inside the work area. The
// sums are taken in 64 bits: a remembered corner may be near the int limits.
static bool FitsInside(const RECT& work, int w, int h, int x, int y)
{
    return x >= work.left && (long long)x + w <= work.right
        && y >= work.top && (long long)y + h <= work.bottom;
}

// Moves p so that a w x h window lies inside work where it fits; an
// empty work area tells nothing.
static POINT KeepInside(POINT p, int w, int h, const RECT& work)
{
    if (::IsRectEmpty(&work)) return p;
    if ((long long)p.x + w > work.right) p.x = work.right - w;
    if (p.x < work.left) p.x = work.left;
    if ((long long)p.y + h > work.bottom) p.y = work.bottom - h;
    if (p.y < work.top) p.y = work.top;
    return p;
}

static POINT BesideTray(const PlacementFacts& f, int w, int h)
{
    const RECT& t = f.rcTray;
    POINT p;
    if (f.bShellAnswered) {
        switch (f.uEdge) {
        case ABE_LEFT:
            p.x = t.right + kTrayGap;
            p.y = t.top - h - kTrayGap;
            break;
        case ABE_TOP:
            p.x = t.left - w;
            p.y = t.bottom + kTrayGap;
            break;
        default:
            p.x = t.left - w;
            p.y = t.top - h - kTrayGap;
            break;
        }
        return p;
    }
    p.x = t.left - w;
    if (p.x < 0) p.x = t.right + kTrayGap;
    p.y = t.top - h - kTrayGap;
    if (p.y < 0) p.y = t.bottom + kTrayGap;
    return p;
}

POINT ComputeBesideTray(const PlacementFacts& f, int w, int h, bool& hasPos, int x, int y)
{
    if (hasPos) {
        if (f.monitor == PlacementFacts::kNoMonitor) hasPos = false;
        else if (f.monitor == PlacementFacts::kMonitorWork && !FitsInside(f.rcWork, w, h, x, y)) hasPos = false;
        if (hasPos) return POINT{ x, y };
    }
    return KeepInside(BesideTray(f, w, h), w, h, f.rcTrayWork);
}

static void FindPlacementFacts(bool hasPos, int x, int y, PlacementFacts* f)
{
    GetTrayRect(&f->rcTray);
    if (hasPos) {
        POINT pt = { x, y };
        HMONITOR mon = ::MonitorFromPoint(pt, MONITOR_DEFAULTTONULL);
        if (!mon) {
            f->monitor = PlacementFacts::kNoMonitor;
        } else {
            MONITORINFO mi;
            memset(&mi, 0, sizeof(mi));
            mi.cbSize = sizeof(mi);
            if (::GetMonitorInfoA(mon, &mi)) {
                f->monitor = PlacementFacts::kMonitorWork;
                f->rcWork = mi.rcWork;
            } else {
                f->monitor = PlacementFacts::kMonitorUnread;
            }
        }
    }
    APPBARDATA abd;
    memset(&abd, 0, sizeof(abd));
    abd.cbSize = sizeof(abd);
    f->bShellAnswered = ::SHAppBarMessage(ABM_GETTASKBARPOS, &abd) != 0;
    f->uEdge = abd.uEdge;
    MONITORINFO tm;
    memset(&tm, 0, sizeof(tm));
    tm.cbSize = sizeof(tm);
    HMONITOR trayMon = ::MonitorFromRect(&f->rcTray, MONITOR_DEFAULTTONEAREST);
    if (trayMon && ::GetMonitorInfoA(trayMon, &tm)) f->rcTrayWork = tm.rcWork;
    else ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &f->rcTrayWork, 0);
}

POINT PlaceBesideTray(CWnd* pWnd, bool& hasPos, int x, int y, RECT* trayUsed)
{
    PlacementFacts facts;
    FindPlacementFacts(hasPos, x, y, &facts);
    RECT wr = {};
    pWnd->GetWindowRect(&wr);
    POINT p = ComputeBesideTray(facts, wr.right - wr.left, wr.bottom - wr.top, hasPos, x, y);
    pWnd->SetWindowPos(nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    if (trayUsed) *trayUsed = facts.rcTray;
    return p;
}
