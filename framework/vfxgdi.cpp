#include "vfxgdi.h"
#include "vfxapp.h"
#include <gdiplus.h>

static ULONG_PTR s_gdiplusToken;

BOOL AfxGdiplusStartup()
{
    if (s_gdiplusToken) return TRUE;
    Gdiplus::GdiplusStartupInput input;
    return Gdiplus::GdiplusStartup(&s_gdiplusToken, &input, nullptr) == Gdiplus::Ok && s_gdiplusToken;
}

void AfxGdiplusShutdown()
{
    if (!s_gdiplusToken) return;
    Gdiplus::GdiplusShutdown(s_gdiplusToken);
    s_gdiplusToken = 0;
}

HBITMAP AfxLoadPicture(HINSTANCE hInst, UINT nID, const char* pszType)
{
    if (!s_gdiplusToken) return nullptr;
    HRSRC res = ::FindResourceA(hInst, MAKEINTRESOURCEA(nID), pszType);
    DWORD size = res ? ::SizeofResource(hInst, res) : 0;
    HGLOBAL data = size ? ::LoadResource(hInst, res) : nullptr;
    const BYTE* bytes = data ? (const BYTE*)::LockResource(data) : nullptr;
    if (!bytes) return nullptr;
    // A stream over the bytes in memory: shlwapi's, exported by ordinal
    // only before Vista.
    typedef IStream*(WINAPI * PFN_MEMSTREAM)(const BYTE*, UINT);
    HMODULE shlwapi = ::GetModuleHandleA("shlwapi.dll");
    PFN_MEMSTREAM memStream = shlwapi ? (PFN_MEMSTREAM)(void*)::GetProcAddress(shlwapi, MAKEINTRESOURCEA(12)) : nullptr;
    IStream* stream = memStream ? memStream(bytes, size) : nullptr;
    if (!stream) return nullptr;
    HBITMAP hbm = nullptr;
    Gdiplus::GpBitmap* picture = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromStream(stream, &picture) == Gdiplus::Ok && picture) {
        if (Gdiplus::DllExports::GdipCreateHBITMAPFromBitmap(picture, &hbm, 0xFFFFFFFF) != Gdiplus::Ok) hbm = nullptr;
        Gdiplus::DllExports::GdipDisposeImage(picture);
    }
    stream->Release();
    return hbm;
}

BOOL CDC::CreateCompatibleDC(HDC hdc)
{
    if (m_hDC) return FALSE;
    m_hDC = ::CreateCompatibleDC(hdc);
    m_bOwned = true;
    return m_hDC != nullptr;
}

void CDC::RestoreOriginalObjects()
{
    if (!m_hDC) return;
    if (m_hOrigBitmap) ::SelectObject(m_hDC, m_hOrigBitmap);
    if (m_hOrigFont) ::SelectObject(m_hDC, m_hOrigFont);
    if (m_hOrigPen) ::SelectObject(m_hDC, m_hOrigPen);
    if (m_hOrigBrush) ::SelectObject(m_hDC, m_hOrigBrush);
    m_hOrigBitmap = m_hOrigFont = m_hOrigPen = m_hOrigBrush = nullptr;
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC) return FALSE;
    RestoreOriginalObjects();
    BOOL ok = TRUE;
    if (m_bOwned) ok = ::DeleteDC(m_hDC);
    m_hDC = nullptr;
    m_bOwned = false;
    return ok;
}

HGDIOBJ CDC::SelectObject(HGDIOBJ h)
{
    if (!m_hDC || !h) return nullptr;
    HGDIOBJ old = ::SelectObject(m_hDC, h);
    HGDIOBJ* slot = nullptr;
    switch (::GetObjectType(h)) {
    case OBJ_BITMAP: slot = &m_hOrigBitmap; break;
    case OBJ_FONT: slot = &m_hOrigFont; break;
    case OBJ_PEN: slot = &m_hOrigPen; break;
    case OBJ_BRUSH: slot = &m_hOrigBrush; break;
    default: break;
    }
    if (slot && !*slot && old && old != HGDI_ERROR) *slot = old;
    return old;
}

void CDC::FillSolidRect(LPCRECT r, COLORREF c)
{
    COLORREF old = ::SetBkColor(m_hDC, c);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, r, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF c)
{
    RECT r = { x, y, x + cx, y + cy };
    FillSolidRect(&r, c);
}

BOOL CDC::GradientFillRect(LPCRECT r, COLORREF from, COLORREF to, BOOL bVertical)
{
    TRIVERTEX v[2] = {};
    v[0].x = r->left;
    v[0].y = r->top;
    v[0].Red = (COLOR16)(GetRValue(from) << 8);
    v[0].Green = (COLOR16)(GetGValue(from) << 8);
    v[0].Blue = (COLOR16)(GetBValue(from) << 8);
    v[1].x = r->right;
    v[1].y = r->bottom;
    v[1].Red = (COLOR16)(GetRValue(to) << 8);
    v[1].Green = (COLOR16)(GetGValue(to) << 8);
    v[1].Blue = (COLOR16)(GetBValue(to) << 8);
    GRADIENT_RECT g = { 0, 1 };
    return ::GradientFill(m_hDC, v, 2, &g, 1, bVertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

void CDC::Draw3dRect(LPCRECT r, COLORREF topLeft, COLORREF bottomRight)
{
    int x = r->left, y = r->top, cx = r->right - r->left, cy = r->bottom - r->top;
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, bottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, bottomRight);
}

CPaintDC::CPaintDC(const CWindow* pWnd) : m_hWnd(pWnd->m_hWnd)
{
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC()
{
    RestoreOriginalObjects();
    ::EndPaint(m_hWnd, &m_ps);
    m_hDC = nullptr;
}

CClientDC::CClientDC(const CWindow* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    m_hDC = ::GetDC(m_hWnd);
}

CClientDC::~CClientDC()
{
    RestoreOriginalObjects();
    ::ReleaseDC(m_hWnd, m_hDC);
    m_hDC = nullptr;
}

CWindowDC::CWindowDC(const CWindow* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    m_hDC = ::GetWindowDC(m_hWnd);
}

CWindowDC::~CWindowDC()
{
    RestoreOriginalObjects();
    ::ReleaseDC(m_hWnd, m_hDC);
    m_hDC = nullptr;
}
