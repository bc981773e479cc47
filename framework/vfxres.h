// vfx standard ids, shared by code and resource scripts.
#pragma once
#define AFX_IDS_APP_TITLE   0xE000
#define ID_APP_ABOUT        0xE140
#define ID_APP_EXIT         0xE141
#define ID_HELP             0xE146
#define AFX_IDW_PANE_FIRST  0xE900
