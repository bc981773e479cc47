#include "ui/AboutPage.h"
#include "app/Product.h"
#include "res/resource.h"
#include "services/Translator.h"

BEGIN_MESSAGE_MAP(CAboutPage, CPageWithHelp)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CAboutPage::CAboutPage()
    : CPageWithHelp(IDD_ABOUT_PAGE, "/manual/AboutPage.html?help=1"),
      m_strDisclaimer("DISCLAIMER:\r\n\r\nThis software is provided \"as is\", without any guarantee made as to its "
                      "suitability or fitness for any particular use. It may contain bugs, so use of this tool is at "
                      "your own risk. The author takes no responsibility for any damage whatsoever that may be caused "
                      "through its use.\r\n\r\nFor further information, please read the license agreement found in "
                      "the Kestrabel directory, or contact " KS_SUPPORT_ADDRESS)
{
}

void CAboutPage::DoDataExchange(CDataExchange* pDX)
{
    CPageWithHelp::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ABOUT_HOME, m_homeLink);
    DDX_Text(pDX, IDC_ABOUT_DISCLAIMER, m_strDisclaimer);
    DDX_Control(pDX, IDC_ABOUT_TITLE, m_titleLink);
}

BOOL CAboutPage::OnInitDialog()
{
    CPageWithHelp::OnInitDialog();
    g_translator.TranslateWindow(this);
    // A font that cannot be made leaves the title in the dialog font.
    if (m_titleFont.CreatePointFont(200, "Arial Black")) m_titleLink.SetLinkFont(&m_titleFont);
    m_titleLink.SetLinkTarget(KS_HOME_PAGE);
    m_homeLink.SetLinkTarget(KS_HOME_PAGE);
    return TRUE;
}

AboutIcon AboutIconBeside(int titleLeft)
{
    int size = titleLeft >= 50 ? 48 : titleLeft >= 36 ? 32 : 16;
    return { size, (titleLeft - size) / 2 };
}

void CAboutPage::OnPaint()
{
    CPaintDC dc(this);
    if (!m_titleLink.m_hWnd) return;
    RECT rc;
    m_titleLink.GetWindowRect(&rc);
    ::MapWindowPoints(nullptr, m_hWnd, (POINT*)&rc, 2);
    AboutIcon icon = AboutIconBeside(rc.left);
    HICON h = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_KESTRABEL), IMAGE_ICON,
                                  icon.size, icon.size, LR_DEFAULTCOLOR);
    if (!h) return;
    ::DrawIconEx(dc.m_hDC, icon.x, rc.top, h, icon.size, icon.size, 0, nullptr, DI_NORMAL);
    ::DestroyIcon(h);
}
