// vfx controls: CStatic, CButton, CToolTipCtrl.
//
// Thin views of the system's control classes: a dialog binds one to its
// control with SubclassDlgItem; every method is one message to the control.
#pragma once
#include "vfxwnd.h"
#include <commctrl.h>

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

// A tooltip window holding rectangle tools of one owner window. Tool
// records use the first version's size, which every common-controls
// library accepts. The tooltip is a plain window (no object map).
class CToolTipCtrl : public CWnd {
public:
    ~CToolTipCtrl() override { if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd); }
    BOOL Create(CWnd* pParent, DWORD dwStyle = 0)
    {
        if (m_hWnd || !pParent) return FALSE;
        m_hWnd = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, pParent->m_hWnd, nullptr, nullptr, nullptr);
        return m_hWnd != nullptr;
    }
    BOOL AddTool(CWnd* pWnd, const char* text, LPCRECT rect, UINT_PTR id)
    {
        TOOLINFOA ti = Info(pWnd, id);
        ti.lpszText = (LPSTR)text;
        if (rect) ti.rect = *rect;
        return (BOOL)SendMessage(TTM_ADDTOOLA, 0, (LPARAM)&ti);
    }
    void DelTool(CWnd* pWnd, UINT_PTR id)
    {
        TOOLINFOA ti = Info(pWnd, id);
        SendMessage(TTM_DELTOOLA, 0, (LPARAM)&ti);
    }
    void UpdateTipText(const char* text, CWnd* pWnd, UINT_PTR id)
    {
        TOOLINFOA ti = Info(pWnd, id);
        ti.lpszText = (LPSTR)text;
        SendMessage(TTM_UPDATETIPTEXTA, 0, (LPARAM)&ti);
    }
    // The tool's text; empty when there is no such tool.
    CString GetText(CWnd* pWnd, UINT_PTR id) const
    {
        char buf[1024] = "";
        TOOLINFOA ti = Info(pWnd, id);
        ti.lpszText = buf;
        SendMessage(TTM_GETTEXTA, sizeof(buf), (LPARAM)&ti);
        buf[sizeof(buf) - 1] = '\0';
        return CString(buf);
    }
    int GetToolCount() const { return (int)SendMessage(TTM_GETTOOLCOUNT); }
    void RelayEvent(MSG* pMsg) { if (m_hWnd) SendMessage(TTM_RELAYEVENT, 0, (LPARAM)pMsg); }

private:
    static TOOLINFOA Info(CWnd* pWnd, UINT_PTR id)
    {
        TOOLINFOA ti = {};
        ti.cbSize = TTTOOLINFOA_V1_SIZE;
        ti.hwnd = pWnd ? pWnd->m_hWnd : nullptr;
        ti.uId = id;
        return ti;
    }
};
