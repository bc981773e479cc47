#include "ui/SettingsSheet.h"
#include "app/Settings.h"
#include "controls/OpenUrl.h"
#include "engine/MainFrame.h"
#include "res/resource.h"
#include "services/Translator.h"
#include "tray/TrayNotifyIcon.h"
#include "ui/AboutPage.h"
#include "ui/AdvancedPage.h"
#include "ui/AlertPage.h"
#include "ui/Dashboard.h"
#include "ui/Placement.h"
#include "ui/SettingsPage.h"
#include "ui/StatisticsPage.h"
#include "ui/VisualsPage.h"
#include <climits>
#include <memory>
#include <vector>

RUN_SETTINGS_SHEET g_pfnRunSettingsSheet = RunSettingsSheetModal;
PFN_DRAWANIMATEDRECTS g_pfnDrawAnimatedRects = ::DrawAnimatedRects;

void RunSettingsSheet(CWnd* pParent, int startPage, BOOL welcome)
{
    g_pfnRunSettingsSheet(pParent, startPage, welcome);
}

// ---- the pages ----

CString HelpUrl(const char* pszPath)
{
    CString site(KS_UPDATE_SITE);
    while (!site.IsEmpty() && site[site.GetLength() - 1] == '/') site = site.Left(site.GetLength() - 1);
    return site + pszPath;
}

BEGIN_MESSAGE_MAP(CPageWithHelp, CPropertyPage)
    ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

CPageWithHelp::CPageWithHelp(UINT nIDTemplate, const char* pszHelpPath)
    : CPropertyPage(nIDTemplate), m_strHelpUrl(HelpUrl(pszHelpPath))
{
    m_psp.dwFlags |= PSP_HASHELP;
}

void CPageWithHelp::OnHelp()
{
    if (OpenUrl(m_strHelpUrl, SW_SHOW) <= 32) AfxMessageBeep(MB_ICONEXCLAMATION);
}

CWelcomePage::CWelcomePage()
    : CPageWithHelp(IDD_WELCOME_PAGE, "/manual/?welcome")
{
}

void CWelcomePage::DoDataExchange(CDataExchange* pDX)
{
    CPageWithHelp::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WELCOME_TITLE, m_title);
}

LOGFONTA WelcomeTitleFont(const LOGFONTA& dialogFont)
{
    LOGFONTA lf = dialogFont;
    lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
    lf.lfWeight = FW_BOLD;
    lf.lfHeight = lf.lfHeight * 3 / 2;
    return lf;
}

BOOL CWelcomePage::OnInitDialog()
{
    CPageWithHelp::OnInitDialog();
    g_translator.TranslateWindow(this);
    // A page font that cannot be read leaves the title in the dialog font.
    LOGFONTA lf;
    HFONT hFont = GetFont();
    if (hFont && ::GetObjectA(hFont, sizeof(lf), &lf) == (int)sizeof(lf)) {
        LOGFONTA title = WelcomeTitleFont(lf);
        if (m_titleFont.CreateFontIndirect(&title)) m_title.SetFont(m_titleFont, TRUE);
    }
    return TRUE;
}

// ---- the sheet ----

BOOL IsMinimizeAnimationOn()
{
    ANIMATIONINFO ai = {};
    ai.cbSize = sizeof(ai);
    if (!::SystemParametersInfoA(SPI_GETANIMATION, sizeof(ai), &ai, 0)) return FALSE;
    return ai.iMinAnimate != 0;
}

static bool Zooms()
{
    return g_forceAnimation || IsMinimizeAnimationOn();
}

SIZE StripSourceSize(int stripHeight)
{
    SIZE src = { kStripPictureWidth, kStripPictureHeight };
    if (stripHeight <= 0) return src;
    double d = kStripWidth / (double)kStripPictureWidth;
    double e = stripHeight / (double)kStripPictureHeight;
    if (d < e) src.cx = (LONG)(kStripPictureWidth / (e / d));
    else src.cy = (LONG)(kStripPictureHeight / (d / e));
    return src;
}

void TranslateTabTitles(HWND hTab)
{
    if (!hTab) return;
    for (int i = (int)::SendMessageA(hTab, TCM_GETITEMCOUNT, 0, 0) - 1; i >= 0; --i) {
        char text[256] = "";
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = (int)sizeof(text);
        if (!::SendMessageA(hTab, TCM_GETITEMA, (WPARAM)i, (LPARAM)&item)) continue;
        text[sizeof(text) - 1] = '\0';
        CString value;
        if (!g_translator.m_map.Lookup(text, value)) continue;
        lstrcpynA(text, value, (int)sizeof(text));
        item.pszText = text;
        ::SendMessageA(hTab, TCM_SETITEMA, (WPARAM)i, (LPARAM)&item);
    }
}

BEGIN_MESSAGE_MAP(CMyPropertySheet, CPropertySheet)
    ON_MESSAGE(WM_NCCALCSIZE, OnNcCalcSize)
    ON_MESSAGE(WM_NCPAINT, OnNcPaint)
    ON_WM_MOVE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CMyPropertySheet::CMyPropertySheet(const char* pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage)
{
    EnableStackedTabs(FALSE);
    m_psh.dwFlags |= PSH_HASHELP;
    SuppressDashboard();
}

CMyPropertySheet::~CMyPropertySheet()
{
    --g_dashboardSuppress;
    ShowDashboardIfPinned();
}

// The library lays the buttons out for the width the strip took away; they
// move right so that the last one ends where the tabs end.
static void AlignButtonsWithTabs(HWND hSheet, HWND hTab)
{
    RECT tab;
    if (!hTab || !::GetWindowRect(hTab, &tab)) return;
    std::vector<HWND> buttons;
    LONG right = LONG_MIN;
    for (HWND h = ::GetWindow(hSheet, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        char cls[16] = "";
        ::GetClassNameA(h, cls, sizeof(cls));
        RECT rc;
        if (lstrcmpiA(cls, "Button") != 0 || !::GetWindowRect(h, &rc)) continue;
        buttons.push_back(h);
        if ((::GetWindowLongPtrA(h, GWL_STYLE) & WS_VISIBLE) && rc.right > right) right = rc.right;
    }
    LONG dx = tab.right - right;
    if (buttons.empty() || right == LONG_MIN || dx <= 0) return;
    for (HWND h : buttons) {
        RECT rc;
        ::GetWindowRect(h, &rc);
        ::MapWindowPoints(nullptr, hSheet, (POINT*)&rc, 2);
        ::SetWindowPos(h, nullptr, rc.left + dx, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

BOOL CMyPropertySheet::OnInitDialog()
{
    m_bPlaced = false;
    BOOL result = CPropertySheet::OnInitDialog();
    CRect rc;
    GetWindowRect(&rc);
    ModifyStyleEx(0, WS_EX_APPWINDOW);
    SetWindowPos(nullptr, 0, 0, rc.Width() + kStripWidth, rc.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    AlignButtonsWithTabs(m_hWnd, GetTabControl());
    g_translator.TranslateWindow(this);
    TranslateTabTitles(GetTabControl());
    RECT tray = {};
    PlaceBesideTray(this, g_dialogMoved, g_dialogXPos, g_dialogYPos, &tray);
    if (Zooms()) {
        GetWindowRect(&rc);
        g_pfnDrawAnimatedRects(m_hWnd, IDANI_CAPTION, &tray, &rc);
    }
    m_bPlaced = true;
    return result;
}

LRESULT CMyPropertySheet::OnNcCalcSize(WPARAM wParam, LPARAM lParam)
{
    LRESULT r = DefWindowProc(WM_NCCALCSIZE, wParam, lParam);
    if (wParam && lParam) {
        // The strip opens between the frame and the pages; an empty client
        // area (a minimized sheet) stays empty.
        RECT& client = ((NCCALCSIZE_PARAMS*)lParam)->rgrc[0];
        client.left = client.left + kStripWidth < client.right ? client.left + kStripWidth : client.right;
    }
    return r;
}

LRESULT CMyPropertySheet::OnNcPaint(WPARAM wParam, LPARAM lParam)
{
    LRESULT r = DefWindowProc(WM_NCPAINT, wParam, lParam);
    CRect client;
    GetClientRect(&client);
    RECT strip = { 0, 0, kStripWidth, client.Height() };
    ::OffsetRect(&strip, ::GetSystemMetrics(SM_CXDLGFRAME),
                 ::GetSystemMetrics(SM_CYDLGFRAME) + ::GetSystemMetrics(SM_CYCAPTION));
    HDC dc = ::GetWindowDC(m_hWnd);
    if (!dc) return r;
    // A picture that cannot be loaded leaves the strip as the frame drew it.
    HBITMAP bmp = AfxLoadPicture(AfxGetResourceHandle(), IDB_SHEET_STRIP, "PNG");
    HDC mem = bmp ? ::CreateCompatibleDC(dc) : nullptr;
    if (mem) {
        HGDIOBJ old = ::SelectObject(mem, bmp);
        SIZE src = StripSourceSize(client.Height());
        int oldMode = ::SetStretchBltMode(dc, HALFTONE);
        POINT oldOrg;
        ::SetBrushOrgEx(dc, 0, 0, &oldOrg);
        ::StretchBlt(dc, strip.left, strip.top, kStripWidth, strip.bottom - strip.top, mem, 0, 0, src.cx, src.cy, SRCCOPY);
        ::SetStretchBltMode(dc, oldMode);
        ::SetBrushOrgEx(dc, oldOrg.x, oldOrg.y, nullptr);
        ::SelectObject(mem, old);
        ::DeleteDC(mem);
        ::DrawEdge(dc, &strip, EDGE_ETCHED, BF_RIGHT);
    }
    if (bmp) ::DeleteObject(bmp);
    ::ReleaseDC(m_hWnd, dc);
    return r;
}

void CMyPropertySheet::OnMove(int, int)
{
    if (!m_bPlaced) return;
    CRect rc;
    GetWindowRect(&rc);
    g_dialogMoved = true;
    g_dialogXPos = rc.left;
    g_dialogYPos = rc.top;
}

void CMyPropertySheet::OnDestroy()
{
    if (Zooms()) {
        CRect rc;
        GetWindowRect(&rc);
        RECT tray;
        GetTrayRect(&tray);
        g_pfnDrawAnimatedRects(m_hWnd, IDANI_CAPTION, &rc, &tray);
    }
    if (g_firstRun) {
        if (CMainFrame* pFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd()))
            pFrame->ShowBalloon(g_translator.Translate("Kestrabel will continue to run in the background. To exit it completely, right-click the tray icon and select \"Exit\" from the context menu."));
        g_firstRun = false;
    }
}

// ---- the run ----

void RunSettingsSheetModal(CWnd* pParent, int startPage, BOOL welcome)
{
    CMyPropertySheet sheet(g_translator.Translate("Kestrabel"), pParent, (UINT)(startPage < 0 ? 0 : startPage));
    std::unique_ptr<CWelcomePage> pWelcome;
    if (welcome) {
        pWelcome.reset(new CWelcomePage);
        sheet.AddPage(pWelcome.get());
    }
    // The pages in tab order. A page that is still a plain CPageWithHelp
    // shows its (empty) template until its own class takes its place here.
    CSettingsPage times;
    CAlertPage sound;
    CAdvancedPage tracking;
    CVisualsPage misc;
    CStatisticsPage statistics;
    CAboutPage about;
    for (CPropertyPage* page : { (CPropertyPage*)&times, (CPropertyPage*)&sound, (CPropertyPage*)&tracking,
                                 (CPropertyPage*)&misc, (CPropertyPage*)&statistics, (CPropertyPage*)&about })
        sheet.AddPage(page);
    sheet.DoModal();
}
