// CWorld: everything the engine reads from the outside world, in one place.
//
// The program uses the real calls; a test installs its own world with
// SetWorld and scripts the clock, the cursor, the keys, the screen saver,
// the hook counts and the sounds.
#pragma once
#include <windows.h>

class CWorld {
public:
    virtual ~CWorld() {}
    // Seconds since 1 January 1970 UTC.
    virtual __int64 Now();
    virtual void GetLocalTime(SYSTEMTIME* st);
    virtual BOOL GetCursorPos(POINT* pt);
    // The cursor position as the tick sees it: the one the system recorded
    // for the timer message being handled, which it takes when it hands the
    // message over. Asking again would cost a round trip each second.
    virtual BOOL GetTickCursorPos(POINT* pt);
    // High bit of the asynchronous key state (mouse buttons included).
    virtual bool IsKeyDown(int vk);
    // The thread's key state, as the tray callback reads Shift, Ctrl and Alt.
    virtual SHORT GetKeyState(int vk);
    // FALSE when the query fails; *pRunning is then unchanged.
    virtual BOOL GetScreenSaverRunning(BOOL* pRunning);
    virtual bool IsHookLibraryLoaded();
    // A hook that counts key presses or mouse input is installed.
    virtual bool IsInputHookInstalled();
    virtual DWORD ReadKeyStrokes();
    virtual DWORD ReadMouseEvents();
    virtual DWORD ReadMouseClicks();
    virtual void PlaySound(const char* file, DWORD flags);
};

CWorld& World();
// Installs a world (NULL brings back the real one).
void SetWorld(CWorld* pWorld);

// Local calendar time of a moment; FALSE when it cannot be converted.
bool LocalTimeOf(__int64 t, struct tm* out);
