// The property list's shared vocabulary: IProperty, the item kinds and
// actions, PropertyDrawContext, PropertyListNotify, the list's private
// messages, notifications and extended styles.
#pragma once
#include "vfx.h"

// Item kinds (IProperty::GetItemKind).
#define ITEMKIND_CATEGORY   1
#define ITEMKIND_READONLY   2
#define ITEMKIND_EDIT       3
#define ITEMKIND_LIST       4

// Actions the list passes to IProperty::Activate. CLICK and DBLCLICK carry
// the client point (x low, y high word); the others 0.
#define ITEMACTION_SELECT   1
#define ITEMACTION_TOGGLE   2
#define ITEMACTION_CLICK    3
#define ITEMACTION_DBLCLICK 4
#define ITEMACTION_TAB      6
#define ITEMACTION_KEY      7

// Messages items and editors send to the list (answered with 0).
#define WM_PROPLIST_UPDATE   (WM_USER + 430)  // lParam: editor window; commit its text
#define WM_PROPLIST_CANCEL   (WM_USER + 431)  // lParam: editor window; keep the value
#define WM_PROPLIST_CHANGED  (WM_USER + 432)  // wParam: const VARIANT*; lParam: IProperty*
#define WM_PROPLIST_EXPAND   (WM_USER + 433)  // lParam: the category
#define WM_PROPLIST_COLLAPSE (WM_USER + 434)  // lParam: the category
#define WM_PROPLIST_NAVIGATE (WM_USER + 435)  // wParam: virtual key; posted

// Notifications to the list's parent (PropertyListNotify::hdr.code).
#define LISTNOTIFY_SELCHANGED   (-3001)
#define LISTNOTIFY_ITEMCHANGING (-3002)  // non-zero reply vetoes
#define LISTNOTIFY_ITEMCHANGED  (-3003)
#define LISTNOTIFY_COLLAPSED    (-3004)
#define LISTNOTIFY_EXPANDED     (-3005)
#define LISTNOTIFY_CLICK        (-3007)  // non-zero reply: no item action
#define LISTNOTIFY_DBLCLICK     (-3008)  // non-zero reply: no item action

// Extended styles of the list.
#define LISTSTYLE_CATEGORY_COLUMN     0x01
#define LISTSTYLE_FLAT_CATEGORIES     0x04
#define LISTSTYLE_SHOW_SELECTION      0x08
#define LISTSTYLE_EDIT_ON_SELECT      0x10
#define LISTSTYLE_FIXED_SPLITTER      0x20
#define LISTSTYLE_GRADIENT_CATEGORIES 0x40

// What a row is drawn with; every row gets a fresh copy of the list's own.
struct PropertyDrawContext {
    HDC hdc;
    RECT rect;
    UINT state;
    HFONT font;
    HFONT categoryFont;
    HPEN borderPen;
    COLORREF clrText;
    COLORREF clrBack;
    COLORREF clrSelText;
    COLORREF clrSelBack;
    COLORREF clrBorder;
    COLORREF clrDisabled;
    TEXTMETRICA tm;
    DWORD extStyle;
};

// One row of the list.
class IProperty {
public:
    virtual ~IProperty() {}
    virtual BYTE GetItemKind() = 0;
    virtual void AttachToList(HWND hwndList, HWND hwndUnused) = 0;
    virtual const char* GetName() = 0;
    virtual int SetEnabled(int bEnable) = 0;
    virtual BOOL IsEnabled() = 0;
    virtual void SetItemData(LPARAM data) = 0;
    virtual LPARAM GetItemData() = 0;
    virtual void DrawName(PropertyDrawContext* pdc) = 0;
    virtual void DrawValue(PropertyDrawContext* pdc) = 0;
    virtual HWND CreateEditor(HWND hwndList, const RECT* prcCell) = 0;
    virtual BOOL Activate(UINT action, LPARAM param) = 0;
    // size counts the terminator; nothing is written when it is below 1.
    virtual BOOL GetDisplayText(char* pszBuffer, int size) = 0;
    virtual int GetDisplayTextLength() = 0;
    virtual BOOL GetValue(VARIANT* pValue) = 0;
    virtual BOOL SetValueFromWindow(HWND hwndEditor) = 0;
    virtual BOOL SetValue(const VARIANT* pValue) = 0;
};

// The WM_NOTIFY record; property is NULL only in SELCHANGED without a row.
struct PropertyListNotify {
    NMHDR hdr;
    IProperty* property;
};
