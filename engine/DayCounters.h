// DayCounters: the day's statistics, "Counters.dat" and the day log, and
// the formatters that turn seconds into the texts the windows show.
#pragma once
#include "vfx.h"

#pragma pack(push, 1)
struct DayCounters {
    int nBreaks;
    int nPostpones;
    int nTotalSeconds;
    int nWorkSeconds;
    int nIdleSeconds;
    int nDailySeconds;
    int nSessionSeconds;
    int nMouseClicksBase;
    int nKeyStrokesBase;
    bool bDailyLimitShown;
    int nStartHHMM;
    int nEndHHMM;
    __int64 m_date;          // the moment that marks the counters' day; 0: none yet

    DayCounters();
    // The last write of "Counters.dat" at process exit (none in a second
    // instance, none without a usable data folder).
    ~DayCounters();
    void Reset();
    // Adds the elapsed seconds; TRUE when a new day began. The main frame's
    // tick hands on the moment it read; the other form reads the clock.
    BOOL Tick(int seconds);
    BOOL Tick(int seconds, __int64 now);
    void NewDay();
    void StartDay();
    void PostponeDailyLimit();
    // A break was postponed: one break fewer (never below 0), one postponement more.
    void CountPostponement();
    // One more break, second of work or second idle; each count stops at
    // the top of its range rather than wrap.
    void CountBreak();
    void CountWorkSecond();
    void CountIdleSecond();
    // The hook counts read 0 while their hook is out and start again from 0
    // when it goes in: the jumps a change of hooks made in the key and click
    // readings go into the bases, so the counts since the last clearing read
    // on from where they were.
    void FollowHookReadings(DWORD keysBefore, DWORD keysAfter, DWORD clicksBefore, DWORD clicksAfter);
    // Writes "Counters.dat": the date of writing, then the seven counters.
    // The file is replaced whole; when it cannot be replaced (another program
    // holds it open) or no file can be made beside it, it is written over in
    // place. Day-log lines still
    // waiting for their file are tried again first.
    void Save();
    // The step that puts the written file in the old one's place (NULL:
    // MoveFileExA replacing it). Tests interrupt the save there.
    static BOOL (*s_pfnReplaceFile)(const char* pszFrom, const char* pszTo);
    // Takes the counters of a "Counters.dat" written today; the day then
    // counts as begun at noon.
    void Load();
    // Appends the day's line to the day log. A line the file does not take
    // (another program holds it locked) waits in memory and is tried again
    // at the following saves; a few lines at most, the oldest go first.
    void AppendDayLog();
    int GetStartHHMM() const { return nStartHHMM; }
    int GetEndHHMM() const { return nEndHHMM; }
    __int64 GetDate() const { return m_date; }
};
#pragma pack(pop)

extern DayCounters g_dayCounters;
extern int g_countersSaveTick;

// Empty when the data folder cannot be had; built anew on every call.
CString GetCountersPath();
CString GetDayLogPath();

int TimeToHHMM(__int64 t);
CString FormatDuration(int seconds);
CString FormatMinutes(int seconds);
CString FormatLeftToWork(bool showOvertime);
