/*
 * tapvex.dll: counts the user's key presses, mouse events and mouse clicks
 * for Kestrabel, through system-wide low-level hooks.
 *
 * The hooks are WH_KEYBOARD_LL and WH_MOUSE_LL: nothing is injected into
 * other processes, and the callbacks run on the thread that installed them,
 * inside its message loop. The counters only ever rise while their hook is
 * installed; they are never reset, so the caller works with differences
 * between two readings (unsigned arithmetic survives a wrap).
 *
 * Exports (tapvex.def, undecorated names, no arguments, default calling
 * convention): SetKBHook, SetMouseHook, KillKBHook, KillMouseHook,
 * GetKeyStrokes, GetMouseEvents, GetMouseClicks.
 */
#include <windows.h>

static HINSTANCE g_module;
static HHOOK g_keyboardHook;
static HHOOK g_mouseHook;
static volatile LONG g_keyStrokes;
static volatile LONG g_mouseEvents;
static volatile LONG g_mouseClicks;

static LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN))
        InterlockedIncrement(&g_keyStrokes);
    return CallNextHookEx(g_keyboardHook, code, wParam, lParam);
}

static LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        InterlockedIncrement(&g_mouseEvents);
        switch (wParam) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN:
            InterlockedIncrement(&g_mouseClicks);
            break;
        }
    }
    return CallNextHookEx(g_mouseHook, code, wParam, lParam);
}

/* Installing an installed hook keeps the one there: every input counts once. */
static BOOL Install(HHOOK *hook, int type, HOOKPROC proc)
{
    if (*hook == NULL)
        *hook = SetWindowsHookExA(type, proc, g_module, 0);
    return *hook != NULL;
}

static BOOL Remove(HHOOK *hook)
{
    BOOL ok = TRUE;
    if (*hook != NULL) {
        ok = UnhookWindowsHookEx(*hook);
        *hook = NULL;
    }
    return ok;
}

int SetKBHook(void)      { return Install(&g_keyboardHook, WH_KEYBOARD_LL, KeyboardProc); }
int SetMouseHook(void)   { return Install(&g_mouseHook, WH_MOUSE_LL, MouseProc); }
int KillKBHook(void)     { return Remove(&g_keyboardHook); }
int KillMouseHook(void)  { return Remove(&g_mouseHook); }
DWORD GetKeyStrokes(void)  { return (DWORD)g_keyStrokes; }
DWORD GetMouseEvents(void) { return (DWORD)g_mouseEvents; }
DWORD GetMouseClicks(void) { return (DWORD)g_mouseClicks; }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        g_module = instance;
        DisableThreadLibraryCalls(instance);
        break;
    case DLL_PROCESS_DETACH:
        /* Unloaded by FreeLibrary with a hook still in: take it out before
           the code it points to goes away. At process exit (reserved set)
           the system removes the hooks itself. */
        if (reserved == NULL) {
            Remove(&g_keyboardHook);
            Remove(&g_mouseHook);
        }
        break;
    }
    return TRUE;
}
