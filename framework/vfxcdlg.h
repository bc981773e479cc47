// vfx common dialogs: CFileDialog, CFontDialog.
//
// Each is the system's record plus DoModal. The common dialog library is
// loaded when the first of them runs, not at the program's start. While a
// modal dialog or sheet of the program is open the dialog is owned by it.
#pragma once
#include "vfxwnd.h"
#include <commdlg.h>
#include <vector>

class CFileDialog {
public:
    // pszFilter: "Name|*.ext;*.ext2|...|" pairs separated by '|'.
    explicit CFileDialog(BOOL bOpenFileDialog, const char* pszDefExt = nullptr,
                         const char* pszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         const char* pszFilter = nullptr, CWnd* pParentWnd = nullptr);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;
    // IDOK with the chosen path, IDCANCEL when cancelled or failed.
    INT_PTR DoModal();
    CString GetPathName() const { return CString(m_szFile); }
    CString GetFileName() const;
    CString GetFileExt() const;

    OPENFILENAMEA m_ofn;
    BOOL m_bOpenFileDialog;
    CWnd* m_pParentWnd;
private:
    char m_szFile[MAX_PATH * 4];
    char m_szFileTitle[MAX_PATH];
    std::vector<char> m_filter;
    CString m_strDefExt;
    CString m_strInitialDir;
};

class CFontDialog {
public:
    explicit CFontDialog(const LOGFONTA* plfInitial = nullptr,
                         DWORD dwFlags = CF_EFFECTS | CF_SCREENFONTS,
                         HDC hdcPrinter = nullptr, CWnd* pParentWnd = nullptr);
    CFontDialog(const CFontDialog&) = delete;
    CFontDialog& operator=(const CFontDialog&) = delete;
    INT_PTR DoModal();
    // The chosen font (m_lf after IDOK).
    void GetCurrentFont(LOGFONTA* plf) const { *plf = m_lf; }
    CString GetFaceName() const { return CString(m_lf.lfFaceName); }
    int GetSize() const { return m_cf.iPointSize; }   // tenths of a point
    COLORREF GetColor() const { return m_cf.rgbColors; }

    CHOOSEFONTA m_cf;
    LOGFONTA m_lf;
    CWnd* m_pParentWnd;
};

// The common dialog library's entry points, loaded at the first use; tests
// may replace them to watch the records the dialogs are given.
struct AFX_COMDLG_ENTRIES {
    BOOL (WINAPI* pfnGetOpenFileName)(LPOPENFILENAMEA);
    BOOL (WINAPI* pfnGetSaveFileName)(LPOPENFILENAMEA);
    BOOL (WINAPI* pfnChooseFont)(LPCHOOSEFONTA);
};
// NULL entries when the library cannot be loaded.
AFX_COMDLG_ENTRIES& AfxComDlg();
