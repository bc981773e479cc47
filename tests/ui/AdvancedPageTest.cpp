// The Tracking page in a sheet with a scripted world: which controls the
// activity sources enable, with and without the hook library; the prompts of
// the two delays; what Apply writes and posts; Apply stays off until the
// user changes something.
#include "ui/UiTest.h"
#include "support/FakeWorld.h"
#include "app/Messages.h"
#include "app/Settings.h"
#include "engine/HooksLoader.h"
#include "tray/TraySupport.h"
#include "res/resource.h"
#include "ui/AdvancedPage.h"
#include <gtest/gtest.h>

namespace {
bool Visible(HWND dlg, int id) { return (::GetWindowLongPtrA(::GetDlgItem(dlg, id), GWL_STYLE) & WS_VISIBLE) != 0; }

class AdvancedPageTest : public ::testing::Test {
protected:
    Keep keep{ g_trackMouse, g_trackKeyboard, g_trackMouseMove, g_enablePauses, g_lockOnInactivity, g_pauseDelay,
               g_lockOnInactivityDelay };
    FakeWorld world;
    MessageBoxRecorder boxes;
    void SetUp() override
    {
        g_trackMouse = g_trackKeyboard = g_trackMouseMove = g_enablePauses = g_lockOnInactivity = true;
        g_pauseDelay = 5;
        g_lockOnInactivityDelay = 10;
    }
};
}  // namespace

TEST_F(AdvancedPageTest, ControlsFollowTheSourcesAndTheLibrary)
{
    // Mouse, keyboard, movement, lock checked, library; then what is enabled:
    // idle controls, lock delay, mouse/keyboard boxes, and which note shows.
    struct { bool mouse, keyboard, moves, lock, library, idle, lockDelay, hookBoxes, note; } cases[] = {
        { true, false, false, true, true, true, true, true, false },
        { false, true, false, false, true, true, false, true, false },
        { false, false, true, true, true, true, true, true, false },
        { false, false, false, true, true, false, false, true, false },
        { true, true, false, true, false, false, false, false, true },
        { true, true, true, true, false, true, true, false, true },
        { false, false, true, false, false, true, false, false, true },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        g_trackMouse = c.mouse; g_trackKeyboard = c.keyboard; g_trackMouseMove = c.moves; g_lockOnInactivity = c.lock;
        world.hookLibraryLoaded = c.library;
        RunPage<CAdvancedPage>([&](CAdvancedPage& page, HWND sheet) {
            HWND p = page.m_hWnd;
            for (int id : { IDC_TRACK_PAUSE, IDC_TRACK_RESTART, IDC_TRACK_IDLE_TEXT, IDC_TRACK_MINUTES,
                            IDC_TRACK_PAUSE_DELAY, IDC_TRACK_LOCK })
                EXPECT_EQ(c.idle, Enabled(p, id)) << id;
            for (int id : { IDC_TRACK_LOCK_DELAY, IDC_TRACK_LOCK_SPIN }) EXPECT_EQ(c.lockDelay, Enabled(p, id)) << id;
            EXPECT_TRUE(Enabled(p, IDC_TRACK_PAUSE_SPIN));
            for (int id : { IDC_TRACK_MOUSE, IDC_TRACK_KEYBOARD }) EXPECT_EQ(c.hookBoxes, Enabled(p, id)) << id;
            EXPECT_EQ(c.mouse, Checked(p, IDC_TRACK_MOUSE));   // kept when greyed
            EXPECT_EQ(c.note, Visible(p, IDC_TRACK_NO_LIBRARY));
            EXPECT_EQ(!c.note, Visible(p, IDC_TRACK_EXPLAIN));
            EXPECT_FALSE(Enabled(sheet, kApply));   // opening is no change
            // Movement toggled by the user re-evaluates and marks the page.
            Click(p, IDC_TRACK_MOUSEMOVE);
            bool on = (c.library && (c.mouse || c.keyboard)) || !c.moves;
            EXPECT_EQ(on, Enabled(p, IDC_TRACK_PAUSE_DELAY));
            EXPECT_EQ(on && c.lock, Enabled(p, IDC_TRACK_LOCK_DELAY));
            EXPECT_TRUE(Enabled(sheet, kApply));
        });
    }
}

TEST_F(AdvancedPageTest, DelaysArePromptedAndNothingIsWritten)
{
    struct { const char *pause, *lock, *prompt; } cases[] = {
        { "", "10", "Enter an integer." },
        { "0", "10", "Enter an integer between 1 and 60." },
        { "61", "10", "Enter an integer between 1 and 60." },
        { "99999999999", "10", "Enter an integer." },
        { "5", "x", "Enter an integer." },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.pause);
        boxes.boxes.clear();
        g_pauseDelay = 7;
        RunPage<CAdvancedPage>([&](CAdvancedPage& page, HWND sheet) {
            ::SetDlgItemTextA(page.m_hWnd, IDC_TRACK_PAUSE_DELAY, c.pause);
            ::SetDlgItemTextA(page.m_hWnd, IDC_TRACK_LOCK_DELAY, c.lock);
            ::SendMessage(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
            PumpMessages(50);
            ASSERT_TRUE(::IsWindow(sheet));   // the page stays
            ASSERT_EQ(1u, boxes.boxes.size());
            EXPECT_EQ(c.prompt, boxes.boxes[0].text);
            EXPECT_EQ(*c.lock == 'x' ? IDC_TRACK_LOCK_DELAY : IDC_TRACK_PAUSE_DELAY, ::GetDlgCtrlID(::GetFocus()));
        });
        EXPECT_EQ(7, g_pauseDelay);
    }
}

TEST_F(AdvancedPageTest, ApplyWritesTheSettingsAndPostsOnce)
{
    struct { const char *pause, *lock; bool restart; int delay, lockDelay; bool pauses; } cases[] = {
        { "1", "300", false, 1, 300, true },
        { "60", "0", true, 60, 0, false },
    };
    MainWindowStandIn main;
    for (auto& c : cases) {
        g_enablePauses = false;
        g_trackKeyboard = true;
        RunPage<CAdvancedPage>([&](CAdvancedPage& page, HWND sheet) {
            HWND p = page.m_hWnd;
            EXPECT_TRUE(Checked(p, IDC_TRACK_RESTART));
            Click(p, c.restart ? IDC_TRACK_RESTART : IDC_TRACK_PAUSE);
            Click(p, IDC_TRACK_KEYBOARD);
            ::SetDlgItemTextA(p, IDC_TRACK_PAUSE_DELAY, c.pause);
            ::SetDlgItemTextA(p, IDC_TRACK_LOCK_DELAY, c.lock);
            main.Take(WM_SETTINGS_APPLIED);
            ::SendMessage(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
            EXPECT_EQ(1, main.Take(WM_SETTINGS_APPLIED));
            EXPECT_FALSE(Enabled(sheet, kApply));
        });
        EXPECT_EQ(c.pauses, g_enablePauses);
        EXPECT_EQ(c.delay, g_pauseDelay);
        EXPECT_EQ(c.lockDelay, g_lockOnInactivityDelay);
        EXPECT_FALSE(g_trackKeyboard);
        EXPECT_TRUE(g_trackMouse && g_trackMouseMove && g_lockOnInactivity);
    }
}

TEST_F(AdvancedPageTest, ApplyOnTheRealFrameInstallsAndRemovesTheHooks)
{
    ASSERT_NE(g_hookEntryPoints.pfnSetKBHook, nullptr);   // tapvex.dll beside the test program
    g_trackKeyboard = g_trackMouse = false;
    ShellRecorder shell;
    RealMainFrame main;
    struct { bool keyboard, mouse; } cases[] = { { true, false }, { true, true }, { false, true }, { false, false } };
    for (auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        RunPage<CAdvancedPage>([&](CAdvancedPage& page, HWND sheet) {
            if (c.keyboard != g_trackKeyboard) Click(page.m_hWnd, IDC_TRACK_KEYBOARD);
            if (c.mouse != g_trackMouse) Click(page.m_hWnd, IDC_TRACK_MOUSE);
            ::SendMessage(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
            PumpMessages(50);
            EXPECT_EQ(c.keyboard, IsKeyboardHookInstalled());
            EXPECT_EQ(c.mouse, IsMouseHookInstalled());
        });
    }
}
