// A scripted world for the engine's tests: the clock, the cursor, the keys,
// the screen saver, the hook counts and the sounds are whatever the test
// says. Installed for the life of the object.
#pragma once
#include "engine/World.h"
#include <map>
#include <string>
#include <time.h>
#include <vector>

class FakeWorld : public CWorld {
public:
    FakeWorld() { SetWorld(this); }
    ~FakeWorld() override { SetWorld(nullptr); }

    // The clock, as seconds since 1970 (UTC); local time follows from it.
    __int64 now = 0;
    // Sets the clock to a local date and time.
    void SetLocal(int year, int month, int day, int hour, int minute, int second)
    {
        struct tm t = {};
        t.tm_year = year - 1900; t.tm_mon = month - 1; t.tm_mday = day;
        t.tm_hour = hour; t.tm_min = minute; t.tm_sec = second; t.tm_isdst = -1;
        now = (__int64)_mktime64(&t);
    }
    void Advance(int seconds) { now += seconds; }

    POINT cursor = { 100, 100 };
    bool cursorFails = false;
    std::map<int, bool> keysDown;
    SHORT keyState(int vk) { return keysDown[vk] ? (SHORT)0x8000 : 0; }
    BOOL screenSaver = FALSE;
    bool screenSaverQueryFails = false;
    bool hookLibraryLoaded = true;
    bool inputHookInstalled = true;
    DWORD keyStrokes = 0, mouseEvents = 0, mouseClicks = 0;
    std::vector<std::string> sounds;
    std::vector<DWORD> soundFlags;

    __int64 Now() override { return now; }
    void GetLocalTime(SYSTEMTIME* st) override
    {
        struct tm t;
        if (!LocalTimeOf(now, &t)) { *st = SYSTEMTIME(); return; }
        st->wYear = (WORD)(t.tm_year + 1900); st->wMonth = (WORD)(t.tm_mon + 1); st->wDay = (WORD)t.tm_mday;
        st->wDayOfWeek = (WORD)t.tm_wday; st->wHour = (WORD)t.tm_hour; st->wMinute = (WORD)t.tm_min;
        st->wSecond = (WORD)t.tm_sec; st->wMilliseconds = 0;
    }
    BOOL GetCursorPos(POINT* pt) override { if (cursorFails) return FALSE; *pt = cursor; return TRUE; }
    BOOL GetTickCursorPos(POINT* pt) override { return GetCursorPos(pt); }
    bool IsKeyDown(int vk) override { return keysDown[vk]; }
    SHORT GetKeyState(int vk) override { return keyState(vk); }
    BOOL GetScreenSaverRunning(BOOL* running) override
    {
        if (screenSaverQueryFails) return FALSE;
        *running = screenSaver;
        return TRUE;
    }
    bool IsHookLibraryLoaded() override { return hookLibraryLoaded; }
    bool IsInputHookInstalled() override { return hookLibraryLoaded && inputHookInstalled; }
    DWORD ReadKeyStrokes() override { return keyStrokes; }
    DWORD ReadMouseEvents() override { return mouseEvents; }
    DWORD ReadMouseClicks() override { return mouseClicks; }
    void PlaySound(const char* file, DWORD flags) override
    {
        sounds.push_back(file ? file : "");
        soundFlags.push_back(flags);
    }
};
