// The property list's in-place editors: CPropertyEditWindow,
// CPropertyDropWindowImpl, CPropertyListWindow, CInPlaceButton,
// CInPlaceListBox.
//
// Editors are children of the list, created with new by the items, closed by
// a posted WM_CLOSE; each deletes its own object after its window's
// WM_NCDESTROY. They talk to the list only through WM_PROPLIST_UPDATE,
// WM_PROPLIST_CANCEL and WM_PROPLIST_NAVIGATE.
#pragma once
#include "controls/Property.h"

class CPropertyDropWindowImpl;
class CPropertyListWindow;

// Editor objects alive in the process.
int PropertyEditorLiveCount();

// A one-line text box for typed values.
class CPropertyEditWindow : public CEdit {
public:
    CPropertyEditWindow();
    ~CPropertyEditWindow() override;
    // Creates a new editor over rc, id -1; NULL (and no object left) on failure.
    static HWND CreateEditor(HWND hwndList, const RECT& rc, DWORD dwStyle);

    BYTE m_bCancelled = TRUE;  // leaving the box drops its text

protected:
    void PostNcDestroy() override { delete this; }
    LRESULT OnCreateMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFocusMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnKillFocusMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDownMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnCharMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetDlgCodeMsg(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// The drop button at the right end of a drop box.
class CInPlaceButton : public CButton {
public:
    // Sends the owner box the button's BN_CLICKED.
    void Click();
    CPropertyDropWindowImpl* m_pOwner = nullptr;
protected:
    LRESULT OnKeyDownMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetDlgCodeMsg(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// A read-only value box with a drop button; the button keeps the focus.
class CPropertyDropWindowImpl : public CEdit {
public:
    CPropertyDropWindowImpl();
    ~CPropertyDropWindowImpl() override;
    CInPlaceButton m_button;
protected:
    void PostNcDestroy() override { delete this; }
    LRESULT OnCreateMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFocusMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnKillFocusMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnDropped(WPARAM, LPARAM) { return 0; }
    LRESULT OnGetDlgCodeMsg(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// The pop-up list of a drop list box.
class CInPlaceListBox : public CListBox {
public:
    // Takes the selected line into the owner box and commits it; the focus
    // goes back to the property list.
    void CommitSelection();
    CPropertyListWindow* m_pOwner = nullptr;
protected:
    LRESULT OnKeyDownMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUpMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnKillFocusMsg(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// A drop box whose button opens a list of choices under it.
class CPropertyListWindow : public CPropertyDropWindowImpl {
public:
    // Creates a new drop list box over rc, id -1, not visible; NULL (and no
    // object left) on failure.
    static CPropertyListWindow* CreateEditor(HWND hwndList, const RECT& rc);
    int AddString(const char* pszText);
    void SetCurSel(int nIndex) { m_list.SetCurSel(nIndex); }
    void ShowDropList();

    CInPlaceListBox m_list;
    int m_nDropHeight = 0;  // 0: measured at the next opening
protected:
    LRESULT OnCreateMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnCharMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnCommandMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnDrawItemMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroyMsg(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
