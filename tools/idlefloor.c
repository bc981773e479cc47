/* The floor for scripts/footprint.sh: the least a Win32 program that waits
   in the background costs. One hidden window, a one-second timer that does
   nothing, and the message loop. Started with "queries", the timer also
   asks what Kestrabel's tick must ask the system each second (is a screen
   saver running, where is the cursor), so the cost of those questions alone
   can be told from the cost of the program around them. */
#include <string.h>
#include <windows.h>

static int s_queries;

static LRESULT CALLBACK FloorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_TIMER) {
        if (s_queries) {
            BOOL running = FALSE;
            SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
            (void)GetMessagePos();
        }
        return 0;
    }
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrev, LPSTR cmdLine, int show)
{
    WNDCLASSA wc = { 0 };
    MSG msg;
    HWND hwnd;
    (void)hPrev; (void)show;
    s_queries = cmdLine && strstr(cmdLine, "queries") != NULL;
    wc.lpfnWndProc = FloorProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = "IdleFloorWnd";
    if (!RegisterClassA(&wc)) return 1;
    hwnd = CreateWindowExA(0, wc.lpszClassName, "idle floor", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                           NULL, NULL, hInstance, NULL);
    if (!hwnd) return 1;
    SetTimer(hwnd, 1, 1000, NULL);
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
