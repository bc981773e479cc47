// Failed creation: the creator learns it from the result, and an object
// that deletes itself is deleted exactly once, whichever way it failed.
#include "support/TestSupport.h"
#include <gtest/gtest.h>

namespace {
enum Failure { NONE, PRECREATE, ONCREATE, NCCREATE, DESTROYED_IN_ONCREATE };

struct Counts {
    int deleted = 0;
    int postNcDestroy = 0;
};
Counts g_counts;

class CFailingFrame : public CFrameWnd {
public:
    Failure failure;
    explicit CFailingFrame(Failure f) : failure(f) {}
    ~CFailingFrame() override { ++g_counts.deleted; }
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override
    {
        return failure == PRECREATE ? FALSE : CFrameWnd::PreCreateWindow(cs);
    }
    LRESULT OnNcCreateMsg(WPARAM w, LPARAM l) { return failure == NCCREATE ? FALSE : DefWindowProc(WM_NCCREATE, w, l); }
    int OnCreate(LPCREATESTRUCTA)
    {
        if (failure == DESTROYED_IN_ONCREATE) { DestroyWindow(); return 0; }
        return failure == ONCREATE ? -1 : 0;
    }
    void PostNcDestroy() override { ++g_counts.postNcDestroy; CFrameWnd::PostNcDestroy(); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CFailingFrame, CFrameWnd)
    ON_MESSAGE(WM_NCCREATE, OnNcCreateMsg)
    ON_WM_CREATE()
END_MESSAGE_MAP()

bool QuitPosted()
{
    MSG msg;
    return ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}
}

TEST(CreationTest, AFailedMainFrameIsDeletedOnceAndForgotten)
{
    struct Row {
        const char* name;
        Failure failure;
        int postNcDestroy;   // the end-of-window path ran (a window existed)
    };
    const Row rows[] = {
        { "PreCreateWindow refuses", PRECREATE, 0 },
        { "WM_NCCREATE refuses", NCCREATE, 1 },
        { "OnCreate refuses", ONCREATE, 1 },
        { "OnCreate destroys the window", DESTROYED_IN_ONCREATE, 1 },
        { "made", NONE, 0 },
    };
    CWinApp* app = AfxGetApp();
    ASSERT_NE(app, nullptr);
    CWnd* savedMain = app->m_pMainWnd;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        g_counts = Counts();
        // As the application's start-up makes its frame.
        CFailingFrame* frame = AfxCreateOrDelete(new CFailingFrame(row.failure), [app](CFailingFrame* p) {
            app->m_pMainWnd = p;
            return p->Create(nullptr, "failing", WS_OVERLAPPEDWINDOW);
        });
        EXPECT_EQ(g_counts.postNcDestroy, row.postNcDestroy);
        if (row.failure == NONE) {
            // A frame that is made stays, and its end ends the loop.
            ASSERT_NE(frame, nullptr);
            EXPECT_EQ(g_counts.deleted, 0);
            frame->DestroyWindow();
            EXPECT_EQ(g_counts.deleted, 1);
            EXPECT_TRUE(QuitPosted());
            continue;
        }
        EXPECT_EQ(frame, nullptr);
        EXPECT_EQ(g_counts.deleted, 1);
        EXPECT_EQ(app->m_pMainWnd, nullptr);
        // No loop runs after a failed start, so none is told to end.
        EXPECT_FALSE(QuitPosted());
    }
    app->m_pMainWnd = savedMain;
}

TEST(CreationTest, APlainCreateLeavesAnObjectWithoutWindowToItsCreator)
{
    // Without the helper: a refusal before any window leaves the object
    // alive and untouched by its end-of-window path.
    g_counts = Counts();
    CFailingFrame* frame = new CFailingFrame(PRECREATE);
    EXPECT_FALSE(frame->Create(nullptr, "plain", WS_OVERLAPPEDWINDOW));
    EXPECT_EQ(g_counts.postNcDestroy, 0);
    EXPECT_EQ(g_counts.deleted, 0);
    EXPECT_EQ(frame->m_hWnd, nullptr);
    delete frame;
    EXPECT_EQ(g_counts.deleted, 1);
}

TEST(CreationTest, AWindowTheCreationHookNeverSawIsNoWindowOfTheObject)
{
    // With the framework's hook in place (as while a dialog is made), a hook
    // set after it runs first and keeps the creation from it.
    AfxHookWindowCreate(nullptr);
    HHOOK keeper = ::SetWindowsHookExA(WH_CBT, [](int code, WPARAM w, LPARAM l) CALLBACK -> LRESULT {
        return code == HCBT_CREATEWND ? 0 : ::CallNextHookEx(nullptr, code, w, l);
    }, nullptr, ::GetCurrentThreadId());
    CWnd wnd;
    EXPECT_FALSE(wnd.CreateEx(0, "STATIC", "unseen by the hook", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    ::UnhookWindowsHookEx(keeper);
    AfxUnhookWindowCreate();
    EXPECT_FALSE(::DestroyWindow(::FindWindowA("STATIC", "unseen by the hook"))) << "an unserved window stayed";
}
