// What the alert tests share: a real main frame that records what the lock
// posts to it, the settings the alerts read put back after each test, and
// small helpers to find and drive the alert windows.
#pragma once
#include "support/FakeWorld.h"
#include "support/TestSupport.h"
#include "engine/MainFrame.h"
#include "engine/BreakSettings.h"
#include "app/Settings.h"
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

// A main frame that keeps what reaches it as WM_ALERT_RESULT instead of
// acting on it.
class CTestFrame : public CMainFrame {
public:
    std::vector<std::pair<WPARAM, LPARAM>> results;
    LRESULT OnResult(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class AlertTest : public ::testing::Test {
protected:
    BreakSettings savedBreaks = g_breakSettings;
    bool savedUseEnd = g_useSoundPauseEnd;
    CString savedEnd = g_strSoundFilePauseEnd;
    FakeWorld world;
    MessageBoxRecorder boxes{ IDNO };
    CTestFrame* frame = nullptr;

    void SetUp() override;
    void TearDown() override;

    // Every kind's alert type.
    void SetAlertType(int type);
    // The open alert's window, whichever it is.
    HWND OpenAlert() const;
    // How many alert pointers are set (at most one may be).
    int OpenPointers() const;
    // Checks the frame's pointers and lock kind against the windows alive.
    void ExpectConsistent() const;
    // Sends the lock its countdown tick n times.
    void TickLock(int n = 1);
    std::string ButtonText(int id) const;
    bool ButtonEnabled(int id) const;
    // Runs the message queue (posted close requests, timers) for ms.
    void Pump(DWORD ms = 50) { PumpMessages(ms); }
};

// The balloon texts the shell was asked to show since the test began.
extern std::vector<std::string> g_balloons;

// Top-level windows of this thread owned by hOwner (visible or not).
std::vector<HWND> OwnedWindows(HWND hOwner);
// A thread hook that makes every dialog creation fail while it lives.
class FailDialogCreation {
public:
    FailDialogCreation();
    ~FailDialogCreation();
};
