// The end of the program: the desktop's input is never held up by the wait
// for the update worker.
#include "app/Kestrabel.h"
#include "engine/HooksLoader.h"
#include "services/UpdateCheck.h"
#include <gtest/gtest.h>

namespace {
HANDLE g_worker;
// For each hook: removed while the worker still ran.
bool g_removedEarly[2];

bool WorkerRuns() { return ::WaitForSingleObject(g_worker, 0) == WAIT_TIMEOUT; }
int KillKeyboard() { g_removedEarly[0] = WorkerRuns(); return 1; }
int KillMouse() { g_removedEarly[1] = WorkerRuns(); return 1; }
DWORD WINAPI SlowWorker(LPVOID)
{
    ::Sleep(700);
    return 1;
}
}

TEST(Exit, TheHooksGoBeforeTheWaitForTheUpdateWorker)
{
    HookEntryPoints saved = g_hookEntryPoints;
    HookEntryPoints& e = g_hookEntryPoints;
    e = HookEntryPoints();
    e.pfnKillKBHook = KillKeyboard;
    e.pfnKillMouseHook = KillMouse;
    e.bKeyboardInstalled = e.bMouseInstalled = true;
    g_worker = ::CreateThread(nullptr, 0, SlowWorker, nullptr, 0, nullptr);
    ASSERT_NE(g_worker, nullptr);
    RememberRunningUpdateWorker(g_worker);

    EndInputHooksAndUpdateCheck();
    EXPECT_FALSE(WorkerRuns());              // the wait was long enough
    EXPECT_TRUE(g_removedEarly[0]);
    EXPECT_TRUE(g_removedEarly[1]);
    EXPECT_FALSE(IsKeyboardHookInstalled());
    EXPECT_FALSE(IsMouseHookInstalled());
    ::CloseHandle(g_worker);
    g_hookEntryPoints = saved;
}
