// The in-place editors over the Times page's rows: the drop list, the
// button's keys, the editors' own ends, the font swap, and no leaks.
#include "PropertyListFixture.h"

namespace {
class PropertyEditorsTest : public PropertyListTest {
protected:
    CPropertyListWindow* Drop() { return dynamic_cast<CPropertyListWindow*>(CWnd::FromHandlePermanent(Editor())); }
    int ChildWindows()
    {
        int n = 0;
        for (HWND h = ::GetWindow(list().m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) ++n;
        return n;
    }
};

struct NcDestroyWatch {
    static inline HWND s_watched;
    static inline int s_objectAtNcDestroy = -1;
    static LRESULT CALLBACK Hook(int code, WPARAM w, LPARAM l)
    {
        const CWPSTRUCT* m = (const CWPSTRUCT*)l;
        if (code == HC_ACTION && m->hwnd == s_watched && m->message == WM_NCDESTROY)
            s_objectAtNcDestroy = CWnd::FromHandlePermanent(m->hwnd) != nullptr;
        return ::CallNextHookEx(nullptr, code, w, l);
    }
};
}

TEST_F(PropertyEditorsTest, DropListOpensUnderItsBoxAndCommits)
{
    Select(Row(203));
    CPropertyListWindow* drop = Drop();
    ASSERT_TRUE(drop);
    EXPECT_EQ(EditorText(), "Screen Lock");
    EXPECT_EQ(::GetFocus(), drop->m_button.m_hWnd);
    EXPECT_EQ(::GetWindowLongPtrA(drop->m_list.m_hWnd, GWLP_ID), 2);
    Key(drop->m_button.m_hWnd, VK_F4);
    HWND popup = drop->m_list.m_hWnd;
    ASSERT_TRUE(::IsWindowVisible(popup));
    EXPECT_EQ(::GetFocus(), popup);
    RECT box, pop;
    ::GetWindowRect(drop->m_hWnd, &box);
    ::GetWindowRect(popup, &pop);
    EXPECT_EQ(pop.left, box.left);
    EXPECT_EQ(pop.top, box.bottom);
    EXPECT_EQ(pop.right - pop.left, box.right - box.left);
    EXPECT_EQ(pop.bottom - pop.top, 4 * drop->m_list.GetItemHeight(0) + 2 * ::GetSystemMetrics(SM_CYBORDER));
    dlg->m_log.clear();
    Key(popup, VK_UP);
    Key(popup, VK_RETURN);
    EXPECT_EQ(ValueI4(Item(203)), 2);
    EXPECT_EQ(dlg->Ids(LISTNOTIFY_ITEMCHANGED), std::vector<LPARAM>({203}));
    PumpMessages(20);
    EXPECT_FALSE(::IsWindow(popup));  // went with its box
    ASSERT_TRUE(Drop());
    EXPECT_EQ(EditorText(), "Message Box");

    // Heights: count x line height + borders, at most 140.
    drop = Drop();
    struct { int lines; int height; } heights[] = {{3, 3 * 13 + 2 * ::GetSystemMetrics(SM_CYBORDER)}, {20, 140}};
    for (auto h : heights) {
        drop->m_list.ResetContent();
        for (int i = 0; i < h.lines; ++i) drop->AddString("line");
        drop->m_list.SendMessage(LB_SETITEMHEIGHT, 0, 13);
        drop->ShowDropList();
        EXPECT_EQ(drop->m_nDropHeight, h.height);
        list().SetFocus();
    }
}

TEST_F(PropertyEditorsTest, TypedLetterPicksAnEntryAndTheButtonsEscStoresAgain)
{
    Select(Row(503));
    dlg->m_log.clear();
    list().SetFocus();
    list().SendMessage(WM_CHAR, 'y', 1);
    EXPECT_EQ(ValueI4(Item(503)), 1);
    ASSERT_TRUE(Drop());
    EXPECT_FALSE(Drop()->m_list.IsWindowVisible());
    EXPECT_EQ(dlg->Ids(LISTNOTIFY_ITEMCHANGING), std::vector<LPARAM>({503}));
    // A letter that starts no entry changes nothing.
    Drop()->SendMessage(WM_CHAR, 'q', 1);
    EXPECT_EQ(ValueI4(Item(503)), 1);

    dlg->m_log.clear();
    Key(Drop()->m_button.m_hWnd, VK_ESCAPE);
    EXPECT_EQ(dlg->Ids(LISTNOTIFY_ITEMCHANGING), std::vector<LPARAM>({503}));
    EXPECT_EQ(dlg->Ids(LISTNOTIFY_ITEMCHANGED), std::vector<LPARAM>({503}));
    EXPECT_EQ(ValueI4(Item(503)), 1);

    // The box's text cannot be selected, edited or focused with the mouse.
    CPropertyListWindow* drop = Drop();
    for (UINT m : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_LBUTTONDBLCLK}) drop->SendMessage(m, MK_LBUTTON, MAKELPARAM(3, 3));
    drop->SendMessage(WM_CHAR, 'x', 1);
    drop->SetFocus();
    DWORD sel = (DWORD)drop->SendMessage(EM_GETSEL);
    EXPECT_EQ(LOWORD(sel), HIWORD(sel));
    EXPECT_EQ(::GetFocus(), drop->m_button.m_hWnd);
    EXPECT_EQ(EditorText(), "Yes");

    // Nor changed by its edit menu (none opens), the clipboard, a replacement
    // or keys; a menu found open (looked for every 50 ms) is closed.
    drop->SendMessage(EM_SETSEL, 0, -1);
    drop->SendMessage(WM_COPY);   // something to paste
    static int menus;
    UINT_PTR watch = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) CALLBACK -> void {
        HWND menu = ::FindWindowA("#32768", nullptr);
        if (menu && ::IsWindowVisible(menu)) ++menus, ::EndMenu();
    });
    struct { UINT msg; WPARAM wParam; LPARAM lParam; } attempts[] = {
        {WM_PASTE}, {WM_CUT}, {WM_CLEAR}, {EM_REPLACESEL, TRUE, (LPARAM)"typed"}, {WM_KEYDOWN, VK_DELETE, 1},
        {WM_CONTEXTMENU, (WPARAM)drop->m_hWnd, -1},   // the right button's or the menu key's
    };
    for (auto& a : attempts) {
        drop->SendMessage(EM_SETSEL, 0, 1);
        drop->SendMessage(a.msg, a.wParam, a.lParam);
        EXPECT_EQ(EditorText(), "Yes") << std::hex << a.msg;
    }
    ::KillTimer(nullptr, watch);
    EXPECT_EQ(menus, 0);
}

TEST_F(PropertyEditorsTest, EditorsAskForTheKeysTheyUse)
{
    Select(Row(205));
    LRESULT edit = ::SendMessageA(Editor(), WM_GETDLGCODE, 0, 0);
    EXPECT_EQ(edit & (DLGC_WANTALLKEYS | DLGC_WANTARROWS), DLGC_WANTALLKEYS | DLGC_WANTARROWS);
    Select(Row(204));
    EXPECT_TRUE(::SendMessageA(Editor(), WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS);
    EXPECT_TRUE(Drop()->m_button.SendMessage(WM_GETDLGCODE) & DLGC_WANTALLKEYS);
    // Digits only where the item wants them.
    VARIANT u4 = Integer(7, VT_UI4), i4 = Integer(7);
    list().AddItem(CreateEditItem("Unsigned", &u4, 601));
    list().AddItem(CreateEditItem("Signed", &i4, 602));
    struct { LPARAM id; bool number; } rows[] = {{201, true}, {502, true}, {402, false}, {205, false}, {601, true}, {602, false}};
    for (auto r : rows) {
        Select(Row(r.id));
        EXPECT_EQ((::GetWindowLongPtrA(Editor(), GWL_STYLE) & ES_NUMBER) != 0, r.number) << r.id;
    }
}

TEST_F(PropertyEditorsTest, EditorsDieAfterTheirWindowsAndSurviveAFontSwap)
{
    Select(Row(204));
    HWND box = Editor();
    HWND button = Drop()->m_button.m_hWnd;
    list().SetExtendedStyle(0x51);
    LOGFONTA lf;
    EXPECT_TRUE(::GetObjectA((HFONT)::SendMessageA(box, WM_GETFONT, 0, 0), sizeof(lf), &lf));
    EXPECT_TRUE(::GetObjectA((HFONT)::SendMessageA(button, WM_GETFONT, 0, 0), sizeof(lf), &lf));
    EXPECT_EQ((HFONT)::SendMessageA(box, WM_GETFONT, 0, 0), (HFONT)list().m_font.m_hObject);

    for (LPARAM id : {205, 204}) {
        Select(Row(id));
        PumpMessages(20);
        HWND ed = Editor();
        NcDestroyWatch::s_watched = ed;
        NcDestroyWatch::s_objectAtNcDestroy = -1;
        HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, NcDestroyWatch::Hook, nullptr, ::GetCurrentThreadId());
        list().DestroyEditor();
        PumpMessages(20);
        ::UnhookWindowsHookEx(hook);
        EXPECT_FALSE(::IsWindow(ed));
        EXPECT_EQ(NcDestroyWatch::s_objectAtNcDestroy, 1) << id;
        EXPECT_EQ(PropertyEditorLiveCount(), 0) << id;
    }

    // A list window that is gone gets no editor and leaves no object.
    HWND gone = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ::DestroyWindow(gone);
    RECT rc = {0, 0, 100, 16};
    int live = PropertyEditorLiveCount();
    EXPECT_EQ(Item(205)->CreateEditor(gone, &rc), nullptr);
    EXPECT_EQ(Item(204)->CreateEditor(gone, &rc), nullptr);
    EXPECT_EQ(PropertyEditorLiveCount(), live);
}

TEST_F(PropertyEditorsTest, HundredCommitCyclesLeaveOneEditor)
{
    struct { LPARAM id; const char* typed; } rows[] = {{201, "7"}, {205, "hello"}, {402, "1:15"}, {203, "b"}, {204, "n"}};
    for (int i = 0; i < 100; ++i) {
        auto& r = rows[i % 5];
        Select(Row(r.id));
        if (Drop()) {
            list().SetFocus();
            list().SendMessage(WM_CHAR, (unsigned char)r.typed[0], 1);
        } else {
            Item(r.id)->Activate(ITEMACTION_DBLCLICK, 0);
            Type(Editor(), r.typed);
            Key(Editor(), VK_RETURN);
        }
        PumpMessages(1);
    }
    PumpMessages(30);
    EXPECT_EQ(ChildWindows(), 1);
    EXPECT_EQ(PropertyEditorLiveCount(), 1);
    EXPECT_LE(ThreadWindows("ListBox").size(), 1u);
    EXPECT_EQ(ValueI4(Item(201)), 7);
    EXPECT_EQ(ValueI4(Item(402)), 75);
    EXPECT_EQ(ValueI4(Item(203)), 0);
}

TEST_F(PropertyEditorsTest, RepaintsAndStyleChangesKeepMemoryFlat)
{
    // Every row drawn whole through the list box's own painting, into a
    // bitmap: the same drawing code without the display's round trips.
    RECT rc;
    list().GetClientRect(&rc);
    MemoryCanvas canvas(rc.right, rc.bottom);
    POINT probe = RowPoint(Row(200), 40);
    auto paint = [&] { list().SendMessage(WM_PRINTCLIENT, (WPARAM)canvas.dc, PRF_CLIENT | PRF_ERASEBKGND); };
    paint();
    COLORREF before = canvas.Pixel(probe.x, probe.y);
    EXPECT_NE(before, canvas.Pixel(probe.x, 0));  // the probe is on a drawn header
    for (int i = 0; i < 500; ++i) paint();
    SIZE_T start = PrivateBytes();
    DWORD t0 = GetTickCount();
    for (int i = 0; i < 20000; ++i) paint();
    printf("paints %lu ms\n", GetTickCount() - t0);
    for (int i = 0; i < 2000; ++i) list().SetExtendedStyle(i % 2 ? 0x51 : 0x55);
    list().SetExtendedStyle(0x51);
    paint();
    SIZE_T end = PrivateBytes();
    printf("private bytes %lu -> %lu\n", (unsigned long)start, (unsigned long)end);
    EXPECT_LT(end, start + 256 * 1024);
    EXPECT_EQ(canvas.Pixel(probe.x, probe.y), before);
    for (int i = 0; i < 20; ++i) ::RedrawWindow(list().m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(canvas.Pixel(probe.x, probe.y), before);
}

TEST(PropertyListHost, ClosingTheDialogDeletesEveryItem)
{
    int live = CProperty::LiveCount();
    auto* dlg = new CPropertyListTestDlg;
    ASSERT_TRUE(dlg->CreateFromTemplate());
    EXPECT_EQ(CProperty::LiveCount(), live + 28);
    dlg->m_list.Collapse(dlg->m_list.FindProperty(200));
    dlg->DestroyWindow();
    EXPECT_EQ(CProperty::LiveCount(), live);
    delete dlg;
}
