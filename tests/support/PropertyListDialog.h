// A framework dialog from an in-memory template holding a property list
// (control 1056, list-box style 0x50A10561) with the Times page's 28 rows at
// their default values; it logs every notification and can veto changes.
// Used by the property-list tests and by the demo program.
#pragma once
#include "vfx.h"
#include "controls/PropertyList.h"
#include <vector>

class CPropertyListTestDlg : public CDialog {
public:
    struct Note { int code; LPARAM id; };  // id -1: no item
    // Modeless, visible; FALSE when the dialog cannot be made.
    BOOL CreateFromTemplate(HWND hwndParent = nullptr, DWORD dwExtStyle = 0x51);
    BOOL OnInitDialog() override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // Notifications with this code, in order.
    std::vector<LPARAM> Ids(int code) const;
    int Count(int code) const { return (int)Ids(code).size(); }

    CPropertyList m_list;
    std::vector<Note> m_log;
    bool m_bVeto = false;       // answer ITEMCHANGING with 1
    bool m_bVetoClick = false;  // answer CLICK and DBLCLICK with 1
    DWORD m_dwExtStyle = 0x51;
    // The editor's text read while ITEMCHANGING is answered.
    CString m_strEditorAtChanging;
};

// Adds the 28 rows in display order; rows 102 to 105 disabled.
void AddTimesRows(CPropertyList& list);
