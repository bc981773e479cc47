// PieSlice, PieLayout, PieSector, CPieChartCtrl: a shaded pie chart with an
// optional legend, drawn with GDI+ into an off-screen bitmap on every paint.
//
// The application starts GDI+ before the first paint.
#pragma once
#include "vfx.h"
#include <gdiplus.h>
#include <vector>

using Gdiplus::ARGB;

// Opaque shades of a colour; alpha of the result is always 0xFF.
ARGB LightenColor(ARGB color, float factor);
ARGB DarkenColor(ARGB color, float factor);

struct PieSlice {
    CString label;
    double value = 0.0;
    ARGB color = 0xFF000000;
    ARGB lightColor = 0xFF000000;   // start of the slice's gradient
    ARGB darkColor = 0xFF000000;    // end of the slice's gradient

    PieSlice() {}
    PieSlice(const PieSlice& o) : label(o.label), value(o.value) { SetColor(o.color); }
    PieSlice& operator=(const PieSlice& o)
    {
        label = o.label;
        value = o.value;
        SetColor(o.color);
        return *this;
    }
    void SetColor(ARGB c);
};

// Where the pie and its legend go in a client rectangle.
struct PieLayout {
    int side = 0;       // the square at the top-left corner holding the pie
    int d = 0;          // diameter
    int x = 0, y = 0;   // top-left corner of the pie's square
    float rowHeight = 0, legendLeft = 0, boxSide = 0, textLeft = 0, fontSize = 0;
};
PieLayout ComputePieLayout(const RECT& client, int slices);

// One sector, angles in degrees clockwise from three o'clock.
struct PieSector {
    float start, sweep;
};
// Empty when there is nothing to draw (no values, or their sum is not above 1e-6).
std::vector<PieSector> ComputePieSectors(const std::vector<PieSlice>& slices);

class CPieChartCtrl : public CStatic {
public:
    CPieChartCtrl() {}

    void AddSlice(const CString& label, double value, ARGB color);
    void SetSliceLabel(int index, const CString& label);
    void SetSliceValue(int index, double value);
    void SetSliceColor(int index, ARGB color);
    void ShowLegend(BOOL show);
    void SetBackgroundColors(ARGB top, ARGB bottom);

    // The whole picture for a client area of w x h; NULL when it cannot be
    // made. The caller disposes of it.
    Gdiplus::GpBitmap* ComposeFrame(int w, int h) const;
    void DrawBackground(Gdiplus::GpGraphics* g, const RECT& client) const;
    void DrawPie(Gdiplus::GpGraphics* g, const RECT& client) const;

    std::vector<PieSlice> m_slices;
    ARGB m_backgroundTop = 0xFFFFFFFF;
    ARGB m_backgroundBottom = 0xFFFFEBCD;
    BYTE m_showLegend = 0;

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(HDC) { return TRUE; }
    DECLARE_MESSAGE_MAP()

private:
    bool IsSlice(int index) const { return index >= 0 && (size_t)index < m_slices.size(); }
    void DrawLegend(Gdiplus::GpGraphics* g, const PieLayout& lay, Gdiplus::GpPen* outline) const;
};

// The legend's font family and the generic fallback; tests replace them.
extern const WCHAR* g_pszPieLegendFamily;
typedef Gdiplus::GpStatus(WINGDIPAPI* PFN_GETGENERICSANS)(Gdiplus::GpFontFamily**);
extern PFN_GETGENERICSANS g_pfnPieGenericSans;
