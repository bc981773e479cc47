// The settings sheet's Misc page: the tray number's font, the language,
// running at Windows start (a shortcut in the Startup folder) and the
// automatic update check. Its Apply acts at once and posts nothing.
#pragma once
#include "vfx.h"
#include "ui/SettingsSheet.h"
#include <objbase.h>

// Writes a shell link at pszLink to pszTarget with a description. A failure
// code when the link could not be made right (nothing is saved then); 0
// after the "Tips" box when COM cannot be opened.
HRESULT CreateShortcut(const char* pszTarget, const char* pszLink, const char* pszDescription);

// Seams: the Startup folder's lookup, and the creation of the link object.
typedef BOOL (*PFN_GETSTARTUPFOLDER)(HWND hWnd, char* path);   // MAX_PATH characters
extern PFN_GETSTARTUPFOLDER g_pfnGetStartupFolder;
typedef HRESULT (*PFN_CREATESHELLLINK)(void** ppLink);         // an IShellLinkA
extern PFN_CREATESHELLLINK g_pfnCreateShellLink;

class CVisualsPage : public CPageWithHelp {
public:
    CVisualsPage();
    ~CVisualsPage() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnApply() override;

    void OnSelectFont();
    void OnRefreshList() { FillLanguageList(); }
    void OnChanged() { SetModified(TRUE); }
    void UpdateFontSample();
    void FillLanguageList();
    BOOL GetStartupLinkPath(CString& path);
    BOOL IsAutoRunEnabled();
    void SetAutoRun(BOOL bEnable);

    CComboBox m_comboLanguage;
    CStatic m_stcFontSample;
    int m_bAutoRun;
    int m_bAutoCheckUpdates;
    LOGFONTA m_logFont;
    int m_nFontSize;
    CFont m_fontSample;
    CStringArray m_astrLanguageFiles;
    // The entry FillLanguageList selected: Apply loads a language only when
    // the user chose another one.
    int m_nListedSelection = 0;
    DECLARE_MESSAGE_MAP()
};
