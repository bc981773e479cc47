// The settings sheet's Sound page: the last-minute warning, the break start
// and the break end sounds, each switched on or off with its WAV file chosen
// and tried; and BrowseForFile, the program's file-open and file-save dialog.
#pragma once
#include "vfx.h"
#include "ui/SettingsSheet.h"

// Runs the file-open (bOpen) or file-save dialog, owned by owner's sheet or
// window, with the given flags and zero-separated filter pairs; titleId -1
// keeps the system's caption. The dialog starts at path when it fits its
// buffer; path becomes the chosen file only when the dialog answers TRUE.
BOOL BrowseForFile(CWnd* owner, CString& path, UINT titleId, DWORD flags, const char* filter, BOOL bOpen);

class CAlertPage : public CPageWithHelp {
public:
    CAlertPage();
    ~CAlertPage() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnApply() override;

    // Each row's edit and browse button follow its check box; its play
    // button also needs a path.
    void UpdateControls();
    void OnCheck();
    void OnCheckClicked();
    void OnPathChanged();
    BOOL BrowseSound(CString& path);
    void OnBrowseWarn() { BrowseSound(m_strWarnFile); }
    void OnBrowseStart() { BrowseSound(m_strStartFile); }
    void OnBrowseEnd() { BrowseSound(m_strEndFile); }
    void OnPlaySound() { Play(m_strWarnFile); }
    void OnPlaySoundStart() { Play(m_strStartFile); }
    void OnPlaySoundEnd() { Play(m_strEndFile); }
    void OnDestroy();

    CButton m_btnWarn;
    CButton m_btnStart;
    CButton m_btnEnd;
    CString m_strWarnFile;
    CString m_strStartFile;
    CString m_strEndFile;
    HICON m_hPlayIcon = nullptr;
    // Set when OnInitDialog has finished (see CAdvancedPage::m_bReady).
    bool m_bReady = false;
    DECLARE_MESSAGE_MAP()

private:
    void Play(CString& path);
};
