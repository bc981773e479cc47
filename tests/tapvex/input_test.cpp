// Drives tapvex.dll against real input. Run inside a Wine virtual desktop by
// input_test.sh, which sends keys and clicks on the X display when told to.
//
// Hand-shake, through files in a directory both sides see (argv[1], a Windows
// path): the program writes "readyN" holding "X Y KEYS CLICKS" (the screen
// point to click, its window's centre, and how much input to send) and pumps
// messages; the script clicks and types there and creates "sentN"; the
// program lets the input settle and checks the counters.
// At the end it writes "result" ("PASS" or the failures) and returns 0 only
// on success.
//
// usage: tapvex_input_test.exe SYNC_DIR [PATH_TO_TAPVEX_DLL]
#include <windows.h>
#include <stdio.h>
#include <string>

namespace {

typedef int (*HookFn)(void);
typedef DWORD (*CountFn)(void);

struct Tapvex {
    HMODULE module;
    HookFn setKB, setMouse, killKB, killMouse;
    CountFn keyStrokes, mouseEvents, mouseClicks;
};

struct Counts {
    DWORD keys, events, clicks;   // as the DLL reports them
    LONG windowKeys, windowClicks; // as the test window receives them
};

std::string g_dir;
std::string g_failures;
LONG g_windowKeys, g_windowClicks;
HWND g_window;

void Fail(const char* phase, const char* what, long expected, long actual)
{
    char line[256];
    wsprintfA(line, "%s: %s: expected %ld, got %ld\r\n", phase, what, expected, actual);
    g_failures += line;
}

bool WriteWholeFile(const std::string& name, const std::string& text)
{
    const std::string path = g_dir + "\\" + name;
    const std::string temp = path + ".tmp";
    HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, text.data(), (DWORD)text.size(), &written, NULL);
    CloseHandle(file);
    // The reader polls for the final name: it only ever sees whole contents.
    return ok && written == text.size()
        && MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

bool FileExists(const std::string& name)
{
    return GetFileAttributesA((g_dir + "\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Low-level hooks run while this thread retrieves messages: keep pumping.
void Pump(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds)
            return;
        MsgWaitForMultipleObjects(0, NULL, FALSE, milliseconds - elapsed < 20 ? milliseconds - elapsed : 20,
                                  QS_ALLINPUT);
    }
}

template <class Done>
bool PumpUntil(Done done, DWORD timeout)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= timeout)
            return false;
        Pump(20);
    }
    return true;
}

Counts Read(const Tapvex& t)
{
    Counts c = { t.keyStrokes(), t.mouseEvents(), t.mouseClicks(), g_windowKeys, g_windowClicks };
    return c;
}

// Asks the script for `keys` key presses and `clicks` clicks on the window,
// waits for them to arrive (the window's own messages tell when, whatever the
// hooks do) and returns the counters' rise.
bool RequestInput(const Tapvex& t, const char* phase, LONG keys, LONG clicks, Counts* rise)
{
    RECT client;
    GetClientRect(g_window, &client);
    POINT centre = { (client.left + client.right) / 2, (client.top + client.bottom) / 2 };
    ClientToScreen(g_window, &centre);

    const Counts before = Read(t);
    char request[64];
    wsprintfA(request, "%ld %ld %ld %ld\n", (long)centre.x, (long)centre.y, (long)keys, (long)clicks);
    if (!WriteWholeFile(std::string("ready") + phase, request)) {
        g_failures += std::string(phase) + ": cannot write to the sync directory\r\n";
        return false;
    }
    const std::string sent = std::string("sent") + phase;
    if (!PumpUntil([&] { return FileExists(sent); }, 60000)) {
        g_failures += std::string(phase) + ": the script never sent the input\r\n";
        return false;
    }
    PumpUntil([&] {
        return g_windowKeys - before.windowKeys >= keys && g_windowClicks - before.windowClicks >= clicks;
    }, 5000);
    Pump(500); // anything late or doubled shows up in the counts too

    const Counts after = Read(t);
    rise->keys = after.keys - before.keys;
    rise->events = after.events - before.events;
    rise->clicks = after.clicks - before.clicks;
    rise->windowKeys = after.windowKeys - before.windowKeys;
    rise->windowClicks = after.windowClicks - before.windowClicks;
    // Without the input reaching the window the other checks prove nothing.
    if (rise->windowKeys != keys)
        Fail(phase, "key presses received by the window", keys, rise->windowKeys);
    if (rise->windowClicks != clicks)
        Fail(phase, "clicks received by the window", clicks, rise->windowClicks);
    return true;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        ++g_windowKeys;
        return 0;
    case WM_LBUTTONDOWN:
        ++g_windowClicks;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

template <class Fn>
void Find(HMODULE module, const char* name, Fn* fn)
{
    // Through void (*)(void), the generic function pointer type, so the
    // compiler accepts the conversion from FARPROC.
    *fn = reinterpret_cast<Fn>(reinterpret_cast<void (*)(void)>(GetProcAddress(module, name)));
}

bool Bind(Tapvex* t, const char* path)
{
    t->module = LoadLibraryA(path);
    if (!t->module)
        return false;
    Find(t->module, "SetKBHook", &t->setKB);
    Find(t->module, "SetMouseHook", &t->setMouse);
    Find(t->module, "KillKBHook", &t->killKB);
    Find(t->module, "KillMouseHook", &t->killMouse);
    Find(t->module, "GetKeyStrokes", &t->keyStrokes);
    Find(t->module, "GetMouseEvents", &t->mouseEvents);
    Find(t->module, "GetMouseClicks", &t->mouseClicks);
    return t->setKB && t->setMouse && t->killKB && t->killMouse
        && t->keyStrokes && t->mouseEvents && t->mouseClicks;
}

void RunPhases(const Tapvex& t)
{
    Counts rise;

    // Both hooks in, each installed twice: every input still counts once.
    // A click is a button going down; its release is a mouse event as well.
    if (!t.setKB() || !t.setKB() || !t.setMouse() || !t.setMouse()) {
        g_failures += "installing the hooks failed\r\n";
        return;
    }
    if (!RequestInput(t, "1", 5, 2, &rise))
        return;
    if (rise.keys != 5) Fail("1", "key strokes", 5, (long)rise.keys);
    if (rise.clicks != 2) Fail("1", "mouse clicks", 2, (long)rise.clicks);
    if (rise.events < 4) Fail("1", "mouse events (at least)", 4, (long)rise.events);

    // Keyboard hook out (twice over): key strokes stop, the mouse goes on.
    t.killKB();
    t.killKB();
    if (!RequestInput(t, "2", 3, 1, &rise))
        return;
    if (rise.keys != 0) Fail("2", "key strokes without the keyboard hook", 0, (long)rise.keys);
    if (rise.clicks != 1) Fail("2", "mouse clicks", 1, (long)rise.clicks);

    // Mouse hook out, keyboard hook back in: the mouse counters stand still.
    t.killMouse();
    if (!t.setKB()) {
        g_failures += "reinstalling the keyboard hook failed\r\n";
        return;
    }
    if (!RequestInput(t, "3", 2, 1, &rise))
        return;
    if (rise.keys != 2) Fail("3", "key strokes after reinstalling", 2, (long)rise.keys);
    if (rise.clicks != 0) Fail("3", "mouse clicks without the mouse hook", 0, (long)rise.clicks);
    if (rise.events != 0) Fail("3", "mouse events without the mouse hook", 0, (long)rise.events);
    t.killKB();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: %s SYNC_DIR [TAPVEX_DLL]\n", argv[0]);
        return 2;
    }
    g_dir = argv[1];
    const char* dllPath = argc > 2 ? argv[2] : "tapvex.dll";

    Tapvex t;
    if (!Bind(&t, dllPath)) {
        g_failures += std::string("cannot load ") + dllPath + " or bind its seven exports\r\n";
    } else {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.hCursor = LoadCursor(NULL, IDC_ARROW);
        wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
        wc.lpszClassName = "TapvexInputTest";
        RegisterClassA(&wc);
        g_window = CreateWindowA("TapvexInputTest", "tapvex input test", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 100, 100, 400, 300, NULL, NULL, wc.hInstance, NULL);
        if (!g_window) {
            g_failures += "cannot create the test window\r\n";
        } else {
            SetForegroundWindow(g_window);
            Pump(200);
            RunPhases(t);
            DestroyWindow(g_window);
        }
        FreeLibrary(t.module);
    }

    const bool passed = g_failures.empty();
    WriteWholeFile("result", passed ? std::string("PASS\n") : g_failures);
    fputs(passed ? "PASS\n" : g_failures.c_str(), stderr);
    return passed ? 0 : 1;
}
