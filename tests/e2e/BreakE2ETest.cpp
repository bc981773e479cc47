// The real program under Wine with one-minute work periods and breaks: the
// break starts after the first minute and ends after the next, into the
// wait for activity.
#include "support/Harness.h"
#include <gtest/gtest.h>

namespace {

// Polls the counters file until the condition holds or ms have passed.
template <class Pred>
bool WaitForCounters(const ProgramRun& run, DWORD ms, Pred pred, Counters& seen)
{
    DWORD start = ::GetTickCount();
    do {
        seen = ReadDayCounters(run);
        if (seen.breaks >= 0 && pred(seen)) return true;
        ::Sleep(250);
    } while (::GetTickCount() - start < ms);
    return false;
}

TEST(BreakE2E, OneMinuteOfWorkThenAOneMinuteBreakThenTheWaitForActivity)
{
    ProgramRun run;
    run.SetIniValue("FontSize", "80");               // not a first run
    run.SetIniValue("Delay", "1");
    run.SetIniValue("Pause", "1");
    run.SetIniValue("Alert", "0");                   // a balloon
    run.SetIniValue("AutoCheckForUpdates", "0");
    ASSERT_TRUE(run.Start());
    ASSERT_NE(run.WaitForMainWindow(), nullptr);

    // The counters reach the disk every 61st tick: the first save after the
    // break began shows it, with the minute of work before it.
    Counters c;
    EXPECT_TRUE(WaitForCounters(run, 72000, [](const Counters& k) { return k.breaks == 1; }, c))
        << "no break within 70 s; breaks " << c.breaks << ", work " << c.work;
    EXPECT_EQ(c.breaks, 1);
    EXPECT_EQ(c.postpones, 0);
    EXPECT_GE(c.work, 59);
    EXPECT_LE(c.work, 61);
    int workAtBreak = c.work;

    // Work seconds count again once the break is over: the program is
    // working (waiting for the first activity) by the next save.
    EXPECT_TRUE(WaitForCounters(run, 72000, [&](const Counters& k) { return k.work > workAtBreak; }, c))
        << "the break did not end within 70 s; work " << c.work;
    EXPECT_EQ(c.breaks, 1);

    ASSERT_TRUE(run.Exit());
    c = ReadDayCounters(run);
    EXPECT_EQ(c.breaks, 1);
    EXPECT_EQ(c.postpones, 0);
    EXPECT_GT(c.work, workAtBreak);
}

}  // namespace
