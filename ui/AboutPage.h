// CAboutPage: the settings sheet's last page: the product and version as a
// large link, the home page link, the disclaimer and the program icon.
#pragma once
#include "vfx.h"
#include "controls/HyperLink.h"
#include "ui/SettingsSheet.h"

class CAboutPage : public CPageWithHelp {
public:
    CAboutPage();
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnPaint();

    CHyperLink m_homeLink;
    CString m_strDisclaimer;
    CFont m_titleFont;
    CHyperLink m_titleLink;
    DECLARE_MESSAGE_MAP()
};

// The icon beside a title whose left edge is at titleLeft (page client
// coordinates): its size (48, 32 or 16) and its left edge.
struct AboutIcon { int size, x; };
AboutIcon AboutIconBeside(int titleLeft);
