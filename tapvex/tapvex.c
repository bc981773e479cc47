/*
 * tapvex.dll: counts the user's key presses, mouse events and mouse clicks
 * for Kestrabel, through system-wide low-level hooks.
 *
 * The hooks are WH_KEYBOARD_LL and WH_MOUSE_LL: nothing is injected into
 * other processes, and the callbacks run on the thread that installed them,
 * inside its message loop. Each count starts from 0 when its hook is
 * installed (the key strokes with the keyboard hook, the mouse events and
 * clicks with the mouse hook) and only rises while it stays in; it stands
 * still while the hook is out. The caller works with differences between
 * two readings (unsigned arithmetic survives a wrap). Key strokes
 * are key presses (not the repeats of a held key), mouse events are button
 * presses and wheel turns, mouse clicks are button presses.
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

/*
 * A key press is a key going down from up: while a key is held the system
 * repeats its key-down, and those repeats are not presses. Each key's state
 * lives here, one entry per virtual-key code, with the time of its last
 * key-down. A release this hook never saw (the hook was out, or the system
 * dropped the message) must not silence the key for good: a key-down that
 * comes longer after the previous one than any repeat would is a new press,
 * and installing the hook forgets every key.
 */
#define KEY_REPEAT_GAP_MS 1500
static BOOL g_keyDown[256];
static DWORD g_keyDownTime[256];

static BOOL IsNewKeyPress(DWORD vk, DWORD time)
{
    const BOOL held = g_keyDown[vk] && time - g_keyDownTime[vk] <= KEY_REPEAT_GAP_MS;
    g_keyDown[vk] = TRUE;
    g_keyDownTime[vk] = time;
    return !held;
}

static LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && lParam != 0) {
        const KBDLLHOOKSTRUCT *key = (const KBDLLHOOKSTRUCT *)lParam;
        const DWORD vk = key->vkCode & 0xFF;
        if (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN) {
            if (IsNewKeyPress(vk, key->time))
                InterlockedIncrement(&g_keyStrokes);
        } else if (wParam == WM_KEYUP || wParam == WM_SYSKEYUP) {
            g_keyDown[vk] = FALSE;
        }
    }
    return CallNextHookEx(g_keyboardHook, code, wParam, lParam);
}

/*
 * Mouse events are what the user does with the buttons and the wheel:
 * presses and wheel turns. Cursor movement is not one; whoever wants it
 * watches the cursor itself. Clicks are the button presses alone.
 */
#ifndef WM_MOUSEHWHEEL
#define WM_MOUSEHWHEEL 0x020E
#endif
static LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        switch (wParam) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN:
            InterlockedIncrement(&g_mouseClicks);
            InterlockedIncrement(&g_mouseEvents);
            break;
        case WM_MOUSEWHEEL:
        case WM_MOUSEHWHEEL:
            InterlockedIncrement(&g_mouseEvents);
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

/* A hook going in starts its counts afresh: the key presses since the
   keyboard hook was installed, the mouse events and clicks since the mouse
   hook was. Installing it again while it is in changes nothing. The
   callbacks run on this thread, so none counts between the reset and the
   install. */
int SetKBHook(void)
{
    if (g_keyboardHook == NULL) {
        ZeroMemory(g_keyDown, sizeof(g_keyDown));
        InterlockedExchange(&g_keyStrokes, 0);
    }
    return Install(&g_keyboardHook, WH_KEYBOARD_LL, KeyboardProc);
}
int SetMouseHook(void)
{
    if (g_mouseHook == NULL) {
        InterlockedExchange(&g_mouseEvents, 0);
        InterlockedExchange(&g_mouseClicks, 0);
    }
    return Install(&g_mouseHook, WH_MOUSE_LL, MouseProc);
}
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
