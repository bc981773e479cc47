#include "ui/VisualsPage.h"
#include "app/Kestrabel.h"
#include "app/Settings.h"
#include "engine/MainFrame.h"
#include "res/resource.h"
#include "services/ShellHelpers.h"
#include "services/Translator.h"
#include <shlobj.h>
#include <shlwapi.h>
#include <stdio.h>
#include <string.h>

static BOOL GetStartupFolder(HWND hWnd, char* path)
{
    return ::SHGetSpecialFolderPathA(hWnd, path, CSIDL_STARTUP, FALSE);
}
PFN_GETSTARTUPFOLDER g_pfnGetStartupFolder = GetStartupFolder;

static HRESULT CreateShellLink(void** ppLink)
{
    return ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, ppLink);
}
PFN_CREATESHELLLINK g_pfnCreateShellLink = CreateShellLink;

static HRESULT SaveShortcut(const char* pszTarget, const char* pszLink, const char* pszDescription)
{
    IShellLinkA* link = nullptr;
    HRESULT hr = g_pfnCreateShellLink((void**)&link);
    if (FAILED(hr) || !link) return FAILED(hr) ? hr : E_FAIL;
    hr = link->SetPath(pszTarget);
    if (SUCCEEDED(hr)) {
        link->SetDescription(pszDescription);
        IPersistFile* file = nullptr;
        hr = link->QueryInterface(IID_IPersistFile, (void**)&file);
        if (SUCCEEDED(hr)) {
            WCHAR wide[MAX_PATH];
            if (::MultiByteToWideChar(CP_ACP, 0, pszLink, -1, wide, MAX_PATH) > 0)
                hr = file->Save(wide, TRUE);
            else
                hr = HRESULT_FROM_WIN32(::GetLastError());
            file->Release();
        }
    }
    link->Release();
    return hr;
}

HRESULT CreateShortcut(const char* pszTarget, const char* pszLink, const char* pszDescription)
{
    HRESULT init = ::CoInitialize(nullptr);
    if (FAILED(init)) {
        // The one box of the page that has no owner.
        if (g_pfnMessageBoxHook)
            g_pfnMessageBoxHook(nullptr, "Could not open the COM library\n", "Tips", MB_SYSTEMMODAL | MB_ICONINFORMATION);
        else
            ::MessageBoxA(nullptr, "Could not open the COM library\n", "Tips", MB_SYSTEMMODAL | MB_ICONINFORMATION);
        return 0;
    }
    HRESULT hr = pszTarget && *pszTarget ? SaveShortcut(pszTarget, pszLink, pszDescription) : E_FAIL;
    ::CoUninitialize();
    return hr;
}

// ---- the page ----

BEGIN_MESSAGE_MAP(CVisualsPage, CPageWithHelp)
    ON_BN_CLICKED(IDC_MISC_SELECT_FONT, OnSelectFont)
    ON_BN_CLICKED(IDC_MISC_REFRESH, OnRefreshList)
    ON_CBN_SELENDOK(IDC_MISC_LANGUAGE, OnChanged)
    ON_CBN_SELCHANGE(IDC_MISC_LANGUAGE, OnChanged)
    ON_BN_CLICKED(IDC_MISC_AUTORUN, OnChanged)
    ON_BN_CLICKED(IDC_MISC_UPDATES, OnChanged)
END_MESSAGE_MAP()

CVisualsPage::CVisualsPage()
    : CPageWithHelp(IDD_MISC_PAGE, "/manual/MiscPage.html?help=1"),
      m_bAutoRun(IsAutoRunEnabled()), m_bAutoCheckUpdates(g_autoCheckForUpdates), m_logFont(g_trayLogFont),
      m_nFontSize(g_trayFontSize)
{
}

CVisualsPage::~CVisualsPage() {}

void CVisualsPage::DoDataExchange(CDataExchange* pDX)
{
    CPageWithHelp::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MISC_LANGUAGE, m_comboLanguage);
    DDX_Control(pDX, IDC_MISC_FONT_SAMPLE, m_stcFontSample);
    DDX_Check(pDX, IDC_MISC_AUTORUN, m_bAutoRun);
    DDX_Check(pDX, IDC_MISC_UPDATES, m_bAutoCheckUpdates);
}

BOOL CVisualsPage::OnInitDialog()
{
    CPageWithHelp::OnInitDialog();
    g_translator.TranslateWindow(this);
    if (!g_translator.m_map.IsEmpty()) GetDlgItem(IDC_MISC_LANGUAGE_NOTE).ShowWindow(SW_SHOW);
    FillLanguageList();
    UpdateFontSample();
    return TRUE;
}

void CVisualsPage::FillLanguageList()
{
    m_comboLanguage.ResetContent();
    // Like every language, English is listed under its own name.
    m_comboLanguage.SetCurSel(m_comboLanguage.AddString("English"));
    m_astrLanguageFiles.RemoveAll();
    m_astrLanguageFiles.Add(CString());
    m_nListedSelection = m_comboLanguage.GetCurSel();
    const CString& folder = g_translator.m_strDirectory;
    if (folder.IsEmpty() || !::PathIsDirectoryA(folder)) return;
    char pattern[MAX_PATH];
    CString mask = CString("*") + g_translator.m_strExtension;
    if (!::PathCombineA(pattern, folder, mask)) return;
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA(pattern, &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        fd.cFileName[MAX_PATH - 1] = '\0';
        ::PathRemoveExtensionA(fd.cFileName);
        if (strcmp(fd.cFileName, "blank") == 0) continue;
        CTranslator language;
        language.SetDirectory(folder);
        language.m_strExtension = g_translator.m_strExtension;
        language.Load(fd.cFileName);
        int entry = m_comboLanguage.AddString(language.Translate(fd.cFileName));
        if (entry < 0) continue;   // not listed: its name is not kept either
        m_astrLanguageFiles.Add(CString(fd.cFileName));
        if (_stricmp(fd.cFileName, g_strLanguage) == 0) {
            m_comboLanguage.SetCurSel(entry);
            m_nListedSelection = entry;
        }
    } while (::FindNextFileA(h, &fd));
    ::FindClose(h);
}

void CVisualsPage::UpdateFontSample()
{
    // The face name counts only when it ends inside its field.
    const char* face = memchr(m_logFont.lfFaceName, 0, LF_FACESIZE) ? m_logFont.lfFaceName : "";
    char text[128];
    snprintf(text, sizeof(text), "%g pt. %s", m_nFontSize / 10.0, face);
    HFONT font = ::CreateFontIndirectA(&m_logFont);
    if (!font) return;   // the sample stays as it was
    m_stcFontSample.SetWindowText(text);
    // The new font is on the control before the old one goes.
    m_stcFontSample.SetFont(font, TRUE);
    m_fontSample.DeleteObject();
    m_fontSample.Attach(font);
    m_stcFontSample.Invalidate();
}

void CVisualsPage::OnSelectFont()
{
    CFontDialog dlg(&m_logFont, CF_SCREENFONTS | CF_EFFECTS, nullptr, nullptr);
    if (dlg.DoModal() != IDOK) return;
    dlg.GetCurrentFont(&m_logFont);
    m_nFontSize = dlg.GetSize();
    UpdateFontSample();
    SetModified(TRUE);
}

BOOL CVisualsPage::OnApply()
{
    if (!UpdateData(TRUE)) return FALSE;
    if (!CPageWithHelp::OnApply()) return FALSE;
    g_trayLogFont = m_logFont;
    g_trayFontSize = m_nFontSize;
    if (CMainFrame* frame = dynamic_cast<CMainFrame*>(AfxGetMainWnd())) frame->UpdateIconFont();
    int sel = m_comboLanguage.GetCurSel();
    if (sel >= 0 && sel < m_astrLanguageFiles.GetSize() && sel != m_nListedSelection
        && _stricmp(m_astrLanguageFiles[sel], g_strLanguage) != 0) {
        g_strLanguage = m_astrLanguageFiles[sel];
        g_translator.Load(g_strLanguage);
        m_nListedSelection = sel;
    }
    SetAutoRun(m_bAutoRun);
    g_autoCheckForUpdates = m_bAutoCheckUpdates != 0;
    return TRUE;
}

BOOL CVisualsPage::GetStartupLinkPath(CString& path)
{
    char buf[MAX_PATH] = "";
    path.Empty();
    if (!g_pfnGetStartupFolder(m_hWnd, buf)) return FALSE;
    buf[MAX_PATH - 1] = '\0';
    if (!::PathAppendA(buf, "Kestrabel.lnk")) return FALSE;
    path = buf;
    return TRUE;
}

BOOL CVisualsPage::IsAutoRunEnabled()
{
    CString link;
    return GetStartupLinkPath(link) && FileExists(link);
}

void CVisualsPage::SetAutoRun(BOOL bEnable)
{
    CString link;
    if (!GetStartupLinkPath(link)) return;
    BOOL exists = FileExists(link);
    if (bEnable && !exists) {
        HRESULT hr = CreateShortcut(GetProgramPath(), link, "Kestrabel Break Reminder");
        if (FAILED(hr)) {
            char text[160];
            snprintf(text, sizeof(text), "Failed to create link to Kestrabel in the Windows Startup Folder\nError: 0x%08X", (unsigned)hr);
            AfxMessageBox(text, MB_OK);
        }
    } else if (!bEnable && exists) {
        if (!::DeleteFileA(link)) ShowLastError("Failed to delete the link to Kestrabel from the Windows Startup Folder", 0);
    }
}
