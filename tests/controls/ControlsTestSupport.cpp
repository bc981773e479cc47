#include "ControlsTestSupport.h"

int PumpCountingPaints(HWND hWnd, DWORD ms)
{
    int paints = 0;
    PumpMessages(ms, [&](const MSG& m) { return (paints += m.message == WM_PAINT && m.hwnd == hWnd) <= 1000; });
    return paints;
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
