#include "alerts/AlertLayout.h"

SliderPlacement ComputeSliderPlacement(const RECT& tray, int w, int h, BOOL shellAnswered, UINT edge)
{
    SliderPlacement p;
    if (!shellAnswered) {
        // No word from the shell: left of the tray and above it, or right of
        // and below it where that would leave the screen.
        p.x = tray.left - w;
        if (p.x < 0) p.x = tray.right + 4;
        p.y = tray.top - h - 4;
        if (p.y < 0) p.y = tray.bottom + 4;
        p.dwShowFlags = AW_CENTER;
        return p;
    }
    p.x = tray.right - w - 4;
    p.y = tray.top - h - 4;
    switch (edge) {
    case ABE_LEFT:
        p.x = tray.right + 4;
        p.dwShowFlags = AW_SLIDE | AW_HOR_POSITIVE;
        p.dwHideFlags = AW_SLIDE | AW_HOR_NEGATIVE;
        break;
    case ABE_TOP:
        p.y = tray.bottom + 4;
        p.dwShowFlags = AW_SLIDE | AW_VER_POSITIVE;
        p.dwHideFlags = AW_SLIDE | AW_VER_NEGATIVE;
        break;
    case ABE_RIGHT:
        p.dwShowFlags = AW_SLIDE | AW_HOR_NEGATIVE;
        p.dwHideFlags = AW_SLIDE | AW_HOR_POSITIVE;
        break;
    case ABE_BOTTOM:
        p.dwShowFlags = AW_SLIDE | AW_VER_NEGATIVE;
        p.dwHideFlags = AW_SLIDE | AW_VER_POSITIVE;
        break;
    default:
        p.dwShowFlags = AW_CENTER;
        break;
    }
    return p;
}

LockLayout ComputeLockLayout(const RECT& work, int barHeight, SIZE unlock, SIZE postpone)
{
    LockLayout l;
    int width = work.right - work.left;
    l.rcBar.left = work.left;
    l.rcBar.top = work.bottom - barHeight;
    l.rcBar.right = work.right;
    l.rcBar.bottom = work.bottom;
    l.ptUnlock.x = (width - unlock.cx) / 2;
    l.ptUnlock.y = (barHeight - unlock.cy) / 2;
    // The postpone button's gap to the right edge equals its gap to the top.
    l.ptPostpone.y = (barHeight - postpone.cy) / 2;
    l.ptPostpone.x = width - postpone.cx - l.ptPostpone.y;
    l.nTextRight = l.ptUnlock.x - 5;
    return l;
}

static long long OverlapArea(const RECT& a, const RECT& b)
{
    RECT r;
    if (!::IntersectRect(&r, &a, &b)) return 0;
    return (long long)(r.right - r.left) * (r.bottom - r.top);
}

std::vector<RECT> ComputeDimAreas(const RECT& work, int barHeight, const std::vector<MonitorArea>& monitors)
{
    std::vector<RECT> areas;
    RECT above = work;
    above.bottom -= barHeight;
    if (!::IsRectEmpty(&above)) areas.push_back(above);
    // The bar's monitor has its dimming window already (above the bar only,
    // so the bar stays clear); every other monitor is dimmed whole.
    int home = -1;
    long long best = 0;
    for (size_t i = 0; i < monitors.size(); ++i) {
        long long a = OverlapArea(work, monitors[i].rcMonitor);
        if (a > best) { best = a; home = (int)i; }
    }
    for (size_t i = 0; i < monitors.size(); ++i) {
        if ((int)i == home || ::IsRectEmpty(&monitors[i].rcWork)) continue;
        areas.push_back(monitors[i].rcWork);
    }
    return areas;
}

BOOL CDisplays::GetWorkArea(RECT* rc)
{
    return ::SystemParametersInfoA(SPI_GETWORKAREA, 0, rc, 0);
}

static BOOL CALLBACK AddMonitor(HMONITOR hMonitor, HDC, LPRECT, LPARAM lParam)
{
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    if (::GetMonitorInfoA(hMonitor, &mi)) {
        MonitorArea m;
        m.rcMonitor = mi.rcMonitor;
        m.rcWork = mi.rcWork;
        ((std::vector<MonitorArea>*)lParam)->push_back(m);
    }
    return TRUE;
}

void CDisplays::ListMonitors(std::vector<MonitorArea>& out)
{
    out.clear();
    ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, (LPARAM)&out);
}

static CDisplays g_systemDisplays;
static CDisplays* g_pDisplays = &g_systemDisplays;

CDisplays& Displays() { return *g_pDisplays; }
void SetDisplays(CDisplays* pDisplays) { g_pDisplays = pDisplays ? pDisplays : &g_systemDisplays; }

CString TruncateText(const char* text, int maxBytes)
{
    if (!text || maxBytes <= 0) return CString();
    size_t n = strlen(text);
    if (n <= (size_t)maxBytes) return CString(text);
    const char* end = text + maxBytes;
    const char* p = text;
    while (*p) {
        const char* next = ::CharNextA(p);
        if (next == p || next > end) break;
        p = next;
    }
    return CString(text, (int)(p - text));
}
