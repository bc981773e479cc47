// Dialog templates built in memory, for test dialogs and pages.
#pragma once
#include <windows.h>
#include <vector>

class DialogTemplate {
public:
    enum Kind : WORD { Button = 0x80, Edit = 0x81, Static = 0x82, ListBox = 0x83, ComboBox = 0x85 };
    // Dialog units; a page wants WS_CHILD | WS_CAPTION (its caption is the tab).
    DialogTemplate(const char* caption, short cx, short cy,
                   DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
    DialogTemplate& Add(Kind kind, int id, const char* text, short x, short y, short cx, short cy,
                        DWORD style = 0);
    const DLGTEMPLATE* Get() const { return (const DLGTEMPLATE*)m_words.data(); }
private:
    void Text(const char* s);
    void Align();
    std::vector<WORD> m_words;
};
