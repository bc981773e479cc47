// vfx controls: CToolTipCtrl, CStaticT, CButtonT, CEditT, CListBoxT, CComboBoxT,
// CListCtrlT, CDateTimeCtrlT, CSpinButtonCtrlT, CProgressCtrlT, CTabCtrlT,
// and for each the object form (CStatic, CButton, ...) and the view form
// (CStaticView, CButtonView, ...).
//
// One template per system control class, over its base: over CWindow it is
// a view of a control someone else made (a dialog's, for a moment); over
// CWnd it is an object that creates or subclasses its control and has a
// message map, and a class derived from it is a control of its own. Every
// method is one message to the control.
#pragma once
#include "vfxwnd.h"
#include <commctrl.h>

// What every control template shares: creation of its own class as a child.
template <class TBase>
class CControlT : public TBase {
public:
    using TBase::TBase;
protected:
    BOOL CreateControl(const char* cls, const char* text, DWORD dwStyle, const RECT& rect,
                       const CWindow* pParentWnd, UINT nID, DWORD dwExStyle = 0)
    {
        AfxInitCommonControls();
        return this->CreateEx(dwExStyle, cls, text, dwStyle | WS_CHILD, rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top,
                              pParentWnd ? pParentWnd->m_hWnd : nullptr, (HMENU)(UINT_PTR)nID);
    }
};

template <class TBase>
class CStaticT : public CControlT<TBase> {
public:
    using CControlT<TBase>::CControlT;
    BOOL Create(const char* text, DWORD dwStyle, const RECT& rect, const CWindow* pParentWnd, UINT nID = 0xFFFF)
    { return this->CreateControl("STATIC", text, dwStyle, rect, pParentWnd, nID); }
    HICON SetIcon(HICON hIcon) { return (HICON)this->SendMessage(STM_SETICON, (WPARAM)hIcon); }
    HICON GetIcon() const { return (HICON)this->SendMessage(STM_GETICON); }
    HBITMAP SetBitmap(HBITMAP hBitmap) { return (HBITMAP)this->SendMessage(STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)hBitmap); }
    HBITMAP GetBitmap() const { return (HBITMAP)this->SendMessage(STM_GETIMAGE, IMAGE_BITMAP); }
};

template <class TBase>
class CButtonT : public CControlT<TBase> {
public:
    using CControlT<TBase>::CControlT;
    BOOL Create(const char* text, DWORD dwStyle, const RECT& rect, const CWindow* pParentWnd, UINT nID)
    { return this->CreateControl("BUTTON", text, dwStyle, rect, pParentWnd, nID); }
    int GetCheck() const { return (int)this->SendMessage(BM_GETCHECK); }
    void SetCheck(int nCheck) { this->SendMessage(BM_SETCHECK, (WPARAM)nCheck); }
    UINT GetState() const { return (UINT)this->SendMessage(BM_GETSTATE); }
    void SetState(BOOL bHighlight) { this->SendMessage(BM_SETSTATE, (WPARAM)bHighlight); }
    UINT GetButtonStyle() const { return (UINT)this->GetStyle() & 0xFFFF; }
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE) { this->SendMessage(BM_SETSTYLE, nStyle, bRedraw); }
    HICON SetIcon(HICON hIcon) { return (HICON)this->SendMessage(BM_SETIMAGE, IMAGE_ICON, (LPARAM)hIcon); }
    // Sends the click the user would make (BN_CLICKED to the parent).
    void Click() { this->SendMessage(BM_CLICK); }
};

template <class TBase>
class CEditT : public CControlT<TBase> {
public:
    using CControlT<TBase>::CControlT;
    BOOL Create(DWORD dwStyle, const RECT& rect, const CWindow* pParentWnd, UINT nID)
    { return this->CreateControl("EDIT", "", dwStyle, rect, pParentWnd, nID); }
    void SetSel(int nStart, int nEnd, BOOL bNoScroll = FALSE)
    { this->SendMessage(EM_SETSEL, (WPARAM)nStart, nEnd); if (!bNoScroll) this->SendMessage(EM_SCROLLCARET); }
    void GetSel(int& nStart, int& nEnd) const
    { DWORD s = 0, e = 0; this->SendMessage(EM_GETSEL, (WPARAM)&s, (LPARAM)&e); nStart = (int)s; nEnd = (int)e; }
    // The start in the low word, the end in the high word.
    DWORD GetSel() const { return (DWORD)this->SendMessage(EM_GETSEL); }
    void SetMargins(UINT nLeft, UINT nRight)
    { this->SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(nLeft, nRight)); }
    void ReplaceSel(const char* text, BOOL bCanUndo = FALSE) { this->SendMessage(EM_REPLACESEL, bCanUndo, (LPARAM)text); }
    void SetLimitText(UINT nMax) { this->SendMessage(EM_SETLIMITTEXT, nMax); }
    UINT GetLimitText() const { return (UINT)this->SendMessage(EM_GETLIMITTEXT); }
    BOOL SetReadOnly(BOOL bReadOnly = TRUE) { return (BOOL)this->SendMessage(EM_SETREADONLY, bReadOnly); }
    BOOL GetModify() const { return (BOOL)this->SendMessage(EM_GETMODIFY); }
    void SetModify(BOOL bModified = TRUE) { this->SendMessage(EM_SETMODIFY, bModified); }
    int GetLineCount() const { return (int)this->SendMessage(EM_GETLINECOUNT); }
};

template <class TBase>
class CListBoxT : public CControlT<TBase> {
public:
    using CControlT<TBase>::CControlT;
    BOOL Create(DWORD dwStyle, const RECT& rect, const CWindow* pParentWnd, UINT nID)
    { return this->CreateControl("LISTBOX", "", dwStyle, rect, pParentWnd, nID); }
    int GetCount() const { return (int)this->SendMessage(LB_GETCOUNT); }
    int GetCurSel() const { return (int)this->SendMessage(LB_GETCURSEL); }
    int SetCurSel(int n) { return (int)this->SendMessage(LB_SETCURSEL, (WPARAM)n); }
    int GetSel(int n) const { return (int)this->SendMessage(LB_GETSEL, (WPARAM)n); }
    int SetSel(int n, BOOL bSelect = TRUE) { return (int)this->SendMessage(LB_SETSEL, bSelect, n); }
    int AddString(const char* s) { return (int)this->SendMessage(LB_ADDSTRING, 0, (LPARAM)s); }
    int InsertString(int n, const char* s) { return (int)this->SendMessage(LB_INSERTSTRING, (WPARAM)n, (LPARAM)s); }
    int DeleteString(int n) { return (int)this->SendMessage(LB_DELETESTRING, (WPARAM)n); }
    void ResetContent() { this->SendMessage(LB_RESETCONTENT); }
    int GetTextLen(int n) const { return (int)this->SendMessage(LB_GETTEXTLEN, (WPARAM)n); }
    int GetText(int n, CString& s) const
    {
        int len = GetTextLen(n);
        if (len < 0) { s.Empty(); return len; }
        int got = (int)this->SendMessage(LB_GETTEXT, (WPARAM)n, (LPARAM)s.GetBuffer(len + 1));
        s.ReleaseBuffer(got > 0 ? got : 0);
        return got;
    }
    // buf holds at least GetTextLen(n) + 1 characters.
    int GetText(int n, char* buf) const { return (int)this->SendMessage(LB_GETTEXT, (WPARAM)n, (LPARAM)buf); }
    DWORD_PTR GetItemData(int n) const { return (DWORD_PTR)this->SendMessage(LB_GETITEMDATA, (WPARAM)n); }
    int SetItemData(int n, DWORD_PTR data) { return (int)this->SendMessage(LB_SETITEMDATA, (WPARAM)n, (LPARAM)data); }
    int GetItemHeight(int n) const { return (int)this->SendMessage(LB_GETITEMHEIGHT, (WPARAM)n); }
    int SetItemHeight(int n, UINT cy) { return (int)this->SendMessage(LB_SETITEMHEIGHT, (WPARAM)n, MAKELPARAM(cy, 0)); }
    int GetItemRect(int n, LPRECT r) const { return (int)this->SendMessage(LB_GETITEMRECT, (WPARAM)n, (LPARAM)r); }
    int GetTopIndex() const { return (int)this->SendMessage(LB_GETTOPINDEX); }
    int SetTopIndex(int n) { return (int)this->SendMessage(LB_SETTOPINDEX, (WPARAM)n); }
    // The row at a client point; bOutside is set when the point is below the last row.
    UINT ItemFromPoint(POINT pt, BOOL& bOutside) const
    {
        DWORD r = (DWORD)this->SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
        bOutside = HIWORD(r) != 0;
        return LOWORD(r);
    }
    int FindString(int nStart, const char* s) const { return (int)this->SendMessage(LB_FINDSTRING, (WPARAM)nStart, (LPARAM)s); }
    int FindStringExact(int nStart, const char* s) const { return (int)this->SendMessage(LB_FINDSTRINGEXACT, (WPARAM)nStart, (LPARAM)s); }
};

template <class TBase>
class CComboBoxT : public CControlT<TBase> {
public:
    using CControlT<TBase>::CControlT;
    BOOL Create(DWORD dwStyle, const RECT& rect, const CWindow* pParentWnd, UINT nID)
    { return this->CreateControl("COMBOBOX", "", dwStyle, rect, pParentWnd, nID); }
    int GetCount() const { return (int)this->SendMessage(CB_GETCOUNT); }
    int GetCurSel() const { return (int)this->SendMessage(CB_GETCURSEL); }
    int SetCurSel(int n) { return (int)this->SendMessage(CB_SETCURSEL, (WPARAM)n); }
    int AddString(const char* s) { return (int)this->SendMessage(CB_ADDSTRING, 0, (LPARAM)s); }
    int InsertString(int n, const char* s) { return (int)this->SendMessage(CB_INSERTSTRING, (WPARAM)n, (LPARAM)s); }
    int DeleteString(int n) { return (int)this->SendMessage(CB_DELETESTRING, (WPARAM)n); }
    void ResetContent() { this->SendMessage(CB_RESETCONTENT); }
    int GetLBTextLen(int n) const { return (int)this->SendMessage(CB_GETLBTEXTLEN, (WPARAM)n); }
    int GetLBText(int n, CString& s) const
    {
        int len = GetLBTextLen(n);
        if (len < 0) { s.Empty(); return len; }
        int got = (int)this->SendMessage(CB_GETLBTEXT, (WPARAM)n, (LPARAM)s.GetBuffer(len + 1));
        s.ReleaseBuffer(got > 0 ? got : 0);
        return got;
    }
    DWORD_PTR GetItemData(int n) const { return (DWORD_PTR)this->SendMessage(CB_GETITEMDATA, (WPARAM)n); }
    int SetItemData(int n, DWORD_PTR data) { return (int)this->SendMessage(CB_SETITEMDATA, (WPARAM)n, (LPARAM)data); }
    int FindStringExact(int nStart, const char* s) const { return (int)this->SendMessage(CB_FINDSTRINGEXACT, (WPARAM)nStart, (LPARAM)s); }
    int SelectString(int nStart, const char* s) { return (int)this->SendMessage(CB_SELECTSTRING, (WPARAM)nStart, (LPARAM)s); }
    void ShowDropDown(BOOL bShow = TRUE) { this->SendMessage(CB_SHOWDROPDOWN, bShow); }
    BOOL GetDroppedState() const { return (BOOL)this->SendMessage(CB_GETDROPPEDSTATE); }
    int GetItemHeight(int n) const { return (int)this->SendMessage(CB_GETITEMHEIGHT, (WPARAM)n); }
    int SetItemHeight(int n, UINT cy) { return (int)this->SendMessage(CB_SETITEMHEIGHT, (WPARAM)n, (LPARAM)cy); }
    BOOL LimitText(int nMax) { return (BOOL)this->SendMessage(CB_LIMITTEXT, (WPARAM)nMax); }
};

template <class TBase>
class CListCtrlT : public CControlT<TBase> {
public:
    using CControlT<TBase>::CControlT;
    BOOL Create(DWORD dwStyle, const RECT& rect, const CWindow* pParentWnd, UINT nID)
    { return this->CreateControl(WC_LISTVIEWA, "", dwStyle, rect, pParentWnd, nID); }
    int InsertColumn(int nCol, const char* heading, int nFormat = LVCFMT_LEFT, int nWidth = -1)
    {
        LVCOLUMNA c = {};
        c.mask = LVCF_TEXT | LVCF_FMT | (nWidth >= 0 ? LVCF_WIDTH : 0);
        c.fmt = nFormat;
        c.cx = nWidth;
        c.pszText = (LPSTR)heading;
        return (int)this->SendMessage(LVM_INSERTCOLUMNA, (WPARAM)nCol, (LPARAM)&c);
    }
    int InsertItem(int nItem, const char* text)
    {
        LVITEMA it = {};
        it.mask = LVIF_TEXT;
        it.iItem = nItem;
        it.pszText = (LPSTR)text;
        return (int)this->SendMessage(LVM_INSERTITEMA, 0, (LPARAM)&it);
    }
    BOOL SetItemText(int nItem, int nSubItem, const char* text)
    {
        LVITEMA it = {};
        it.iSubItem = nSubItem;
        it.pszText = (LPSTR)text;
        return (BOOL)this->SendMessage(LVM_SETITEMTEXTA, (WPARAM)nItem, (LPARAM)&it);
    }
    CString GetItemText(int nItem, int nSubItem) const
    {
        char buf[1024] = "";
        LVITEMA it = {};
        it.iSubItem = nSubItem;
        it.pszText = buf;
        it.cchTextMax = (int)sizeof(buf);
        this->SendMessage(LVM_GETITEMTEXTA, (WPARAM)nItem, (LPARAM)&it);
        buf[sizeof(buf) - 1] = '\0';
        return CString(buf);
    }
    int GetItemCount() const { return (int)this->SendMessage(LVM_GETITEMCOUNT); }
    BOOL DeleteItem(int nItem) { return (BOOL)this->SendMessage(LVM_DELETEITEM, (WPARAM)nItem); }
    BOOL DeleteAllItems() { return (BOOL)this->SendMessage(LVM_DELETEALLITEMS); }
    DWORD GetExtendedStyle() const { return (DWORD)this->SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE); }
    DWORD SetExtendedStyle(DWORD dwExStyle) { return (DWORD)this->SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, (LPARAM)dwExStyle); }
    int GetNextItem(int nItem, int nFlags) const { return (int)this->SendMessage(LVM_GETNEXTITEM, (WPARAM)nItem, MAKELPARAM(nFlags, 0)); }
    UINT GetItemState(int nItem, UINT nMask) const { return (UINT)this->SendMessage(LVM_GETITEMSTATE, (WPARAM)nItem, (LPARAM)nMask); }
    BOOL SetItemState(int nItem, UINT nState, UINT nMask)
    {
        LVITEMA it = {};
        it.state = nState;
        it.stateMask = nMask;
        return (BOOL)this->SendMessage(LVM_SETITEMSTATE, (WPARAM)nItem, (LPARAM)&it);
    }
    BOOL SetItemData(int nItem, DWORD_PTR data)
    {
        LVITEMA it = {};
        it.mask = LVIF_PARAM;
        it.iItem = nItem;
        it.lParam = (LPARAM)data;
        return (BOOL)this->SendMessage(LVM_SETITEMA, 0, (LPARAM)&it);
    }
    DWORD_PTR GetItemData(int nItem) const
    {
        LVITEMA it = {};
        it.mask = LVIF_PARAM;
        it.iItem = nItem;
        return this->SendMessage(LVM_GETITEMA, 0, (LPARAM)&it) ? (DWORD_PTR)it.lParam : 0;
    }
    int GetColumnWidth(int nCol) const { return (int)this->SendMessage(LVM_GETCOLUMNWIDTH, (WPARAM)nCol); }
    BOOL SetColumnWidth(int nCol, int cx) { return (BOOL)this->SendMessage(LVM_SETCOLUMNWIDTH, (WPARAM)nCol, MAKELPARAM(cx, 0)); }
    BOOL EnsureVisible(int nItem, BOOL bPartialOK) { return (BOOL)this->SendMessage(LVM_ENSUREVISIBLE, (WPARAM)nItem, bPartialOK); }
};

template <class TBase>
class CDateTimeCtrlT : public CControlT<TBase> {
public:
    using CControlT<TBase>::CControlT;
    BOOL Create(DWORD dwStyle, const RECT& rect, const CWindow* pParentWnd, UINT nID)
    { return this->CreateControl(DATETIMEPICK_CLASSA, "", dwStyle, rect, pParentWnd, nID); }
    // GDT_VALID with the time filled in, GDT_NONE when unchecked, GDT_ERROR.
    DWORD GetTime(SYSTEMTIME* pst) const { return (DWORD)this->SendMessage(DTM_GETSYSTEMTIME, 0, (LPARAM)pst); }
    BOOL SetTime(const SYSTEMTIME* pst)
    { return (BOOL)this->SendMessage(DTM_SETSYSTEMTIME, pst ? GDT_VALID : GDT_NONE, (LPARAM)pst); }
    BOOL SetFormat(const char* format) { return (BOOL)this->SendMessage(DTM_SETFORMATA, 0, (LPARAM)format); }
    // range[0] the earliest, range[1] the latest; flags GDTR_MIN | GDTR_MAX.
    BOOL SetRange(DWORD flags, const SYSTEMTIME range[2]) { return (BOOL)this->SendMessage(DTM_SETRANGE, flags, (LPARAM)range); }
    DWORD GetRange(SYSTEMTIME range[2]) const { return (DWORD)this->SendMessage(DTM_GETRANGE, 0, (LPARAM)range); }
};

template <class TBase>
class CSpinButtonCtrlT : public CControlT<TBase> {
public:
    using CControlT<TBase>::CControlT;
    BOOL Create(DWORD dwStyle, const RECT& rect, const CWindow* pParentWnd, UINT nID)
    { return this->CreateControl(UPDOWN_CLASSA, "", dwStyle, rect, pParentWnd, nID); }
    void SetRange(int nLower, int nUpper) { this->SendMessage(UDM_SETRANGE32, (WPARAM)nLower, (LPARAM)nUpper); }
    void GetRange(int& nLower, int& nUpper) const { this->SendMessage(UDM_GETRANGE32, (WPARAM)&nLower, (LPARAM)&nUpper); }
    int SetPos(int nPos) { return (int)this->SendMessage(UDM_SETPOS32, 0, (LPARAM)nPos); }
    int GetPos() const { return (int)this->SendMessage(UDM_GETPOS32); }
    CWindow SetBuddy(HWND hBuddy) { return CWindow((HWND)this->SendMessage(UDM_SETBUDDY, (WPARAM)hBuddy)); }
    CWindow GetBuddy() const { return CWindow((HWND)this->SendMessage(UDM_GETBUDDY)); }
};

template <class TBase>
class CProgressCtrlT : public CControlT<TBase> {
public:
    using CControlT<TBase>::CControlT;
    BOOL Create(DWORD dwStyle, const RECT& rect, const CWindow* pParentWnd, UINT nID)
    { return this->CreateControl(PROGRESS_CLASSA, "", dwStyle, rect, pParentWnd, nID); }
    void SetRange(int nLower, int nUpper) { this->SendMessage(PBM_SETRANGE32, (WPARAM)nLower, (LPARAM)nUpper); }
    int SetPos(int nPos) { return (int)this->SendMessage(PBM_SETPOS, (WPARAM)nPos); }
    int GetPos() const { return (int)this->SendMessage(PBM_GETPOS); }
    int SetStep(int nStep) { return (int)this->SendMessage(PBM_SETSTEP, (WPARAM)nStep); }
    int StepIt() { return (int)this->SendMessage(PBM_STEPIT); }
    COLORREF SetBarColor(COLORREF c) { return (COLORREF)this->SendMessage(PBM_SETBARCOLOR, 0, (LPARAM)c); }
    COLORREF SetBkColor(COLORREF c) { return (COLORREF)this->SendMessage(PBM_SETBKCOLOR, 0, (LPARAM)c); }
};

template <class TBase>
class CTabCtrlT : public CControlT<TBase> {
public:
    using CControlT<TBase>::CControlT;
    BOOL Create(DWORD dwStyle, const RECT& rect, const CWindow* pParentWnd, UINT nID)
    { return this->CreateControl(WC_TABCONTROLA, "", dwStyle, rect, pParentWnd, nID); }
    int InsertItem(int nItem, const char* text)
    {
        TCITEMA it = {};
        it.mask = TCIF_TEXT;
        it.pszText = (LPSTR)text;
        return (int)this->SendMessage(TCM_INSERTITEMA, (WPARAM)nItem, (LPARAM)&it);
    }
    int GetItemCount() const { return (int)this->SendMessage(TCM_GETITEMCOUNT); }
    int GetCurSel() const { return (int)this->SendMessage(TCM_GETCURSEL); }
    int SetCurSel(int n) { return (int)this->SendMessage(TCM_SETCURSEL, (WPARAM)n); }
    BOOL DeleteAllItems() { return (BOOL)this->SendMessage(TCM_DELETEALLITEMS); }
    BOOL GetItemRect(int n, LPRECT r) const { return (BOOL)this->SendMessage(TCM_GETITEMRECT, (WPARAM)n, (LPARAM)r); }
    // The display area for a window rectangle (bLarger FALSE), or back.
    void AdjustRect(BOOL bLarger, LPRECT r) const { this->SendMessage(TCM_ADJUSTRECT, bLarger, (LPARAM)r); }
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
        AfxInitCommonControls();
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

typedef CStaticT<CWnd> CStatic;
typedef CButtonT<CWnd> CButton;
typedef CEditT<CWnd> CEdit;
typedef CListBoxT<CWnd> CListBox;
typedef CComboBoxT<CWnd> CComboBox;
typedef CListCtrlT<CWnd> CListCtrl;
typedef CDateTimeCtrlT<CWnd> CDateTimeCtrl;
typedef CSpinButtonCtrlT<CWnd> CSpinButtonCtrl;
typedef CProgressCtrlT<CWnd> CProgressCtrl;
typedef CTabCtrlT<CWnd> CTabCtrl;

typedef CStaticT<CWindow> CStaticView;
typedef CButtonT<CWindow> CButtonView;
typedef CEditT<CWindow> CEditView;
typedef CListBoxT<CWindow> CListBoxView;
typedef CComboBoxT<CWindow> CComboBoxView;
typedef CListCtrlT<CWindow> CListCtrlView;
typedef CDateTimeCtrlT<CWindow> CDateTimeCtrlView;
typedef CSpinButtonCtrlT<CWindow> CSpinButtonCtrlView;
typedef CProgressCtrlT<CWindow> CProgressCtrlView;
typedef CTabCtrlT<CWindow> CTabCtrlView;
