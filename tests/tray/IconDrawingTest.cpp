// The icon as drawn into the frame's bitmap: colours, pulse, break colours,
// border, pause mark, the status texts, and many redraws without a leak.
#include "TraySupport.h"
#include "support/FakeWorld.h"
#include "engine/MainFrame.h"
#include "app/Settings.h"
#include "services/Translator.h"
#include "ui/Dashboard.h"
#include "res/resource.h"
#include <gtest/gtest.h>
#include <map>

namespace {
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kYellow = RGB(255, 255, 0);

class IconDrawingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        keyboard = g_trackKeyboard;
        mouse = g_trackMouse;
        border = g_3dBorder;
        font = g_trayLogFont;
        g_trackKeyboard = g_trackMouse = false;
        g_3dBorder = false;
        g_trayIconRetries = 0;
        g_translator.m_map.RemoveAll();
        frame = new CMainFrame;
        ASSERT_TRUE(frame->Create(nullptr, "Kestrabel", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, nullptr, nullptr));
        w = ::GetSystemMetrics(SM_CXSMICON);
        h = ::GetSystemMetrics(SM_CYSMICON);
        Working(20, 20);
    }
    void TearDown() override
    {
        if (frame) frame->DestroyWindow();
        g_trayIcon.RemoveIcon();
        g_trayIconRetries = 0;
        g_modalOpen = false;
        g_pulseCount = 0;
        g_trackKeyboard = keyboard;
        g_trackMouse = mouse;
        g_3dBorder = border;
        g_trayLogFont = font;
        g_translator.m_map.RemoveAll();
    }
    void Working(int left, int period, DWORD extra = 0)
    {
        frame->StopPulse();
        frame->m_dwState = STATE_WORKING | extra;
        frame->m_nMinutesLeft = left;
        frame->m_nPeriodMinutes = period;
        frame->m_bScreenSaver = frame->m_bSessionLocked = false;
    }
    void OnBreak(int kind, int left)
    {
        frame->StopPulse();
        frame->m_dwState = 0;
        frame->m_nCurrentBreak = kind;
        frame->m_nMinutesLeft = left;
        frame->m_nPeriodMinutes = left;
        frame->m_bScreenSaver = frame->m_bSessionLocked = false;
    }
    COLORREF Pixel(int x, int y) const { return frame->m_dcIcon.GetPixel(x, y); }
    // The colours of the square apart from its background, with their counts.
    std::map<COLORREF, int> Ink(COLORREF background) const
    {
        std::map<COLORREF, int> ink;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (Pixel(x, y) != background) ++ink[Pixel(x, y)];
        return ink;
    }
    // The number is drawn in exactly this colour (smoothed edges, if any,
    // lie between it and the background).
    void ExpectNumberColour(COLORREF background, COLORREF text)
    {
        std::map<COLORREF, int> ink = Ink(background);
        ASSERT_FALSE(ink.empty()) << "no number drawn";
        COLORREF most = ink.begin()->first;
        for (auto& kv : ink)
            if (kv.second > ink[most]) most = kv.first;
        EXPECT_EQ(most, text) << std::hex << most;
        for (auto& kv : ink) {
            for (int shift : { 0, 8, 16 }) {
                int c = (kv.first >> shift) & 255, lo = (background >> shift) & 255, hi = (text >> shift) & 255;
                EXPECT_TRUE(c >= std::min(lo, hi) && c <= std::max(lo, hi)) << std::hex << kv.first;
            }
        }
    }
    void Redraw() { frame->UpdateTrayIcon(); }

    FakeWorld world;
    ShellRecorder shell;
    MessageBoxRecorder boxes{ IDYES };
    CMainFrame* frame = nullptr;
    int w = 16, h = 16;
    bool keyboard, mouse, border;
    LOGFONTA font;
};

// When KS_ICON_SHOTS names a folder, the icon is written there as a BMP.
void SaveIcon(CMainFrame* frame, const char* name)
{
    char dir[MAX_PATH];
    DWORD n = ::GetEnvironmentVariableA("KS_ICON_SHOTS", dir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    int w = ::GetSystemMetrics(SM_CXSMICON), h = ::GetSystemMetrics(SM_CYSMICON);
    int stride = (w * 3 + 3) & ~3;
    std::string bits((size_t)stride * h, '\0');
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            COLORREF c = frame->m_dcIcon.GetPixel(x, y);
            char* p = &bits[(size_t)(h - 1 - y) * stride + x * 3];
            p[0] = (char)GetBValue(c);
            p[1] = (char)GetGValue(c);
            p[2] = (char)GetRValue(c);
        }
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof(ih);
    ih.biWidth = w;
    ih.biHeight = h;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(ih);
    fh.bfSize = fh.bfOffBits + (DWORD)bits.size();
    std::string file((const char*)&fh, sizeof(fh));
    file.append((const char*)&ih, sizeof(ih));
    file += bits;
    WriteFileBytes(std::string(dir) + "\\" + name + ".bmp", file);
}
}

TEST_F(IconDrawingTest, WorkColoursRunFromGreenOverYellowToRed)
{
    struct Case { int left, period; COLORREF text; const char* shot; };
    const Case cases[] = {
        { 20, 20, RGB(0, 255, 0), "work-start" },   // start of the period
        { 10, 20, RGB(255, 255, 0), "work-middle" }, // half-way
        { 15, 20, RGB(128, 255, 0), nullptr },       // red 5*512/20 = 128, green 384 -> 255
        { 0, 20, RGB(255, 0, 0), "work-end" },       // end
        { 30, 25, RGB(0, 255, 0), "work-postponed" }, // postponed beyond the period
        { 3, 20, RGB(255, 76, 0), nullptr },         // red 17*512/20 = 435 -> 255, green 76.8 -> 76
        { 2000000000, 1, RGB(0, 255, 0), nullptr },  // far beyond any int once scaled
    };
    for (const Case& c : cases) {
        Working(c.left, c.period);
        Redraw();
        SCOPED_TRACE(c.left);
        EXPECT_EQ(Pixel(0, 0), kBlack);
        ExpectNumberColour(kBlack, c.text);
        if (c.shot) SaveIcon(frame, c.shot);
    }
}

TEST_F(IconDrawingTest, BreakColoursAndTheScreenSaverStyle)
{
    OnBreak(BREAK_LONG, 5);
    Redraw();
    EXPECT_EQ(Pixel(0, 0), RGB(0, 192, 0));
    ExpectNumberColour(RGB(0, 192, 0), RGB(255, 255, 255));
    SaveIcon(frame, "break-long");
    EXPECT_STREQ(g_strDashboardStatus, "5 minutes left to rest...");

    OnBreak(BREAK_SHORT, 2);
    Redraw();
    EXPECT_EQ(Pixel(0, 0), RGB(0, 127, 255));
    ExpectNumberColour(RGB(0, 127, 255), RGB(255, 255, 255));
    SaveIcon(frame, "break-short");

    // A break while the screen saver runs is drawn in the work style; with a
    // break under a minute the period is 0 and the number stays dark.
    OnBreak(BREAK_SHORT, 0);
    frame->m_bScreenSaver = true;
    Redraw();
    EXPECT_TRUE(Ink(kBlack).empty());
    frame->m_bScreenSaver = false;
    frame->m_bSessionLocked = true;
    frame->m_nMinutesLeft = 1;
    frame->m_nPeriodMinutes = 2;
    Redraw();
    ExpectNumberColour(kBlack, RGB(255, 255, 0));
}

TEST_F(IconDrawingTest, PulseScalesTheNumberByTheBrightnessTable)
{
    const int percent[10] = { 86, 50, 0, 0, 50, 86, 100, 100, 100, 100 };
    Working(1, 25);   // red 24*512/25 -> 255, green 512/25 = 20.48 -> 20
    frame->StartPulse();
    for (int step = 0; step < 20; ++step) {
        g_pulseCount = step;
        Redraw();
        SCOPED_TRACE(step);
        int p = percent[step % 10];
        if (p == 0) {
            EXPECT_TRUE(Ink(kBlack).empty());
        } else {
            ExpectNumberColour(kBlack, RGB(255 * p / 100, 20 * p / 100, 0));
        }
        if (step < 10) SaveIcon(frame, ("pulse-" + std::to_string(step)).c_str());
    }
    frame->StopPulse();
    g_pulseCount = 2;   // the count no longer matters
    Redraw();
    ExpectNumberColour(kBlack, RGB(255, 20, 0));
}

TEST_F(IconDrawingTest, PauseMarkFillsTheLowerRightQuadrantWithTwoBars)
{
    const int hx = w / 2, hy = h / 2;
    const int bar1 = hx + hx / 3, bar2 = hx + (2 * hx) / 3;
    const int top = hy + hy / 5, bottom = hy + (4 * hy) / 5;
    struct Case { DWORD state; bool modal; const char* status; const char* shot; };
    const Case cases[] = {
        { STATE_WORKING | STATE_PAUSED, false, "Paused", "paused" },
        { STATE_WORKING | STATE_AUTOPAUSED, false, "Auto-paused", nullptr },
        { STATE_WORKING, true, "Paused", nullptr },
        { STATE_WORKING | STATE_PAUSED | STATE_AUTOPAUSED, false, "Auto-paused", nullptr },
    };
    for (const Case& c : cases) {
        Working(8, 20);
        frame->m_dwState = c.state;
        g_modalOpen = c.modal;
        Redraw();
        SCOPED_TRACE(c.status);
        EXPECT_STREQ(g_strDashboardStatus, c.status);
        for (int y = hy; y < h; ++y)
            for (int x = hx; x < w; ++x) {
                bool onBar = (x == bar1 || x == bar2) && y >= top && y < bottom;
                EXPECT_EQ(Pixel(x, y), onBar ? kBlack : kYellow) << x << "," << y;
            }
        // Outside the quadrant no yellow of the mark.
        EXPECT_NE(Pixel(hx - 1, h - 1), kYellow);
        EXPECT_NE(Pixel(w - 1, hy - 1), kYellow);
        if (c.shot) SaveIcon(frame, c.shot);
    }
    g_modalOpen = false;
    if (w == 16 && h == 16) {
        EXPECT_EQ(bar1, 10);
        EXPECT_EQ(bar2, 13);
        EXPECT_EQ(top, 9);
        EXPECT_EQ(bottom, 14);
    }
}

TEST_F(IconDrawingTest, BorderIsSunkenOnTheSquaresEdge)
{
    COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW), light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    ASSERT_NE(shadow, light);
    g_3dBorder = true;
    OnBreak(BREAK_SHORT, 3);
    Redraw();
    SaveIcon(frame, "border");
    for (int i = 0; i < w - 1; ++i) EXPECT_EQ(Pixel(i, 0), shadow) << i;
    for (int i = 0; i < h - 1; ++i) EXPECT_EQ(Pixel(0, i), shadow) << i;
    for (int i = 0; i < h; ++i) EXPECT_EQ(Pixel(w - 1, i), light) << i;
    for (int i = 0; i < w; ++i) EXPECT_EQ(Pixel(i, h - 1), light) << i;
    EXPECT_EQ(Pixel(1, 1), RGB(0, 127, 255));
    g_3dBorder = false;
    Redraw();
    EXPECT_EQ(Pixel(0, 0), RGB(0, 127, 255));
    EXPECT_EQ(Pixel(w - 1, h - 1), RGB(0, 127, 255));
}

TEST_F(IconDrawingTest, StatusTextsGoThroughTheTranslationSafely)
{
    Working(12, 20);
    frame->m_nNextBreak = BREAK_SHORT;
    Redraw();
    EXPECT_STREQ(g_strDashboardStatus, "12 minutes until next pause...");
    frame->m_nNextBreak = BREAK_LONG;
    frame->m_nMinutesLeft = -3;
    Redraw();
    EXPECT_STREQ(g_strDashboardStatus, "0 minutes until next long pause...");

    g_translator.m_map.SetAt("%d minutes until next %s...", "Noch %d Minuten bis zur %s...");
    g_translator.m_map.SetAt("long pause", "langen Pause");
    frame->m_nMinutesLeft = 12;
    Redraw();
    EXPECT_STREQ(g_strDashboardStatus, "Noch 12 Minuten bis zur langen Pause...");

    // A translation whose conversions differ would hand the number to %s:
    // the English pattern is used instead.
    g_translator.m_map.SetAt("%d minutes until next %s...", "%s: noch %d Minuten");
    g_translator.m_map.SetAt("%d minutes left to rest...", "%s %s %s");
    Redraw();
    EXPECT_STREQ(g_strDashboardStatus, "12 minutes until next langen Pause...");
    OnBreak(BREAK_SHORT, 4);
    Redraw();
    EXPECT_STREQ(g_strDashboardStatus, "4 minutes left to rest...");
}

TEST_F(IconDrawingTest, FirstIconBalloonAndTaskbarRestart)
{
    // The icon the frame made at creation.
    EXPECT_TRUE(g_trayIcon.m_bCreated);
    EXPECT_EQ(g_trayIcon.m_nid.hWnd, frame->m_hWnd);
    EXPECT_EQ(g_trayIcon.m_nid.uID, (UINT)IDR_TRAY_MENU);
    EXPECT_EQ(g_trayIcon.m_pOwner, frame);
    ASSERT_FALSE(shell.Of(NIM_ADD).empty());
    EXPECT_EQ(shell.Of(NIM_ADD)[0].nid.uCallbackMessage, (UINT)WM_TRAY_NOTIFY);
    EXPECT_STREQ(shell.Of(NIM_ADD)[0].nid.szTip, "Kestrabel");

    // A redraw replaces the image under the same id; one that draws the
    // same pixels again (every second of an auto-pause) asks nothing of the
    // shell, until the icon is added anew.
    shell.calls.clear();
    frame->m_nMinutesLeft += 1;
    Redraw();
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].message, (DWORD)NIM_MODIFY);
    EXPECT_NE(shell.calls[0].nid.hIcon, nullptr);
    Redraw();
    EXPECT_EQ(shell.calls.size(), 1u);
    frame->m_nMinutesLeft -= 1;
    Redraw();
    EXPECT_EQ(shell.calls.size(), 2u);

    // A balloon: the icon is removed and added again with the balloon.
    BreakSettings saved = g_breakSettings;
    g_breakSettings.aBreaks[BREAK_SHORT].nInterval = 20;
    g_translator.m_map.SetAt("Kestrabel", "Kestrabel!");
    shell.calls.clear();
    frame->ShowBalloon("Time for a break");
    ASSERT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(shell.calls[0].message, (DWORD)NIM_DELETE);
    const NOTIFYICONDATAA& b = shell.calls[1].nid;
    EXPECT_EQ(shell.calls[1].message, (DWORD)NIM_ADD);
    EXPECT_EQ(b.uID, (UINT)IDR_TRAY_MENU);
    EXPECT_EQ(b.uFlags, (UINT)(NIF_MESSAGE | NIF_ICON | NIF_INFO));
    EXPECT_STREQ(b.szInfo, "Time for a break");
    EXPECT_STREQ(b.szInfoTitle, "Kestrabel!");
    EXPECT_EQ(b.uTimeout, 20u * 60000u);
    EXPECT_EQ(b.dwInfoFlags, (DWORD)NIIF_INFO);
    EXPECT_NE(b.hIcon, nullptr);
    EXPECT_TRUE(boxes.boxes.empty());
    ASSERT_NE(g_trayIcon.GetMenu()->GetSubMenu(0), nullptr);

    // A balloon that fails says so; the next redraw adds the plain icon.
    shell.addResult = FALSE;
    frame->ShowBalloon("again");
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "ShowTooltip: Failed to create tray icon");
    EXPECT_EQ(boxes.boxes[0].type & MB_ICONMASK, (UINT)MB_ICONSTOP);
    EXPECT_FALSE(g_trayIcon.m_bCreated);
    shell.addResult = TRUE;
    shell.calls.clear();
    Redraw();
    EXPECT_TRUE(g_trayIcon.m_bCreated);
    ASSERT_GE(shell.calls.size(), 3u);
    EXPECT_EQ(shell.calls[0].message, (DWORD)NIM_DELETE);   // the failed balloon's id
    EXPECT_EQ(shell.calls[1].message, (DWORD)NIM_ADD);
    EXPECT_EQ(shell.calls[1].nid.uFlags, (UINT)(NIF_MESSAGE | NIF_ICON));

    // The shell restarted: its new taskbar gets the icon again.
    shell.calls.clear();
    frame->SendMessage(::RegisterWindowMessageA("TaskbarCreated"));
    ASSERT_FALSE(shell.Of(NIM_ADD).empty());
    EXPECT_EQ(shell.Of(NIM_ADD)[0].nid.hWnd, frame->m_hWnd);
    EXPECT_TRUE(g_trayIcon.m_bCreated);
    g_breakSettings = saved;
}

TEST_F(IconDrawingTest, TwentyThousandRedrawsStayCorrectAndLeakNothing)
{
    shell.keep = false;
    int calls = shell.count;
    long before = CountObjects().gdi;
    for (int i = 0; i < 20000; ++i) {
        switch (i % 5) {
        case 0: Working(20, 20); break;
        case 1: Working(1, 25); frame->StartPulse(); g_pulseCount = i; break;
        case 2: Working(7, 20, STATE_PAUSED); break;
        case 3: OnBreak(BREAK_LONG, 4); break;
        case 4: g_3dBorder = (i / 5) % 2 == 0; OnBreak(BREAK_SHORT, 1); break;
        }
        Redraw();
        if (i % 1000 == 0) frame->UpdateIconFont();
    }
    g_3dBorder = false;
    long after = CountObjects().gdi;
    // Drawing still works, exactly as before.
    Working(10, 20, STATE_PAUSED);
    Redraw();
    EXPECT_EQ(Pixel(w - 1, h - 1), kYellow);
    EXPECT_EQ(Pixel(w / 2 + w / 6, h / 2 + h / 10), kBlack);
    Working(20, 20);
    Redraw();
    ExpectNumberColour(kBlack, RGB(0, 255, 0));
    EXPECT_LT(after - before, 50) << "GDI objects leaked: " << (after - before);
    // Modifies only, never a new add; the font changes redraw a picture
    // the shell already has, which is not sent again.
    EXPECT_GE(shell.count - calls, 20000);
    EXPECT_LE(shell.count - calls, 20000 + 20 + 2);
}

TEST_F(IconDrawingTest, IconFontChangesTheNumber)
{
    Working(88, 100);
    Redraw();
    int smallInk = 0;
    for (auto& kv : Ink(kBlack)) smallInk += kv.second;
    g_trayLogFont.lfHeight = -16;
    g_trayLogFont.lfWeight = FW_BOLD;
    frame->UpdateIconFont();
    int bigInk = 0;
    for (auto& kv : Ink(kBlack)) bigInk += kv.second;
    EXPECT_GT(bigInk, smallInk);
    SaveIcon(frame, "font-bold");
}
