// vfx dialogs: CDialog (modal and modeless, from a template in the resources
// or in memory), CDataExchange and the data-exchange routines DDX_* / DDV_*.
#pragma once
#include "vfxwnd.h"

class CDialog;

// One run of a dialog's DoDataExchange. A routine that fails shows its
// prompt, puts the focus on its control and marks the run failed; the
// routines after it do nothing, so the members keep what they held.
class CDataExchange {
public:
    CDataExchange(CDialog* pDlgWnd, BOOL bSaveAndValidate)
        : m_pDlgWnd(pDlgWnd), m_bSaveAndValidate(bSaveAndValidate) {}
    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate;      // TRUE: controls to members
    HWND m_hWndLastControl = nullptr;
    bool m_bFailed = false;
    // The control nIDC of the dialog, remembered as the one a prompt is about.
    HWND PrepareCtrl(int nIDC);
    // Shows the (already translated) prompt and gives the focus back to the
    // last control; later routines of this run are skipped.
    void Fail(const char* pszPrompt);
};

class CDialog : public CWnd {
public:
    CDialog() {}
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr)
        : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

    // Modeless: creates the window from the template; FALSE on failure.
    // Without a parent the application's main window owns the dialog.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    BOOL CreateIndirect(const DLGTEMPLATE* pTemplate, CWnd* pParentWnd = nullptr);
    // Modal from a template in memory (DoModal then uses it).
    void InitModalIndirect(const DLGTEMPLATE* pTemplate, CWnd* pParentWnd = nullptr)
    { m_lpDialogTemplate = pTemplate; if (pParentWnd) m_pParentWnd = pParentWnd; }
    // Modal: runs the dialog until EndDialog; -1 when it cannot be created.
    virtual INT_PTR DoModal();
    // The default loads the members into the controls (UpdateData(FALSE)).
    virtual BOOL OnInitDialog();
    // The default takes the controls into the members and ends the dialog;
    // a failed exchange keeps it open.
    virtual void OnOK();
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Ends a modal dialog with nResult; destroys a modeless one.
    void EndDialog(int nResult);
    // Tab, Enter and Escape for a modeless dialog.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Data exchange: bSaveAndValidate TRUE takes the controls' values into
    // the members, FALSE shows the members. FALSE when a value was refused
    // (its prompt has been shown). Nothing is thrown out of it.
    virtual void DoDataExchange(CDataExchange* pDX) { (void)pDX; }
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    UINT m_nIDTemplate = 0;
    const DLGTEMPLATE* m_lpDialogTemplate = nullptr;
    CWnd* m_pParentWnd = nullptr;
    bool m_bModal = false;
    DECLARE_MESSAGE_MAP()
};

// The dialog procedure behind every vfx dialog: only WM_INITDIALOG reaches
// it with work to do; everything else goes through the object's map.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Runs OnInitDialog with the exception boundary; the dialog procedure's answer.
INT_PTR AfxCallInitDialog(CDialog* pDlg);

// Modal windows of the program, innermost last (AfxGetModalOwner).
void AfxPushModal(CWnd* pWnd);
void AfxPopModal(CWnd* pWnd);

// ---- data exchange ----
// Integers accept blanks around an optional sign and decimal digits; any
// other text, or a number beyond the type, gives "Enter an integer.".
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
// Binds rControl to the dialog's control nIDC, the first time only.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// On saving: "Enter an integer between %1 and %2." when value is outside.
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
// The integer parser behind DDX_Text; FALSE for no integer or overflow.
bool AfxParseInt(const char* psz, long long minVal, long long maxVal, long long& out);
