#include "vfxapp.h"
#include "vfxgdi.h"
#include <objbase.h>
#include <stdlib.h>
#include <string.h>
#include <errno.h>

static CWinApp* g_pApp;
AFX_MESSAGEBOX_HOOK g_pfnMessageBoxHook;
AFX_MESSAGEBEEP_HOOK g_pfnMessageBeepHook;

BOOL AfxMessageBeep(UINT type)
{
    if (g_pfnMessageBeepHook) return g_pfnMessageBeepHook(type);
    return ::MessageBeep(type);
}

AFX_TRANSLATE_HOOK g_pfnTranslateHook;

CString AfxTranslate(const char* pszEnglish)
{
    if (g_pfnTranslateHook) return g_pfnTranslateHook(pszEnglish ? pszEnglish : "");
    return CString(pszEnglish);
}

CWinApp* AfxGetApp() { return g_pApp; }
CWnd* AfxGetMainWnd() { return g_pApp ? g_pApp->m_pMainWnd : nullptr; }
HINSTANCE AfxGetInstanceHandle()
{
    if (g_pApp && g_pApp->m_hInstance) return g_pApp->m_hInstance;
    return ::GetModuleHandleA(nullptr);
}
HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }
const char* AfxGetAppName()
{
    return (g_pApp && g_pApp->m_pszAppName) ? g_pApp->m_pszAppName : "";
}

void AfxEnableControlContainer() {}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

CWinApp::CWinApp(const char* pszAppName)
{
    m_pPreviousApp = g_pApp;
    g_pApp = this;
    if (pszAppName) m_pszAppName = _strdup(pszAppName);
}

CWinApp::~CWinApp()
{
    free((void*)m_pszAppName);
    free((void*)m_pszProfileName);
    free((void*)m_pszRegistryKey);
    if (g_pApp == this) g_pApp = m_pPreviousApp;
}

// Modal loops that are not ours (dialog boxes, property sheets, message
// boxes) call the thread's message filter before they dispatch: the same
// pre-translation as in the main loop happens there.
static HHOOK g_hMsgFilterHook;

// A message that is only ever sent, whose parameters are pointers, means
// nothing when it comes through the queue: another program posted it, and
// its pointers point nowhere in this process. WM_NOTIFY is such a message
// for every window (the system posts no pointer message below WM_USER but
// this one); a window names its own.
static bool IsSentOnlyMessageQueued(const MSG* pMsg)
{
    if (pMsg->message == WM_NOTIFY) return true;
    if (pMsg->message < WM_USER || !pMsg->hwnd) return false;
    CWnd* p = CWnd::FromHandlePermanent(pMsg->hwnd);
    return p && p->IsSentOnlyMessage(pMsg->message);
}

static LRESULT CALLBACK MsgFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    // Every modal loop drops them: dialogs, menus, moving and sizing.
    if (code >= 0 && lParam && IsSentOnlyMessageQueued((MSG*)lParam)) return TRUE;
    if (code == MSGF_DIALOGBOX && lParam) {
        BOOL taken = FALSE;
        try {
            taken = AfxPreTranslateMessage((MSG*)lParam);
        } catch (...) {
            AfxReportUnexpectedException();
        }
        if (taken) return TRUE;
    }
    return ::CallNextHookEx(g_hMsgFilterHook, code, wParam, lParam);
}

void AfxWinInit(HINSTANCE hInstance)
{
    if (!g_hMsgFilterHook)
        g_hMsgFilterHook = ::SetWindowsHookExA(WH_MSGFILTER, MsgFilterHook, nullptr, ::GetCurrentThreadId());
    CWinApp* app = g_pApp;
    if (!app) return;
    app->m_hInstance = hInstance;
    if (!app->m_pszAppName) {
        CString name;
        if (!name.LoadString(0xE000)) {   // the application's title string
            char path[MAX_PATH] = "";
            DWORD n = ::GetModuleFileNameA(hInstance, path, MAX_PATH);
            if (n == 0 || n >= MAX_PATH) strcpy(path, "app");
            char* base = strrchr(path, '\\');
            name = base ? base + 1 : path;
            int dot = name.ReverseFind('.');
            if (dot > 0) name = name.Left(dot);
        }
        app->m_pszAppName = _strdup(name);
    }
    if (!app->m_pszProfileName) {
        CString ini = CString(app->m_pszAppName) + ".INI";
        app->m_pszProfileName = _strdup(ini);
    }
}

int AfxWinMain(HINSTANCE hInstance)
{
    CWinApp* app = g_pApp;
    if (!app) return -1;
    AfxWinInit(hInstance);
    int rc;
    try {
        if (!app->InitInstance()) {
            // Start-up failed or was declined: no loop; the main window (if
            // any) goes and the application tidies up.
            if (app->m_pMainWnd) app->m_pMainWnd->DestroyWindow();
            rc = app->ExitInstance();
        } else {
            rc = app->Run();
        }
    } catch (...) {
        rc = -1;
    }
    AfxGdiplusShutdown();
    AfxComTerm();
    return rc;
}

// Entered by this thread: balanced by AfxComTerm.
static bool s_bComEntered;

BOOL AfxComInit()
{
    if (s_bComEntered) return TRUE;
    HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // S_FALSE: entered before by someone else; it still counts once here.
    s_bComEntered = SUCCEEDED(hr);
    return s_bComEntered;
}

void AfxComTerm()
{
    if (!s_bComEntered) return;
    s_bComEntered = false;
    ::CoUninitialize();
}

HINSTANCE WINAPI AfxShellExecute(HWND hWnd, LPCSTR verb, LPCSTR file, LPCSTR params, LPCSTR dir, INT show)
{
    AfxComInit();
    return ::ShellExecuteA(hWnd, verb, file, params, dir, show);
}

int CWinApp::ExitInstance()
{
    return 0;
}

int CWinApp::Run()
{
    MSG msg;
    for (;;) {
        BOOL r = ::GetMessageA(&msg, nullptr, 0, 0);
        if (r == 0 || r == -1) break;
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return ExitInstance();
}

// The message being offered. A dialog's IsDialogMessage, run from the offer,
// calls the thread's message filter again with the same message (a copy of
// it): that call passes it on, or the offers would nest until the system
// stops calling hooks, the creation hook among them, for everything the
// message then does. A modal loop run from the offer brings other messages,
// which are offered as usual.
static const MSG* s_pOffered;

static bool SameMessage(const MSG& a, const MSG& b)
{
    // A character's code may be mapped between the ANSI and the wide copy.
    bool isChar = a.message == WM_CHAR || a.message == WM_SYSCHAR || a.message == WM_DEADCHAR ||
                  a.message == WM_SYSDEADCHAR;
    return a.hwnd == b.hwnd && a.message == b.message && (isChar || a.wParam == b.wParam) &&
           a.lParam == b.lParam && a.time == b.time && a.pt.x == b.pt.x && a.pt.y == b.pt.y;
}

BOOL AfxPreTranslateMessage(MSG* pMsg)
{
    if (!pMsg) return FALSE;
    if (IsSentOnlyMessageQueued(pMsg)) return TRUE;
    if (s_pOffered && SameMessage(*s_pOffered, *pMsg)) return FALSE;
    struct Offer {
        const MSG* outer;
        ~Offer() { s_pOffered = outer; }
    } offer = { s_pOffered };
    s_pOffered = pMsg;
    // A modeless dialog's keyboard handling lives at the top of this chain.
    for (HWND h = pMsg->hwnd; h; h = ::GetParent(h)) {
        CWnd* p = CWnd::FromHandlePermanent(h);
        if (p && p->PreTranslateMessage(pMsg)) return TRUE;
        if (!(::GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD)) break;
    }
    return FALSE;
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg)
{
    return AfxPreTranslateMessage(pMsg);
}


void CWinApp::OnAppExit()
{
    if (m_pMainWnd) m_pMainWnd->SendMessage(WM_CLOSE);
}

// ---- message boxes ----

int AfxShowOwnedMessageBox(HWND hOwner, const char* text, const char* caption, UINT type)
{
    if (hOwner && !::IsWindow(hOwner)) hOwner = nullptr;
    if (g_pfnMessageBoxHook) return g_pfnMessageBoxHook(hOwner, text, caption, type);
    return ::MessageBoxA(hOwner, text, caption, type);
}

int AfxShowMessageBox(HWND hOwner, const char* text, const char* caption, UINT type)
{
    return AfxShowOwnedMessageBox(AfxGetModalOwner(hOwner), text, caption, type);
}

int AfxMessageBox(const char* text, UINT type, UINT)
{
    return AfxShowMessageBox(nullptr, text, AfxGetAppName(), type);
}

int AfxMessageBox(UINT nIDPrompt, UINT type, UINT nHelpID)
{
    CString s;
    s.LoadString(nIDPrompt);
    return AfxMessageBox(s, type, nHelpID);
}

void AfxReportUnexpectedException()
{
    static bool s_reporting;
    if (s_reporting) return;
    s_reporting = true;
    AfxShowMessageBox(nullptr, "An unexpected error occurred. The operation was abandoned.",
                      AfxGetAppName(), MB_OK | MB_ICONSTOP);
    s_reporting = false;
}

// ---- profile ----

void CWinApp::SetRegistryKey(const char* pszRegistryKey)
{
    free((void*)m_pszRegistryKey);
    m_pszRegistryKey = _strdup(pszRegistryKey ? pszRegistryKey : "");
    // In registry mode the profile name is the application's name.
    free((void*)m_pszProfileName);
    m_pszProfileName = _strdup(m_pszAppName ? m_pszAppName : "");
}

HKEY CWinApp::GetSectionKey(const char* pszSection, bool bCreate)
{
    if (!m_pszRegistryKey || !pszSection) return nullptr;
    CString path;
    path.Format("Software\\%s\\%s\\%s", m_pszRegistryKey, m_pszProfileName ? m_pszProfileName : "", pszSection);
    HKEY hKey = nullptr;
    LONG r;
    if (bCreate) {
        DWORD disp;
        r = ::RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_READ | KEY_WRITE, nullptr, &hKey, &disp);
    } else {
        r = ::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &hKey);
    }
    return r == ERROR_SUCCESS ? hKey : nullptr;
}

// Parses a decimal integer with optional blanks and sign; saturates at the
// 32-bit limits. FALSE when there is no digit.
static bool ParseProfileInt(const char* p, int& out)
{
    while (*p == ' ' || *p == '\t') ++p;
    bool neg = false;
    if (*p == '-' || *p == '+') neg = (*p++ == '-');
    if (*p < '0' || *p > '9') return false;
    long long v = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        v = v * 10 + (*p - '0');
        if (v > 0x80000000LL) v = 0x80000000LL;
    }
    if (neg) v = -v;
    if (v > INT_MAX) v = INT_MAX;
    if (v < INT_MIN) v = INT_MIN;
    out = (int)v;
    return true;
}

static const char kMissing[] = "\x01\x02missing";

// Reads an INI value; FALSE when missing or longer than the buffer allows.
static bool ReadIniValue(const char* file, const char* section, const char* entry, std::vector<char>& buf)
{
    if (buf.size() < 2) buf.resize(2);
    DWORD n = ::GetPrivateProfileStringA(section, entry, kMissing, buf.data(), (DWORD)buf.size(), file);
    buf[buf.size() - 1] = '\0';
    if (strcmp(buf.data(), kMissing) == 0) return false;
    return n < buf.size() - 1;
}

int CWinApp::GetProfileInt(const char* pszSection, const char* pszEntry, int nDefault)
{
    if (m_pszRegistryKey) {
        HKEY hKey = GetSectionKey(pszSection, false);
        if (!hKey) return nDefault;
        DWORD type = 0, value = 0, size = sizeof(value);
        LONG r = ::RegQueryValueExA(hKey, pszEntry, nullptr, &type, (BYTE*)&value, &size);
        ::RegCloseKey(hKey);
        if (r != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(DWORD)) return nDefault;
        return (int)value;
    }
    std::vector<char> buf(64);
    if (!ReadIniValue(m_pszProfileName, pszSection, pszEntry, buf)) return nDefault;
    int v;
    return ParseProfileInt(buf.data(), v) ? v : nDefault;
}

BOOL CWinApp::WriteProfileInt(const char* pszSection, const char* pszEntry, int nValue)
{
    if (m_pszRegistryKey) {
        HKEY hKey = GetSectionKey(pszSection, true);
        if (!hKey) return FALSE;
        DWORD v = (DWORD)nValue;
        LONG r = ::RegSetValueExA(hKey, pszEntry, 0, REG_DWORD, (const BYTE*)&v, sizeof(v));
        ::RegCloseKey(hKey);
        return r == ERROR_SUCCESS;
    }
    char buf[16];
    snprintf(buf, sizeof(buf), "%d", nValue);
    return WriteIniValue(pszSection, pszEntry, buf);
}

CString CWinApp::GetProfileString(const char* pszSection, const char* pszEntry, const char* pszDefault)
{
    if (m_pszRegistryKey) {
        HKEY hKey = GetSectionKey(pszSection, false);
        if (!hKey) return CString(pszDefault);
        DWORD type = 0, size = 0;
        LONG r = ::RegQueryValueExA(hKey, pszEntry, nullptr, &type, nullptr, &size);
        CString result(pszDefault);
        if (r == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ) && size <= 65536) {
            std::vector<char> buf(size + 1, '\0');
            DWORD got = size;
            if (::RegQueryValueExA(hKey, pszEntry, nullptr, &type, (BYTE*)buf.data(), &got) == ERROR_SUCCESS) {
                buf[got < size ? got : size] = '\0';
                result = buf.data();
            }
        }
        ::RegCloseKey(hKey);
        return result;
    }
    std::vector<char> buf(4096);
    if (!ReadIniValue(m_pszProfileName, pszSection, pszEntry, buf)) {
        // A value longer than the buffer is kept as far as it goes.
        if (strcmp(buf.data(), kMissing) == 0) return CString(pszDefault);
    }
    return CString(buf.data());
}

BOOL CWinApp::WriteProfileString(const char* pszSection, const char* pszEntry, const char* pszValue)
{
    if (m_pszRegistryKey) {
        HKEY hKey = GetSectionKey(pszSection, true);
        if (!hKey) return FALSE;
        LONG r;
        if (!pszValue)
            r = ::RegDeleteValueA(hKey, pszEntry);
        else
            r = ::RegSetValueExA(hKey, pszEntry, 0, REG_SZ, (const BYTE*)pszValue, (DWORD)strlen(pszValue) + 1);
        ::RegCloseKey(hKey);
        return r == ERROR_SUCCESS;
    }
    if (!pszValue) return WriteIniValue(pszSection, pszEntry, nullptr);
    // One value is one line of the file: line breaks become blanks.
    CString v(pszValue);
    v.Replace("\r\n", " ");
    v.Replace('\r', ' ');
    v.Replace('\n', ' ');
    return WriteIniValue(pszSection, pszEntry, v);
}

CString EncodeProfileBinary(const BYTE* pData, UINT nBytes)
{
    CString s;
    char* p = s.GetBuffer((int)nBytes * 2);
    for (UINT i = 0; i < nBytes; ++i) {
        p[2 * i] = (char)('A' + (pData[i] & 0x0F));
        p[2 * i + 1] = (char)('A' + ((pData[i] >> 4) & 0x0F));
    }
    s.ReleaseBuffer((int)nBytes * 2);
    return s;
}

bool DecodeProfileBinary(const char* pszText, std::vector<BYTE>& out)
{
    out.clear();
    size_t n = pszText ? strlen(pszText) : 0;
    if (n % 2) return false;
    for (size_t i = 0; i < n; ++i)
        if (pszText[i] < 'A' || pszText[i] > 'P') return false;
    out.resize(n / 2);
    for (size_t i = 0; i < n / 2; ++i)
        out[i] = (BYTE)((pszText[2 * i] - 'A') | ((pszText[2 * i + 1] - 'A') << 4));
    return true;
}

BOOL CWinApp::GetProfileBinary(const char* pszSection, const char* pszEntry, BYTE** ppData, UINT* pBytes)
{
    if (!ppData || !pBytes) return FALSE;
    *ppData = nullptr;
    *pBytes = 0;
    std::vector<BYTE> data;
    if (m_pszRegistryKey) {
        HKEY hKey = GetSectionKey(pszSection, false);
        if (!hKey) return FALSE;
        DWORD type = 0, size = 0;
        LONG r = ::RegQueryValueExA(hKey, pszEntry, nullptr, &type, nullptr, &size);
        bool ok = r == ERROR_SUCCESS && type == REG_BINARY && size <= 65536;
        if (ok) {
            data.resize(size);
            DWORD got = size;
            ok = size == 0 || (::RegQueryValueExA(hKey, pszEntry, nullptr, &type, data.data(), &got) == ERROR_SUCCESS && got == size);
        }
        ::RegCloseKey(hKey);
        if (!ok) return FALSE;
    } else {
        std::vector<char> buf(4096);
        if (!ReadIniValue(m_pszProfileName, pszSection, pszEntry, buf)) return FALSE;
        if (!DecodeProfileBinary(buf.data(), data)) return FALSE;
    }
    *ppData = new BYTE[data.size() ? data.size() : 1];
    if (!data.empty()) memcpy(*ppData, data.data(), data.size());
    *pBytes = (UINT)data.size();
    return TRUE;
}

BOOL CWinApp::WriteProfileBinary(const char* pszSection, const char* pszEntry, const BYTE* pData, UINT nBytes)
{
    if (m_pszRegistryKey) {
        HKEY hKey = GetSectionKey(pszSection, true);
        if (!hKey) return FALSE;
        LONG r = ::RegSetValueExA(hKey, pszEntry, 0, REG_BINARY, pData, nBytes);
        ::RegCloseKey(hKey);
        return r == ERROR_SUCCESS;
    }
    return WriteProfileString(pszSection, pszEntry, EncodeProfileBinary(pData, nBytes));
}
