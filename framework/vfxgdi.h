// vfx GDI: CGdiObjectT, CPenT, CBrushT, CFontT, CBitmapT, CRgnT (owners and
// views), CDC, CPaintDC, CClientDC, CWindowDC.
//
// Each wrapper holds one handle and deletes what it owns when destroyed.
#pragma once
#include "vfxwnd.h"

HINSTANCE AfxGetResourceHandle();

// One GDI handle. An owner (t_bOwned, the plain names CPen, CBrush, ...)
// deletes it when destroyed or replaced and is not copied; a view (the
// *Handle names) only names a handle someone else keeps, and copies freely.
template <bool t_bOwned>
class CGdiObjectT {
public:
    explicit CGdiObjectT(HGDIOBJ h = nullptr) : m_hObject(h) {}
    ~CGdiObjectT() { if (t_bOwned) DeleteObject(); }
    CGdiObjectT(const CGdiObjectT& o) : m_hObject(o.m_hObject) { static_assert(!t_bOwned, "an owned GDI object is not copied"); }
    CGdiObjectT& operator=(const CGdiObjectT& o)
    {
        static_assert(!t_bOwned, "an owned GDI object is not copied");
        m_hObject = o.m_hObject;
        return *this;
    }
    HGDIOBJ m_hObject;
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL Attach(HGDIOBJ h) { if (!h) return FALSE; if (t_bOwned) DeleteObject(); m_hObject = h; return TRUE; }
    HGDIOBJ Detach() { HGDIOBJ h = m_hObject; m_hObject = nullptr; return h; }
    BOOL DeleteObject() { if (!m_hObject) return FALSE; BOOL ok = ::DeleteObject(m_hObject); m_hObject = nullptr; return ok; }
    int GetObject(int n, void* p) const { return ::GetObjectA(m_hObject, n, p); }
};
typedef CGdiObjectT<true> CGdiObject;

template <bool t_bOwned>
class CPenT : public CGdiObjectT<t_bOwned> {
public:
    explicit CPenT(HPEN h = nullptr) : CGdiObjectT<t_bOwned>(h) {}
    CPenT(int style, int width, COLORREF c) { CreatePen(style, width, c); }
    BOOL CreatePen(int style, int width, COLORREF c) { return this->Attach(::CreatePen(style, width, c)); }
    operator HPEN() const { return (HPEN)this->m_hObject; }
};

template <bool t_bOwned>
class CBrushT : public CGdiObjectT<t_bOwned> {
public:
    explicit CBrushT(HBRUSH h = nullptr) : CGdiObjectT<t_bOwned>(h) {}
    explicit CBrushT(COLORREF c) { CreateSolidBrush(c); }
    BOOL CreateSolidBrush(COLORREF c) { return this->Attach(::CreateSolidBrush(c)); }
    BOOL CreatePatternBrush(HBITMAP hBitmap) { return this->Attach(::CreatePatternBrush(hBitmap)); }
    // Every other pixel, for dotted and greyed-out drawing (PatBlt with
    // PATINVERT, or text and foreground colours for its two shades).
    BOOL CreateHalftoneBrush()
    {
        static const WORD kBits[8] = { 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA };
        HBITMAP hBitmap = ::CreateBitmap(8, 8, 1, 1, kBits);
        if (!hBitmap) return FALSE;
        BOOL ok = CreatePatternBrush(hBitmap);
        ::DeleteObject(hBitmap);   // the brush keeps its own copy
        return ok;
    }
    operator HBRUSH() const { return (HBRUSH)this->m_hObject; }
};

template <bool t_bOwned>
class CFontT : public CGdiObjectT<t_bOwned> {
public:
    explicit CFontT(HFONT h = nullptr) : CGdiObjectT<t_bOwned>(h) {}
    BOOL CreateFontIndirect(const LOGFONTA* lf) { return this->Attach(::CreateFontIndirectA(lf)); }
    // nPointSize in tenths of a point, for hdc's resolution (the screen's when NULL).
    BOOL CreatePointFont(int nPointSize, const char* face, HDC hdc = nullptr)
    {
        LOGFONTA lf = {};
        HDC screen = hdc ? hdc : ::GetDC(nullptr);
        lf.lfHeight = -MulDiv(nPointSize, ::GetDeviceCaps(screen, LOGPIXELSY), 720);
        if (!hdc) ::ReleaseDC(nullptr, screen);
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpynA(lf.lfFaceName, face ? face : "", LF_FACESIZE);
        return CreateFontIndirect(&lf);
    }
    BOOL GetLogFont(LOGFONTA* lf) const { return this->GetObject(sizeof(*lf), lf) == (int)sizeof(*lf); }
    operator HFONT() const { return (HFONT)this->m_hObject; }
};

template <bool t_bOwned>
class CBitmapT : public CGdiObjectT<t_bOwned> {
public:
    explicit CBitmapT(HBITMAP h = nullptr) : CGdiObjectT<t_bOwned>(h) {}
    BOOL CreateCompatibleBitmap(HDC hdc, int w, int h) { return this->Attach(::CreateCompatibleBitmap(hdc, w, h)); }
    BOOL CreateBitmap(int w, int h, UINT planes, UINT bpp, const void* bits) { return this->Attach(::CreateBitmap(w, h, planes, bpp, bits)); }
    BOOL LoadBitmap(UINT nID) { return this->Attach(::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nID))); }
    operator HBITMAP() const { return (HBITMAP)this->m_hObject; }
};

template <bool t_bOwned>
class CRgnT : public CGdiObjectT<t_bOwned> {
public:
    explicit CRgnT(HRGN h = nullptr) : CGdiObjectT<t_bOwned>(h) {}
    BOOL CreateRoundRectRgn(int l, int t, int r, int b, int w, int h) { return this->Attach(::CreateRoundRectRgn(l, t, r, b, w, h)); }
    BOOL CreateRectRgn(int l, int t, int r, int b) { return this->Attach(::CreateRectRgn(l, t, r, b)); }
    BOOL CreateEllipticRgn(int l, int t, int r, int b) { return this->Attach(::CreateEllipticRgn(l, t, r, b)); }
    BOOL CreatePolygonRgn(const POINT* pts, int n, int mode) { return this->Attach(::CreatePolygonRgn(pts, n, mode)); }
    int CombineRgn(HRGN a, HRGN b, int mode) { return ::CombineRgn((HRGN)this->m_hObject, a, b, mode); }
    operator HRGN() const { return (HRGN)this->m_hObject; }
};

typedef CPenT<true> CPen;
typedef CBrushT<true> CBrush;
typedef CFontT<true> CFont;
typedef CBitmapT<true> CBitmap;
typedef CRgnT<true> CRgn;
typedef CPenT<false> CPenHandle;
typedef CBrushT<false> CBrushHandle;
typedef CFontT<false> CFontHandle;
typedef CBitmapT<false> CBitmapHandle;
typedef CRgnT<false> CRgnHandle;

// A device context. Owned contexts (CreateCompatibleDC) are deleted with the
// object, after every object selected through it has been selected back out.
class CDC {
public:
    CDC() {}
    virtual ~CDC() { DeleteDC(); }
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    HDC m_hDC = nullptr;
    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }

    BOOL CreateCompatibleDC(HDC hdc);
    BOOL DeleteDC();
    BOOL Attach(HDC h) { if (!h || m_hDC) return FALSE; m_hDC = h; m_bOwned = false; return TRUE; }
    HDC Detach() { HDC h = m_hDC; m_hDC = nullptr; return h; }
    // Puts back the objects that were in the context before anything was
    // selected into it through this wrapper.
    void RestoreOriginalObjects();

    HGDIOBJ SelectObject(HGDIOBJ h);
    template <bool t_bOwned>
    HGDIOBJ SelectObject(const CGdiObjectT<t_bOwned>* p) { return SelectObject(p ? p->m_hObject : nullptr); }
    HGDIOBJ SelectStockObject(int n) { return SelectObject(::GetStockObject(n)); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    COLORREF SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }
    COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
    void FillRect(LPCRECT r, HBRUSH b) { ::FillRect(m_hDC, r, b); }
    void FillSolidRect(LPCRECT r, COLORREF c);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF c);
    void Draw3dRect(LPCRECT r, COLORREF topLeft, COLORREF bottomRight);
    int DrawText(const char* text, int n, LPRECT r, UINT fmt) { return ::DrawTextA(m_hDC, text, n, r, fmt); }
    int DrawText(const CString& s, LPRECT r, UINT fmt) { return ::DrawTextA(m_hDC, s, s.GetLength(), r, fmt); }
    BOOL TextOut(int x, int y, const char* s, int n) { return ::TextOutA(m_hDC, x, y, s, n); }
    BOOL MoveTo(int x, int y) { return ::MoveToEx(m_hDC, x, y, nullptr); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL Rectangle(int l, int t, int r, int b) { return ::Rectangle(m_hDC, l, t, r, b); }
    BOOL RoundRect(int l, int t, int r, int b, int w, int h) { return ::RoundRect(m_hDC, l, t, r, b, w, h); }
    BOOL BitBlt(int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop) { return ::BitBlt(m_hDC, x, y, w, h, src, sx, sy, rop); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    COLORREF SetPixel(int x, int y, COLORREF c) { return ::SetPixel(m_hDC, x, y, c); }
    CSize GetTextExtent(const char* s, int n) const { SIZE sz = {0, 0}; ::GetTextExtentPoint32A(m_hDC, s, n, &sz); return CSize(sz); }
    int GetDeviceCaps(int i) const { return ::GetDeviceCaps(m_hDC, i); }
    BOOL DrawIcon(int x, int y, HICON h) { return ::DrawIcon(m_hDC, x, y, h); }
    BOOL Ellipse(int l, int t, int r, int b) { return ::Ellipse(m_hDC, l, t, r, b); }
    BOOL Ellipse(LPCRECT r) { return ::Ellipse(m_hDC, r->left, r->top, r->right, r->bottom); }
    BOOL Pie(LPCRECT r, POINT start, POINT end)
    { return ::Pie(m_hDC, r->left, r->top, r->right, r->bottom, start.x, start.y, end.x, end.y); }
    BOOL Polygon(const POINT* pts, int n) { return ::Polygon(m_hDC, pts, n); }
    BOOL Polyline(const POINT* pts, int n) { return ::Polyline(m_hDC, pts, n); }
    BOOL DrawEdge(LPRECT r, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, r, edge, flags); }
    BOOL DrawFocusRect(LPCRECT r) { return ::DrawFocusRect(m_hDC, r); }
    BOOL DrawFrameControl(LPRECT r, UINT type, UINT state) { return ::DrawFrameControl(m_hDC, r, type, state); }
    BOOL GradientFill(TRIVERTEX* v, ULONG nv, void* mesh, ULONG nm, ULONG mode) { return ::GradientFill(m_hDC, v, nv, mesh, nm, mode); }
    // A rectangle shaded from one colour to another, left to right or top to bottom.
    BOOL GradientFillRect(LPCRECT r, COLORREF from, COLORREF to, BOOL bVertical);
    BOOL PatBlt(int x, int y, int w, int h, DWORD rop) { return ::PatBlt(m_hDC, x, y, w, h, rop); }
    BOOL StretchBlt(int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, DWORD rop)
    { return ::StretchBlt(m_hDC, x, y, w, h, src, sx, sy, sw, sh, rop); }
    int SetStretchBltMode(int mode) { return ::SetStretchBltMode(m_hDC, mode); }
    BOOL GetTextMetrics(TEXTMETRICA* tm) const { return ::GetTextMetricsA(m_hDC, tm); }
    int SetROP2(int mode) { return ::SetROP2(m_hDC, mode); }
    int IntersectClipRect(LPCRECT r) { return ::IntersectClipRect(m_hDC, r->left, r->top, r->right, r->bottom); }
    int SelectClipRgn(HRGN h) { return ::SelectClipRgn(m_hDC, h); }
    HGDIOBJ GetCurrentObject(UINT type) const { return ::GetCurrentObject(m_hDC, type); }
    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int n) { return ::RestoreDC(m_hDC, n); }

protected:
    bool m_bOwned = false;
    HGDIOBJ m_hOrigBitmap = nullptr, m_hOrigFont = nullptr, m_hOrigPen = nullptr, m_hOrigBrush = nullptr;
};

// GDI+ for the program's life: started once, shut down at the end
// (AfxWinMain). FALSE when it cannot start.
BOOL AfxGdiplusStartup();
void AfxGdiplusShutdown();
// A compressed picture resource (PNG, or any format GDI+ reads) of the
// given resource type as a bitmap the caller deletes; NULL when the
// resource is missing or unreadable, or GDI+ is not running.
HBITMAP AfxLoadPicture(HINSTANCE hInst, UINT nID, const char* pszType);

class CPaintDC : public CDC {
public:
    explicit CPaintDC(const CWindow* pWnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps;
private:
    HWND m_hWnd;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(const CWindow* pWnd);
    ~CClientDC() override;
private:
    HWND m_hWnd;
};

class CWindowDC : public CDC {
public:
    explicit CWindowDC(const CWindow* pWnd);
    ~CWindowDC() override;
private:
    HWND m_hWnd;
};
