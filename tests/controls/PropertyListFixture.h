// The fixture of the property-list window tests: one dialog holding the
// Times page's rows for a whole suite, fresh rows for every test.
#pragma once
#include "ControlsTestSupport.h"
#include "support/PropertyListDialog.h"
#include <gtest/gtest.h>

// The rows' item data in display order, -1 for a row without an item.
inline std::vector<LPARAM> RowIds(CPropertyList& list)
{
    std::vector<LPARAM> ids;
    for (int i = 0; i < list.GetCount(); ++i) ids.push_back(list.ItemAt(i) ? list.ItemAt(i)->GetItemData() : -1);
    return ids;
}

inline int g_beeps;
inline BOOL CountBeep(UINT) { ++g_beeps; return TRUE; }

class PropertyListTest : public ::testing::Test {
protected:
    // One dialog for the whole suite (destroying a window under Wine on
    // Xvfb waits two seconds); every test gets fresh rows.
    static void SetUpTestSuite()
    {
        s_dlg = new CPropertyListTestDlg;
        ASSERT_TRUE(s_dlg->CreateFromTemplate(nullptr, 0x51));
    }
    static void TearDownTestSuite()
    {
        s_dlg->DestroyWindow();
        PumpMessages(10);
        delete s_dlg;
        s_dlg = nullptr;
    }
    void SetUp() override
    {
        g_beeps = 0;
        g_pfnMessageBeepHook = CountBeep;
        dlg = s_dlg;
        ASSERT_TRUE(dlg && dlg->m_hWnd);
        dlg->m_bVeto = dlg->m_bVetoClick = false;
        list().ResetContent();
        list().SetExtendedStyle(0x51);
        AddTimesRows(list());
        RECT rc;
        list().GetClientRect(&rc);
        list().SendMessage(WM_SIZE, 0, MAKELPARAM(rc.right, rc.bottom));
        list().SetCurSel(-1);
        list().SetTopIndex(0);
        ::SetForegroundWindow(dlg->m_hWnd);
        list().SetFocus();
        PumpMessages(20);
        dlg->m_log.clear();
    }
    void TearDown() override
    {
        list().DestroyEditor();
        PumpMessages(10);
        g_pfnMessageBeepHook = nullptr;
    }
    CPropertyList& list() { return dlg->m_list; }
    IProperty* Item(LPARAM id) { return list().FindProperty(id); }
    int Row(LPARAM id) { return list().FindIndex(Item(id)); }
    // Selects a row the way a keyboard move does: the selection, then the
    // list box's notification.
    void Select(int row)
    {
        list().SetCurSel(row);
        dlg->SendMessage(WM_COMMAND, MAKEWPARAM(1056, LBN_SELCHANGE), (LPARAM)list().m_hWnd);
    }
    HWND Editor() { return list().GetEditorWindow(); }
    std::string EditorText()
    {
        char buf[256] = "";
        ::GetWindowTextA(Editor(), buf, (int)sizeof(buf));
        return buf;
    }
    void Type(HWND h, const char* s) { for (; *s; ++s) ::SendMessageA(h, WM_CHAR, (unsigned char)*s, 1); }
    void Key(HWND h, UINT vk) { ::SendMessageA(h, WM_KEYDOWN, vk, 0); PumpMessages(5); }
    std::vector<LPARAM> RowIds() { return ::RowIds(list()); }
    POINT RowPoint(int row, int x)
    {
        RECT rc;
        list().GetItemRect(row, &rc);
        return {x, (rc.top + rc.bottom) / 2};
    }
    void Mouse(UINT msg, POINT pt) { list().SendMessage(msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(pt.x, pt.y)); }
    CPropertyListTestDlg* dlg = nullptr;
    static inline CPropertyListTestDlg* s_dlg;
};
