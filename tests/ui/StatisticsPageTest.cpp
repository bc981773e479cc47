// The Statistics page and the auto-clear dialog: the texts and slices of a
// scripted day, the rows that apply, the refresh, Clear, the automatic
// clearing's choice, and the dialog's modes, hours and time.
#include "support/TestSupport.h"
#include "support/FakeWorld.h"
#include "app/Settings.h"
#include "engine/BreakSettings.h"
#include "engine/DayCounters.h"
#include "res/resource.h"
#include "ui/StatisticsPage.h"
#include "ui/StatisticsView.h"
#include <gtest/gtest.h>
#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace {
// The globals the page reads and writes, put back after each test (the
// counters as bytes: a DayCounters object would save itself when it goes).
class StatisticsGlobals {
public:
    StatisticsGlobals() { memcpy(counters, &g_dayCounters, sizeof(counters)); }
    ~StatisticsGlobals()
    {
        memcpy(&g_dayCounters, counters, sizeof(counters));
        g_breakSettings = breaks;
        g_trackKeyboard = keyboard; g_trackMouse = mouse;
        g_autoZeroEnabled = enabled; g_autoZeroMode = mode; g_autoZeroDelay = delay; g_autoZeroTime = time;
    }
    char counters[sizeof(DayCounters)];
    BreakSettings breaks = g_breakSettings;
    bool keyboard = g_trackKeyboard, mouse = g_trackMouse, enabled = g_autoZeroEnabled;
    int mode = g_autoZeroMode, delay = g_autoZeroDelay, time = g_autoZeroTime;
};

void SetDay(int total, int work, int idle, int daily, int limit, bool limitOn)
{
    g_dayCounters.nTotalSeconds = total;
    g_dayCounters.nWorkSeconds = work;
    g_dayCounters.nIdleSeconds = idle;
    g_dayCounters.nDailySeconds = daily;
    g_breakSettings.aBreaks[BREAK_DAILY_LIMIT].nInterval = limit;
    g_breakSettings.aBreaks[BREAK_DAILY_LIMIT].bEnabled = limitOn;
}

// Runs f from the next message loop, whichever window's it is: the way to
// act inside a modal sheet or dialog.
std::vector<std::function<void()>> s_soon;
void CALLBACK RunSoon(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    if (s_soon.empty()) return;
    std::function<void()> f = s_soon.back();
    s_soon.pop_back();
    f();
}
void Soon(const std::function<void()>& f)
{
    s_soon.push_back(f);
    ::SetTimer(nullptr, 0, 1, RunSoon);
}

HWND FindOwnWindow(const char* caption)
{
    struct Find { const char* caption; HWND found; } find = { caption, nullptr };
    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND h, LPARAM lp) -> BOOL {
        Find* f = (Find*)lp;
        char text[128] = "";
        ::GetWindowTextA(h, text, (int)sizeof(text));
        if (lstrcmpA(text, f->caption) == 0) { f->found = h; return FALSE; }
        return TRUE;
    }, (LPARAM)&find);
    return find.found;
}

bool Enabled(HWND dlg, int id) { return ::IsWindowEnabled(::GetDlgItem(dlg, id)) != FALSE; }
bool Checked(HWND dlg, int id) { return ::IsDlgButtonChecked(dlg, id) == BST_CHECKED; }

class StatisticsPageTest : public ::testing::Test {
protected:
    StatisticsGlobals saved;
    FakeWorld world;
    MessageBoxRecorder boxes;
    void SetUp() override
    {
        SetDay(11100, 7200, 1800, 7200, 510, true);
        g_dayCounters.nBreaks = 3;
        g_dayCounters.nPostpones = 1;
        g_dayCounters.nKeyStrokesBase = 200;
        g_dayCounters.nMouseClicksBase = 45;
        world.keyStrokes = 1500;
        world.mouseClicks = 40;
        g_trackKeyboard = g_trackMouse = true;
        g_autoZeroEnabled = false;
        g_autoZeroMode = 0;
        g_autoZeroDelay = 5;
        g_autoZeroTime = 1730;
    }
    // A sheet of the Statistics page and a second page; script runs once
    // the sheet is up, and Cancel closes it unless the script pressed a button.
    void RunSheet(const std::function<void(CStatisticsPage&, HWND sheet)>& script)
    {
        CStatisticsPage page;
        CPageWithHelp other(IDD_TIMES_PAGE, "/manual/TimesPage.html?help=1");
        CPropertySheet sheet("Kestrabel");
        sheet.AddPage(&page);
        sheet.AddPage(&other);
        Soon([&] {
            script(page, sheet.m_hWnd);
            if (::IsWindow(sheet.m_hWnd)) sheet.SendMessage(PSM_PRESSBUTTON, PSBTN_CANCEL);
        });
        sheet.DoModal();
        EXPECT_EQ(0u, page.m_nTimer);
    }
    std::vector<std::string> Column(CStatisticsPage& page, int col)
    {
        std::vector<std::string> out;
        for (int i = 0; i < page.m_list.GetItemCount(); ++i) out.push_back((const char*)page.m_list.GetItemText(i, col));
        return out;
    }
};
typedef std::vector<std::string> Texts;
}  // namespace

// ---- without a window ----

TEST(StatisticsView, PickerFormatDropsTheSecondsOnly)
{
    struct { const char *format, *sep, *expected; } cases[] = {
        { "h:mm:ss tt", ":", "h:mm tt" },
        { "HH:mm:ss", ":", "HH:mm" },
        { "H.mm.s", ".", "H.mm" },
        { "HH:mm", ":", "HH:mm" },
        { "HH:mm:ss", ".", "HH:mm:ss" },
    };
    for (auto& c : cases) EXPECT_STREQ(c.expected, PickerFormat(c.format, c.sep)) << c.format;
}

namespace {
int s_localeFails;   // 1: the format read fails, 2: the separator read fails
int WINAPI ScriptedLocale(LCID, LCTYPE type, LPSTR buf, int size)
{
    if ((type == LOCALE_STIMEFORMAT && s_localeFails == 1) || (type == LOCALE_STIME && s_localeFails == 2)) {
        lstrcpynA(buf, "garbage.ss", size);   // what a failed read may leave
        return 0;
    }
    lstrcpynA(buf, type == LOCALE_STIME ? ":" : "HH:mm:ss", size);
    return 4;
}
}  // namespace

TEST(StatisticsView, FailedLocaleReadsFallBack)
{
    PFN_GETLOCALEINFOA real = g_pfnGetLocaleInfoA;
    g_pfnGetLocaleInfoA = ScriptedLocale;
    for (int fails : { 0, 1, 2 }) {
        s_localeFails = fails;
        EXPECT_STREQ("HH:mm", UserPickerFormat()) << fails;
    }
    g_pfnGetLocaleInfoA = real;
}

// ---- the page in a sheet ----

TEST_F(StatisticsPageTest, RowsFollowTheLimitTheTrackingAndTheLibrary)
{
    const Texts always = { "Total up time:", "Work time:", "Rest time:", "Idle/Away time:" };
    struct { const char* what; bool limit, keyboard, mouse, library; Texts tail; } cases[] = {
        { "no limit, no library", false, true, true, false, { "Number of breaks:", "Number of postpones:" } },
        { "everything", true, true, true, true,
          { "Left to work:", "Number of breaks:", "Number of postpones:", "Key presses:", "Mouse clicks:" } },
        { "keyboard only", true, true, false, true,
          { "Left to work:", "Number of breaks:", "Number of postpones:", "Key presses:" } },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        g_breakSettings.aBreaks[BREAK_DAILY_LIMIT].bEnabled = c.limit;
        g_trackKeyboard = c.keyboard;
        g_trackMouse = c.mouse;
        world.hookLibraryLoaded = c.library;
        RunSheet([&](CStatisticsPage& page, HWND) {
            Texts expected = always;
            expected.insert(expected.end(), c.tail.begin(), c.tail.end());
            EXPECT_EQ(expected, Column(page, 0));
            EXPECT_EQ(4u, page.m_chart.m_slices.size());
            EXPECT_EQ(0, page.m_nRowTotal);
            if (!c.limit) {
                // Switched on while the page is open: no row appears and
                // nothing is written over another row.
                g_breakSettings.aBreaks[BREAK_DAILY_LIMIT].bEnabled = true;
                world.hookLibraryLoaded = true;
                page.OnTimer(page.m_nTimer);
                EXPECT_EQ(6, page.m_list.GetItemCount());
                EXPECT_EQ(-1, page.m_nRowLeft);
                EXPECT_STREQ("3h 5m", page.m_list.GetItemText(0, 1));
                EXPECT_STREQ("Left to work: 6h 30m", page.m_chart.m_slices[3].label);
            }
        });
    }
}

TEST_F(StatisticsPageTest, DaysInTheListAndTheChart)
{
    struct Case {
        const char* what; int total, work, idle, daily, limit;
        const char *rest, *left, *slice3; double restValue, value3; DWORD color3;
    } cases[] = {
        { "two minutes over", 11100, 7200, 1800, 510 * 60 + 120, 510, "35 minutes", "0 (1 minute overtime)", "Overtime: 1 minute", 2100, 61, 0xFFFF0000 },
        { "nothing worked yet", 0, 0, 0, 0, 510, "0 minutes", "8h 30m", "Left to work: 8h 30m", 0, 30659, 0xFFFFFF00 },
        { "more work than total", 10, 500, 0, 0, 510, "0 minutes", "8h 30m", "Left to work: 8h 30m", 0, 30659, 0xFFFFFF00 },
        { "rest beyond an int", INT_MAX, 0, INT_MIN, 0, 510, "24855d 3h 14m", "8h 30m", "Left to work: 8h 30m", INT_MAX, 30659, 0xFFFFFF00 },
        { "a huge limit", 0, 0, 0, 0, 40000000, "0 minutes", "24855d 3h 14m", "Left to work: 24855d 3h 14m", 0, INT_MAX, 0xFFFFFF00 },
    };
    RunSheet([&](CStatisticsPage& page, HWND) {
        EXPECT_EQ(Texts({ "3h 5m", "2h 0m", "35 minutes", "30 minutes", "6h 30m", "3", "1", "1300", "40" }), Column(page, 1));
        struct { const char* label; double value; DWORD color; } slices[] = {
            { "Work time: 2h 0m", 7200, 0xFF00FFFF }, { "Rest time: 35 minutes", 2100, 0xFF008000 },
            { "Idle/Away time: 30 minutes", 1800, 0xFF0000FF }, { "Left to work: 6h 30m", 23459, 0xFFFFFF00 },
        };
        ASSERT_EQ(4u, page.m_chart.m_slices.size());
        for (int i = 0; i < 4; ++i) {
            EXPECT_STREQ(slices[i].label, page.m_chart.m_slices[i].label);
            EXPECT_EQ(slices[i].value, page.m_chart.m_slices[i].value);
            EXPECT_EQ(slices[i].color, page.m_chart.m_slices[i].color);
        }
        COLORREF w = ::GetSysColor(COLOR_WINDOW);
        ARGB window = 0xFF000000u | GetRValue(w) << 16 | GetGValue(w) << 8 | GetBValue(w);
        EXPECT_EQ(window, page.m_chart.m_backgroundTop);
        EXPECT_EQ(window, page.m_chart.m_backgroundBottom);
        EXPECT_EQ(0x21u, (DWORD)page.m_list.SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE));
        // A count restarted below the base shows what it holds.
        world.keyStrokes = 30;
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            SetDay(c.total, c.work, c.idle, c.daily, c.limit, true);
            page.OnTimer(page.m_nTimer);
            EXPECT_STREQ(c.rest, page.m_list.GetItemText(page.m_nRowRest, 1));
            EXPECT_STREQ(c.left, page.m_list.GetItemText(page.m_nRowLeft, 1));
            EXPECT_STREQ("30", page.m_list.GetItemText(page.m_nRowKeys, 1));
            EXPECT_EQ(c.restValue, page.m_chart.m_slices[1].value);
            EXPECT_STREQ(c.slice3, page.m_chart.m_slices[3].label);
            EXPECT_EQ(c.value3, page.m_chart.m_slices[3].value);
            EXPECT_EQ(c.color3, page.m_chart.m_slices[3].color);
        }
    });
}

TEST_F(StatisticsPageTest, RefreshesTwiceASecondOnEveryTabUntilDestroyed)
{
    RunSheet([&](CStatisticsPage& page, HWND sheet) {
        EXPECT_EQ(TIMER_STATISTICS, page.m_nTimer);
        for (int tab : { 0, 1 }) {
            ::SendMessage(sheet, PSM_SETCURSEL, (WPARAM)tab, 0);
            g_dayCounters.nBreaks = 10 + tab;
            page.OnTimer(page.m_nTimer);
            EXPECT_EQ(std::to_string(10 + tab), (const char*)page.m_list.GetItemText(page.m_nRowBreaks, 1));
        }
        page.OnTimer(12345);   // someone else's timer: no refresh
        g_dayCounters.nBreaks = 20;
        page.OnTimer(12345);
        EXPECT_STREQ("11", page.m_list.GetItemText(page.m_nRowBreaks, 1));
    });
}

TEST_F(StatisticsPageTest, ClearActsAtOnceAndCancelKeepsIt)
{
    g_dayCounters.nSessionSeconds = 777;
    __int64 date = g_dayCounters.m_date;
    RunSheet([&](CStatisticsPage& page, HWND sheet) {
        world.keyStrokes = 1600;
        world.mouseClicks = 60;
        ::SendMessage(::GetDlgItem(page.m_hWnd, IDC_STATS_CLEAR), BM_CLICK, 0, 0);
        EXPECT_EQ(0, g_dayCounters.nTotalSeconds + g_dayCounters.nWorkSeconds + g_dayCounters.nIdleSeconds
                         + g_dayCounters.nDailySeconds + g_dayCounters.nBreaks + g_dayCounters.nPostpones);
        EXPECT_EQ(777, g_dayCounters.nSessionSeconds);
        EXPECT_EQ(date, g_dayCounters.m_date);
        EXPECT_EQ(1600, g_dayCounters.nKeyStrokesBase);
        EXPECT_EQ(60, g_dayCounters.nMouseClicksBase);
        EXPECT_EQ(Texts({ "0 minutes", "0 minutes", "0 minutes", "0 minutes", "8h 30m", "0", "0", "0", "0" }), Column(page, 1));
        for (int i = 0; i < 3; ++i) EXPECT_EQ(0.0, page.m_chart.m_slices[i].value) << i;
        EXPECT_EQ(30659.0, page.m_chart.m_slices[3].value);
        EXPECT_FALSE(Enabled(sheet, 0x3021));   // Apply
    });
    EXPECT_EQ(0, g_dayCounters.nBreaks);
    EXPECT_EQ(0, g_dayCounters.nTotalSeconds);
}

TEST_F(StatisticsPageTest, AutoClearReachesTheGlobalsOnlyOnOk)
{
    for (bool ok : { false, true }) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        g_autoZeroEnabled = false;
        g_autoZeroMode = 0;
        g_autoZeroTime = 1730;
        RunSheet([&](CStatisticsPage& page, HWND sheet) {
            EXPECT_FALSE(Enabled(page.m_hWnd, IDC_STATS_WHEN));
            ::SendMessage(::GetDlgItem(page.m_hWnd, IDC_STATS_AUTOCLEAR), BM_CLICK, 0, 0);
            EXPECT_TRUE(Enabled(page.m_hWnd, IDC_STATS_WHEN));
            EXPECT_TRUE(Enabled(sheet, 0x3021));
            page.m_nAutoClearMode = 1;
            page.m_nAutoClearTime = 905;
            page.m_nAutoClearHours = 7;
            ::SendMessage(sheet, PSM_PRESSBUTTON, ok ? PSBTN_OK : PSBTN_CANCEL, 0);
        });
        EXPECT_EQ(ok, g_autoZeroEnabled);
        EXPECT_EQ(ok ? 1 : 0, g_autoZeroMode);
        EXPECT_EQ(ok ? 905 : 1730, g_autoZeroTime);
        EXPECT_EQ(ok ? 7 : 5, g_autoZeroDelay);
    }
}

// ---- the auto-clear dialog, opened with "When?" ----

namespace {
struct DialogState {
    bool afterEnabled, afterChecked, atChecked, hoursEnabled, pickerEnabled;
    bool operator==(const DialogState& o) const
    {
        return afterEnabled == o.afterEnabled && afterChecked == o.afterChecked && atChecked == o.atChecked
               && hoursEnabled == o.hoursEnabled && pickerEnabled == o.pickerEnabled;
    }
};
DialogState StateOf(HWND dlg)
{
    return { Enabled(dlg, IDC_AUTOCLEAR_AFTER), Checked(dlg, IDC_AUTOCLEAR_AFTER), Checked(dlg, IDC_AUTOCLEAR_AT),
             Enabled(dlg, IDC_AUTOCLEAR_HOURS) && Enabled(dlg, IDC_AUTOCLEAR_SPIN) && Enabled(dlg, IDC_AUTOCLEAR_HOURS_TEXT),
             Enabled(dlg, IDC_AUTOCLEAR_TIME) };
}
void Press(HWND dlg, int id) { ::SendMessage(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)::GetDlgItem(dlg, id)); }
}  // namespace

TEST_F(StatisticsPageTest, DialogModesFollowTheTrackingAndTheLibrary)
{
    const DialogState after = { true, true, false, true, false }, at = { true, false, true, false, true },
                      forced = { false, false, true, false, true };
    struct { const char* what; bool keyboard, mouse, library; int mode; DialogState opened; int storedMode; } cases[] = {
        { "tracked, after inactivity", true, false, true, 0, after, 0 },
        { "tracked, at a time", false, true, true, 1, at, 1 },
        { "no library", true, true, false, 0, forced, 1 },
        { "no tracking", false, false, true, 0, forced, 1 },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        g_trackKeyboard = c.keyboard;
        g_trackMouse = c.mouse;
        world.hookLibraryLoaded = c.library;
        RunSheet([&](CStatisticsPage& page, HWND) {
            page.m_nAutoClearMode = c.mode;
            Soon([&] {
                HWND dlg = FindOwnWindow("AutoZero Settings");
                ASSERT_TRUE(dlg);
                EXPECT_EQ(::GetAncestor(page.m_hWnd, GA_ROOT), ::GetParent(dlg));   // owned by the sheet
                EXPECT_TRUE(c.opened == StateOf(dlg));
                if (c.library && (c.keyboard || c.mouse)) {
                    // The controls follow the radio buttons, the mode waits for OK.
                    ::CheckRadioButton(dlg, IDC_AUTOCLEAR_AFTER, IDC_AUTOCLEAR_AT, c.mode ? IDC_AUTOCLEAR_AFTER : IDC_AUTOCLEAR_AT);
                    Press(dlg, c.mode ? IDC_AUTOCLEAR_AFTER : IDC_AUTOCLEAR_AT);
                    EXPECT_TRUE((c.mode ? after : at) == StateOf(dlg));
                    ::CheckRadioButton(dlg, IDC_AUTOCLEAR_AFTER, IDC_AUTOCLEAR_AT, c.mode ? IDC_AUTOCLEAR_AT : IDC_AUTOCLEAR_AFTER);
                    Press(dlg, c.mode ? IDC_AUTOCLEAR_AT : IDC_AUTOCLEAR_AFTER);
                }
                Press(dlg, IDOK);
            });
            page.OnWhen();
            EXPECT_EQ(c.storedMode, page.m_nAutoClearMode);
        });
    }
}

TEST_F(StatisticsPageTest, DialogRefusesHoursOutsideOneToNinetyNine)
{
    struct { const char* text; const char* prompt; int stored; } cases[] = {
        { "0", "Enter an integer between 1 and 99.", 0 }, { "100", "Enter an integer between 1 and 99.", 0 },
        { "abc", "Enter an integer.", 0 }, { "1", nullptr, 1 }, { "99", nullptr, 99 },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.text);
        boxes.boxes.clear();
        RunSheet([&](CStatisticsPage& page, HWND) {
            Soon([&] {
                HWND dlg = FindOwnWindow("AutoZero Settings");
                ASSERT_TRUE(dlg);
                int lo = 0, hi = 0;
                ::SendDlgItemMessage(dlg, IDC_AUTOCLEAR_SPIN, UDM_GETRANGE32, (WPARAM)&lo, (LPARAM)&hi);
                EXPECT_EQ(1, lo);
                EXPECT_EQ(99, hi);
                ::SetDlgItemTextA(dlg, IDC_AUTOCLEAR_HOURS, c.text);
                Press(dlg, IDOK);
                if (c.prompt) {
                    ASSERT_EQ(1u, boxes.boxes.size());
                    EXPECT_EQ(c.prompt, boxes.boxes[0].text);
                    EXPECT_TRUE(::IsWindow(dlg));
                    EXPECT_EQ(::GetDlgItem(dlg, IDC_AUTOCLEAR_HOURS), ::GetFocus());
                    Press(dlg, IDCANCEL);
                } else {
                    EXPECT_TRUE(boxes.boxes.empty());
                }
            });
            page.OnWhen();
            EXPECT_EQ(c.prompt ? 5 : c.stored, page.m_nAutoClearHours);
        });
    }
}

TEST_F(StatisticsPageTest, DialogTimeAndWhatOkAndCancelLeave)
{
    g_trackKeyboard = g_trackMouse = false;   // the picker is enabled
    struct { const char* what; int stored; int chooseHour, chooseMinute; bool ok; int expected; bool modified; } cases[] = {
        { "a stored time, then 08:05", 1730, 8, 5, true, 805, true },
        { "no time of day, untouched", 2575, -1, -1, true, 0, true },
        { "a stored time, untouched", 1730, -1, -1, true, 1730, true },
        { "cancel", 1730, 8, 5, false, 1730, false },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        RunSheet([&](CStatisticsPage& page, HWND sheet) {
            page.m_nAutoClearTime = c.stored;
            Soon([&] {
                HWND dlg = FindOwnWindow("AutoZero Settings");
                ASSERT_TRUE(dlg);
                SYSTEMTIME st = {};
                ::SendDlgItemMessage(dlg, IDC_AUTOCLEAR_TIME, DTM_GETSYSTEMTIME, 0, (LPARAM)&st);
                EXPECT_EQ(c.stored == 1730 ? 17 : 0, st.wHour);
                EXPECT_EQ(c.stored == 1730 ? 30 : 0, st.wMinute);
                if (c.chooseHour >= 0) {
                    st.wHour = (WORD)c.chooseHour;
                    st.wMinute = (WORD)c.chooseMinute;
                    ::SendDlgItemMessage(dlg, IDC_AUTOCLEAR_TIME, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&st);
                }
                Press(dlg, c.ok ? IDOK : IDCANCEL);
            });
            page.OnWhen();
            EXPECT_EQ(c.expected, page.m_nAutoClearTime);
            EXPECT_EQ(c.modified, Enabled(sheet, 0x3021));
        });
    }
}
