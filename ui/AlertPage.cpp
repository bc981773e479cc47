#include "ui/AlertPage.h"
#include "app/Messages.h"
#include "app/Settings.h"
#include "engine/World.h"
#include "res/resource.h"
#include "services/Translator.h"
#include <mmsystem.h>
#include <vector>

#if !defined(_WIN64)
static_assert(sizeof(OPENFILENAMEA) == 88, "the file dialog's record has the 32-bit system size");
#endif

BOOL BrowseForFile(CWnd* owner, CString& path, UINT titleId, DWORD flags, const char* filter, BOOL bOpen)
{
    AFX_COMDLG_ENTRIES& dlg = AfxComDlg();
    BOOL (WINAPI* run)(LPOPENFILENAMEA) = bOpen ? dlg.pfnGetOpenFileName : dlg.pfnGetSaveFileName;
    if (!run) return FALSE;
    CString title;
    if (titleId != (UINT)-1) title.LoadString(titleId);
    // The dialog works on a buffer of its own: a failure that writes into
    // it (the size it needs, say) never reaches the caller's path.
    std::vector<char> file(MAX_PATH * 4, '\0');
    if ((size_t)path.GetLength() < file.size()) memcpy(file.data(), (const char*)path, (size_t)path.GetLength());
    OPENFILENAMEA ofn;
    memset(&ofn, 0, sizeof(ofn));
    ofn.lStructSize = sizeof(ofn);
    CWnd* main = AfxGetMainWnd();
    // Owned by the sheet (not the page inside it), which is disabled meanwhile.
    HWND hOwner = AfxGetModalOwner(owner ? owner->m_hWnd : main ? main->m_hWnd : nullptr);
    ofn.hwndOwner = hOwner ? ::GetAncestor(hOwner, GA_ROOT) : nullptr;
    ofn.Flags = flags | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLESIZING;
    ofn.lpstrFilter = filter;
    if (titleId != (UINT)-1) ofn.lpstrTitle = title;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = (DWORD)file.size();
    if (!run(&ofn)) return FALSE;
    file.back() = '\0';
    path = file.data();
    return TRUE;
}

BEGIN_MESSAGE_MAP(CAlertPage, CPageWithHelp)
    ON_BN_CLICKED(IDC_SOUND_WARN, OnCheckClicked)
    ON_BN_CLICKED(IDC_SOUND_START, OnCheckClicked)
    ON_BN_CLICKED(IDC_SOUND_END, OnCheckClicked)
    ON_EN_CHANGE(IDC_SOUND_WARN_FILE, OnPathChanged)
    ON_BN_CLICKED(IDC_SOUND_WARN_BROWSE, OnBrowseWarn)
    ON_BN_CLICKED(IDC_SOUND_START_BROWSE, OnBrowseStart)
    ON_BN_CLICKED(IDC_SOUND_END_BROWSE, OnBrowseEnd)
    ON_BN_CLICKED(IDC_SOUND_WARN_PLAY, OnPlaySound)
    ON_BN_CLICKED(IDC_SOUND_START_PLAY, OnPlaySoundStart)
    ON_BN_CLICKED(IDC_SOUND_END_PLAY, OnPlaySoundEnd)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CAlertPage::CAlertPage()
    : CPageWithHelp(IDD_SOUND_PAGE, "/manual/AlertPage.html?help=1"),
      m_strWarnFile(g_strSoundFile), m_strStartFile(g_strSoundFilePauseStart), m_strEndFile(g_strSoundFilePauseEnd)
{
}

CAlertPage::~CAlertPage() {}

void CAlertPage::DoDataExchange(CDataExchange* pDX)
{
    CPageWithHelp::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SOUND_WARN, m_btnWarn);
    DDX_Text(pDX, IDC_SOUND_WARN_FILE, m_strWarnFile);
    DDX_Control(pDX, IDC_SOUND_START, m_btnStart);
    DDX_Control(pDX, IDC_SOUND_END, m_btnEnd);
    DDX_Text(pDX, IDC_SOUND_START_FILE, m_strStartFile);
    DDX_Text(pDX, IDC_SOUND_END_FILE, m_strEndFile);
}

BOOL CAlertPage::OnInitDialog()
{
    m_bReady = false;
    CPageWithHelp::OnInitDialog();
    g_translator.TranslateWindow(this);
    m_btnWarn.SetCheck(g_useSound ? BST_CHECKED : BST_UNCHECKED);
    m_btnStart.SetCheck(g_useSoundPauseStart ? BST_CHECKED : BST_UNCHECKED);
    m_btnEnd.SetCheck(g_useSoundPauseEnd ? BST_CHECKED : BST_UNCHECKED);
    // An icon of its own (not shared), so it can be destroyed with the page.
    m_hPlayIcon = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_PLAY), IMAGE_ICON, 16, 16, 0);
    for (int id : { IDC_SOUND_WARN_PLAY, IDC_SOUND_START_PLAY, IDC_SOUND_END_PLAY })
        SendDlgItemMessage(id, BM_SETIMAGE, IMAGE_ICON, (LPARAM)m_hPlayIcon);
    m_bReady = true;
    UpdateControls();
    return TRUE;
}

void CAlertPage::UpdateControls()
{
    if (!m_bReady) return;
    struct { CButton& check; int edit, browse, play; } rows[] = {
        { m_btnWarn, IDC_SOUND_WARN_FILE, IDC_SOUND_WARN_BROWSE, IDC_SOUND_WARN_PLAY },
        { m_btnStart, IDC_SOUND_START_FILE, IDC_SOUND_START_BROWSE, IDC_SOUND_START_PLAY },
        { m_btnEnd, IDC_SOUND_END_FILE, IDC_SOUND_END_BROWSE, IDC_SOUND_END_PLAY },
    };
    for (auto& r : rows) {
        bool on = r.check.GetCheck() != 0;
        GetDlgItem(r.edit).EnableWindow(on);
        GetDlgItem(r.browse).EnableWindow(on);
        GetDlgItem(r.play).EnableWindow(on && ::GetWindowTextLengthA(GetDlgItem(r.edit)) > 0);
    }
}

void CAlertPage::OnCheck()
{
    UpdateControls();
    SetModified(TRUE);
}

void CAlertPage::OnCheckClicked() { OnCheck(); }

void CAlertPage::OnPathChanged()
{
    if (m_bReady) OnCheck();
}

BOOL CAlertPage::BrowseSound(CString& path)
{
    UpdateData(TRUE);
    static const char kFilter[] = "Sound Files (*.wav)\0*.wav\0All Files (*.*)\0*.*\0";
    if (!BrowseForFile(this, path, (UINT)-1, 0, kFilter, TRUE)) return FALSE;
    UpdateData(FALSE);
    OnCheck();
    return TRUE;
}

void CAlertPage::Play(CString& path)
{
    UpdateData(TRUE);
    World().PlaySound(path, SND_FILENAME | SND_ASYNC);
}

void CAlertPage::OnDestroy()
{
    if (m_hPlayIcon) ::DestroyIcon(m_hPlayIcon);
    m_hPlayIcon = nullptr;
}

BOOL CAlertPage::OnApply()
{
    if (!CPageWithHelp::OnApply()) return FALSE;
    g_useSound = m_btnWarn.GetCheck() != 0;
    g_strSoundFile = m_strWarnFile;
    g_useSoundPauseStart = m_btnStart.GetCheck() != 0;
    g_strSoundFilePauseStart = m_strStartFile;
    g_useSoundPauseEnd = m_btnEnd.GetCheck() != 0;
    g_strSoundFilePauseEnd = m_strEndFile;
    if (CWnd* main = AfxGetMainWnd()) main->PostMessage(WM_SETTINGS_APPLIED, 0, 0);
    return TRUE;
}
