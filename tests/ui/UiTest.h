// What the tests of the pages, the sheet and the dashboard share: reading and
// pressing a dialog's controls, globals put back after a test, beeps counted,
// a page run in a sheet, and a window waited for from inside a modal loop.
#pragma once
#include "support/TestSupport.h"
#include "engine/BreakSettings.h"
#include "engine/DayCounters.h"
#include <string.h>
#include <functional>
#include <string>
#include <vector>

typedef std::vector<std::string> Texts;
const int kApply = 0x3021;   // the sheet's Apply button

inline bool Enabled(HWND dlg, int id) { return ::IsWindowEnabled(::GetDlgItem(dlg, id)) != FALSE; }
inline bool Checked(HWND dlg, int id) { return ::IsDlgButtonChecked(dlg, id) == BST_CHECKED; }
// A click as the mouse makes it (a radio button or check box changes).
inline void Click(HWND dlg, int id) { ::SendDlgItemMessage(dlg, id, BM_CLICK, 0, 0); }
// The button's command alone: its check stays as it is.
inline void Press(HWND dlg, int id)
{
    ::SendMessage(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)::GetDlgItem(dlg, id));
}
inline std::string ItemText(HWND dlg, int id)
{
    char buf[2048] = "";
    ::GetDlgItemTextA(dlg, id, buf, sizeof(buf));
    return buf;
}

// The day's counters in seconds and the daily limit in minutes.
inline void SetDay(int total, int work, int idle, int daily, int limit, bool limitOn)
{
    DayCounters& c = g_dayCounters;
    c.nTotalSeconds = total; c.nWorkSeconds = work; c.nIdleSeconds = idle; c.nDailySeconds = daily;
    g_breakSettings.aBreaks[BREAK_DAILY_LIMIT].nInterval = limit;
    g_breakSettings.aBreaks[BREAK_DAILY_LIMIT].bEnabled = limitOn;
}

// Counts the message beeps of a type (0: of every type) while it lives.
class BeepCounter {
public:
    explicit BeepCounter(UINT type = 0) : m_type(type) { s_counter = this; g_pfnMessageBeepHook = Count; }
    ~BeepCounter() { g_pfnMessageBeepHook = nullptr; s_counter = nullptr; }
    int beeps = 0;
private:
    static BOOL Count(UINT type)
    {
        if (s_counter && (!s_counter->m_type || type == s_counter->m_type)) ++s_counter->beeps;
        return TRUE;
    }
    UINT m_type;
    static inline BeepCounter* s_counter = nullptr;
};

// Runs the sheet modally; the script runs from its loop once it is up, then
// Cancel closes it unless the script closed it. Whether the script ran.
inline bool RunSheet(CPropertySheet& sheet, const std::function<void(HWND sheet)>& script)
{
    bool ran = false;
    Soon([&] {
        ran = true;
        if (script) script(sheet.m_hWnd);
        if (::IsWindow(sheet.m_hWnd)) sheet.SendMessage(PSM_PRESSBUTTON, PSBTN_CANCEL);
    });
    sheet.DoModal();
    return ran;
}
// A fresh Page as the second page of a sheet (see RunPageInSheet).
template <class Page> void RunPage(const std::function<void(Page&, HWND sheet)>& script)
{
    Page page;
    RunPageInSheet(page, [&](HWND sheet) { script(page, sheet); });
}

// Runs f from the next message loops once find() names a visible window,
// looking for at most ten seconds: the way into a sheet or dialog that a
// function under test makes and runs itself.
inline void WhenShown(const std::function<HWND()>& find, const std::function<void(HWND)>& f,
                      DWORD until = ::GetTickCount() + 10000)
{
    Soon([=] {
        HWND h = find();
        if (h && ::IsWindowVisible(h)) f(h);
        else if ((int)(until - ::GetTickCount()) > 0) WhenShown(find, f, until);
    });
}
// The active property sheet, if the active window is one.
inline HWND ActiveSheet()
{
    HWND h = ::GetActiveWindow();
    return h && ::SendMessageA(h, PSM_GETTABCONTROL, 0, 0) ? h : nullptr;
}
