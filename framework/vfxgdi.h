// vfx GDI: CGdiObject, CPen, CBrush, CFont, CBitmap, CRgn, CDC, CPaintDC,
// CClientDC, CWindowDC.
//
// Each wrapper holds one handle and deletes what it owns when destroyed.
#pragma once
#include "vfxwnd.h"

class CGdiObject {
public:
    CGdiObject() {}
    virtual ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    HGDIOBJ m_hObject = nullptr;
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL Attach(HGDIOBJ h) { if (!h) return FALSE; DeleteObject(); m_hObject = h; return TRUE; }
    HGDIOBJ Detach() { HGDIOBJ h = m_hObject; m_hObject = nullptr; return h; }
    BOOL DeleteObject() { if (!m_hObject) return FALSE; BOOL ok = ::DeleteObject(m_hObject); m_hObject = nullptr; return ok; }
    int GetObject(int n, void* p) const { return ::GetObjectA(m_hObject, n, p); }
};

class CPen : public CGdiObject {
public:
    CPen() {}
    CPen(int style, int width, COLORREF c) { CreatePen(style, width, c); }
    BOOL CreatePen(int style, int width, COLORREF c) { return Attach(::CreatePen(style, width, c)); }
    operator HPEN() const { return (HPEN)m_hObject; }
};

class CBrush : public CGdiObject {
public:
    CBrush() {}
    explicit CBrush(COLORREF c) { CreateSolidBrush(c); }
    BOOL CreateSolidBrush(COLORREF c) { return Attach(::CreateSolidBrush(c)); }
    operator HBRUSH() const { return (HBRUSH)m_hObject; }
};

class CFont : public CGdiObject {
public:
    BOOL CreateFontIndirect(const LOGFONTA* lf) { return Attach(::CreateFontIndirectA(lf)); }
    BOOL CreatePointFont(int nPointSize, const char* face, HDC hdc = nullptr);
    operator HFONT() const { return (HFONT)m_hObject; }
};

class CBitmap : public CGdiObject {
public:
    BOOL CreateCompatibleBitmap(HDC hdc, int w, int h) { return Attach(::CreateCompatibleBitmap(hdc, w, h)); }
    BOOL CreateBitmap(int w, int h, UINT planes, UINT bpp, const void* bits) { return Attach(::CreateBitmap(w, h, planes, bpp, bits)); }
    BOOL LoadBitmap(UINT nID);
    operator HBITMAP() const { return (HBITMAP)m_hObject; }
};

class CRgn : public CGdiObject {
public:
    BOOL CreateRoundRectRgn(int l, int t, int r, int b, int w, int h) { return Attach(::CreateRoundRectRgn(l, t, r, b, w, h)); }
    BOOL CreateRectRgn(int l, int t, int r, int b) { return Attach(::CreateRectRgn(l, t, r, b)); }
    operator HRGN() const { return (HRGN)m_hObject; }
};

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
    HGDIOBJ SelectObject(const CGdiObject* p) { return SelectObject(p ? p->m_hObject : nullptr); }
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

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps;
private:
    HWND m_hWnd;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;
private:
    HWND m_hWnd;
};

class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;
private:
    HWND m_hWnd;
};
