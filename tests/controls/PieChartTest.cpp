// The pie chart: shades, layout and sectors as numbers, the picture read
// back by pixel, paints that cannot draw, setters out of range, and repeated
// paints that keep memory flat.
#include "controls/PieChartCtrl.h"
#include "ControlsTestSupport.h"
#include <gtest/gtest.h>
#include <limits.h>
#include <optional>
#include <stdlib.h>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

int Channel(ARGB c, int shift) { return (int)((c >> shift) & 0xFF); }
// The Statistics page's slice colours.
const ARGB kColors[4] = { 0xFF00FFFF, 0xFF008000, 0xFF0000FF, 0xFFFFFF00 };

// The shade rule: k in double rounded to float, then r in double.
int LightRule(int v) { double r = v + (double)(float)((255 - v) / 255.0) * 120.0; return r >= 255 ? 255 : (int)r; }
int DarkRule(int v) { double r = v - (double)(float)(v / 255.0) * 10.0; return r <= 0 ? 0 : (int)r; }

TEST(PieShades, EveryChannelValueFollowsTheRuleAndTheKnownValues)
{
    for (int v = 0; v < 256; ++v) {
        for (int shift : { 0, 8, 16 }) {
            ARGB c = 0x80000000u | ((ARGB)v << shift);
            ARGB light = LightenColor(c, 120.0f), dark = DarkenColor(c, 10.0f);
            ASSERT_EQ(Channel(light, shift), LightRule(v)) << v;
            ASSERT_EQ(Channel(dark, shift), DarkRule(v)) << v;
            ASSERT_EQ(light >> 24, 0xFFu);
            ASSERT_EQ(dark >> 24, 0xFFu);
        }
    }
    struct { int v, light, dark; } rows[] = {
        { 0, 120, 0 }, { 128, 187, 122 }, { 255, 255, 245 },
        { 51, 147, 48 }, { 102, 174, 97 }, { 153, 201, 146 }, { 204, 228, 195 },
    };
    for (auto& r : rows) {
        ARGB c = 0xFF000000u | (ARGB)r.v << 16 | (ARGB)r.v << 8 | (ARGB)r.v;
        ARGB light = LightenColor(c, 120.0f), dark = DarkenColor(c, 10.0f);
        for (int shift : { 0, 8, 16 }) {
            EXPECT_EQ(Channel(light, shift), r.light) << r.v;
            EXPECT_EQ(Channel(dark, shift), r.dark) << r.v;
        }
    }
}

TEST(PieShades, SlicesDeriveBothShadesAlsoWhenCopied)
{
    PieSlice s;
    s.SetColor(0x00000000);   // transparent black: the base keeps its alpha
    EXPECT_EQ(s.color, 0x00000000u);
    EXPECT_EQ(s.lightColor, 0xFF787878u);
    EXPECT_EQ(s.darkColor, 0xFF000000u);

    s.SetColor(0xFF0000FF);
    s.label = "blue";
    s.value = 3;
    PieSlice copy(s);
    PieSlice assigned;
    assigned = s;
    for (const PieSlice* p : { &copy, &assigned }) {
        EXPECT_EQ(p->label, "blue");
        EXPECT_EQ(p->value, 3);
        EXPECT_EQ(p->color, 0xFF0000FFu);
        EXPECT_EQ(p->lightColor, 0xFF7878FFu);
        EXPECT_EQ(p->darkColor, 0xFF0000F5u);
    }
}

TEST(PieGeometry, LayoutOfPieAndLegend)
{
    struct Row {
        RECT client; int n;
        int side, d, x, y; float rh, box, left, text, font;
    } rows[] = {
        { { 0, 0, 300, 100 }, 4, 100, 80, 10, 10, 20.0f, 14.0f, 106.0f, 126.0f, 12.0f },
        { { 0, 0, 200, 100 }, 3, 100, 80, 10, 10, 26.666666f, 18.666666f, 106.0f, 132.66667f, 16.0f },
        // Taller than wide: the pie stays in the top-left square.
        { { 0, 0, 100, 300 }, 2, 100, 80, 10, 10, 40.0f, 28.0f, 106.0f, 146.0f, 24.0f },
        { { 0, 0, 1, 1 }, 1, 1, 0, 0, 0, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f },
    };
    for (const Row& r : rows) {
        PieLayout l = ComputePieLayout(r.client, r.n);
        EXPECT_EQ(l.side, r.side);
        EXPECT_EQ(l.d, r.d);
        EXPECT_EQ(l.x, r.x);
        EXPECT_EQ(l.y, r.y);
        EXPECT_FLOAT_EQ(l.rowHeight, r.rh);
        EXPECT_FLOAT_EQ(l.boxSide, r.box);
        EXPECT_FLOAT_EQ(l.legendLeft, r.left);
        EXPECT_FLOAT_EQ(l.textLeft, r.text);
        EXPECT_FLOAT_EQ(l.fontSize, r.font);
    }
}

std::vector<PieSlice> Slices(std::initializer_list<double> values)
{
    std::vector<PieSlice> out;
    for (double v : values) {
        PieSlice s;
        s.value = v;
        out.push_back(s);
    }
    return out;
}

TEST(PieGeometry, SectorsStartAtTwelveAndFollowTheValues)
{
    auto s = ComputePieSectors(Slices({ 3600, 1800, 600, 1200 }));
    ASSERT_EQ(s.size(), 4u);
    float want[4][2] = { { -90, 180 }, { 90, 90 }, { 180, 30 }, { 210, 60 } };
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(s[(size_t)i].start, want[i][0]);
        EXPECT_FLOAT_EQ(s[(size_t)i].sweep, want[i][1]);
    }
    s = ComputePieSectors(Slices({ 0, 5, 0 }));
    ASSERT_EQ(s.size(), 3u);
    EXPECT_FLOAT_EQ(s[1].sweep, 360.0f);
    EXPECT_FLOAT_EQ(s[0].sweep, 0.0f);
    EXPECT_TRUE(ComputePieSectors(Slices({})).empty());
    EXPECT_TRUE(ComputePieSectors(Slices({ 0, 0 })).empty());
    EXPECT_TRUE(ComputePieSectors(Slices({ 0.0000005, 0.0000005 })).empty());
}

// ---- the picture, read back by pixel ----

// Neither the legend's family nor a generic one can be had.
struct NoLegendFont {
    Scoped<const WCHAR*> family{ g_pszPieLegendFamily, L"No Such Family Anywhere" };
    Scoped<PFN_GETGENERICSANS> generic{ g_pfnPieGenericSans, [](GpFontFamily**) WINAPI -> GpStatus { return FontFamilyNotFound; } };
};

class PieDrawing : public ::testing::Test {
protected:
    void SetUp() override { EnsureGdiplus(); }
    void TearDown() override { if (m_bmp) GdipDisposeImage(m_bmp); }
    void Compose(int w, int h)
    {
        if (m_bmp) GdipDisposeImage(m_bmp);
        m_bmp = chart.ComposeFrame(w, h);
        ASSERT_NE(m_bmp, nullptr);
    }
    ARGB At(int x, int y)
    {
        ARGB c = 0;
        GdipBitmapGetPixel(m_bmp, x, y, &c);
        return c;
    }
    static bool Near(ARGB a, ARGB b, int tol)
    {
        for (int s = 0; s < 32; s += 8)
            if (abs(Channel(a, s) - Channel(b, s)) > tol) return false;
        return true;
    }
    void Flat() { chart.SetBackgroundColors(0xFFFFFFFF, 0xFFFFFFFF); }
    CPieChartCtrl chart;
    GpBitmap* m_bmp = nullptr;
};

TEST_F(PieDrawing, BackgroundShadesDownUnlessFlat)
{
    Compose(300, 100);
    EXPECT_EQ(At(299, 0), 0xFFFFFFFFu);
    EXPECT_TRUE(Near(At(299, 99), 0xFFFFEBCD, 2)) << std::hex << At(299, 99);
    chart.SetBackgroundColors(0xFF102030, 0xFF102030);
    Compose(300, 100);
    EXPECT_EQ(At(299, 0), 0xFF102030u);
    EXPECT_EQ(At(299, 99), 0xFF102030u);
    EXPECT_EQ(At(150, 50), 0xFF102030u);
}

TEST_F(PieDrawing, ShadowOutlineAndNothingElseWithoutValues)
{
    Flat();
    chart.ShowLegend(TRUE);
    for (int values = 0; values < 2; ++values) {
        if (values) { chart.AddSlice("a", 0, 0xFFFF0000); chart.AddSlice("b", 0, 0xFF00FF00); }
        Compose(300, 100);
        ARGB shadow = At(79, 79);   // just outside the ring at the lower right
        EXPECT_TRUE(Channel(shadow, 0) == Channel(shadow, 8) && Channel(shadow, 8) == Channel(shadow, 16));
        EXPECT_TRUE(Near(shadow, 0xFFA9A9A9, 0x18)) << std::hex << shadow;
        EXPECT_EQ(At(20, 20), 0xFFFFFFFFu);   // mirrored at the upper left: no shadow
        EXPECT_EQ(At(50, 10), 0xFF000000u);   // the outline ring at twelve o'clock
        EXPECT_EQ(At(50, 50), 0xFFA9A9A9u);   // no sector: the shadow shows through
        EXPECT_EQ(At(113, 17), 0xFFFFFFFFu);  // no legend
    }
}

TEST_F(PieDrawing, OneSliceFillsTheCircleShadedFromHalfwayToDark)
{
    Flat();
    chart.AddSlice("blue", 7, 0xFF0000FF);   // light 120,120,255 dark 0,0,245
    chart.AddSlice("none", 0, 0xFFFF0000);
    Compose(300, 100);
    for (POINT p : { POINT{ 50, 14 }, POINT{ 14, 50 }, POINT{ 86, 50 }, POINT{ 50, 86 }, POINT{ 50, 50 } }) {
        ARGB c = At(p.x, p.y);
        EXPECT_EQ(Channel(c, 16), Channel(c, 8)) << p.x << "," << p.y;
        EXPECT_GE(Channel(c, 0), 245) << p.x << "," << p.y;
    }
    int topRed = Channel(At(50, 13), 16), bottomRed = Channel(At(50, 86), 16);
    EXPECT_NEAR(topRed, 60, 6);     // halfway between 120 and 0
    EXPECT_LE(bottomRed, 6);        // nearly the dark shade
    EXPECT_GT(topRed, Channel(At(50, 50), 16));
}

TEST_F(PieDrawing, LegendBoxesHoldTheBaseColourForEverySlice)
{
    double values[4] = { 3600, 0, 600, 0 };
    for (int i = 0; i < 4; ++i) chart.AddSlice("row", values[i], kColors[i]);
    chart.ShowLegend(TRUE);
    Compose(300, 100);
    for (int i = 0; i < 4; ++i) {
        int top = 10 + 20 * i;
        EXPECT_EQ(At(113, top + 7), kColors[i]) << i;
        EXPECT_EQ(At(108, top + 2), kColors[i]) << i;
        EXPECT_EQ(At(106, top + 7), 0xFF000000u) << i;   // the box's outline
    }
    // Off: no legend.
    chart.ShowLegend(FALSE);
    Compose(300, 100);
    EXPECT_NE(At(113, 17), kColors[0]);
}

TEST_F(PieDrawing, LegendTextNeedsAFontButTheBoxesDoNot)
{
    Flat();
    chart.AddSlice("WWWWWWWW", 1, 0xFF00FF00);
    chart.ShowLegend(TRUE);
    auto darkInText = [this]() {
        int n = 0;
        for (int y = 10; y < 90; ++y)
            for (int x = 170; x < 299; ++x)
                if (Channel(At(x, y), 8) < 0x80) ++n;
        return n;
    };
    Compose(300, 100);
    EXPECT_GT(darkInText(), 20);

    {
        NoLegendFont none;
        Compose(300, 100);
    }
    EXPECT_EQ(darkInText(), 0);
    EXPECT_EQ(At(130, 40), 0xFF00FF00u);   // box of the one row, 80 px high
}

// ---- the control in a window ----

// The Statistics page's slices in a chart bound to a w x h static on host.
::testing::AssertionResult BindStatistics(CPieChartCtrl& chart, ControlHost& host, int w, int h)
{
    EnsureGdiplus();
    if (!chart.SubclassWindow(host.AddStatic("Chart", 0, 10, 10, w, h))) return ::testing::AssertionFailure();
    const char* labels[4] = { "Work time:", "Rest time:", "Idle/Away time:", "Left to work:" };
    const double values[4] = { 3600, 1800, 600, 1200 };
    for (int i = 0; i < 4; ++i) chart.AddSlice(labels[i], values[i], kColors[i]);
    chart.ShowLegend(TRUE);
    return ::testing::AssertionSuccess();
}

TEST(PieChartWindow, SettersOutOfRangeChangeNothing)
{
    CPieChartCtrl chart;
    chart.AddSlice("a", 1, 0xFF112233);
    chart.AddSlice("b", 2, 0xFF445566);
    for (int bad : { -1, 2, INT_MAX, INT_MIN }) {
        chart.SetSliceLabel(bad, "x");
        chart.SetSliceValue(bad, 99);
        chart.SetSliceColor(bad, 0xFFFFFFFF);
    }
    ASSERT_EQ(chart.m_slices.size(), 2u);
    EXPECT_EQ(chart.m_slices[0].label, "a");
    EXPECT_EQ(chart.m_slices[1].value, 2);
    EXPECT_EQ(chart.m_slices[1].color, 0xFF445566u);
    chart.SetSliceLabel(1, "B");
    chart.SetSliceValue(1, 5);
    chart.SetSliceColor(1, 0xFF0000FF);
    EXPECT_EQ(chart.m_slices[1].label, "B");
    EXPECT_EQ(chart.m_slices[1].value, 5);
    EXPECT_EQ(chart.m_slices[1].darkColor, 0xFF0000F5u);
}

TEST(PieChartWindow, UnboundControlInvalidatesNoOtherWindow)
{
    ControlHost host;
    ::UpdateWindow(host.m_hWnd);
    PumpCountingPaints(host.m_hWnd, 50);
    CPieChartCtrl chart;
    chart.AddSlice("a", 1, 0xFF112233);
    chart.ShowLegend(TRUE);
    chart.SetBackgroundColors(1, 2);
    RECT r;
    EXPECT_FALSE(::GetUpdateRect(host.m_hWnd, &r, FALSE));
}

TEST(PieChartWindow, EveryPaintEndsOnceAlsoWhenNothingCanBeDrawn)
{
    struct { int w, h; bool font; } rows[] = { { 300, 100, true }, { 0, 0, true }, { 0, 50, true }, { 1, 1, true }, { 300, 100, false } };
    for (auto& r : rows) {
        ControlHost host;
        CPieChartCtrl chart;
        ASSERT_TRUE(BindStatistics(chart, host, r.w, r.h));
        std::optional<NoLegendFont> none;
        if (!r.font) none.emplace();
        PumpCountingPaints(chart.m_hWnd, 30);
        for (int round = 0; round < 3; ++round) {
            chart.Invalidate();
            int paints = PumpCountingPaints(chart.m_hWnd, 40);
            if (r.w > 0 && r.h > 0) EXPECT_EQ(paints, 1) << r.w << "x" << r.h;
            else EXPECT_LE(paints, 1) << r.w << "x" << r.h;
        }
        // A paint asked for directly, with nothing to validate, still ends.
        chart.SendMessage(WM_PAINT);
        EXPECT_EQ(PumpCountingPaints(chart.m_hWnd, 20), 0);
        chart.DestroyWindow();
    }
}

TEST(PieChartWindow, ThousandsOfPaintsKeepMemoryFlatAndThePictureRight)
{
    ControlHost host;
    CPieChartCtrl chart;
    // Small, so that the repetitions stay quick: pie (5, 5, 40, 40), rows
    // 10 px high with boxes at x 53.
    ASSERT_TRUE(BindStatistics(chart, host, 150, 50));
    auto paint = [&](int times) {
        for (int i = 0; i < times; ++i) {
            chart.Invalidate();
            chart.UpdateWindow();
        }
    };
    paint(500);
    SIZE_T before = PrivateBytes();
    paint(20000);
    SIZE_T after = PrivateBytes();
    EXPECT_LT(after, before + 512 * 1024) << before << " -> " << after;
    printf("private bytes %lu -> %lu\n", (unsigned long)before, (unsigned long)after);
    HDC dc = ::GetDC(chart.m_hWnd);
    for (int i = 0; i < 4; ++i) {
        COLORREF c = ::GetPixel(dc, 56, 8 + 10 * i);
        ARGB a = kColors[i];
        EXPECT_EQ(c, RGB((a >> 16) & 0xFF, (a >> 8) & 0xFF, a & 0xFF)) << i;
    }
    EXPECT_EQ(::GetPixel(dc, 25, 5), RGB(0, 0, 0));
    ::ReleaseDC(chart.m_hWnd, dc);
    chart.DestroyWindow();
}

}  // namespace
