// The input-hook loader: binding, the wrappers' install/remove/read rules,
// the order of removal at exit and when the library must stay loaded.
#include "support/TestSupport.h"
#include "engine/HooksLoader.h"
#include "engine/DayCounters.h"
#include "engine/MainFrame.h"
#include "ui/StatisticsView.h"
#include "app/Settings.h"
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace {
// A hook library of the test's own: each export logs its call.
std::vector<std::string> g_log;
std::map<std::string, bool> g_exported;
HMODULE const kFakeModule = (HMODULE)(LONG_PTR)0x7A170000;

int FakeSetKBHook() { g_log.push_back("SetKBHook"); return 1; }
int FakeSetMouseHook() { g_log.push_back("SetMouseHook"); return 1; }
int FakeKillKBHook() { g_log.push_back("KillKBHook"); return 1; }
int FakeKillMouseHook() { g_log.push_back("KillMouseHook"); return 1; }
DWORD FakeGetKeyStrokes() { g_log.push_back("GetKeyStrokes"); return 42; }
DWORD FakeGetMouseEvents() { g_log.push_back("GetMouseEvents"); return 1234; }
DWORD FakeGetMouseClicks() { g_log.push_back("GetMouseClicks"); return 7; }

HMODULE FakeLoad(const char* name)
{
    g_log.push_back(std::string("load ") + name);
    return std::string(name) == "fakehooks.dll" ? kFakeModule : nullptr;
}

FARPROC FakeBind(HMODULE h, const char* name)
{
    if (h != kFakeModule || !g_exported[name]) return nullptr;
    static const std::map<std::string, FARPROC> exports = {
        { "SetKBHook", (FARPROC)FakeSetKBHook },         { "SetMouseHook", (FARPROC)FakeSetMouseHook },
        { "GetKeyStrokes", (FARPROC)FakeGetKeyStrokes }, { "GetMouseEvents", (FARPROC)FakeGetMouseEvents },
        { "GetMouseClicks", (FARPROC)FakeGetMouseClicks }, { "KillKBHook", (FARPROC)FakeKillKBHook },
        { "KillMouseHook", (FARPROC)FakeKillMouseHook },
    };
    auto it = exports.find(name);
    return it == exports.end() ? nullptr : it->second;
}

BOOL FakeFree(HMODULE h)
{
    g_log.push_back(h == kFakeModule ? "free" : "free other");
    return TRUE;
}

class HooksLoaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The process's own loader (the real tapvex.dll) is put aside.
        saved = g_hookEntryPoints;
        g_hookEntryPoints = HookEntryPoints();
        g_log.clear();
        g_exported.clear();
        for (const char* n : { "SetKBHook", "SetMouseHook", "GetKeyStrokes", "GetMouseEvents", "GetMouseClicks",
                               "KillKBHook", "KillMouseHook" })
            g_exported[n] = true;
        CDllLoader::s_pfnLoad = FakeLoad;
        CDllLoader::s_pfnBind = FakeBind;
        CDllLoader::s_pfnFree = FakeFree;
    }
    void TearDown() override
    {
        CDllLoader::s_pfnLoad = nullptr;
        CDllLoader::s_pfnBind = nullptr;
        CDllLoader::s_pfnFree = nullptr;
        g_hookEntryPoints = saved;
    }
    // The calls logged since the loader was built.
    std::vector<std::string> Calls() const
    {
        std::vector<std::string> v;
        for (auto& s : g_log)
            if (s.compare(0, 5, "load ") != 0) v.push_back(s);
        return v;
    }
    HookEntryPoints saved;
};
using Log = std::vector<std::string>;
}

TEST_F(HooksLoaderTest, WithoutTheLibraryEveryReadIsZeroAndNothingIsReported)
{
    CDllLoader::s_pfnLoad = nullptr;   // the system's loader, a file that is not there
    MessageBoxRecorder boxes;
    {
        CHooksLoader loader("no-such-hook-library.dll");
        EXPECT_EQ(loader.m_hModule, nullptr);
        EXPECT_FALSE(loader.m_bMissingExports);
        loader.ReportLoadFailure();
        EXPECT_FALSE(HookKeyboardOn());
        EXPECT_FALSE(HookMouseOn());
        EXPECT_EQ(ReadKeyStrokes(), 0u);
        EXPECT_EQ(ReadMouseEvents(), 0u);
        EXPECT_EQ(ReadMouseClicks(), 0u);
        EXPECT_TRUE(HookKeyboardOff());
        EXPECT_TRUE(HookMouseOff());
    }
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_TRUE(Calls().empty());
}

TEST_F(HooksLoaderTest, TheProgramsLoaderAsksForTheLibraryBesideTheProgramOnly)
{
    // By name, the system would search the current folder and the PATH too.
    MessageBoxRecorder boxes;
    {
        CHooksLoader loader;
        EXPECT_EQ(loader.m_hModule, nullptr);   // the fake loader knows no such file
        loader.ReportLoadFailure();
    }
    ASSERT_EQ(g_log.size(), 1u);
    EXPECT_EQ(g_log[0], "load " + ProgramFolder() + "tapvex.dll");
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(HooksLoaderTest, InstallsOnceAndReadsOnlyWhileInstalled)
{
    CHooksLoader loader("fakehooks.dll");
    ASSERT_EQ(loader.m_hModule, kFakeModule);
    EXPECT_FALSE(loader.m_bMissingExports);

    // Before the install the library is not asked.
    EXPECT_EQ(ReadKeyStrokes(), 0u);
    EXPECT_EQ(ReadMouseEvents(), 0u);
    EXPECT_EQ(ReadMouseClicks(), 0u);
    EXPECT_EQ(Calls(), Log());

    EXPECT_TRUE(HookKeyboardOn());
    EXPECT_TRUE(HookKeyboardOn());
    EXPECT_TRUE(HookMouseOn());
    EXPECT_TRUE(HookMouseOn());
    EXPECT_EQ(Calls(), (Log{ "SetKBHook", "SetMouseHook" }));

    EXPECT_EQ(ReadKeyStrokes(), 42u);
    EXPECT_EQ(ReadMouseEvents(), 1234u);
    EXPECT_EQ(ReadMouseClicks(), 7u);

    g_log.clear();
    EXPECT_TRUE(HookKeyboardOff());
    EXPECT_TRUE(HookKeyboardOff());
    EXPECT_TRUE(HookMouseOff());
    EXPECT_EQ(Calls(), (Log{ "KillKBHook", "KillMouseHook" }));
    EXPECT_EQ(ReadKeyStrokes(), 0u);
    EXPECT_EQ(ReadMouseEvents(), 0u);
    EXPECT_EQ(ReadMouseClicks(), 0u);
    EXPECT_EQ(Calls(), (Log{ "KillKBHook", "KillMouseHook" }));
}

TEST_F(HooksLoaderTest, TurningTheKeyboardOffKeepsTheMouseHook)
{
    CHooksLoader loader("fakehooks.dll");
    HookKeyboardOn();
    HookMouseOn();
    g_log.clear();
    EXPECT_TRUE(HookKeyboardOff());
    EXPECT_EQ(Calls(), Log{ "KillKBHook" });
    EXPECT_FALSE(IsKeyboardHookInstalled());
    EXPECT_TRUE(IsMouseHookInstalled());
    EXPECT_EQ(ReadKeyStrokes(), 0u);
    EXPECT_EQ(ReadMouseEvents(), 1234u);
    EXPECT_EQ(ReadMouseClicks(), 7u);
}

TEST_F(HooksLoaderTest, DestructorRemovesMouseThenKeyboardThenFrees)
{
    {
        CHooksLoader loader("fakehooks.dll");
        HookKeyboardOn();
        HookMouseOn();
        g_log.clear();
    }
    EXPECT_EQ(Calls(), (Log{ "KillMouseHook", "KillKBHook", "free" }));
    // Nothing points into the freed library any more.
    EXPECT_EQ(g_hookEntryPoints.pfnGetKeyStrokes, nullptr);
    EXPECT_EQ(g_hookEntryPoints.pfnSetKBHook, nullptr);
    EXPECT_EQ(ReadKeyStrokes(), 0u);
    EXPECT_FALSE(HookKeyboardOn());
}

TEST_F(HooksLoaderTest, MissingExportIsReportedOnceAndOnlyItsOperationIsLost)
{
    g_exported["GetMouseClicks"] = false;
    MessageBoxRecorder boxes;
    CHooksLoader loader("fakehooks.dll");
    EXPECT_TRUE(boxes.boxes.empty());   // reported by the start-up, not while loading
    EXPECT_TRUE(loader.m_bMissingExports);
    loader.ReportLoadFailure();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Failed to init keyboard and mouse hooks");
    EXPECT_EQ(boxes.boxes[0].type & MB_ICONMASK, (UINT)MB_ICONSTOP);

    EXPECT_TRUE(HookMouseOn());
    EXPECT_EQ(ReadMouseEvents(), 1234u);
    EXPECT_EQ(ReadMouseClicks(), 0u);
    EXPECT_TRUE(HookKeyboardOn());
    EXPECT_EQ(ReadKeyStrokes(), 42u);
}

TEST_F(HooksLoaderTest, HookWithoutRemoveExportKeepsTheLibraryLoaded)
{
    g_exported["KillKBHook"] = false;
    {
        CHooksLoader loader("fakehooks.dll");
        EXPECT_TRUE(HookKeyboardOn());
        EXPECT_TRUE(HookMouseOn());
        EXPECT_FALSE(HookKeyboardOff());   // cannot be removed
        g_log.clear();
    }
    // The mouse hook went; the keyboard hook still runs library code, so the
    // library was not freed and its entry points stay bound.
    EXPECT_EQ(Calls(), Log{ "KillMouseHook" });
    EXPECT_TRUE(IsKeyboardHookInstalled());
    EXPECT_NE(g_hookEntryPoints.pfnGetKeyStrokes, nullptr);

    // Without any hook installed the same library is freed as usual.
    g_hookEntryPoints = HookEntryPoints();
    g_log.clear();
    {
        CHooksLoader loader("fakehooks.dll");
        HookMouseOn();
    }
    EXPECT_EQ(Calls(), (Log{ "SetMouseHook", "KillMouseHook", "free" }));
}

// A library whose counts start from 0 when their hook goes in, as the
// shipped one's do; the test types and clicks by raising them.
namespace {
DWORD g_keys, g_clicks;
int RestartKeys() { g_keys = 0; return 1; }
int RestartClicks() { g_clicks = 0; return 1; }
int Remove() { return 1; }
DWORD Keys() { return g_keys; }
DWORD Clicks() { return g_clicks; }
}  // namespace

// Keys and clicks since the last clearing, as the Statistics page shows
// them, read on across their hooks going out and in again.
TEST_F(HooksLoaderTest, CountsSinceTheClearingReadOnAcrossAHookGoingOutAndIn)
{
    g_hookEntryPoints = HookEntryPoints{ RestartKeys, RestartClicks, Keys, Clicks, Clicks, Remove, Remove, false, false };
    Keep kept;
    kept.Bytes(g_dayCounters);
    Scoped<bool> keyboard(g_trackKeyboard, true), mouse(g_trackMouse, true);
    CMainFrame frame;   // no window: its hooks alone
    struct { bool in, clear; DWORD typed, clicked, keysShown, clicksShown; } steps[] = {
        { true, true, 30, 5, 30, 5 },      // cleared, then counted
        { false, false, 0, 0, 30, 5 },     // out: the counts kept
        { true, false, 5, 1, 35, 6 },      // back in, counting from 0 again
        { false, true, 0, 0, 0, 0 },       // cleared while out
        { true, false, 3, 2, 3, 2 },       // none of the earlier counts comes back
    };
    for (auto& k : steps) {
        g_trackKeyboard = g_trackMouse = k.in;
        frame.StartHooks();
        if (k.clear) g_dayCounters.Reset();
        g_keys += k.typed;
        g_clicks += k.clicked;
        EXPECT_EQ(CountSinceBase(ReadKeyStrokes(), g_dayCounters.nKeyStrokesBase), k.keysShown) << &k - steps;
        EXPECT_EQ(CountSinceBase(ReadMouseClicks(), g_dayCounters.nMouseClicksBase), k.clicksShown) << &k - steps;
    }
}

TEST(HooksLoaderShipped, TheShippedLibraryBindsEveryExport)
{
    // The test programs run beside the tapvex.dll of this build.
    ASSERT_NE(g_hooksLoader.m_hModule, nullptr);
    EXPECT_FALSE(g_hooksLoader.m_bMissingExports);
}
