#include "ControlsTestSupport.h"

MemoryCanvas::MemoryCanvas(int w, int h) : width(w), height(h)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    dc = ::CreateCompatibleDC(nullptr);
    m_bmp = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = (DWORD*)bits;
    m_old = ::SelectObject(dc, m_bmp);
}

MemoryCanvas::~MemoryCanvas()
{
    ::SelectObject(dc, m_old);
    ::DeleteObject(m_bmp);
    ::DeleteDC(dc);
}

COLORREF MemoryCanvas::Pixel(int x, int y) const
{
    ::GdiFlush();
    DWORD v = m_bits[(size_t)y * (size_t)width + (size_t)x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

void MemoryCanvas::Fill(COLORREF c)
{
    RECT rc = {0, 0, width, height};
    HBRUSH b = ::CreateSolidBrush(c);
    ::FillRect(dc, &rc, b);
    ::DeleteObject(b);
}

static LRESULT CALLBACK StubProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    ListStub* self = (ListStub*)::GetWindowLongPtrA(h, GWLP_USERDATA);
    if (self && m >= WM_PROPLIST_UPDATE && m <= WM_PROPLIST_NAVIGATE) {
        const VARIANT* v = (const VARIANT*)(m == WM_PROPLIST_CHANGED ? w : 0);
        self->log.push_back({m, w, l, v ? v->vt : (VARTYPE)VT_EMPTY, v ? v->lVal : 0});
        if (m == WM_PROPLIST_CHANGED && w && l) ((IProperty*)l)->SetValue((const VARIANT*)w);
        return 0;
    }
    return ::DefWindowProcA(h, m, w, l);
}

ListStub::ListStub()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = StubProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "KsListStub";
    ::RegisterClassA(&wc);
    hwnd = ::CreateWindowExA(0, "KsListStub", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, (LONG_PTR)this);
}

ListStub::~ListStub()
{
    ::DestroyWindow(hwnd);
}

EditStub::EditStub()
{
    hwnd = ::CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
}

std::string DisplayText(IProperty* p)
{
    int n = p->GetDisplayTextLength();
    std::string s((size_t)n + 1, '\0');
    if (!p->GetDisplayText(&s[0], n + 1)) return "<none>";
    s.resize(strlen(s.c_str()));
    return s;
}

int ValueI4(IProperty* p)
{
    CComVariant v;
    if (!p->GetValue(&v) || v.vt != VT_I4) return -999;
    return (int)v.lVal;
}
