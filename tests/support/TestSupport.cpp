#include "support/TestSupport.h"
#include "app/Kestrabel.h"
#include "engine/MainFrame.h"
#include "res/resource.h"
#include <gtest/gtest.h>
#include <fstream>
#include <stdlib.h>
#include <sstream>

static MessageBoxRecorder* s_recorder;

static int RecordBox(HWND owner, const char* text, const char* caption, UINT type)
{
    if (!s_recorder) return IDOK;
    s_recorder->boxes.push_back({ text ? text : "", caption ? caption : "", type, owner });
    return s_recorder->answer;
}

MessageBoxRecorder::MessageBoxRecorder(int a) : answer(a)
{
    s_recorder = this;
    g_pfnMessageBoxHook = RecordBox;
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    s_recorder = nullptr;
}

static void RemoveTree(const std::string& dir)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((dir + "*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            std::string full = dir + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full + "\\");
            } else {
                ::SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(full.c_str());
            }
        } while (::FindNextFileA(h, &fd));
        ::FindClose(h);
    }
    ::RemoveDirectoryA(dir.c_str());
}

TempDir::TempDir()
{
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    static int counter;
    for (;;) {
        char name[MAX_PATH];
        snprintf(name, sizeof(name), "%sks-%lu-%d-%lu\\", base, ::GetCurrentProcessId(), ++counter, ::GetTickCount());
        if (::CreateDirectoryA(name, nullptr)) { path = name; break; }
    }
}

TempDir::~TempDir()
{
    if (!m_keep) RemoveTree(path);
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << bytes;
}

bool FileExistsA(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ProgramFolder()
{
    char path[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.rfind('\\') + 1);
}

std::string MachineLanguageIn(const std::string& languagesFolder)
{
    char name[128] = "";
    if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SENGLANGUAGE, name, sizeof(name)) <= 0) return "";
    if (_stricmp(name, "English") == 0) return "";
    return FileExistsA(languagesFolder + "\\" + name + ".lang") ? name : "";
}

MemoryCanvas::MemoryCanvas(int w, int h, HDC like) : width(w), height(h)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    dc = ::CreateCompatibleDC(like);
    m_bmp = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = (DWORD*)bits;
    if (m_bmp) m_old = ::SelectObject(dc, m_bmp);
}

MemoryCanvas::~MemoryCanvas()
{
    if (m_old) ::SelectObject(dc, m_old);
    if (m_bmp) ::DeleteObject(m_bmp);
    if (dc) ::DeleteDC(dc);
}

COLORREF MemoryCanvas::Pixel(int x, int y) const
{
    ::GdiFlush();
    DWORD v = m_bits[(size_t)y * (size_t)width + (size_t)x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

std::vector<DWORD> MemoryCanvas::Pixels(int right) const
{
    std::vector<DWORD> px;
    if (!m_bits) return px;
    ::GdiFlush();
    if (right < 0 || right > width) right = width;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < right; ++x) px.push_back(m_bits[(size_t)y * (size_t)width + (size_t)x] & 0x00FFFFFF);
    return px;
}

void MemoryCanvas::Fill(COLORREF c)
{
    RECT rc = {0, 0, width, height};
    HBRUSH b = ::CreateSolidBrush(c);
    ::FillRect(dc, &rc, b);
    ::DeleteObject(b);
}

std::vector<DWORD> CapturePixels(HDC hdc, int x, int y, int w, int h)
{
    if (!hdc || w <= 0 || h <= 0) return {};
    MemoryCanvas mem(w, h, hdc);
    if (!mem.dc || !::BitBlt(mem.dc, 0, 0, w, h, hdc, x, y, SRCCOPY)) return {};
    return mem.Pixels();
}

namespace {
struct FoundWindows { const char* cls; std::vector<HWND> windows; };
BOOL CALLBACK CollectThreadWindow(HWND h, LPARAM l)
{
    FoundWindows& f = *(FoundWindows*)l;
    char name[64] = "";
    ::GetClassNameA(h, name, (int)sizeof(name));
    if (!f.cls || lstrcmpiA(name, f.cls) == 0) f.windows.push_back(h);
    return TRUE;
}
}

std::vector<HWND> ThreadWindows(const char* cls)
{
    FoundWindows found = { cls, {} };
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectThreadWindow, (LPARAM)&found);
    return found.windows;
}

static std::vector<std::function<void()>> s_soon;
static void CALLBACK RunSoon(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    std::function<void()> f = s_soon.back();
    s_soon.pop_back();
    f();
}
void Soon(const std::function<void()>& f) { s_soon.push_back(f); ::SetTimer(nullptr, 0, 1, RunSoon); }

void RunPageInSheet(CPropertyPage& page, const std::function<void(HWND sheet)>& script)
{
    CPropertyPage first(IDD_WELCOME_PAGE);
    CPropertySheet sheet("Kestrabel");
    sheet.AddPage(&first);
    sheet.AddPage(&page);
    Soon([&] {
        ::SendMessage(sheet.m_hWnd, PSM_SETCURSEL, 1, 0);
        script(sheet.m_hWnd);
        if (::IsWindow(sheet.m_hWnd)) sheet.SendMessage(PSM_PRESSBUTTON, PSBTN_CANCEL);
    });
    sheet.DoModal();
}

MainWindowStandIn::MainWindowStandIn() : m_pPrevious(AfxGetApp()->m_pMainWnd)
{
    wnd.CreateEx(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, 0);
    AfxGetApp()->m_pMainWnd = &wnd;
}
MainWindowStandIn::~MainWindowStandIn()
{
    AfxGetApp()->m_pMainWnd = m_pPrevious;
    wnd.DestroyWindow();
}
int MainWindowStandIn::Take(UINT msg)
{
    int n = 0;
    MSG m;
    while (::PeekMessage(&m, wnd.m_hWnd, msg, msg, PM_REMOVE)) n += m.wParam == 0 && m.lParam == 0;
    return n;
}

void PumpMessages(DWORD ms, const std::function<bool(const MSG&)>& each)
{
    DWORD start = ::GetTickCount();
    MSG msg;
    do {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            bool more = !each || each(msg);
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
            if (!more) return;
        }
        ::Sleep(5);
    } while (::GetTickCount() - start < ms);
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms)
{
    for (DWORD start = ::GetTickCount(); !done(); PumpMessages(10))
        if (::GetTickCount() - start > ms) return false;
    return true;
}

// Every test program starts here: the application object is set up as the
// program's entry would, but this process never claims the instance mutex
// (the end-to-end tests start the real program beside it).
int main(int argc, char** argv)
{
    if (g_hInstanceMutex) {
        ::CloseHandle(g_hInstanceMutex);
        g_hInstanceMutex = nullptr;
    }
    AfxWinInit(::GetModuleHandleA(nullptr));
    // GDI+ runs from the start, as in the program.
    AfxGdiplusStartup();
    ::testing::InitGoogleTest(&argc, argv);
    int rc = RUN_ALL_TESTS();
    // The results are in. The program's global objects were shaped by the
    // tests (fake shells, frames long gone); their teardown proves nothing
    // here and has been seen to stall under Wine, so end without it. The
    // real program's exit is tested end to end.
    fflush(stdout);
    fflush(stderr);
    _exit(rc);
}

RealMainFrame::RealMainFrame()
    : frame(new CMainFrame), m_pszProfile(theApp.m_pszProfileName), m_strData(g_strDataDirectoryOverride),
      m_pPrevious(theApp.m_pMainWnd)
{
    theApp.m_pszProfileName = _strdup(m_dir.File("Kestrabel.INI").c_str());
    g_strDataDirectoryOverride = m_dir.File("Data\\").c_str();
    EXPECT_TRUE(frame->Create(nullptr, "Kestrabel", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, nullptr, nullptr));
    theApp.m_pMainWnd = frame;
    frame->KillTimer(frame->m_nTimerTick);
    frame->m_nTimerTick = 0;
}

RealMainFrame::~RealMainFrame()
{
    theApp.m_pMainWnd = m_pPrevious;
    frame->DestroyWindow();
    free((void*)theApp.m_pszProfileName);
    theApp.m_pszProfileName = m_pszProfile;
    g_strDataDirectoryOverride = m_strData;
}
