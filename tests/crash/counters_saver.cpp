// Saves the day's counters into the folder given (a Windows path) without a
// pause, each time with new numbers, until it is killed. Used by
// counters_kill.sh.
#include "engine/DayCounters.h"
#include "app/Kestrabel.h"
#include <stdio.h>

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s DATA_FOLDER\n", argv[0]);
        return 2;
    }
    g_strDataDirectoryOverride = argv[1];
    g_isPrimaryInstance = true;
    for (int i = 1;; ++i) {
        g_dayCounters.nBreaks = i;
        g_dayCounters.nTotalSeconds = i * 7;
        g_dayCounters.nSessionSeconds = 1000000 + i;
        g_dayCounters.Save();
    }
}
