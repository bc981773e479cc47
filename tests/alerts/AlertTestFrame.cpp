#include "alerts/AlertTestFrame.h"
#include "alerts/AlertBox.h"
#include "alerts/LockDlg.h"
#include "engine/HooksLoader.h"
#include "services/Translator.h"
#include "tray/TrayNotifyIcon.h"

BEGIN_MESSAGE_MAP(CTestFrame, CMainFrame)
    ON_MESSAGE(WM_ALERT_RESULT, OnResult)
END_MESSAGE_MAP()

LRESULT CTestFrame::OnResult(WPARAM wParam, LPARAM lParam)
{
    results.push_back({ wParam, lParam });
    return 0;
}

std::vector<std::string> g_balloons;

// The shell, as far as the alerts need it: every balloon it is asked to
// show is kept; every request succeeds at once.
static BOOL RecordShellNotify(DWORD message, NOTIFYICONDATAA* data)
{
    if (message == NIM_ADD && (data->uFlags & NIF_INFO)) {
        size_t n = strnlen(data->szInfo, sizeof(data->szInfo));
        EXPECT_LT(n, sizeof(data->szInfo)) << "balloon text not terminated";
        g_balloons.push_back(std::string(data->szInfo, n));
    }
    return TRUE;
}

void AlertTest::SetUp()
{
    g_breakSettings = BreakSettings();
    // In memory the break durations are seconds.
    g_breakSettings.aBreaks[BREAK_SHORT].nDuration = 120;
    g_breakSettings.aBreaks[BREAK_LONG].nDuration = 300;
    g_useSoundPauseEnd = true;
    g_strSoundFilePauseEnd = "end.wav";
    g_translator.m_map.RemoveAll();
    bool keyboard = g_trackKeyboard, mouse = g_trackMouse;
    g_trackKeyboard = g_trackMouse = false;
    g_pfnShellNotifyIcon = RecordShellNotify;
    g_balloons.clear();
    frame = new CTestFrame;
    BOOL created = frame->Create(nullptr, "Kestrabel", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, nullptr, nullptr);
    g_trackKeyboard = keyboard;
    g_trackMouse = mouse;
    ASSERT_TRUE(created);
    frame->KillTimer(TIMER_TICK);
}

void AlertTest::TearDown()
{
    if (frame) {
        frame->CloseAlerts();
        frame->DestroyWindow();
        frame = nullptr;
    }
    g_trayIcon.RemoveIcon();
    g_pfnShellNotifyIcon = nullptr;
    HookKeyboardOff();
    HookMouseOff();
    Pump(20);
    g_translator.m_map.RemoveAll();
    g_breakSettings = savedBreaks;
    g_useSoundPauseEnd = savedUseEnd;
    g_strSoundFilePauseEnd = savedEnd;
}

void AlertTest::SetAlertType(int type)
{
    for (BreakSpec& spec : g_breakSettings.aBreaks) spec.nAlertType = type;
}

HWND AlertTest::OpenAlert() const
{
    if (frame->m_pLockDlg) return frame->m_pLockDlg->m_hWnd;
    if (frame->m_pMessengerDlg) return frame->m_pMessengerDlg->m_hWnd;
    if (frame->m_pSmallMsg) return frame->m_pSmallMsg->m_hWnd;
    return nullptr;
}

int AlertTest::OpenPointers() const
{
    return (frame->m_pLockDlg != nullptr) + (frame->m_pMessengerDlg != nullptr) + (frame->m_pSmallMsg != nullptr);
}

static BOOL CALLBACK CollectAlertDialogs(HWND h, LPARAM lParam)
{
    char cls[16] = "";
    ::GetClassNameA(h, cls, sizeof(cls));
    if (strcmp(cls, "#32770") == 0 && ::IsWindowVisible(h)) ((std::vector<HWND>*)lParam)->push_back(h);
    return TRUE;
}

void AlertTest::ExpectConsistent() const
{
    EXPECT_LE(OpenPointers(), 1);
    if (frame->m_pLockDlg) {
        EXPECT_TRUE(frame->m_pLockDlg->IsWindow());
        EXPECT_EQ(frame->m_nLockKind, frame->m_pLockDlg->m_nKind);
    } else {
        EXPECT_EQ(frame->m_nLockKind, -1);
    }
    if (frame->m_pMessengerDlg) {
        EXPECT_TRUE(frame->m_pMessengerDlg->IsWindow());
    }
    if (frame->m_pSmallMsg) {
        EXPECT_TRUE(frame->m_pSmallMsg->IsWindow());
    }
    // No alert window lives on without its pointer.
    std::vector<HWND> dialogs;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectAlertDialogs, (LPARAM)&dialogs);
    EXPECT_EQ((int)dialogs.size(), OpenPointers());
}

void AlertTest::TickLock(int n)
{
    ASSERT_NE(frame->m_pLockDlg, nullptr);
    for (int i = 0; i < n; ++i) frame->m_pLockDlg->SendMessage(WM_TIMER, TIMER_LOCK_COUNTDOWN, 0);
}

std::string AlertTest::ButtonText(int id) const
{
    HWND h = ::GetDlgItem(OpenAlert(), id);
    char text[256] = "";
    ::GetWindowTextA(h, text, sizeof(text));
    return text;
}

bool AlertTest::ButtonEnabled(int id) const
{
    return ::IsWindowEnabled(::GetDlgItem(OpenAlert(), id)) != FALSE;
}

struct OwnedSearch {
    HWND hOwner;
    std::vector<HWND> found;
};

static BOOL CALLBACK CollectOwned(HWND h, LPARAM lParam)
{
    OwnedSearch* s = (OwnedSearch*)lParam;
    if (::GetWindow(h, GW_OWNER) == s->hOwner) s->found.push_back(h);
    return TRUE;
}

std::vector<HWND> OwnedWindows(HWND hOwner)
{
    OwnedSearch s = { hOwner, {} };
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectOwned, (LPARAM)&s);
    return s.found;
}

static HHOOK s_failHook;

static LRESULT CALLBACK FailDialogs(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        CBT_CREATEWNDA* cw = (CBT_CREATEWNDA*)lParam;
        LPCSTR cls = cw->lpcs->lpszClass;
        bool dialog = IS_INTRESOURCE(cls) ? (ULONG_PTR)cls == 32770 : strcmp(cls, "#32770") == 0;
        if (dialog) return 1;
    }
    return ::CallNextHookEx(s_failHook, code, wParam, lParam);
}

FailDialogCreation::FailDialogCreation()
{
    s_failHook = ::SetWindowsHookExA(WH_CBT, FailDialogs, nullptr, ::GetCurrentThreadId());
}

FailDialogCreation::~FailDialogCreation()
{
    ::UnhookWindowsHookEx(s_failHook);
    s_failHook = nullptr;
}
