// The settings sheet: its strip and size, the remembered position, the zoom,
// translated tabs, Help on every page and the welcome title.
#include "ui/UiTest.h"
#include "app/Product.h"
#include "app/Settings.h"
#include "controls/OpenUrl.h"
#include "res/resource.h"
#include "services/Translator.h"
#include "ui/AboutPage.h"
#include "ui/AdvancedPage.h"
#include "ui/AlertPage.h"
#include "ui/Dashboard.h"
#include "ui/SettingsPage.h"
#include "ui/SettingsSheet.h"
#include "ui/StatisticsPage.h"
#include "ui/VisualsPage.h"
#include <gtest/gtest.h>

namespace {
struct Zoom { int ani; RECT from, to; };
std::vector<Zoom> s_zooms;
BOOL WINAPI RecordZoom(HWND, int ani, const RECT* from, const RECT* to)
{
    s_zooms.push_back({ ani, *from, *to });
    return TRUE;
}
std::vector<std::string> s_opened;
HINSTANCE s_shellAnswer;
HINSTANCE WINAPI RecordOpen(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT)
{
    s_opened.push_back(file ? file : "");
    return s_shellAnswer;
}
UINT WINAPI RefuseWinExec(LPCSTR, UINT) { return 2; }

class SettingsSheetTest : public ::testing::Test {
protected:
    CPageWithHelp times{ IDD_TIMES_PAGE, "/manual/TimesPage.html?help=1" };
    CPageWithHelp about{ IDD_ABOUT_PAGE, "/manual/AboutPage.html?help=1" };
    MessageBoxRecorder boxes;
    BeepCounter beep{ MB_ICONEXCLAMATION };
    Keep keep{ g_pfnShellExecuteA, g_pfnWinExec, g_pfnDrawAnimatedRects, g_dialogMoved, g_dialogXPos, g_dialogYPos,
               g_forceAnimation, g_firstRun };
    void SetUp() override
    {
        s_zooms.clear();
        s_opened.clear();
        s_shellAnswer = (HINSTANCE)42;
        g_pfnDrawAnimatedRects = RecordZoom;
        g_pfnShellExecuteA = RecordOpen;
        g_pfnWinExec = RefuseWinExec;
        g_dialogMoved = g_forceAnimation = g_firstRun = false;
    }
    void TearDown() override { g_translator.m_map.RemoveAll(); }
    // Times, the extra page and About in the program's sheet.
    void Run(const std::function<void(CMyPropertySheet*)>& script, CPageWithHelp* extra = nullptr)
    {
        CMyPropertySheet sheet("Kestrabel", nullptr, 0);
        sheet.AddPage(&times);
        if (extra) sheet.AddPage(extra);
        sheet.AddPage(&about);
        RunSheet(sheet, [&](HWND) { if (script) script(&sheet); });
    }
};

int PlainSheetWidth(CPropertyPage* page)
{
    CPropertySheet sheet;
    sheet.m_psh.dwFlags |= PSH_HASHELP;
    sheet.AddPage(page);
    RECT rc = {};
    RunSheet(sheet, [&](HWND h) { ::GetWindowRect(h, &rc); });
    return rc.right - rc.left;
}
}

TEST_F(SettingsSheetTest, StripWidensTheSheetAndIsPainted)
{
    int plain = PlainSheetWidth(&times);
    int width = 0, clientLeft = 0, clientTop = 0;
    DWORD exStyle = 0;
    COLORREF stripPixel = 0;
    int suppressed = 0, before = g_dashboardSuppress;
    bool buttonsBesideStrip = false, smallClientOk = false;
    Run([&](CMyPropertySheet* s) {
        CRect rc;
        s->GetWindowRect(&rc);
        width = rc.Width();
        POINT origin = { 0, 0 };
        s->ClientToScreen(&origin);
        clientLeft = origin.x - rc.left;
        clientTop = origin.y - rc.top;
        exStyle = s->GetExStyle();
        s->SendMessage(WM_NCPAINT, 1);
        HDC dc = ::GetWindowDC(s->m_hWnd);
        stripPixel = ::GetPixel(dc, clientLeft - 65, clientTop + 40);
        ::ReleaseDC(s->m_hWnd, dc);
        suppressed = g_dashboardSuppress;
        RECT tab, ok, help;
        ::GetWindowRect(s->GetTabControl(), &tab);
        ::GetWindowRect(::GetDlgItem(s->m_hWnd, IDOK), &ok);
        ::GetWindowRect(::GetDlgItem(s->m_hWnd, IDHELP), &help);
        buttonsBesideStrip = ok.left >= origin.x && help.right == tab.right;
        // A window too small for the strip (as when minimized) keeps an
        // empty client area, not one turned the wrong way round.
        NCCALCSIZE_PARAMS params = {};
        params.rgrc[0] = RECT{ 0, 0, 60, 40 };
        params.rgrc[1] = params.rgrc[2] = params.rgrc[0];
        s->SendMessage(WM_NCCALCSIZE, TRUE, (LPARAM)&params);
        smallClientOk = params.rgrc[0].left <= params.rgrc[0].right;
    });
    EXPECT_TRUE(smallClientOk);
    EXPECT_TRUE(buttonsBesideStrip);
    EXPECT_EQ(width, plain + kStripWidth);
    EXPECT_EQ(clientLeft, ::GetSystemMetrics(SM_CXDLGFRAME) + kStripWidth);
    EXPECT_EQ(clientTop, ::GetSystemMetrics(SM_CYDLGFRAME) + ::GetSystemMetrics(SM_CYCAPTION));
    EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
    EXPECT_NE(stripPixel, ::GetSysColor(COLOR_3DFACE));
    EXPECT_NE(stripPixel, CLR_INVALID);
    EXPECT_EQ(suppressed, before + 1);
    EXPECT_EQ(g_dashboardSuppress, before);
}

TEST_F(SettingsSheetTest, OnlyMovesAfterThePlacementAreRemembered)
{
    bool movedAfterOpening = true;
    Run([&](CMyPropertySheet* s) {
        movedAfterOpening = g_dialogMoved;
        s->SetWindowPos(nullptr, 120, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    });
    EXPECT_FALSE(movedAfterOpening);
    EXPECT_TRUE(g_dialogMoved);   // also though the sheet was cancelled
    EXPECT_EQ(g_dialogXPos, 120);
    EXPECT_EQ(g_dialogYPos, 80);

    // Opened there again, at the remembered place.
    POINT at = {};
    Run([&](CMyPropertySheet* s) { CRect rc; s->GetWindowRect(&rc); at = rc.TopLeft(); });
    EXPECT_EQ(at.x, 120);
    EXPECT_EQ(at.y, 80);
}

TEST_F(SettingsSheetTest, ZoomOnlyWhenAnimatingOrForced)
{
    Run(nullptr);
    EXPECT_EQ(s_zooms.size(), IsMinimizeAnimationOn() ? 2u : 0u);
    s_zooms.clear();
    g_forceAnimation = true;
    RECT window = {};
    Run([&](CMyPropertySheet* s) { s->GetWindowRect(&window); });
    g_forceAnimation = false;
    ASSERT_EQ(s_zooms.size(), 2u);
    EXPECT_EQ(s_zooms[0].ani, IDANI_CAPTION);
    EXPECT_TRUE(::EqualRect(&s_zooms[0].to, &window));     // out of the tray
    EXPECT_TRUE(::EqualRect(&s_zooms[1].from, &window));   // and back into it
    EXPECT_TRUE(::EqualRect(&s_zooms[0].from, &s_zooms[1].to));
    EXPECT_EQ(s_zooms[1].ani, IDANI_CAPTION);
}

TEST_F(SettingsSheetTest, TabTitlesAndTextsAreTranslated)
{
    std::string longTitle(300, 'L');
    g_translator.m_map.SetAt("Times", "Zeiten");
    g_translator.m_map.SetAt("About", longTitle.c_str());
    g_translator.m_map.SetAt("Cancel", "Abbrechen");
    std::vector<std::string> tabs;
    char cancel[64] = "";
    CPageWithHelp statistics(IDD_STATISTICS_PAGE, "/manual/StatisticsPage.html?help=1");
    Run([&](CMyPropertySheet* s) {
        HWND tab = s->GetTabControl();
        for (int i = 0; i < TabCtrl_GetItemCount(tab); ++i) {
            char text[400] = "";
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = sizeof(text);
            ::SendMessageA(tab, TCM_GETITEMA, i, (LPARAM)&item);
            tabs.push_back(text);
        }
        ::GetDlgItemTextA(s->m_hWnd, IDCANCEL, cancel, sizeof(cancel));
    }, &statistics);
    ASSERT_EQ(tabs.size(), 3u);
    EXPECT_EQ(tabs[0], "Zeiten");
    EXPECT_EQ(tabs[1], "Statistics");             // no translation: kept
    EXPECT_EQ(tabs[2], longTitle.substr(0, 255));
    EXPECT_STREQ(cancel, "Abbrechen");
}

TEST_F(SettingsSheetTest, HelpOpensEachPagesManualOrOnlyBeeps)
{
    CWelcomePage welcome;
    CSettingsPage timesPage;
    CAlertPage sound;
    CAdvancedPage tracking;
    CVisualsPage misc;
    CStatisticsPage statistics;
    CAboutPage aboutPage;
    const std::pair<CPageWithHelp*, const char*> pages[] = {
        { &welcome, "/manual/?welcome" }, { &timesPage, "/manual/TimesPage.html?help=1" },
        { &sound, "/manual/AlertPage.html?help=1" }, { &tracking, "/manual/TrackingPage.html?help=1" },
        { &misc, "/manual/MiscPage.html?help=1" }, { &statistics, "/manual/StatisticsPage.html?help=1" },
        { &aboutPage, "/manual/AboutPage.html?help=1" },
    };
    CString site(KS_UPDATE_SITE);
    site = site.Left(site.GetLength() - 1);
    for (const auto& p : pages) {
        SCOPED_TRACE(p.second);
        s_opened.clear();
        EXPECT_TRUE(p.first->m_psp.dwFlags & PSP_HASHELP);
        p.first->OnHelp();
        ASSERT_EQ(s_opened.size(), 1u);
        EXPECT_EQ(s_opened[0], std::string(site) + p.second);
    }
    s_shellAnswer = (HINSTANCE)2;
    times.OnHelp();
    EXPECT_EQ(beep.beeps, 1);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST(SettingsSheetParts, WelcomeTitleFontAndStripCut)
{
    LOGFONTA dialog = {};
    dialog.lfHeight = -11;
    dialog.lfWeight = FW_NORMAL;
    dialog.lfItalic = 1;
    strcpy(dialog.lfFaceName, "MS Sans Serif");
    LOGFONTA title = WelcomeTitleFont(dialog);
    EXPECT_EQ(title.lfHeight, -16);
    EXPECT_EQ(title.lfWeight, FW_BOLD);
    EXPECT_STREQ(title.lfFaceName, "Arial");
    EXPECT_EQ(title.lfItalic, 1);

    struct Cut { int height; LONG cx, cy; };
    const Cut cuts[] = {
        { 364, 242, 677 },    // the sheet's own strip: cut at the bottom
        { 1300, 68, 681 },    // a taller strip: cut at the right side
        { 0, 242, 681 },
    };
    for (const Cut& c : cuts) {
        SIZE s = StripSourceSize(c.height);
        EXPECT_EQ(s.cx, c.cx) << c.height;
        EXPECT_EQ(s.cy, c.cy) << c.height;
    }
}

TEST_F(SettingsSheetTest, AboutPageShowsLinksDisclaimerAndIcon)
{
    CAboutPage page;
    std::string disclaimer;
    LOGFONTA title = {}, home = {};
    COLORREF iconPixel = CLR_INVALID, face = ::GetSysColor(COLOR_3DFACE);
    AboutIcon icon = {};
    Run([&](CMyPropertySheet* s) {
        s->SendMessage(PSM_SETCURSEL, 1);
        char text[2048] = "";
        ::GetDlgItemTextA(page.m_hWnd, IDC_ABOUT_DISCLAIMER, text, sizeof(text));
        disclaimer = text;
        ::GetObjectA(page.m_titleLink.GetFont(), sizeof(title), &title);
        ::GetObjectA(page.m_homeLink.GetFont(), sizeof(home), &home);
        for (CHyperLink* link : { &page.m_titleLink, &page.m_homeLink }) {
            link->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
            link->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        }
        RECT rc;
        page.m_titleLink.GetWindowRect(&rc);
        ::MapWindowPoints(nullptr, page.m_hWnd, (POINT*)&rc, 2);
        icon = AboutIconBeside(rc.left);
        ::RedrawWindow(page.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        HDC dc = ::GetDC(page.m_hWnd);
        iconPixel = ::GetPixel(dc, icon.x + icon.size / 2, rc.top + icon.size / 4);
        ::ReleaseDC(page.m_hWnd, dc);
    }, &page);
    EXPECT_EQ(disclaimer.substr(0, 24), "DISCLAIMER:\r\n\r\nThis soft");
    EXPECT_EQ(disclaimer, std::string(page.m_strDisclaimer));
    EXPECT_NE(disclaimer.find("found in the Kestrabel directory, or contact support@example.com"), std::string::npos);
    EXPECT_FALSE(title.lfUnderline);
    EXPECT_LT(title.lfHeight, -20);            // 20 points
    EXPECT_TRUE(home.lfUnderline);
    EXPECT_EQ(s_opened, (std::vector<std::string>{ KS_HOME_PAGE, KS_HOME_PAGE }));
    EXPECT_NE(iconPixel, face);

    struct Beside { int left, size, x; };
    for (const Beside& b : { Beside{ 49, 32, 8 }, Beside{ 50, 48, 1 }, Beside{ 35, 16, 9 }, Beside{ 36, 32, 2 } }) {
        AboutIcon i = AboutIconBeside(b.left);
        EXPECT_EQ(i.size, b.size) << b.left;
        EXPECT_EQ(i.x, b.x) << b.left;
    }
}

TEST_F(SettingsSheetTest, TheRealRunStartsOnTheAskedPage)
{
    struct Start { int page; BOOL welcome; const char* caption; int tabs; };
    LOGFONTA welcomeTitle = {};
    for (const Start& s : { Start{ 0, FALSE, "Times", 6 }, Start{ 4, FALSE, "Statistics", 6 },
                            Start{ 5, FALSE, "About", 6 }, Start{ 0, TRUE, "Welcome!", 7 } }) {
        SCOPED_TRACE(s.caption);
        std::string caption;
        int tabs = 0;
        auto currentPage = [] { HWND h = ActiveSheet(); return h ? (HWND)::SendMessageA(h, PSM_GETCURRENTPAGEHWND, 0, 0) : nullptr; };
        WhenShown(currentPage, [&](HWND page) {
            char text[64] = "";
            ::GetWindowTextA(page, text, sizeof(text));
            caption = text;
            HFONT title = (HFONT)::SendDlgItemMessageA(page, IDC_WELCOME_TITLE, WM_GETFONT, 0, 0);
            if (title) ::GetObjectA(title, sizeof(welcomeTitle), &welcomeTitle);
            HWND sheet = ::GetParent(page);
            tabs = TabCtrl_GetItemCount((HWND)::SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
            ::PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        });
        RunSettingsSheetModal(nullptr, s.page, s.welcome);
        EXPECT_EQ(caption, s.caption);
        EXPECT_EQ(tabs, s.tabs);
    }
    // The welcome's title in its own font.
    EXPECT_STREQ(welcomeTitle.lfFaceName, "Arial");
    EXPECT_EQ(welcomeTitle.lfWeight, FW_BOLD);
}
