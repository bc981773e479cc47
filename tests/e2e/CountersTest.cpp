// The real program under Wine keeps the day's counters in Data\Counters.dat
// across an exit and a new start.
#include "support/Harness.h"
#include <gtest/gtest.h>
#include <stdio.h>

namespace {

std::string Today()
{
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    char buf[32];
    snprintf(buf, sizeof(buf), "%d-%d-%d", st.wYear, st.wMonth, st.wDay);
    return buf;
}

struct CountersFile {
    std::string date;
    long long values[7] = {};   // breaks, daily, postpones, idle, total, work, session
    bool ok = false;
};

CountersFile ReadCounters(const ProgramRun& run)
{
    CountersFile c;
    std::string bytes = ReadFileBytes(run.dir.File("Data\\Counters.dat"));
    size_t eol = bytes.find("\r\n");
    if (eol == std::string::npos || bytes.size() < eol + 4 || bytes.compare(bytes.size() - 2, 2, "\r\n") != 0)
        return c;
    c.date = bytes.substr(0, eol);
    std::string second = bytes.substr(eol + 2, bytes.size() - eol - 4);
    char tail = 0;
    c.ok = sscanf(second.c_str(), "%lld;%lld;%lld;%lld;%lld;%lld;%lld%c", &c.values[0], &c.values[1], &c.values[2],
                  &c.values[3], &c.values[4], &c.values[5], &c.values[6], &tail) == 7;
    return c;
}

// Runs the program for a second more than the given seconds after its main
// window appeared (room for a late timer) and ends it with the Exit command.
void RunFor(ProgramRun& run, DWORD seconds)
{
    ASSERT_TRUE(run.Start());
    ASSERT_NE(run.WaitForMainWindow(), nullptr);
    ::Sleep(seconds * 1000 + 1000);
    ASSERT_TRUE(run.Exit());
}

}  // namespace

TEST(Counters, TotalSurvivesExitAndNewStart)
{
    ProgramRun run;
    // Not a first run: no welcome sheet while the counters are watched.
    ::CreateDirectoryA(run.dir.path.c_str(), nullptr);
    run.SetIniValue("FontSize", "80");
    const std::string day = Today();

    RunFor(run, 4);
    CountersFile first = ReadCounters(run);
    if (Today() != day) GTEST_SKIP() << "the date changed during the run";
    ASSERT_TRUE(first.ok) << ReadFileBytes(run.dir.File("Data\\Counters.dat"));
    EXPECT_EQ(first.date, day);
    EXPECT_GE(first.values[4], 4);   // total
    EXPECT_GE(first.values[6], 4);   // session
    EXPECT_GE(first.values[1], 3);   // toward the daily limit: the first tick began the day
    EXPECT_FALSE(FileExistsA(run.dir.File("Data\\ks_data.csv")));

    RunFor(run, 3);
    CountersFile second = ReadCounters(run);
    if (Today() != day) GTEST_SKIP() << "the date changed during the run";
    ASSERT_TRUE(second.ok) << ReadFileBytes(run.dir.File("Data\\Counters.dat"));
    EXPECT_EQ(second.date, day);
    EXPECT_GE(second.values[4], first.values[4] + 3);
    EXPECT_GE(second.values[6], first.values[6] + 3);
    EXPECT_GE(second.values[1], first.values[1] + 3);
    EXPECT_FALSE(FileExistsA(run.dir.File("Data\\ks_data.csv")));
}
