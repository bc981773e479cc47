#include "vfxcdlg.h"
#include "vfxapp.h"
#include <string.h>

// The record sizes the system checks: 88 bytes in a 32-bit program.
#if !defined(_WIN64)
static_assert(sizeof(OPENFILENAMEA) == 88, "OPENFILENAMEA has the 32-bit system size");
static_assert(sizeof(CHOOSEFONTA) == 60, "CHOOSEFONTA has the 32-bit system size");
#endif

AFX_COMDLG_ENTRIES& AfxComDlg()
{
    static AFX_COMDLG_ENTRIES s_entries;
    static bool s_loaded;
    if (!s_loaded) {
        s_loaded = true;
        // Kept for the life of the process once a dialog has been used.
        if (HMODULE h = ::LoadLibraryA("comdlg32.dll")) {
            s_entries.pfnGetOpenFileName = (BOOL (WINAPI*)(LPOPENFILENAMEA))(void*)::GetProcAddress(h, "GetOpenFileNameA");
            s_entries.pfnGetSaveFileName = (BOOL (WINAPI*)(LPOPENFILENAMEA))(void*)::GetProcAddress(h, "GetSaveFileNameA");
            s_entries.pfnChooseFont = (BOOL (WINAPI*)(LPCHOOSEFONTA))(void*)::GetProcAddress(h, "ChooseFontA");
        }
    }
    return s_entries;
}

// ---- CFileDialog ----

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* pszDefExt, const char* pszFileName,
                         DWORD dwFlags, const char* pszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog), m_pParentWnd(pParentWnd), m_strDefExt(pszDefExt)
{
    memset(&m_ofn, 0, sizeof(m_ofn));
    m_szFile[0] = m_szFileTitle[0] = '\0';
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLESIZING;
    m_ofn.lpstrFile = m_szFile;
    m_ofn.nMaxFile = (DWORD)sizeof(m_szFile);
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = (DWORD)sizeof(m_szFileTitle);
    if (!m_strDefExt.IsEmpty()) m_ofn.lpstrDefExt = m_strDefExt;
    if (pszFileName) {
        // A path that names a folder opens there; otherwise its folder is
        // the start and its name the suggestion. Too long a path is cut.
        lstrcpynA(m_szFile, pszFileName, (int)sizeof(m_szFile));
        DWORD attr = ::GetFileAttributesA(m_szFile);
        if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY)) {
            m_strInitialDir = m_szFile;
            m_szFile[0] = '\0';
        }
        if (!m_strInitialDir.IsEmpty()) m_ofn.lpstrInitialDir = m_strInitialDir;
    }
    if (pszFilter) {
        // "a|b|c|d|" becomes "a\0b\0c\0d\0\0".
        size_t n = strlen(pszFilter);
        m_filter.assign(pszFilter, pszFilter + n);
        m_filter.push_back('\0');
        m_filter.push_back('\0');
        for (char& c : m_filter)
            if (c == '|') c = '\0';
        m_ofn.lpstrFilter = m_filter.data();
    }
}

INT_PTR CFileDialog::DoModal()
{
    AFX_COMDLG_ENTRIES& e = AfxComDlg();
    BOOL (WINAPI* run)(LPOPENFILENAMEA) = m_bOpenFileDialog ? e.pfnGetOpenFileName : e.pfnGetSaveFileName;
    if (!run) return IDCANCEL;
    m_ofn.hwndOwner = AfxGetModalOwner(m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr);
    m_ofn.hInstance = nullptr;
    m_szFile[sizeof(m_szFile) - 1] = '\0';
    BOOL ok = run(&m_ofn);
    m_szFile[sizeof(m_szFile) - 1] = '\0';
    return ok ? IDOK : IDCANCEL;
}

CString CFileDialog::GetFileName() const
{
    const char* slash = strrchr(m_szFile, '\\');
    return CString(slash ? slash + 1 : m_szFile);
}

CString CFileDialog::GetFileExt() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot >= 0 ? name.Mid(dot + 1) : CString();
}

// ---- CFontDialog ----

CFontDialog::CFontDialog(const LOGFONTA* plfInitial, DWORD dwFlags, HDC hdcPrinter, CWnd* pParentWnd)
    : m_pParentWnd(pParentWnd)
{
    memset(&m_cf, 0, sizeof(m_cf));
    memset(&m_lf, 0, sizeof(m_lf));
    m_cf.lStructSize = sizeof(m_cf);
    m_cf.lpLogFont = &m_lf;
    m_cf.Flags = dwFlags;
    m_cf.hDC = hdcPrinter;
    if (plfInitial) {
        m_lf = *plfInitial;
        m_lf.lfFaceName[LF_FACESIZE - 1] = '\0';
        m_cf.Flags |= CF_INITTOLOGFONTSTRUCT;
    }
}

INT_PTR CFontDialog::DoModal()
{
    AFX_COMDLG_ENTRIES& e = AfxComDlg();
    if (!e.pfnChooseFont) return IDCANCEL;
    m_cf.hwndOwner = AfxGetModalOwner(m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr);
    m_cf.lpLogFont = &m_lf;
    BOOL ok = e.pfnChooseFont(&m_cf);
    m_lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    return ok ? IDOK : IDCANCEL;
}
