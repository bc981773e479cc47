// Shows the custom controls in a dialog-like window, for a screenshot: the
// statistics chart (four slices, shaded background), the dashboard chart
// (three slices, flat window colour) and four links (plain, centred,
// visited, focused). Run inside Wine's virtual desktop:
//
//   wine64 explorer /desktop=shots,800x600 controls_demo.exe
//
// It prints "SHOWN" and runs its message loop (tooltips included) for
// KS_DEMO_SECONDS (default 10) seconds.
#include "controls/HyperLink.h"
#include "controls/OpenUrl.h"
#include "controls/PieChartCtrl.h"
#include "support/TestSupport.h"
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>

static HINSTANCE WINAPI PretendShell(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) { return (HINSTANCE)42; }

TEST(ControlsDemo, Show)
{
    const char* env = getenv("KS_DEMO_SECONDS");
    DWORD seconds = env && *env ? (DWORD)atoi(env) : 10;
    ULONG_PTR token;
    Gdiplus::GdiplusStartupInput in;
    Gdiplus::GdiplusStartup(&token, &in, nullptr);
    g_pfnShellExecuteA = PretendShell;

    CWnd dlg;
    ASSERT_TRUE(dlg.CreateEx(WS_EX_DLGMODALFRAME, AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1)),
                             "Controls", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 40, 40, 560, 330, nullptr, nullptr));
    HFONT font = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    auto child = [&](const char* text, DWORD style, int x, int y, int w, int h, int id) {
        HWND c = ::CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, dlg.m_hWnd,
                                   (HMENU)(INT_PTR)id, nullptr, nullptr);
        ::SendMessageA(c, WM_SETFONT, (WPARAM)font, FALSE);
        return c;
    };

    CPieChartCtrl stats, dash;
    ASSERT_TRUE(stats.SubclassWindow(child("Chart", 0, 12, 12, 300, 100, 101)));
    const char* statLabels[4] = { "Work time:", "Rest time:", "Idle/Away time:", "Left to work:" };
    const ARGB statColours[4] = { 0xFF00FFFF, 0xFF008000, 0xFF0000FF, 0xFFFFFF00 };
    const double statValues[4] = { 3600, 1800, 600, 1200 };
    for (int i = 0; i < 4; ++i) stats.AddSlice(statLabels[i], statValues[i], statColours[i]);
    stats.ShowLegend(TRUE);

    ASSERT_TRUE(dash.SubclassWindow(child("Chart", 0, 330, 12, 200, 100, 102)));
    COLORREF w = ::GetSysColor(COLOR_WINDOW);
    ARGB flat = 0xFF000000 | (ARGB)GetRValue(w) << 16 | (ARGB)GetGValue(w) << 8 | GetBValue(w);
    dash.SetBackgroundColors(flat, flat);
    const char* dashLabels[3] = { "Work time:", "Rest time:", "Left to work:" };
    const ARGB dashColours[3] = { 0xFF00FFFF, 0xFF008000, 0xFFFFFF00 };
    const double dashValues[3] = { 1500, 300, 1800 };
    for (int i = 0; i < 3; ++i) dash.AddSlice(dashLabels[i], dashValues[i], dashColours[i]);
    dash.ShowLegend(TRUE);

    CHyperLink plain, centred, visited, focused;
    plain.m_strTarget = "http://www.example.com/kestrabel/?from=demo";
    ASSERT_TRUE(plain.SubclassWindow(child("Kestrabel home page", 0, 12, 140, 300, 20, 201)));
    ASSERT_TRUE(centred.SubclassWindow(child("http://www.example.com/help", SS_CENTER, 12, 175, 300, 20, 202)));
    ASSERT_TRUE(visited.SubclassWindow(child("http://www.example.com/visited", 0, 12, 210, 300, 20, 203)));
    visited.OpenTarget();
    ASSERT_TRUE(focused.SubclassWindow(child("http://www.example.com/focused", 0, 12, 245, 300, 20, 204)));
    focused.SetFocus();

    printf("SHOWN\n");
    fflush(stdout);
    DWORD start = ::GetTickCount();
    MSG msg;
    while (::GetTickCount() - start < seconds * 1000) {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (AfxPreTranslateMessage(&msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    dlg.DestroyWindow();
}
