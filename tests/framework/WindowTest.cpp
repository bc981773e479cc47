// Windows, message maps, command routing with update rules, self-deleting
// windows and the exception boundary.
#include "support/TestSupport.h"
#include <gtest/gtest.h>

namespace {
enum { ID_ALPHA = 40001, ID_BETA = 40002, ID_APPONLY = 40003, ID_NOHANDLER = 40004, ID_THROWS = 40005 };

struct Log {
    std::vector<std::string> events;
    bool betaEnabled = true;
    bool alphaChecked = false;
};
Log g_log;

class CTestFrame : public CFrameWnd {
public:
    bool sawCreate = false;
    int OnCreate(LPCREATESTRUCTA) { sawCreate = true; g_log.events.push_back("create"); return 0; }
    void OnAlpha() { g_log.events.push_back("alpha"); }
    void OnBeta() { g_log.events.push_back("beta"); }
    void OnThrows() { throw 42; }
    void OnUpdateBeta(CCmdUI* p) { p->Enable(g_log.betaEnabled); }
    void OnUpdateAlpha(CCmdUI* p) { p->SetCheck(g_log.alphaChecked); }
    LRESULT OnPing(WPARAM w, LPARAM) { return (LRESULT)w + 1; }
    void PostNcDestroy() override { g_log.events.push_back("postncdestroy"); CFrameWnd::PostNcDestroy(); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND(ID_ALPHA, OnAlpha)
    ON_COMMAND(ID_BETA, OnBeta)
    ON_COMMAND(ID_THROWS, OnThrows)
    ON_UPDATE_COMMAND_UI(ID_BETA, OnUpdateBeta)
    ON_UPDATE_COMMAND_UI(ID_ALPHA, OnUpdateAlpha)
    ON_MESSAGE(WM_USER + 7, OnPing)
END_MESSAGE_MAP()

// An application object whose map handles one command of its own.
class CRoutingApp : public CWinApp {
public:
    CRoutingApp() : CWinApp("Routing") {}
    void OnAppOnly() { g_log.events.push_back("app"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CRoutingApp, CWinApp)
    ON_COMMAND(ID_APPONLY, OnAppOnly)
END_MESSAGE_MAP()

// An in-place editor's way out: it ends its own window from inside a
// handler, of its own message or of a reflected notification, and deletes
// itself afterwards. The object must survive until that handler returns.
class CSelfEndingEdit : public CEdit {
public:
    static inline int deletions;
    static inline bool aliveAfterDestroy;
    bool alive = true;
    ~CSelfEndingEdit() override { alive = false; ++deletions; }
    void End()
    {
        DestroyWindow();
        aliveAfterDestroy = alive && m_hWnd == nullptr;   // PostNcDestroy has not run yet
    }
    LRESULT OnEndNow(WPARAM, LPARAM) { End(); return 0; }
    void PostNcDestroy() override { delete this; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSelfEndingEdit, CEdit)
    ON_MESSAGE(WM_USER + 9, OnEndNow)
    ON_CONTROL_REFLECT(EN_KILLFOCUS, End)
END_MESSAGE_MAP()

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_log = Log();
        f = new CTestFrame;
        ASSERT_TRUE(f->Create(nullptr, "vfx test", WS_OVERLAPPEDWINDOW));
        h = f->m_hWnd;
    }
    void TearDown() override { if (::IsWindow(h)) ::DestroyWindow(h); }
    CTestFrame* f = nullptr;
    HWND h = nullptr;
};
}

TEST_F(WindowTest, ObjectIsReachedFromTheFirstMessage)
{
    EXPECT_TRUE(f->sawCreate);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), f);
    EXPECT_EQ(f->SendMessage(WM_USER + 7, 41), 42);
    f->DestroyWindow();
    EXPECT_EQ(g_log.events.back(), "postncdestroy");
}

TEST_F(WindowTest, CommandsWithoutControlObeyTheirUpdateRule)
{
    CRoutingApp app;
    f->PostMessage(WM_COMMAND, ID_ALPHA, 0);
    g_log.betaEnabled = false;
    f->PostMessage(WM_COMMAND, ID_BETA, 0);     // dropped silently
    f->PostMessage(WM_COMMAND, ID_APPONLY, 0);  // routed on to the application
    PumpMessages(50);
    g_log.betaEnabled = true;
    f->SendMessage(WM_COMMAND, ID_BETA, 0);
    EXPECT_EQ(g_log.events, (std::vector<std::string>{ "create", "alpha", "app", "beta" }));
}

TEST_F(WindowTest, PopupMenuItemsFollowTheRules)
{
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, ID_ALPHA, "Alpha");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_BETA, "Beta");
    menu.AppendMenu(MF_STRING, ID_NOHANDLER, "Nobody");
    g_log.betaEnabled = false;
    g_log.alphaChecked = true;
    f->SendMessage(WM_INITMENUPOPUP, (WPARAM)menu.m_hMenu, 0);
    EXPECT_TRUE(menu.GetMenuState(ID_ALPHA, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(menu.GetMenuState(ID_ALPHA, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(menu.GetMenuState(ID_BETA, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(menu.GetMenuState(ID_NOHANDLER, MF_BYCOMMAND) & MF_GRAYED);
    g_log.betaEnabled = true;
    f->SendMessage(WM_INITMENUPOPUP, (WPARAM)menu.m_hMenu, 0);
    EXPECT_FALSE(menu.GetMenuState(ID_BETA, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(WindowTest, ExceptionsStopAtTheWindowProcedure)
{
    MessageBoxRecorder boxes;
    f->SendMessage(WM_COMMAND, ID_THROWS, 0);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_TRUE(boxes.boxes[0].type & MB_ICONSTOP);
    // The window still works.
    EXPECT_EQ(f->SendMessage(WM_USER + 7, 1), 2);
}

TEST_F(WindowTest, AWindowThatEndsItselfInAHandlerIsDeletedOnceAfterIt)
{
    for (bool reflected : { false, true }) {
        SCOPED_TRACE(reflected ? "reflected notification" : "its own message");
        CSelfEndingEdit::deletions = 0;
        CSelfEndingEdit::aliveAfterDestroy = false;
        CSelfEndingEdit* edit = new CSelfEndingEdit;
        RECT rc = { 0, 0, 80, 20 };
        ASSERT_TRUE(edit->Create(WS_VISIBLE, rc, f, 301));
        HWND e = edit->m_hWnd;
        if (reflected) f->SendMessage(WM_COMMAND, MAKEWPARAM(301, EN_KILLFOCUS), (LPARAM)e);
        else ::SendMessageA(e, WM_USER + 9, 0, 0);
        EXPECT_TRUE(CSelfEndingEdit::aliveAfterDestroy);
        EXPECT_EQ(CSelfEndingEdit::deletions, 1);
        EXPECT_FALSE(::IsWindow(e));
        EXPECT_EQ(CWnd::FromHandlePermanent(e), nullptr);
    }
}

TEST_F(WindowTest, ChildWindowsOfSystemClassesAreSubclassedAtCreation)
{
    struct CEditProbe : CWnd {
        int chars = 0;
        BOOL OnWndMsg(UINT m, WPARAM w, LPARAM l, LRESULT* r) override
        {
            if (m == WM_CHAR) ++chars;
            return CWnd::OnWndMsg(m, w, l, r);
        }
    } edit;
    RECT rc = { 0, 0, 100, 20 };
    ASSERT_TRUE(edit.Create("EDIT", "", WS_VISIBLE, rc, f, 100));
    edit.SendMessage(WM_CHAR, 'x', 1);
    EXPECT_EQ(edit.chars, 1);
    EXPECT_EQ(edit.GetWindowText(), "x");   // default processing still reaches the edit control
    edit.DestroyWindow();
}
