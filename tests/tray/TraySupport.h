// Shared by the tray tests: a recorder in place of the shell's notification
// call and a plain window that records the messages it gets.
#pragma once
#include "support/TestSupport.h"
#include "tray/TrayNotifyIcon.h"
#include <string>
#include <vector>

struct ShellCall {
    DWORD message;
    NOTIFYICONDATAA nid;   // the bytes the shell would read (cbSize), the rest zero
};

class ShellRecorder {
public:
    ShellRecorder()
    {
        s_current = this;
        m_previous = g_pfnShellNotifyIcon;
        g_pfnShellNotifyIcon = Record;
    }
    ~ShellRecorder()
    {
        g_pfnShellNotifyIcon = m_previous;
        s_current = nullptr;
    }
    std::vector<ShellCall> calls;
    BOOL addResult = TRUE;
    bool keep = true;
    int count = 0;
    std::vector<ShellCall> Of(DWORD message) const
    {
        std::vector<ShellCall> v;
        for (auto& c : calls)
            if (c.message == message) v.push_back(c);
        return v;
    }

private:
    static BOOL Record(DWORD message, NOTIFYICONDATAA* data)
    {
        ShellRecorder* r = s_current;
        if (!r) return FALSE;
        ++r->count;
        if (r->keep) {
            ShellCall c;
            c.message = message;
            memset(&c.nid, 0, sizeof(c.nid));
            size_t n = data->cbSize < sizeof(c.nid) ? data->cbSize : sizeof(c.nid);
            memcpy(&c.nid, data, n);
            r->calls.push_back(c);
        }
        return message == NIM_ADD ? r->addResult : TRUE;
    }
    inline static ShellRecorder* s_current = nullptr;
    PFN_SHELL_NOTIFY_ICON m_previous;
};

// A hidden top-level window that keeps every command and every WM_NULL.
class CRecorderWnd : public CWnd {
public:
    CRecorderWnd()
    {
        CreateEx(0, AfxRegisterWndClass(0), "recorder", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
    }
    ~CRecorderWnd() override
    {
        if (m_hWnd) DestroyWindow();
    }
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        if (message == WM_COMMAND) commands.push_back(LOWORD(wParam));
        if (message == WM_NULL) ++nulls;
        return CWnd::OnWndMsg(message, wParam, lParam, pResult);
    }
    std::vector<UINT> commands;
    int nulls = 0;
};
