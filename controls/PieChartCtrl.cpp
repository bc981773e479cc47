#include "controls/PieChartCtrl.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

const WCHAR* g_pszPieLegendFamily = L"Arial";
PFN_GETGENERICSANS g_pfnPieGenericSans = GdipGetGenericFontFamilySansSerif;

// ---- shades ----

// Applies a per-channel rule to red, green and blue; the shade is opaque.
template <class Rule>
static ARGB ShadeColor(ARGB color, Rule rule)
{
    ARGB out = 0xFF000000;
    for (int shift = 0; shift <= 16; shift += 8)
        out |= (ARGB)rule((int)((color >> shift) & 0xFF)) << shift;
    return out;
}

ARGB LightenColor(ARGB color, float factor)
{
    return ShadeColor(color, [factor](int v) {
        float k = (float)((255 - v) / 255.0);
        double r = (double)v + (double)k * (double)factor;
        if (r >= 255.0) r = 255.0;
        return (int)r;
    });
}

ARGB DarkenColor(ARGB color, float factor)
{
    return ShadeColor(color, [factor](int v) {
        float k = (float)(v / 255.0);
        double r = (double)v - (double)k * (double)factor;
        if (r <= 0.0) r = 0.0;
        return (int)r;
    });
}

void PieSlice::SetColor(ARGB c)
{
    color = c;
    lightColor = LightenColor(c, 120.0f);
    darkColor = DarkenColor(c, 10.0f);
}

// ---- geometry ----

PieLayout ComputePieLayout(const RECT& client, int slices)
{
    PieLayout lay;
    int w = client.right - client.left, h = client.bottom - client.top;
    lay.side = w < h ? w : h;
    if (lay.side < 0) lay.side = 0;
    lay.d = (int)(lay.side * 0.8);
    int m = (lay.side - lay.d) / 2;
    lay.x = client.left + m;
    lay.y = client.top + m;
    if (slices > 0) {
        lay.rowHeight = (float)lay.d / (float)slices;
        lay.legendLeft = (float)lay.d * 1.2f + (float)lay.x;
        lay.boxSide = lay.rowHeight * 0.7f;
        lay.textLeft = lay.legendLeft + lay.rowHeight;
        lay.fontSize = lay.rowHeight * 0.6f;
    }
    return lay;
}

std::vector<PieSector> ComputePieSectors(const std::vector<PieSlice>& slices)
{
    std::vector<PieSector> out;
    double sum = 0.0;
    for (const PieSlice& s : slices) sum += s.value;
    if (slices.empty() || !(sum > 0.000001)) return out;
    double start = -90.0;
    for (const PieSlice& s : slices) {
        double sweep = s.value / sum * 360.0;
        out.push_back({ (float)start, (float)sweep });
        start += sweep;
    }
    return out;
}

// ---- the control ----

BEGIN_MESSAGE_MAP(CPieChartCtrl, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void CPieChartCtrl::AddSlice(const CString& label, double value, ARGB color)
{
    PieSlice s;
    s.label = label;
    s.value = value;
    s.SetColor(color);
    m_slices.push_back(s);
    // Before the control is bound there is nothing to repaint (and a NULL
    // window would invalidate the whole desktop).
    if (m_hWnd) Invalidate(TRUE);
}

void CPieChartCtrl::SetSliceLabel(int index, const CString& label)
{
    if (IsSlice(index)) m_slices[(size_t)index].label = label;
}

void CPieChartCtrl::SetSliceValue(int index, double value)
{
    if (IsSlice(index)) m_slices[(size_t)index].value = value;
}

void CPieChartCtrl::SetSliceColor(int index, ARGB color)
{
    if (IsSlice(index)) m_slices[(size_t)index].SetColor(color);
}

void CPieChartCtrl::ShowLegend(BOOL show)
{
    m_showLegend = show ? 1 : 0;
    if (m_hWnd) Invalidate(TRUE);
}

void CPieChartCtrl::SetBackgroundColors(ARGB top, ARGB bottom)
{
    m_backgroundTop = top;
    m_backgroundBottom = bottom;
    if (m_hWnd) Invalidate(TRUE);
}

// Every GDI+ object below starts NULL and is used and deleted only when it
// was made: a failed call leaves its out-pointer as it was.

GpBitmap* CPieChartCtrl::ComposeFrame(int w, int h) const
{
    if (w <= 0 || h <= 0) return nullptr;
    GpBitmap* bmp = nullptr;
    if (GdipCreateBitmapFromScan0(w, h, 0, PixelFormat32bppARGB, nullptr, &bmp) != Ok || !bmp) return nullptr;
    GpGraphics* g = nullptr;
    if (GdipGetImageGraphicsContext(bmp, &g) != Ok || !g) {
        GdipDisposeImage(bmp);
        return nullptr;
    }
    GdipSetSmoothingMode(g, SmoothingModeHighQuality);
    RECT client = { 0, 0, w, h };
    DrawBackground(g, client);
    DrawPie(g, client);
    GdipDeleteGraphics(g);
    return bmp;
}

void CPieChartCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    GpBitmap* bmp = ComposeFrame(client.Width(), client.Height());
    if (!bmp) return;
    GpGraphics* screen = nullptr;
    GpCachedBitmap* cached = nullptr;
    if (GdipCreateFromHDC(dc, &screen) == Ok && screen)
        GdipCreateCachedBitmap(bmp, screen, &cached);
    GdipDisposeImage(bmp);
    if (cached) {
        GdipDrawCachedBitmap(screen, cached, client.left, client.top);
        GdipDeleteCachedBitmap(cached);
    }
    if (screen) GdipDeleteGraphics(screen);
}

void CPieChartCtrl::DrawBackground(GpGraphics* g, const RECT& client) const
{
    GpPointF top((REAL)client.left, (REAL)client.top);
    GpPointF bottom((REAL)client.left, (REAL)client.bottom);
    GpLineGradient* brush = nullptr;
    if (GdipCreateLineBrush(&top, &bottom, m_backgroundTop, m_backgroundBottom, WrapModeTile, &brush) != Ok || !brush)
        return;
    GdipFillRectangle(g, brush, (REAL)client.left, (REAL)client.top,
                      (REAL)(client.right - client.left), (REAL)(client.bottom - client.top));
    GdipDeleteBrush(brush);
}

void CPieChartCtrl::DrawPie(GpGraphics* g, const RECT& client) const
{
    PieLayout lay = ComputePieLayout(client, (int)m_slices.size());
    const int x = lay.x, y = lay.y, d = lay.d;

    GpSolidFill* shadow = nullptr;
    if (GdipCreateSolidFill(0xFFA9A9A9, &shadow) == Ok && shadow)
        GdipFillEllipseI(g, shadow, x + 2, y + 2, d, d);
    GpPen* outline = nullptr;
    if (GdipCreatePen1(0xFF000000, 2.0f, UnitWorld, &outline) == Ok && outline)
        GdipDrawEllipseI(g, outline, x, y, d, d);

    std::vector<PieSector> sectors = ComputePieSectors(m_slices);
    if (!sectors.empty()) {
        // One vertical gradient, twice the pie's height, serves every slice.
        GpPoint from(x, y - d), to(x, y + d);
        GpLineGradient* shade = nullptr;
        if (GdipCreateLineBrushI(&from, &to, 0xFF000000, 0xFF000000, WrapModeTile, &shade) == Ok && shade) {
            for (size_t i = 0; i < sectors.size(); ++i) {
                GdipSetLineColors(shade, m_slices[i].lightColor, m_slices[i].darkColor);
                GdipFillPieI(g, shade, x, y, d, d, sectors[i].start, sectors[i].sweep);
            }
            GdipDeleteBrush(shade);
        }
        if (m_showLegend) DrawLegend(g, lay, outline);
    }

    if (outline) GdipDeletePen(outline);
    if (shadow) GdipDeleteBrush(shadow);
}

// The font for the legend, from the preferred family or else the generic
// sans-serif one; NULL when neither gives one. No family outlives the call.
static GpFont* CreateLegendFont(REAL emSize)
{
    GpFontFamily* family = nullptr;
    bool generic = false;
    if (GdipCreateFontFamilyFromName(g_pszPieLegendFamily, nullptr, &family) != Ok || !family) {
        family = nullptr;
        generic = true;
        if (g_pfnPieGenericSans(&family) != Ok || !family) return nullptr;
    }
    GpFont* font = nullptr;
    if (GdipCreateFont(family, emSize, FontStyleRegular, UnitPixel, &font) != Ok || !font) {
        font = nullptr;
        GdipDeleteFontFamily(family);
        family = nullptr;
        if (generic) return nullptr;
        if (g_pfnPieGenericSans(&family) != Ok || !family) return nullptr;
        if (GdipCreateFont(family, emSize, FontStyleRegular, UnitPixel, &font) != Ok || !font) font = nullptr;
    }
    GdipDeleteFontFamily(family);
    return font;
}

void CPieChartCtrl::DrawLegend(GpGraphics* g, const PieLayout& lay, GpPen* outline) const
{
    GpSolidFill* textBrush = nullptr;
    if (GdipCreateSolidFill(0xFF000000, &textBrush) != Ok) textBrush = nullptr;
    GpFont* font = CreateLegendFont(lay.fontSize);
    std::vector<WCHAR> text;
    REAL t = (REAL)lay.y;
    for (const PieSlice& s : m_slices) {
        GpSolidFill* box = nullptr;
        if (GdipCreateSolidFill(s.color, &box) == Ok && box) {
            GdipFillRectangle(g, box, lay.legendLeft, t, lay.boxSide, lay.boxSide);
            GdipDeleteBrush(box);
        }
        if (outline) GdipDrawRectangle(g, outline, lay.legendLeft, t, lay.boxSide, lay.boxSide);
        int n = ::MultiByteToWideChar(CP_ACP, 0, s.label, -1, nullptr, 0);
        if (font && textBrush && n > 1) {
            text.assign((size_t)n, L'\0');
            ::MultiByteToWideChar(CP_ACP, 0, s.label, -1, text.data(), n);
            RectF where(lay.textLeft, t, 0.0f, 0.0f);
            GdipDrawString(g, text.data(), -1, font, &where, nullptr, textBrush);
        }
        t += lay.rowHeight;
    }
    if (font) GdipDeleteFont(font);
    if (textBrush) GdipDeleteBrush(textBrush);
}
