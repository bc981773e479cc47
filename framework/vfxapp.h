// vfx application: CWinApp, the profile store, message boxes, start-up.
#pragma once
#include "vfxwnd.h"

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(const char* pszAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance();
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    void SetRegistryKey(const char* pszRegistryKey);
    HKEY GetSectionKey(const char* pszSection, bool bCreate);

    // The profile: the INI file m_pszProfileName, or the registry under
    // HKEY_CURRENT_USER\Software\<m_pszRegistryKey>\<m_pszAppName>\<section>
    // once SetRegistryKey has been called. Reads return the default when the
    // value is missing or unreadable; numbers out of the 32-bit range saturate.
    int GetProfileInt(const char* pszSection, const char* pszEntry, int nDefault);
    BOOL WriteProfileInt(const char* pszSection, const char* pszEntry, int nValue);
    CString GetProfileString(const char* pszSection, const char* pszEntry, const char* pszDefault = nullptr);
    BOOL WriteProfileString(const char* pszSection, const char* pszEntry, const char* pszValue);
    // *ppData is new[]-allocated (delete[] it); FALSE and NULL when missing or malformed.
    BOOL GetProfileBinary(const char* pszSection, const char* pszEntry, BYTE** ppData, UINT* pBytes);
    BOOL WriteProfileBinary(const char* pszSection, const char* pszEntry, const BYTE* pData, UINT nBytes);
    // Writes to the INI file between these two reach it together, when the
    // last End comes, in one replacement of the whole file: a crash, a kill
    // or a full disk meanwhile leaves it as it was, and whatever else it
    // holds (other sections, comments, other keys) is kept. Until then the
    // writes answer TRUE and reads give the file's old values; End answers
    // FALSE, the file left as it was, when the new file could not be written
    // whole or take its place. Outside such a pair every write is a batch
    // of its own. The registry is written at once, batch or not.
    void BeginProfileWrites();
    BOOL EndProfileWrites();

    void OnAppExit();

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    const char* m_pszAppName = nullptr;      // malloc'ed
    const char* m_pszProfileName = nullptr;  // malloc'ed; free() before replacing it
    const char* m_pszRegistryKey = nullptr;  // malloc'ed
    // The application object that was current before this one was built.
    CWinApp* m_pPreviousApp = nullptr;
    DECLARE_MESSAGE_MAP()

private:
    // One INI write: a value, or (remove) the key taken out.
    struct ProfileEdit {
        CString section, entry, value;
        bool remove = false;
    };
    BOOL WriteIniValue(const char* pszSection, const char* pszEntry, const char* pszValue);
    std::vector<ProfileEdit> m_profileEdits;
    int m_nProfileBatch = 0;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
const char* AfxGetAppName();
// Sets up the application object for this module (instance handle, name
// from string 57344, default profile name). Called by the entry point and
// by test programs.
void AfxWinInit(HINSTANCE hInstance);
// The process's start: InitInstance, then the message loop, then
// ExitInstance; at its end GDI+ is shut down and COM left.
int AfxWinMain(HINSTANCE hInstance);

// COM for the shell: the user-interface thread enters its apartment once,
// at the first need, and leaves it at the program's end. TRUE when the
// thread is in an apartment.
BOOL AfxComInit();
void AfxComTerm();
// ShellExecuteA inside the thread's apartment.
HINSTANCE WINAPI AfxShellExecute(HWND hWnd, LPCSTR verb, LPCSTR file, LPCSTR params, LPCSTR dir, INT show);
void AfxEnableControlContainer();

// Every message box of the program goes through here. Tests install a hook
// that records the box and answers for the user.
typedef int (*AFX_MESSAGEBOX_HOOK)(HWND hOwner, const char* text, const char* caption, UINT type);
extern AFX_MESSAGEBOX_HOOK g_pfnMessageBoxHook;
// The owner is settled first: see AfxGetModalOwner.
int AfxShowMessageBox(HWND hOwner, const char* text, const char* caption, UINT type);
// A box owned by hOwner as given (by none when hOwner is no window any
// more). It reads nothing that belongs to the user-interface thread, so a
// worker thread may show its boxes through it.
int AfxShowOwnedMessageBox(HWND hOwner, const char* text, const char* caption, UINT type);
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT nHelpID = 0);
int AfxMessageBox(UINT nIDPrompt, UINT type = MB_OK, UINT nHelpID = 0);
// Every warning beep of the program goes through here (MessageBeep); tests
// install a hook that counts the beeps.
typedef BOOL (*AFX_MESSAGEBEEP_HOOK)(UINT type);
extern AFX_MESSAGEBEEP_HOOK g_pfnMessageBeepHook;
BOOL AfxMessageBeep(UINT type);
// The owner a modal box or common dialog gets when hWanted would own it.
// While a modal dialog or sheet of the program is open, a wanted owner that
// is missing, hidden or disabled (by that modal loop) gives way to the
// innermost open modal window, so no box is left behind it. Otherwise the
// wanted owner, or the main window when it is visible, or none.
HWND AfxGetModalOwner(HWND hWanted);

// The program's translator: English text in, the chosen language's text
// out. The framework's own texts (the data-exchange prompts) go through it;
// without a hook the English text is shown.
typedef CString (*AFX_TRANSLATE_HOOK)(const char* pszEnglish);
extern AFX_TRANSLATE_HOOK g_pfnTranslateHook;
CString AfxTranslate(const char* pszEnglish);

// Reports an exception that reached a window procedure and carries on.
void AfxReportUnexpectedException();

// Letters A..P for the INI form of binary profile values: for each byte the
// low four bits, then the high four bits.
CString EncodeProfileBinary(const BYTE* pData, UINT nBytes);
// FALSE unless the text has an even number of letters, all 'A' to 'P'.
bool DecodeProfileBinary(const char* pszText, std::vector<BYTE>& out);

// The INI file's text with one value set, or with value NULL its key taken
// out. The first section of that name (names compared without case and
// without the blanks around them) is changed at its first line with the key;
// a new key goes after the section's last line that is not blank, a new
// section at the end. Every other line stays as it was, byte for byte; a
// written line ends with a carriage return and a line feed.
void SetIniValue(CString& text, const char* section, const char* entry, const char* value);
