// The notification icon: the record handed to the shell, the retries and
// the "Try again?" question, balloons, the menu and the callback.
#include "TraySupport.h"
#include "support/FakeWorld.h"
#include "engine/MainFrame.h"
#include "app/Settings.h"
#include "services/Translator.h"
#include "ui/Dashboard.h"
#include "res/resource.h"
#include <gtest/gtest.h>
#include <stddef.h>

namespace {
class TrayIconTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_trayIconRetries = 0;
        g_translator.m_map.RemoveAll();
    }
    void TearDown() override
    {
        g_trayIconRetries = 0;
        g_translator.m_map.RemoveAll();
        g_pfnMessageBoxHook = nullptr;
    }
    BOOL CreateIcon(CTrayNotifyIcon& icon, const char* tip = "tip", BOOL fullSize = TRUE)
    {
        return icon.Create(&owner, IDR_TRAY_MENU, tip, nullptr, WM_TRAY_NOTIFY, IDR_TRAY_MENU, fullSize);
    }
    // Declared first: it outlives the icons of each test.
    ShellRecorder shell;
    CRecorderWnd owner;
};

std::string Repeat(char c, size_t n) { return std::string(n, c); }
}

TEST_F(TrayIconTest, AddRecordHasTheSizeForThisBuildAndNoTooltip)
{
    CTrayNotifyIcon icon;
    ASSERT_TRUE(CreateIcon(icon, "Kestrabel"));
    EXPECT_TRUE(icon.m_bCreated);
    ASSERT_EQ(shell.calls.size(), 1u);
    const NOTIFYICONDATAA& n = shell.calls[0].nid;
    EXPECT_EQ(shell.calls[0].message, (DWORD)NIM_ADD);
    // The record with the balloon fields, in this build's layout (488 bytes
    // in the 32-bit build, asserted there at compile time).
    EXPECT_EQ(n.cbSize, (DWORD)offsetof(NOTIFYICONDATAA, guidItem));
    EXPECT_EQ(n.hWnd, owner.m_hWnd);
    EXPECT_EQ(n.uID, (UINT)IDR_TRAY_MENU);
    EXPECT_EQ(n.uFlags, (UINT)(NIF_MESSAGE | NIF_ICON));
    EXPECT_EQ(n.uCallbackMessage, (UINT)WM_TRAY_NOTIFY);
    EXPECT_STREQ(n.szTip, "Kestrabel");

    CTrayNotifyIcon old;
    shell.calls.clear();
    ASSERT_TRUE(CreateIcon(old, "Kestrabel", FALSE));
    EXPECT_EQ(shell.calls[0].nid.cbSize, (DWORD)(offsetof(NOTIFYICONDATAA, szTip) + 64));
}

TEST_F(TrayIconTest, LongTextsAreCutToTheirFieldsAndTerminated)
{
    CTrayNotifyIcon icon;
    std::string tip = Repeat('t', 300), text = Repeat('x', 1000), title = Repeat('T', 200);
    ASSERT_TRUE(icon.CreateWithBalloon(&owner, IDR_TRAY_MENU, tip.c_str(), text.c_str(), title.c_str(), 1200000, 2,
                                       nullptr, WM_TRAY_NOTIFY, IDR_TRAY_MENU));
    std::vector<ShellCall> adds = shell.Of(NIM_ADD);
    ASSERT_EQ(adds.size(), 1u);
    const NOTIFYICONDATAA& n = adds[0].nid;
    EXPECT_EQ(std::string(n.szTip), Repeat('t', sizeof(n.szTip) - 1));
    EXPECT_EQ(std::string(n.szInfo), Repeat('x', sizeof(n.szInfo) - 1));
    EXPECT_EQ(std::string(n.szInfoTitle), Repeat('T', sizeof(n.szInfoTitle) - 1));
    // The fields behind the texts are what was asked for, not text.
    EXPECT_EQ(n.uTimeout, 1200000u);
    EXPECT_EQ(n.dwInfoFlags, (DWORD)NIIF_INFO);
    EXPECT_EQ(n.uFlags, (UINT)(NIF_MESSAGE | NIF_ICON | NIF_INFO));
    EXPECT_EQ(n.cbSize, (DWORD)offsetof(NOTIFYICONDATAA, guidItem));

    // The oldest shell's record reads 64 characters of tip.
    CTrayNotifyIcon old;
    shell.calls.clear();
    ASSERT_TRUE(CreateIcon(old, tip.c_str(), FALSE));
    const NOTIFYICONDATAA& o = shell.calls.back().nid;
    EXPECT_EQ(std::string(o.szTip), Repeat('t', 63));
}

TEST_F(TrayIconTest, BalloonTypesAndNoRetryOffset)
{
    const DWORD flags[] = { NIIF_WARNING, NIIF_ERROR, NIIF_INFO };
    g_trayIconRetries = 4;
    for (int type = 0; type < 3; ++type) {
        CTrayNotifyIcon icon;
        shell.calls.clear();
        ASSERT_TRUE(icon.CreateWithBalloon(&owner, IDR_TRAY_MENU, "tip", "text", "title", 5000, type, nullptr,
                                           WM_TRAY_NOTIFY, IDR_TRAY_MENU));
        EXPECT_EQ(shell.Of(NIM_ADD)[0].nid.dwInfoFlags, flags[type]);
        EXPECT_EQ(shell.Of(NIM_ADD)[0].nid.uID, (UINT)IDR_TRAY_MENU);
    }
    // A failed balloon is reported as such, with no retry and no question.
    CTrayNotifyIcon icon;
    shell.addResult = FALSE;
    MessageBoxRecorder boxes(IDYES);
    EXPECT_FALSE(icon.CreateWithBalloon(&owner, IDR_TRAY_MENU, "tip", "text", "title", 5000, 2, nullptr,
                                        WM_TRAY_NOTIFY, IDR_TRAY_MENU));
    EXPECT_FALSE(icon.m_bCreated);
    EXPECT_EQ(g_trayIconRetries, 4);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(TrayIconTest, FailedAddIsRetriedUnderTheNextIdAfterDeletingThePrevious)
{
    CTrayNotifyIcon icon;
    shell.addResult = FALSE;
    EXPECT_TRUE(CreateIcon(icon));   // a failed add is not a failure of Create
    EXPECT_FALSE(icon.m_bCreated);
    EXPECT_EQ(g_trayIconRetries, 1);
    EXPECT_TRUE(CreateIcon(icon));
    shell.addResult = TRUE;
    EXPECT_TRUE(CreateIcon(icon));
    EXPECT_TRUE(icon.m_bCreated);

    std::vector<std::pair<DWORD, UINT>> seen;
    for (auto& c : shell.calls) seen.push_back({ c.message, c.nid.uID });
    std::vector<std::pair<DWORD, UINT>> expected = {
        { NIM_ADD, 131 }, { NIM_DELETE, 131 }, { NIM_ADD, 132 }, { NIM_DELETE, 132 }, { NIM_ADD, 133 },
    };
    EXPECT_EQ(seen, expected);
    for (auto& c : shell.Of(NIM_DELETE)) EXPECT_EQ(c.nid.hWnd, owner.m_hWnd);

    // SetIcon modifies the icon under its current id; RemoveIcon deletes it once.
    shell.calls.clear();
    EXPECT_TRUE(icon.SetIcon(nullptr));
    icon.RemoveIcon();
    icon.RemoveIcon();
    EXPECT_FALSE(icon.SetIcon(nullptr));
    ASSERT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(shell.calls[0].message, (DWORD)NIM_MODIFY);
    EXPECT_EQ(shell.calls[0].nid.uFlags, (UINT)NIF_ICON);
    EXPECT_EQ(shell.calls[0].nid.uID, 133u);
    EXPECT_EQ(shell.calls[1].message, (DWORD)NIM_DELETE);
    EXPECT_EQ(shell.calls[1].nid.uID, 133u);
    EXPECT_EQ(icon.GetMenu()->m_hMenu, nullptr);
}

namespace {
CTrayNotifyIcon* g_askedIcon;
CWnd* g_askedOwner;
ShellRecorder* g_askedShell;
std::vector<std::string> g_questions;
int g_addsDuringQuestion;
BOOL g_innerResult;
int g_answer;

// The question's own message loop runs redraws: one of them tries again.
int AnswerQuestion(HWND, const char* text, const char*, UINT type)
{
    g_questions.push_back(std::string(text) + "|" + std::to_string(type));
    int before = g_askedShell->count;
    g_innerResult = g_askedIcon->Create(g_askedOwner, IDR_TRAY_MENU, "tip", nullptr, WM_TRAY_NOTIFY,
                                        IDR_TRAY_MENU, TRUE);
    g_addsDuringQuestion += g_askedShell->count - before;
    return g_answer;
}
}

TEST_F(TrayIconTest, EveryTenthFailureAsksOnceWithoutNesting)
{
    CTrayNotifyIcon icon;
    g_askedIcon = &icon;
    g_askedOwner = &owner;
    g_askedShell = &shell;
    g_questions.clear();
    g_addsDuringQuestion = 0;
    g_answer = IDYES;
    g_pfnMessageBoxHook = AnswerQuestion;
    shell.addResult = FALSE;
    for (int i = 1; i <= 9; ++i) EXPECT_TRUE(CreateIcon(icon));
    EXPECT_TRUE(g_questions.empty());
    EXPECT_TRUE(CreateIcon(icon));   // the tenth: Yes goes on trying
    ASSERT_EQ(g_questions.size(), 1u);
    EXPECT_EQ(g_questions[0], "Failed to create tray icon.\nTry again?|" + std::to_string(MB_YESNO | MB_ICONSTOP));
    EXPECT_EQ(g_addsDuringQuestion, 0);
    EXPECT_TRUE(g_innerResult);
    EXPECT_EQ(g_trayIconRetries, 10);
    for (int i = 11; i <= 20; ++i) EXPECT_TRUE(CreateIcon(icon));
    EXPECT_EQ(g_questions.size(), 2u);
    EXPECT_EQ(g_addsDuringQuestion, 0);
    EXPECT_EQ(shell.Of(NIM_ADD).back().nid.uID, (UINT)IDR_TRAY_MENU + 19);
}

TEST_F(TrayIconTest, NoEndsTheProgramEvenWhileExitIsDisabled)
{
    FakeWorld world;
    bool keyboard = g_trackKeyboard, mouse = g_trackMouse;
    g_trackKeyboard = g_trackMouse = false;
    CMainFrame* frame = new CMainFrame;
    ASSERT_TRUE(frame->Create(nullptr, "Kestrabel", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, nullptr, nullptr));
    HWND hFrame = frame->m_hWnd;
    g_trayIcon.RemoveIcon();

    // With the settings open the Exit command is disabled: a posted Exit
    // command would be dropped.
    g_modalOpen = true;
    CCmdUI exitRule;
    exitRule.m_nID = ID_APP_EXIT;
    exitRule.DoUpdate(frame, TRUE);
    EXPECT_FALSE(exitRule.m_bEnabled);

    CTrayNotifyIcon icon;
    g_askedIcon = &icon;
    g_askedOwner = frame;
    g_askedShell = &shell;
    g_questions.clear();
    g_addsDuringQuestion = 0;
    g_answer = IDNO;
    g_pfnMessageBoxHook = AnswerQuestion;
    shell.addResult = FALSE;
    g_trayIconRetries = 9;
    EXPECT_FALSE(icon.Create(frame, IDR_TRAY_MENU, "tip", nullptr, WM_TRAY_NOTIFY, IDR_TRAY_MENU, TRUE));
    EXPECT_EQ(g_questions.size(), 1u);
    EXPECT_TRUE(icon.IsExitChosen());
    PumpMessages(100);
    EXPECT_FALSE(::IsWindow(hFrame));

    // Nothing more is tried, nothing more is asked.
    int calls = shell.count;
    EXPECT_FALSE(icon.Create(&owner, IDR_TRAY_MENU, "tip", nullptr, WM_TRAY_NOTIFY, IDR_TRAY_MENU, TRUE));
    EXPECT_EQ(shell.count, calls);
    EXPECT_EQ(g_questions.size(), 1u);

    g_modalOpen = false;
    g_trackKeyboard = keyboard;
    g_trackMouse = mouse;
    if (::IsWindow(hFrame)) frame->DestroyWindow();
}

TEST_F(TrayIconTest, MenuIsTheTrayMenuTranslatedWithItsDefaultItem)
{
    g_translator.m_map.SetAt("&Settings...\t(Left Click)", "&Einstellungen...\t(Linksklick)");
    g_translator.m_map.SetAt("&Exit", "&Beenden");
    CTrayNotifyIcon icon;
    ASSERT_TRUE(icon.LoadMenu(IDR_TRAY_MENU));
    CMenu* popup = icon.GetMenu()->GetSubMenu(0);
    ASSERT_NE(popup, nullptr);

    struct Item { UINT id; const char* text; };
    const Item items[] = {
        { ID_TRAY_SETTINGS, "&Einstellungen...\t(Linksklick)" }, { ID_TRAY_STATISTICS, "Statistics..." },
        { 0, "" }, { ID_TRAY_CHECK_UPDATES, "Check for Updates" }, { ID_TRAY_FEEDBACK, "Give Feedback..." },
        { ID_APP_ABOUT, "&About..." }, { 0, "" }, { ID_TRAY_RESTART_COUNTER, "&Restart Counter\t(Shift+Click)" },
        { ID_TRAY_PAUSE, "&Pause\t(Alt+Click)" }, { ID_TRAY_TOGGLE_MODE, "&Toggle Mode\t(Ctrl+Click)" },
        { 0, "" }, { ID_APP_EXIT, "&Beenden" },
    };
    ASSERT_EQ(popup->GetMenuItemCount(), 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(popup->GetMenuItemID(i), items[i].id) << i;
        CString text;
        popup->GetMenuString((UINT)i, text, MF_BYPOSITION);
        EXPECT_STREQ(text, items[i].text) << i;
    }
    EXPECT_EQ(::GetMenuDefaultItem(popup->m_hMenu, TRUE, 0), 0u);
    EXPECT_EQ(::GetMenuDefaultItem(popup->m_hMenu, FALSE, 0), (UINT)ID_TRAY_SETTINGS);
    EXPECT_TRUE(popup->GetMenuState(0, MF_BYPOSITION) & MFS_DEFAULT);
    EXPECT_FALSE(icon.LoadMenu(9999));
}

namespace {
struct PopupSeen {
    bool fired = false;
    bool shown = false;
    int suppress = 0;
    bool oldMenuAliveWhileOpen = false;
    HMENU oldMenu = nullptr;
    CTrayNotifyIcon* icon = nullptr;
} g_popup;

BOOL CALLBACK FindOpenPopup(HWND hWnd, LPARAM)
{
    char name[16];
    if (::GetClassNameA(hWnd, name, sizeof(name)) && strcmp(name, "#32768") == 0 && ::IsWindowVisible(hWnd))
        g_popup.shown = true;
    return TRUE;
}

void CALLBACK ClosePopup(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    g_popup.fired = true;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindOpenPopup, 0);
    g_popup.suppress = g_dashboardSuppress;
    // The settings are applied twice while the popup is open: the menu is reloaded.
    if (g_popup.icon) {
        g_popup.icon->LoadMenu(IDR_TRAY_MENU);
        g_popup.icon->LoadMenu(IDR_TRAY_MENU);
        g_popup.oldMenuAliveWhileOpen = ::IsMenu(g_popup.oldMenu) != FALSE;
    }
    ::EndMenu();
}
}

TEST_F(TrayIconTest, RightClickOpensTheMenuAndDoubleClickSendsTheDefaultCommand)
{
    CTrayNotifyIcon icon;
    ASSERT_TRUE(CreateIcon(icon));
    int suppress = g_dashboardSuppress;
    EXPECT_FALSE(icon.HandleCallback(IDR_TRAY_MENU + 1, WM_RBUTTONUP));

    // Other programs on the same display may take the focus and close the
    // popup early: a few attempts.
    g_popup = PopupSeen();
    for (int attempt = 0; attempt < 3 && !g_popup.shown; ++attempt) {
        g_popup = PopupSeen();
        g_popup.icon = &icon;
        g_popup.oldMenu = icon.GetMenu()->m_hMenu;
        UINT_PTR timer = ::SetTimer(nullptr, 0, 100, ClosePopup);
        ASSERT_NE(timer, 0u);
        EXPECT_TRUE(icon.HandleCallback(IDR_TRAY_MENU, WM_RBUTTONUP));
        if (!g_popup.fired) ::KillTimer(nullptr, timer);
    }
    EXPECT_TRUE(g_popup.shown);
    EXPECT_EQ(g_popup.suppress, suppress + 1);
    EXPECT_EQ(g_dashboardSuppress, suppress);
    EXPECT_TRUE(g_popup.oldMenuAliveWhileOpen);
    EXPECT_FALSE(::IsMenu(g_popup.oldMenu));   // gone once the popup closed
    EXPECT_TRUE(::IsMenu(icon.GetMenu()->m_hMenu));
    PumpMessages(50);
    EXPECT_EQ(owner.nulls, 1);
    EXPECT_TRUE(owner.commands.empty());

    EXPECT_TRUE(icon.HandleCallback(IDR_TRAY_MENU, WM_LBUTTONDBLCLK));
    EXPECT_EQ(owner.commands, std::vector<UINT>{ ID_TRAY_SETTINGS });
    // Other mouse messages of the icon are its own, with nothing done.
    EXPECT_TRUE(icon.HandleCallback(IDR_TRAY_MENU, WM_MOUSEMOVE));
    EXPECT_FALSE(icon.HandleCallback(IDR_TRAY_MENU + 1, WM_LBUTTONDBLCLK));
    EXPECT_EQ(owner.commands.size(), 1u);
}
