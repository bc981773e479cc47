// CPropertyList: the owner-drawn property grid over a list box. Rows are
// IProperty items (owned by the list), drawn as a name cell and a value cell
// with a draggable divider; category rows fold their rows away; the selected
// row gets an in-place editor; every change is offered to the parent first.
#pragma once
#include "controls/PropertyItems.h"
#include <functional>

class CPropertyList : public CListBox {
public:
    CPropertyList();

    void DrawItem(LPDRAWITEMSTRUCT pdis) override;
    void MeasureItem(LPMEASUREITEMSTRUCT pmis) override;
    void DeleteItem(LPDELETEITEMSTRUCT pdis) override;

    // Appends a row; NULL (the item staying the caller's) when refused.
    IProperty* AddItem(IProperty* pItem);
    // By item identifier, hidden rows of collapsed categories included.
    IProperty* FindProperty(LPARAM id);
    // The row of an item; -1 for none (hidden rows are no rows).
    int FindIndex(IProperty* pItem);
    BOOL GetItemValue(IProperty* pItem, VARIANT* pValue);
    void SetItemEnabled(IProperty* pItem, BOOL bEnable);
    void SetExtendedStyle(DWORD dwStyle);
    DWORD GetExtendedStyle() const { return m_dwExtStyle; }
    BOOL RefreshLayout();
    void ResetContent();
    BOOL Expand(IProperty* pCategory);
    BOOL Collapse(IProperty* pCategory);
    BOOL BeginEdit(IProperty* pItem, int nRow);
    void DestroyEditor();
    void InvalidateRow(int nRow);
    HWND GetEditorWindow() const { return m_hEditor; }
    // The row's item; NULL for a row without one or no row.
    IProperty* ItemAt(int nRow) const;
    // A proposed value and a category to fold or unfold come as pointers,
    // sent by the list's own items; posted, they are dropped.
    BOOL IsSentOnlyMessage(UINT message) const override
    {
        return message == WM_PROPLIST_CHANGED || message == WM_PROPLIST_EXPAND || message == WM_PROPLIST_COLLAPSE;
    }

    PropertyDrawContext m_drawContext;
    HWND m_hEditor = nullptr;
    int m_nEditIndex = -1;
    DWORD m_dwExtStyle = 0;
    CFont m_font;
    CFont m_categoryFont;
    CPen m_borderPen;
    int m_nDragStartX = 0;
    int m_nTrackX = 0;
    int m_nSplitter = 0;

protected:
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnVScroll(WPARAM wParam, LPARAM lParam) { return OnScroll(WM_VSCROLL, wParam, lParam); }
    LRESULT OnHScroll(WPARAM wParam, LPARAM lParam) { return OnScroll(WM_HSCROLL, wParam, lParam); }
    LRESULT OnScroll(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnChar(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDblClk(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam);
    LRESULT OnSettingChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
    void OnSelChange();
    LRESULT OnUpdateProperty(WPARAM wParam, LPARAM lParam);
    LRESULT OnCancelProperty(WPARAM wParam, LPARAM lParam);
    LRESULT OnPropertyChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnExpand(WPARAM, LPARAM lParam) { Expand((IProperty*)lParam); return 0; }
    LRESULT OnCollapse(WPARAM, LPARAM lParam) { Collapse((IProperty*)lParam); return 0; }
    LRESULT OnNavigate(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    LRESULT Notify(int code, IProperty* pItem);
    int Strip() const { return (m_dwExtStyle & LISTSTYLE_CATEGORY_COLUMN) ? 16 : 0; }
    int ClampX(int x) const;
    void DrawTrackLine(int x);
    // The editor row's item when lParam is the open editor; else NULL.
    IProperty* EditedItem(LPARAM lParam) const;
    // The first item held (a row, or a row hidden under a collapsed
    // category) that match accepts; match sees only the list's own items.
    IProperty* FindHeld(const std::function<bool(IProperty*)>& match);
    // lParam when it is an item the list holds, found by comparing pointers
    // alone; NULL for anything else, which is never called.
    IProperty* HeldItem(LPARAM lParam);
    void ReopenEditor(IProperty* pItem);
};
