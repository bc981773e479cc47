// Helpers of the property-list tests: a 32-bit memory DC, a window that
// records what items send their list, a dictionary entry for one test.
#pragma once
#include "support/TestSupport.h"
#include "controls/PropertyItems.h"
#include "controls/PropertyEditors.h"
#include "services/Translator.h"
#include <string>
#include <vector>

// A 32-bit top-down bitmap selected into a memory DC.
class MemoryCanvas {
public:
    MemoryCanvas(int w, int h);
    ~MemoryCanvas();
    COLORREF Pixel(int x, int y) const;  // as RGB()
    void Fill(COLORREF c);
    HDC dc = nullptr;
    int width, height;
private:
    HBITMAP m_bmp = nullptr;
    HGDIOBJ m_old = nullptr;
    DWORD* m_bits = nullptr;
};

// A hidden window standing in for the list: records messages in the
// WM_PROPLIST_* range and stores proposed values like the list would.
class ListStub {
public:
    ListStub();
    ~ListStub();
    struct Msg { UINT msg; WPARAM wParam; LPARAM lParam; VARTYPE vt; LONG value; };
    std::vector<Msg> log;
    HWND hwnd = nullptr;
};

// A hidden edit box to commit texts from.
class EditStub {
public:
    EditStub();
    ~EditStub() { ::DestroyWindow(hwnd); }
    void Set(const char* text) { ::SetWindowTextA(hwnd, text); }
    HWND hwnd = nullptr;
};

// Adds English=translation for the life of the object.
class Dictionary {
public:
    Dictionary(const char* english, const char* translated) : m_key(english) { g_translator.m_map.SetAt(english, translated); }
    ~Dictionary() { g_translator.m_map.RemoveKey(m_key.c_str()); }
private:
    std::string m_key;
};

std::string DisplayText(IProperty* p);
int ValueI4(IProperty* p);  // -999 when the value is no VT_I4
