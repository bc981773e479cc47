/* The baseline for scripts/sheet-memory.sh: the least a program can keep for
   each open and close of a property sheet like Kestrabel's settings sheet.
   A hidden main window (titled and laid out as Kestrabel's, so the same
   driver steers it) takes the same three commands and opens a modal
   property sheet of the same page templates, read from Kestrabel.exe beside
   it as a data file, starting on the same page; the pages' dialog
   procedures do nothing but give the About page's disclaimer a text of
   its length. It carries the program's manifest, so its controls are the
   same common controls (version 6). Whatever this program also keeps per
   open is the system's. Started with "controls", it measures what the
   system keeps of single controls of the kinds the pages hold (see
   MeasureControls). */
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <string.h>
#include "res/resource.h"

#define CMD_SETTINGS 32771
#define CMD_STATISTICS 32775
#define CMD_ABOUT 0xE140
#define PANE_FIRST 0xE900

static HMODULE s_templates;

/* The About page's disclaimer gets a text of the program's length. */
static INT_PTR CALLBACK PageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    (void)wParam; (void)lParam;
    if (msg == WM_INITDIALOG && GetDlgItem(hwnd, IDC_ABOUT_DISCLAIMER)) {
        char text[420];
        int i;
        for (i = 0; i < 419; ++i) text[i] = (i % 60 == 59) ? '\n' : (i % 7 == 6) ? ' ' : 'x';
        text[419] = '\0';
        SetDlgItemTextA(hwnd, IDC_ABOUT_DISCLAIMER, text);
    }
    return msg == WM_INITDIALOG;
}

static void RunSheet(HWND owner, UINT start)
{
    static const WORD ids[] = { IDD_TIMES_PAGE, IDD_SOUND_PAGE, IDD_TRACKING_PAGE,
                                IDD_MISC_PAGE, IDD_STATISTICS_PAGE, IDD_ABOUT_PAGE };
    PROPSHEETPAGEA pages[6];
    PROPSHEETHEADERA psh;
    int i;
    ZeroMemory(pages, sizeof(pages));
    for (i = 0; i < 6; ++i) {
        pages[i].dwSize = sizeof(pages[i]);
        pages[i].dwFlags = PSP_HASHELP;
        pages[i].hInstance = s_templates;
        pages[i].pszTemplate = MAKEINTRESOURCEA(ids[i]);
        pages[i].pfnDlgProc = PageProc;
    }
    ZeroMemory(&psh, sizeof(psh));
    psh.dwSize = sizeof(psh);
    psh.dwFlags = PSH_PROPSHEETPAGE | PSH_HASHELP;
    psh.hwndParent = owner;
    psh.hInstance = s_templates;
    psh.pszCaption = "Kestrabel";
    psh.nPages = 6;
    psh.nStartPage = start;
    psh.ppsp = pages;
    PropertySheetA(&psh);
}

/* Bytes in use on the process heap (where the system's libraries allocate). */
static SIZE_T HeapInUse(void)
{
    PROCESS_HEAP_ENTRY e;
    SIZE_T total = 0;
    HANDLE heap = GetProcessHeap();
    memset(&e, 0, sizeof(e));
    HeapLock(heap);
    while (HeapWalk(heap, &e))
        if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += e.cbData;
    HeapUnlock(heap);
    return total;
}

/* One window of a class with the text, under parent, with the dialog font,
   shown, painted and destroyed. */
static void OneControl(HWND parent, const char* cls, DWORD style, const char* text)
{
    HWND h = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 300, 120, parent, NULL, NULL, NULL);
    SendMessageA(h, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), TRUE);
    UpdateWindow(h);
    DestroyWindow(h);
}

/* "floor.exe controls": what the system keeps of one static and of one
   multi-line edit holding 419 characters, each created and destroyed 2000
   times after 100 of warm-up; printed as bytes of process heap per window. */
static void MeasureControls(void)
{
    static const struct { const char* cls; DWORD style; int len; } cases[] = {
        { "Static", SS_LEFT, 20 }, { "Edit", ES_MULTILINE | ES_READONLY | WS_VSCROLL, 419 },
        { "Edit", ES_AUTOHSCROLL, 20 }, { "Button", BS_AUTOCHECKBOX, 20 }
    };
    char text[420];
    int c, i;
    HWND parent = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 200, NULL, NULL, NULL, NULL);
    for (c = 0; c < (int)(sizeof(cases) / sizeof(cases[0])); ++c) {
        SIZE_T before;
        for (i = 0; i < cases[c].len; ++i) text[i] = (i % 60 == 59) ? '\n' : (i % 7 == 6) ? ' ' : 'x';
        text[cases[c].len] = '\0';
        for (i = 0; i < 100; ++i) OneControl(parent, cases[c].cls, cases[c].style, text);
        before = HeapInUse();
        for (i = 0; i < 2000; ++i) OneControl(parent, cases[c].cls, cases[c].style, text);
        printf("%-6s style %08lx, %3d characters: %6.1f bytes of process heap kept per window\n", cases[c].cls,
               (unsigned long)cases[c].style, cases[c].len, ((double)HeapInUse() - (double)before) / 2000);
    }
    fflush(stdout);
    DestroyWindow(parent);
}

static LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND) {
        switch (LOWORD(wParam)) {
        case CMD_SETTINGS: RunSheet(hwnd, 0); return 0;
        case CMD_STATISTICS: RunSheet(hwnd, 4); return 0;
        case CMD_ABOUT: RunSheet(hwnd, 5); return 0;
        }
    }
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrev, LPSTR cmdLine, int show)
{
    WNDCLASSA wc;
    INITCOMMONCONTROLSEX icc;
    HWND hwnd;
    MSG msg;
    (void)hPrev; (void)show;
    if (strcmp(cmdLine, "controls") == 0) {
        icc.dwSize = sizeof(icc);
        icc.dwICC = ICC_WIN95_CLASSES;
        InitCommonControlsEx(&icc);
        MeasureControls();
        return 0;
    }
    s_templates = LoadLibraryExA("Kestrabel.exe", NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (!s_templates) return 1;
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES;
    InitCommonControlsEx(&icc);
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = MainProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = "SheetFloor";
    RegisterClassA(&wc);
    hwnd = CreateWindowExA(0, "SheetFloor", "Kestrabel", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                           NULL, NULL, hInstance, NULL);
    CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 1, 1, hwnd, (HMENU)(UINT_PTR)PANE_FIRST, hInstance, NULL);
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
