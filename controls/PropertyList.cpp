#include "controls/PropertyList.h"
#include "controls/PropertyEditors.h"

BEGIN_MESSAGE_MAP(CPropertyList, CListBox)
    ON_MESSAGE(WM_CREATE, OnCreate)
    ON_MESSAGE(WM_DESTROY, OnDestroy)
    ON_MESSAGE(WM_SIZE, OnSize)
    ON_MESSAGE(WM_VSCROLL, OnVScroll)
    ON_MESSAGE(WM_HSCROLL, OnHScroll)
    ON_MESSAGE(WM_KEYDOWN, OnKeyDown)
    ON_MESSAGE(WM_CHAR, OnChar)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_LBUTTONUP, OnLButtonUp)
    ON_MESSAGE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
    ON_MESSAGE(WM_MOUSEWHEEL, OnMouseWheel)
    ON_MESSAGE(WM_SETTINGCHANGE, OnSettingChange)
    ON_MESSAGE(WM_SYSCOLORCHANGE, OnSettingChange)
    ON_MESSAGE(WM_SETCURSOR, OnSetCursor)
    ON_CONTROL_REFLECT(LBN_SELCHANGE, OnSelChange)
    ON_MESSAGE(WM_PROPLIST_UPDATE, OnUpdateProperty)
    ON_MESSAGE(WM_PROPLIST_CANCEL, OnCancelProperty)
    ON_MESSAGE(WM_PROPLIST_CHANGED, OnPropertyChanged)
    ON_MESSAGE(WM_PROPLIST_EXPAND, OnExpand)
    ON_MESSAGE(WM_PROPLIST_COLLAPSE, OnCollapse)
    ON_MESSAGE(WM_PROPLIST_NAVIGATE, OnNavigate)
END_MESSAGE_MAP()

CPropertyList::CPropertyList()
{
    memset(&m_drawContext, 0, sizeof(m_drawContext));
}

IProperty* CPropertyList::ItemAt(int nRow) const
{
    if (nRow < 0 || !m_hWnd) return nullptr;
    LPARAM data = GetItemData(nRow);
    return (data == 0 || data == (LPARAM)LB_ERR) ? nullptr : (IProperty*)data;
}

static CCategoryProperty* AsCategory(IProperty* p)
{
    return (p && p->GetItemKind() == ITEMKIND_CATEGORY) ? dynamic_cast<CCategoryProperty*>(p) : nullptr;
}

LRESULT CPropertyList::Notify(int code, IProperty* pItem)
{
    PropertyListNotify n = {};
    n.hdr.hwndFrom = m_hWnd;
    n.hdr.idFrom = (UINT_PTR)GetDlgCtrlID();
    n.hdr.code = (UINT)code;
    n.property = pItem;
    return ::SendMessageA(::GetParent(m_hWnd), WM_NOTIFY, n.hdr.idFrom, (LPARAM)&n);
}

// ---- drawing ----

void CPropertyList::MeasureItem(LPMEASUREITEMSTRUCT pmis)
{
    pmis->itemHeight = (UINT)(m_drawContext.tm.tmHeight + 3);
}

void CPropertyList::DrawItem(LPDRAWITEMSTRUCT pdis)
{
    if (pdis->itemID == (UINT)-1) return;
    int row = (int)pdis->itemID;
    PropertyDrawContext ctx = m_drawContext;
    HDC dc = pdis->hDC;
    ctx.hdc = dc;
    ctx.state = pdis->itemState & ~ODS_DISABLED;
    if (!(ctx.extStyle & LISTSTYLE_SHOW_SELECTION) && ::GetFocus() != m_hWnd) ctx.state &= ~ODS_SELECTED;
    IProperty* item = ItemAt(row);
    CCategoryProperty* cat = AsCategory(item);
    HGDIOBJ oldFont = ::SelectObject(dc, m_font.m_hObject ? m_font.m_hObject : ::GetStockObject(DEFAULT_GUI_FONT));
    HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));

    const RECT& rc = pdis->rcItem;
    const int L = rc.left, T = rc.top, R = rc.right, B = rc.bottom;
    const int N = L + Strip();
    if (Strip()) {
        ::SelectObject(dc, m_borderPen.m_hObject);
        ::MoveToEx(dc, L + 15, T, nullptr);
        ::LineTo(dc, L + 15, B);
        if (ctx.extStyle & LISTSTYLE_FLAT_CATEGORIES) {
            RECT strip = {L, T, L + 16, B};
            ::FillRect(dc, &strip, ::GetSysColorBrush(COLOR_BTNFACE));
        }
        if (cat) {
            int M = T + (B - T) / 2;
            ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
            HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
            ::Rectangle(dc, L + 4, M - 4, L + 13, M + 5);
            ::SelectObject(dc, oldBrush);
            ::MoveToEx(dc, L + 6, M, nullptr);
            ::LineTo(dc, L + 11, M);
            if (cat->m_bExpanded != 1) {
                ::MoveToEx(dc, L + 8, M - 2, nullptr);
                ::LineTo(dc, L + 8, M + 3);
            }
        }
    }
    bool spans = cat && (ctx.extStyle & (LISTSTYLE_FLAT_CATEGORIES | LISTSTYLE_GRADIENT_CATEGORIES));
    RECT name = {N, T, spans ? R : N + m_nSplitter, B};
    RECT value = {spans ? R : N + m_nSplitter + 1, T, R, B};
    ctx.rect = name;
    if (item) {
        item->DrawName(&ctx);
    } else {
        ::SetBkColor(dc, ctx.clrBack);
        ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &name, nullptr, 0, nullptr);
    }
    if (row != m_nEditIndex) {
        ctx.rect = value;
        ::SetBkColor(dc, ctx.clrBack);
        ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &value, nullptr, 0, nullptr);
        if (item) {
            if (!item->IsEnabled()) ctx.state |= ODS_DISABLED;
            item->DrawValue(&ctx);
        }
    }
    ::SelectObject(dc, m_borderPen.m_hObject ? m_borderPen.m_hObject : ::GetStockObject(BLACK_PEN));
    ::MoveToEx(dc, N, B - 1, nullptr);
    ::LineTo(dc, R, B - 1);
    if (!spans) {
        ::MoveToEx(dc, N + m_nSplitter, T, nullptr);
        ::LineTo(dc, N + m_nSplitter, B - 1);
    }
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldFont);
}

void CPropertyList::DeleteItem(LPDELETEITEMSTRUCT pdis)
{
    DestroyEditor();
    LPARAM data = (LPARAM)pdis->itemData;
    if (data != 0 && data != (LPARAM)LB_ERR) delete (IProperty*)data;
}

LRESULT CPropertyList::OnSettingChange(WPARAM, LPARAM)
{
    PropertyDrawContext& c = m_drawContext;
    c.extStyle = m_dwExtStyle;
    c.clrText = ::GetSysColor(COLOR_WINDOWTEXT);
    c.clrBack = ::GetSysColor(COLOR_WINDOW);
    c.clrSelText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    c.clrSelBack = ::GetSysColor(COLOR_HIGHLIGHT);
    c.clrDisabled = ::GetSysColor(COLOR_GRAYTEXT);
    c.clrBorder = ::GetSysColor(COLOR_BTNFACE);

    // The new objects first; the old ones go only once nothing uses them.
    HPEN pen = ::CreatePen(PS_SOLID, 1, c.clrBorder);
    HFONT parentFont = (HFONT)::SendMessageA(::GetParent(m_hWnd), WM_GETFONT, 0, 0);
    if (!parentFont) parentFont = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    LOGFONTA lf = {};
    ::GetObjectA(parentFont, sizeof(lf), &lf);
    HFONT font = ::CreateFontIndirectA(&lf);
    if (!(m_dwExtStyle & LISTSTYLE_FLAT_CATEGORIES)) lf.lfWeight += 700;
    HFONT catFont = ::CreateFontIndirectA(&lf);
    if (font) {
        SetFont(font, TRUE);
        if (::IsWindow(m_hEditor)) {
            ::SendMessageA(m_hEditor, WM_SETFONT, (WPARAM)font, TRUE);
            for (HWND h = ::GetWindow(m_hEditor, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
                ::SendMessageA(h, WM_SETFONT, (WPARAM)font, TRUE);
            if (auto* drop = dynamic_cast<CPropertyListWindow*>(CWnd::FromHandlePermanent(m_hEditor)))
                if (drop->m_list.IsWindow()) drop->m_list.SetFont(font, TRUE);
        }
        m_font.Attach(font);
    }
    if (catFont) m_categoryFont.Attach(catFont);
    if (pen) m_borderPen.Attach(pen);
    c.font = (HFONT)m_font.m_hObject;
    c.categoryFont = (HFONT)m_categoryFont.m_hObject;
    c.borderPen = (HPEN)m_borderPen.m_hObject;

    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, m_font.m_hObject ? m_font.m_hObject : parentFont);
    ::GetTextMetricsA(dc, &c.tm);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    Invalidate(TRUE);
    return 0;
}

// ---- rows ----

IProperty* CPropertyList::AddItem(IProperty* pItem)
{
    if (!pItem) return nullptr;
    pItem->AttachToList(m_hWnd, nullptr);
    int row = AddString(pItem->GetName());
    if (row < 0) return nullptr;
    if (SetItemData(row, (LPARAM)pItem) == LB_ERR) {
        DeleteString(row);  // its data is still 0: the item is not deleted
        return nullptr;
    }
    return pItem;
}

IProperty* CPropertyList::FindHeld(const std::function<bool(IProperty*)>& match)
{
    int n = GetCount();
    for (int i = 0; i < n; ++i) {
        IProperty* item = ItemAt(i);
        if (!item) continue;
        if (match(item)) return item;
        if (CCategoryProperty* cat = AsCategory(item)) {
            for (int k = 0; k < cat->m_children.GetSize() && cat->m_children[k]; ++k)
                if (match(cat->m_children[k])) return cat->m_children[k];
        }
    }
    return nullptr;
}

IProperty* CPropertyList::FindProperty(LPARAM id)
{
    return FindHeld([id](IProperty* p) { return p->GetItemData() == id; });
}

IProperty* CPropertyList::HeldItem(LPARAM lParam)
{
    IProperty* wanted = (IProperty*)lParam;
    return wanted ? FindHeld([wanted](IProperty* p) { return p == wanted; }) : nullptr;
}

int CPropertyList::FindIndex(IProperty* pItem)
{
    if (!pItem) return -1;
    int n = GetCount();
    for (int i = 0; i < n; ++i)
        if (ItemAt(i) == pItem) return i;
    return -1;
}

BOOL CPropertyList::GetItemValue(IProperty* pItem, VARIANT* pValue)
{
    if (!pItem || !pValue) return FALSE;
    return pItem->GetValue(pValue);
}

void CPropertyList::SetItemEnabled(IProperty* pItem, BOOL bEnable)
{
    if (!pItem) return;
    pItem->SetEnabled(bEnable);
    InvalidateRow(FindIndex(pItem));
}

void CPropertyList::SetExtendedStyle(DWORD dwStyle)
{
    m_dwExtStyle = dwStyle;
    SendMessage(WM_SETTINGCHANGE, 0, 0);
}

BOOL CPropertyList::RefreshLayout()
{
    SendMessage(WM_SIZE, 0, 0);
    SendMessage(WM_SETTINGCHANGE, 0, 0);
    return TRUE;
}

void CPropertyList::ResetContent()
{
    DestroyEditor();
    CListBox::ResetContent();
}

void CPropertyList::InvalidateRow(int nRow)
{
    if (nRow < 0) return;
    RECT rc;
    if (GetItemRect(nRow, &rc) == LB_ERR) return;
    InvalidateRect(&rc, TRUE);
}

BOOL CPropertyList::Expand(IProperty* pCategory)
{
    // A row of this list before anything is asked of it.
    int row = FindIndex(pCategory);
    CCategoryProperty* cat = row >= 0 ? AsCategory(ItemAt(row)) : nullptr;
    if (!cat) return FALSE;
    DestroyEditor();
    cat->ExpandIntoList(row);
    Notify(LISTNOTIFY_EXPANDED, cat);
    return TRUE;
}

BOOL CPropertyList::Collapse(IProperty* pCategory)
{
    // A row of this list before anything is asked of it.
    int row = FindIndex(pCategory);
    CCategoryProperty* cat = row >= 0 ? AsCategory(ItemAt(row)) : nullptr;
    if (!cat) return FALSE;
    DestroyEditor();
    cat->CollapseFromList(row);
    Notify(LISTNOTIFY_COLLAPSED, cat);
    return TRUE;
}

// ---- editing ----

void CPropertyList::OnSelChange()
{
    if (m_nTrackX > 0) DrawTrackLine(m_nTrackX);
    int sel = GetCurSel();
    IProperty* item = sel >= 0 ? ItemAt(sel) : nullptr;
    if (item && item->GetItemKind() != ITEMKIND_CATEGORY && item->IsEnabled()) {
        BeginEdit(item, sel);
        item->Activate(ITEMACTION_SELECT, 0);
        if ((m_dwExtStyle & LISTSTYLE_EDIT_ON_SELECT) && item->GetItemKind() == ITEMKIND_EDIT)
            item->Activate(ITEMACTION_DBLCLICK, 0);
    } else {
        DestroyEditor();
    }
    Notify(LISTNOTIFY_SELCHANGED, item);
    if (m_nTrackX > 0) DrawTrackLine(m_nTrackX);
}

BOOL CPropertyList::BeginEdit(IProperty* pItem, int nRow)
{
    DestroyEditor();
    if (!pItem || nRow < 0 || nRow != GetCurSel() || !pItem->IsEnabled()) return FALSE;
    RECT rc;
    if (GetItemRect(nRow, &rc) == LB_ERR) return FALSE;
    rc.left += Strip() + m_nSplitter + 1;
    ::InflateRect(&rc, 0, -1);
    HWND h = pItem->CreateEditor(m_hWnd, &rc);
    m_hEditor = h;
    if (!h) return FALSE;
    ::SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    m_nEditIndex = nRow;
    return TRUE;
}

void CPropertyList::DestroyEditor()
{
    if (m_hEditor && ::IsWindow(m_hEditor)) {
        // Taking the focus lets the editor commit or cancel first; that may
        // already open a fresh editor on the row, which is closed as well.
        HWND focus = ::GetFocus();
        if (focus && focus != m_hWnd && ::IsChild(m_hWnd, focus)) ::SetFocus(m_hWnd);
        if (m_hEditor) ::PostMessageA(m_hEditor, WM_CLOSE, 0, 0);
    }
    m_hEditor = nullptr;
    m_nEditIndex = -1;
}

IProperty* CPropertyList::EditedItem(LPARAM lParam) const
{
    HWND h = (HWND)lParam;
    // A let-go editor (its WM_CLOSE still pending) commits into nothing.
    if (!h || h != m_hEditor || !::IsWindow(h) || m_nEditIndex == -1) return nullptr;
    return ItemAt(m_nEditIndex);
}

void CPropertyList::ReopenEditor(IProperty* pItem)
{
    int r = FindIndex(pItem);
    if (r >= 0 && r == m_nEditIndex) BeginEdit(pItem, r);
}

LRESULT CPropertyList::OnUpdateProperty(WPARAM, LPARAM lParam)
{
    IProperty* item = EditedItem(lParam);
    if (!item) return 0;
    if (Notify(LISTNOTIFY_ITEMCHANGING, item)) return 0;
    if (!item->SetValueFromWindow((HWND)lParam)) AfxMessageBeep(0xFFFFFFFF);
    Notify(LISTNOTIFY_ITEMCHANGED, item);
    InvalidateRow(m_nEditIndex);
    ReopenEditor(item);
    return 0;
}

LRESULT CPropertyList::OnCancelProperty(WPARAM, LPARAM lParam)
{
    IProperty* item = EditedItem(lParam);
    if (!item) return 0;
    InvalidateRow(m_nEditIndex);
    ReopenEditor(item);
    return 0;
}

LRESULT CPropertyList::OnPropertyChanged(WPARAM wParam, LPARAM lParam)
{
    const VARIANT* value = (const VARIANT*)wParam;
    IProperty* item = HeldItem(lParam);
    if (!value || !item) return 0;
    if (Notify(LISTNOTIFY_ITEMCHANGING, item) == 0) {
        if (!item->SetValue(value)) AfxMessageBeep(0xFFFFFFFF);
        Notify(LISTNOTIFY_ITEMCHANGED, item);
    }
    InvalidateRow(FindIndex(item));
    ReopenEditor(item);
    return 0;
}

LRESULT CPropertyList::OnNavigate(WPARAM wParam, LPARAM)
{
    if (wParam != VK_UP && wParam != VK_DOWN) return 0;
    DestroyEditor();
    SetCurSel(GetCurSel() + (wParam == VK_UP ? -1 : 1));
    OnSelChange();
    return 0;
}

// ---- window events ----

LRESULT CPropertyList::OnCreate(WPARAM wParam, LPARAM lParam)
{
    if (DefWindowProc(WM_CREATE, wParam, lParam) == -1) return -1;
    RefreshLayout();
    return 0;
}

LRESULT CPropertyList::OnDestroy(WPARAM wParam, LPARAM lParam)
{
    LRESULT r = DefWindowProc(WM_DESTROY, wParam, lParam);
    ResetContent();
    return r;
}

LRESULT CPropertyList::OnSize(WPARAM wParam, LPARAM lParam)
{
    DestroyEditor();
    RECT rc;
    GetClientRect(&rc);
    m_nSplitter = (rc.right - rc.left) / 2;
    m_nDragStartX = 0;
    OnSelChange();
    return DefWindowProc(WM_SIZE, wParam, lParam);
}

LRESULT CPropertyList::OnScroll(UINT message, WPARAM wParam, LPARAM lParam)
{
    DestroyEditor();
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CPropertyList::OnMouseWheel(WPARAM wParam, LPARAM lParam)
{
    DestroyEditor();
    Invalidate(FALSE);
    return DefWindowProc(WM_MOUSEWHEEL, wParam, lParam);
}

// ---- keyboard ----

LRESULT CPropertyList::OnKeyDown(WPARAM wParam, LPARAM lParam)
{
    IProperty* item = ItemAt(GetCurSel());
    if (item) {
        if (wParam == VK_TAB) item->Activate(ITEMACTION_TAB, 0);
        else if ((wParam == VK_SPACE || wParam == VK_F2) && item->IsEnabled()) item->Activate(ITEMACTION_KEY, 0);
    }
    return DefWindowProc(WM_KEYDOWN, wParam, lParam);
}

LRESULT CPropertyList::OnChar(WPARAM wParam, LPARAM lParam)
{
    UINT ch = (UINT)wParam;
    if (ch < 32) return DefWindowProc(WM_CHAR, wParam, lParam);
    if (ch == 32) return 0;
    int sel = GetCurSel();
    IProperty* item = ItemAt(sel);
    if (item && item->IsEnabled() && BeginEdit(item, sel)) {
        item->Activate(ITEMACTION_KEY, 0);
        if (m_hEditor) ::SendMessageA(m_hEditor, WM_CHAR, ch, 1);
    }
    return 0;
}

// ---- mouse and splitter ----

int CPropertyList::ClampX(int x) const
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    if (x < rc.left + 10) x = rc.left + 10;
    if (x > rc.right - 10) x = rc.right - 10;
    return x;
}

static HBRUSH HalftoneBrush()
{
    // One brush for the life of the process.
    static CBrush s_brush;
    if (!s_brush.m_hObject) s_brush.CreateHalftoneBrush();
    return (HBRUSH)s_brush.m_hObject;
}

void CPropertyList::DrawTrackLine(int x)
{
    if (m_nDragStartX == 0) return;
    HWND parent = ::GetParent(m_hWnd);
    LONG_PTR style = ::GetWindowLongPtrA(parent, GWL_STYLE);
    ::SetWindowLongPtrA(parent, GWL_STYLE, style & ~(LONG_PTR)WS_CLIPCHILDREN);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    rc.left = x;
    rc.right = x + 1;
    ::MapWindowPoints(m_hWnd, parent, (POINT*)&rc, 2);
    HDC dc = ::GetDC(parent);
    HGDIOBJ old = ::SelectObject(dc, HalftoneBrush());
    ::PatBlt(dc, rc.left, rc.top, 2, rc.bottom - rc.top, PATINVERT);
    ::SelectObject(dc, old);
    ::ReleaseDC(parent, dc);
    ::SetWindowLongPtrA(parent, GWL_STYLE, style);
}

LRESULT CPropertyList::OnSetCursor(WPARAM wParam, LPARAM lParam)
{
    POINT pt;
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWnd, &pt);
    if (pt.x == Strip() + m_nSplitter) {
        ::SetCursor(::LoadCursor(nullptr, IDC_SIZEWE));
        return TRUE;
    }
    return DefWindowProc(WM_SETCURSOR, wParam, lParam);
}

LRESULT CPropertyList::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    LRESULT r = DefWindowProc(WM_MOUSEMOVE, wParam, lParam);
    if (m_nDragStartX > 0) {
        int x = ClampX((short)LOWORD(lParam));
        if (x != m_nTrackX) {
            if (m_nTrackX) DrawTrackLine(m_nTrackX);
            m_nTrackX = x;
            DrawTrackLine(x);
        }
    }
    return r;
}

LRESULT CPropertyList::OnLButtonDown(WPARAM wParam, LPARAM lParam)
{
    int x = (short)LOWORD(lParam), y = (short)HIWORD(lParam);
    if (::GetFocus() != m_hWnd) SetFocus();
    DefWindowProc(WM_LBUTTONDOWN, wParam, lParam);
    m_nDragStartX = (x == Strip() + m_nSplitter && !(m_dwExtStyle & LISTSTYLE_FIXED_SPLITTER)) ? x : 0;
    int sel = GetCurSel();
    if (sel < 0) return 0;
    IProperty* item = ItemAt(sel);
    if (Notify(LISTNOTIFY_CLICK, item) || !item) return 0;
    if (Strip() && x < 16) item->Activate(ITEMACTION_TOGGLE, 0);
    else if (item->IsEnabled()) item->Activate(ITEMACTION_CLICK, MAKELONG(x, y));
    return 0;
}

LRESULT CPropertyList::OnLButtonUp(WPARAM wParam, LPARAM lParam)
{
    int x = ClampX((short)LOWORD(lParam));
    if (m_nDragStartX > 0) {
        m_nSplitter += x - m_nDragStartX;
        Invalidate(TRUE);
    }
    m_nDragStartX = m_nTrackX = 0;
    return DefWindowProc(WM_LBUTTONUP, wParam, lParam);
}

LRESULT CPropertyList::OnLButtonDblClk(WPARAM wParam, LPARAM lParam)
{
    DefWindowProc(WM_LBUTTONDBLCLK, wParam, lParam);
    int sel = GetCurSel();
    if (sel < 0) return 0;
    IProperty* item = ItemAt(sel);
    if (Notify(LISTNOTIFY_DBLCLICK, item) == 0 && item && item->IsEnabled())
        item->Activate(ITEMACTION_DBLCLICK, MAKELONG((short)LOWORD(lParam), (short)HIWORD(lParam)));
    return 0;
}
