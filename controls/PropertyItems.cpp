#include "controls/PropertyItems.h"
#include "controls/PropertyEditors.h"
#include "services/Translator.h"
#include "res/resource.h"
#include <limits.h>
#include <new>

static bool IsDigit(char c)
{
    return (unsigned char)c >= '0' && (unsigned char)c <= '9';
}

// ---- h:mm ----

static bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads the digits at p on, stopping its growth far beyond the 32-bit range.
static const char* ReadDigits(const char* p, unsigned long long& value)
{
    const unsigned long long cap = 1ULL << 40;
    value = 0;
    for (; IsDigit(*p); ++p)
        if (value < cap) value = value * 10 + (unsigned)(*p - '0');
    return p;
}

BOOL ParseHoursMinutes(const char* pszText, int* pMinutes, int* pHours, int* pMinutesPart)
{
    if (!pszText || !IsDigit(*pszText)) return FALSE;
    unsigned long long hours = 0, minutes = 0;
    const char* p = ReadDigits(pszText, hours);
    if (*p == ':') {
        // The minutes may follow after blanks; a sign stays refused.
        ++p;
        while (IsBlank(*p)) ++p;
        if (*p == '+' || *p == '-') return FALSE;
        ReadDigits(p, minutes);
    }
    unsigned long long total = hours * 60 + minutes;
    if (total > (unsigned long long)INT_MAX) return FALSE;
    if (pMinutes) *pMinutes = (int)total;
    if (pHours) *pHours = (int)hours;
    if (pMinutesPart) *pMinutesPart = (int)minutes;
    return TRUE;
}

BOOL ParseLeadingNumber(const char* pszText, int* pValue)
{
    if (!pszText || !IsDigit(*pszText)) return FALSE;
    unsigned long long v = 0;
    ReadDigits(pszText, v);
    if (v > (unsigned long long)INT_MAX) return FALSE;
    if (pValue) *pValue = (int)v;
    return TRUE;
}

CString FormatHoursMinutes(int nMinutes)
{
    long long v = nMinutes;
    bool negative = v < 0;
    if (negative) v = -v;
    CString s;
    s.Format("%s%lld:%02lld", negative ? "-" : "", v / 60, v % 60);
    return s;
}

// ---- CPropertyTimeItem ----

CPropertyTimeItem::CPropertyTimeItem(const char* pszName, LPARAM itemData, int nUnit)
    : CPropertyEditItem(pszName, itemData), m_nUnit(nUnit)
{
}

BOOL CPropertyTimeItem::BuildDisplayText(CString& text)
{
    if (!GetValueText(text)) return FALSE;
    if (m_nUnit == TIMEUNIT_HOURS_MINUTES) {
        CComVariant minutes;
        if (FAILED(::VariantChangeType(&minutes, &m_value, 0, VT_I4))) return FALSE;
        text = FormatHoursMinutes((int)minutes.lVal);
    }
    const char* word = nullptr;
    switch (m_nUnit) {
    case TIMEUNIT_TEXT: word = m_strUnit; break;
    case TIMEUNIT_SECONDS: word = "second(s)"; break;
    case TIMEUNIT_MINUTES: word = "minute(s)"; break;
    case TIMEUNIT_HOURS: case TIMEUNIT_HOURS_MINUTES: word = "hour(s)"; break;
    default: break;
    }
    text += " ";
    if (word) text += g_translator.Translate(word);
    if (text.GetLength() > TIMEITEM_MAX_TEXT) text = text.Left(TIMEITEM_MAX_TEXT);
    return TRUE;
}

HWND CPropertyTimeItem::CreateEditor(HWND hwndList, const RECT* prcCell)
{
    HWND h = CPropertyEditItem::CreateEditor(hwndList, prcCell);
    if (h && m_nUnit != TIMEUNIT_HOURS_MINUTES)
        ::SetWindowLongPtrA(h, GWL_STYLE, ::GetWindowLongPtrA(h, GWL_STYLE) | ES_NUMBER);
    return h;
}

BOOL CPropertyTimeItem::Activate(UINT action, LPARAM)
{
    if ((action == ITEMACTION_DBLCLICK || action == ITEMACTION_TAB || action == ITEMACTION_KEY) &&
        ::IsWindow(m_hwndEditor)) {
        ::SetFocus(m_hwndEditor);
        CString text;
        if (!ReadEditorText(m_hwndEditor, text)) return TRUE;
        int n = 0;
        while (IsDigit(text[n]) || (m_nUnit == TIMEUNIT_HOURS_MINUTES && text[n] == ':')) ++n;
        ::SendMessageA(m_hwndEditor, EM_SETSEL, 0, n);
    }
    return TRUE;
}

BOOL CPropertyTimeItem::SetValueFromWindow(HWND hwndEditor)
{
    CString text;
    if (!ReadEditorText(hwndEditor, text)) return FALSE;
    CString number;
    if (m_nUnit == TIMEUNIT_HOURS_MINUTES) {
        int minutes = 0;
        if (!ParseHoursMinutes(text, &minutes)) return FALSE;
        number.Format("%d", minutes);
    } else {
        int n = 0;
        while (IsDigit(text[n])) ++n;
        number = text.Left(n);
    }
    CComVariant v(number.GetString());
    return SetValue(&v);
}

// ---- CPropertyListItem ----

CPropertyListItem::CPropertyListItem(const char* pszName, LPARAM itemData)
    : CPropertyItem(pszName, itemData)
{
    SetIndex(-1);
}

void CPropertyListItem::SetEntries(const char* const* ppszTexts)
{
    m_entries.RemoveAll();
    for (; ppszTexts && *ppszTexts; ++ppszTexts)
        m_entries.Add(CComBSTR(g_translator.Translate(*ppszTexts)));
    if (GetIndex() == -1) SetIndex(0);
}

void CPropertyListItem::AddEntry(const char* pszText)
{
    m_entries.Add(CComBSTR(g_translator.Translate(pszText ? pszText : "")));
    if (GetIndex() == -1) SetIndex(0);
}

BOOL CPropertyListItem::GetDisplayText(char* pszBuffer, int size)
{
    if (!pszBuffer || size < 1) return FALSE;
    pszBuffer[0] = '\0';
    if (!HasEntry(GetIndex())) return FALSE;
    return CopyDisplayText(m_entries[GetIndex()].ToAnsi(), pszBuffer, size);
}

int CPropertyListItem::GetDisplayTextLength()
{
    return HasEntry(GetIndex()) ? m_entries[GetIndex()].ToAnsi().GetLength() : 0;
}

HWND CPropertyListItem::CreateEditor(HWND hwndList, const RECT* prcCell)
{
    m_hwndEditor = nullptr;
    CString text;
    if (!prcCell || !GetDisplayString(text)) return nullptr;
    CPropertyListWindow* p = CPropertyListWindow::CreateEditor(hwndList, *prcCell);
    if (!p) return nullptr;
    p->SetWindowText(text);
    m_hwndEditor = p->m_hWnd;
    for (int i = 0; i < m_entries.GetSize(); ++i)
        p->AddString(m_entries[i].ToAnsi());
    p->SetCurSel(GetIndex());
    return m_hwndEditor;
}

BOOL CPropertyListItem::Activate(UINT action, LPARAM)
{
    if (action == ITEMACTION_DBLCLICK && IsEnabled()) {
        CComVariant next(GetIndex() + 1);
        ::SendMessageA(m_hwndOwner, WM_PROPLIST_CHANGED, (WPARAM)(VARIANT*)&next, (LPARAM)(IProperty*)this);
    } else if (action == ITEMACTION_KEY && ::IsWindow(m_hwndEditor)) {
        // A command that is not the drop button's: the choice list stays
        // closed, and a typed character picks its entry directly.
        ::SendMessageA(m_hwndEditor, WM_COMMAND, 0, 0);
    }
    return TRUE;
}

BOOL CPropertyListItem::SetValueFromWindow(HWND hwndEditor)
{
    return SetValueFromEditorText(this, hwndEditor);
}

BOOL CPropertyListItem::SetValue(const VARIANT* pValue)
{
    if (!pValue) return FALSE;
    if (pValue->vt == VT_BSTR) {
        SetIndex(0);
        for (int i = 0; i < m_entries.GetSize(); ++i)
            if (CComBSTR::Equal(m_entries[i].m_str, pValue->bstrVal)) { SetIndex(i); return TRUE; }
        return FALSE;
    }
    CComVariant n;
    if (FAILED(::VariantChangeType(&n, const_cast<VARIANT*>(pValue), 0, VT_I4))) return FALSE;
    SetIndex(n.lVal >= m_entries.GetSize() ? 0 : (int)n.lVal);
    return TRUE;
}

// ---- CPropertyBooleanItem ----

CPropertyBooleanItem::CPropertyBooleanItem(const char* pszName, LPARAM itemData)
    : CPropertyListItem(pszName, itemData)
{
    char buf[32];
    static const UINT ids[] = {IDS_NO, IDS_YES};
    for (UINT id : ids) {
        buf[0] = '\0';
        ::LoadStringA(AfxGetResourceHandle(), id, buf, (int)sizeof(buf));
        AddEntry(buf);
    }
}

// ---- CCategoryProperty ----

CCategoryProperty::CCategoryProperty(const char* pszName, LPARAM itemData)
    : CProperty(pszName, itemData)
{
}

CCategoryProperty::~CCategoryProperty()
{
    for (int i = 0; i < m_children.GetSize(); ++i)
        delete m_children[i];
    m_children.RemoveAll();
}

void CCategoryProperty::DrawName(PropertyDrawContext* pdc)
{
    HGDIOBJ oldFont = pdc->categoryFont ? ::SelectObject(pdc->hdc, pdc->categoryFont) : nullptr;
    bool frame = false;
    if (pdc->extStyle & LISTSTYLE_FLAT_CATEGORIES) {
        pdc->clrSelText = pdc->clrText;
        pdc->clrBack = pdc->clrSelBack = ::GetSysColor(COLOR_BTNFACE);
        frame = true;
    } else if (pdc->extStyle & LISTSTYLE_GRADIENT_CATEGORIES) {
        pdc->clrSelText = pdc->clrText;
        frame = true;
    }
    CProperty::DrawName(pdc);
    if (frame && (pdc->state & ODS_SELECTED)) {
        RECT rc = pdc->rect;
        ::InflateRect(&rc, -1, -1);
        SIZE sz = {0, 0};
        ::GetTextExtentPoint32A(pdc->hdc, m_pszName, lstrlenA(m_pszName), &sz);
        rc.right = rc.left + sz.cx + 3;
        rc.bottom = rc.top + sz.cy;
        ::DrawFocusRect(pdc->hdc, &rc);
    }
    if (oldFont) ::SelectObject(pdc->hdc, oldFont);
}

void CCategoryProperty::DrawValue(PropertyDrawContext* pdc)
{
    if (pdc->extStyle & LISTSTYLE_FLAT_CATEGORIES)
        ::FillRect(pdc->hdc, &pdc->rect, ::GetSysColorBrush(COLOR_BTNFACE));
}

BOOL CCategoryProperty::Activate(UINT action, LPARAM)
{
    if (action == ITEMACTION_TOGGLE || action == ITEMACTION_DBLCLICK || action == ITEMACTION_KEY)
        ::SendMessageA(m_hwndOwner, m_bExpanded == 1 ? WM_PROPLIST_COLLAPSE : WM_PROPLIST_EXPAND,
                       0, (LPARAM)(IProperty*)this);
    return TRUE;
}

BOOL CCategoryProperty::ExpandIntoList(int nRow)
{
    HWND h = m_hwndOwner;
    if (nRow < 0 || !::IsWindow(h)) return FALSE;
    ::SendMessageA(h, WM_SETREDRAW, FALSE, 0);
    int at = nRow + 1;
    while (m_children.GetSize() > 0) {
        IProperty* child = m_children[0];
        if (child) {
            // A row the list refuses stays here, owned by the category.
            int r = (int)::SendMessageA(h, LB_INSERTSTRING, (WPARAM)at, (LPARAM)child->GetName());
            if (r < 0) break;
            if (::SendMessageA(h, LB_SETITEMDATA, (WPARAM)r, (LPARAM)child) == LB_ERR) {
                ::SendMessageA(h, LB_DELETESTRING, (WPARAM)r, 0);
                break;
            }
            at = r + 1;
        }
        m_children.RemoveAt(0);
    }
    m_bExpanded = 1;
    ::SendMessageA(h, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(h, nullptr, TRUE);
    return TRUE;
}

BOOL CCategoryProperty::CollapseFromList(int nRow)
{
    HWND h = m_hwndOwner;
    if (nRow < 0 || !::IsWindow(h)) return FALSE;
    ::SendMessageA(h, WM_SETREDRAW, FALSE, 0);
    // Taken rows go before any row an earlier expand could not put back.
    int taken = 0;
    while (nRow + 1 < (int)::SendMessageA(h, LB_GETCOUNT, 0, 0)) {
        LPARAM data = (LPARAM)::SendMessageA(h, LB_GETITEMDATA, (WPARAM)(nRow + 1), 0);
        IProperty* child = (data == 0 || data == (LPARAM)LB_ERR) ? nullptr : (IProperty*)data;
        if (child && child->GetItemKind() == ITEMKIND_CATEGORY) break;
        if (::SendMessageA(h, LB_SETITEMDATA, (WPARAM)(nRow + 1), 0) == LB_ERR) break;
        if (::SendMessageA(h, LB_DELETESTRING, (WPARAM)(nRow + 1), 0) == LB_ERR) {
            ::SendMessageA(h, LB_SETITEMDATA, (WPARAM)(nRow + 1), data);
            break;
        }
        if (child) m_children.InsertAt(taken++, child);
    }
    m_bExpanded = 0;
    ::SendMessageA(h, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(h, nullptr, TRUE);
    return TRUE;
}

// ---- factories ----

// Runs build (which allocates the item and stores its first value) inside the
// handler for the framework's exceptions: on one the item is freed and NULL
// returned, nothing reported.
template <class Build>
static IProperty* MakeItem(Build build)
{
    IProperty* item = nullptr;
    try {
        build(item);
    } catch (CException* e) {
        delete item;
        e->Delete();
        return nullptr;
    } catch (const std::bad_alloc&) {
        delete item;
        return nullptr;
    }
    return item;
}

IProperty* CreateEditItem(const char* pszName, const VARIANT* pValue, LPARAM itemData)
{
    return MakeItem([&](IProperty*& item) {
        item = new CPropertyEditItem(pszName, itemData);
        item->SetValue(pValue);
    });
}

IProperty* CreateTimeItem(const char* pszName, int nValue, int nUnit, LPARAM itemData)
{
    return MakeItem([&](IProperty*& item) {
        item = new CPropertyTimeItem(pszName, itemData, nUnit);
        CComVariant v(nValue);
        item->SetValue(&v);
    });
}

IProperty* CreateTimeItemWithUnit(const char* pszName, int nValue, const char* pszUnit, LPARAM itemData)
{
    return MakeItem([&](IProperty*& item) {
        CPropertyTimeItem* p = new CPropertyTimeItem(pszName, itemData, TIMEUNIT_TEXT);
        item = p;
        p->m_strUnit = pszUnit;
        CComVariant v(nValue);
        item->SetValue(&v);
    });
}

IProperty* CreateBooleanItem(const char* pszName, bool bValue, LPARAM itemData)
{
    return MakeItem([&](IProperty*& item) {
        item = new CPropertyBooleanItem(pszName, itemData);
        CComVariant v((int)bValue & 1);
        item->SetValue(&v);
    });
}

IProperty* CreateListItem(const char* pszName, const char* const* ppszTexts, int nIndex, LPARAM itemData)
{
    return MakeItem([&](IProperty*& item) {
        CPropertyListItem* p = new CPropertyListItem(pszName, itemData);
        item = p;
        if (!ppszTexts) return;
        p->SetEntries(ppszTexts);
        CComVariant v(nIndex);
        item->SetValue(&v);
    });
}
