#include "vfxsheet.h"
#include "vfxapp.h"

// ---- CPropertyPage ----

BEGIN_MESSAGE_MAP(CPropertyPage, CDialog)
    if (message == WM_NOTIFY && lParam && OnSheetNotify((NMHDR*)lParam, pResult)) return TRUE;
    // IDOK and IDCANCEL belong to the sheet, not to the page.
    if (message == WM_VFX_COMMAND && (vfxId_ == IDOK || vfxId_ == IDCANCEL)) return FALSE;
END_MESSAGE_MAP()

// The page's dialog procedure: WM_INITDIALOG carries the sheet's copy of
// the page record, whose lParam is the page object.
static INT_PTR CALLBACK AfxPageDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG) return FALSE;
    const PROPSHEETPAGEA* psp = (const PROPSHEETPAGEA*)lParam;
    CPropertyPage* pPage = psp ? (CPropertyPage*)psp->lParam : nullptr;
    if (!pPage || !pPage->SubclassWindow(hWnd)) return TRUE;
    return AfxCallInitDialog(pPage);
}

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption)
    : CDialog(nIDTemplate)
{
    InitPage();
    m_psp.pszTemplate = MAKEINTRESOURCEA(nIDTemplate);
    if (nIDCaption && m_strCaption.LoadString(nIDCaption)) {
        m_psp.dwFlags |= PSP_USETITLE;
        m_psp.pszTitle = m_strCaption;
    }
}

CPropertyPage::CPropertyPage(const DLGTEMPLATE* pTemplate)
{
    InitPage();
    m_lpDialogTemplate = pTemplate;
    m_psp.dwFlags |= PSP_DLGINDIRECT;
    m_psp.pResource = pTemplate;
}

void CPropertyPage::InitPage()
{
    memset(&m_psp, 0, sizeof(m_psp));
    m_psp.dwSize = sizeof(m_psp);
    m_psp.dwFlags = PSP_DEFAULT;
}

BOOL CPropertyPage::OnInitDialog()
{
    return CDialog::OnInitDialog();
}

BOOL CPropertyPage::OnApply()
{
    OnOK();
    SetModified(FALSE);
    return TRUE;
}

void CPropertyPage::SetModified(BOOL bChanged)
{
    HWND hSheet = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    if (hSheet) ::SendMessageA(hSheet, bChanged ? PSM_CHANGED : PSM_UNCHANGED, (WPARAM)m_hWnd, 0);
}

void CPropertyPage::CancelToClose()
{
    HWND hSheet = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    if (hSheet) ::SendMessageA(hSheet, PSM_CANCELTOCLOSE, 0, 0);
}

BOOL CPropertyPage::OnSheetNotify(NMHDR* pHdr, LRESULT* pResult)
{
    // Only the sheet's own notifications; a control's go the usual way.
    if (!m_hWnd || pHdr->hwndFrom != ::GetParent(m_hWnd)) return FALSE;
    switch (pHdr->code) {
    case PSN_SETACTIVE:
        *pResult = OnSetActive() ? 0 : -1;
        break;
    case PSN_KILLACTIVE:
        *pResult = OnKillActive() ? FALSE : TRUE;
        break;
    case PSN_APPLY:
        if (OnApply()) {
            *pResult = PSNRET_NOERROR;
            // lParam TRUE: the sheet closes by OK.
            if (m_pSheet && ((PSHNOTIFY*)pHdr)->lParam) m_pSheet->m_nResult = IDOK;
        } else {
            *pResult = PSNRET_INVALID_NOCHANGEPAGE;
        }
        break;
    case PSN_RESET:
        OnReset();
        *pResult = 0;
        break;
    case PSN_QUERYCANCEL:
        *pResult = OnQueryCancel() ? FALSE : TRUE;
        break;
    case PSN_HELP:
        // The sheet's Help button: the page's ID_HELP command.
        SendMessage(WM_COMMAND, ID_HELP, 0);
        *pResult = 0;
        break;
    default:
        return FALSE;
    }
    return TRUE;
}

// ---- CPropertySheet ----

BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_MESSAGE(WM_COMMAND, HandleCommand)
END_MESSAGE_MAP()

LRESULT CPropertySheet::HandleCommand(WPARAM wParam, LPARAM lParam)
{
    // The library acts on the command id alone: a control's notification
    // other than a click (a pop-up list box taking the focus, whose owner is
    // the sheet) would otherwise press OK or Cancel.
    if (lParam && HIWORD(wParam) != BN_CLICKED) return 0;
    return DefWindowProc(WM_COMMAND, wParam, lParam);
}

CPropertySheet::CPropertySheet(const char* pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_strCaption(pszCaption), m_pParentWnd(pParentWnd)
{
    memset(&m_psh, 0, sizeof(m_psh));
    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags = PSH_PROPSHEETPAGE;
    m_psh.nStartPage = iSelectPage;
}

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    if (!pPage) return;
    pPage->m_pSheet = this;
    m_pages.push_back(pPage);
    if (m_hWnd) {
        PROPSHEETPAGEA psp = pPage->m_psp;
        psp.hInstance = AfxGetResourceHandle();
        psp.pfnDlgProc = AfxPageDlgProc;
        psp.lParam = (LPARAM)pPage;
        HPROPSHEETPAGE h = ::CreatePropertySheetPageA(&psp);
        if (h && !SendMessage(PSM_ADDPAGE, 0, (LPARAM)h)) ::DestroyPropertySheetPage(h);
    }
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const
{
    return nPage >= 0 && nPage < (int)m_pages.size() ? m_pages[(size_t)nPage] : nullptr;
}

int CPropertySheet::GetActiveIndex() const
{
    if (!m_hWnd) return (int)m_psh.nStartPage;
    HWND h = (HWND)SendMessage(PSM_GETCURRENTPAGEHWND);
    for (size_t i = 0; i < m_pages.size(); ++i)
        if (h && m_pages[i]->m_hWnd == h) return (int)i;
    return -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    return m_hWnd ? GetPage(GetActiveIndex()) : nullptr;
}

BOOL CPropertySheet::SetActivePage(int nPage)
{
    if (nPage < 0 || nPage >= (int)m_pages.size()) return FALSE;
    if (!m_hWnd) { m_psh.nStartPage = (UINT)nPage; return TRUE; }
    return (BOOL)SendMessage(PSM_SETCURSEL, (WPARAM)nPage, 0);
}

LRESULT CPropertySheet::HandleInitDialog(WPARAM wParam, LPARAM lParam)
{
    // The library sets up the tabs, the buttons and the first page.
    LRESULT r = DefWindowProc(WM_INITDIALOG, wParam, lParam);
    try {
        OnInitDialog();
    } catch (...) {
        AfxReportUnexpectedException();
    }
    return r;
}

BOOL CPropertySheet::OnInitDialog()
{
    if (!m_bStacked) {
        HWND hTab = GetTabControl();
        LONG_PTR style = hTab ? ::GetWindowLongPtrA(hTab, GWL_STYLE) : 0;
        if (style & TCS_MULTILINE) ::SetWindowLongPtrA(hTab, GWL_STYLE, style & ~(LONG_PTR)TCS_MULTILINE);
    }
    return TRUE;
}

INT_PTR CPropertySheet::DoModal()
{
    if (m_hWnd || m_pages.empty()) return -1;
    std::vector<PROPSHEETPAGEA> records;
    records.reserve(m_pages.size());
    for (CPropertyPage* pPage : m_pages) {
        PROPSHEETPAGEA psp = pPage->m_psp;
        psp.hInstance = AfxGetResourceHandle();
        psp.pfnDlgProc = AfxPageDlgProc;
        psp.lParam = (LPARAM)pPage;
        pPage->m_pSheet = this;
        records.push_back(psp);
    }
    PROPSHEETHEADERA psh = m_psh;
    psh.dwSize = sizeof(psh);
    psh.dwFlags = (psh.dwFlags | PSH_PROPSHEETPAGE) & ~(DWORD)PSH_MODELESS;
    psh.hwndParent = AfxGetModalOwner(m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr);
    psh.hInstance = AfxGetResourceHandle();
    psh.pszCaption = m_strCaption;
    psh.nPages = (UINT)records.size();
    if (psh.nStartPage >= psh.nPages) psh.nStartPage = 0;
    psh.ppsp = records.data();

    m_nResult = IDCANCEL;
    AfxPushModal(this);
    AfxInitCommonControls();
    AfxHookWindowCreate(this);
    INT_PTR r = ::PropertySheetA(&psh);
    bool created = AfxUnhookWindowCreate();
    AfxPopModal(this);
    if (r < 0 || !created) return -1;
    return m_nResult;
}
