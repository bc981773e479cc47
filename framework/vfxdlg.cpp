#include "vfxdlg.h"
#include "vfxapp.h"
#include <stdio.h>
#include <vector>

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

INT_PTR AfxCallInitDialog(CDialog* pDlg)
{
    BOOL focusDefault = TRUE;
    try {
        focusDefault = pDlg->OnInitDialog();
    } catch (...) {
        AfxReportUnexpectedException();
    }
    return focusDefault;
}

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG) return FALSE;
    CDialog* pDlg = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
    if (!pDlg) return TRUE;
    return AfxCallInitDialog(pDlg);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE)) EndDialog(IDOK);
}

// The window that owns a modeless dialog: the parent given, else the
// application's main window (unless that is the dialog itself). A dialog
// without an owner would get a taskbar button and an Alt+Tab entry of its
// own.
static HWND ModelessOwner(const CDialog* pDlg)
{
    if (pDlg->m_pParentWnd) return pDlg->m_pParentWnd->m_hWnd;
    CWnd* pMain = AfxGetMainWnd();
    if (!pMain || pMain == pDlg || !pMain->m_hWnd || !::IsWindow(pMain->m_hWnd)) return nullptr;
    return pMain->m_hWnd;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    if (m_hWnd) return FALSE;
    m_nIDTemplate = nIDTemplate;
    m_lpDialogTemplate = nullptr;
    if (pParentWnd) m_pParentWnd = pParentWnd;
    m_bModal = false;
    AfxInitCommonControls();
    AfxHookWindowCreate(this);
    HWND h = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDTemplate), ModelessOwner(this),
                                  AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    return h != nullptr;
}

BOOL CDialog::CreateIndirect(const DLGTEMPLATE* pTemplate, CWnd* pParentWnd)
{
    if (m_hWnd || !pTemplate) return FALSE;
    m_lpDialogTemplate = pTemplate;
    if (pParentWnd) m_pParentWnd = pParentWnd;
    m_bModal = false;
    AfxInitCommonControls();
    AfxHookWindowCreate(this);
    HWND h = ::CreateDialogIndirectParamA(AfxGetResourceHandle(), pTemplate, ModelessOwner(this), AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    return h != nullptr;
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd) return -1;
    m_bModal = true;
    HWND hOwner = AfxGetModalOwner(m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr);
    AfxPushModal(this);
    AfxInitCommonControls();
    AfxHookWindowCreate(this);
    INT_PTR r = m_lpDialogTemplate
        ? ::DialogBoxIndirectParamA(AfxGetResourceHandle(), m_lpDialogTemplate, hOwner, AfxDlgProc, 0)
        : ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), hOwner, AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    AfxPopModal(this);
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

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    if (!m_hWnd) return FALSE;
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (...) {
        AfxReportUnexpectedException();
        return FALSE;
    }
    return !dx.m_bFailed;
}

// ---- the owner of modal boxes ----

static std::vector<CWnd*> s_modal;

void AfxPushModal(CWnd* pWnd)
{
    s_modal.push_back(pWnd);
}

void AfxPopModal(CWnd* pWnd)
{
    for (size_t i = s_modal.size(); i-- > 0;)
        if (s_modal[i] == pWnd) { s_modal.erase(s_modal.begin() + (std::ptrdiff_t)i); return; }
}

HWND AfxGetModalOwner(HWND hWanted)
{
    HWND hRoot = hWanted ? ::GetAncestor(hWanted, GA_ROOT) : nullptr;
    bool wantedUsable = hRoot && ::IsWindowVisible(hRoot) && ::IsWindowEnabled(hRoot);
    if (!wantedUsable) {
        for (size_t i = s_modal.size(); i-- > 0;) {
            HWND h = s_modal[i]->m_hWnd;
            if (h && ::IsWindow(h)) return h;
        }
    }
    if (hWanted) return hWanted;
    CWnd* pMain = AfxGetMainWnd();
    if (pMain && pMain->m_hWnd && ::IsWindowVisible(pMain->m_hWnd)) return pMain->m_hWnd;
    return nullptr;
}

// ---- data exchange ----

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND h = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    if (h) m_hWndLastControl = h;
    return h;
}

void CDataExchange::Fail(const char* pszPrompt)
{
    m_bFailed = true;
    AfxMessageBox(pszPrompt, MB_OK | MB_ICONEXCLAMATION);
    if (m_hWndLastControl && ::IsWindow(m_hWndLastControl)) {
        ::SetFocus(m_hWndLastControl);
        char cls[16] = "";
        ::GetClassNameA(m_hWndLastControl, cls, (int)sizeof(cls));
        if (lstrcmpiA(cls, "Edit") == 0) ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
}

bool AfxParseInt(const char* p, long long minVal, long long maxVal, long long& out)
{
    if (!p) return false;
    while (*p == ' ' || *p == '\t') ++p;
    bool neg = false;
    if (*p == '+' || *p == '-') neg = *p++ == '-';
    if (*p < '0' || *p > '9') return false;
    long long v = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        v = v * 10 + (*p - '0');
        if (v > (1LL << 40)) return false;   // far beyond any 32-bit value
    }
    while (*p == ' ' || *p == '\t') ++p;
    if (*p) return false;
    if (neg) v = -v;
    if (v < minVal || v > maxVal) return false;
    out = v;
    return true;
}

static void TextOfControl(HWND h, CString& s)
{
    int n = ::GetWindowTextLengthA(h);
    if (n <= 0) { s.Empty(); return; }
    char* p = s.GetBuffer(n + 1);
    int got = ::GetWindowTextA(h, p, n + 1);
    s.ReleaseBuffer(got > 0 ? got : 0);
}

static bool ExchangeInteger(CDataExchange* pDX, int nIDC, long long minVal, long long maxVal, long long& value)
{
    if (pDX->m_bFailed) return false;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!h) return false;
    if (!pDX->m_bSaveAndValidate) {
        char buf[24];
        snprintf(buf, sizeof(buf), "%lld", value);
        ::SetWindowTextA(h, buf);
        return false;
    }
    CString text;
    TextOfControl(h, text);
    if (!AfxParseInt(text, minVal, maxVal, value)) {
        pDX->Fail(AfxTranslate("Enter an integer."));
        return false;
    }
    return true;
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    long long v = value;
    if (ExchangeInteger(pDX, nIDC, INT_MIN, INT_MAX, v)) value = (int)v;
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    long long v = value;
    if (ExchangeInteger(pDX, nIDC, 0, UINT_MAX, v)) value = (UINT)v;
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    if (pDX->m_bFailed) return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!h) return;
    if (pDX->m_bSaveAndValidate) TextOfControl(h, value);
    else ::SetWindowTextA(h, value);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    if (pDX->m_bFailed) return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!h) return;
    if (pDX->m_bSaveAndValidate) value = (int)::SendMessageA(h, BM_GETCHECK, 0, 0);
    else ::SendMessageA(h, BM_SETCHECK, (WPARAM)value, 0);
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    if (pDX->m_bFailed) return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!h) return;
    if (pDX->m_bSaveAndValidate) index = (int)::SendMessageA(h, CB_GETCURSEL, 0, 0);
    else ::SendMessageA(h, CB_SETCURSEL, (WPARAM)index, 0);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (pDX->m_bFailed || rControl.m_hWnd) return;
    rControl.SubclassWindow(pDX->PrepareCtrl(nIDC));
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    if (pDX->m_bFailed || !pDX->m_bSaveAndValidate) return;
    if (value >= minVal && value <= maxVal) return;
    CString prompt = AfxTranslate("Enter an integer between %1 and %2.");
    char lo[16], hi[16];
    snprintf(lo, sizeof(lo), "%d", minVal);
    snprintf(hi, sizeof(hi), "%d", maxVal);
    prompt.Replace("%1", lo);
    prompt.Replace("%2", hi);
    pDX->Fail(prompt);
}
