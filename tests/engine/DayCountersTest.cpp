// The day counters: their files, the day change, the periodic save, the
// formatters, and the counters' behaviour on damaged files and extreme values.
#include "engine/DayCounters.h"
#include "engine/BreakSettings.h"
#include "app/Kestrabel.h"
#include "support/FakeWorld.h"
#include "support/TestSupport.h"
#include <gtest/gtest.h>
#include <limits.h>
#include <string.h>

namespace {

const char kZeroColumns[] =
    " 00:00; 00:00; 00:00; 00:00; 00:00; 00:00; 00:00; 00:00; 00:00; 00:00; 00:00; 00:00;";

std::string S(const CString& s) { return s.GetString(); }

__int64 LocalNoon(int y, int m, int d)
{
    struct tm t = {};
    t.tm_year = y - 1900; t.tm_mon = m - 1; t.tm_mday = d;
    t.tm_hour = 12; t.tm_isdst = -1;
    return (__int64)_mktime64(&t);
}

// Names of the entries of a folder (without "." and "..").
std::vector<std::string> FolderEntries(const std::string& dir)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((dir + "*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        std::string n = fd.cFileName;
        if (n != "." && n != "..") names.push_back(n);
    } while (::FindNextFileA(h, &fd));
    ::FindClose(h);
    return names;
}

class DayCountersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_savedOverride = g_strDataDirectoryOverride;
        m_savedPrimary = g_isPrimaryInstance;
        memcpy(m_savedCounters, (const void*)&g_dayCounters, sizeof(DayCounters));
        m_savedSaveTick = g_countersSaveTick;
        m_savedLimit = g_breakSettings.aBreaks[BREAK_DAILY_LIMIT].nInterval;
        m_savedPostpone = g_breakSettings.nPostpone;

        g_strDataDirectoryOverride = dir.path.c_str();
        g_isPrimaryInstance = true;
        world.SetLocal(2026, 12, 8, 8, 15, 0);
        g_dayCounters.Reset();
        g_dayCounters.nSessionSeconds = 0;
        g_dayCounters.m_date = 0;
        g_countersSaveTick = 0;
        g_breakSettings.aBreaks[BREAK_DAILY_LIMIT].nInterval = 510;
        g_breakSettings.nPostpone = 5;
    }
    void TearDown() override
    {
        g_breakSettings.aBreaks[BREAK_DAILY_LIMIT].nInterval = m_savedLimit;
        g_breakSettings.nPostpone = m_savedPostpone;
        g_countersSaveTick = m_savedSaveTick;
        memcpy((void*)&g_dayCounters, m_savedCounters, sizeof(DayCounters));
        g_isPrimaryInstance = m_savedPrimary;
        g_strDataDirectoryOverride = m_savedOverride;
    }

    std::string Counters() const { return ReadFileBytes(dir.File("Counters.dat")); }
    std::string DayLog() const { return ReadFileBytes(dir.File("ks_data.csv")); }
    void WriteCounters(const std::string& bytes) { WriteFileBytes(dir.File("Counters.dat"), bytes); }
    // Sets the seven stored counters to distinct values.
    static void SetStoredCounters(DayCounters& c)
    {
        c.nBreaks = 3; c.nDailySeconds = 3900; c.nPostpones = 2; c.nIdleSeconds = 500;
        c.nTotalSeconds = 4000; c.nWorkSeconds = 3000; c.nSessionSeconds = 9000;
    }

    TempDir dir;
    FakeWorld world;

private:
    CString m_savedOverride;
    bool m_savedPrimary = false;
    unsigned char m_savedCounters[sizeof(DayCounters)];
    int m_savedSaveTick = 0;
    int m_savedLimit = 0;
    int m_savedPostpone = 0;
};

TEST_F(DayCountersTest, FilesAreByteExact)
{
    DayCounters& c = g_dayCounters;
    SetStoredCounters(c);
    c.Save();
    EXPECT_EQ(Counters(), "2026-12-8\r\n3;3900;2;500;4000;3000;9000\r\n");

    // A day from 08:15 to 17:42; the line carries the record's day, not the
    // day of writing.
    c.StartDay();
    world.SetLocal(2026, 12, 8, 17, 42, 30);
    EXPECT_FALSE(c.Tick(1));
    world.SetLocal(2026, 12, 9, 0, 5, 0);
    c.AppendDayLog();
    const std::string line = std::string("20261208; 08:15; 17:42;") + kZeroColumns + "\r\n";
    EXPECT_EQ(DayLog(), line);
    c.AppendDayLog();
    EXPECT_EQ(DayLog(), line + line);
}

// A save that stops where the new file is written but has not yet taken the
// old one's place, the old file locked so that it cannot be written in place
// either: what the process would leave if it died there.
static std::string g_tempAtInterruption;
static HANDLE g_lockedTarget = INVALID_HANDLE_VALUE;
static BOOL InterruptBeforeReplacing(const char* from, const char* to)
{
    g_tempAtInterruption = ReadFileBytes(from);
    g_lockedTarget = ::CreateFileA(to, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    return FALSE;
}

TEST_F(DayCountersTest, ASaveThatStopsHalfWayLeavesAWholeFile)
{
    DayCounters& c = g_dayCounters;
    SetStoredCounters(c);
    c.Save();
    const std::string before = Counters();
    const std::string temp = dir.File("Counters.dat.tmp");
    struct Case {
        const char* what;
        void (*prepare)(const std::string& temp);
        void (*undo)(const std::string& temp);
        int breaks;   // what the file holds afterwards
    } cases[] = {
        { "stopped before replacing", [](const std::string&) { DayCounters::s_pfnReplaceFile = InterruptBeforeReplacing; },
          [](const std::string&) { DayCounters::s_pfnReplaceFile = nullptr; ::CloseHandle(g_lockedTarget); }, 3 },
        // The folder refuses new files (or a folder takes the name): the
        // counters go over the old ones in place.
        { "no file can be made beside it", [](const std::string& t) { ::CreateDirectoryA(t.c_str(), nullptr); },
          [](const std::string& t) { ::RemoveDirectoryA(t.c_str()); }, 77 },
    };
    g_tempAtInterruption.clear();
    for (const Case& k : cases) {
        k.prepare(temp);
        c.nBreaks = 77;
        c.Save();
        k.undo(temp);
        if (k.breaks == 3) {
            EXPECT_EQ(Counters(), before) << k.what;
        }
        {
            DayCounters loaded;
            loaded.Load();
            EXPECT_EQ(loaded.nBreaks, k.breaks) << k.what;
            EXPECT_EQ(loaded.nSessionSeconds, 9000) << k.what;
            g_isPrimaryInstance = false;   // no last save of its own
        }
        g_isPrimaryInstance = true;
    }
    // What the interrupted save had written was whole.
    EXPECT_EQ(g_tempAtInterruption, "2026-12-8\r\n77;3900;2;500;4000;3000;9000\r\n");

    // A file left behind by a save that died does not hinder the next one,
    // and none is left after it.
    WriteFileBytes(temp, "2026-12");
    c.nBreaks = 4;
    c.Save();
    EXPECT_EQ(Counters(), "2026-12-8\r\n4;3900;2;500;4000;3000;9000\r\n");
    EXPECT_FALSE(FileExistsA(temp));
}

// Files another program holds open. A viewer shares reading and writing, not
// deleting: the counters file, which cannot be replaced, is written in place;
// a day's line reaches the day log at once. Lines a lock keeps out wait for a
// later save and come out once, in order, the newest eight when more waited.
TEST_F(DayCountersTest, FilesAnotherProgramHoldsOpenLoseNothing)
{
    auto hold = [&](const char* name, DWORD share) {
        HANDLE h = ::CreateFileA(dir.File(name).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(h, INVALID_HANDLE_VALUE) << name;
        return h;
    };
    DayCounters& c = g_dayCounters;
    SetStoredCounters(c);
    c.Save();
    HANDLE viewer = hold("Counters.dat", FILE_SHARE_READ | FILE_SHARE_WRITE);
    c.nBreaks = 9;
    c.Save();
    ::CloseHandle(viewer);
    EXPECT_EQ(Counters(), "2026-12-8\r\n9;3900;2;500;4000;3000;9000\r\n");
    EXPECT_FALSE(FileExistsA(dir.File("Counters.dat.tmp")));

    const std::string earlier = "20261201; 09:00; 17:00;" + std::string(kZeroColumns) + "\r\n";
    struct { DWORD share; int days; bool atOnce; } cases[] = {
        { FILE_SHARE_READ | FILE_SHARE_WRITE, 1, true },   // a viewer
        { FILE_SHARE_READ, 11, false },                    // a lock held for eleven days
    };
    for (auto& k : cases) {
        WriteFileBytes(dir.File("ks_data.csv"), earlier);
        std::string expected = earlier;
        HANDLE other = hold("ks_data.csv", k.share);
        for (int day = 10; day < 10 + k.days; ++day) {
            world.SetLocal(2026, 12, day, 8, 15, 0);
            c.StartDay();
            c.AppendDayLog();
            if (day >= k.days + 2)
                expected += "202612" + std::to_string(day) + "; 08:15; 08:15;" + kZeroColumns + "\r\n";
        }
        c.Save();
        EXPECT_EQ(DayLog(), k.atOnce ? expected : earlier) << k.days;
        ::CloseHandle(other);
        c.Save();
        c.Save();
        EXPECT_EQ(DayLog(), expected) << k.days;
    }
}

TEST_F(DayCountersTest, StartWithYesterdaysFileStartsFromZeroWithoutDayLogLine)
{
    WriteCounters("2026-12-7\r\n3;3900;2;500;4000;3000;9000\r\n");
    DayCounters& c = g_dayCounters;
    c.Load();
    EXPECT_EQ(c.nBreaks, 0);
    EXPECT_EQ(c.nTotalSeconds, 0);
    EXPECT_EQ(c.nSessionSeconds, 0);
    EXPECT_EQ(c.GetDate(), 0);

    // The first tick begins today: saved at once, nothing in the day log.
    EXPECT_TRUE(c.Tick(1));
    EXPECT_FALSE(FileExistsA(dir.File("ks_data.csv")));
    EXPECT_EQ(Counters(), "2026-12-8\r\n0;0;0;0;1;0;1\r\n");
    EXPECT_EQ(c.GetStartHHMM(), 815);
    EXPECT_EQ(c.GetEndHHMM(), 815);
    EXPECT_EQ(c.GetDate(), world.now);
}

TEST_F(DayCountersTest, StartWithoutFileWritesNoDayLogLine)
{
    DayCounters& c = g_dayCounters;
    c.Load();
    EXPECT_EQ(c.GetDate(), 0);
    EXPECT_TRUE(c.Tick(1));
    world.Advance(1);
    EXPECT_FALSE(c.Tick(1));
    EXPECT_FALSE(FileExistsA(dir.File("ks_data.csv")));
    EXPECT_EQ(Counters().substr(0, 11), "2026-12-8\r\n");
}

TEST_F(DayCountersTest, StartWithTodaysFileGoesOnFromItAtNoon)
{
    WriteCounters("2026-12-8\r\n3;3900;2;500;4000;3000;9000\r\n");
    DayCounters& c = g_dayCounters;
    c.Load();
    EXPECT_EQ(c.nBreaks, 3);
    EXPECT_EQ(c.nDailySeconds, 3900);
    EXPECT_EQ(c.nPostpones, 2);
    EXPECT_EQ(c.nIdleSeconds, 500);
    EXPECT_EQ(c.nTotalSeconds, 4000);
    EXPECT_EQ(c.nWorkSeconds, 3000);
    EXPECT_EQ(c.nSessionSeconds, 9000);
    EXPECT_EQ(c.GetDate(), LocalNoon(2026, 12, 8));

    world.Advance(60);
    EXPECT_FALSE(c.Tick(1));
    EXPECT_EQ(c.nTotalSeconds, 4001);
    EXPECT_EQ(c.nDailySeconds, 3901);
    EXPECT_EQ(c.nSessionSeconds, 9001);
    EXPECT_EQ(c.GetStartHHMM(), 0);
    EXPECT_EQ(c.GetEndHHMM(), 816);
    EXPECT_FALSE(FileExistsA(dir.File("ks_data.csv")));
}

TEST_F(DayCountersTest, RunAcrossMidnightEndsTheDayOnce)
{
    DayCounters& c = g_dayCounters;
    c.StartDay();   // 08:15 on 8 December
    SetStoredCounters(c);
    c.bDailyLimitShown = true;
    world.SetLocal(2026, 12, 8, 23, 59, 58);
    EXPECT_FALSE(c.Tick(1));
    world.Advance(1);
    EXPECT_FALSE(c.Tick(1));
    world.Advance(1);
    EXPECT_TRUE(c.Tick(1));   // 00:00:00 on 9 December

    EXPECT_EQ(DayLog(), std::string("20261208; 08:15; 23:59;") + kZeroColumns + "\r\n");
    EXPECT_EQ(c.nDailySeconds, 0);
    EXPECT_FALSE(c.bDailyLimitShown);
    EXPECT_EQ(c.nBreaks, 3);
    EXPECT_EQ(c.nPostpones, 2);
    EXPECT_EQ(c.nIdleSeconds, 500);
    EXPECT_EQ(c.nWorkSeconds, 3000);
    EXPECT_EQ(c.nTotalSeconds, 4003);
    EXPECT_EQ(c.nSessionSeconds, 9003);
    EXPECT_EQ(c.GetDate(), world.now);
    EXPECT_EQ(c.GetStartHHMM(), 0);
    EXPECT_EQ(Counters(), "2026-12-9\r\n3;0;2;500;4003;3000;9003\r\n");

    // The new day goes on without further lines.
    for (int i = 0; i < 5; ++i) {
        world.Advance(1);
        EXPECT_FALSE(c.Tick(1));
    }
    EXPECT_EQ(c.nDailySeconds, 5);
    EXPECT_EQ(DayLog(), std::string("20261208; 08:15; 23:59;") + kZeroColumns + "\r\n");
}

TEST_F(DayCountersTest, SavesOnTheSixtyFirstTick)
{
    DayCounters& c = g_dayCounters;
    c.StartDay();
    for (int i = 0; i < 60; ++i) {
        world.Advance(1);
        c.Tick(1);
    }
    EXPECT_FALSE(FileExistsA(dir.File("Counters.dat")));
    EXPECT_EQ(g_countersSaveTick, 60);
    world.Advance(1);
    c.Tick(1);
    EXPECT_EQ(Counters(), "2026-12-8\r\n0;61;0;0;61;0;61\r\n");
    EXPECT_EQ(g_countersSaveTick, 0);
}

TEST_F(DayCountersTest, ResetKeepsSessionAndDateAndTakesTheHookBaselines)
{
    DayCounters& c = g_dayCounters;
    c.StartDay();
    SetStoredCounters(c);
    c.bDailyLimitShown = true;
    world.keyStrokes = 70;
    world.mouseClicks = 9;
    c.Reset();
    EXPECT_EQ(c.nBreaks, 0);
    EXPECT_EQ(c.nDailySeconds, 0);
    EXPECT_EQ(c.nTotalSeconds, 0);
    EXPECT_FALSE(c.bDailyLimitShown);
    EXPECT_EQ(c.nSessionSeconds, 9000);
    EXPECT_EQ(c.GetDate(), world.now);
    EXPECT_EQ(c.GetStartHHMM(), 0);
    EXPECT_EQ(c.GetEndHHMM(), 0);
    EXPECT_EQ(c.nKeyStrokesBase, 70);
    EXPECT_EQ(c.nMouseClicksBase, 9);
}

TEST_F(DayCountersTest, FormatDuration)
{
    EXPECT_EQ(S(FormatDuration(0)), "0");
    EXPECT_EQ(S(FormatDuration(59)), "59");
    EXPECT_EQ(S(FormatDuration(61)), "1:01");
    EXPECT_EQ(S(FormatDuration(3661)), "1:01:01");
    EXPECT_EQ(S(FormatDuration(90061)), "1d 01:01");
    EXPECT_EQ(S(FormatDuration(-61)), "0");
    EXPECT_EQ(S(FormatDuration(INT_MIN)), "0");
}

TEST_F(DayCountersTest, FormatMinutes)
{
    EXPECT_EQ(S(FormatMinutes(0)), "0 minutes");
    EXPECT_EQ(S(FormatMinutes(59)), "0 minutes");
    EXPECT_EQ(S(FormatMinutes(60)), "1 minute");
    EXPECT_EQ(S(FormatMinutes(120)), "2 minutes");
    EXPECT_EQ(S(FormatMinutes(3600)), "1h 0m");
    EXPECT_EQ(S(FormatMinutes(90000)), "1d 1h 0m");
    EXPECT_EQ(S(FormatMinutes(-3600)), "0 minutes");
}

TEST_F(DayCountersTest, FormatLeftToWork)
{
    EXPECT_EQ(S(FormatLeftToWork(true)), "8h 30m");
    g_dayCounters.nDailySeconds = 510 * 60 + 120;
    EXPECT_EQ(S(FormatLeftToWork(true)), "0 (1 minute overtime)");
    EXPECT_EQ(S(FormatLeftToWork(false)), "1 minute");
}

// ---- mended faults ----

TEST_F(DayCountersTest, DamagedCountersFilesChangeNothing)
{
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += (char)((i * 7919 + 13) & 0xFF);
    const std::string hugeLine(1 << 20, '7');
    const std::string cases[] = {
        "",
        binary,
        "2026-12-8\r\n" + binary,
        hugeLine,
        hugeLine + "\r\n1;2;3;4;5;6;7\r\n",
        "2026-12-8" + hugeLine + "\r\n1;2;3;4;5;6;7\r\n",
        "2026-12-8\r\n" + hugeLine,
        "2026-12-8",                       // no line break, no counters
        "2026-12-8\r\n",                   // the date alone
        "2026-12-8\r\n\r\n",
        "2026-12-8\r\nx;1;2;3;4;5;6\r\n",
        "2026-12-4294967304\r\n1;2;3;4;5;6;7\r\n",   // the day wraps to 8 in 32 bits
        "2026-12-08-1;2;3;4;5;6;7",
        "2026 12 8\r\n1;2;3;4;5;6;7\r\n",
        "2026-12-8\r\n-1;-2147483649;-3;-4;-5;-6;-7\r\n",   // negative counters, a daily count beyond 32 bits
        "2026-12-8\r\n99999999999;4294967297\r\n",
        std::string("2026-12-8\r\n\0\0\0\0", 15),
    };
    DayCounters& c = g_dayCounters;
    c.StartDay();
    c.nSessionSeconds = 77;
    c.nBreaks = 4;
    unsigned char before[sizeof(DayCounters)];
    memcpy(before, (const void*)&c, sizeof(DayCounters));
    int n = 0;
    for (const std::string& bytes : cases) {
        WriteCounters(bytes);
        c.Load();
        EXPECT_EQ(memcmp(before, (const void*)&c, sizeof(DayCounters)), 0) << "case " << n;
        memcpy((void*)&c, before, sizeof(DayCounters));
        ++n;
    }
}

TEST_F(DayCountersTest, CountersFileNumbersThatDoNotFitLeaveTheirFields)
{
    DayCounters& c = g_dayCounters;
    SetStoredCounters(c);
    WriteCounters("2026-12-8\r\n99999999999;-5;2147483648;-1;10;-2147483649;4294967297\r\n");
    c.Load();
    EXPECT_EQ(c.nBreaks, 3);
    EXPECT_EQ(c.nDailySeconds, -5);   // after a postponement the daily count may be negative
    EXPECT_EQ(c.nPostpones, 2);
    EXPECT_EQ(c.nIdleSeconds, 500);
    EXPECT_EQ(c.nTotalSeconds, 10);
    EXPECT_EQ(c.nWorkSeconds, 3000);
    EXPECT_EQ(c.nSessionSeconds, 9000);
    EXPECT_EQ(c.GetDate(), LocalNoon(2026, 12, 8));

    // Numbers missing at the end leave the rest as they are.
    SetStoredCounters(c);
    WriteCounters("2026-12-8\r\n11;12\r\n");
    c.Load();
    EXPECT_EQ(c.nBreaks, 11);
    EXPECT_EQ(c.nDailySeconds, 12);
    EXPECT_EQ(c.nPostpones, 2);
    EXPECT_EQ(c.nSessionSeconds, 9000);

    SetStoredCounters(c);
    WriteCounters("2026-12-8\r\n2147483647;-2147483648;0;0;0;0;2147483647");   // no final line break
    c.Load();
    EXPECT_EQ(c.nBreaks, INT_MAX);
    EXPECT_EQ(c.nDailySeconds, INT_MIN);
    EXPECT_EQ(c.nSessionSeconds, INT_MAX);
}

TEST_F(DayCountersTest, NothingIsWrittenOutsideThePrimaryInstance)
{
    g_isPrimaryInstance = false;
    {
        DayCounters c;   // its destructor is the final save at exit
        c.StartDay();
        c.Save();
        c.AppendDayLog();
        world.SetLocal(2026, 12, 9, 0, 0, 1);
        EXPECT_TRUE(c.Tick(1));
        for (int i = 0; i < 61; ++i) c.Tick(1);
    }
    EXPECT_TRUE(FolderEntries(dir.path).empty());
}

// Files anywhere below a folder.
void CollectFiles(const std::string& dir, std::vector<std::string>& files)
{
    for (const std::string& name : FolderEntries(dir)) {
        std::string full = dir + name;
        if (::GetFileAttributesA(full.c_str()) & FILE_ATTRIBUTE_DIRECTORY) CollectFiles(full + "\\", files);
        else files.push_back(full);
    }
}

TEST_F(DayCountersTest, NothingIsWrittenWithoutAUsableDataFolder)
{
    // The current folder is where a file without a full path would land.
    char oldCwd[MAX_PATH];
    ASSERT_NE(::GetCurrentDirectoryA(MAX_PATH, oldCwd), 0u);
    ASSERT_TRUE(::SetCurrentDirectoryA(dir.path.c_str()));
    const CString unusable[] = {
        CString("Data\\"),                                                      // not a full path
        CString(dir.path.c_str()) + std::string(300, 'x').c_str() + "\\",    // too long to be had
    };
    for (const CString& folder : unusable) {
        g_strDataDirectoryOverride = folder;
        EXPECT_TRUE(GetCountersPath().IsEmpty());
        EXPECT_TRUE(GetDayLogPath().IsEmpty());
        world.SetLocal(2026, 12, 8, 8, 15, 0);
        {
            DayCounters c;   // its destructor is the final save at exit
            c.StartDay();
            c.Save();
            c.AppendDayLog();
            world.SetLocal(2026, 12, 9, 0, 0, 1);
            EXPECT_TRUE(c.Tick(1));
            for (int i = 0; i < 61; ++i) c.Tick(1);
            c.Load();
        }
    }
    ::SetCurrentDirectoryA(oldCwd);
    std::vector<std::string> files;
    CollectFiles(dir.path, files);
    EXPECT_TRUE(files.empty()) << files[0];
}

TEST_F(DayCountersTest, ExtremeLimitsDoNotOverflow)
{
    BreakSettings& bs = g_breakSettings;
    DayCounters& c = g_dayCounters;

    // Normal use: the alert comes again after the postponement's minutes.
    c.bDailyLimitShown = true;
    c.PostponeDailyLimit();
    EXPECT_EQ(c.nDailySeconds, 505 * 60);
    EXPECT_FALSE(c.bDailyLimitShown);
    // A postponement of 0 or less lasts a minute, as it does for a break.
    for (int postpone : { 0, -5, INT_MIN }) {
        bs.nPostpone = postpone;
        c.PostponeDailyLimit();
        EXPECT_EQ(c.nDailySeconds, 509 * 60) << "Postpone " << postpone;
    }

    bs.aBreaks[BREAK_DAILY_LIMIT].nInterval = INT_MAX;
    bs.nPostpone = INT_MIN;
    c.PostponeDailyLimit();
    EXPECT_EQ(c.nDailySeconds, INT_MAX);
    bs.aBreaks[BREAK_DAILY_LIMIT].nInterval = INT_MIN;
    bs.nPostpone = INT_MAX;
    c.PostponeDailyLimit();
    EXPECT_EQ(c.nDailySeconds, INT_MIN);
    bs.aBreaks[BREAK_DAILY_LIMIT].nInterval = 40000000;
    bs.nPostpone = 0;
    c.PostponeDailyLimit();
    EXPECT_EQ(c.nDailySeconds, INT_MAX);

    // 24855 days, 3 hours and 14 minutes are the most an int of seconds holds.
    bs.aBreaks[BREAK_DAILY_LIMIT].nInterval = INT_MAX;
    c.nDailySeconds = 0;
    EXPECT_EQ(S(FormatLeftToWork(true)), "24855d 3h 14m");
    bs.aBreaks[BREAK_DAILY_LIMIT].nInterval = INT_MIN;
    c.nDailySeconds = INT_MAX;
    EXPECT_EQ(S(FormatLeftToWork(true)), "0 (24855d 3h 14m overtime)");
    bs.aBreaks[BREAK_DAILY_LIMIT].nInterval = 40000000;   // over a million hours
    c.nDailySeconds = 0;
    EXPECT_EQ(S(FormatLeftToWork(false)), "24855d 3h 14m");

    // The counted seconds stop at the top rather than wrap.
    c.StartDay();
    c.nTotalSeconds = c.nSessionSeconds = c.nDailySeconds = INT_MAX - 1;
    c.Tick(5);
    EXPECT_EQ(c.nTotalSeconds, INT_MAX);
    EXPECT_EQ(c.nSessionSeconds, INT_MAX);
    EXPECT_EQ(c.nDailySeconds, INT_MAX);
}

TEST_F(DayCountersTest, PostponementAfterResetKeepsBreaksAtZero)
{
    DayCounters& c = g_dayCounters;
    c.nBreaks = 2;
    c.CountPostponement();
    EXPECT_EQ(c.nBreaks, 1);
    EXPECT_EQ(c.nPostpones, 1);
    c.Reset();
    c.CountPostponement();
    c.CountPostponement();
    EXPECT_EQ(c.nBreaks, 0);
    EXPECT_EQ(c.nPostpones, 2);
    c.nPostpones = INT_MAX;
    c.CountPostponement();
    EXPECT_EQ(c.nPostpones, INT_MAX);
}

}  // namespace
