// vfx: the program's application framework, all of it.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>
#include "vfxres.h"
#include "vfxtypes.h"
#include "vfxstring.h"
#include "vfxcoll.h"
#include "vfxfile.h"
#include "vfxwnd.h"
#include "vfxframe.h"
#include "vfxapp.h"
#include "vfxgdi.h"
#include "vfxdlg.h"
#include "vfxctrl.h"
#include "vfxinet.h"
