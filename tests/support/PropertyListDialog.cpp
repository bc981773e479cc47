#include "support/PropertyListDialog.h"
#include "support/DialogTemplate.h"

BOOL CPropertyListTestDlg::CreateFromTemplate(HWND hwndParent, DWORD dwExtStyle)
{
    m_dwExtStyle = dwExtStyle;
    DialogTemplate t("Times", 235, 200, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME);
    t.Add(DialogTemplate::ListBox, 1056, "", 7, 20, 221, 173, 0x50A10561);
    AfxHookWindowCreate(this);
    HWND h = ::CreateDialogIndirectParamA(AfxGetInstanceHandle(), t.Get(), hwndParent, AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    return h != nullptr;
}

BOOL CPropertyListTestDlg::OnInitDialog()
{
    m_list.SubclassDlgItem(1056, this);
    m_list.RefreshLayout();
    m_list.SetExtendedStyle(m_dwExtStyle);
    AddTimesRows(m_list);
    return TRUE;
}

BOOL CPropertyListTestDlg::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_NOTIFY && lParam && ((NMHDR*)lParam)->idFrom == 1056) {
        const PropertyListNotify* n = (const PropertyListNotify*)lParam;
        int code = (int)n->hdr.code;
        m_log.push_back({code, n->property ? n->property->GetItemData() : -1});
        *pResult = 0;
        if (code == LISTNOTIFY_ITEMCHANGING) {
            m_strEditorAtChanging.Empty();
            if (HWND ed = m_list.GetEditorWindow()) {
                char buf[256] = "";
                ::GetWindowTextA(ed, buf, (int)sizeof(buf));
                m_strEditorAtChanging = buf;
            }
            *pResult = m_bVeto ? 1 : 0;
        }
        if ((code == LISTNOTIFY_CLICK || code == LISTNOTIFY_DBLCLICK) && m_bVetoClick) *pResult = 1;
        return TRUE;
    }
    return CDialog::OnWndMsg(message, wParam, lParam, pResult);
}

std::vector<LPARAM> CPropertyListTestDlg::Ids(int code) const
{
    std::vector<LPARAM> ids;
    for (const Note& n : m_log)
        if (n.code == code) ids.push_back(n.id);
    return ids;
}

void AddTimesRows(CPropertyList& list)
{
    static const char* const four[] = {"Balloon Tooltip", "Slider Box", "Message Box", "Screen Lock", nullptr};
    static const char* const three[] = {"Balloon Tooltip", "Slider Box", "Message Box", nullptr};
    CComVariant m1("Micro-break: let your eyes have some rest.");
    CComVariant m2("It's time for a short rest break.");
    CComVariant m3("Long break: stand up, stretch, go for a short walk.");
    CComVariant m4("You have reached your daily work limit");
    IProperty* rows[] = {
        new CCategoryProperty("Microbreaks", 100),
        CreateBooleanItem("Enabled?", false, 101),
        CreateTimeItem("Once every", 5, TIMEUNIT_MINUTES, 102),
        CreateTimeItem("Duration", 30, TIMEUNIT_SECONDS, 103),
        CreateListItem("Alert type", three, 2, 104),
        CreateEditItem("Message", &m1, 105),
        new CCategoryProperty("Short Breaks", 200),
        CreateTimeItem("Once every", 20, TIMEUNIT_MINUTES, 201),
        CreateTimeItem("Duration", 2, TIMEUNIT_MINUTES, 202),
        CreateListItem("Alert type", four, 3, 203),
        CreateBooleanItem("Enable unlocking", true, 204),
        CreateEditItem("Message", &m2, 205),
        new CCategoryProperty("Long Breaks", 300),
        CreateBooleanItem("Enabled?", true, 301),
        CreateTimeItemWithUnit("Once every", 3, "breaks", 302),
        CreateTimeItem("Duration", 5, TIMEUNIT_MINUTES, 303),
        CreateListItem("Alert type", four, 3, 304),
        CreateBooleanItem("Enable unlocking", true, 305),
        CreateEditItem("Message", &m3, 306),
        new CCategoryProperty("Daily Work Limit", 400),
        CreateBooleanItem("Enabled?", true, 401),
        CreateTimeItem("Daily work limit", 510, TIMEUNIT_HOURS_MINUTES, 402),
        CreateListItem("Alert type", four, 2, 403),
        CreateEditItem("Message", &m4, 404),
        new CCategoryProperty("General", 500),
        CreateTimeItem("Postpone for", 5, TIMEUNIT_MINUTES, 501),
        CreateTimeItem("Disable unlocking for the first", 16, TIMEUNIT_SECONDS, 502),
        CreateBooleanItem("Disable toggle mode", false, 503),
    };
    for (IProperty* p : rows) {
        if (p && p->GetItemData() >= 102 && p->GetItemData() <= 105) p->SetEnabled(0);
        if (!list.AddItem(p)) delete p;
    }
}
