// Links: fitting, tooltip texts, colours, what opens the target and what
// does not, the error box, the hand cursor from a module loaded as data, and
// the tooltip relay inside a modal dialog's own loop.
#include "controls/HyperLink.h"
#include "controls/OpenUrl.h"
#include "ControlsTestSupport.h"
#include "support/DialogTemplate.h"
#include <gtest/gtest.h>
#include <stdlib.h>

namespace {

TEST(LinkGeometry, FitsTheTextByAlignment)
{
    const RECT w = { 10, 10, 110, 30 };   // 100 x 20
    const SIZE none = { 0, 0 }, text = { 31, 13 };
    struct { DWORD style; SIZE border; RECT want; } rows[] = {
        { SS_CENTER, none, { 44, 10, 76, 23 } },                  // 34 off each side
        { SS_RIGHT, none, { 79, 10, 110, 23 } },                  // the right edge stays
        { SS_LEFT, none, { 10, 10, 41, 23 } },
        { SS_SIMPLE, none, { 10, 10, 41, 23 } },                  // 0xB: no bit of centring
        { SS_LEFTNOWORDWRAP, none, { 10, 10, 41, 23 } },
        { SS_CENTER | SS_CENTERIMAGE, none, { 44, 13, 76, 27 } }, // stays centred vertically
        { SS_LEFT, { 2, 2 }, { 10, 10, 43, 25 } },                // the border is added back
    };
    for (auto& r : rows) {
        RECT got = FitLinkRect(w, r.border, text, r.style);
        EXPECT_TRUE(EqualRect(&got, &r.want)) << std::hex << r.style << std::dec << ": " << got.left << ","
                                              << got.top << "-" << got.right << "," << got.bottom;
    }
}

TEST(LinkTexts, TipColourAndErrors)
{
    struct { const char* target; const char* tip; } tips[] = {
        { "http://host/page?x=1", "http://host/page" }, { "?x", "?x" }, { "", "" },
        { "http://host/", "http://host/" }, { "a?b?c", "a" },
    };
    for (auto& t : tips) EXPECT_EQ(LinkTipText(t.target), t.tip) << t.target;

    struct { bool hover, focus, visited; DWORD options; COLORREF want; } colours[] = {
        { false, false, false, 0, RGB(0, 0, 255) },
        { false, false, true, 0, RGB(128, 0, 128) },
        { false, true, true, 0, RGB(0, 128, 128) },
        { false, true, true, HLOPT_NO_FOCUS_COLOUR, RGB(128, 0, 128) },
        { true, true, true, HLOPT_HOVER_COLOUR, RGB(255, 0, 0) },
        { true, true, false, 0, RGB(0, 128, 128) },   // hover colour is an option
        { true, false, false, HLOPT_NO_FOCUS_COLOUR, RGB(0, 0, 255) },
    };
    for (auto& c : colours) EXPECT_EQ(LinkTextColour(c.hover, c.focus, c.visited, c.options), c.want);

    struct { int code; const char* text; } errors[] = {
        { 0, "The operating system is out\nof memory or resources." },
        { 2, "The specified file was not found." },
        { 3, "The specified path was not found." },
        { 5, "The operating system denied\naccess to the specified file." },
        { 8, "There was not enough memory to complete the operation." },
        { 11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)." },
        { 26, "A sharing violation occurred. " },
        { 27, "The filename association is\nincomplete or invalid." },
        { 28, "The DDE transaction could not\nbe completed because the request timed out." },
        { 29, "The DDE transaction failed." },
        { 30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed." },
        { 31, "There is no application associated\nwith the given filename extension." },
        { 32, "The specified dynamic-link library was not found." },
        { 4, "Unknown Error (4) occurred." },
        { -7, "Unknown Error (-7) occurred." },
    };
    for (auto& e : errors) EXPECT_EQ(LinkOpenErrorText(e.code), e.text) << e.code;
}

// ---- links in a window, with the shell replaced ----

int g_shellResult;
int g_opens;
std::vector<UINT> g_beeps;
HINSTANCE WINAPI FakeShell(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) { ++g_opens; return (HINSTANCE)(INT_PTR)g_shellResult; }
UINT WINAPI FakeWinExec(LPCSTR, UINT) { return (UINT)g_shellResult; }
BOOL RecordBeep(UINT type) { g_beeps.push_back(type); return TRUE; }

// Sees what the link hands on to the static control's own procedure.
std::vector<UINT> g_defaultKeys;
WNDPROC g_staticProc;
LRESULT CALLBACK RecordingStaticProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_KEYDOWN) g_defaultKeys.push_back((UINT)w);
    return ::CallWindowProcA(g_staticProc, h, m, w, l);
}

class LinkWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_shellResult = 42;
        g_opens = 0;
        g_beeps.clear();
        g_defaultKeys.clear();
    }
    Scoped<PFN_SHELLEXECUTEA> m_shell{ g_pfnShellExecuteA, FakeShell };
    Scoped<PFN_WINEXEC> m_exec{ g_pfnWinExec, FakeWinExec };
    Scoped<AFX_MESSAGEBEEP_HOOK> m_beep{ g_pfnMessageBeepHook, RecordBeep };
    void Bind(const char* text, DWORD style = 0, bool font = true, int width = 200)
    {
        HWND h = host.AddStatic(text, style, 20, 20, width, 20, font);
        g_staticProc = (WNDPROC)::SetWindowLongPtrA(h, GWLP_WNDPROC, (LONG_PTR)RecordingStaticProc);
        ASSERT_TRUE(link.SubclassWindow(h));
    }
    CRect WindowRect()
    {
        CRect r;
        link.GetWindowRect(&r);
        ::MapWindowPoints(nullptr, host.m_hWnd, (POINT*)&r, 2);
        return r;
    }
    LRESULT Mouse(UINT msg, int x, int y) { return link.SendMessage(msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y)); }
    COLORREF TextColour()
    {
        HDC dc = ::CreateCompatibleDC(nullptr);
        LRESULT brush = host.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)link.m_hWnd);
        COLORREF c = ::GetTextColor(dc);
        EXPECT_EQ(brush, (LRESULT)::GetStockObject(NULL_BRUSH));
        EXPECT_EQ(::GetBkMode(dc), TRANSPARENT);
        ::DeleteDC(dc);
        return c;
    }
    ControlHost host;
    CHyperLink link;
};

TEST_F(LinkWindow, BindingUnderlinesFitsAndTipsTheWholeTarget)
{
    link.m_strTarget = "";
    Bind("http://host/page?x=1", SS_CENTER);
    LOGFONTA lf;
    ASSERT_EQ(link.m_font.GetObject(sizeof(lf), &lf), (int)sizeof(lf));
    EXPECT_TRUE(lf.lfUnderline);
    EXPECT_EQ((HFONT)link.SendMessage(WM_GETFONT), (HFONT)link.m_font);
    EXPECT_EQ(link.m_strTarget, "http://host/page?x=1");
    EXPECT_EQ(link.m_toolTip.GetText(&link, 1), "http://host/page?x=1");

    // Fitted to the text as the link draws it, centred where it stood.
    HDC dc = ::GetDC(link.m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, link.m_font);
    SIZE ext;
    ::GetTextExtentPoint32A(dc, "http://host/page?x=1", 20, &ext);
    ::SelectObject(dc, old);
    ::ReleaseDC(link.m_hWnd, dc);
    CRect r = WindowRect();
    EXPECT_NEAR(r.Width(), ext.cx, 1);
    EXPECT_EQ(r.Height(), ext.cy);
    EXPECT_EQ(r.left, 20 + (200 - ext.cx) / 2);

    link.SetLinkTarget("http://host/page?x=1");
    EXPECT_EQ(link.m_toolTip.GetText(&link, 1), "http://host/page");
    EXPECT_EQ(link.m_toolTip.GetToolCount(), 1);
    link.SetLinkTarget("?x");
    EXPECT_EQ(link.m_toolTip.GetText(&link, 1), "?x");
    EXPECT_TRUE(link.IsWindowVisible());
}

TEST_F(LinkWindow, AnEmptyTextShowsTheTargetAndNoFontKeepsTheSize)
{
    link.m_strTarget = "http://example.com/";
    Bind("", 0, false, 150);
    EXPECT_EQ(link.GetWindowText(), "http://example.com/");
    EXPECT_FALSE(link.m_dwOptions & HLOPT_FIT_TO_TEXT);
    EXPECT_EQ(link.m_font.m_hObject, nullptr);
    CRect r = WindowRect();
    EXPECT_EQ(r.Width(), 150);
    EXPECT_EQ(r.Height(), 20);
}

TEST_F(LinkWindow, AFontThatCannotBeReadChangesNothing)
{
    Bind("http://host/");
    HGDIOBJ before = link.m_font.m_hObject;
    CFont bogus;
    bogus.Attach((HGDIOBJ)(UINT_PTR)0x12345678);
    link.SetLinkFont(&bogus);
    bogus.Detach();
    EXPECT_EQ(link.m_font.m_hObject, before);
    link.SetLinkFont(nullptr);
    EXPECT_EQ(link.m_font.m_hObject, before);

    CFont big;
    big.CreatePointFont(200, "Tahoma");
    link.SetLinkFont(&big);
    LOGFONTA lf;
    link.m_font.GetObject(sizeof(lf), &lf);
    EXPECT_FALSE(lf.lfUnderline);   // a copy, no underline added
    EXPECT_GT(WindowRect().Height(), 20);
}

TEST_F(LinkWindow, OnlyAPressAndReleaseOnTheLinkOpen)
{
    Bind("http://host/");
    enum { DOWN = WM_LBUTTONDOWN, UP = WM_LBUTTONUP, DBL = WM_LBUTTONDBLCLK };
    struct Step { UINT msg; int x; };
    struct { const char* what; std::vector<Step> steps; DWORD options; int opens; } rows[] = {
        { "click", { { DOWN, 2 }, { UP, 3 } }, 0x15, 1 },
        { "release after a press elsewhere", { { UP, 3 } }, 0x15, 0 },
        { "press, then release outside", { { DOWN, 2 }, { UP, 500 } }, 0x15, 0 },
        { "double click", { { DOWN, 2 }, { UP, 2 }, { DBL, 2 }, { UP, 2 } }, 0x15, 1 },
        { "two releases", { { DOWN, 2 }, { UP, 2 }, { UP, 2 } }, 0x15, 1 },
        { "open on press", { { DOWN, 2 }, { UP, 2 } }, 0x15 | HLOPT_OPEN_ON_PRESS, 1 },
    };
    for (auto& r : rows) {
        link.m_dwOptions = r.options;
        g_opens = 0;
        link.m_bPressed = false;
        link.SetFocus();   // focused all along: the focus alone must not arm a release
        for (const Step& s : r.steps) Mouse(s.msg, s.x, 2);
        EXPECT_EQ(g_opens, r.opens) << r.what;
    }
    // Losing the focus between press and release disarms it.
    link.m_dwOptions = 0x15;
    g_opens = 0;
    Mouse(DOWN, 2, 2);
    ::SetFocus(host.m_hWnd);
    Mouse(UP, 2, 2);
    EXPECT_EQ(g_opens, 0);
}

TEST_F(LinkWindow, SpaceOpensOncePerPressOtherKeysGoOn)
{
    Bind("http://host/");
    link.SendMessage(WM_KEYDOWN, VK_SPACE, 0x00390001);
    EXPECT_EQ(g_opens, 1);
    for (int i = 0; i < 5; ++i) link.SendMessage(WM_KEYDOWN, VK_SPACE, 0x40390001);   // held
    EXPECT_EQ(g_opens, 1);
    link.SendMessage(WM_KEYDOWN, VK_RETURN, 0x001C0001);
    link.SendMessage(WM_KEYDOWN, 'A', 0x001E0001);
    EXPECT_EQ(g_opens, 1);
    EXPECT_EQ(g_defaultKeys, (std::vector<UINT>{ VK_RETURN, 'A' }));
}

TEST_F(LinkWindow, ShellResultsDecideVisitedOrTheErrorBox)
{
    Bind("http://host/");
    MessageBoxRecorder boxes;
    for (int code : { 32, 26, 4, 0 }) {
        g_shellResult = code;
        boxes.boxes.clear();
        g_beeps.clear();
        link.OpenTarget();
        EXPECT_EQ(link.m_bVisited, 0);
        ASSERT_EQ(boxes.boxes.size(), 1u) << code;
        EXPECT_EQ(boxes.boxes[0].text, std::string("Can't open link:\n\n") + (const char*)LinkOpenErrorText(code));
        EXPECT_TRUE(boxes.boxes[0].type & MB_ICONEXCLAMATION);
        EXPECT_EQ(g_beeps, (std::vector<UINT>{ MB_ICONEXCLAMATION }));
    }
    boxes.boxes.clear();
    g_shellResult = 33;
    link.OpenTarget();
    EXPECT_EQ(link.m_bVisited, 1);
    EXPECT_TRUE(boxes.boxes.empty());
    // A later failure keeps it visited.
    g_shellResult = 2;
    link.OpenTarget();
    EXPECT_EQ(link.m_bVisited, 1);
}

TEST_F(LinkWindow, TheParentAsksTheLinkForItsColours)
{
    Bind("http://host/");
    ::SetFocus(host.m_hWnd);
    EXPECT_EQ(TextColour(), RGB(0, 0, 255));
    link.SetFocus();
    EXPECT_EQ(TextColour(), RGB(0, 128, 128));
    g_shellResult = 40;
    link.OpenTarget();
    ::SetFocus(host.m_hWnd);
    EXPECT_EQ(TextColour(), RGB(128, 0, 128));
    link.m_dwOptions |= HLOPT_HOVER_COLOUR;
    Mouse(WM_MOUSEMOVE, 2, 2);
    EXPECT_EQ(link.m_bHover, 1);
    EXPECT_EQ(::GetCapture(), link.m_hWnd);
    EXPECT_EQ(TextColour(), RGB(255, 0, 0));
    Mouse(WM_MOUSEMOVE, 500, 2);
    EXPECT_EQ(link.m_bHover, 0);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(link.SendMessage(WM_NCHITTEST, 0, 0), HTCLIENT);
}

// ---- the hand cursor ----

std::string g_windowsFolder;
int g_folderAsked;
UINT WINAPI FakeWindowsFolder(LPSTR out, UINT size)
{
    ++g_folderAsked;
    if (g_windowsFolder.size() >= size) return (UINT)g_windowsFolder.size() + 1;
    strcpy(out, g_windowsFolder.c_str());
    return (UINT)g_windowsFolder.size();
}

class HandCursor : public LinkWindow {
protected:
    void SetUp() override
    {
        LinkWindow::SetUp();
        g_folderAsked = 0;
        g_hHandCursor = nullptr;
        ::SetEnvironmentVariableA("KS_HAND_MODULE_RAN", nullptr);
    }
    void TearDown() override
    {
        if (g_hHandCursor) ::DestroyCursor(g_hHandCursor);
        g_hHandCursor = nullptr;
    }
    Scoped<PFN_GETWINDOWSDIRECTORYA> m_folder{ g_pfnGetWindowsDirectoryA, FakeWindowsFolder };
};

TEST_F(HandCursor, LoadedOnceAsDataFromTheModule)
{
    std::string folder = ProgramFolder() + "handmodule";
    g_windowsFolder = folder;
    Bind("http://host/");
    CHyperLink more[3];
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(more[i].SubclassWindow(host.AddStatic("x", 0, 20, 60 + 20 * i, 50, 20, true, 200 + i)));
    EXPECT_EQ(g_folderAsked, 1);
    ASSERT_NE(g_hHandCursor, nullptr);
    EXPECT_EQ(::GetEnvironmentVariableA("KS_HAND_MODULE_RAN", nullptr, 0), 0u);
    EXPECT_EQ(link.SendMessage(WM_SETCURSOR, (WPARAM)link.m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), TRUE);
    EXPECT_EQ(::GetCursor(), g_hHandCursor);
    // The module was let go.
    EXPECT_EQ(::GetModuleHandleA((folder + "\\winhlp32.exe").c_str()), nullptr);
}

TEST_F(HandCursor, NoCursorWithoutTheModuleOrRoomForItsPath)
{
    std::string tooLong = "C:\\" + std::string(MAX_PATH - 10, 'a');
    for (const std::string& folder : { std::string(""), ProgramFolder() + "nothing-here", tooLong }) {
        g_windowsFolder = folder;
        g_hHandCursor = nullptr;
        LoadHandCursor();
        EXPECT_EQ(g_hHandCursor, nullptr) << folder.size();
    }
    Bind("http://host/");
    EXPECT_EQ(link.SendMessage(WM_SETCURSOR, (WPARAM)link.m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), FALSE);
    g_windowsFolder = ProgramFolder() + "handmodule";
    CHyperLink plain;
    plain.m_dwOptions = 0x15 | HLOPT_NO_HAND_CURSOR;
    int asked = g_folderAsked;
    ASSERT_TRUE(plain.SubclassWindow(host.AddStatic("y", 0, 20, 60, 50, 20, true, 300)));
    EXPECT_EQ(g_folderAsked, asked);
    EXPECT_EQ(g_hHandCursor, nullptr);
}

// ---- the tooltip relay inside a modal dialog's own loop ----

class CCountingLink : public CHyperLink {
public:
    int moves = 0;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_MOUSEMOVE) ++moves;
        return CHyperLink::PreTranslateMessage(pMsg);
    }
};
CCountingLink* g_modalLink;

INT_PTR CALLBACK ModalProc(HWND hDlg, UINT msg, WPARAM, LPARAM)
{
    if (msg == WM_INITDIALOG) {
        g_modalLink->SubclassWindow(::GetDlgItem(hDlg, 100));
        ::PostMessageA(::GetDlgItem(hDlg, 100), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
        ::PostMessageA(hDlg, WM_APP, 0, 0);
        return TRUE;
    }
    if (msg == WM_APP) { ::EndDialog(hDlg, 7); return TRUE; }
    return FALSE;
}

TEST(LinkInModalLoop, PreTranslationReachesTheLink)
{
    DialogTemplate tpl("", 150, 60, WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME);
    tpl.Add(DialogTemplate::Static, 100, "http://host/", 10, 10, 100, 20);
    CCountingLink link;
    g_modalLink = &link;
    EXPECT_EQ(::DialogBoxIndirectParamA(AfxGetInstanceHandle(), tpl.Get(), nullptr, ModalProc, 0), 7);
    EXPECT_GE(link.moves, 1);
}

}  // namespace
