#include "engine/World.h"
#include "engine/HooksLoader.h"
#include <mmsystem.h>
#include <time.h>

// The system clock as it is (a few cycles), rather than the C library's
// time(), which looks at the time zone each call: the tick asks every second.
__int64 CWorld::Now()
{
    FILETIME ft;
    ::GetSystemTimeAsFileTime(&ft);
    ULARGE_INTEGER t;
    t.LowPart = ft.dwLowDateTime;
    t.HighPart = ft.dwHighDateTime;
    // 100-nanosecond steps since 1601 to seconds since 1970.
    return (__int64)((t.QuadPart - 116444736000000000ULL) / 10000000ULL);
}
void CWorld::GetLocalTime(SYSTEMTIME* st) { ::GetLocalTime(st); }
BOOL CWorld::GetCursorPos(POINT* pt) { return ::GetCursorPos(pt); }
BOOL CWorld::GetTickCursorPos(POINT* pt)
{
    DWORD pos = ::GetMessagePos();
    pt->x = (short)LOWORD(pos);
    pt->y = (short)HIWORD(pos);
    return TRUE;
}
bool CWorld::IsKeyDown(int vk) { return (::GetAsyncKeyState(vk) & 0x8000) != 0; }
SHORT CWorld::GetKeyState(int vk) { return ::GetKeyState(vk); }
BOOL CWorld::GetScreenSaverRunning(BOOL* pRunning)
{
    BOOL running = FALSE;
    if (!::SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0)) return FALSE;
    *pRunning = running;
    return TRUE;
}
bool CWorld::IsHookLibraryLoaded() { return g_hooksLoader.m_hModule != nullptr; }
bool CWorld::IsInputHookInstalled() { return IsKeyboardHookInstalled() || IsMouseHookInstalled(); }
DWORD CWorld::ReadKeyStrokes() { return ::ReadKeyStrokes(); }
DWORD CWorld::ReadMouseEvents() { return ::ReadMouseEvents(); }
DWORD CWorld::ReadMouseClicks() { return ::ReadMouseClicks(); }
void CWorld::PlaySound(const char* file, DWORD flags) { ::PlaySoundA(file, nullptr, flags); }

// The real world is never destroyed: the last save at process exit still
// reads its clock, whatever the order in which static objects go.
static CWorld* RealWorld()
{
    static CWorld* real = new CWorld;
    return real;
}

static CWorld* g_pWorld;

CWorld& World() { return g_pWorld ? *g_pWorld : *RealWorld(); }
void SetWorld(CWorld* pWorld) { g_pWorld = pWorld; }

bool LocalTimeOf(__int64 t, struct tm* out)
{
    __time64_t tt = (__time64_t)t;
    struct tm* p = _localtime64(&tt);
    if (!p) return false;
    *out = *p;
    return true;
}
