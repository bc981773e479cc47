#include "controls/PropertyItem.h"
#include "controls/PropertyEditors.h"
#include "services/Translator.h"
#include <new>

int CProperty::s_nLive;

// ---- CProperty ----

static char s_emptyName[1];

CProperty::CProperty(const char* pszName, LPARAM itemData)
    : m_pszName(s_emptyName), m_itemData(itemData)
{
    CString translated = g_translator.Translate(pszName ? pszName : "");
    // Without memory for the copy the item goes on with an empty name.
    char* p = new (std::nothrow) char[(size_t)translated.GetLength() + 1];
    if (p) {
        memcpy(p, translated.GetString(), (size_t)translated.GetLength() + 1);
        m_pszName = p;
    }
    ++s_nLive;
}

CProperty::~CProperty()
{
    if (m_pszName != s_emptyName) delete[] m_pszName;
    --s_nLive;
}

void CProperty::AttachToList(HWND hwndList, HWND)
{
    m_hwndOwner = hwndList;
}

int CProperty::SetEnabled(int bEnable)
{
    m_bEnabled = bEnable == 1 ? 1 : 0;
    return m_bEnabled;
}

void CProperty::DrawName(PropertyDrawContext* pdc)
{
    COLORREF text, back;
    if (pdc->state & ODS_DISABLED) { text = pdc->clrDisabled; back = pdc->clrBack; }
    else if (pdc->state & ODS_SELECTED) { text = pdc->clrSelText; back = pdc->clrSelBack; }
    else { text = pdc->clrText; back = pdc->clrBack; }

    if ((pdc->extStyle & LISTSTYLE_GRADIENT_CATEGORIES) && GetItemKind() == ITEMKIND_CATEGORY) {
        CDC dc;
        dc.Attach(pdc->hdc);
        dc.GradientFillRect(&pdc->rect, ::GetSysColor(COLOR_BTNFACE), pdc->clrBack, FALSE);
        dc.Detach();
    } else {
        ::SetBkColor(pdc->hdc, back);
        ::ExtTextOutA(pdc->hdc, 0, 0, ETO_OPAQUE, &pdc->rect, nullptr, 0, nullptr);
    }
    RECT rc = pdc->rect;
    rc.left += 2;
    ::SetBkMode(pdc->hdc, TRANSPARENT);
    ::SetBkColor(pdc->hdc, back);
    ::SetTextColor(pdc->hdc, text);
    ::DrawTextA(pdc->hdc, m_pszName, -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EDITCONTROL);
}

// ---- helpers ----

BOOL CopyDisplayText(const char* pszText, char* pszBuffer, int size)
{
    if (!pszBuffer || size < 1) return FALSE;
    lstrcpynA(pszBuffer, pszText ? pszText : "", size);
    return TRUE;
}

BOOL ReadEditorText(HWND hwndEditor, CString& text)
{
    int n = ::GetWindowTextLengthA(hwndEditor);
    if (n < 0) n = 0;
    char* p = text.GetBuffer(n + 1);
    // An emptied box answers 0 without touching the last error.
    ::SetLastError(0);
    int got = ::GetWindowTextA(hwndEditor, p, n + 1);
    if (got == 0 && ::GetLastError() != 0) {
        text.Empty();
        return FALSE;
    }
    text.ReleaseBuffer(got > 0 ? got : 0);
    return TRUE;
}

BOOL SetValueFromEditorText(IProperty* pItem, HWND hwndEditor)
{
    CString text;
    if (!ReadEditorText(hwndEditor, text)) return FALSE;
    CComVariant v(text.GetString());
    return pItem->SetValue(&v);
}

void CopyVariantOrThrow(VARIANT* dest, const VARIANT* src)
{
    HRESULT hr = ::VariantCopy(dest, const_cast<VARIANT*>(src));
    if (FAILED(hr)) {
        ::VariantClear(dest);
        dest->vt = VT_ERROR;
        dest->scode = hr;
        AfxThrowOleException(hr);
    }
}

// ---- CPropertyItem ----

CPropertyItem::CPropertyItem(const char* pszName, LPARAM itemData)
    : CProperty(pszName, itemData)
{
    ::VariantInit(&m_value);
}

CPropertyItem::~CPropertyItem()
{
    ::VariantClear(&m_value);
}

BOOL CPropertyItem::GetValueText(CString& text) const
{
    CComVariant tmp;
    if (FAILED(::VariantChangeType(&tmp, const_cast<VARIANT*>(&m_value), 0, VT_BSTR)))
        return FALSE;
    text = CComBSTR::ToAnsi(tmp.bstrVal);
    return TRUE;
}

BOOL CPropertyItem::GetDisplayText(char* pszBuffer, int size)
{
    if (!pszBuffer || size < 1) return FALSE;
    CString text;
    if (!BuildDisplayText(text)) return FALSE;
    return CopyDisplayText(text, pszBuffer, size);
}

int CPropertyItem::GetDisplayTextLength()
{
    CString text;
    return BuildDisplayText(text) ? text.GetLength() : 0;
}

BOOL CPropertyItem::GetDisplayString(CString& text)
{
    int n = GetDisplayTextLength();
    char* p = text.GetBuffer(n + 1);
    p[0] = '\0';
    if (!GetDisplayText(p, n + 1)) { text.Empty(); return FALSE; }
    text.ReleaseBuffer(-1);
    return TRUE;
}

void CPropertyItem::DrawValue(PropertyDrawContext* pdc)
{
    CString text;
    if (!GetDisplayString(text)) return;
    ::SetBkMode(pdc->hdc, TRANSPARENT);
    ::SetTextColor(pdc->hdc, (pdc->state & ODS_DISABLED) ? pdc->clrDisabled : pdc->clrText);
    ::SetBkColor(pdc->hdc, pdc->clrBack);
    RECT rc = pdc->rect;
    rc.left += 2;
    ::DrawTextA(pdc->hdc, text, -1, &rc,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EDITCONTROL | DT_END_ELLIPSIS);
}

BOOL CPropertyItem::GetValue(VARIANT* pValue)
{
    if (!pValue) return FALSE;
    CComVariant tmp;
    CopyVariantOrThrow(&tmp, &m_value);
    if (FAILED(::VariantClear(pValue))) return FALSE;  // tmp clears itself
    *pValue = tmp;
    tmp.vt = VT_EMPTY;
    return TRUE;
}

BOOL CPropertyItem::SetValue(const VARIANT* pValue)
{
    if (!pValue) return FALSE;
    if (pValue != &m_value) CopyVariantOrThrow(&m_value, pValue);
    return TRUE;
}

// ---- CPropertyEditItem ----

CPropertyEditItem::CPropertyEditItem(const char* pszName, LPARAM itemData)
    : CPropertyItem(pszName, itemData)
{
}

HWND CPropertyEditItem::CreateEditor(HWND hwndList, const RECT* prcCell)
{
    m_hwndEditor = nullptr;
    CString text;
    if (!prcCell || !GetDisplayString(text)) return nullptr;
    HWND h = CPropertyEditWindow::CreateEditor(hwndList, *prcCell, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL);
    if (!h) return nullptr;
    m_hwndEditor = h;
    ::SetWindowTextA(h, text);
    if (m_value.vt == VT_UI1 || m_value.vt == VT_UI2 || m_value.vt == VT_UI4)
        ::SetWindowLongPtrA(h, GWL_STYLE, ::GetWindowLongPtrA(h, GWL_STYLE) | ES_NUMBER);
    return h;
}

BOOL CPropertyEditItem::Activate(UINT action, LPARAM)
{
    if ((action == ITEMACTION_DBLCLICK || action == ITEMACTION_TAB || action == ITEMACTION_KEY) &&
        ::IsWindow(m_hwndEditor)) {
        ::SetFocus(m_hwndEditor);
        ::SendMessageA(m_hwndEditor, EM_SETSEL, 0, -1);
    }
    return TRUE;
}

BOOL CPropertyEditItem::SetValueFromWindow(HWND hwndEditor)
{
    return SetValueFromEditorText(this, hwndEditor);
}

BOOL CPropertyEditItem::SetValue(const VARIANT* pValue)
{
    if (!pValue) return FALSE;
    // The first value fixes the item's type.
    if (m_value.vt == VT_EMPTY && pValue != &m_value) CopyVariantOrThrow(&m_value, pValue);
    return SUCCEEDED(::VariantChangeType(&m_value, const_cast<VARIANT*>(pValue), 0, m_value.vt));
}
