// Resource ids of Kestrabel.
#pragma once
#include "framework/vfxres.h"

#define IDR_TRAY_MENU           131
#define IDI_KESTRABEL           128

#define ID_FIRST_RUN            101
#define ID_TRAY_SETTINGS        32771
#define ID_TRAY_RESTART_COUNTER 32772
#define ID_TRAY_TOGGLE_MODE     32773
#define ID_TRAY_PAUSE           32774
#define ID_TRAY_STATISTICS      32775
#define ID_TRAY_CHECK_UPDATES   32777
#define ID_TRAY_FEEDBACK        32779

// Alert windows and the screen lock.
#define IDD_MESSENGER           130
#define IDD_SMALLMSG            131
#define IDD_LOCK                132
#define IDI_ALERT               144
#define IDI_LOCK                146
#define IDB_WARNING_TAPE        150
#define IDC_POSTPONE            3
#define IDC_SMALLMSG_TITLE      1006
#define IDC_SMALLMSG_TEXT       1007
#define IDC_LOCK_TITLE          1012
#define IDC_LOCK_TEXT           1015

// The boolean property's choices.
#define IDS_YES                 129
#define IDS_NO                  130

// The dashboard.
#define IDD_DASHBOARD           151
#define IDB_PINNED              152
#define IDB_UNPINNED            153
#define IDC_DASH_PIN            1062
#define IDC_DASH_STATUS         1063
#define IDC_DASH_SETTINGS       1066
#define IDC_DASH_BREAK          1067
#define IDC_DASH_PAUSE          1068
#define IDC_DASH_MORE           1069
#define IDC_DASH_CHART          1071
#define IDC_DASH_PROGRESS       1072

// The settings sheet and its pages.
#define IDB_SHEET_STRIP         143
#define IDD_WELCOME_PAGE        141
#define IDD_TIMES_PAGE          107
#define IDD_SOUND_PAGE          106
#define IDD_TRACKING_PAGE       136
#define IDD_MISC_PAGE           108
#define IDD_STATISTICS_PAGE     134
#define IDD_ABOUT_PAGE          133
#define IDC_WELCOME_TITLE       1060
#define IDC_ABOUT_TITLE         1012
#define IDC_ABOUT_HOME          1061
#define IDC_ABOUT_DISCLAIMER    1011
#define IDC_TIMES_TEXT          1055
#define IDC_TIMES_LIST          1056

// The Statistics page and its auto-clear dialog.
#define IDD_AUTOCLEAR           140
#define IDC_STATS_LIST          1013
#define IDC_STATS_CLEAR         1027
#define IDC_STATS_AUTOCLEAR     1044
#define IDC_STATS_WHEN          1049
#define IDC_STATS_CHART         1073
#define IDC_AUTOCLEAR_SPIN      1005
#define IDC_AUTOCLEAR_HOURS     1045
#define IDC_AUTOCLEAR_HOURS_TEXT 1048
#define IDC_AUTOCLEAR_AFTER     1050
#define IDC_AUTOCLEAR_AT        1051
#define IDC_AUTOCLEAR_TIME      1052

// The Tracking page.
#define IDC_TRACK_MOUSE         1023
#define IDC_TRACK_KEYBOARD      1024
#define IDC_TRACK_MOUSEMOVE     1025
#define IDC_TRACK_PAUSE_DELAY   1026
#define IDC_TRACK_PAUSE         1028
#define IDC_TRACK_RESTART       1029
#define IDC_TRACK_PAUSE_SPIN    1005
#define IDC_TRACK_LOCK_SPIN     1006
#define IDC_TRACK_NO_LIBRARY    1035
#define IDC_TRACK_EXPLAIN       1036
#define IDC_TRACK_IDLE_TEXT     1037
#define IDC_TRACK_MINUTES       1038
#define IDC_TRACK_LOCK          1057
#define IDC_TRACK_LOCK_DELAY    1058

// The Sound page.
#define IDI_PLAY                149
#define IDC_SOUND_WARN          1040
#define IDC_SOUND_WARN_FILE     1041
#define IDC_SOUND_WARN_BROWSE   1042
#define IDC_SOUND_WARN_PLAY     1044
#define IDC_SOUND_START         1048
#define IDC_SOUND_START_FILE    1049
#define IDC_SOUND_START_BROWSE  1050
#define IDC_SOUND_START_PLAY    1051
#define IDC_SOUND_END           1052
#define IDC_SOUND_END_FILE      1053
#define IDC_SOUND_END_BROWSE    1054
#define IDC_SOUND_END_PLAY      1055

// The Misc page.
#define IDC_MISC_SELECT_FONT    1008
#define IDC_MISC_FONT_SAMPLE    1009
#define IDC_MISC_LANGUAGE       1016
#define IDC_MISC_REFRESH        1017
#define IDC_MISC_LANGUAGE_NOTE  1018
#define IDC_MISC_AUTORUN        1059
#define IDC_MISC_UPDATES        1062
