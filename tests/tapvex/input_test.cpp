// Drives tapvex.dll against real input. Run inside a Wine virtual desktop by
// input_test.sh, which sends keys and clicks on the X display when told to.
//
// Hand-shake, through files in a directory both sides see (argv[1], a Windows
// path): the program writes "readyN" holding "X Y KEYS CLICKS MOVES WHEELS
// HOLD" (the screen point to click, its window's centre, and how much input
// to send: see input_test.sh) and pumps messages; the script clicks and
// types there and creates "sentN"; the program lets the input settle and
// checks the counters.
// At the end it writes "counts" (what each phase measured), then "result"
// ("PASS" or the failures), and returns 0 only on success.
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
    // As the test window receives them: key presses (key-downs of a key that
    // was up), every key-down (repeats too), key releases, button presses,
    // cursor moves and wheel notches.
    LONG windowKeys, windowKeyDowns, windowKeyUps, windowClicks, windowMoves, windowWheels;
};

// What the script is asked to send in one phase (see input_test.sh).
struct Input {
    LONG keys, clicks, moves, wheels, hold;
};

std::string g_dir;
std::string g_failures;
std::string g_measured;
LONG g_windowKeys, g_windowKeyDowns, g_windowKeyUps, g_windowClicks, g_windowMoves, g_windowWheels;
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
    Counts c = { t.keyStrokes(), t.mouseEvents(), t.mouseClicks(), g_windowKeys, g_windowKeyDowns,
                 g_windowKeyUps, g_windowClicks, g_windowMoves, g_windowWheels };
    return c;
}

// Asks the script for the input, waits for it to arrive (the window's own
// messages tell when, whatever the hooks do) and returns the counters' rise.
bool RequestInput(const Tapvex& t, const char* phase, const Input& in, Counts* rise)
{
    RECT client;
    GetClientRect(g_window, &client);
    POINT centre = { (client.left + client.right) / 2, (client.top + client.bottom) / 2 };
    ClientToScreen(g_window, &centre);

    const Counts before = Read(t);
    char request[128];
    wsprintfA(request, "%ld %ld %ld %ld %ld %ld %ld\n", (long)centre.x, (long)centre.y, (long)in.keys,
              (long)in.clicks, (long)in.moves, (long)in.wheels, (long)in.hold);
    if (!WriteWholeFile(std::string("ready") + phase, request)) {
        g_failures += std::string(phase) + ": cannot write to the sync directory\r\n";
        return false;
    }
    const std::string sent = std::string("sent") + phase;
    if (!PumpUntil([&] { return FileExists(sent); }, 60000)) {
        g_failures += std::string(phase) + ": the script never sent the input\r\n";
        return false;
    }
    const LONG presses = in.keys + (in.hold > 0 || in.hold == -1 ? 1 : 0);
    const LONG releases = in.hold == -2 ? 1 : 0;
    PumpUntil([&] {
        return g_windowKeys - before.windowKeys >= presses && g_windowClicks - before.windowClicks >= in.clicks
            && g_windowWheels - before.windowWheels >= in.wheels && g_windowKeyUps - before.windowKeyUps >= releases;
    }, 5000);
    Pump(500); // anything late or doubled shows up in the counts too

    const Counts after = Read(t);
    rise->keys = after.keys - before.keys;
    rise->events = after.events - before.events;
    rise->clicks = after.clicks - before.clicks;
    rise->windowKeys = after.windowKeys - before.windowKeys;
    rise->windowKeyDowns = after.windowKeyDowns - before.windowKeyDowns;
    rise->windowKeyUps = after.windowKeyUps - before.windowKeyUps;
    rise->windowClicks = after.windowClicks - before.windowClicks;
    rise->windowMoves = after.windowMoves - before.windowMoves;
    rise->windowWheels = after.windowWheels - before.windowWheels;
    char line[256];
    wsprintfA(line, "phase %s: key strokes %lu, mouse events %lu, mouse clicks %lu; the window got %ld presses"
              " (%ld key-downs), %ld clicks, %ld moves, %ld wheel notches\r\n", phase, (unsigned long)rise->keys,
              (unsigned long)rise->events, (unsigned long)rise->clicks, (long)rise->windowKeys,
              (long)rise->windowKeyDowns, (long)rise->windowClicks, (long)rise->windowMoves,
              (long)rise->windowWheels);
    g_measured += line;
    // Without the input reaching the window the other checks prove nothing.
    if (rise->windowKeys != presses)
        Fail(phase, "key presses received by the window", presses, rise->windowKeys);
    if (rise->windowClicks != in.clicks)
        Fail(phase, "clicks received by the window", in.clicks, rise->windowClicks);
    if (rise->windowWheels != in.wheels)
        Fail(phase, "wheel notches received by the window", in.wheels, rise->windowWheels);
    if (in.moves > 0 && rise->windowMoves < in.moves / 2)
        Fail(phase, "cursor moves received by the window (at least)", in.moves / 2, rise->windowMoves);
    return true;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        ++g_windowKeyDowns;
        if (!(lParam & (1L << 30)))
            ++g_windowKeys; // the key was up before
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        ++g_windowKeyUps;
        return 0;
    case WM_LBUTTONDOWN:
        ++g_windowClicks;
        return 0;
    case WM_MOUSEMOVE:
        ++g_windowMoves;
        return 0;
    case WM_MOUSEWHEEL:
        ++g_windowWheels;
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
    // A mouse event is a button press or a wheel notch; a release is none.
    if (!t.setKB() || !t.setKB() || !t.setMouse() || !t.setMouse()) {
        g_failures += "installing the hooks failed\r\n";
        return;
    }
    if (!RequestInput(t, "1", Input{ 5, 2, 0, 0, 0 }, &rise))
        return;
    if (rise.keys != 5) Fail("1", "key strokes", 5, (long)rise.keys);
    if (rise.clicks != 2) Fail("1", "mouse clicks", 2, (long)rise.clicks);
    if (rise.events != 2) Fail("1", "mouse events", 2, (long)rise.events);
    // Installing a hook that is in keeps its counts.
    const Counts held = Read(t);
    t.setKB();
    t.setMouse();
    if (t.keyStrokes() != held.keys) Fail("1", "key strokes after installing again", (long)held.keys, (long)t.keyStrokes());
    if (t.mouseClicks() != held.clicks) Fail("1", "mouse clicks after installing again", (long)held.clicks, (long)t.mouseClicks());

    // Cursor movement alone is no mouse event.
    if (!RequestInput(t, "2", Input{ 0, 0, 20, 0, 0 }, &rise))
        return;
    if (rise.events != 0) Fail("2", "mouse events from cursor moves", 0, (long)rise.events);
    if (rise.clicks != 0) Fail("2", "mouse clicks from cursor moves", 0, (long)rise.clicks);

    // The wheel is a mouse event, not a click.
    if (!RequestInput(t, "3", Input{ 0, 0, 0, 4, 0 }, &rise))
        return;
    if (rise.events != 4) Fail("3", "mouse events from wheel notches", 4, (long)rise.events);
    if (rise.clicks != 0) Fail("3", "mouse clicks from wheel notches", 0, (long)rise.clicks);

    // A key held for two seconds is one key stroke, however often the
    // display repeats it.
    if (!RequestInput(t, "4", Input{ 0, 0, 0, 0, 2000 }, &rise))
        return;
    if (rise.keys != 1) Fail("4", "key strokes of a held key", 1, (long)rise.keys);
    if (rise.windowKeyDowns < 3) Fail("4", "repeated key-downs of the held key (at least)", 3, rise.windowKeyDowns);

    // Keyboard hook out (twice over): key strokes stop, the mouse goes on.
    t.killKB();
    t.killKB();
    if (!RequestInput(t, "5", Input{ 3, 1, 0, 0, 0 }, &rise))
        return;
    if (rise.keys != 0) Fail("5", "key strokes without the keyboard hook", 0, (long)rise.keys);
    if (rise.clicks != 1) Fail("5", "mouse clicks", 1, (long)rise.clicks);

    // Mouse hook out, keyboard hook back in: the mouse counters stand still.
    t.killMouse();
    if (!t.setKB()) {
        g_failures += "reinstalling the keyboard hook failed\r\n";
        return;
    }
    // The key strokes count from the hook's new start.
    if (t.keyStrokes() != 0) Fail("6", "key strokes right after reinstalling", 0, (long)t.keyStrokes());
    if (!RequestInput(t, "6", Input{ 2, 1, 10, 1, 0 }, &rise))
        return;
    if (rise.keys != 2) Fail("6", "key strokes after reinstalling", 2, (long)rise.keys);
    if (rise.clicks != 0) Fail("6", "mouse clicks without the mouse hook", 0, (long)rise.clicks);
    if (rise.events != 0) Fail("6", "mouse events without the mouse hook", 0, (long)rise.events);

    // A key that goes down in view and comes up while the hook is out is
    // not held for ever: its next press counts.
    if (!RequestInput(t, "7", Input{ 0, 0, 0, 0, -1 }, &rise))
        return;
    if (rise.keys != 1) Fail("7", "key strokes of a key going down", 1, (long)rise.keys);
    t.killKB();
    if (!RequestInput(t, "8", Input{ 0, 0, 0, 0, -2 }, &rise))
        return;
    t.setKB();
    if (!RequestInput(t, "9", Input{ 0, 0, 0, 0, 200 }, &rise))
        return;
    if (rise.keys != 1) Fail("9", "key strokes of the key released out of view, pressed again", 1, (long)rise.keys);
    t.killKB();

    // The mouse hook back in: its counts start from 0 again.
    t.setMouse();
    if (t.mouseEvents() != 0) Fail("10", "mouse events right after reinstalling", 0, (long)t.mouseEvents());
    if (t.mouseClicks() != 0) Fail("10", "mouse clicks right after reinstalling", 0, (long)t.mouseClicks());
    t.killMouse();
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
    WriteWholeFile("counts", g_measured);
    WriteWholeFile("result", passed ? std::string("PASS\n") : g_failures);
    fputs(passed ? "PASS\n" : g_failures.c_str(), stderr);
    return passed ? 0 : 1;
}
