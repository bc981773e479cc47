// vfx windows: CCmdTarget, CCmdUI, CWindow, CWnd, CCreateWatch, CMenu, and the
// message-map macros.
//
// Each class's message map compiles to one function, OnWndMsg: an if-chain
// over the message (and, for commands and notifications, the id and code)
// that ends by chaining to the base class's map. Commands reach the map as
// the private message WM_VFX_COMMAND so that one map serves window messages,
// command routing and update rules alike.
#pragma once
#include "vfxstring.h"
#include "vfxtypes.h"
#include "vfxres.h"
#include <memory>
#include <vector>

class CWnd;
class CMenu;
class CCmdUI;

// Private message carrying a routed command: wParam = MAKEWPARAM(id, code),
// lParam = the CCmdUI* of an update rule, VFX_CMD_PROBE, or 0.
#define WM_VFX_COMMAND      0x7FF0
#define CN_COMMAND          0
#define CN_UPDATE_COMMAND_UI 0xFFFF
#define VFX_CMD_PROBE       ((LPARAM)1)

class CCmdTarget {
public:
    virtual ~CCmdTarget() {}
    // The message map; TRUE when an entry handled the message.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Offers a command (or its update rule) to this target's map.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra);
};

// What an update rule receives: enables, checks or renames a command's
// menu item, or only records the state when there is no item.
class CCmdUI {
public:
    UINT m_nID = 0;
    UINT m_nIndex = 0;
    CMenu* m_pMenu = nullptr;
    CWnd* m_pOther = nullptr;
    BOOL m_bEnabled = TRUE;       // the state the rule left
    int m_nCheck = 0;
    BOOL m_bEnableChanged = FALSE;
    virtual ~CCmdUI() {}
    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);
    virtual void SetText(const char* psz);
    // Runs the rule through pTarget's routing; without a rule the item is
    // disabled when bDisableIfNoHandler and nothing handles the command.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);
};

HINSTANCE AfxGetInstanceHandle();

// A view of one window: a value that holds its handle and nothing else. It
// owns nothing, has no virtual table and is found in no table; copy it
// freely, keep it no longer than the window. Every method is one call on the
// handle.
class CWindow {
public:
    CWindow(HWND hWnd = nullptr) : m_hWnd(hWnd) {}
    HWND m_hWnd;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // A plain window of a registered class, not bound to any object.
    BOOL CreateEx(DWORD dwExStyle, const char* lpszClassName, const char* lpszWindowName,
                  DWORD dwStyle, int x, int y, int nWidth, int nHeight,
                  HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    BOOL DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

    BOOL IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL UpdateWindow() { return ::UpdateWindow(m_hWnd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    void SetWindowText(const char* psz) { ::SetWindowTextA(m_hWnd, psz); }
    void GetWindowText(CString& s) const;
    CString GetWindowText() const { CString s; GetWindowText(s); return s; }
    int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
    LRESULT SendMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessageA(m_hWnd, m, w, l); }
    BOOL PostMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const { return ::PostMessageA(m_hWnd, m, w, l); }
    UINT_PTR SetTimer(UINT_PTR id, UINT ms, TIMERPROC proc = nullptr) { return ::SetTimer(m_hWnd, id, ms, proc); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

    CWindow GetDlgItem(int nID) const { return CWindow(::GetDlgItem(m_hWnd, nID)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    void SetDlgItemText(int nID, const char* psz) { ::SetDlgItemTextA(m_hWnd, nID, psz); }
    UINT GetDlgItemInt(int nID, BOOL* pOk = nullptr, BOOL bSigned = TRUE) const { return ::GetDlgItemInt(m_hWnd, nID, pOk, bSigned); }
    void SetDlgItemInt(int nID, UINT n, BOOL bSigned = TRUE) { ::SetDlgItemInt(m_hWnd, nID, n, bSigned); }
    void CheckDlgButton(int nID, UINT nCheck) { ::CheckDlgButton(m_hWnd, nID, nCheck); }
    UINT IsDlgButtonChecked(int nID) const { return ::IsDlgButtonChecked(m_hWnd, nID); }
    // Checks nCheck and clears the other radio buttons nFirst..nLast.
    void CheckRadioButton(int nFirst, int nLast, int nCheck) { ::CheckRadioButton(m_hWnd, nFirst, nLast, nCheck); }
    // The first checked radio button of nFirst..nLast, 0 when none is.
    int GetCheckedRadioButton(int nFirst, int nLast) const
    {
        for (int id = nFirst; id <= nLast; ++id)
            if (::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED) return id;
        return 0;
    }
    LRESULT SendDlgItemMessage(int nID, UINT m, WPARAM w = 0, LPARAM l = 0) const { return ::SendDlgItemMessageA(m_hWnd, nID, m, w, l); }
    CWindow GetParent() const { return CWindow(::GetParent(m_hWnd)); }
    CWindow GetWindow(UINT nCmd) const { return CWindow(::GetWindow(m_hWnd, nCmd)); }
    BOOL IsChild(HWND hWnd) const { return ::IsChild(m_hWnd, hWnd); }

    void GetClientRect(LPRECT r) const { ::GetClientRect(m_hWnd, r); }
    void GetWindowRect(LPRECT r) const { ::GetWindowRect(m_hWnd, r); }
    void ClientToScreen(LPPOINT p) const { ::ClientToScreen(m_hWnd, p); }
    void ScreenToClient(LPPOINT p) const { ::ScreenToClient(m_hWnd, p); }
    void ClientToScreen(LPRECT r) const { ::MapWindowPoints(m_hWnd, nullptr, (LPPOINT)r, 2); }
    void ScreenToClient(LPRECT r) const { ::MapWindowPoints(nullptr, m_hWnd, (LPPOINT)r, 2); }
    void MoveWindow(int x, int y, int w, int h, BOOL bRepaint = TRUE) { ::MoveWindow(m_hWnd, x, y, w, h, bRepaint); }
    void MoveWindow(LPCRECT r, BOOL bRepaint = TRUE) { MoveWindow(r->left, r->top, r->right - r->left, r->bottom - r->top, bRepaint); }
    BOOL SetWindowPos(HWND hAfter, int x, int y, int cx, int cy, UINT flags) { return ::SetWindowPos(m_hWnd, hAfter, x, y, cx, cy, flags); }
    int SetWindowRgn(HRGN hRgn, BOOL bRedraw = TRUE) { return ::SetWindowRgn(m_hWnd, hRgn, bRedraw); }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    void InvalidateRect(LPCRECT r, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, r, bErase); }
    void ValidateRect(LPCRECT r) { ::ValidateRect(m_hWnd, r); }
    BOOL RedrawWindow(LPCRECT r = nullptr, HRGN hRgn = nullptr, UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
    { return ::RedrawWindow(m_hWnd, r, hRgn, flags); }
    void SetRedraw(BOOL bRedraw = TRUE) { SendMessage(WM_SETREDRAW, (WPARAM)bRedraw); }
    int SetScrollInfo(int nBar, LPCSCROLLINFO p, BOOL bRedraw = TRUE) { return ::SetScrollInfo(m_hWnd, nBar, p, bRedraw); }
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO p) const { return ::GetScrollInfo(m_hWnd, nBar, p); }
    int ScrollWindowEx(int dx, int dy, LPCRECT scroll, LPCRECT clip, HRGN update, LPRECT updated, UINT flags)
    { return ::ScrollWindowEx(m_hWnd, dx, dy, scroll, clip, update, updated, flags); }

    DWORD GetStyle() const { return (DWORD)::GetWindowLongPtrA(m_hWnd, GWL_STYLE); }
    DWORD GetExStyle() const { return (DWORD)::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
    CWindow SetFocus() { return CWindow(::SetFocus(m_hWnd)); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    CWindow SetCapture() { return CWindow(::SetCapture(m_hWnd)); }
    void SetFont(HFONT hFont, BOOL bRedraw = TRUE) { SendMessage(WM_SETFONT, (WPARAM)hFont, bRedraw); }
    HFONT GetFont() const { return (HFONT)SendMessage(WM_GETFONT); }
    // Looked up at run time: FALSE where the system has no layered windows.
    BOOL SetLayeredWindowAttributes(COLORREF crKey, BYTE bAlpha, DWORD dwFlags);
};

class CWnd : public CCmdTarget, public CWindow {
public:
    CWnd() {}
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The object of a window created or subclassed by vfx; NULL otherwise.
    // Answered from a table in this process (user-interface thread only).
    static CWnd* FromHandlePermanent(HWND hWnd);
    // A view of any window.
    static CWindow FromHandle(HWND hWnd) { return CWindow(hWnd); }

    // Creation fails with FALSE. A window that existed has then been through
    // its end (WM_NCDESTROY, PostNcDestroy); when none existed PostNcDestroy
    // has not run and the object is its creator's still. AfxCreateOrDelete
    // applies that rule for objects that delete themselves.
    virtual BOOL CreateEx(DWORD dwExStyle, const char* lpszClassName, const char* lpszWindowName,
                          DWORD dwStyle, int x, int y, int nWidth, int nHeight,
                          HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    virtual BOOL Create(const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID, void* pContext = nullptr);
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    virtual void PostNcDestroy() {}
    virtual BOOL PreTranslateMessage(MSG* pMsg) { (void)pMsg; return FALSE; }
    // The window's own messages whose parameters are pointers and that are
    // only ever sent to it. Through the queue (posted by another program)
    // their pointers point nowhere: they are dropped there, as WM_NOTIFY is
    // for every window.
    virtual BOOL IsSentOnlyMessage(UINT message) const { (void)message; return FALSE; }
    // Called when the object is bound to its window, just before the
    // window's messages start to reach the object.
    virtual void PreSubclassWindow() {}
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being handled, for a handler that
    // wants it first or last.
    LRESULT Default();

    // A notification this control sent to its parent, offered here before
    // the parent's map sees it (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM,
    // WM_MEASUREITEM, WM_COMPAREITEM, WM_DELETEITEM, WM_CTLCOLOR*, and
    // WM_HSCROLL/WM_VSCROLL from a scroll control, WM_VKEYTOITEM and
    // WM_CHARTOITEM). The default runs the *_REFLECT entries of this map,
    // then the item virtuals below, and answers a key or character with the
    // list box's own action (-1); TRUE when handled, and the parent's map is
    // then skipped.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Owner-drawn items of this control. Without an override the parent's
    // map answers. WM_MEASUREITEM carries no handle: the control is found by
    // its id, so it reaches a control created in code (its object is bound
    // from the first message) or bound before the message is sent; the
    // items of a dialog template's list are measured before the dialog can
    // subclass it, by the dialog's own map.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMIS);
    virtual void DeleteItem(LPDELETEITEMSTRUCT lpDIS);
    virtual int CompareItem(LPCOMPAREITEMSTRUCT lpCIS);

    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    BOOL Attach(HWND hWnd);
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK);

    // Set while a WM_NCDESTROY awaits the end of the outermost handler.
    int m_nMsgDepth = 0;
    bool m_bNcDestroyPending = false;
    // Set by the item virtuals' defaults: the parent answers instead.
    bool m_bItemDefault = false;
    WNDPROC m_pfnSuper = nullptr;
    // The message being handled (for Default), NULL between messages.
    const MSG* m_pCurrentMsg = nullptr;

protected:
    void AttachObject(HWND hWnd);
};

// Window procedure of every vfx window.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Runs one message through an object's map with the guards every window
// needs: a notification from a real child goes to the child's object first,
// the object outlives the handlers running on it, and no exception leaves.
// A top-level window then passes WM_SETTINGCHANGE and WM_SYSCOLORCHANGE on
// to every window below it.
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Offers a message to the windows from its target up to the target's
// top-level window; TRUE when one of them took it. The main loop and every
// modal loop of the thread (message filter) use it.
BOOL AfxPreTranslateMessage(MSG* pMsg);
// Binds the next window that this thread creates to pWnd (from its first message).
void AfxHookWindowCreate(CWnd* pWnd);
// Registers the common controls' window classes, once, before the first
// dialog, property sheet or control is made (not at start-up: a run that
// opens no window of them never maps the library).
void AfxInitCommonControls();
bool AfxUnhookWindowCreate();
// Registers (once) a plain class with these attributes; returns its name.
const char* AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr,
                                HBRUSH hbrBackground = nullptr, HICON hIcon = nullptr);

// Follows one creation of pWnd's window: whether a window was bound to the
// object and whether that window has already ended (PostNcDestroy ran).
class CCreateWatch {
public:
    explicit CCreateWatch(CWnd* pWnd);
    ~CCreateWatch();
    CCreateWatch(const CCreateWatch&) = delete;
    CCreateWatch& operator=(const CCreateWatch&) = delete;
    bool WindowBound() const { return m_bBound; }
    bool WindowEnded() const { return m_bEnded; }
    // Called by the framework.
    static bool IsCreating(CWnd* pWnd);
    static void OnBound(CWnd* pWnd);
    static void OnEnded(CWnd* pWnd);
private:
    CWnd* m_pWnd;
    bool m_bBound = false, m_bEnded = false;
    CCreateWatch* m_pOuter;
};

// Creates the window of an object that deletes itself when its window ends
// (create is called with p and returns the creation's BOOL). Returns p when
// its window is there afterwards; NULL when creation failed, and then p is
// gone: deleted by its own end of window when a window existed, deleted here
// when none did. Either way it is deleted once.
template <class T, class Fn>
T* AfxCreateOrDelete(T* p, Fn create)
{
    if (!p) return nullptr;
    CCreateWatch watch(p);
    BOOL ok = create(p);
    if (watch.WindowEnded()) return nullptr;
    if (ok && p->IsWindow()) return p;
    if (!watch.WindowBound()) { delete p; return nullptr; }
    // The window is still there although creation reported failure.
    p->DestroyWindow();
    return nullptr;
}

// Runs ::DrawAnimatedRects where the system has it; FALSE otherwise.
BOOL AfxDrawAnimatedRects(HWND hWnd, int idAni, const RECT* from, const RECT* to);

// Menus: one handle; owned when loaded or created by this object.
class CMenu {
public:
    CMenu() {}
    ~CMenu() { DestroyMenu(); }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    HMENU m_hMenu = nullptr;
    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }
    BOOL LoadMenu(UINT nID);
    BOOL CreatePopupMenu();
    BOOL DestroyMenu();
    BOOL Attach(HMENU h);      // takes ownership
    HMENU Detach();
    void AttachView(HMENU h);  // a view: not destroyed with this object
    // A view of the sub-menu at a position, owned by this object; NULL when
    // the item opens no sub-menu.
    CMenu* GetSubMenu(int nPos);
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
    UINT GetMenuState(UINT id, UINT flags) const { return ::GetMenuState(m_hMenu, id, flags); }
    int GetMenuString(UINT id, CString& s, UINT flags) const;
    BOOL ModifyMenu(UINT pos, UINT flags, UINT_PTR id, const char* text) { return ::ModifyMenuA(m_hMenu, pos, flags, id, text); }
    // Changes only the text of an item, keeping its id, states and default.
    BOOL SetMenuItemText(UINT item, const char* text, BOOL byPosition);
    UINT EnableMenuItem(UINT id, UINT flags) { return ::EnableMenuItem(m_hMenu, id, flags); }
    UINT CheckMenuItem(UINT id, UINT flags) { return ::CheckMenuItem(m_hMenu, id, flags); }
    BOOL SetDefaultItem(UINT item, BOOL byPos = FALSE) { return ::SetMenuDefaultItem(m_hMenu, item, byPos); }
    UINT GetDefaultItem(UINT flags, BOOL byPos = FALSE) const { return ::GetMenuDefaultItem(m_hMenu, byPos, flags); }
    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const char* text = nullptr) { return ::AppendMenuA(m_hMenu, flags, id, text); }
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* pWnd, LPCRECT r = nullptr);
private:
    bool m_bOwned = false;
    std::vector<std::unique_ptr<CMenu>> m_subMenus;
};

// ---- message-map macros ----
#define DECLARE_MESSAGE_MAP() \
public: \
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    BOOL theClass::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) { \
        typedef baseClass TheBaseClass; \
        LRESULT& lResult = *pResult; lResult = 0; (void)lResult; \
        UINT vfxId_ = LOWORD(wParam), vfxCode_ = HIWORD(wParam); (void)vfxId_; (void)vfxCode_;

#define END_MESSAGE_MAP() \
        return TheBaseClass::OnWndMsg(message, wParam, lParam, pResult); }

// Commands and update rules.
#define ON_COMMAND(id, fn) \
    if (message == WM_VFX_COMMAND && vfxId_ == (UINT)(id) && vfxCode_ == CN_COMMAND) { \
        if (lParam != VFX_CMD_PROBE) { this->fn(); } return TRUE; }
#define ON_COMMAND_RANGE(idFirst, idLast, fn) \
    if (message == WM_VFX_COMMAND && vfxId_ >= (UINT)(idFirst) && vfxId_ <= (UINT)(idLast) && vfxCode_ == CN_COMMAND) { \
        if (lParam != VFX_CMD_PROBE) { this->fn(vfxId_); } return TRUE; }
#define ON_UPDATE_COMMAND_UI(id, fn) \
    if (message == WM_VFX_COMMAND && vfxId_ == (UINT)(id) && vfxCode_ == CN_UPDATE_COMMAND_UI) { \
        this->fn((CCmdUI*)lParam); return TRUE; }
#define ON_CONTROL(code, id, fn) \
    if (message == WM_VFX_COMMAND && vfxId_ == (UINT)(id) && vfxCode_ == (UINT)(code)) { \
        if (lParam != VFX_CMD_PROBE) { this->fn(); } return TRUE; }
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_CBN_SELENDOK(id, fn) ON_CONTROL(CBN_SELENDOK, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_STN_CLICKED(id, fn) ON_CONTROL(STN_CLICKED, id, fn)
// WM_NOTIFY from a child: void fn(NMHDR*, LRESULT*).
#define ON_NOTIFY(nCode, id, fn) \
    if (message == WM_NOTIFY && ((NMHDR*)lParam)->idFrom == (UINT_PTR)(id) && \
        ((NMHDR*)lParam)->code == (UINT)(nCode)) { this->fn((NMHDR*)lParam, pResult); return TRUE; }
// void fn(UINT id, NMHDR*, LRESULT*) for ids idFirst..idLast.
#define ON_NOTIFY_RANGE(nCode, idFirst, idLast, fn) \
    if (message == WM_NOTIFY && ((NMHDR*)lParam)->idFrom >= (UINT_PTR)(idFirst) && \
        ((NMHDR*)lParam)->idFrom <= (UINT_PTR)(idLast) && ((NMHDR*)lParam)->code == (UINT)(nCode)) { \
        this->fn((UINT)((NMHDR*)lParam)->idFrom, (NMHDR*)lParam, pResult); return TRUE; }

// A notification this control sent to its parent, handed back to it first
// (see CWnd::OnChildNotify). The plain entries keep it from the parent; the
// _EX ones take a BOOL handler and let the parent see it when it says FALSE.
#define WM_VFX_REFLECT 0xBC00
#define ON_NOTIFY_REFLECT(nCode, fn) \
    if (message == WM_VFX_REFLECT + WM_NOTIFY && ((NMHDR*)lParam)->code == (UINT)(nCode)) { \
        this->fn((NMHDR*)lParam, pResult); return TRUE; }
#define ON_NOTIFY_REFLECT_EX(nCode, fn) \
    if (message == WM_VFX_REFLECT + WM_NOTIFY && ((NMHDR*)lParam)->code == (UINT)(nCode)) { \
        if (this->fn((NMHDR*)lParam, pResult)) return TRUE; }
#define ON_CONTROL_REFLECT(code, fn) \
    if (message == WM_VFX_REFLECT + WM_COMMAND && vfxCode_ == (UINT)(code)) { this->fn(); return TRUE; }
#define ON_CONTROL_REFLECT_EX(code, fn) \
    if (message == WM_VFX_REFLECT + WM_COMMAND && vfxCode_ == (UINT)(code)) { if (this->fn()) return TRUE; }
// HBRUSH CtlColor(HDC, UINT nCtlColor); a NULL brush leaves it to the parent.
#define ON_WM_CTLCOLOR_REFLECT() \
    if (message >= WM_VFX_REFLECT + WM_CTLCOLORMSGBOX && message <= WM_VFX_REFLECT + WM_CTLCOLORSTATIC) { \
        HBRUSH vfxBrush_ = this->CtlColor((HDC)wParam, message - WM_VFX_REFLECT - WM_CTLCOLORMSGBOX); \
        if (vfxBrush_) { lResult = (LRESULT)vfxBrush_; return TRUE; } }
// void HScroll(UINT nSBCode, UINT nPos) / VScroll: this scroll control's own moves.
#define ON_WM_HSCROLL_REFLECT() \
    if (message == WM_VFX_REFLECT + WM_HSCROLL) { this->HScroll(LOWORD(wParam), (short)HIWORD(wParam)); return TRUE; }
#define ON_WM_VSCROLL_REFLECT() \
    if (message == WM_VFX_REFLECT + WM_VSCROLL) { this->VScroll(LOWORD(wParam), (short)HIWORD(wParam)); return TRUE; }

// Window messages.
#define ON_MESSAGE(msg, fn) \
    if (message == (UINT)(msg)) { lResult = this->fn(wParam, lParam); return TRUE; }
#define ON_REGISTERED_MESSAGE(var, fn) \
    if ((var) != 0 && message == (UINT)(var)) { lResult = this->fn(wParam, lParam); return TRUE; }
#define ON_WM_CREATE() \
    if (message == WM_CREATE) { lResult = (LRESULT)this->OnCreate((LPCREATESTRUCTA)lParam); return TRUE; }
#define ON_WM_DESTROY() \
    if (message == WM_DESTROY) { this->OnDestroy(); DefWindowProc(message, wParam, lParam); return TRUE; }
#define ON_WM_CLOSE() \
    if (message == WM_CLOSE) { this->OnClose(); return TRUE; }
#define ON_WM_TIMER() \
    if (message == WM_TIMER) { this->OnTimer((UINT_PTR)wParam); return TRUE; }
#define ON_WM_PAINT() \
    if (message == WM_PAINT) { this->OnPaint(); return TRUE; }
#define ON_WM_ERASEBKGND() \
    if (message == WM_ERASEBKGND) { lResult = this->OnEraseBkgnd((HDC)wParam); return TRUE; }
#define ON_WM_SIZE() \
    if (message == WM_SIZE) { this->OnSize((UINT)wParam, (short)LOWORD(lParam), (short)HIWORD(lParam)); \
        DefWindowProc(message, wParam, lParam); return TRUE; }
#define ON_WM_MOVE() \
    if (message == WM_MOVE) { this->OnMove((short)LOWORD(lParam), (short)HIWORD(lParam)); \
        DefWindowProc(message, wParam, lParam); return TRUE; }
#define ON_WM_ENDSESSION() \
    if (message == WM_ENDSESSION) { this->OnEndSession((BOOL)wParam); return TRUE; }
#define ON_WM_LBUTTONDOWN() \
    if (message == WM_LBUTTONDOWN) { this->OnLButtonDown((UINT)wParam, CPoint(lParam)); return TRUE; }
#define ON_WM_LBUTTONUP() \
    if (message == WM_LBUTTONUP) { this->OnLButtonUp((UINT)wParam, CPoint(lParam)); return TRUE; }
#define ON_WM_LBUTTONDBLCLK() \
    if (message == WM_LBUTTONDBLCLK) { this->OnLButtonDblClk((UINT)wParam, CPoint(lParam)); return TRUE; }
#define ON_WM_RBUTTONDOWN() \
    if (message == WM_RBUTTONDOWN) { this->OnRButtonDown((UINT)wParam, CPoint(lParam)); return TRUE; }
#define ON_WM_MOUSEMOVE() \
    if (message == WM_MOUSEMOVE) { this->OnMouseMove((UINT)wParam, CPoint(lParam)); return TRUE; }
#define ON_WM_SETCURSOR() \
    if (message == WM_SETCURSOR) { lResult = this->OnSetCursor((HWND)wParam, LOWORD(lParam), HIWORD(lParam)); return TRUE; }
#define ON_WM_SETFOCUS() \
    if (message == WM_SETFOCUS) { this->OnSetFocus((HWND)wParam); return TRUE; }
#define ON_WM_KILLFOCUS() \
    if (message == WM_KILLFOCUS) { this->OnKillFocus((HWND)wParam); return TRUE; }
#define ON_WM_CTLCOLOR() \
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) { \
        lResult = (LRESULT)this->OnCtlColor((HDC)wParam, (HWND)lParam, message - WM_CTLCOLORMSGBOX); return TRUE; }
#define ON_WM_INITMENUPOPUP() \
    if (message == WM_INITMENUPOPUP) { this->OnInitMenuPopup((HMENU)wParam, LOWORD(lParam), HIWORD(lParam)); return TRUE; }
#define ON_WM_NCHITTEST() \
    if (message == WM_NCHITTEST) { lResult = this->OnNcHitTest(CPoint(lParam)); return TRUE; }
#define ON_WM_SYSCOMMAND() \
    if (message == WM_SYSCOMMAND) { this->OnSysCommand((UINT)wParam, lParam); return TRUE; }
#define ON_WM_ACTIVATE() \
    if (message == WM_ACTIVATE) { this->OnActivate(LOWORD(wParam), (HWND)lParam, HIWORD(wParam)); \
        DefWindowProc(message, wParam, lParam); return TRUE; }
#define ON_WM_GETDLGCODE() \
    if (message == WM_GETDLGCODE) { lResult = this->OnGetDlgCode(); return TRUE; }
#define ON_WM_KEYDOWN() \
    if (message == WM_KEYDOWN) { this->OnKeyDown((UINT)wParam, LOWORD(lParam), HIWORD(lParam)); return TRUE; }
#define ON_WM_CHAR() \
    if (message == WM_CHAR) { this->OnChar((UINT)wParam, LOWORD(lParam), HIWORD(lParam)); return TRUE; }
#define ON_WM_RBUTTONUP() \
    if (message == WM_RBUTTONUP) { this->OnRButtonUp((UINT)wParam, CPoint(lParam)); return TRUE; }
#define ON_WM_CONTEXTMENU() \
    if (message == WM_CONTEXTMENU) { this->OnContextMenu((HWND)wParam, CPoint(lParam)); return TRUE; }
#define ON_WM_SHOWWINDOW() \
    if (message == WM_SHOWWINDOW) { this->OnShowWindow((BOOL)wParam, (UINT)lParam); \
        DefWindowProc(message, wParam, lParam); return TRUE; }
#define ON_WM_MOUSELEAVE() \
    if (message == WM_MOUSELEAVE) { this->OnMouseLeave(); return TRUE; }
// BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt), pt in screen coordinates.
#define ON_WM_MOUSEWHEEL() \
    if (message == WM_MOUSEWHEEL) { \
        lResult = this->OnMouseWheel(LOWORD(wParam), (short)HIWORD(wParam), CPoint(lParam)); return TRUE; }
// void OnHScroll(UINT nSBCode, UINT nPos, HWND hScrollBar): the window's own
// scroll bar (hScrollBar NULL) or a scroll control that did not take it.
#define ON_WM_HSCROLL() \
    if (message == WM_HSCROLL) { this->OnHScroll(LOWORD(wParam), (short)HIWORD(wParam), (HWND)lParam); return TRUE; }
#define ON_WM_VSCROLL() \
    if (message == WM_VSCROLL) { this->OnVScroll(LOWORD(wParam), (short)HIWORD(wParam), (HWND)lParam); return TRUE; }
// void OnSettingChange(UINT uFlags, const char* lpszSection).
#define ON_WM_SETTINGCHANGE() \
    if (message == WM_SETTINGCHANGE) { this->OnSettingChange((UINT)wParam, (const char*)lParam); return TRUE; }
// void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS*) and void
// OnNcPaint(): call Default() for the system's frame, before or after.
#define ON_WM_NCCALCSIZE() \
    if (message == WM_NCCALCSIZE) { this->OnNcCalcSize((BOOL)wParam, (NCCALCSIZE_PARAMS*)lParam); return TRUE; }
#define ON_WM_NCPAINT() \
    if (message == WM_NCPAINT) { this->OnNcPaint(); return TRUE; }
// Owner-drawn items the control's own object did not take:
// void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT), OnMeasureItem, OnDeleteItem,
// int OnCompareItem(int nIDCtl, LPCOMPAREITEMSTRUCT).
#define ON_WM_DRAWITEM() \
    if (message == WM_DRAWITEM) { this->OnDrawItem((int)wParam, (LPDRAWITEMSTRUCT)lParam); lResult = TRUE; return TRUE; }
#define ON_WM_MEASUREITEM() \
    if (message == WM_MEASUREITEM) { this->OnMeasureItem((int)wParam, (LPMEASUREITEMSTRUCT)lParam); lResult = TRUE; return TRUE; }
#define ON_WM_DELETEITEM() \
    if (message == WM_DELETEITEM) { this->OnDeleteItem((int)wParam, (LPDELETEITEMSTRUCT)lParam); lResult = TRUE; return TRUE; }
#define ON_WM_COMPAREITEM() \
    if (message == WM_COMPAREITEM) { lResult = this->OnCompareItem((int)wParam, (LPCOMPAREITEMSTRUCT)lParam); return TRUE; }
