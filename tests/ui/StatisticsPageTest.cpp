// The Statistics page in a sheet and its auto-clear dialog, with a scripted
// world: rows, texts and slices of given days, the refresh, Clear, the
// automatic clearing's globals, and the dialog's modes, hours and time.
#include "ui/UiTest.h"
#include "support/FakeWorld.h"
#include "app/Settings.h"
#include "res/resource.h"
#include "ui/StatisticsPage.h"
#include "ui/StatisticsView.h"
#include <gtest/gtest.h>
#include <climits>

namespace {
class StatisticsPageTest : public ::testing::Test {
protected:
    Keep keep{ g_breakSettings, g_trackKeyboard, g_trackMouse, g_autoZeroEnabled, g_autoZeroMode, g_autoZeroDelay,
               g_autoZeroTime };
    FakeWorld world;
    MessageBoxRecorder boxes;
    void SetUp() override
    {
        keep.Bytes(g_dayCounters);
        SetDay(11100, 7200, 1800, 7200, 510, true);
        DayCounters& c = g_dayCounters;
        c.nBreaks = 3; c.nPostpones = 1; c.nKeyStrokesBase = 200; c.nMouseClicksBase = 45;
        world.keyStrokes = 1500; world.mouseClicks = 40;
        g_trackKeyboard = g_trackMouse = true;
        g_autoZeroEnabled = false; g_autoZeroMode = 0; g_autoZeroDelay = 5; g_autoZeroTime = 1730;
    }
    // The Statistics page in a sheet (see RunPageInSheet).
    void RunSheet(const std::function<void(CStatisticsPage&, HWND sheet)>& script)
    {
        CStatisticsPage page;
        RunPageInSheet(page, [&](HWND sheet) { script(page, sheet); });
        EXPECT_EQ(0u, page.m_nTimer);   // killed with the page's window
    }
    // "When?" with the dialog scripted once it shows and has taken its activation.
    void RunWhen(CStatisticsPage& page, const std::function<void(HWND dlg)>& script)
    {
        WhenShown([] { return ::FindWindowA(nullptr, "AutoZero Settings"); }, [&](HWND dlg) { PumpMessages(100); script(dlg); });
        page.OnWhen();
    }
    static Texts Column(CStatisticsPage& page, int col)
    {
        Texts out;
        for (int i = 0; i < page.m_list.GetItemCount(); ++i) out.push_back((const char*)page.m_list.GetItemText(i, col));
        return out;
    }
};

int s_localeFails;   // 1: the format read fails, 2: the separator read fails
int WINAPI ScriptedLocale(LCID, LCTYPE type, LPSTR buf, int size)
{
    bool fails = (type == LOCALE_STIMEFORMAT && s_localeFails == 1) || (type == LOCALE_STIME && s_localeFails == 2);
    lstrcpynA(buf, fails ? "garbage.ss" : type == LOCALE_STIME ? ":" : "HH:mm:ss", size);
    return fails ? 0 : 4;
}
}  // namespace

TEST(StatisticsView, PickerFormatDropsTheSecondsAndSurvivesFailedLocaleReads)
{
    struct { const char *format, *sep, *expected; } cases[] = {
        { "h:mm:ss tt", ":", "h:mm tt" }, { "HH:mm:ss", ":", "HH:mm" }, { "H.mm.s", ".", "H.mm" },
        { "HH:mm", ":", "HH:mm" }, { "HH:mm:ss", ".", "HH:mm:ss" },
    };
    for (auto& c : cases) EXPECT_STREQ(c.expected, PickerFormat(c.format, c.sep)) << c.format;
    Keep keep{ g_pfnGetLocaleInfoA };
    g_pfnGetLocaleInfoA = ScriptedLocale;
    for (int fails : { 0, 1, 2 }) {
        s_localeFails = fails;
        EXPECT_STREQ("HH:mm", UserPickerFormat()) << fails;
    }
}

TEST_F(StatisticsPageTest, RowsFollowTheLimitTheTrackingAndTheLibrary)
{
    const Texts head = { "Total up time:", "Work time:", "Rest time:", "Idle/Away time:" };
    struct { bool limit, mouse, library; Texts tail; } cases[] = {
        { false, true, false, { "Number of breaks:", "Number of postpones:" } },
        { true, true, true, { "Left to work:", "Number of breaks:", "Number of postpones:", "Key presses:", "Mouse clicks:" } },
        { true, false, true, { "Left to work:", "Number of breaks:", "Number of postpones:", "Key presses:" } },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.tail.size());
        g_breakSettings.aBreaks[BREAK_DAILY_LIMIT].bEnabled = c.limit;
        g_trackMouse = c.mouse;
        world.hookLibraryLoaded = c.library;
        RunSheet([&](CStatisticsPage& page, HWND) {
            Texts expected = head;
            expected.insert(expected.end(), c.tail.begin(), c.tail.end());
            EXPECT_EQ(expected, Column(page, 0));
            EXPECT_EQ(4u, page.m_chart.m_slices.size());
            // Conditions that come true while the page is open add no row and
            // write over none.
            g_breakSettings.aBreaks[BREAK_DAILY_LIMIT].bEnabled = g_trackMouse = world.hookLibraryLoaded = true;
            page.OnTimer(page.m_nTimer);
            EXPECT_EQ(expected, Column(page, 0));
            EXPECT_STREQ("3h 5m", page.m_list.GetItemText(0, 1));
        });
    }
}

TEST_F(StatisticsPageTest, DaysInTheListAndTheChart)
{
    struct Case {
        int total, work, idle, daily, limit;
        const char *rest, *left, *slice3; double restValue, value3; DWORD color3;
    } cases[] = {
        { 11100, 7200, 1800, 510 * 60 + 120, 510, "35 minutes", "0 (1 minute overtime)", "Overtime: 1 minute", 2100, 61, 0xFFFF0000 },
        { 0, 0, 0, 0, 510, "0 minutes", "8h 30m", "Left to work: 8h 30m", 0, 30659, 0xFFFFFF00 },
        { 10, 500, 0, 0, 510, "0 minutes", "8h 30m", "Left to work: 8h 30m", 0, 30659, 0xFFFFFF00 },
        { INT_MAX, 0, INT_MIN, 0, 510, "24855d 3h 14m", "8h 30m", "Left to work: 8h 30m", INT_MAX, 30659, 0xFFFFFF00 },
        { 0, 0, 0, 0, 40000000, "0 minutes", "24855d 3h 14m", "Left to work: 24855d 3h 14m", 0, INT_MAX, 0xFFFFFF00 },
    };
    RunSheet([&](CStatisticsPage& page, HWND sheet) {
        EXPECT_EQ(Texts({ "3h 5m", "2h 0m", "35 minutes", "30 minutes", "6h 30m", "3", "1", "1300", "40" }), Column(page, 1));
        struct { const char* label; double value; DWORD color; } slices[] = {
            { "Work time: 2h 0m", 7200, 0xFF00FFFF }, { "Rest time: 35 minutes", 2100, 0xFF008000 },
            { "Idle/Away time: 30 minutes", 1800, 0xFF0000FF }, { "Left to work: 6h 30m", 23459, 0xFFFFFF00 },
        };
        for (int i = 0; i < 4; ++i) {
            EXPECT_STREQ(slices[i].label, page.m_chart.m_slices[i].label);
            EXPECT_EQ(slices[i].value, page.m_chart.m_slices[i].value);
            EXPECT_EQ(slices[i].color, page.m_chart.m_slices[i].color);
        }
        COLORREF w = ::GetSysColor(COLOR_WINDOW);
        EXPECT_EQ(0xFF000000u | GetRValue(w) << 16 | GetGValue(w) << 8 | GetBValue(w), page.m_chart.m_backgroundTop);
        EXPECT_EQ(page.m_chart.m_backgroundTop, page.m_chart.m_backgroundBottom);
        EXPECT_EQ(0x21u, page.m_list.GetExtendedStyle());
        world.keyStrokes = 30;   // a count restarted below its base
        for (const Case& c : cases) {
            SCOPED_TRACE(c.slice3);
            SetDay(c.total, c.work, c.idle, c.daily, c.limit, true);
            ::SendMessage(sheet, PSM_SETCURSEL, 0, 0);   // refreshed behind another tab too
            page.OnTimer(page.m_nTimer);
            EXPECT_EQ(Texts({ c.rest, c.left }), Texts({ (const char*)page.m_list.GetItemText(page.m_nRowRest, 1),
                                                         (const char*)page.m_list.GetItemText(page.m_nRowLeft, 1) }));
            EXPECT_STREQ("30", page.m_list.GetItemText(page.m_nRowKeys, 1));
            EXPECT_EQ(c.restValue, page.m_chart.m_slices[1].value);
            EXPECT_STREQ(c.slice3, page.m_chart.m_slices[3].label);
            EXPECT_EQ(c.value3, page.m_chart.m_slices[3].value);
            EXPECT_EQ(c.color3, page.m_chart.m_slices[3].color);
        }
        g_dayCounters.nBreaks = 20;
        page.OnTimer(12345);   // someone else's timer
        EXPECT_STREQ("3", page.m_list.GetItemText(page.m_nRowBreaks, 1));
    });
}

TEST_F(StatisticsPageTest, ClearActsAtOnceAndCancelKeepsIt)
{
    g_dayCounters.nSessionSeconds = 777;
    __int64 date = g_dayCounters.m_date;
    RunSheet([&](CStatisticsPage& page, HWND sheet) {
        world.keyStrokes = 1600;
        Press(page.m_hWnd, IDC_STATS_CLEAR);
        const DayCounters& c = g_dayCounters;
        EXPECT_EQ(0, c.nTotalSeconds | c.nWorkSeconds | c.nIdleSeconds | c.nDailySeconds | c.nBreaks | c.nPostpones);
        EXPECT_EQ(777, c.nSessionSeconds);
        EXPECT_EQ(date, c.m_date);
        EXPECT_EQ(1600, c.nKeyStrokesBase);
        EXPECT_EQ(Texts({ "0 minutes", "0 minutes", "0 minutes", "0 minutes", "8h 30m", "0", "0", "0", "0" }), Column(page, 1));
        for (int i = 0; i < 4; ++i) EXPECT_EQ(i == 3 ? 30659.0 : 0.0, page.m_chart.m_slices[i].value) << i;
        EXPECT_FALSE(Enabled(sheet, kApply));   // Apply
    });
    EXPECT_EQ(0, g_dayCounters.nBreaks);
}

TEST_F(StatisticsPageTest, AutoClearReachesTheGlobalsOnlyOnOk)
{
    for (bool ok : { false, true }) {
        RunSheet([&](CStatisticsPage& page, HWND sheet) {
            EXPECT_FALSE(Enabled(page.m_hWnd, IDC_STATS_WHEN));
            ::SendDlgItemMessage(page.m_hWnd, IDC_STATS_AUTOCLEAR, BM_CLICK, 0, 0);
            EXPECT_TRUE(Enabled(page.m_hWnd, IDC_STATS_WHEN));
            EXPECT_TRUE(Enabled(sheet, kApply));
            RunWhen(page, [](HWND dlg) {
                Press(dlg, IDC_AUTOCLEAR_AT);   // no change of mode before OK
                Press(dlg, IDCANCEL);
            });
            EXPECT_EQ(0, page.m_nAutoClearMode);
            page.m_nAutoClearMode = 1;
            page.m_nAutoClearTime = 905;
            page.m_nAutoClearHours = 7;
            ::SendMessage(sheet, PSM_PRESSBUTTON, ok ? PSBTN_OK : PSBTN_CANCEL, 0);
        });
        EXPECT_EQ(Texts({ ok ? "1 1 905 7" : "0 0 1730 5" }),
                  Texts({ std::to_string(g_autoZeroEnabled) + " " + std::to_string(g_autoZeroMode) + " "
                          + std::to_string(g_autoZeroTime) + " " + std::to_string(g_autoZeroDelay) }));
    }
}

TEST_F(StatisticsPageTest, DialogModesFollowTheTrackingAndTheLibrary)
{
    // After enabled, after checked, at checked, hours enabled, picker enabled.
    const Texts after = { "1", "1", "0", "1", "0" }, at = { "1", "0", "1", "0", "1" }, forced = { "0", "0", "1", "0", "1" };
    // A stored hours value out of range is not asked about while its box is disabled.
    struct { bool keyboard, mouse, library; int mode; Texts opened; int stored, hours; } cases[] = {
        { true, false, true, 0, after, 0, 5 }, { false, true, true, 1, at, 1, 5 },
        { true, true, false, 0, forced, 1, 5 }, { false, false, true, 0, forced, 1, 5 },
        { true, true, false, 0, forced, 1, 0 }, { false, true, true, 1, at, 1, 100 },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        g_trackKeyboard = c.keyboard;
        g_trackMouse = c.mouse;
        world.hookLibraryLoaded = c.library;
        boxes.boxes.clear();
        RunSheet([&](CStatisticsPage& page, HWND) {
            page.m_nAutoClearMode = c.mode;
            page.m_nAutoClearHours = c.hours;
            RunWhen(page, [&](HWND dlg) {
                auto state = [dlg] {
                    Texts t;
                    for (bool b : { Enabled(dlg, IDC_AUTOCLEAR_AFTER), Checked(dlg, IDC_AUTOCLEAR_AFTER), Checked(dlg, IDC_AUTOCLEAR_AT),
                                    Enabled(dlg, IDC_AUTOCLEAR_HOURS) && Enabled(dlg, IDC_AUTOCLEAR_SPIN) && Enabled(dlg, IDC_AUTOCLEAR_HOURS_TEXT),
                                    Enabled(dlg, IDC_AUTOCLEAR_TIME) })
                        t.push_back(b ? "1" : "0");
                    return t;
                };
                EXPECT_EQ(c.opened, state());
                if (c.opened != forced) {   // the controls follow the radio buttons
                    int other = c.mode ? IDC_AUTOCLEAR_AFTER : IDC_AUTOCLEAR_AT;
                    ::CheckRadioButton(dlg, IDC_AUTOCLEAR_AFTER, IDC_AUTOCLEAR_AT, other);
                    Press(dlg, other);
                    EXPECT_EQ(c.mode ? after : at, state()) << c.mode;
                    ::CheckRadioButton(dlg, IDC_AUTOCLEAR_AFTER, IDC_AUTOCLEAR_AT, c.mode ? IDC_AUTOCLEAR_AT : IDC_AUTOCLEAR_AFTER);
                }
                Press(dlg, IDOK);
                EXPECT_TRUE(boxes.boxes.empty());
                if (::IsWindowVisible(dlg)) Press(dlg, IDCANCEL);   // refused: not left hanging
            });
            EXPECT_EQ(c.stored, page.m_nAutoClearMode);
            EXPECT_EQ(c.hours, page.m_nAutoClearHours);
        });
    }
}

TEST_F(StatisticsPageTest, DialogHoursAndTime)
{
    // Hours typed, stored time, time chosen (-1: untouched), OK; the prompt,
    // the shown time, the page's copies and Apply afterwards.
    struct Case { const char* hours; int stored, chosen; bool ok; const char* prompt; int shown, hoursAfter, timeAfter; bool apply; };
    const char* range = "Enter an integer between 1 and 99.";
    const Case cases[] = {
        { "0", 1730, -1, true, range, 1730, 5, 1730, false }, { "100", 1730, -1, true, range, 1730, 5, 1730, false },
        { "abc", 1730, -1, true, "Enter an integer.", 1730, 5, 1730, false }, { "1", 1730, 805, true, nullptr, 1730, 1, 805, true },
        { "99", 2575, -1, true, nullptr, 0, 99, 0, true }, { "5", 1730, -1, true, nullptr, 1730, 5, 1730, true },
        { "7", 1730, 805, false, nullptr, 1730, 5, 1730, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hours);
        boxes.boxes.clear();
        RunSheet([&](CStatisticsPage& page, HWND sheet) {
            page.m_nAutoClearTime = c.stored;
            RunWhen(page, [&](HWND dlg) {
                int lo = 0, hi = 0;
                ::SendDlgItemMessage(dlg, IDC_AUTOCLEAR_SPIN, UDM_GETRANGE32, (WPARAM)&lo, (LPARAM)&hi);
                EXPECT_EQ(199, lo * 100 + hi);
                SYSTEMTIME st = {};
                ::SendDlgItemMessage(dlg, IDC_AUTOCLEAR_TIME, DTM_GETSYSTEMTIME, 0, (LPARAM)&st);
                EXPECT_EQ(c.shown, st.wHour * 100 + st.wMinute);
                if (c.chosen >= 0) {
                    st.wHour = (WORD)(c.chosen / 100);
                    st.wMinute = (WORD)(c.chosen % 100);
                    ::SendDlgItemMessage(dlg, IDC_AUTOCLEAR_TIME, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&st);
                }
                ::SetDlgItemTextA(dlg, IDC_AUTOCLEAR_HOURS, c.hours);
                Press(dlg, c.ok ? IDOK : IDCANCEL);
                if (!c.prompt) return;
                ASSERT_EQ(1u, boxes.boxes.size());
                EXPECT_EQ(c.prompt, boxes.boxes[0].text);
                EXPECT_TRUE(::IsWindowVisible(dlg));
                EXPECT_EQ(::GetDlgItem(dlg, IDC_AUTOCLEAR_HOURS), ::GetFocus());
                Press(dlg, IDCANCEL);
            });
            EXPECT_EQ(c.hoursAfter * 10000 + c.timeAfter, page.m_nAutoClearHours * 10000 + page.m_nAutoClearTime);
            EXPECT_EQ(c.apply, Enabled(sheet, kApply));
        });
    }
}
