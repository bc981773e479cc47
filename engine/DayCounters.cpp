#include "engine/DayCounters.h"
#include "engine/BreakSettings.h"
#include "engine/World.h"
#include "app/Kestrabel.h"
#include "services/Translator.h"
#include <limits.h>
#include <stdio.h>
#include <time.h>

int g_countersSaveTick;
BOOL (*DayCounters::s_pfnReplaceFile)(const char* pszFrom, const char* pszTo);

// A file in the data folder; empty when the folder cannot be had, is not a
// full path (the file would land in whatever the current folder is) or the
// path would not fit.
static CString DataFilePath(const char* name)
{
    CString dir = GetDataDirectory();
    if (dir.IsEmpty() || dir.GetLength() >= MAX_PATH || ::PathIsRelativeA(dir)) return CString();
    char path[MAX_PATH];
    lstrcpynA(path, dir, MAX_PATH);
    if (!::PathAppendA(path, name)) return CString();
    return CString(path);
}

CString GetCountersPath() { return DataFilePath("Counters.dat"); }
CString GetDayLogPath() { return DataFilePath("ks_data.csv"); }

// The counters' files belong to the one running instance.
static bool MayWriteFiles()
{
    return g_isPrimaryInstance;
}

// A moment's local date and time of day; all 0 for what cannot be converted.
struct LocalDay {
    int year, month, day, hhmm;
    bool SameDate(const LocalDay& o) const { return day == o.day && month == o.month && year == o.year; }
};

static LocalDay DayOf(__int64 t)
{
    struct tm tmv;
    if (!LocalTimeOf(t, &tmv)) return LocalDay{ 0, 0, 0, 0 };
    return LocalDay{ tmv.tm_year + 1900, tmv.tm_mon + 1, tmv.tm_mday, tmv.tm_hour * 100 + tmv.tm_min };
}

// The counters' day changes a few times a day, the tick asks for its date
// every second: the last conversion is kept with its moment.
static LocalDay DayOfKept(__int64 t)
{
    static __int64 s_moment;
    static LocalDay s_day;
    static bool s_known;
    if (!s_known || s_moment != t) {
        s_day = DayOf(t);
        s_moment = t;
        s_known = true;
    }
    return s_day;
}

// Local year, month and day of a moment; 0 for what cannot be converted.
static void LocalDate(__int64 t, int& year, int& month, int& day)
{
    LocalDay d = DayOf(t);
    year = d.year;
    month = d.month;
    day = d.day;
}

int TimeToHHMM(__int64 t)
{
    return DayOf(t).hhmm;
}

DayCounters::DayCounters()
{
    nSessionSeconds = 0;
    m_date = 0;
    Reset();
}

DayCounters::~DayCounters()
{
    Save();
}

void DayCounters::Reset()
{
    nBreaks = nPostpones = nIdleSeconds = nTotalSeconds = nWorkSeconds = nDailySeconds = 0;
    nMouseClicksBase = (int)World().ReadMouseClicks();
    nKeyStrokesBase = (int)World().ReadKeyStrokes();
    bDailyLimitShown = false;
    nStartHHMM = nEndHHMM = 0;
}

static int SaturatingAdd(int a, int b)
{
    long long r = (long long)a + b;
    if (r > INT_MAX) return INT_MAX;
    if (r < INT_MIN) return INT_MIN;
    return (int)r;
}

BOOL DayCounters::Tick(int seconds)
{
    return Tick(seconds, World().Now());
}

BOOL DayCounters::Tick(int seconds, __int64 now)
{
    nTotalSeconds = SaturatingAdd(nTotalSeconds, seconds);
    nSessionSeconds = SaturatingAdd(nSessionSeconds, seconds);
    nDailySeconds = SaturatingAdd(nDailySeconds, seconds);

    LocalDay today = DayOf(now);
    BOOL newDay = FALSE;
    if (today.SameDate(DayOfKept(m_date))) {
        nEndHHMM = today.hhmm;
    } else {
        NewDay();
        newDay = TRUE;
    }
    if (++g_countersSaveTick > 60) {
        g_countersSaveTick = 0;
        Save();
    }
    return newDay;
}

void DayCounters::NewDay()
{
    nDailySeconds = 0;
    bDailyLimitShown = false;
    Save();
    if (m_date != 0) AppendDayLog();
    StartDay();
}

void DayCounters::StartDay()
{
    m_date = World().Now();
    nStartHHMM = nEndHHMM = TimeToHHMM(m_date);
}

void DayCounters::PostponeDailyLimit()
{
    const BreakSettings& bs = g_breakSettings;
    long long minutes = (long long)bs.aBreaks[BREAK_DAILY_LIMIT].nInterval - bs.PostponeMinutes();
    long long secs = minutes * 60;
    if (secs > INT_MAX) secs = INT_MAX;
    if (secs < INT_MIN) secs = INT_MIN;
    nDailySeconds = (int)secs;
    bDailyLimitShown = false;
}

void DayCounters::CountPostponement()
{
    if (nBreaks > 0) --nBreaks;
    nPostpones = SaturatingAdd(nPostpones, 1);
}

void DayCounters::CountBreak() { nBreaks = SaturatingAdd(nBreaks, 1); }
void DayCounters::CountWorkSecond() { nWorkSeconds = SaturatingAdd(nWorkSeconds, 1); }
void DayCounters::CountIdleSecond() { nIdleSeconds = SaturatingAdd(nIdleSeconds, 1); }

void DayCounters::FollowHookReadings(DWORD keysBefore, DWORD keysAfter, DWORD clicksBefore, DWORD clicksAfter)
{
    // Unsigned arithmetic: a base may go below 0, holding a count carried
    // across a time without the hook.
    nKeyStrokesBase = (int)((DWORD)nKeyStrokesBase + (keysAfter - keysBefore));
    nMouseClicksBase = (int)((DWORD)nMouseClicksBase + (clicksAfter - clicksBefore));
}

// Appends all of `text` to the file at `path`; FALSE when any of it could
// not be written. One write, so that a line is never split by another
// writer or cut by a crash within it; an append that fails half-way takes
// back what it wrote. Other programs may read and write the file meanwhile,
// as with the C library's own files: a viewer that holds it open does not
// keep a line out.
static bool AppendWhole(const char* path, const char* text, DWORD length)
{
    HANDLE h = ::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER end = {};
    bool ok = ::SetFilePointerEx(h, end, &end, FILE_END);
    DWORD written = 0;
    bool wrote = ok && ::WriteFile(h, text, length, &written, nullptr) && written == length;
    if (ok && !wrote && written > 0 && ::SetFilePointerEx(h, end, nullptr, FILE_BEGIN)) ::SetEndOfFile(h);
    ::CloseHandle(h);
    return wrote;
}

// Day-log lines the file has not yet taken, oldest first. Plain storage
// without a destructor: the last save at process exit still finds it,
// whatever the order in which static objects go.
static const int kDayLogLineSize = 256;
static const int kPendingDayLogLines = 8;
static char s_pendingDayLog[kPendingDayLogLines][kDayLogLineSize];
static int s_pendingDayLogCount;

static void KeepDayLogLine(const char* line)
{
    if (s_pendingDayLogCount == kPendingDayLogLines) {
        memmove(s_pendingDayLog[0], s_pendingDayLog[1], sizeof(s_pendingDayLog[0]) * (kPendingDayLogLines - 1));
        --s_pendingDayLogCount;
    }
    lstrcpynA(s_pendingDayLog[s_pendingDayLogCount++], line, kDayLogLineSize);
}

// Appends the waiting lines in one write; they stay waiting when the file
// does not take them.
static void WritePendingDayLog()
{
    if (s_pendingDayLogCount == 0) return;
    CString path = GetDayLogPath();
    if (path.IsEmpty()) return;
    char text[kPendingDayLogLines * kDayLogLineSize];
    int length = 0;
    for (int i = 0; i < s_pendingDayLogCount; ++i) {
        int n = lstrlenA(s_pendingDayLog[i]);
        memcpy(text + length, s_pendingDayLog[i], (size_t)n);
        length += n;
    }
    if (AppendWhole(path, text, (DWORD)length)) s_pendingDayLogCount = 0;
}

void DayCounters::Save()
{
    if (!MayWriteFiles()) return;
    WritePendingDayLog();
    CString path = GetCountersPath();
    if (path.IsEmpty()) return;
    int y, m, d;
    LocalDate(World().Now(), y, m, d);
    char text[160];
    int length = snprintf(text, sizeof(text), "%d-%d-%d\r\n%d;%d;%d;%d;%d;%d;%d\r\n", y, m, d, nBreaks, nDailySeconds,
                          nPostpones, nIdleSeconds, nTotalSeconds, nWorkSeconds, nSessionSeconds);
    if (length <= 0 || length >= (int)sizeof(text)) return;
    // The new counters go to a file beside the old one, which they replace in
    // one step: a crash, a kill or a full disk meanwhile leaves the old file
    // whole. When no file can be made beside it (a folder the user may not
    // write to, though the file itself is writable) or the old one cannot be
    // replaced (another program holds it open), the counters are written
    // over the old ones in place rather than lost.
    if (AfxReplaceWholeFile(path, text, (DWORD)length, s_pfnReplaceFile) != AFX_FILE_REPLACED)
        AfxWriteWholeFile(path, text, (DWORD)length);
}

// Reads "Counters.dat" line by line into bounded buffers. A valid file is
// two short lines; whatever lies beyond the first 64 KiB counts as the end
// of the file, so no content can make the reading long.
class CountersFileReader {
public:
    explicit CountersFileReader(FILE* f) : m_f(f), m_budget(64 * 1024) {}
    // One line of at most size-1 characters (the rest of a longer line is
    // skipped; a zero byte becomes '?', which no number contains). FALSE
    // when the file is at its end.
    bool ReadLine(char* buf, int size)
    {
        int c = Next();
        if (c == EOF) return false;
        int n = 0;
        for (; c != EOF && c != '\n'; c = Next())
            if (n < size - 1) buf[n++] = c ? (char)c : '?';
        buf[n] = '\0';
        return true;
    }

private:
    int Next()
    {
        if (m_budget <= 0) return EOF;
        --m_budget;
        return fgetc(m_f);
    }
    FILE* m_f;
    long m_budget;
};

// Parses a decimal integer at p (blanks, then an optional sign, then
// digits); FALSE when there is no digit. fits tells whether the number is
// within 32 bits; p moves past every digit either way.
static bool ParseNumber(const char*& p, long long& value, bool& fits)
{
    while (*p == ' ' || *p == '\t') ++p;
    bool neg = false;
    if (*p == '-' || *p == '+') neg = (*p++ == '-');
    if (*p < '0' || *p > '9') return false;
    long long v = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (v <= 0x80000000LL) v = v * 10 + (*p - '0');
    }
    if (neg) v = -v;
    fits = v >= INT_MIN && v <= INT_MAX;
    value = v;
    return true;
}

// "year-month-day"; FALSE unless all three numbers are there and fit.
static bool ParseDateLine(const char* p, int& year, int& month, int& day)
{
    int parts[3];
    for (int i = 0; i < 3; ++i) {
        long long v;
        bool fits;
        if (!ParseNumber(p, v, fits) || !fits) return false;
        parts[i] = (int)v;
        if (i < 2 && *p++ != '-') return false;
    }
    year = parts[0];
    month = parts[1];
    day = parts[2];
    return true;
}

void DayCounters::Load()
{
    CString path = GetCountersPath();
    if (path.IsEmpty()) return;
    FILE* f = fopen(path, "rt");
    if (!f) return;
    CountersFileReader reader(f);
    char line[128];
    int fy, fm, fd;
    if (reader.ReadLine(line, 127) && ParseDateLine(line, fy, fm, fd)) {
        int y, m, d;
        LocalDate(World().Now(), y, m, d);
        // Only today's counters are taken, and the day counts as begun only
        // when at least one of them was: a date line alone, or one followed
        // by nothing usable, changes nothing.
        int taken = 0;
        if (d == fd && m == fm && y == fy && reader.ReadLine(line, 127)) {
            // Fields in file order. A number that does not fit, or a negative
            // one where the counter cannot be negative, leaves its field as
            // it is; the daily count may be negative after a postponement.
            int* fields[7] = { &nBreaks, &nDailySeconds, &nPostpones, &nIdleSeconds,
                               &nTotalSeconds, &nWorkSeconds, &nSessionSeconds };
            const char* p = line;
            for (int i = 0; i < 7; ++i) {
                long long v;
                bool fits;
                if (!ParseNumber(p, v, fits)) break;
                if (fits && (v >= 0 || fields[i] == &nDailySeconds)) {
                    *fields[i] = (int)v;
                    ++taken;
                }
                if (i < 6 && *p++ != ';') break;
            }
        }
        if (taken > 0) {
            struct tm noon = {};
            noon.tm_year = fy - 1900;
            noon.tm_mon = fm - 1;
            noon.tm_mday = fd;
            noon.tm_hour = 12;
            noon.tm_isdst = -1;
            __int64 t = (__int64)_mktime64(&noon);
            if (t != -1) m_date = t;
        }
    }
    fclose(f);
}

void DayCounters::AppendDayLog()
{
    if (!MayWriteFiles()) return;
    if (GetDayLogPath().IsEmpty()) return;
    int y, m, d;
    LocalDate(m_date, y, m, d);
    char line[kDayLogLineSize];
    int n = snprintf(line, sizeof(line), "%04d%02d%02d; %02d:%02d; %02d:%02d; %02d:%02d; %02d:%02d;", y, m, d,
                     nStartHHMM / 100, nStartHHMM % 100, nEndHHMM / 100, nEndHHMM % 100, 0, 0, 0, 0);
    for (int i = 0; i < 10 && n > 0 && n < (int)sizeof(line); ++i)
        n += snprintf(line + n, sizeof(line) - n, " %02d:%02d;", 0, 0);
    if (n > 0 && n < (int)sizeof(line)) n += snprintf(line + n, sizeof(line) - n, "\r\n");
    if (n <= 0 || n >= (int)sizeof(line)) return;
    KeepDayLogLine(line);
    WritePendingDayLog();
}

// ---- formatters ----

struct SplitTime { int days, hours, minutes, seconds; };

static SplitTime Split(int s)
{
    if (s < 0) s = 0;
    SplitTime t;
    t.days = s / 86400;
    t.hours = s / 3600 - t.days * 24;
    t.minutes = s / 60 - (s / 3600) * 60;
    t.seconds = s % 60;
    return t;
}

CString FormatDuration(int seconds)
{
    SplitTime t = Split(seconds);
    CString s;
    if (t.days > 0) s = FormatTranslated("%dd %02d:%02d", t.days, t.hours, t.minutes);
    else if (t.hours != 0) s.Format("%d:%02d:%02d", t.hours, t.minutes, t.seconds);
    else if (t.minutes != 0) s.Format("%d:%02d", t.minutes, t.seconds);
    else s.Format("%d", t.seconds);
    return s;
}

CString FormatMinutes(int seconds)
{
    SplitTime t = Split(seconds);
    if (t.days > 0) return FormatTranslated("%dd %dh %dm", t.days, t.hours, t.minutes);
    if (t.hours > 0) return FormatTranslated("%dh %dm", t.hours, t.minutes);
    if (t.minutes == 1) return g_translator.Translate("1 minute");
    return FormatTranslated("%d minutes", t.minutes);
}

CString FormatLeftToWork(bool showOvertime)
{
    long long left = (long long)g_breakSettings.aBreaks[BREAK_DAILY_LIMIT].nInterval * 60
                     - g_dayCounters.nDailySeconds + 59;
    long long magnitude = left < 0 ? -left : left;
    if (magnitude > INT_MAX) magnitude = INT_MAX;
    CString text = FormatMinutes((int)magnitude);
    if (left < 0 && showOvertime)
        text = "0 (" + text + " " + g_translator.Translate("overtime") + ")";
    return text;
}
