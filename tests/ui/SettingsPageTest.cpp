// The Times page in a real sheet: the rows built from a record, the enabling
// rules, the range checks through real editor commits, and Apply.
#include "ui/UiTest.h"
#include "app/Messages.h"
#include "engine/BreakSettings.h"
#include "services/Translator.h"
#include "ui/SettingsPage.h"
#include <gtest/gtest.h>

namespace {
class SettingsPageTest : public ::testing::Test {
protected:
    BreakSettings saved = g_breakSettings;
    BeepCounter beep;
    void TearDown() override { g_breakSettings = saved; }
    // The page alone in a sheet.
    void Run(CSettingsPage& page, const std::function<void(CSettingsPage&)>& script)
    {
        CPropertySheet sheet("Kestrabel");
        sheet.AddPage(&page);
        RunSheet(sheet, [&](HWND) { script(page); });
    }
    void Run(const std::function<void(CSettingsPage&)>& script) { CSettingsPage page; Run(page, script); }
    static std::string Text(IProperty* p)
    {
        char buf[256] = "";
        return p && p->GetDisplayText(buf, sizeof(buf)) ? buf : "<none>";
    }
    static int Int(CSettingsPage& page, int id) { int v = -999; page.GetIntValue(id, v); return v; }
    // Commits text through the row's own editor, as Return does.
    static void Commit(CSettingsPage& page, int id, const char* text)
    {
        IProperty* item = page.m_list.FindProperty(id);
        int row = page.m_list.FindIndex(item);
        page.m_list.SetCurSel(row);
        ASSERT_TRUE(item && page.m_list.BeginEdit(item, row));
        HWND editor = page.m_list.GetEditorWindow();
        ::SetWindowTextA(editor, text);
        page.m_list.SendMessage(WM_PROPLIST_UPDATE, 0, (LPARAM)editor);
        page.m_list.DestroyEditor();
        PumpMessages(5);
    }
    // A proposed value, as a double-click on a list row makes.
    static void Propose(CSettingsPage& page, int id, int value)
    {
        CComVariant v(value);
        page.m_list.SendMessage(WM_PROPLIST_CHANGED, (WPARAM)&v, (LPARAM)page.m_list.FindProperty(id));
    }
    static std::string EnabledRows(CSettingsPage& page, int first, int last)
    {
        std::string s;
        for (int id = first; id <= last; ++id) s += page.m_list.FindProperty(id)->IsEnabled() ? '1' : '0';
        return s;
    }
};
}

TEST_F(SettingsPageTest, RowsFromTheRecord)
{
    BreakSettings& s = g_breakSettings;
    s.aBreaks[BREAK_MICRO] = {45, 7, ALERT_SCREEN_LOCK, true, true, "micro text"};
    s.aBreaks[BREAK_SHORT] = {90, 2000, ALERT_SLIDER, false, false, "short text"};
    s.aBreaks[BREAK_LONG] = {600, 4, ALERT_MESSAGE_BOX, true, false, "long text"};
    s.aBreaks[BREAK_DAILY_LIMIT] = {5, 510, ALERT_BALLOON, false, true, "daily text"};
    s.nPostpone = 0;
    s.nDisableUnlocking = 16;
    s.bDisableToggleMode = true;
    struct Row { int id; const char* name; const char* text; bool enabled; };
    const Row rows[] = {
        {100, "Microbreaks", "", true}, {101, "Enabled?", "Yes", true}, {102, "Once every", "7 minute(s)", true},
        {103, "Duration", "45 second(s)", true}, {104, "Alert type", "Balloon Tooltip", true},
        {105, "Message", "micro text", true}, {200, "Short Breaks", "", true},
        {201, "Once every", "2000 minute(s)", true}, {202, "Duration", "1 minute(s)", true},
        {203, "Alert type", "Slider Box", true}, {204, "Enable unlocking", "No", false},
        {205, "Message", "short text", true}, {300, "Long Breaks", "", true}, {301, "Enabled?", "No", true},
        {302, "Once every", "4 breaks", false}, {303, "Duration", "10 minute(s)", false},
        {304, "Alert type", "Message Box", false}, {305, "Enable unlocking", "Yes", false},
        {306, "Message", "long text", false}, {400, "Daily Work Limit", "", true},
        {401, "Enabled?", "Yes", true}, {402, "Daily work limit", "8:30 hour(s)", true},
        {403, "Alert type", "Balloon Tooltip", true}, {404, "Message", "daily text", true},
        {500, "General", "", true}, {501, "Postpone for", "0 minute(s)", true},
        {502, "Disable unlocking for the first", "16 second(s)", true}, {503, "Disable toggle mode", "Yes", true},
    };
    Run([&](CSettingsPage& page) {
        ASSERT_EQ(page.m_list.GetCount(), 28);
        for (int i = 0; i < 28; ++i) {
            IProperty* p = page.m_list.ItemAt(i);
            ASSERT_TRUE(p);
            EXPECT_EQ(p->GetItemData(), rows[i].id);
            EXPECT_STREQ(p->GetName(), rows[i].name) << rows[i].id;
            if (p->GetItemKind() != ITEMKIND_CATEGORY) { EXPECT_EQ(Text(p), rows[i].text) << rows[i].id; }
            EXPECT_EQ(p->IsEnabled() != FALSE, rows[i].enabled) << rows[i].id;
        }
    });
}

// The messages show in German; Apply keeps the English texts they stand for
// (a later switch back to English shows English again) and stores only
// what the user typed.
TEST_F(SettingsPageTest, TranslatedMessagesStayEnglishUnlessTyped)
{
    g_breakSettings.SetDefaultBreakMessages();
    const BreakSettings english = g_breakSettings;
    g_translator.SetDirectory((ProgramFolder() + "Languages").c_str());
    ASSERT_TRUE(g_translator.Load("German"));
    Run([&](CSettingsPage& page) {
        for (int id : {105, 205, 306, 404}) {
            CString shown;
            ASSERT_TRUE(page.GetPropertyText(id, shown));
            const CString& stored = g_breakSettings.aBreaks[id / 100 - 1].strMessage;
            EXPECT_NE(std::string(shown), std::string(stored)) << id;
            EXPECT_EQ(std::string(shown), std::string(g_translator.Translate(stored))) << id;
        }
        ASSERT_TRUE(page.OnApply());
        Commit(page, 205, "Meine Pause");
        ASSERT_TRUE(page.OnApply());
    });
    g_translator.m_map.RemoveAll();
    for (int kind : {BREAK_MICRO, BREAK_LONG, BREAK_DAILY_LIMIT})
        EXPECT_EQ(std::string(g_breakSettings.aBreaks[kind].strMessage), std::string(english.aBreaks[kind].strMessage));
    EXPECT_EQ(std::string(g_breakSettings.aBreaks[BREAK_SHORT].strMessage), "Meine Pause");
}

TEST_F(SettingsPageTest, EnablingRules)
{
    g_breakSettings.aBreaks[BREAK_LONG].bEnabled = false;
    g_breakSettings.aBreaks[BREAK_LONG].nAlertType = ALERT_SLIDER;
    Run([&](CSettingsPage& page) {
        struct Step { int id, value; int first, last; const char* enabled; };
        const Step steps[] = {
            {101, 1, 102, 105, "1111"}, {101, 0, 102, 105, "0000"},
            {301, 1, 302, 306, "11101"}, {304, 3, 302, 306, "11111"}, {301, 0, 302, 306, "00000"},
            {301, 1, 302, 306, "11111"}, {304, 2, 302, 306, "11101"},
            {203, 3, 204, 204, "1"}, {203, 0, 204, 204, "0"},
            {401, 0, 402, 404, "000"}, {401, 1, 402, 404, "111"},
        };
        for (const Step& st : steps) {
            Propose(page, st.id, st.value);
            EXPECT_EQ(EnabledRows(page, st.first, st.last), st.enabled) << st.id << "=" << st.value;
        }
    });
}

TEST_F(SettingsPageTest, EditedTextsAreCheckedAsTheRowReadsThem)
{
    struct Case { int id; const char* text; bool refused; int stored; };
    const Case cases[] = {
        {402, "0:00", true, 510}, {402, ":30", true, 510}, {402, "1:", false, 60}, {402, "1:00", false, 60},
        {402, "5", false, 300}, {402, "23:59", false, 1439}, {402, "24:00", false, 1440},
        {402, "24:01", true, 1440}, {402, "2:60", true, 1440}, {402, "25", true, 1440},
        {402, " 0:30", true, 1440}, {402, "0 :30", true, 1440}, {402, "+0:30", true, 1440},
        {402, "1 :30", false, 60}, {402, "1: 30", false, 90}, {402, "1: 60", true, 90}, {402, "1: +5", true, 90},
        {402, "4294967297", true, 90}, {402, "99999999999", true, 90},
        {201, "0", true, 20}, {201, "1001", true, 20}, {201, "1", false, 1}, {201, "1000 minute(s)", false, 1000},
        {201, "abc", true, 1000}, {201, "+5", true, 1000}, {201, "4294967297", true, 1000},
        {201, "99999999999", true, 1000}, {302, "0 breaks", true, 3}, {501, "0", true, 5},
        {105, "", false, -999},
    };
    g_breakSettings.aBreaks[BREAK_LONG].bEnabled = g_breakSettings.aBreaks[BREAK_MICRO].bEnabled = true;
    Run([&](CSettingsPage& page) {
        for (const Case& c : cases) {
            beep.beeps = 0;
            Commit(page, c.id, c.text);
            EXPECT_EQ(beep.beeps, c.refused ? 1 : 0) << c.id << " '" << c.text << "'";
            EXPECT_EQ(Int(page, c.id), c.stored) << c.id << " '" << c.text << "'";
        }
        // The row's own commit refuses a wrapped number too: the check alone
        // must not let it through.
        for (int id : {201, 402})
            for (const char* text : {"4294967297", "99999999999"}) EXPECT_FALSE(IsTimesTextAccepted(id, text)) << id << text;
        // Without an open editor nothing is refused: the value is stored.
        Propose(page, 201, 5000);
        EXPECT_EQ(Int(page, 201), 5000);
        EXPECT_EQ(beep.beeps, 0);
    });
}

TEST_F(SettingsPageTest, ApplyWritesEveryRowAndKeepsFieldsOfMissingRows)
{
    BreakSettings& s = g_breakSettings;
    s.aBreaks[BREAK_MICRO] = {45, 7, ALERT_SCREEN_LOCK, false, true, "m"};
    s.aBreaks[BREAK_SHORT] = {90, 20, ALERT_SLIDER, true, false, "s"};
    s.aBreaks[BREAK_LONG] = {600, 4, ALERT_SCREEN_LOCK, true, true, "l"};
    s.aBreaks[BREAK_DAILY_LIMIT] = {5, 510, ALERT_BALLOON, false, true, "d"};
    s.nPostpone = 0;
    MainWindowStandIn main;
    Run([&](CSettingsPage& page) {
        Commit(page, 303, "12");
        Commit(page, 205, "new");
        // A row gone and a row whose value no longer reads keep their fields.
        page.m_list.DeleteString(page.m_list.FindIndex(page.m_list.FindProperty(302)));
        VARIANT& unreadable = static_cast<CPropertyItem*>(page.m_list.FindProperty(306))->m_value;
        unreadable.vt = 0x7FFF;
        EXPECT_TRUE(page.OnApply());
        unreadable.vt = VT_BSTR;
        EXPECT_EQ(main.Take(WM_SETTINGS_APPLIED), 1);
    });
    const BreakSpec& m = s.aBreaks[BREAK_MICRO];
    EXPECT_EQ(m.nDuration, 45); EXPECT_EQ(m.nInterval, 7); EXPECT_EQ(m.nAlertType, 0);
    EXPECT_FALSE(m.bEnableUnlocking); EXPECT_TRUE(m.bEnabled); EXPECT_STREQ(m.strMessage, "m");
    const BreakSpec& sh = s.aBreaks[BREAK_SHORT];
    EXPECT_EQ(sh.nDuration, 60); EXPECT_EQ(sh.nInterval, 20); EXPECT_EQ(sh.nAlertType, 1);
    EXPECT_TRUE(sh.bEnabled); EXPECT_STREQ(sh.strMessage, "new");
    const BreakSpec& l = s.aBreaks[BREAK_LONG];
    EXPECT_EQ(l.nDuration, 720); EXPECT_EQ(l.nInterval, 4); EXPECT_STREQ(l.strMessage, "l");
    const BreakSpec& d = s.aBreaks[BREAK_DAILY_LIMIT];
    EXPECT_EQ(d.nDuration, 1000); EXPECT_EQ(d.nInterval, 510); EXPECT_TRUE(d.bEnableUnlocking);
    EXPECT_EQ(s.nPostpone, 0);
}

TEST_F(SettingsPageTest, AlertTypePopUpKeepsTheSheetOpen)
{
    struct WatchedPage : CSettingsPage {
        int cancels = 0;
        BOOL OnQueryCancel() override { ++cancels; return TRUE; }
    } watched;
    Run(watched, [&](CSettingsPage& page) {
        HWND sheet = ::GetParent(page.m_hWnd);
        IProperty* item = page.m_list.FindProperty(203);
        int row = page.m_list.FindIndex(item);
        page.m_list.SetCurSel(row);
        ASSERT_TRUE(page.m_list.BeginEdit(item, row));
        // The drop button's click shows the pop-up list (id 2, owned by the
        // sheet), which tells its owner when it takes the focus.
        ::SendMessageA(page.m_list.GetEditorWindow(), WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
        HWND popup = ::FindWindowExA(nullptr, nullptr, "ListBox", nullptr);
        while (popup && ::GetWindow(popup, GW_OWNER) != sheet) popup = ::FindWindowExA(nullptr, popup, "ListBox", nullptr);
        ASSERT_TRUE(popup && ::IsWindowVisible(popup));
        ::SendMessageA(sheet, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(popup), LBN_SETFOCUS), (LPARAM)popup);
        PumpMessages(50);
        EXPECT_EQ(watched.cancels, 0);
    });
}

TEST_F(SettingsPageTest, CancelLeavesTheRecord)
{
    Run([&](CSettingsPage& page) {
        Commit(page, 201, "7");
        Propose(page, 301, 0);
    });
    EXPECT_EQ(g_breakSettings.aBreaks[BREAK_SHORT].nInterval, saved.aBreaks[BREAK_SHORT].nInterval);
    EXPECT_EQ(g_breakSettings.aBreaks[BREAK_LONG].bEnabled, saved.aBreaks[BREAK_LONG].bEnabled);
}
