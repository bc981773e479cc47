// vfx controls: CStatic, CButton.
//
// Thin views of the system's control classes: a dialog binds one to its
// control with SubclassDlgItem; every method is one message to the control.
#pragma once
#include "vfxwnd.h"

class CStatic : public CWnd {
public:
    HICON SetIcon(HICON hIcon) { return (HICON)SendMessage(STM_SETICON, (WPARAM)hIcon); }
    HICON GetIcon() const { return (HICON)SendMessage(STM_GETICON); }
};

class CButton : public CWnd {
public:
    int GetCheck() const { return (int)SendMessage(BM_GETCHECK); }
    void SetCheck(int nCheck) { SendMessage(BM_SETCHECK, (WPARAM)nCheck); }
    UINT GetState() const { return (UINT)SendMessage(BM_GETSTATE); }
    void SetState(BOOL bHighlight) { SendMessage(BM_SETSTATE, (WPARAM)bHighlight); }
    // Sends the click the user would make (BN_CLICKED to the parent).
    void Click() { SendMessage(BM_CLICK); }
};

class CEdit : public CWnd {
public:
    void SetSel(int nStart, int nEnd) { SendMessage(EM_SETSEL, (WPARAM)nStart, (LPARAM)nEnd); }
    DWORD GetSel() const { return (DWORD)SendMessage(EM_GETSEL); }
    void SetMargins(UINT nLeft, UINT nRight) { SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(nLeft, nRight)); }
};

// A list box; an owner-drawn one gets its WM_DRAWITEM, WM_MEASUREITEM and
// WM_DELETEITEM back from its parent as the three virtual calls, and its
// WM_VKEYTOITEM and WM_CHARTOITEM are answered with the default action (-1).
class CListBox : public CWnd {
public:
    int GetCount() const { return (int)SendMessage(LB_GETCOUNT); }
    int GetCurSel() const { return (int)SendMessage(LB_GETCURSEL); }
    int SetCurSel(int n) { return (int)SendMessage(LB_SETCURSEL, (WPARAM)n); }
    int AddString(const char* s) { return (int)SendMessage(LB_ADDSTRING, 0, (LPARAM)s); }
    int InsertString(int n, const char* s) { return (int)SendMessage(LB_INSERTSTRING, (WPARAM)n, (LPARAM)s); }
    int DeleteString(int n) { return (int)SendMessage(LB_DELETESTRING, (WPARAM)n); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    LPARAM GetItemData(int n) const { return (LPARAM)SendMessage(LB_GETITEMDATA, (WPARAM)n); }
    int SetItemData(int n, LPARAM d) { return (int)SendMessage(LB_SETITEMDATA, (WPARAM)n, d); }
    int GetItemRect(int n, LPRECT r) const { return (int)SendMessage(LB_GETITEMRECT, (WPARAM)n, (LPARAM)r); }
    int GetItemHeight(int n) const { return (int)SendMessage(LB_GETITEMHEIGHT, (WPARAM)n); }
    int GetTextLen(int n) const { return (int)SendMessage(LB_GETTEXTLEN, (WPARAM)n); }
    int GetText(int n, char* buf) const { return (int)SendMessage(LB_GETTEXT, (WPARAM)n, (LPARAM)buf); }
    int SetTopIndex(int n) { return (int)SendMessage(LB_SETTOPINDEX, (WPARAM)n); }
    int FindString(int nStart, const char* s) const { return (int)SendMessage(LB_FINDSTRING, (WPARAM)nStart, (LPARAM)s); }

    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    virtual void MeasureItem(LPMEASUREITEMSTRUCT) {}
    virtual void DeleteItem(LPDELETEITEMSTRUCT) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        switch (message) {
        case WM_DRAWITEM: DrawItem((LPDRAWITEMSTRUCT)lParam); *pResult = TRUE; return TRUE;
        case WM_MEASUREITEM: MeasureItem((LPMEASUREITEMSTRUCT)lParam); *pResult = TRUE; return TRUE;
        case WM_DELETEITEM: DeleteItem((LPDELETEITEMSTRUCT)lParam); *pResult = TRUE; return TRUE;
        // A key or character takes the list box's own action.
        case WM_VKEYTOITEM: case WM_CHARTOITEM: *pResult = -1; return TRUE;
        default: return CWnd::OnChildNotify(message, wParam, lParam, pResult);
        }
    }
};
