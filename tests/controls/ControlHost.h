// A visible top-level window holding static controls for the control tests,
// and GDI+ started once for the test program.
#pragma once
#include "vfx.h"
#include <gdiplus.h>

inline void EnsureGdiplus()
{
    static ULONG_PTR token;
    if (!token) {
        Gdiplus::GdiplusStartupInput in;
        Gdiplus::GdiplusStartup(&token, &in, nullptr);
    }
}

// A vfx window, so that it hands its controls' notifications back to them.
class ControlHost : public CWnd {
public:
    explicit ControlHost(int w = 420, int h = 260)
    {
        CreateEx(0, AfxRegisterWndClass(0, nullptr, (HBRUSH)(COLOR_BTNFACE + 1)), "host", WS_POPUP | WS_VISIBLE,
                 20, 20, w, h, nullptr, nullptr);
        m_font = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    }
    ~ControlHost() override { DestroyWindow(); }
    // A STATIC child; with the GUI font unless font is false.
    HWND AddStatic(const char* text, DWORD style, int x, int y, int w, int h, bool font = true, int id = 100)
    {
        HWND c = ::CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, m_hWnd,
                                   (HMENU)(INT_PTR)id, AfxGetInstanceHandle(), nullptr);
        if (font) ::SendMessageA(c, WM_SETFONT, (WPARAM)m_font, FALSE);
        return c;
    }
    HFONT m_font;
};

// Dispatches what is queued for about ms milliseconds; returns how many
// WM_PAINT messages reached hWnd meanwhile.
inline int PumpCountingPaints(HWND hWnd, DWORD ms)
{
    int paints = 0;
    DWORD start = ::GetTickCount();
    MSG msg;
    do {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_PAINT && msg.hwnd == hWnd) ++paints;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
            if (paints > 1000) return paints;
        }
        ::Sleep(2);
    } while (::GetTickCount() - start < ms);
    return paints;
}
