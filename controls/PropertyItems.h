// More property items and the factories: CPropertyTimeItem,
// CPropertyListItem, CPropertyBooleanItem, CCategoryProperty,
// CreateEditItem, CreateTimeItem, CreateTimeItemWithUnit, CreateBooleanItem,
// CreateListItem, ParseHoursMinutes.
#pragma once
#include "controls/PropertyItem.h"

// Unit codes of a time item.
#define TIMEUNIT_TEXT          0  // the item's own word
#define TIMEUNIT_SECONDS       1
#define TIMEUNIT_MINUTES       2
#define TIMEUNIT_HOURS         3
#define TIMEUNIT_HOURS_MINUTES 4  // minutes shown as h:mm

// Longest display text of a time item, in characters.
#define TIMEITEM_MAX_TEXT 199

// Minutes from an "h:mm" text: hours are the digits at the very start, the
// minutes the digits after a ':' and any blanks (none is 0); anything after
// them is ignored. FALSE for a text not starting with a digit, a sign where
// the minutes begin or a total beyond the 32-bit range. pHours and pMinutesPart, when given,
// receive the two numbers as written ("2:60" gives 2 and 60).
BOOL ParseHoursMinutes(const char* pszText, int* pMinutes, int* pHours = nullptr, int* pMinutesPart = nullptr);
// The number made by the decimal digits at the very start of a text; FALSE
// for a text not starting with a digit or a number beyond the int range.
BOOL ParseLeadingNumber(const char* pszText, int* pValue);
// The h:mm form of a number of minutes ("-1:30" for -90).
CString FormatHoursMinutes(int nMinutes);

class CPropertyTimeItem : public CPropertyEditItem {
public:
    CPropertyTimeItem(const char* pszName, LPARAM itemData, int nUnit);

    HWND CreateEditor(HWND hwndList, const RECT* prcCell) override;
    BOOL Activate(UINT action, LPARAM param) override;
    BOOL SetValueFromWindow(HWND hwndEditor) override;

    int m_nUnit;
    CString m_strUnit;

protected:
    // The number (h:mm for TIMEUNIT_HOURS_MINUTES), a blank and the
    // translated unit word, cut to TIMEITEM_MAX_TEXT characters.
    BOOL BuildDisplayText(CString& text) override;
};

class CPropertyListItem : public CPropertyItem {
public:
    CPropertyListItem(const char* pszName, LPARAM itemData);

    BYTE GetItemKind() override { return ITEMKIND_LIST; }
    // Translated texts, NULL-ended; throws CMemoryException* when a text
    // cannot be converted.
    void SetEntries(const char* const* ppszTexts);
    void AddEntry(const char* pszText);
    BOOL GetDisplayText(char* pszBuffer, int size) override;
    int GetDisplayTextLength() override;
    HWND CreateEditor(HWND hwndList, const RECT* prcCell) override;
    BOOL Activate(UINT action, LPARAM param) override;
    BOOL SetValueFromWindow(HWND hwndEditor) override;
    BOOL SetValue(const VARIANT* pValue) override;

    // The chosen entry's index; -1 when none.
    int GetIndex() const { return m_value.vt == VT_I4 ? (int)m_value.lVal : -1; }

    CSimpleArray<CComBSTR> m_entries;
    HWND m_hwndEditor = nullptr;

private:
    void SetIndex(int n) { ::VariantClear(&m_value); m_value.vt = VT_I4; m_value.lVal = n; }
    bool HasEntry(int n) const { return n >= 0 && n < m_entries.GetSize(); }
};

// "No" (0) and "Yes" (1).
class CPropertyBooleanItem : public CPropertyListItem {
public:
    CPropertyBooleanItem(const char* pszName, LPARAM itemData);
};

class CCategoryProperty : public CProperty {
public:
    CCategoryProperty(const char* pszName, LPARAM itemData);
    ~CCategoryProperty() override;

    BYTE GetItemKind() override { return ITEMKIND_CATEGORY; }
    void DrawName(PropertyDrawContext* pdc) override;
    void DrawValue(PropertyDrawContext* pdc) override;
    BOOL Activate(UINT action, LPARAM param) override;
    // Move the held rows into the owner list after row nRow, or the rows
    // after it up to the next category into m_children.
    BOOL ExpandIntoList(int nRow);
    BOOL CollapseFromList(int nRow);

    CSimpleArray<IProperty*> m_children;
    BYTE m_bExpanded = 1;
};

// Each returns a new item owned by the caller, or NULL.
IProperty* CreateEditItem(const char* pszName, const VARIANT* pValue, LPARAM itemData);
IProperty* CreateTimeItem(const char* pszName, int nValue, int nUnit, LPARAM itemData);
IProperty* CreateTimeItemWithUnit(const char* pszName, int nValue, const char* pszUnit, LPARAM itemData);
IProperty* CreateBooleanItem(const char* pszName, bool bValue, LPARAM itemData);
IProperty* CreateListItem(const char* pszName, const char* const* ppszTexts, int nIndex, LPARAM itemData);
