// Where the alert windows go, computed from rectangles: the slider beside
// the tray for each taskbar edge and without the shell's answer, the lock's
// bar and buttons, the dimming windows over one or more monitors; and the
// bounded texts and text boxes.
#include "alerts/AlertLayout.h"
#include "alerts/AlertBox.h"
#include <gtest/gtest.h>
#include <string>

static RECT R(int l, int t, int r, int b)
{
    RECT rc = { l, t, r, b };
    return rc;
}

static std::string Str(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," + std::to_string(r.bottom);
}

TEST(SliderPlacement, FourPixelsOffTheTrayAwayFromEachTaskbarEdge)
{
    const int w = 215, h = 71;
    // Bottom taskbar: the tray at the bottom right; the slider above it,
    // right edges 4 pixels apart, sliding up and back down.
    RECT bottom = R(1100, 994, 1230, 1024);
    SliderPlacement p = ComputeSliderPlacement(bottom, w, h, TRUE, ABE_BOTTOM);
    EXPECT_EQ(p.x + w, bottom.right - 4);
    EXPECT_EQ(p.y + h, bottom.top - 4);
    EXPECT_EQ(p.dwShowFlags, (DWORD)(AW_SLIDE | AW_VER_NEGATIVE));
    EXPECT_EQ(p.dwHideFlags, (DWORD)(AW_SLIDE | AW_VER_POSITIVE));

    // Left taskbar: the tray low on the left; the slider right of it.
    RECT left = R(0, 900, 60, 1000);
    p = ComputeSliderPlacement(left, w, h, TRUE, ABE_LEFT);
    EXPECT_EQ(p.x, left.right + 4);
    EXPECT_EQ(p.y + h, left.top - 4);
    EXPECT_EQ(p.dwShowFlags, (DWORD)(AW_SLIDE | AW_HOR_POSITIVE));
    EXPECT_EQ(p.dwHideFlags, (DWORD)(AW_SLIDE | AW_HOR_NEGATIVE));

    // Top taskbar: below the tray.
    RECT top = R(1100, 0, 1230, 30);
    p = ComputeSliderPlacement(top, w, h, TRUE, ABE_TOP);
    EXPECT_EQ(p.x + w, top.right - 4);
    EXPECT_EQ(p.y, top.bottom + 4);
    EXPECT_EQ(p.dwShowFlags, (DWORD)(AW_SLIDE | AW_VER_POSITIVE));
    EXPECT_EQ(p.dwHideFlags, (DWORD)(AW_SLIDE | AW_VER_NEGATIVE));

    // Right taskbar: left of the tray's right edge, above it.
    RECT right = R(1220, 900, 1280, 1000);
    p = ComputeSliderPlacement(right, w, h, TRUE, ABE_RIGHT);
    EXPECT_EQ(p.x + w, right.right - 4);
    EXPECT_EQ(p.y + h, right.top - 4);
    EXPECT_EQ(p.dwShowFlags, (DWORD)(AW_SLIDE | AW_HOR_NEGATIVE));
    EXPECT_EQ(p.dwHideFlags, (DWORD)(AW_SLIDE | AW_HOR_POSITIVE));
}

TEST(SliderPlacement, FallbacksGrowOutOfTheCentreAndNeverSlideBack)
{
    const int w = 215, h = 71;
    RECT tray = R(1100, 994, 1230, 1024);
    // An edge the shell should not give: above the tray, out of the centre.
    SliderPlacement p = ComputeSliderPlacement(tray, w, h, TRUE, 7);
    EXPECT_EQ(p.x, tray.right - w - 4);
    EXPECT_EQ(p.y, tray.top - h - 4);
    EXPECT_EQ(p.dwShowFlags, (DWORD)AW_CENTER);
    EXPECT_EQ(p.dwHideFlags, 0u);

    // No answer from the shell: left of the tray without a gap, above it.
    p = ComputeSliderPlacement(tray, w, h, FALSE, ABE_BOTTOM);
    EXPECT_EQ(p.x, tray.left - w);
    EXPECT_EQ(p.y, tray.top - h - 4);
    EXPECT_EQ(p.dwShowFlags, (DWORD)AW_CENTER);
    EXPECT_EQ(p.dwHideFlags, 0u);

    // ... and where that would leave the screen, right of and below it.
    RECT corner = R(10, 20, 140, 50);
    p = ComputeSliderPlacement(corner, w, h, FALSE, 0);
    EXPECT_EQ(p.x, corner.right + 4);
    EXPECT_EQ(p.y, corner.bottom + 4);
}

TEST(LockLayout, BarAcrossTheBottomOfTheWorkAreaWithCentredUnlock)
{
    SIZE unlock = { 155, 75 }, postpone = { 155, 75 };
    RECT work = R(0, 0, 1280, 984);
    LockLayout l = ComputeLockLayout(work, 98, unlock, postpone);
    EXPECT_EQ(Str(l.rcBar), "0,886-1280,984");
    EXPECT_EQ(l.ptUnlock.x, (1280 - 155) / 2);
    EXPECT_EQ(l.ptUnlock.y, (98 - 75) / 2);
    // The postpone button keeps the same gap to the right as to the top.
    EXPECT_EQ(l.ptPostpone.y, 11);
    EXPECT_EQ(l.ptPostpone.x, 1280 - 155 - 11);
    EXPECT_EQ(l.nTextRight, l.ptUnlock.x - 5);

    // A work area that does not start at the origin (taskbar on the left).
    work = R(60, 0, 1280, 1024);
    l = ComputeLockLayout(work, 98, unlock, postpone);
    EXPECT_EQ(Str(l.rcBar), "60,926-1280,1024");
    EXPECT_EQ(l.ptUnlock.x, (1220 - 155) / 2);
}

TEST(DimAreas, OneMonitorIsDimmedAboveTheBarOnly)
{
    RECT work = R(0, 0, 1280, 984);
    std::vector<MonitorArea> one = { { R(0, 0, 1280, 1024), work } };
    std::vector<RECT> areas = ComputeDimAreas(work, 98, one);
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_EQ(Str(areas[0]), "0,0-1280,886");
}

TEST(DimAreas, EveryOtherMonitorIsDimmedWholeWhereverItLies)
{
    RECT work = R(0, 0, 1280, 984);
    std::vector<MonitorArea> monitors = {
        { R(0, 0, 1280, 1024), work },
        { R(1280, 0, 2304, 768), R(1280, 0, 2304, 740) },
        { R(-1024, -200, 0, 568), R(-1024, -200, 0, 568) },
    };
    std::vector<RECT> areas = ComputeDimAreas(work, 98, monitors);
    ASSERT_EQ(areas.size(), 3u);
    EXPECT_EQ(Str(areas[0]), "0,0-1280,886");
    EXPECT_EQ(Str(areas[1]), "1280,0-2304,740");
    EXPECT_EQ(Str(areas[2]), "-1024,-200-0,568");

    // The bar's monitor need not be listed first.
    std::vector<MonitorArea> swapped = { monitors[1], monitors[0] };
    areas = ComputeDimAreas(work, 98, swapped);
    ASSERT_EQ(areas.size(), 2u);
    EXPECT_EQ(Str(areas[1]), "1280,0-2304,740");

    // A bar as tall as the work area leaves nothing above it to dim.
    areas = ComputeDimAreas(work, 984, monitors);
    ASSERT_EQ(areas.size(), 2u);
    EXPECT_EQ(Str(areas[0]), "1280,0-2304,740");
}

TEST(AlertTexts, CutToTheirBoundAtACharacterBoundary)
{
    EXPECT_EQ(std::string(TruncateText("short", 10)), "short");
    EXPECT_EQ(std::string(TruncateText("exactly10!", 10)), "exactly10!");
    EXPECT_EQ(std::string(TruncateText(std::string(5000, 'x').c_str(), 255)), std::string(255, 'x'));
    EXPECT_EQ(std::string(TruncateText(nullptr, 10)), "");
    EXPECT_EQ(std::string(TruncateText("abc", 0)), "");
}

TEST(AlertTexts, TextBoxGrowsTallerThenWiderAndNeverShrinks)
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE box = { 100, 30 };
    SIZE s = FitTextBox(dc, "Short.", kAlertTextFormat, box, 400, 300);
    EXPECT_EQ(s.cx, 100);
    EXPECT_EQ(s.cy, 30);

    std::string longText;
    for (int i = 0; i < 40; ++i) longText += "several words ";
    s = FitTextBox(dc, longText.c_str(), kAlertTextFormat, box, 400, 2000);
    EXPECT_EQ(s.cx, 100);
    EXPECT_GT(s.cy, 30);
    EXPECT_LE(s.cy, 2000);
    RECT need = { 0, 0, s.cx, 0 };
    ::DrawTextA(dc, longText.c_str(), -1, &need, kAlertTextFormat | DT_CALCRECT);
    EXPECT_LE(need.bottom, s.cy);

    // Too tall for the height allowed: wider, up to the width allowed.
    s = FitTextBox(dc, longText.c_str(), kAlertTextFormat, box, 400, 60);
    EXPECT_GT(s.cx, 100);
    EXPECT_LE(s.cx, 400);
    EXPECT_LE(s.cy, 60);

    // One word longer than the line is broken, not left sticking out.
    std::string word(300, 'W');
    s = FitTextBox(dc, word.c_str(), kAlertTextFormat, box, 100, 400);
    EXPECT_EQ(s.cx, 100);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
}
