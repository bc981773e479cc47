// The screen lock: its two phases driven by its countdown timer, with the
// exact captions and enabled buttons for each combination of settings;
// what reaches the main window (and what never does); the bar over the
// work area and the dimming windows over one or two monitors.
#include "alerts/AlertTestFrame.h"
#include "alerts/AlertLayout.h"
#include "alerts/LockDlg.h"
#include "app/Kestrabel.h"
#include "services/Translator.h"
#include "res/resource.h"
#include <algorithm>
#include <string>

namespace {

// Two monitors side by side, or whatever a test sets.
class FakeDisplays : public CDisplays {
public:
    FakeDisplays() { SetDisplays(this); }
    ~FakeDisplays() override { SetDisplays(nullptr); }
    RECT work = { 0, 0, 1280, 984 };
    bool workFails = false;
    std::vector<MonitorArea> monitors = {
        { { 0, 0, 1280, 1024 }, { 0, 0, 1280, 984 } },
        { { 1280, 0, 2304, 768 }, { 1280, 0, 2304, 740 } },
    };
    BOOL GetWorkArea(RECT* rc) override
    {
        if (workFails) return FALSE;
        *rc = work;
        return TRUE;
    }
    void ListMonitors(std::vector<MonitorArea>& out) override { out = monitors; }
};

class Lock : public AlertTest {
protected:
    const std::string kRemind = "Remind me again in 5 minutes";

    // Opens the lock for a kind; its own timer is stopped so that only the
    // test's ticks count.
    void ShowLock(int kind = BREAK_SHORT, bool stopTimer = true)
    {
        g_breakSettings.aBreaks[kind].nAlertType = ALERT_SCREEN_LOCK;
        frame->ShowAlert(kind);
        ASSERT_NE(frame->m_pLockDlg, nullptr);
        if (stopTimer) ::KillTimer(frame->m_pLockDlg->m_hWnd, TIMER_LOCK_COUNTDOWN);
    }
    void ExpectButtons(const std::string& unlock, bool unlockEnabled, const std::string& postpone, bool postponeEnabled)
    {
        EXPECT_EQ(ButtonText(IDCANCEL), unlock);
        EXPECT_EQ(ButtonEnabled(IDCANCEL), unlockEnabled);
        EXPECT_EQ(ButtonText(IDC_POSTPONE), postpone);
        EXPECT_EQ(ButtonEnabled(IDC_POSTPONE), postponeEnabled);
    }
    static std::string Remaining(const char* t) { return std::string("Unlock\r\n( ") + t + " )"; }
    HWND LockWnd() const { return frame->m_pLockDlg ? frame->m_pLockDlg->m_hWnd : nullptr; }
    std::vector<HWND> Painters() const
    {
        std::vector<HWND> found;
        for (HWND h : OwnedWindows(LockWnd())) {
            char cls[96] = "";
            ::GetClassNameA(h, cls, sizeof(cls));
            if (strcmp(cls, CBlackPainter::ClassName()) == 0) found.push_back(h);
        }
        std::sort(found.begin(), found.end(), [](HWND a, HWND b) {
            RECT ra, rb;
            ::GetWindowRect(a, &ra);
            ::GetWindowRect(b, &rb);
            return ra.left < rb.left;
        });
        return found;
    }
    // Everything a user might try while only what is enabled may count.
    void TryToGetPast()
    {
        HWND h = LockWnd();
        MSG esc = { h, WM_KEYDOWN, VK_ESCAPE, 0x00010001 };
        theApp.PreTranslateMessage(&esc);
        MSG enter = { h, WM_KEYDOWN, VK_RETURN, 0x001C0001 };
        theApp.PreTranslateMessage(&enter);
        ::SendMessageA(h, WM_SYSKEYDOWN, VK_F4, 0x203E0001);  // Alt+F4
        ::SendMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0);
        ::SendMessageA(h, WM_CLOSE, 0, 0);
        ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        HWND unlock = ::GetDlgItem(h, IDCANCEL);
        if (!::IsWindowEnabled(unlock)) {
            ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)unlock);
            ::SendMessageA(h, WM_COMMAND, IDCANCEL, 0);
        }
        HWND postpone = ::GetDlgItem(h, IDC_POSTPONE);
        if (!::IsWindowEnabled(postpone)) {
            ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_POSTPONE, BN_CLICKED), (LPARAM)postpone);
            ::SendMessageA(h, WM_COMMAND, IDC_POSTPONE, 0);
        }
        Pump(100);
    }
};

}  // namespace

TEST_F(Lock, DefaultsCountTheDelayOnUnlockThenEnableBoth)
{
    ShowLock();
    EXPECT_EQ(frame->m_nLockKind, BREAK_SHORT);
    ExpectButtons("16", false, kRemind, false);
    TickLock();
    ExpectButtons("15", false, kRemind, false);
    TickLock(14);
    ExpectButtons("1", false, kRemind, false);
    // The sixteenth second: both usable; Unlock counts the rest of the
    // two-minute break (120 - 16 - 1 seconds).
    TickLock();
    ExpectButtons(Remaining("1:43"), true, kRemind, true);
    TickLock();
    ExpectButtons(Remaining("1:42"), true, kRemind, true);
    TickLock(102);
    ExpectButtons(Remaining("0"), true, kRemind, true);
    TickLock(3);
    ExpectButtons(Remaining("0"), true, kRemind, true);
    // The lock never closes itself.
    EXPECT_TRUE(frame->results.empty());
    EXPECT_NE(frame->m_pLockDlg, nullptr);
}

TEST_F(Lock, UnlockingWithoutPostponing)
{
    g_breakSettings.nPostpone = 0;
    ShowLock();
    ExpectButtons("16", false, "Postpone Disabled", false);
    TickLock(15);
    ExpectButtons("1", false, "Postpone Disabled", false);
    TickLock();
    ExpectButtons(Remaining("1:43"), true, "Postpone Disabled", false);
}

TEST_F(Lock, PostponingWithoutUnlocking)
{
    g_breakSettings.aBreaks[BREAK_LONG].bEnableUnlocking = false;
    ShowLock(BREAK_LONG);
    // The delay counts on the postpone button; the disabled Unlock button
    // shows the break's remaining time afterwards.
    ExpectButtons("Unlock", false, "16", false);
    TickLock(15);
    ExpectButtons("Unlock", false, "1", false);
    TickLock();
    ExpectButtons(Remaining("4:43"), false, kRemind, true);
}

TEST_F(Lock, NeitherUnlockingNorPostponing)
{
    g_breakSettings.nPostpone = 0;
    g_breakSettings.aBreaks[BREAK_SHORT].bEnableUnlocking = false;
    ShowLock();
    ExpectButtons(Remaining("16"), false, "Postpone Disabled", false);
    TickLock();
    ExpectButtons(Remaining("15"), false, "Postpone Disabled", false);
    TickLock(15);
    ExpectButtons(Remaining("0"), false, "Postpone Disabled", false);
    TickLock(5);
    ExpectButtons(Remaining("0"), false, "Postpone Disabled", false);
    TryToGetPast();
    EXPECT_TRUE(frame->results.empty());
}

TEST_F(Lock, NoDelayBeginsTheSecondPhaseAtTheFirstTick)
{
    g_breakSettings.nDisableUnlocking = 0;
    ShowLock();
    ExpectButtons("0", true, kRemind, true);
    TickLock();
    ExpectButtons(Remaining("1:59"), true, kRemind, true);
}

TEST_F(Lock, ItsOwnTimerCountsEverySecond)
{
    ShowLock(BREAK_SHORT, false);
    DWORD start = ::GetTickCount();
    while (ButtonText(IDCANCEL) == "16" && ::GetTickCount() - start < 4000) Pump(50);
    EXPECT_EQ(ButtonText(IDCANCEL), "15");
}

TEST_F(Lock, UnlockAndPostponeReachTheMainWindowPostponingTheDailyLimitWithLParam1)
{
    ShowLock();
    TickLock(16);
    ::SendMessageA(::GetDlgItem(LockWnd(), IDCANCEL), BM_CLICK, 0, 0);
    ::SendMessageA(::GetDlgItem(LockWnd(), IDC_POSTPONE), BM_CLICK, 0, 0);
    Pump(50);
    ASSERT_EQ(frame->results.size(), 2u);
    EXPECT_EQ(frame->results[0], std::make_pair((WPARAM)0, (LPARAM)0));
    EXPECT_EQ(frame->results[1], std::make_pair((WPARAM)1, (LPARAM)0));
    // The lock only tells; the frame closes it.
    EXPECT_NE(frame->m_pLockDlg, nullptr);

    frame->results.clear();
    ShowLock(BREAK_DAILY_LIMIT);
    EXPECT_EQ(frame->m_nLockKind, BREAK_DAILY_LIMIT);
    TickLock(16);
    ::SendMessageA(::GetDlgItem(LockWnd(), IDC_POSTPONE), BM_CLICK, 0, 0);
    ShowLock(BREAK_MICRO);
    TickLock(16);
    ::SendMessageA(::GetDlgItem(LockWnd(), IDC_POSTPONE), BM_CLICK, 0, 0);
    Pump(50);
    ASSERT_EQ(frame->results.size(), 2u);
    EXPECT_EQ(frame->results[0], std::make_pair((WPARAM)1, (LPARAM)1));
    EXPECT_EQ(frame->results[1], std::make_pair((WPARAM)1, (LPARAM)0));
}

// The lock cannot be bypassed: only what an enabled button offers counts.
TEST_F(Lock, KeysAndCloseCommandsGetPastNothingWhileUnlockIsDisabled)
{
    ShowLock();
    TryToGetPast();
    EXPECT_TRUE(frame->results.empty());
    EXPECT_NE(frame->m_pLockDlg, nullptr);

    // Unlocking not allowed: after the delay only postponing counts.
    g_breakSettings.aBreaks[BREAK_LONG].bEnableUnlocking = false;
    ShowLock(BREAK_LONG);
    TickLock(16);
    TryToGetPast();
    EXPECT_TRUE(frame->results.empty());
    ::SendMessageA(::GetDlgItem(LockWnd(), IDC_POSTPONE), BM_CLICK, 0, 0);
    Pump(50);
    ASSERT_EQ(frame->results.size(), 1u);
    EXPECT_EQ(frame->results[0].first, (WPARAM)1);

    // Once Unlock is enabled, Escape is its key; Enter still does nothing.
    frame->results.clear();
    ShowLock();
    TickLock(16);
    MSG enter = { LockWnd(), WM_KEYDOWN, VK_RETURN, 0x001C0001 };
    theApp.PreTranslateMessage(&enter);
    Pump(50);
    EXPECT_TRUE(frame->results.empty());
    MSG esc = { LockWnd(), WM_KEYDOWN, VK_ESCAPE, 0x00010001 };
    theApp.PreTranslateMessage(&esc);
    Pump(50);
    ASSERT_EQ(frame->results.size(), 1u);
    EXPECT_EQ(frame->results[0], std::make_pair((WPARAM)0, (LPARAM)0));
}

// The postpone caption takes a translated pattern only when it is safe.
TEST_F(Lock, ThePostponeCaptionTakesOnlyATranslationWithTheSameConversion)
{
    g_translator.m_map.SetAt("Remind me again in %d minutes", "Erinnern Sie mich in %d Minuten");
    g_translator.m_map.SetAt("Unlock", "Entsperren");
    g_breakSettings.nDisableUnlocking = 0;
    ShowLock();
    EXPECT_EQ(ButtonText(IDC_POSTPONE), "Erinnern Sie mich in 5 Minuten");
    TickLock();
    EXPECT_EQ(ButtonText(IDCANCEL), "Entsperren\r\n( 1:59 )");

    // A translation that would read a string or write through the
    // argument is not used as a pattern.
    for (const char* bad : { "Erinnern in %s Minuten", "%n%n%n%d", "%d %d %d %d" }) {
        g_translator.m_map.SetAt("Remind me again in %d minutes", bad);
        ShowLock();
        EXPECT_EQ(ButtonText(IDC_POSTPONE), "Remind me again in 5 minutes") << bad;
    }
}

TEST_F(Lock, TheBarLiesAcrossTheWorkAreaAndEachOtherMonitorIsDimmedWhole)
{
    FakeDisplays displays;
    ShowLock();
    RECT bar;
    ::GetWindowRect(LockWnd(), &bar);
    EXPECT_EQ(bar.left, 0);
    EXPECT_EQ(bar.right, 1280);
    EXPECT_EQ(bar.bottom, 984);
    EXPECT_TRUE(::GetWindowLongPtrA(LockWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    // Unlock in the middle of the bar, postpone as far from the right edge
    // as from the top.
    CRect unlock = ChildRect(LockWnd(), ::GetDlgItem(LockWnd(), IDCANCEL));
    EXPECT_EQ(unlock.left, (1280 - unlock.Width()) / 2);
    CRect postpone = ChildRect(LockWnd(), ::GetDlgItem(LockWnd(), IDC_POSTPONE));
    EXPECT_EQ(postpone.right, 1280 - postpone.top);

    std::vector<HWND> painters = Painters();
    ASSERT_EQ(painters.size(), 2u);
    RECT first, second;
    ::GetWindowRect(painters[0], &first);
    ::GetWindowRect(painters[1], &second);
    EXPECT_EQ(first.left, 0);
    EXPECT_EQ(first.top, 0);
    EXPECT_EQ(first.right, 1280);
    EXPECT_EQ(first.bottom, bar.top);
    EXPECT_EQ(second.left, 1280);
    EXPECT_EQ(second.top, 0);
    EXPECT_EQ(second.right, 2304);
    EXPECT_EQ(second.bottom, 740);
    for (HWND h : painters) {
        EXPECT_TRUE(::IsWindowVisible(h));
        EXPECT_TRUE(::GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
    }

    // All go with the lock.
    frame->CloseAlerts();
    for (HWND h : painters) EXPECT_FALSE(::IsWindow(h));
    EXPECT_EQ(frame->m_nLockKind, -1);

    // Without a work area the bar keeps its template place and nothing is dimmed.
    displays.workFails = true;
    ShowLock();
    EXPECT_TRUE(Painters().empty());
    ::GetWindowRect(LockWnd(), &bar);
    EXPECT_LT(bar.right - bar.left, 1280);
    TickLock(16);
    EXPECT_TRUE(ButtonEnabled(IDCANCEL));
}

TEST_F(Lock, TheDimmingIsHalfTransparentBlackOverWhatWasBeneath)
{
    FakeDisplays displays;
    displays.monitors.resize(1);
    HWND white = ::CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 1280, 984,
                                   nullptr, nullptr, nullptr, nullptr);
    ::UpdateWindow(white);
    // The lock copies the screen: the static must be on it first (X shows
    // it when it gets to it; the display is this program's alone).
    const COLORREF beneath = ::GetSysColor(COLOR_3DFACE);
    ASSERT_TRUE(PumpUntil([&] {
        HDC screen = ::GetDC(nullptr);
        COLORREF shown = ::GetPixel(screen, 300, 300);
        ::ReleaseDC(nullptr, screen);
        return shown == beneath;
    }, 5000));
    ShowLock();
    std::vector<HWND> painters = Painters();
    ASSERT_EQ(painters.size(), 1u);
    ::RedrawWindow(painters[0], nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ::RedrawWindow(painters[0], nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC dc = ::GetDC(painters[0]);
    COLORREF c = ::GetPixel(dc, 300, 300);
    ::ReleaseDC(painters[0], dc);
    // What lay beneath at half brightness, however often it is drawn.
    EXPECT_NEAR(GetRValue(c), GetRValue(beneath) / 2, 2);
    EXPECT_NEAR(GetGValue(c), GetGValue(beneath) / 2, 2);
    EXPECT_NEAR(GetBValue(c), GetBValue(beneath) / 2, 2);

    // The bar shows the warning strip along its top.
    ::UpdateWindow(LockWnd());
    dc = ::GetDC(LockWnd());
    COLORREF tape = ::GetPixel(dc, 2, 1);
    ::ReleaseDC(LockWnd(), dc);
    EXPECT_TRUE(tape == RGB(255, 255, 0) || tape == RGB(0, 0, 0));
    frame->CloseAlerts();
    ::DestroyWindow(white);
}

TEST_F(Lock, ALongMessageMakesTheBarTallerAndAGoneLockClearsItsPointer)
{
    FakeDisplays displays;
    ShowLock();
    RECT plain;
    ::GetWindowRect(LockWnd(), &plain);
    std::string text;
    for (int i = 0; i < 10; ++i) text += "Stand up, stretch and look out of the window. ";
    g_breakSettings.aBreaks[BREAK_SHORT].strMessage = text.c_str();
    ShowLock();
    RECT grown;
    ::GetWindowRect(LockWnd(), &grown);
    EXPECT_GT(grown.bottom - grown.top, plain.bottom - plain.top);
    EXPECT_EQ(grown.bottom, 984);
    HWND msg = ::GetDlgItem(LockWnd(), IDC_LOCK_TEXT);
    CRect box = ChildRect(LockWnd(), msg);
    RECT client;
    ::GetClientRect(LockWnd(), &client);
    EXPECT_LE(box.bottom, client.bottom);
    CRect unlock = ChildRect(LockWnd(), ::GetDlgItem(LockWnd(), IDCANCEL));
    EXPECT_LE(box.right, unlock.left);
    HDC dc = ::GetDC(msg);
    HGDIOBJ old = ::SelectObject(dc, (HFONT)::SendMessageA(msg, WM_GETFONT, 0, 0));
    RECT need = { 0, 0, box.Width(), 0 };
    ::DrawTextA(dc, text.c_str(), -1, &need, kAlertTextFormat | DT_CALCRECT);
    ::SelectObject(dc, old);
    ::ReleaseDC(msg, dc);
    EXPECT_LE(need.bottom, box.Height());

    // A lock that goes without the frame's doing leaves no pointer behind.
    world.sounds.clear();
    ::DestroyWindow(LockWnd());
    EXPECT_EQ(frame->m_pLockDlg, nullptr);
    EXPECT_EQ(frame->m_nLockKind, -1);
    frame->CloseAlerts();
    EXPECT_TRUE(world.sounds.empty());
}
