// The settings sheet and what every page of it shares:
//   CMyPropertySheet   the modal sheet: picture strip, Help, placement beside
//                      the tray, zoom, the first run's farewell balloon
//   CPageWithHelp      the base of every page: its help address, ID_HELP
//   CWelcomePage       the first page of the first run
// and the run of the sheet behind CMainFrame::ShowSettings.
#pragma once
#include "vfx.h"

// Builds the settings sheet (with the welcome page first when asked) and
// runs it modally over pParent, starting at startPage. Replaceable so that
// tests can watch what happens around the modal run.
typedef void (*RUN_SETTINGS_SHEET)(CWnd* pParent, int startPage, BOOL welcome);
extern RUN_SETTINGS_SHEET g_pfnRunSettingsSheet;
void RunSettingsSheet(CWnd* pParent, int startPage, BOOL welcome);
// The real run: the sheet with its pages in tab order.
void RunSettingsSheetModal(CWnd* pParent, int startPage, BOOL welcome);

// The address of a page of the manual: the product's site without its
// closing slash, then path.
CString HelpUrl(const char* pszPath);

class CPageWithHelp : public CPropertyPage {
public:
    CPageWithHelp(UINT nIDTemplate, const char* pszHelpPath);
    // The sheet's Help button: opens the page's manual page in the browser;
    // when that fails, an exclamation beep and nothing else.
    void OnHelp();
    CString m_strHelpUrl;
    DECLARE_MESSAGE_MAP()
};

class CWelcomePage : public CPageWithHelp {
public:
    CWelcomePage();
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    CStatic m_title;
    CFont m_titleFont;
};

// The welcome title's font from the dialog's: bold Arial, half as high
// again (the height's sign kept).
LOGFONTA WelcomeTitleFont(const LOGFONTA& dialogFont);

class CMyPropertySheet : public CPropertySheet {
public:
    CMyPropertySheet(const char* pszCaption, CWnd* pParentWnd, UINT iSelectPage);
    ~CMyPropertySheet() override;
    BOOL OnInitDialog() override;
    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
    void OnMove(int x, int y);
    void OnDestroy();
    // FALSE until OnInitDialog has placed the window: earlier moves are not
    // remembered.
    bool m_bPlaced = false;
    DECLARE_MESSAGE_MAP()
};

// The strip between the frame and the pages, and its picture.
const int kStripWidth = 130;
const int kStripPictureWidth = 242;
const int kStripPictureHeight = 681;
// The part of the picture that fills a strip stripHeight pixels high: the
// whole picture scaled by the larger factor, cut at its right or bottom.
SIZE StripSourceSize(int stripHeight);

// TRUE when the system animates minimizing windows (FALSE when it cannot say).
BOOL IsMinimizeAnimationOn();
// The zoom between the tray and the sheet; tests replace it.
typedef BOOL(WINAPI* PFN_DRAWANIMATEDRECTS)(HWND, int, const RECT*, const RECT*);
extern PFN_DRAWANIMATEDRECTS g_pfnDrawAnimatedRects;
// Tab titles through the translator, last to first; a title without a
// translation stays, a translation is cut to 255 characters.
void TranslateTabTitles(HWND hTab);
