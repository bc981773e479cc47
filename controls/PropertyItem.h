// Property items: CProperty, CPropertyItem, CPropertyEditItem.
//
// CProperty is every row's base (owner list, translated name, enabled flag,
// item data); CPropertyItem holds a VARIANT shown as text (a read-only row);
// CPropertyEditItem edits its value in a text box over the value cell.
#pragma once
#include "controls/Property.h"

class CProperty : public IProperty {
public:
    CProperty(const char* pszName, LPARAM itemData);
    ~CProperty() override;
    CProperty(const CProperty&) = delete;
    CProperty& operator=(const CProperty&) = delete;

    void AttachToList(HWND hwndList, HWND hwndUnused) override;
    const char* GetName() override { return m_pszName; }
    int SetEnabled(int bEnable) override;
    BOOL IsEnabled() override { return m_bEnabled != 0; }
    void SetItemData(LPARAM data) override { m_itemData = data; }
    LPARAM GetItemData() override { return m_itemData; }
    void DrawName(PropertyDrawContext* pdc) override;
    void DrawValue(PropertyDrawContext*) override {}
    HWND CreateEditor(HWND, const RECT*) override { return nullptr; }
    BOOL Activate(UINT, LPARAM) override { return TRUE; }
    BOOL GetDisplayText(char*, int) override { return FALSE; }
    int GetDisplayTextLength() override { return 0; }
    BOOL GetValue(VARIANT*) override { return FALSE; }
    BOOL SetValueFromWindow(HWND) override { return FALSE; }
    BOOL SetValue(const VARIANT*) override { return FALSE; }

    // Items alive in the process (built and not yet deleted).
    static int LiveCount() { return s_nLive; }

    HWND m_hwndOwner = nullptr;
    char* m_pszName;
    BYTE m_bEnabled = 1;
    LPARAM m_itemData;

private:
    static int s_nLive;
};

class CPropertyItem : public CProperty {
public:
    CPropertyItem(const char* pszName, LPARAM itemData);
    ~CPropertyItem() override;

    BYTE GetItemKind() override { return ITEMKIND_READONLY; }
    BOOL GetDisplayText(char* pszBuffer, int size) override;
    int GetDisplayTextLength() override;
    void DrawValue(PropertyDrawContext* pdc) override;
    BOOL GetValue(VARIANT* pValue) override;
    BOOL SetValue(const VARIANT* pValue) override;

    VARIANT m_value;

protected:
    // The value as single-byte text; FALSE when it does not convert.
    BOOL GetValueText(CString& text) const;
    // The whole display text, before any buffer cuts it.
    virtual BOOL BuildDisplayText(CString& text) { return GetValueText(text); }
    // The display text through the virtual table; FALSE when there is none.
    BOOL GetDisplayString(CString& text);
};

class CPropertyEditItem : public CPropertyItem {
public:
    CPropertyEditItem(const char* pszName, LPARAM itemData);

    BYTE GetItemKind() override { return ITEMKIND_EDIT; }
    HWND CreateEditor(HWND hwndList, const RECT* prcCell) override;
    BOOL Activate(UINT action, LPARAM param) override;
    BOOL SetValueFromWindow(HWND hwndEditor) override;
    BOOL SetValue(const VARIANT* pValue) override;

    HWND m_hwndEditor = nullptr;
};

// Copies text with lstrcpyn's rule (at most size - 1 characters and a
// terminator); FALSE and nothing written for a NULL buffer or a size below 1.
BOOL CopyDisplayText(const char* pszText, char* pszBuffer, int size);
// An editor's text; FALSE when reading it fails (an empty text is no failure).
BOOL ReadEditorText(HWND hwndEditor, CString& text);
// Reads the editor's text and offers it to the item as a VT_BSTR value.
BOOL SetValueFromEditorText(IProperty* pItem, HWND hwndEditor);
// Stores a copy of src in dest; a failing copy leaves dest VT_ERROR with the
// code and throws the framework's exception.
void CopyVariantOrThrow(VARIANT* dest, const VARIANT* src);
