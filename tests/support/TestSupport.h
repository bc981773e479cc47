// Helpers shared by the test programs.
#pragma once
#include "vfx.h"
#include <string.h>
#include <functional>
#include <string>
#include <vector>

// Records every message box and answers it.
struct MessageBoxRecord {
    std::string text, caption;
    UINT type;
    HWND owner;
};
class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int answer = IDOK);
    ~MessageBoxRecorder();
    std::vector<MessageBoxRecord> boxes;
    int answer;
};

// A fresh empty folder under the temporary folder, removed with the object;
// or a folder that exists already, which stays.
class TempDir {
public:
    TempDir();
    explicit TempDir(const std::string& existing) : path(existing), m_keep(true) {}
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string path;                       // with a trailing backslash
    std::string File(const std::string& name) const { return path + name; }
private:
    bool m_keep = false;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExistsA(const std::string& path);
// The folder of the running test program, with a trailing backslash.
std::string ProgramFolder();
// The language this machine's user locale names when the folder holds its
// file ("German" under a German locale), else "" (English): what the program
// falls back to. Tests run under any locale.
std::string MachineLanguageIn(const std::string& languagesFolder);
// A 32-bit top-down bitmap selected into a memory DC compatible with like
// (the screen when none).
class MemoryCanvas {
public:
    MemoryCanvas(int w, int h, HDC like = nullptr);
    ~MemoryCanvas();
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;
    COLORREF Pixel(int x, int y) const;  // as RGB()
    // The pixels left of right, row by row, 0x00RRGGBB each; all of them by
    // default, none when there is no bitmap.
    std::vector<DWORD> Pixels(int right = -1) const;
    void Fill(COLORREF c);
    HDC dc = nullptr;
    int width, height;
private:
    HBITMAP m_bmp = nullptr;
    HGDIOBJ m_old = nullptr;
    DWORD* m_bits = nullptr;
};
// The pixels of a w x h rectangle of a DC from (x, y), one 0x00RRGGBB value
// each, row by row; empty when they cannot be read.
std::vector<DWORD> CapturePixels(HDC hdc, int x, int y, int w, int h);
// Sets a variable (a hook, a seam) for the life of the object, then puts
// back what it held.
template <class T> class Scoped {
public:
    template <class U> Scoped(T& var, U value) : m_var(var), m_saved(var) { var = value; }
    ~Scoped() { m_var = m_saved; }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;
private:
    T& m_var;
    T m_saved;
};
template <class T, class U> Scoped(T&, U) -> Scoped<T>;
// Puts the variables it was given back to their values at its making, last
// given first, when it goes.
class Keep {
public:
    template <class... T> explicit Keep(T&... vars) { (Add(vars), ...); }
    ~Keep() { for (auto it = m_undo.rbegin(); it != m_undo.rend(); ++it) (*it)(); }
    // A record that must not be copied as an object (the day's counters save
    // themselves when one goes): kept as bytes.
    template <class T> void Bytes(T& var)
    {
        std::string saved((const char*)&var, sizeof(T));
        m_undo.push_back([&var, saved] { memcpy((void*)&var, saved.data(), sizeof(T)); });
    }
private:
    template <class T> void Add(T& var) { m_undo.push_back([&var, saved = var] { var = saved; }); }
    std::vector<std::function<void()>> m_undo;
};
// This thread's top-level windows, only those of class cls when given.
std::vector<HWND> ThreadWindows(const char* cls = nullptr);
// Runs f from the next message loop, whichever window's it is: the way to
// act inside a modal sheet or dialog.
void Soon(const std::function<void()>& f);
// Runs page as the second page of a modal sheet, opened from the first one
// (so it is made while the sheet is up); the script runs once it shows, then
// Cancel closes the sheet unless the script closed it.
void RunPageInSheet(CPropertyPage& page, const std::function<void(HWND sheet)>& script);
// A hidden window that stands in for the program's main window while it
// lives; Take counts and removes the messages msg posted to it (wParam and
// lParam 0 only).
class MainWindowStandIn {
public:
    MainWindowStandIn();
    ~MainWindowStandIn();
    int Take(UINT msg);
    CWnd wnd;
private:
    CWnd* m_pPrevious;
};
// Runs queued window messages (timers included) for about ms milliseconds.
// each, when given, sees every message before it is dispatched and ends
// the pumping by answering false.
void PumpMessages(DWORD ms, const std::function<bool(const MSG&)>& each = nullptr);
// Runs queued window messages until done() holds, for at most ms
// milliseconds; whether it came to hold.
bool PumpUntil(const std::function<bool()>& done, DWORD ms);
// Private bytes of this process: the system's count, or, where that reads 0
// (Wine), the committed private pages found by walking the address space.
// source, when given, names which of the two was read.
SIZE_T PrivateBytes(const char** source = nullptr);

// What this process holds: GDI objects, USER objects and kernel handles.
// Wine answers 0 to GetGuiResources and GetProcessHandleCount; there each is
// counted by hand: the GDI and USER tables' slots less those still free (as
// many pens and accelerator tables as can be made) and the handle values
// the system knows. Only differences between two counts mean anything.
struct ObjectCounts {
    long gdi, user, handles;
};
ObjectCounts CountObjects();

class CMainFrame;
// The program's own main window for the life of the object: created like
// the program's, its tick stopped (the test drives it), its settings and
// counters saved into a temporary folder.
class RealMainFrame {
public:
    RealMainFrame();
    ~RealMainFrame();
    CMainFrame* frame;
private:
    TempDir m_dir;
    const char* m_pszProfile;
    CString m_strData;
    CWnd* m_pPrevious;
};
