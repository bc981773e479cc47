// vfx property sheets: CPropertyPage, CPropertySheet.
//
// The sheet window is made by the common controls library. It is bound to
// its CPropertySheet from its creation (so its map sees WM_NCCALCSIZE and
// the rest of the frame's messages); each page is bound when the sheet
// first shows it. The sheet's PSN_* notifications reach the page's virtuals
// and their answers go back through the page's result (and DWLP_MSGRESULT).
#pragma once
#include "vfxdlg.h"
#include <commctrl.h>
#include <vector>

class CPropertySheet;

class CPropertyPage : public CDialog {
public:
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
    // A page from a template in memory (kept by the caller).
    explicit CPropertyPage(const DLGTEMPLATE* pTemplate);

    // The default loads the members into the controls.
    BOOL OnInitDialog() override;
    // TRUE lets the page become active.
    virtual BOOL OnSetActive() { return TRUE; }
    // The default takes the controls into the members; FALSE keeps the page.
    virtual BOOL OnKillActive() { return UpdateData(TRUE); }
    // Apply or OK on the sheet, for every page that has been created. The
    // default calls OnOK and clears the modified mark; FALSE keeps the
    // sheet open on this page.
    virtual BOOL OnApply();
    // Cancel on the sheet (from OnReset).
    virtual void OnReset() { OnCancel(); }
    virtual BOOL OnQueryCancel() { return TRUE; }
    // A page ends nothing itself: the sheet ends.
    void OnOK() override {}
    void OnCancel() override {}
    // Enables the sheet's Apply button for this page (or clears its mark).
    void SetModified(BOOL bChanged = TRUE);
    // The Cancel button becomes Close: the changes made cannot be undone.
    void CancelToClose();
    CPropertySheet* GetSheet() const { return m_pSheet; }

    PROPSHEETPAGEA m_psp;
    CString m_strCaption;         // the tab's title when given by string id
    CPropertySheet* m_pSheet = nullptr;
    DECLARE_MESSAGE_MAP()

private:
    BOOL OnSheetNotify(NMHDR* pHdr, LRESULT* pResult);
    void InitPage();
};

class CPropertySheet : public CWnd {
public:
    explicit CPropertySheet(const char* pszCaption = nullptr, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    void AddPage(CPropertyPage* pPage);
    int GetPageCount() const { return (int)m_pages.size(); }
    CPropertyPage* GetPage(int nPage) const;
    // The page on show; NULL before the sheet has a window.
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    BOOL SetActivePage(int nPage);
    // FALSE: the tabs stay in one row and scroll (TRUE, the default, stacks them).
    void EnableStackedTabs(BOOL bStacked) { m_bStacked = bStacked; }
    HWND GetTabControl() const { return (HWND)SendMessage(PSM_GETTABCONTROL); }
    // Runs the sheet; IDOK when it ended by OK, IDCANCEL otherwise, -1 when
    // it could not be shown (no page, or creation failed).
    virtual INT_PTR DoModal();
    // After the library has set the sheet up and made its first page.
    virtual BOOL OnInitDialog();

    PROPSHEETHEADERA m_psh;
    CString m_strCaption;
    CWnd* m_pParentWnd = nullptr;
    DECLARE_MESSAGE_MAP()

private:
    friend class CPropertyPage;
    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    LRESULT HandleCommand(WPARAM wParam, LPARAM lParam);
    std::vector<CPropertyPage*> m_pages;
    BOOL m_bStacked = TRUE;
    INT_PTR m_nResult = IDCANCEL;
};
