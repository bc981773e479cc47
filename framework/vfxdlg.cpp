#include "vfxdlg.h"
#include "vfxapp.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG) return FALSE;
    CDialog* pDlg = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
    if (!pDlg) return TRUE;
    BOOL focusDefault = TRUE;
    try {
        focusDefault = pDlg->OnInitDialog();
    } catch (...) {
        AfxReportUnexpectedException();
    }
    return focusDefault;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    if (m_hWnd) return FALSE;
    m_nIDTemplate = nIDTemplate;
    if (pParentWnd) m_pParentWnd = pParentWnd;
    m_bModal = false;
    AfxHookWindowCreate(this);
    HWND h = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDTemplate),
                                  m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr, AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    return h != nullptr;
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd) return -1;
    m_bModal = true;
    AfxHookWindowCreate(this);
    INT_PTR r = ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate),
                                  m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr, AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    m_bModal = false;
    return r;
}

void CDialog::EndDialog(int nResult)
{
    if (!m_hWnd) return;
    if (m_bModal) ::EndDialog(m_hWnd, nResult);
    else DestroyWindow();
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (m_bModal || !m_hWnd) return FALSE;
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST)
        return ::IsDialogMessageA(m_hWnd, pMsg);
    return FALSE;
}
