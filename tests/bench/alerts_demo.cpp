// Shows one alert window over a desktop with a document open, for a
// screenshot. Run inside Wine's virtual desktop:
//
//   KS_DEMO=slider|message|lock|lock2 [KS_DEMO_LONG=1]
//   wine64 explorer /desktop=shots,1280x1024 alerts_demo.exe
//
// lock2 is the lock in its second phase. KS_DEMO_LONG shows the alert in a
// language whose texts are long. The program opens Notepad with a short
// text, shows the alert, prints "SHOWN" and keeps it for KS_DEMO_SECONDS
// (default 8) seconds.
#include "support/FakeWorld.h"
#include "support/TestSupport.h"
#include "engine/MainFrame.h"
#include "engine/HooksLoader.h"
#include "alerts/LockDlg.h"
#include "app/Settings.h"
#include "services/Translator.h"
#include "tray/TrayNotifyIcon.h"
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>

static std::string Env(const char* name, const char* def)
{
    const char* v = getenv(name);
    return v && *v ? v : def;
}

TEST(AlertsDemo, Show)
{
    std::string what = Env("KS_DEMO", "message");
    bool longTexts = Env("KS_DEMO_LONG", "0") == "1";
    int seconds = atoi(Env("KS_DEMO_SECONDS", "8").c_str());

    FakeWorld world;
    MessageBoxRecorder boxes{ IDNO };
    g_breakSettings.aBreaks[BREAK_SHORT].nDuration = 120;
    g_breakSettings.aBreaks[BREAK_LONG].nDuration = 300;
    if (longTexts) {
        CMapStringToString& m = g_translator.m_map;
        m.SetAt("It's time for a short rest break.",
                "Zeit f\xfcr eine kurze Erholungspause: Stehen Sie auf, strecken Sie Arme und R\xfc" "cken, "
                "schauen Sie eine Weile aus dem Fenster in die Ferne und lassen Sie Ihre Augen ruhen, "
                "bevor Sie mit frischer Kraft weiterarbeiten.");
        m.SetAt("Remind me again in %d minutes", "Erinnern Sie mich in %d Minuten noch einmal daran");
        m.SetAt("Unlock", "Entsperren");
        m.SetAt("Postpone Disabled", "Verschieben nicht m\xf6glich");
    }

    // Something to dim: a document in Notepad.
    TempDir dir;
    std::string doc = dir.File("notes.txt");
    WriteFileBytes(doc, "Quarterly report\r\n\r\nThe figures for March are in the attached sheet.\r\n"
                        "Revenue rose by 4 percent; costs stayed flat.\r\n\r\n"
                        "To do: check the travel expenses, call the printer, book the room for Friday.\r\n");
    STARTUPINFOA si = { sizeof(si) };
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWMAXIMIZED;
    PROCESS_INFORMATION pi = {};
    std::string cmd = "notepad.exe \"" + doc + "\"";
    BOOL started = ::CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    PumpMessages(2500);

    g_trackKeyboard = g_trackMouse = false;
    CMainFrame* frame = new CMainFrame;
    ASSERT_TRUE(frame->Create(nullptr, "Kestrabel", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, nullptr, nullptr));
    frame->KillTimer(TIMER_TICK);

    int type = what == "slider" ? ALERT_SLIDER : what == "message" ? ALERT_MESSAGE_BOX : ALERT_SCREEN_LOCK;
    g_breakSettings.aBreaks[BREAK_SHORT].nAlertType = type;
    frame->ShowAlert(BREAK_SHORT);
    if (what == "lock2" && frame->m_pLockDlg)
        for (int i = 0; i < 16; ++i) frame->m_pLockDlg->SendMessage(WM_TIMER, TIMER_LOCK_COUNTDOWN, 0);
    if (frame->m_pLockDlg) frame->m_pLockDlg->KillTimer(TIMER_LOCK_COUNTDOWN);
    HWND hAlert = frame->m_pLockDlg ? frame->m_pLockDlg->m_hWnd
                  : frame->m_pMessengerDlg ? frame->m_pMessengerDlg->m_hWnd
                  : frame->m_pSmallMsg ? frame->m_pSmallMsg->m_hWnd : nullptr;
    RECT r = {}, work = {};
    ::GetWindowRect(hAlert, &r);
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    printf("alert %p visible %d at %ld,%ld-%ld,%ld; work area %ld,%ld-%ld,%ld\n", (void*)hAlert,
           ::IsWindowVisible(hAlert), r.left, r.top, r.right, r.bottom, work.left, work.top, work.right, work.bottom);
    printf("SHOWN\n");
    fflush(stdout);
    PumpMessages((DWORD)seconds * 1000);

    frame->CloseAlerts();
    frame->DestroyWindow();
    g_trayIcon.RemoveIcon();
    HookKeyboardOff();
    HookMouseOff();
    if (started) {
        ::TerminateProcess(pi.hProcess, 0);
        ::CloseHandle(pi.hProcess);
        ::CloseHandle(pi.hThread);
    }
}
