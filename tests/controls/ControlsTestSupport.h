// Helpers of the control tests: a host window for static controls, GDI+
// started once, a window that records what items send their list, an edit
// box to commit from, a dictionary entry for one test.
#pragma once
#include "support/TestSupport.h"
#include "controls/PropertyItems.h"
#include "controls/PropertyEditors.h"
#include "services/Translator.h"
#include <gdiplus.h>
#include <string>
#include <vector>

inline void EnsureGdiplus()
{
    static ULONG_PTR token;
    Gdiplus::GdiplusStartupInput in;
    if (!token) Gdiplus::GdiplusStartup(&token, &in, nullptr);
}

// A visible vfx window, so that it hands its controls' notifications back
// to them.
class ControlHost : public CWnd {
public:
    explicit ControlHost(int w = 420, int h = 260)
    {
        CreateEx(0, AfxRegisterWndClass(0, nullptr, (HBRUSH)(COLOR_BTNFACE + 1)), "host", WS_POPUP | WS_VISIBLE,
                 20, 20, w, h, nullptr, nullptr);
    }
    ~ControlHost() override { DestroyWindow(); }
    // A STATIC child; with the GUI font unless font is false.
    HWND AddStatic(const char* text, DWORD style, int x, int y, int w, int h, bool font = true, int id = 100)
    {
        HWND c = ::CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, m_hWnd,
                                   (HMENU)(INT_PTR)id, AfxGetInstanceHandle(), nullptr);
        if (font) ::SendMessageA(c, WM_SETFONT, (WPARAM)::GetStockObject(DEFAULT_GUI_FONT), FALSE);
        return c;
    }
};

// Dispatches what is queued for about ms milliseconds; returns how many
// WM_PAINT messages reached hWnd meanwhile (stopping past 1000).
int PumpCountingPaints(HWND hWnd, DWORD ms);

// A hidden window standing in for the list: records messages in the
// WM_PROPLIST_* range and stores proposed values like the list would.
class ListStub {
public:
    ListStub();
    ~ListStub() { ::DestroyWindow(hwnd); }
    struct Msg { UINT msg; WPARAM wParam; LPARAM lParam; VARTYPE vt; LONG value; };
    std::vector<Msg> log;
    HWND hwnd = nullptr;
};

// A hidden edit box to commit texts from.
class EditStub {
public:
    ~EditStub() { ::DestroyWindow(hwnd); }
    void Set(const char* text) { ::SetWindowTextA(hwnd, text); }
    HWND hwnd = ::CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
};

// Adds English=translation for the life of the object.
class Dictionary {
public:
    Dictionary(const char* english, const char* translated) : m_key(english) { g_translator.m_map.SetAt(english, translated); }
    ~Dictionary() { g_translator.m_map.RemoveKey(m_key.c_str()); }
private:
    std::string m_key;
};

// A VARIANT of an integer type (VT_I4, VT_UI4).
inline VARIANT Integer(LONG n, VARTYPE vt = VT_I4)
{
    VARIANT v;
    ::VariantInit(&v);
    v.vt = vt;
    v.lVal = n;
    return v;
}
std::string DisplayText(IProperty* p);  // "<none>" when the item shows nothing
int ValueI4(IProperty* p);  // -999 when the value is no VT_I4
