// Shows the property list in a dialog holding the Times page's rows, for
// screenshots and for runs with real input. Run inside Wine's virtual
// desktop:
//
//   KS_DEMO=plain|edit|drop|collapsed|band [KS_DEMO_SECONDS=8] [KS_DEMO_STATE=path]
//   [KS_DEMO_SHOT=picture.bmp]
//   wine64 explorer /desktop=shots,1024x768 proplist_demo.exe
//
// plain: nothing selected; edit: the editor open over "Once every" (201);
// drop: the open "Alert type" (203) choices; collapsed: "Short Breaks"
// folded; band: a divider drag under way. Every 200 ms the program writes
// its state (row rectangles on the screen, values, the editor's text, the
// pop-up's rectangle, the notifications so far) to KS_DEMO_STATE; after two
// seconds a picture of its windows goes to KS_DEMO_SHOT.
#include "support/TestSupport.h"
#include "support/PropertyListDialog.h"
#include "controls/PropertyEditors.h"
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

static std::string Env(const char* name, const char* def)
{
    const char* v = getenv(name);
    return v && *v ? v : def;
}

static const char* CodeName(int code)
{
    switch (code) {
    case LISTNOTIFY_SELCHANGED: return "SELCHANGED";
    case LISTNOTIFY_ITEMCHANGING: return "ITEMCHANGING";
    case LISTNOTIFY_ITEMCHANGED: return "ITEMCHANGED";
    case LISTNOTIFY_COLLAPSED: return "COLLAPSED";
    case LISTNOTIFY_EXPANDED: return "EXPANDED";
    case LISTNOTIFY_CLICK: return "CLICK";
    case LISTNOTIFY_DBLCLICK: return "DBLCLICK";
    default: return "?";
    }
}

static int Value(CPropertyList& list, LPARAM id)
{
    CComVariant v;
    IProperty* p = list.FindProperty(id);
    return p && list.GetItemValue(p, &v) && v.vt == VT_I4 ? (int)v.lVal : -999;
}

static void WriteState(CPropertyListTestDlg& dlg, const std::string& path)
{
    CPropertyList& list = dlg.m_list;
    // Written beside and moved over, so a reader never sees half a file.
    std::string part = path + ".part";
    FILE* f = fopen(part.c_str(), "wb");
    if (!f) return;
    for (LPARAM id : {201, 203, 402, 205}) {
        int row = list.FindIndex(list.FindProperty(id));
        RECT rc = {};
        if (row >= 0) list.GetItemRect(row, &rc);
        ::MapWindowPoints(list.m_hWnd, nullptr, (POINT*)&rc, 2);
        fprintf(f, "row %ld %ld %ld %ld %ld value %d\n", (long)id, rc.left, rc.top, rc.right, rc.bottom, Value(list, id));
    }
    fprintf(f, "splitter %d strip 16\n", list.m_nSplitter);
    HWND ed = list.GetEditorWindow();
    char text[256] = "";
    if (ed) ::GetWindowTextA(ed, text, (int)sizeof(text));
    RECT box = {};
    if (ed) ::GetWindowRect(ed, &box);
    fprintf(f, "editor [%s] %ld %ld %ld %ld\n", text, box.left, box.top, box.right, box.bottom);
    auto* drop = dynamic_cast<CPropertyListWindow*>(CWnd::FromHandlePermanent(ed));
    if (drop && drop->m_list.IsWindow()) {
        RECT pop;
        ::GetWindowRect(drop->m_list.m_hWnd, &pop);
        HDC dc = ::GetDC(drop->m_list.m_hWnd);
        COLORREF px = ::GetPixel(dc, 120, 44);
        ::ReleaseDC(drop->m_list.m_hWnd, dc);
        fprintf(f, "popup %d %ld %ld %ld %ld lines %d height %d pixel %06lx\n", drop->m_list.IsWindowVisible() ? 1 : 0,
                pop.left, pop.top, pop.right, pop.bottom, drop->m_list.GetCount(), drop->m_list.GetItemHeight(0),
                (unsigned long)px);
    }
    for (const auto& n : dlg.m_log) fprintf(f, "note %s %ld\n", CodeName(n.code), (long)n.id);
    fclose(f);
    ::MoveFileExA(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

// Copies every visible window of this thread, by its own device context,
// onto one picture at its screen place and writes it as a BMP file (the X
// server's root image shows no Wine pop-up here).
static void WriteShot(const std::string& path)
{
    const int W = 700, H = 560;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = W;
    bi.bmiHeader.biHeight = H;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HDC mem = ::CreateCompatibleDC(nullptr);
    HBITMAP bmp = ::CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(mem, bmp);
    RECT all = {0, 0, W, H};
    HBRUSH desk = ::CreateSolidBrush(RGB(58, 110, 165));
    ::FillRect(mem, &all, desk);
    ::DeleteObject(desk);
    std::vector<HWND> wins;
    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND h, LPARAM p) -> BOOL {
        if (::IsWindowVisible(h)) ((std::vector<HWND>*)p)->push_back(h);
        return TRUE;
    }, (LPARAM)&wins);
    for (auto it = wins.rbegin(); it != wins.rend(); ++it) {  // bottom of the z-order first
        RECT rc;
        ::GetWindowRect(*it, &rc);
        HDC dc = ::GetWindowDC(*it);
        ::BitBlt(mem, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, dc, 0, 0, SRCCOPY);
        ::ReleaseDC(*it, dc);
    }
    ::GdiFlush();
    BITMAPFILEHEADER fh = {};
    DWORD size = (DWORD)(((W * 3 + 3) & ~3) * H);
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(bi.bmiHeader);
    fh.bfSize = fh.bfOffBits + size;
    if (FILE* f = fopen(path.c_str(), "wb")) {
        fwrite(&fh, sizeof(fh), 1, f);
        fwrite(&bi.bmiHeader, sizeof(bi.bmiHeader), 1, f);
        fwrite(bits, size, 1, f);
        fclose(f);
    }
    ::SelectObject(mem, old);
    ::DeleteObject(bmp);
    ::DeleteDC(mem);
}

TEST(PropertyListDemo, Show)
{
    std::string what = Env("KS_DEMO", "plain");
    std::string state = Env("KS_DEMO_STATE", "");
    std::string shot = Env("KS_DEMO_SHOT", "");
    int seconds = atoi(Env("KS_DEMO_SECONDS", "8").c_str());

    CPropertyListTestDlg dlg;
    ASSERT_TRUE(dlg.CreateFromTemplate());
    CPropertyList& list = dlg.m_list;
    ::SetWindowPos(dlg.m_hWnd, nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::SetForegroundWindow(dlg.m_hWnd);
    list.SetFocus();
    auto select = [&](LPARAM id) {
        list.SetCurSel(list.FindIndex(list.FindProperty(id)));
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(1056, LBN_SELCHANGE), (LPARAM)list.m_hWnd);
    };
    if (what == "edit") {
        select(201);
    } else if (what == "drop") {
        select(203);
        if (auto* drop = dynamic_cast<CPropertyListWindow*>(CWnd::FromHandlePermanent(list.GetEditorWindow())))
            drop->ShowDropList();
    } else if (what == "collapsed") {
        list.Collapse(list.FindProperty(200));
        select(301);
    } else if (what == "band") {
        select(204);
        list.UpdateWindow();
        int row = list.FindIndex(list.FindProperty(202));
        RECT rc;
        list.GetItemRect(row, &rc);
        int y = (rc.top + rc.bottom) / 2, x = 16 + list.m_nSplitter;
        list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        list.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x - 60, y));
    }
    dlg.m_log.clear();
    printf("SHOWN\n");
    fflush(stdout);
    DWORD start = ::GetTickCount(), lastState = 0;
    MSG msg;
    while (::GetTickCount() - start < (DWORD)seconds * 1000 && dlg.m_hWnd) {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!::IsDialogMessageA(dlg.m_hWnd, &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
        if (!shot.empty() && ::GetTickCount() - start > 2000) {
            WriteShot(shot);
            shot.clear();
        }
        if (!state.empty() && ::GetTickCount() - lastState > 200) {
            WriteState(dlg, state);
            lastState = ::GetTickCount();
        }
        ::Sleep(10);
    }
    if (!state.empty()) WriteState(dlg, state);
    if (dlg.m_hWnd) dlg.DestroyWindow();
}
