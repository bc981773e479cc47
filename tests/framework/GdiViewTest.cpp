// Device contexts put back what was selected into them; views of windows
// and GDI objects own nothing; the window table follows bindings.
#include "support/TestSupport.h"
#include <gtest/gtest.h>

namespace {
// A window whose device context keeps its state between GetDC calls: what
// a wrapper leaves selected there is still selected the next time.
HWND MakeOwnDcWindow()
{
    return ::CreateWindowExA(0, AfxRegisterWndClass(CS_OWNDC), "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                             AfxGetInstanceHandle(), nullptr);
}

struct Selected {
    HGDIOBJ pen, brush, font;
};
Selected CurrentOf(HDC hdc)
{
    return { ::GetCurrentObject(hdc, OBJ_PEN), ::GetCurrentObject(hdc, OBJ_BRUSH), ::GetCurrentObject(hdc, OBJ_FONT) };
}
}

TEST(GdiTest, ContextsOfWindowsPutBackWhatWasSelectedIntoThem)
{
    HWND h = MakeOwnDcWindow();
    ASSERT_NE(h, nullptr);
    CWindow wnd(h);
    HDC own = ::GetDC(h);
    Selected before = CurrentOf(own);
    ::ReleaseDC(h, own);
    enum { CLIENT, WINDOW, ATTACHED };
    for (int kind : { CLIENT, WINDOW, ATTACHED }) {
        SCOPED_TRACE(kind);
        CPen pen(PS_SOLID, 3, RGB(1, 2, 3));
        CBrush brush(RGB(4, 5, 6));
        CFont font;
        ASSERT_TRUE(font.CreatePointFont(90, "Arial"));
        {
            CClientDC client(kind == CLIENT ? &wnd : nullptr);
            CWindowDC window(kind == WINDOW ? &wnd : nullptr);
            CDC attached;
            HDC hAttached = kind == ATTACHED ? ::GetDC(h) : nullptr;
            if (hAttached) attached.Attach(hAttached);
            CDC& dc = kind == CLIENT ? (CDC&)client : kind == WINDOW ? (CDC&)window : attached;
            dc.SelectObject(&pen);
            dc.SelectObject(&brush);
            dc.SelectObject(&font);
            dc.SelectObject(&pen);   // twice: the first original is the one put back
            EXPECT_EQ(dc.GetCurrentObject(OBJ_PEN), pen.m_hObject);
            if (hAttached) {
                attached.DeleteDC();
                ::ReleaseDC(h, hAttached);
            }
        }
        HDC again = kind == WINDOW ? ::GetWindowDC(h) : ::GetDC(h);
        Selected after = CurrentOf(again);
        ::ReleaseDC(h, again);
        if (kind != WINDOW) {
            EXPECT_EQ(after.pen, before.pen);
            EXPECT_EQ(after.brush, before.brush);
            EXPECT_EQ(after.font, before.font);
        } else {
            EXPECT_NE(after.pen, pen.m_hObject);
            EXPECT_NE(after.brush, brush.m_hObject);
            EXPECT_NE(after.font, font.m_hObject);
        }
    }
    ::DestroyWindow(h);
}

TEST(GdiTest, AMemoryContextGivesBackItsBitmapBeforeItGoes)
{
    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(nullptr));
    HGDIOBJ original = mem.GetCurrentObject(OBJ_BITMAP);
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateBitmap(4, 4, 1, 1, nullptr));
    mem.SelectObject(&bmp);
    mem.RestoreOriginalObjects();
    EXPECT_EQ(mem.GetCurrentObject(OBJ_BITMAP), original);
    BITMAP info = {};
    EXPECT_EQ(bmp.GetObject(sizeof(info), &info), (int)sizeof(info));   // still ours, still whole
}

TEST(GdiTest, AViewNeverDeletesWhatItNames)
{
    CPen owner(PS_SOLID, 1, RGB(9, 9, 9));
    HGDIOBJ h = owner.m_hObject;
    {
        CPenHandle view((HPEN)h);
        CPenHandle copy = view;
        EXPECT_EQ((HPEN)copy, (HPEN)h);
    }
    EXPECT_EQ(::GetObjectType(h), (DWORD)OBJ_PEN);
    {
        CBrush halftone;
        ASSERT_TRUE(halftone.CreateHalftoneBrush());
        h = halftone.m_hObject;
        EXPECT_EQ(::GetObjectType(h), (DWORD)OBJ_BRUSH);
    }
    EXPECT_EQ(::GetObjectType(h), 0u);   // the owner deleted its brush
}

TEST(ViewTest, ViewsOfWindowsAreValuesThatOwnNothing)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    // A control vfx does not own, made by hand.
    HWND hEdit = ::CreateWindowExA(0, "EDIT", "typed", WS_CHILD, 0, 0, 50, 20, parent.m_hWnd, (HMENU)77,
                                   nullptr, nullptr);
    CWindow item = parent.GetDlgItem(77);
    EXPECT_EQ(item.m_hWnd, hEdit);
    EXPECT_EQ(item.GetWindowText(), "typed");
    EXPECT_EQ(item.GetParent().m_hWnd, parent.m_hWnd);
    EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), nullptr);   // a view binds nothing
    CEditView edit(item);
    edit.SetSel(0, -1);
    EXPECT_EQ(edit.GetSel(), MAKELONG(0, 5));
    // Views copied and dropped leave the window as it was.
    { CWindow a = item, b = a; (void)b; }
    EXPECT_TRUE(::IsWindow(hEdit));
    // Subclassed later, the same window finds its object; unbound again, none.
    CEdit bound;
    ASSERT_TRUE(bound.SubclassWindow(hEdit));
    EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), &bound);
    EXPECT_EQ(CWnd::FromHandlePermanent(parent.m_hWnd), &parent);
    bound.UnsubclassWindow();
    EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), nullptr);
    parent.DestroyWindow();
    EXPECT_FALSE(item.IsWindow());   // the view outlived its window, and knows it
    EXPECT_EQ(CWnd::FromHandlePermanent(item.m_hWnd), nullptr);
}

TEST(ViewTest, TheShellRunsInsideOneApartmentForTheProgramsLife)
{
    ASSERT_TRUE(AfxComInit());
    ASSERT_TRUE(AfxComInit());   // once: the second call enters nothing
    // An apartment-threaded thread refuses the multithreaded kind.
    EXPECT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    AfxComTerm();
    // Balanced: the thread is out of COM again, so entering is fresh.
    EXPECT_EQ(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    ::CoUninitialize();
}
