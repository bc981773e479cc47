// Child notifications: the control's own object first, then the parent's
// map, the same for every message; only real children are asked.
#include "support/TestSupport.h"
#include <gtest/gtest.h>

namespace {
enum { ID_LIST = 300 };
std::vector<std::string> g_order;
HBRUSH const kChildBrush = (HBRUSH)::GetStockObject(BLACK_BRUSH);
HBRUSH const kParentBrush = (HBRUSH)::GetStockObject(WHITE_BRUSH);

// A control that takes its notifications when `take` is set and passes
// them on to the parent otherwise.
class CProbeList : public CListBox {
public:
    bool take = true;
    int measured = 0;
    BOOL OnSelChange() { g_order.push_back("child"); return take; }
    BOOL OnClick(NMHDR*, LRESULT* r) { g_order.push_back("child"); if (take) *r = 7; return take; }
    HBRUSH CtlColor(HDC, UINT) { g_order.push_back("child"); return take ? kChildBrush : nullptr; }
    void DrawItem(LPDRAWITEMSTRUCT p) override { g_order.push_back("child"); if (!take) CListBox::DrawItem(p); }
    void MeasureItem(LPMEASUREITEMSTRUCT p) override
    {
        ++measured;
        g_order.push_back("child");
        if (take) p->itemHeight = 23;
        else CListBox::MeasureItem(p);
    }
    void DeleteItem(LPDELETEITEMSTRUCT p) override { g_order.push_back("child"); if (!take) CListBox::DeleteItem(p); }
    int CompareItem(LPCOMPAREITEMSTRUCT p) override
    {
        g_order.push_back("child");
        return take ? -1 : CListBox::CompareItem(p);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CProbeList, CListBox)
    ON_CONTROL_REFLECT_EX(LBN_SELCHANGE, OnSelChange)
    ON_NOTIFY_REFLECT_EX(NM_CLICK, OnClick)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CProbeParent : public CWnd {
public:
    void OnSelChange() { g_order.push_back("parent"); }
    void OnClick(NMHDR*, LRESULT* r) { g_order.push_back("parent"); *r = 9; }
    HBRUSH OnCtlColor(HDC, HWND, UINT) { g_order.push_back("parent"); return kParentBrush; }
    void OnDrawItem(int, LPDRAWITEMSTRUCT) { g_order.push_back("parent"); }
    void OnMeasureItem(int, LPMEASUREITEMSTRUCT p) { g_order.push_back("parent"); p->itemHeight = 31; }
    void OnDeleteItem(int, LPDELETEITEMSTRUCT) { g_order.push_back("parent"); }
    int OnCompareItem(int, LPCOMPAREITEMSTRUCT) { g_order.push_back("parent"); return 1; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CProbeParent, CWnd)
    ON_LBN_SELCHANGE(ID_LIST, OnSelChange)
    ON_NOTIFY(NM_CLICK, ID_LIST, OnClick)
    ON_WM_CTLCOLOR()
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_DELETEITEM()
    ON_WM_COMPAREITEM()
END_MESSAGE_MAP()

// One notification as a control sends it, with the records it points to.
struct Note {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    NMHDR nm = {};
    DRAWITEMSTRUCT dis = {};
    MEASUREITEMSTRUCT mis = {};
    DELETEITEMSTRUCT del = {};
    COMPAREITEMSTRUCT cis = {};
};

enum Kind { COMMAND, NOTIFY, CTLCOLOR, DRAWITEM, MEASUREITEM, DELETEITEM, COMPAREITEM };

void Build(Note& n, Kind kind, HWND from, UINT id, HDC hdc)
{
    n.nm = { from, id, (UINT)NM_CLICK };
    n.dis = { ODT_LISTBOX, id, 0, 0, 0, from, hdc };
    n.mis = { ODT_LISTBOX, id, 0, 0, 1 };
    n.del = { ODT_LISTBOX, id, 0, from };
    n.cis = { ODT_LISTBOX, id, from };
    const Note as[] = {
        { WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), (LPARAM)from }, { WM_NOTIFY, id, (LPARAM)&n.nm },
        { WM_CTLCOLORLISTBOX, (WPARAM)hdc, (LPARAM)from }, { WM_DRAWITEM, id, (LPARAM)&n.dis },
        { WM_MEASUREITEM, id, (LPARAM)&n.mis }, { WM_DELETEITEM, id, (LPARAM)&n.del },
        { WM_COMPAREITEM, id, (LPARAM)&n.cis },
    };
    n.message = as[kind].message;
    n.wParam = as[kind].wParam;
    n.lParam = as[kind].lParam;
}

struct Row {
    const char* name;
    Kind kind;
    LRESULT takenResult;    // what the sender gets back when the control takes it
    LRESULT passedResult;   // ... and when the parent answers
};
const Row kRows[] = {
    { "WM_COMMAND", COMMAND, 0, 0 },
    { "WM_NOTIFY", NOTIFY, 7, 9 },
    { "WM_CTLCOLORLISTBOX", CTLCOLOR, (LRESULT)kChildBrush, (LRESULT)kParentBrush },
    { "WM_DRAWITEM", DRAWITEM, TRUE, TRUE },
    { "WM_MEASUREITEM", MEASUREITEM, TRUE, TRUE },
    { "WM_DELETEITEM", DELETEITEM, TRUE, TRUE },
    { "WM_COMPAREITEM", COMPAREITEM, -1, 1 },
};

class ReflectionTest : public ::testing::Test {
protected:
    CProbeParent parent;
    CProbeList* list = nullptr;
    HDC hdc = nullptr;
    void SetUp() override
    {
        g_order.clear();
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
        list = new CProbeList;
        RECT rc = { 0, 0, 200, 150 };
        ASSERT_TRUE(list->Create(WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, rc, &parent, ID_LIST));
        hdc = ::GetDC(parent.m_hWnd);
    }
    void TearDown() override
    {
        ::ReleaseDC(parent.m_hWnd, hdc);
        parent.DestroyWindow();
        delete list;
    }
};
}

TEST_F(ReflectionTest, EachNotificationReachesTheControlFirstThenTheParent)
{
    for (const Row& row : kRows) {
        for (bool take : { true, false }) {
            SCOPED_TRACE(std::string(row.name) + (take ? " taken" : " passed on"));
            list->take = take;
            g_order.clear();
            Note n;
            Build(n, row.kind, list->m_hWnd, ID_LIST, hdc);
            LRESULT r = parent.SendMessage(n.message, n.wParam, n.lParam);
            std::vector<std::string> expected = { "child" };
            if (!take) expected.push_back("parent");
            EXPECT_EQ(g_order, expected);
            EXPECT_EQ(r, take ? row.takenResult : row.passedResult);
            if (row.kind == MEASUREITEM) {
                EXPECT_EQ(n.mis.itemHeight, take ? 23u : 31u);
            }
        }
    }
}

TEST_F(ReflectionTest, NotificationsFromWindowsThatAreNotChildrenAreNotReflected)
{
    // A bound window that is not the parent's child (a sheet notifying its
    // pages is one): the parent's map alone answers.
    CProbeList other;
    RECT rc = { 0, 0, 50, 50 };
    CProbeParent otherParent;
    ASSERT_TRUE(otherParent.CreateEx(0, nullptr, "other", WS_POPUP, 0, 0, 60, 60, nullptr, nullptr));
    ASSERT_TRUE(other.Create(0, rc, &otherParent, ID_LIST));
    // Nor is a window's notification to itself.
    for (HWND from : { other.m_hWnd, parent.m_hWnd }) {
        for (const Row& row : kRows) {
            if (row.kind == MEASUREITEM) continue;   // found by id, among the parent's own children only
            SCOPED_TRACE(std::string(row.name) + (from == parent.m_hWnd ? " from itself" : " from another's child"));
            g_order.clear();
            Note n;
            Build(n, row.kind, from, ID_LIST, hdc);
            parent.SendMessage(n.message, n.wParam, n.lParam);
            EXPECT_EQ(g_order, std::vector<std::string>{ "parent" });
        }
    }
    otherParent.DestroyWindow();
}

TEST_F(ReflectionTest, AnOwnerDrawnListCreatedInCodeMeasuresAndDrawsItsOwnRows)
{
    // The list was created in code, so its object was bound before the
    // list asked for its row height during creation.
    EXPECT_EQ(list->measured, 1);
    EXPECT_EQ(list->SendMessage(LB_GETITEMHEIGHT, 0), 23);
    g_order.clear();
    list->AddString("one");
    list->AddString("two");
    parent.ShowWindow(SW_SHOWNA);
    list->Invalidate();
    list->UpdateWindow();
    ASSERT_FALSE(g_order.empty());
    for (auto& who : g_order) EXPECT_EQ(who, "child");
}
