// Alert dispatch on a real main frame: one alert at a time, the pointers
// cleared whenever a window goes, the break-end sound only for a window
// really closed; the slider and the message window closing by click, by
// the micro-break's timer and by their close box; what a damaged store, a
// long message or a window that cannot be made do.
#include "alerts/AlertTestFrame.h"
#include "alerts/AlertBox.h"
#include "alerts/LockDlg.h"
#include "app/Kestrabel.h"
#include "services/Translator.h"
#include "res/resource.h"
#include <climits>
#include <psapi.h>
#include <random>
#include <string>

namespace {

class Alerts : public AlertTest {};

std::string StaticText(HWND hDlg, int id)
{
    HWND h = ::GetDlgItem(hDlg, id);
    int n = ::GetWindowTextLengthA(h);
    std::string s(n + 1, '\0');
    ::GetWindowTextA(h, &s[0], n + 1);
    s.resize(n);
    return s;
}

}  // namespace

// The hidden main frame owns each window, the lock (made without a parent)
// included: none gets a taskbar button or an Alt+Tab entry of its own.
TEST_F(Alerts, EachStyleOpensItsWindowAndTheNextAlertClosesItWithTheSound)
{
    Scoped<CWnd*> main(AfxGetApp()->m_pMainWnd, frame);
    g_breakSettings.aBreaks[BREAK_SHORT].nAlertType = ALERT_MESSAGE_BOX;
    g_breakSettings.aBreaks[BREAK_LONG].nAlertType = ALERT_SLIDER;
    g_breakSettings.aBreaks[BREAK_DAILY_LIMIT].nAlertType = ALERT_SCREEN_LOCK;
    g_breakSettings.aBreaks[BREAK_MICRO].nAlertType = ALERT_BALLOON;

    frame->ShowAlert(BREAK_SHORT);
    ASSERT_NE(frame->m_pMessengerDlg, nullptr);
    EXPECT_TRUE(frame->m_pMessengerDlg->IsWindowVisible());
    EXPECT_EQ(frame->m_pMessengerDlg->m_nKind, BREAK_SHORT);
    EXPECT_TRUE(frame->m_pMessengerDlg->GetExStyle() & WS_EX_TOPMOST);
    EXPECT_EQ(::GetWindow(OpenAlert(), GW_OWNER), frame->m_hWnd);
    EXPECT_TRUE(world.sounds.empty());
    ExpectConsistent();

    frame->ShowAlert(BREAK_LONG);
    EXPECT_EQ(frame->m_pMessengerDlg, nullptr);
    ASSERT_NE(frame->m_pSmallMsg, nullptr);
    EXPECT_TRUE(frame->m_pSmallMsg->IsWindowVisible());
    EXPECT_EQ(StaticText(frame->m_pSmallMsg->m_hWnd, IDC_SMALLMSG_TEXT),
              "Long break: stand up, stretch, go for a short walk.");
    EXPECT_EQ(StaticText(frame->m_pSmallMsg->m_hWnd, IDC_SMALLMSG_TITLE), "Kestrabel");
    EXPECT_EQ(::GetWindow(OpenAlert(), GW_OWNER), frame->m_hWnd);
    ASSERT_EQ(world.sounds.size(), 1u);
    EXPECT_EQ(world.sounds[0], "end.wav");
    ExpectConsistent();

    frame->ShowAlert(BREAK_DAILY_LIMIT);
    EXPECT_EQ(frame->m_pSmallMsg, nullptr);
    ASSERT_NE(frame->m_pLockDlg, nullptr);
    EXPECT_EQ(frame->m_nLockKind, BREAK_DAILY_LIMIT);
    EXPECT_EQ(StaticText(frame->m_pLockDlg->m_hWnd, IDC_LOCK_TEXT), "You have reached your daily work limit");
    EXPECT_EQ(::GetWindow(OpenAlert(), GW_OWNER), frame->m_hWnd);
    EXPECT_EQ(world.sounds.size(), 2u);
    ExpectConsistent();

    // A balloon closes the lock (with the sound) and opens no window; its
    // text is not the break's message.
    g_translator.m_map.SetAt("Have a break...", "Mach mal Pause...");
    frame->ShowAlert(BREAK_MICRO);
    ASSERT_FALSE(g_balloons.empty());
    EXPECT_EQ(g_balloons.back(), "Mach mal Pause...");
    EXPECT_EQ(OpenPointers(), 0);
    EXPECT_EQ(frame->m_nLockKind, -1);
    EXPECT_EQ(world.sounds.size(), 3u);
    ExpectConsistent();
    // Nothing open: nothing closed, no sound.
    frame->CloseAlerts();
    EXPECT_EQ(world.sounds.size(), 3u);
}

TEST_F(Alerts, TheBreakEndSoundFollowsTheSettings)
{
    SetAlertType(ALERT_MESSAGE_BOX);
    g_strSoundFilePauseEnd = "";
    frame->ShowAlert(BREAK_SHORT);
    frame->CloseAlerts();
    g_strSoundFilePauseEnd = "chime.wav";
    g_useSoundPauseEnd = false;
    frame->ShowAlert(BREAK_SHORT);
    frame->CloseAlerts();
    EXPECT_TRUE(world.sounds.empty());
    g_useSoundPauseEnd = true;
    frame->ShowAlert(BREAK_SHORT);
    frame->CloseAlerts();
    ASSERT_EQ(world.sounds.size(), 1u);
    EXPECT_EQ(world.sounds[0], "chime.wav");
}

TEST_F(Alerts, PointersStayTrueAcrossAnySequenceOfAlertsClicksAndCloses)
{
    // A model of what should be open, checked against the frame after every
    // step of a long pseudo-random run.
    std::mt19937 rng(20260310);
    g_breakSettings.aBreaks[BREAK_MICRO].nDuration = 3600;  // no timer closes during the run
    int expectedSounds = 0;
    HWND pendingClick = nullptr;   // a window whose close request is queued
    const int types[] = { ALERT_BALLOON, ALERT_SLIDER, ALERT_MESSAGE_BOX, ALERT_SCREEN_LOCK, 4, -1 };
    const int kinds[] = { BREAK_MICRO, BREAK_SHORT, BREAK_LONG, BREAK_DAILY_LIMIT, 4, -1 };
    for (int step = 0; step < 120; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        HWND open = OpenAlert();
        switch (rng() % 6) {
        case 0:
        case 1: {
            int kind = kinds[rng() % 6];
            int type = types[rng() % 6];
            if (kind >= 0 && kind <= 3) g_breakSettings.aBreaks[kind].nAlertType = type;
            bool valid = kind >= 0 && kind <= 3 && type >= 0 && type <= 3;
            frame->ShowAlert(kind);
            if (valid && open) ++expectedSounds;
            if (valid) {
                pendingClick = nullptr;
                EXPECT_EQ(OpenPointers(), type == ALERT_BALLOON ? 0 : 1);
                EXPECT_EQ(frame->m_pSmallMsg != nullptr, type == ALERT_SLIDER);
                EXPECT_EQ(frame->m_pMessengerDlg != nullptr, type == ALERT_MESSAGE_BOX);
                EXPECT_EQ(frame->m_nLockKind, type == ALERT_SCREEN_LOCK ? kind : -1);
            } else {
                EXPECT_EQ(OpenAlert(), open);
            }
            break;
        }
        case 2:
            frame->CloseAlerts();
            if (open) ++expectedSounds;
            pendingClick = nullptr;
            break;
        case 3:
            // A click on the slider or message window asks for its close.
            if (open && !frame->m_pLockDlg) {
                ::SendMessageA(open, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 40));
                pendingClick = open;
            }
            break;
        case 4:
            Pump(30);
            if (pendingClick && pendingClick == open) ++expectedSounds;
            pendingClick = nullptr;
            break;
        case 5:
            // The window goes without the frame's doing (its owner went,
            // say): the pointer is cleared, no sound is due.
            if (open && rng() % 3 == 0) {
                ::DestroyWindow(open);
                pendingClick = nullptr;
            }
            break;
        }
        ExpectConsistent();
        EXPECT_EQ((int)world.sounds.size(), expectedSounds);
    }
}

TEST_F(Alerts, AMicroBreakWindowClosesItselfAfterTheMicroBreak)
{
    g_breakSettings.aBreaks[BREAK_MICRO].nDuration = 1;
    for (int type : { ALERT_SLIDER, ALERT_MESSAGE_BOX }) {
        SCOPED_TRACE(type);
        world.sounds.clear();
        g_breakSettings.aBreaks[BREAK_MICRO].nAlertType = type;
        frame->ShowAlert(BREAK_MICRO);
        ASSERT_EQ(OpenPointers(), 1);
        Pump(300);
        EXPECT_EQ(OpenPointers(), 1);
        DWORD start = ::GetTickCount();
        while (OpenPointers() && ::GetTickCount() - start < 5000) Pump(20);
        EXPECT_EQ(OpenPointers(), 0);
        EXPECT_EQ(world.sounds.size(), 1u);
        ExpectConsistent();
    }
    // A short break's window stays.
    g_breakSettings.aBreaks[BREAK_SHORT].nAlertType = ALERT_MESSAGE_BOX;
    g_breakSettings.aBreaks[BREAK_SHORT].nDuration = 1;
    frame->ShowAlert(BREAK_SHORT);
    Pump(1600);
    EXPECT_NE(frame->m_pMessengerDlg, nullptr);
}

TEST_F(Alerts, AClickClosesSliderAndMessageWindowThroughTheFrame)
{
    for (int type : { ALERT_SLIDER, ALERT_MESSAGE_BOX }) {
        SCOPED_TRACE(type);
        world.sounds.clear();
        g_breakSettings.aBreaks[BREAK_LONG].nAlertType = type;
        frame->ShowAlert(BREAK_LONG);
        HWND h = OpenAlert();
        ASSERT_NE(h, nullptr);
        RECT rc;
        ::GetClientRect(h, &rc);
        ::PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.right / 2, rc.bottom - 12));
        Pump(100);
        EXPECT_FALSE(::IsWindow(h));
        EXPECT_EQ(OpenPointers(), 0);
        EXPECT_EQ(world.sounds.size(), 1u);
    }
    // Enter or Escape on the message window is a click too.
    g_breakSettings.aBreaks[BREAK_LONG].nAlertType = ALERT_MESSAGE_BOX;
    frame->ShowAlert(BREAK_LONG);
    HWND h = OpenAlert();
    MSG msg = { h, WM_KEYDOWN, VK_ESCAPE, 0x00010001 };
    theApp.PreTranslateMessage(&msg);
    Pump(100);
    EXPECT_FALSE(::IsWindow(h));
    EXPECT_EQ(OpenPointers(), 0);
    EXPECT_EQ(world.sounds.size(), 2u);
}

TEST_F(Alerts, TheSlidersCloseBoxClosesWithoutTheSlideElsewhereWithIt)
{
    g_breakSettings.aBreaks[BREAK_SHORT].nAlertType = ALERT_SLIDER;
    const DWORD slideDown = AW_SLIDE | AW_VER_POSITIVE;

    frame->ShowAlert(BREAK_SHORT);
    CSmallMsg* p = frame->m_pSmallMsg;
    ASSERT_NE(p, nullptr);
    p->m_dwHideFlags = slideDown;
    RECT close = p->m_rcClose;
    EXPECT_GT(close.right, close.left);
    RECT client;
    p->GetClientRect(&client);
    EXPECT_LE(close.right, client.right);
    ::SendMessageA(p->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, client.bottom - 5));
    EXPECT_EQ(p->m_dwHideFlags, slideDown);
    Pump(100);
    EXPECT_EQ(frame->m_pSmallMsg, nullptr);

    frame->ShowAlert(BREAK_SHORT);
    p = frame->m_pSmallMsg;
    ASSERT_NE(p, nullptr);
    p->m_dwHideFlags = slideDown;
    close = p->m_rcClose;
    ::SendMessageA(p->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON,
                   MAKELPARAM((close.left + close.right) / 2, (close.top + close.bottom) / 2));
    EXPECT_EQ(p->m_dwHideFlags, 0u);
    Pump(100);
    EXPECT_EQ(frame->m_pSmallMsg, nullptr);
    EXPECT_EQ(world.sounds.size(), 2u);
}

TEST_F(Alerts, TheWindowThatHadTheKeyboardKeepsIt)
{
    HWND editor = ::CreateWindowExA(0, "EDIT", "typing here", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                    100, 100, 400, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(editor, nullptr);
    ::SetForegroundWindow(editor);
    ::SetFocus(editor);
    // X delivers the activation when it gets to it: a busy machine takes longer.
    ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == editor && ::GetFocus() == editor; }, 5000));
    for (int type : { ALERT_SLIDER, ALERT_MESSAGE_BOX }) {
        g_breakSettings.aBreaks[BREAK_SHORT].nAlertType = type;
        frame->ShowAlert(BREAK_SHORT);
        Pump(50);
        EXPECT_EQ(::GetForegroundWindow(), editor) << type;
        EXPECT_EQ(::GetFocus(), editor) << type;
    }
    frame->CloseAlerts();
    ::DestroyWindow(editor);
}

// A damaged store: an alert type outside 0 to 3 shows nothing, closes nothing.
TEST_F(Alerts, AnAlertTypeOutOfRangeShowsNothingAndChangesNothing)
{
    g_breakSettings.aBreaks[BREAK_SHORT].nAlertType = ALERT_MESSAGE_BOX;
    frame->ShowAlert(BREAK_SHORT);
    CMessengerDlg* open = frame->m_pMessengerDlg;
    ASSERT_NE(open, nullptr);
    for (int bad : { 4, -1, 1000000, INT_MIN }) {
        g_breakSettings.aBreaks[BREAK_LONG].nAlertType = bad;
        frame->ShowAlert(BREAK_LONG);
        EXPECT_EQ(frame->m_pMessengerDlg, open) << bad;
        EXPECT_EQ(frame->m_pSmallMsg, nullptr);
        EXPECT_EQ(frame->m_pLockDlg, nullptr);
        EXPECT_TRUE(::IsWindowVisible(open->m_hWnd));
    }
    // A kind out of range, likewise.
    frame->ShowAlert(4);
    frame->ShowAlert(-1);
    EXPECT_EQ(frame->m_pMessengerDlg, open);
    EXPECT_TRUE(world.sounds.empty());
    EXPECT_TRUE(boxes.boxes.empty());
    ExpectConsistent();
}

// Texts of any length are cut to their bound, and the balloon's is terminated.
TEST_F(Alerts, ALongMessageIsCutToItsBoundEverywhere)
{
    std::string huge(5000, 'k');
    for (BreakSpec& spec : g_breakSettings.aBreaks) spec.strMessage = huge.c_str();

    CString balloon = GetBalloonText(BREAK_DAILY_LIMIT);
    NOTIFYICONDATAA nid;
    EXPECT_EQ(balloon.GetLength(), (int)sizeof(nid.szInfo) - 1);
    EXPECT_EQ(std::string(GetBalloonText(BREAK_SHORT)), "Have a break...");
    EXPECT_EQ(GetAlertMessage(BREAK_SHORT).GetLength(), kMaxAlertText);
    EXPECT_EQ(std::string(GetAlertMessage(7)), "Please make a break.");

    g_breakSettings.aBreaks[BREAK_DAILY_LIMIT].nAlertType = ALERT_BALLOON;
    frame->ShowAlert(BREAK_DAILY_LIMIT);
    ASSERT_FALSE(g_balloons.empty());
    EXPECT_EQ(g_balloons.back(), huge.substr(0, sizeof(nid.szInfo) - 1));
    g_breakSettings.aBreaks[BREAK_SHORT].nAlertType = ALERT_SLIDER;
    frame->ShowAlert(BREAK_SHORT);
    ASSERT_NE(frame->m_pSmallMsg, nullptr);
    EXPECT_EQ(StaticText(frame->m_pSmallMsg->m_hWnd, IDC_SMALLMSG_TEXT), huge.substr(0, kMaxAlertText));
    g_breakSettings.aBreaks[BREAK_SHORT].nAlertType = ALERT_MESSAGE_BOX;
    frame->ShowAlert(BREAK_SHORT);
    ASSERT_NE(frame->m_pMessengerDlg, nullptr);
    frame->m_pMessengerDlg->UpdateWindow();
    g_breakSettings.aBreaks[BREAK_SHORT].nAlertType = ALERT_SCREEN_LOCK;
    frame->ShowAlert(BREAK_SHORT);
    ASSERT_NE(frame->m_pLockDlg, nullptr);
    EXPECT_EQ(StaticText(frame->m_pLockDlg->m_hWnd, IDC_LOCK_TEXT), huge.substr(0, kMaxAlertText));
    ExpectConsistent();
}

TEST_F(Alerts, ALongTranslatedMessageMakesTheWindowsLargerNotClipped)
{
    const char* longText =
        "Zeit fuer eine kurze Erholungspause: Stehen Sie auf, strecken Sie Arme und Ruecken, schauen Sie "
        "eine Weile aus dem Fenster in die Ferne und lassen Sie Ihre Augen ruhen, bevor Sie weiterarbeiten.";
    g_translator.m_map.SetAt("It's time for a short rest break.", longText);

    g_breakSettings.aBreaks[BREAK_SHORT].nAlertType = ALERT_SLIDER;
    frame->ShowAlert(BREAK_SHORT);
    ASSERT_NE(frame->m_pSmallMsg, nullptr);
    HWND h = frame->m_pSmallMsg->m_hWnd;
    EXPECT_EQ(StaticText(h, IDC_SMALLMSG_TEXT), longText);
    // The message's box holds all its lines, inside the window.
    HWND text = ::GetDlgItem(h, IDC_SMALLMSG_TEXT);
    RECT box, client;
    ::GetClientRect(text, &box);
    ::GetClientRect(h, &client);
    HDC dc = ::GetDC(text);
    HGDIOBJ old = ::SelectObject(dc, (HFONT)::SendMessageA(text, WM_GETFONT, 0, 0));
    RECT need = { 0, 0, box.right, 0 };
    ::DrawTextA(dc, longText, -1, &need, kAlertTextFormat | DT_CALCRECT);
    ::SelectObject(dc, old);
    ::ReleaseDC(text, dc);
    EXPECT_LE(need.bottom, box.bottom);
    RECT inParent;
    ::GetWindowRect(text, &inParent);
    ::MapWindowPoints(nullptr, h, (POINT*)&inParent, 2);
    EXPECT_LE(inParent.bottom, client.bottom);

    // The message window grows too (the template is 187 x 67 units).
    g_breakSettings.aBreaks[BREAK_SHORT].nAlertType = ALERT_MESSAGE_BOX;
    frame->ShowAlert(BREAK_SHORT);
    ASSERT_NE(frame->m_pMessengerDlg, nullptr);
    RECT plain;
    g_translator.m_map.RemoveAll();
    frame->ShowAlert(BREAK_SHORT);
    ::GetWindowRect(frame->m_pMessengerDlg->m_hWnd, &plain);
    g_translator.m_map.SetAt("It's time for a short rest break.", longText);
    frame->ShowAlert(BREAK_SHORT);
    RECT grown;
    ::GetWindowRect(frame->m_pMessengerDlg->m_hWnd, &grown);
    EXPECT_GT(grown.bottom - grown.top, plain.bottom - plain.top);
    CFont title, message;
    CreateMessengerFonts(title, message);
    RECT c;
    ::GetClientRect(frame->m_pMessengerDlg->m_hWnd, &c);
    HDC sdc = ::GetDC(nullptr);
    old = ::SelectObject(sdc, title);
    SIZE ts;
    ::GetTextExtentPoint32A(sdc, "Kestrabel", 9, &ts);
    ::SelectObject(sdc, message);
    RECT tr = MessengerTextRect(c, ts.cy);
    RECT fit = { 0, 0, tr.right - tr.left, 0 };
    ::DrawTextA(sdc, longText, -1, &fit, kAlertTextFormat | DT_CALCRECT);
    ::SelectObject(sdc, old);
    ::ReleaseDC(nullptr, sdc);
    EXPECT_LE(fit.bottom, tr.bottom - tr.top);
}

// A window that cannot be made leaves no pointer set behind.
TEST_F(Alerts, AWindowThatCannotBeMadeLeavesNoPointerAndTheNextAlertShows)
{
    for (int type : { ALERT_SLIDER, ALERT_MESSAGE_BOX, ALERT_SCREEN_LOCK }) {
        SCOPED_TRACE(type);
        g_breakSettings.aBreaks[BREAK_SHORT].nAlertType = type;
        {
            FailDialogCreation fail;
            frame->ShowAlert(BREAK_SHORT);
        }
        EXPECT_EQ(OpenPointers(), 0);
        EXPECT_EQ(frame->m_nLockKind, -1);
        frame->CloseAlerts();
        EXPECT_TRUE(world.sounds.empty());
        ExpectConsistent();

        frame->ShowAlert(BREAK_SHORT);
        EXPECT_EQ(OpenPointers(), 1);
        EXPECT_TRUE(::IsWindowVisible(OpenAlert()));
        frame->CloseAlerts();
        EXPECT_EQ(world.sounds.size(), 1u);
        world.sounds.clear();
    }
}

TEST_F(Alerts, OpeningAndClosingAgainAndAgainKeepsMemoryFlat)
{
    typedef BOOL(WINAPI * PFN)(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);
    HMODULE hPsapi = ::LoadLibraryA("psapi.dll");
    ASSERT_NE(hPsapi, nullptr);
    PFN getMemoryInfo = (PFN)(void*)::GetProcAddress(hPsapi, "GetProcessMemoryInfo");
    ASSERT_NE(getMemoryInfo, nullptr);
    auto privateBytes = [&] {
        PROCESS_MEMORY_COUNTERS_EX pmc = {};
        pmc.cb = sizeof(pmc);
        getMemoryInfo(::GetCurrentProcess(), (PROCESS_MEMORY_COUNTERS*)&pmc, sizeof(pmc));
        return (long long)pmc.PrivateUsage;
    };
    auto cycle = [&](int n) {
        for (int i = 0; i < n; ++i) {
            g_breakSettings.aBreaks[BREAK_SHORT].nAlertType = ALERT_MESSAGE_BOX + i % 2;
            frame->ShowAlert(BREAK_SHORT);
            ::RedrawWindow(OpenAlert(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            frame->CloseAlerts();
        }
    };
    cycle(4);
    long long before = privateBytes();
    cycle(16);
    long long grown = privateBytes() - before;
    // Each lock copies the screen (5 MB here): a lost copy would show at once.
    EXPECT_LT(grown, 4 * 1024 * 1024);
}
