#include "ui/SettingsPage.h"
#include "app/Messages.h"
#include "engine/BreakSettings.h"
#include "res/resource.h"
#include "services/Translator.h"
#include <new>

BEGIN_MESSAGE_MAP(CSettingsPage, CPageWithHelp)
    ON_NOTIFY(LISTNOTIFY_ITEMCHANGED, IDC_TIMES_LIST, OnPropertyChanged)
    ON_NOTIFY(LISTNOTIFY_ITEMCHANGING, IDC_TIMES_LIST, OnValidateProperty)
END_MESSAGE_MAP()

static const char* const kAlertTypes[] = { "Balloon Tooltip", "Slider Box", "Message Box", "Screen Lock", nullptr };
static const char* const kMicroAlertTypes[] = { "Balloon Tooltip", "Slider Box", "Message Box", nullptr };

CSettingsPage::CSettingsPage() : CPageWithHelp(IDD_TIMES_PAGE, "/manual/TimesPage.html?help=1") {}

CSettingsPage::~CSettingsPage() {}

void CSettingsPage::DoDataExchange(CDataExchange* pDX)
{
    CPageWithHelp::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TIMES_LIST, m_list);
}

void CSettingsPage::AddRow(IProperty* pItem)
{
    if (pItem && !m_list.AddItem(pItem)) delete pItem;
}

// A stored message is shown in the user's language when it is one of the
// texts the language file knows.
static IProperty* MessageRow(const CString& message, LPARAM id, CString& shown)
{
    if (!g_translator.m_map.Lookup(message, shown)) shown = message;
    CComVariant v(shown.GetString());
    return CreateEditItem("Message", &v, id);
}

BOOL CSettingsPage::OnInitDialog()
{
    CPageWithHelp::OnInitDialog();
    g_translator.TranslateWindow(this);
    m_list.RefreshLayout();
    m_list.SetExtendedStyle(LISTSTYLE_CATEGORY_COLUMN | LISTSTYLE_EDIT_ON_SELECT | LISTSTYLE_GRADIENT_CATEGORIES);

    const BreakSettings& s = g_breakSettings;
    const BreakSpec& micro = s.aBreaks[BREAK_MICRO];
    const BreakSpec& shortb = s.aBreaks[BREAK_SHORT];
    const BreakSpec& longb = s.aBreaks[BREAK_LONG];
    const BreakSpec& daily = s.aBreaks[BREAK_DAILY_LIMIT];
    auto category = [this](const char* caption, LPARAM id) {
        IProperty* p = nullptr;
        try { p = new CCategoryProperty(caption, id); } catch (const std::bad_alloc&) {}
        AddRow(p);
    };

    category("Microbreaks", 100);
    AddRow(CreateBooleanItem("Enabled?", micro.bEnabled, 101));
    AddRow(CreateTimeItem("Once every", micro.nInterval, TIMEUNIT_MINUTES, 102));
    AddRow(CreateTimeItem("Duration", micro.nDuration, TIMEUNIT_SECONDS, 103));
    AddRow(CreateListItem("Alert type", kMicroAlertTypes, micro.nAlertType, 104));
    AddRow(MessageRow(micro.strMessage, 105, m_strShownMessage[BREAK_MICRO]));

    category("Short Breaks", 200);
    AddRow(CreateTimeItem("Once every", shortb.nInterval, TIMEUNIT_MINUTES, 201));
    AddRow(CreateTimeItem("Duration", shortb.nDuration / 60, TIMEUNIT_MINUTES, 202));
    AddRow(CreateListItem("Alert type", kAlertTypes, shortb.nAlertType, 203));
    AddRow(CreateBooleanItem("Enable unlocking", shortb.bEnableUnlocking, 204));
    AddRow(MessageRow(shortb.strMessage, 205, m_strShownMessage[BREAK_SHORT]));

    category("Long Breaks", 300);
    AddRow(CreateBooleanItem("Enabled?", longb.bEnabled, 301));
    AddRow(CreateTimeItemWithUnit("Once every", longb.nInterval, "breaks", 302));
    AddRow(CreateTimeItem("Duration", longb.nDuration / 60, TIMEUNIT_MINUTES, 303));
    AddRow(CreateListItem("Alert type", kAlertTypes, longb.nAlertType, 304));
    AddRow(CreateBooleanItem("Enable unlocking", longb.bEnableUnlocking, 305));
    AddRow(MessageRow(longb.strMessage, 306, m_strShownMessage[BREAK_LONG]));

    category("Daily Work Limit", 400);
    AddRow(CreateBooleanItem("Enabled?", daily.bEnabled, 401));
    AddRow(CreateTimeItem("Daily work limit", daily.nInterval, TIMEUNIT_HOURS_MINUTES, 402));
    AddRow(CreateListItem("Alert type", kAlertTypes, daily.nAlertType, 403));
    AddRow(MessageRow(daily.strMessage, 404, m_strShownMessage[BREAK_DAILY_LIMIT]));

    category("General", 500);
    AddRow(CreateTimeItem("Postpone for", s.nPostpone, TIMEUNIT_MINUTES, 501));
    AddRow(CreateTimeItem("Disable unlocking for the first", s.nDisableUnlocking, TIMEUNIT_SECONDS, 502));
    AddRow(CreateBooleanItem("Disable toggle mode", s.bDisableToggleMode, 503));

    EnableCategory(100);
    EnableCategory(300);
    EnableCategory(400);
    UpdateUnlockingItem(203);
    return TRUE;
}

void CSettingsPage::EnableCategory(int categoryId)
{
    if (!m_list.FindProperty(categoryId + 1)) return;
    CComVariant v;
    BOOL on = ReadRow(categoryId + 1, VT_I4, &v) && v.lVal != 0;
    for (int id = categoryId + 2; IProperty* row = m_list.FindProperty(id); ++id)
        m_list.SetItemEnabled(row, on);
    if (on && categoryId == 300) UpdateUnlockingItem(304);
}

void CSettingsPage::UpdateUnlockingItem(int alertTypeId)
{
    CComVariant v;
    if (!ReadRow(alertTypeId, VT_I4, &v)) return;
    if (IProperty* unlocking = m_list.FindProperty(alertTypeId + 1))
        m_list.SetItemEnabled(unlocking, v.lVal == ALERT_SCREEN_LOCK);
}

void CSettingsPage::OnPropertyChanged(NMHDR* pNotify, LRESULT*)
{
    IProperty* item = ((PropertyListNotify*)pNotify)->property;
    int id = item ? (int)item->GetItemData() : 0;
    if (id == 101 || id == 301 || id == 401) EnableCategory(id - 1);
    else if (id == 203 || id == 304) UpdateUnlockingItem(id);
    SetModified(TRUE);
}

BOOL IsTimesTextAccepted(int id, const char* pszText)
{
    switch (id) {
    case 102: case 103: case 201: case 202: case 302: case 303: case 501: case 502: {
        int v = 0;
        return ParseLeadingNumber(pszText, &v) && v >= 1 && v <= 1000;
    }
    case 402: {
        int total = 0, hours = 0, minutes = 0;
        return ParseHoursMinutes(pszText, &total, &hours, &minutes) && hours <= 24 && minutes <= 59 &&
               total >= 1 && total <= 1440;
    }
    default:
        return TRUE;
    }
}

void CSettingsPage::OnValidateProperty(NMHDR* pNotify, LRESULT* pResult)
{
    *pResult = 0;
    HWND editor = m_list.GetEditorWindow();
    IProperty* item = ((PropertyListNotify*)pNotify)->property;
    if (!item || !editor || !::IsWindow(editor)) return;
    CString text;
    if (!ReadEditorText(editor, text)) return;  // the row's commit fails and beeps itself
    if (!IsTimesTextAccepted((int)item->GetItemData(), text)) {
        *pResult = 1;
        AfxMessageBeep(0xFFFFFFFF);
    }
}

BOOL CSettingsPage::ReadRow(int id, VARTYPE vt, VARIANT* pValue)
{
    IProperty* row = m_list.FindProperty(id);
    if (!row) return FALSE;
    try {
        return m_list.GetItemValue(row, pValue) && pValue->vt == vt;
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
}

BOOL CSettingsPage::GetBoolValue(int id, bool& field)
{
    CComVariant v;
    if (!ReadRow(id, VT_I4, &v)) return FALSE;
    field = v.lVal != 0;
    return TRUE;
}

BOOL CSettingsPage::GetIntValue(int id, int& field)
{
    CComVariant v;
    if (!ReadRow(id, VT_I4, &v)) return FALSE;
    field = (int)v.lVal;
    return TRUE;
}

BOOL CSettingsPage::GetPropertyText(int id, CString& field)
{
    CComVariant v;
    if (!ReadRow(id, VT_BSTR, &v)) return FALSE;
    field = CComBSTR::ToAnsi(v.bstrVal);
    return TRUE;
}

void CSettingsPage::ReadMessageRow(int id, BreakKind kind)
{
    CString text;
    if (!GetPropertyText(id, text) || text == m_strShownMessage[kind]) return;
    g_breakSettings.aBreaks[kind].strMessage = text;
    m_strShownMessage[kind] = text;
}

void CSettingsPage::ReadBreakRows(int firstId, BreakKind kind)
{
    BreakSpec& spec = g_breakSettings.aBreaks[kind];
    GetIntValue(firstId, spec.nInterval);
    int minutes = 0;
    if (GetIntValue(firstId + 1, minutes)) spec.nDuration = SaturatingMultiply(minutes, 60);
    GetIntValue(firstId + 2, spec.nAlertType);
    GetBoolValue(firstId + 3, spec.bEnableUnlocking);
    ReadMessageRow(firstId + 4, kind);
}

BOOL CSettingsPage::OnApply()
{
    if (!UpdateData(TRUE)) return FALSE;
    BreakSettings& s = g_breakSettings;
    BreakSpec& micro = s.aBreaks[BREAK_MICRO];
    GetBoolValue(101, micro.bEnabled);
    GetIntValue(102, micro.nInterval);
    GetIntValue(103, micro.nDuration);
    GetIntValue(104, micro.nAlertType);
    ReadMessageRow(105, BREAK_MICRO);

    s.aBreaks[BREAK_SHORT].bEnabled = true;
    ReadBreakRows(201, BREAK_SHORT);

    GetBoolValue(301, s.aBreaks[BREAK_LONG].bEnabled);
    ReadBreakRows(302, BREAK_LONG);

    BreakSpec& daily = s.aBreaks[BREAK_DAILY_LIMIT];
    GetBoolValue(401, daily.bEnabled);
    GetIntValue(402, daily.nInterval);
    daily.nDuration = 1000;
    GetIntValue(403, daily.nAlertType);
    daily.bEnableUnlocking = true;
    ReadMessageRow(404, BREAK_DAILY_LIMIT);

    GetIntValue(502, s.nDisableUnlocking);
    GetIntValue(501, s.nPostpone);
    GetBoolValue(503, s.bDisableToggleMode);

    if (!CPageWithHelp::OnApply()) return FALSE;
    if (CWnd* main = AfxGetMainWnd())
        if (main->m_hWnd) ::PostMessageA(main->m_hWnd, WM_SETTINGS_APPLIED, 0, 0);
    return TRUE;
}
