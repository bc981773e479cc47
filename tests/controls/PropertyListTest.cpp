// The property list in a framework dialog holding the Times page's rows:
// rows and categories, editing round trips with the parent's veto,
// navigation, the splitter, keys, drawing.
#include "ControlsTestSupport.h"
#include "PropertyListFixture.h"


TEST_F(PropertyListTest, CategoriesFoldTheirRowsAwayAndBack)
{
    ASSERT_EQ(list().GetCount(), 28);
    std::vector<LPARAM> all = RowIds();
    IProperty* micro = Item(100);
    EXPECT_TRUE(list().Collapse(micro));
    EXPECT_EQ(list().GetCount(), 23);
    ASSERT_NE(Item(103), nullptr);
    EXPECT_EQ(list().FindIndex(Item(103)), -1);
    list().ValidateRect(nullptr);
    list().SetItemEnabled(Item(103), TRUE);
    RECT upd;
    EXPECT_FALSE(::GetUpdateRect(list().m_hWnd, &upd, FALSE));
    EXPECT_TRUE(list().Collapse(micro));
    EXPECT_EQ(list().GetCount(), 23);
    EXPECT_EQ(dlg->Ids(LISTNOTIFY_COLLAPSED), std::vector<LPARAM>({100, 100}));
    EXPECT_TRUE(list().Expand(micro));
    EXPECT_EQ(RowIds(), all);
    EXPECT_EQ(dlg->Ids(LISTNOTIFY_EXPANDED), std::vector<LPARAM>({100}));

    // Only categories that are rows of this list move.
    CCategoryProperty stranger("Elsewhere", 900);
    dlg->m_log.clear();
    EXPECT_FALSE(list().Expand(&stranger));
    EXPECT_FALSE(list().Collapse(&stranger));
    EXPECT_FALSE(list().Collapse(Item(201)));
    EXPECT_FALSE(list().Expand(nullptr));
    EXPECT_TRUE(dlg->m_log.empty());
    EXPECT_EQ(RowIds(), all);

    // Expanding above an open editor closes it first.
    list().Collapse(micro);
    Select(Row(201));
    HWND open = Editor();
    ASSERT_TRUE(open);
    EXPECT_TRUE(list().Expand(micro));
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(list().m_nEditIndex, -1);
    PumpMessages(20);
    EXPECT_FALSE(::IsWindow(open));
}

TEST_F(PropertyListTest, MessagesNamingNoItemOfTheListChangeNothing)
{
    std::vector<LPARAM> all = RowIds();
    CCategoryProperty stranger("Elsewhere", 900);
    int notAnItem = 0;
    CComVariant one(1);
    struct { UINT msg; WPARAM wParam; LPARAM item; } cases[] = {
        {WM_PROPLIST_EXPAND, 0, 1}, {WM_PROPLIST_COLLAPSE, 0, (LPARAM)&notAnItem},
        {WM_PROPLIST_CHANGED, (WPARAM)&one, 1}, {WM_PROPLIST_CHANGED, (WPARAM)&one, (LPARAM)&stranger},
    };
    for (auto& c : cases) {
        list().SendMessage(c.msg, c.wParam, c.item);
        EXPECT_TRUE(dlg->m_log.empty()) << c.msg;
        EXPECT_EQ(RowIds(), all) << c.msg;
    }
    // A row hidden under its collapsed category is still the list's own.
    list().Collapse(Item(100));
    list().SendMessage(WM_PROPLIST_CHANGED, (WPARAM)&one, (LPARAM)Item(104));
    EXPECT_EQ(ValueI4(Item(104)), 1);
}

// Pointer messages that are only ever sent, arriving through the queue
// (posted by another program): the main loop's pre-translation and every
// modal loop's message filter drop them before they reach a window.
TEST_F(PropertyListTest, PostedPointerMessagesAreDropped)
{
    const std::vector<LPARAM> all = RowIds();
    const LPARAM realItem = (LPARAM)Item(104);
    struct { HWND to; UINT msg; WPARAM wParam; LPARAM lParam; } cases[] = {
        {list().m_hWnd, WM_PROPLIST_CHANGED, 0x10, realItem},
        {list().m_hWnd, WM_PROPLIST_COLLAPSE, 0, (LPARAM)Item(100)},
        {dlg->m_hWnd, WM_NOTIFY, 0, 1},
        {list().m_hWnd, WM_NOTIFY, 1056, 0x10},
    };
    for (auto& c : cases) {
        for (int filter : {-1, MSGF_DIALOGBOX, MSGF_MENU}) {
            ASSERT_TRUE(::PostMessageA(c.to, c.msg, c.wParam, c.lParam));
            MSG msg;
            ASSERT_TRUE(::PeekMessageA(&msg, c.to, c.msg, c.msg, PM_REMOVE));
            BOOL dropped = filter < 0 ? AfxPreTranslateMessage(&msg) : ::CallMsgFilterA(&msg, filter);
            EXPECT_TRUE(dropped) << c.msg << " filter " << filter;
            if (!dropped) ::DispatchMessageA(&msg);
        }
    }
    EXPECT_EQ(RowIds(), all);
    EXPECT_TRUE(dlg->m_log.empty());
    // Sent, as the list's own items send it, the same message still works.
    CComVariant one(1);
    list().SendMessage(WM_PROPLIST_CHANGED, (WPARAM)&one, realItem);
    EXPECT_EQ(ValueI4(Item(104)), 1);
}

TEST_F(PropertyListTest, CommitThroughTheParent)
{
    // Opening an edit row selects its number and takes the focus.
    struct { LPARAM id; const char* text; DWORD sel; } opens[] = {
        { 201, "20 minute(s)", MAKELONG(0, 2) }, { 402, "8:30 hour(s)", MAKELONG(0, 4) } };
    for (auto& o : opens) {
        Select(Row(o.id));
        ASSERT_TRUE(Editor());
        EXPECT_EQ(EditorText(), o.text);
        EXPECT_EQ(::GetFocus(), Editor());
        EXPECT_EQ((DWORD)::SendMessageA(Editor(), EM_GETSEL, 0, 0), o.sel) << o.id;
    }
    enum End { ENTER, ESC, CLOSE };   // CLOSE: the list closes the editor
    struct Case {
        const char* what; LPARAM id; bool veto; const char* pasted; const char* typed; End end;
        std::vector<LPARAM> changing; bool changed; const char* atChanging; int value;
        const char* shown;   // nullptr: no editor left
        int beeps;
    } cases[] = {
        { "typed and entered", 201, false, nullptr, "35", ENTER, { 201 }, true, "35 minute(s)", 35, "35 minute(s)", 0 },
        { "vetoed: the editor keeps the refused text", 201, true, nullptr, "40", ENTER, { 201 }, false, "40 minute(s)",
          35, "40 minute(s)", 0 },
        { "Esc after typing", 202, false, nullptr, "9", ESC, {}, false, nullptr, 2, "2 minute(s)", 0 },
        { "left without typing", 202, false, nullptr, "", ENTER, {}, false, nullptr, 2, "2 minute(s)", 0 },
        { "changed without a typed character", 202, false, "9 minute(s)", "", ENTER, {}, false, nullptr, 2, "2 minute(s)", 0 },
        { "vetoed while the list closes the editor", 202, true, nullptr, "9", CLOSE, { 202 }, false, "9 minute(s)", 2,
          nullptr, 0 },
        { "a refused text beeps once and is still offered", 402, false, nullptr, "abc", ENTER, { 402 }, true, nullptr, 510,
          "8:30 hour(s)", 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Select(Row(c.id));
        Item(c.id)->Activate(ITEMACTION_DBLCLICK, 0);
        HWND editor = Editor();
        ASSERT_TRUE(editor);
        dlg->m_log.clear();
        dlg->m_bVeto = c.veto;
        g_beeps = 0;
        if (c.pasted) ::SetWindowTextA(editor, c.pasted);
        Type(editor, c.typed);
        if (c.end == CLOSE) list().DestroyEditor();
        else Key(editor, c.end == ENTER ? VK_RETURN : VK_ESCAPE);
        dlg->m_bVeto = false;
        EXPECT_EQ(dlg->Ids(LISTNOTIFY_ITEMCHANGING), c.changing);
        EXPECT_EQ(dlg->Ids(LISTNOTIFY_ITEMCHANGED), c.changed ? std::vector<LPARAM>{ c.id } : std::vector<LPARAM>{});
        if (c.changing.empty()) {
            EXPECT_TRUE(dlg->m_log.empty());
        }
        if (c.atChanging) {
            EXPECT_EQ(dlg->m_strEditorAtChanging, c.atChanging);
        }
        EXPECT_EQ(ValueI4(Item(c.id)), c.value);
        EXPECT_EQ(g_beeps, c.beeps);
        if (!c.shown) {
            EXPECT_EQ(Editor(), nullptr);
            continue;
        }
        EXPECT_EQ(EditorText(), c.shown);
        if (c.veto) {
            EXPECT_EQ(Editor(), editor);
        }
    }
}

TEST_F(PropertyListTest, VetoedDoubleClickReopensAndLetGoEditorsCommitNothing)
{
    Select(Row(204));
    HWND before = Editor();
    ASSERT_TRUE(before);
    dlg->m_bVeto = true;
    dlg->m_log.clear();
    Mouse(WM_LBUTTONDBLCLK, RowPoint(Row(204), 20));
    EXPECT_EQ(dlg->Ids(LISTNOTIFY_ITEMCHANGING), std::vector<LPARAM>({204}));
    EXPECT_EQ(ValueI4(Item(204)), 1);
    EXPECT_TRUE(Editor());
    EXPECT_NE(Editor(), before);
    dlg->m_bVeto = false;

    // The editor let go of (its WM_CLOSE still queued) commits nothing.
    Select(Row(201));
    HWND old = Editor();
    Select(Row(205));
    ASSERT_TRUE(::IsWindow(old));
    dlg->m_log.clear();
    list().SendMessage(WM_PROPLIST_UPDATE, 0, (LPARAM)old);
    list().SendMessage(WM_PROPLIST_CANCEL, 0, (LPARAM)old);
    list().SendMessage(WM_PROPLIST_UPDATE, 0, 0);
    EXPECT_TRUE(dlg->m_log.empty());
    EXPECT_EQ(ValueI4(Item(201)), 20);
}

TEST_F(PropertyListTest, RowsWithoutAnItemAreHarmless)
{
    int row = list().AddString("bare");
    ASSERT_GE(row, 0);
    list().SetTopIndex(row);
    list().UpdateWindow();
    Select(row);
    EXPECT_EQ(dlg->Ids(LISTNOTIFY_SELCHANGED), std::vector<LPARAM>({-1}));
    EXPECT_EQ(Editor(), nullptr);
    dlg->m_log.clear();
    Mouse(WM_LBUTTONDOWN, RowPoint(row, 30));
    Mouse(WM_LBUTTONUP, RowPoint(row, 30));
    list().SendMessage(WM_CHAR, 'x', 1);
    list().SendMessage(WM_KEYDOWN, VK_F2, 0);
    Mouse(WM_LBUTTONDBLCLK, RowPoint(row, 30));
    EXPECT_EQ(dlg->Ids(LISTNOTIFY_CLICK), std::vector<LPARAM>({-1}));
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(list().GetCount(), 29);
}

TEST_F(PropertyListTest, NavigationFromTheEnds)
{
    Select(0);
    dlg->m_log.clear();
    list().PostMessage(WM_PROPLIST_NAVIGATE, VK_UP, 0);
    PumpMessages(10);
    EXPECT_EQ(list().GetCurSel(), -1);
    EXPECT_EQ(dlg->Ids(LISTNOTIFY_SELCHANGED), std::vector<LPARAM>({-1}));

    int last = list().GetCount() - 1;
    Select(last);
    HWND first = Editor();
    ASSERT_TRUE(first);
    Key(::GetFocus(), VK_DOWN);  // the drop button holds the focus
    EXPECT_EQ(list().GetCurSel(), last);
    EXPECT_TRUE(Editor());
    EXPECT_NE(Editor(), first);
    // Tab, Left and Right leave the editor where it is.
    Select(Row(205));
    HWND ed = Editor();
    Item(205)->Activate(ITEMACTION_DBLCLICK, 0);
    ::SendMessageA(ed, EM_SETSEL, 0, 0);
    Key(ed, VK_LEFT);
    Key(ed, VK_TAB);
    EXPECT_EQ(Editor(), ed);
    EXPECT_EQ(::GetFocus(), ed);
}

TEST_F(PropertyListTest, SplitterDragAndCursor)
{
    RECT rc;
    list().GetClientRect(&rc);
    EXPECT_EQ(list().m_nSplitter, rc.right / 2);
    dlg->m_log.clear();
    list().SendMessage(WM_SIZE, 0, MAKELPARAM(rc.right, rc.bottom));
    EXPECT_EQ(dlg->Count(LISTNOTIFY_SELCHANGED), 1);

    // The cursor over the splitter's hot spot on row 1: the sizing one.
    auto hotSpot = [&] {
        POINT hot = RowPoint(1, 16 + list().m_nSplitter), screen = hot;
        list().ClientToScreen(&screen);
        ::SetCursorPos(screen.x, screen.y);
        EXPECT_EQ(list().SendMessage(WM_SETCURSOR, (WPARAM)list().m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), TRUE);
        EXPECT_EQ(::GetCursor(), ::LoadCursor(nullptr, IDC_SIZEWE));
        return hot;
    };
    POINT hot = hotSpot();

    // The band drawn twice leaves the parent as it was.
    HDC dc = ::GetDC(dlg->m_hWnd);
    POINT probe = {60, hot.y};
    ::MapWindowPoints(list().m_hWnd, dlg->m_hWnd, &probe, 1);
    Mouse(WM_LBUTTONDOWN, hot);
    list().UpdateWindow();
    COLORREF before = ::GetPixel(dc, probe.x, probe.y);
    Mouse(WM_MOUSEMOVE, {60, hot.y});
    COLORREF during = ::GetPixel(dc, probe.x, probe.y);
    Mouse(WM_MOUSEMOVE, {80, hot.y});
    EXPECT_NE(during, before);
    EXPECT_EQ(::GetPixel(dc, probe.x, probe.y), before);
    ::ReleaseDC(dlg->m_hWnd, dc);
    Mouse(WM_MOUSEMOVE, {5, hot.y});
    Mouse(WM_LBUTTONUP, {5, hot.y});
    EXPECT_EQ(list().m_nSplitter, -6);
    EXPECT_EQ(16 + list().m_nSplitter, 10);

    list().SetExtendedStyle(0x51 | LISTSTYLE_FIXED_SPLITTER);
    list().SendMessage(WM_SIZE, 0, MAKELPARAM(rc.right, rc.bottom));
    hot = hotSpot();
    Mouse(WM_LBUTTONDOWN, hot);
    EXPECT_EQ(list().m_nDragStartX, 0);
    Mouse(WM_LBUTTONUP, hot);
}

TEST_F(PropertyListTest, KeysOnRows)
{
    IProperty* ro = new CPropertyItem("Read only", 600);
    CComVariant v("fixed");
    ro->SetValue(&v);
    ASSERT_EQ(list().AddItem(ro), ro);
    struct Case { LPARAM id; UINT ch; bool editor; const char* text; } cases[] = {
        {100, 'a', false, ""},
        {600, 'a', false, ""},
        {205, ' ', false, ""},
        {205, 'x', true, "x"},
        {201, 'a', true, "20 minute(s)"},
        {201, '7', true, "7 minute(s)"},
    };
    for (const Case& c : cases) {
        list().SetCurSel(Row(c.id));
        list().DestroyEditor();
        PumpMessages(5);
        list().SetFocus();
        list().SendMessage(WM_CHAR, c.ch, 1);
        EXPECT_EQ(Editor() != nullptr, c.editor) << c.id << " " << (char)c.ch;
        if (c.editor) {
            EXPECT_EQ(EditorText(), c.text) << c.id;
        }
    }
    // A space or F2 on a category toggles it; Tab on a row focuses its editor.
    Select(Row(300));
    list().SendMessage(WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(list().GetCount(), 23);
    list().SendMessage(WM_KEYDOWN, VK_F2, 0);
    EXPECT_EQ(list().GetCount(), 29);
}

TEST_F(PropertyListTest, ClicksNotifyBeforeTheSelectionChange)
{
    POINT pt = RowPoint(Row(201), 30);
    dlg->m_log.clear();
    Mouse(WM_LBUTTONDOWN, pt);
    Mouse(WM_LBUTTONUP, pt);
    PumpMessages(10);
    ASSERT_GE(dlg->m_log.size(), 2u);
    EXPECT_EQ(dlg->m_log[0].code, LISTNOTIFY_CLICK);
    EXPECT_EQ(dlg->m_log[0].id, 201);
    EXPECT_EQ(dlg->Ids(LISTNOTIFY_SELCHANGED), std::vector<LPARAM>({201}));
    EXPECT_TRUE(Editor());
    // Below the last row: the selected row gets the click.
    RECT rc;
    list().GetClientRect(&rc);
    list().SetTopIndex(0);
    list().Collapse(Item(500));
    list().Collapse(Item(400));
    list().Collapse(Item(300));
    dlg->m_log.clear();
    Select(Row(201));
    dlg->m_log.clear();
    Mouse(WM_LBUTTONDOWN, {30, rc.bottom - 3});
    Mouse(WM_LBUTTONUP, {30, rc.bottom - 3});
    PumpMessages(10);
    EXPECT_EQ(dlg->Ids(LISTNOTIFY_CLICK), std::vector<LPARAM>({201}));
    // The strip toggles the category under the cursor.
    Mouse(WM_LBUTTONDOWN, RowPoint(Row(200), 8));
    Mouse(WM_LBUTTONUP, RowPoint(Row(200), 8));
    EXPECT_EQ(list().GetCount(), 10);
}

TEST_F(PropertyListTest, RowsDrawTheirBoxesGridAndDivider)
{
    MemoryCanvas canvas(300, 17);
    canvas.Fill(RGB(255, 255, 255));
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_LISTBOX;
    dis.itemID = (UINT)Row(100);
    dis.hDC = canvas.dc;
    dis.rcItem = {0, 0, 300, 17};
    const int M = 8;
    list().DrawItem(&dis);
    COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    EXPECT_EQ(canvas.Pixel(4, M - 4), black);
    EXPECT_EQ(canvas.Pixel(12, M + 4), black);
    EXPECT_EQ(canvas.Pixel(6, M), black);
    EXPECT_EQ(canvas.Pixel(10, M), black);
    EXPECT_EQ(canvas.Pixel(11, M), white);
    EXPECT_EQ(canvas.Pixel(8, M - 2), white);
    EXPECT_EQ(canvas.Pixel(15, 2), ::GetSysColor(COLOR_BTNFACE));  // strip line
    list().Collapse(Item(100));
    list().DrawItem(&dis);
    EXPECT_EQ(canvas.Pixel(8, M - 2), black);
    EXPECT_EQ(canvas.Pixel(8, M + 2), black);
    EXPECT_EQ(canvas.Pixel(8, M + 3), white);

    // An edit row: grid line at the bottom, divider at the splitter.
    canvas.Fill(white);
    dis.itemID = (UINT)Row(201);
    list().DrawItem(&dis);
    int divider = 16 + list().m_nSplitter;
    EXPECT_EQ(canvas.Pixel(divider, 3), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(canvas.Pixel(100, 16), ::GetSysColor(COLOR_BTNFACE));
    // Without the show-selection style the selected row is drawn plain while
    // the focus is elsewhere.
    canvas.Fill(black);
    dis.itemState = ODS_SELECTED;
    ::SetFocus(nullptr);
    list().DrawItem(&dis);
    EXPECT_EQ(canvas.Pixel(20, 1), ::GetSysColor(COLOR_WINDOW));
}

namespace {
// A list whose list box refuses what the test says.
class RefusingList : public CPropertyList {
public:
    int refuseAdd = 0, refuseData = 0, refuseInsertAfter = -1;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        if (message == LB_ADDSTRING && refuseAdd) { *pResult = refuseAdd; return TRUE; }
        if (message == LB_SETITEMDATA && lParam && refuseData) { *pResult = LB_ERR; return TRUE; }
        if (message == LB_INSERTSTRING && refuseInsertAfter == 0) { *pResult = LB_ERRSPACE; return TRUE; }
        if (message == LB_INSERTSTRING && refuseInsertAfter > 0) --refuseInsertAfter;
        return CPropertyList::OnWndMsg(message, wParam, lParam, pResult);
    }
};
}

TEST(PropertyListRefusals, RefusedRowsLoseNoItem)
{
    int live = CProperty::LiveCount();
    {
        CWnd parent;
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr));
        RefusingList list;
        ASSERT_TRUE(list.CreateEx(0, "LISTBOX", "", 0x40A10561 & ~WS_VISIBLE, 0, 0, 280, 280, parent.m_hWnd, (HMENU)1056));
        struct { int add; int data; } refusals[] = {{LB_ERR, 0}, {LB_ERRSPACE, 0}, {0, 1}};
        for (auto r : refusals) {
            list.refuseAdd = r.add;
            list.refuseData = r.data;
            IProperty* p = CreateTimeItem("Once every", 20, TIMEUNIT_MINUTES, 201);
            EXPECT_EQ(list.AddItem(p), nullptr);
            EXPECT_EQ(list.GetCount(), 0);
            EXPECT_EQ(CProperty::LiveCount(), live + 1);  // still the caller's
            delete p;
        }
        list.refuseAdd = list.refuseData = 0;
        auto* cat = new CCategoryProperty("Short Breaks", 200);
        list.AddItem(cat);
        for (LPARAM id : {201, 202, 203}) list.AddItem(CreateTimeItem("x", 1, TIMEUNIT_MINUTES, id));
        EXPECT_TRUE(list.Collapse(cat));
        list.refuseInsertAfter = 1;
        EXPECT_TRUE(list.Expand(cat));
        EXPECT_EQ(list.GetCount(), 2);
        ASSERT_EQ(cat->m_children.GetSize(), 2);  // kept, not lost
        EXPECT_EQ(list.FindProperty(203)->GetItemData(), 203);
        // Collapsing again puts the shown row back in front of the kept ones.
        list.refuseInsertAfter = -1;
        list.Collapse(cat);
        list.Expand(cat);
        EXPECT_EQ(RowIds(list), std::vector<LPARAM>({200, 201, 202, 203}));
        list.refuseInsertAfter = 0;
        list.Collapse(cat);
        list.Expand(cat);
        list.DestroyWindow();
        parent.DestroyWindow();
    }
    EXPECT_EQ(CProperty::LiveCount(), live);
}
