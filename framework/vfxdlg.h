// vfx dialogs: CDialog (modal and modeless, from a dialog template).
#pragma once
#include "vfxwnd.h"

class CDialog : public CWnd {
public:
    CDialog() {}
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr)
        : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

    // Modeless: creates the window from the template; FALSE on failure.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // Modal: runs the dialog until EndDialog; -1 when it cannot be created.
    virtual INT_PTR DoModal();
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Ends a modal dialog with nResult; destroys a modeless one.
    void EndDialog(int nResult);
    // Tab, Enter and Escape for a modeless dialog.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;
    bool m_bModal = false;
    DECLARE_MESSAGE_MAP()
};

// The dialog procedure behind every vfx dialog: only WM_INITDIALOG reaches
// it with work to do; everything else goes through the object's map.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
