// The Misc page in a sheet: the language list from a folder and what Apply
// does with a choice, the font sample through the font dialog seam, and the
// Startup shortcut made for real in a temporary folder given as Startup.
#include "ui/UiTest.h"
#include "app/Kestrabel.h"
#include "app/Settings.h"
#include "engine/MainFrame.h"
#include "res/resource.h"
#include "services/Translator.h"
#include "tray/TraySupport.h"
#include "ui/VisualsPage.h"
#include <gtest/gtest.h>
#include <shlobj.h>

namespace {
std::string s_startup;   // the Startup folder the seam answers
BOOL ScriptedStartup(HWND, char* path)
{
    if (s_startup.empty()) return FALSE;
    lstrcpynA(path, s_startup.c_str(), MAX_PATH);
    return TRUE;
}

// The font dialog: answers with a face and size, or cancels after writing
// into the record it was given.
const char* s_face;
int s_size;
BOOL WINAPI ScriptedFont(LPCHOOSEFONTA cf)
{
    if (!s_face) {
        memset(cf->lpLogFont, 0x5A, sizeof(LOGFONTA));
        return FALSE;
    }
    lstrcpynA(cf->lpLogFont->lfFaceName, s_face, LF_FACESIZE);
    cf->lpLogFont->lfHeight = -14;
    cf->iPointSize = s_size;
    return TRUE;
}

// A link object whose SetPath fails; everything else is refused too.
#define REFUSE(name, ...) HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return E_FAIL; }
struct FailingLink : IShellLinkA {
    int saves = 0;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** p) override { *p = nullptr; ++saves; return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    REFUSE(GetPath, LPSTR, int, WIN32_FIND_DATAA*, DWORD) REFUSE(GetIDList, LPITEMIDLIST*) REFUSE(SetIDList, LPCITEMIDLIST)
    REFUSE(GetDescription, LPSTR, int) REFUSE(SetDescription, LPCSTR) REFUSE(GetWorkingDirectory, LPSTR, int)
    REFUSE(SetWorkingDirectory, LPCSTR) REFUSE(GetArguments, LPSTR, int) REFUSE(SetArguments, LPCSTR)
    REFUSE(GetHotkey, WORD*) REFUSE(SetHotkey, WORD) REFUSE(GetShowCmd, int*) REFUSE(SetShowCmd, int)
    REFUSE(GetIconLocation, LPSTR, int, int*) REFUSE(SetIconLocation, LPCSTR, int) REFUSE(SetRelativePath, LPCSTR, DWORD)
    REFUSE(Resolve, HWND, DWORD) REFUSE(SetPath, LPCSTR)
} s_failingLink;
#undef REFUSE
HRESULT MakeFailingLink(void** p) { *p = (IShellLinkA*)&s_failingLink; return S_OK; }

class VisualsPageTest : public ::testing::Test {
protected:
    CString language = g_strLanguage, folder = g_translator.m_strDirectory;
    Keep keep{ g_strLanguage, g_trayLogFont, g_trayFontSize, g_autoCheckForUpdates, g_pfnGetStartupFolder,
               g_pfnCreateShellLink, AfxComDlg() };
    TempDir languages, startupDir;
    MessageBoxRecorder boxes;
    void SetUp() override
    {
        WriteFileBytes(languages.File("German.lang"), "German=Deutsch\n(Language)=(Sprache)\nEnglish=Englisch\n");
        WriteFileBytes(languages.File("blank.lang"), "");
        WriteFileBytes(languages.File("French.lang"), "Yes=Oui\n");
        g_translator.SetDirectory(languages.path.c_str());
        g_translator.Load("");
        g_strLanguage = "";
        memset(&g_trayLogFont, 0, sizeof(g_trayLogFont));
        lstrcpyA(g_trayLogFont.lfFaceName, "Verdana");
        g_trayLogFont.lfHeight = -11;
        g_trayFontSize = 80;
        s_startup = "";
        g_pfnGetStartupFolder = ScriptedStartup;
        AfxComDlg().pfnChooseFont = ScriptedFont;
    }
    void TearDown() override
    {
        g_translator.SetDirectory(folder);
        g_translator.Load(language);
    }
    void RunSheet(const std::function<void(CVisualsPage&, HWND sheet)>& script) { RunPage<CVisualsPage>(script); }
    static Texts Entries(CVisualsPage& page)
    {
        Texts out;
        char buf[128];
        for (int i = 0; i < page.m_comboLanguage.GetCount(); ++i) {
            ::SendMessageA(page.m_comboLanguage.m_hWnd, CB_GETLBTEXT, i, (LPARAM)buf);
            out.push_back(buf);
        }
        return out;
    }
    static std::string Selected(CVisualsPage& page)
    {
        int i = page.m_comboLanguage.GetCurSel();
        return i < 0 ? "" : Entries(page)[i];
    }
};

// The listing's order is the file system's.
Texts ListedInDirectoryOrder(const std::string& folder)
{
    Texts out = { "English" };
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((folder + "*.lang").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return out;
    do {
        std::string n = fd.cFileName;
        n = n.substr(0, n.size() - 5);
        if (n != "blank") out.push_back(n == "German" ? "Deutsch" : n);
    } while (::FindNextFileA(h, &fd));
    ::FindClose(h);
    return out;
}
}  // namespace

TEST_F(VisualsPageTest, LanguagesListedAndTheOneInForceSelected)
{
    Texts all = ListedInDirectoryOrder(languages.path);
    ASSERT_EQ(3u, all.size());
    struct { const char *inForce, *folder, *selected; size_t count; } cases[] = {
        { "", nullptr, "English", 3 },
        { "german", nullptr, "Deutsch", 3 },          // the store's case
        { "Spanish", nullptr, "English", 3 },         // its file was removed
        { "German", "C:\\no\\such\\folder", "English", 1 },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.inForce);
        g_strLanguage = c.inForce;
        if (c.folder) g_translator.m_strDirectory = c.folder;
        RunSheet([&](CVisualsPage& page, HWND) {
            EXPECT_EQ(Texts(all.begin(), all.begin() + (long)c.count), Entries(page));
            EXPECT_EQ(c.count, (size_t)page.m_astrLanguageFiles.GetSize());
            EXPECT_EQ(c.selected, Selected(page));
            EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(page.m_hWnd, IDC_MISC_LANGUAGE_NOTE)));   // English
            // A choice not applied goes with a refresh.
            page.m_comboLanguage.SetCurSel((int)c.count - 1);
            Click(page.m_hWnd, IDC_MISC_REFRESH);
            EXPECT_EQ(c.selected, Selected(page));
        });
        g_translator.m_strDirectory = languages.path.c_str();
    }
}

TEST_F(VisualsPageTest, ApplyLoadsALanguageOnlyWhenTheUserChoseOne)
{
    g_strLanguage = "german";
    g_translator.Load("German");
    RunSheet([&](CVisualsPage& page, HWND sheet) {
        EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(page.m_hWnd, IDC_MISC_LANGUAGE_NOTE)));
        EXPECT_EQ("(Sprache)", ItemText(page.m_hWnd, IDC_MISC_LANGUAGE_NOTE));
        ::SendMessage(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
        EXPECT_STREQ("german", g_strLanguage);   // no choice: nothing changes
        EXPECT_STREQ("Deutsch", g_translator.Translate("German"));
        EXPECT_EQ("English", Entries(page)[0]);   // its own name, in any language
        page.m_comboLanguage.SetCurSel(0);
        ::SendMessage(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
    });
    EXPECT_STREQ("", g_strLanguage);
    EXPECT_STREQ("German", g_translator.Translate("German"));
}

TEST_F(VisualsPageTest, FontSampleAndTheFontDialog)
{
    RunSheet([&](CVisualsPage& page, HWND sheet) {
        HWND sample = ::GetDlgItem(page.m_hWnd, IDC_MISC_FONT_SAMPLE);
        struct { const char* face; int size; const char* text; } cases[] = {
            { nullptr, 0, "8 pt. Verdana" }, { "Tahoma", 105, "10.5 pt. Tahoma" }, { nullptr, 0, "10.5 pt. Tahoma" },
        };
        for (auto& c : cases) {
            SCOPED_TRACE(c.text);
            LOGFONTA before = page.m_logFont;
            if (&c != &cases[0]) {
                s_face = c.face;
                s_size = c.size;
                Click(page.m_hWnd, IDC_MISC_SELECT_FONT);
            }
            if (!c.face) { EXPECT_EQ(0, memcmp(&before, &page.m_logFont, sizeof(before))); }   // Cancel
            EXPECT_EQ(c.text, ItemText(page.m_hWnd, IDC_MISC_FONT_SAMPLE));
            LOGFONTA shown = {};
            ::GetObjectA((HFONT)::SendMessage(sample, WM_GETFONT, 0, 0), sizeof(shown), &shown);
            EXPECT_STREQ(strchr(c.text, 'V') ? "Verdana" : "Tahoma", shown.lfFaceName);
        }
        EXPECT_TRUE(Enabled(sheet, kApply));
        ::SendMessage(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    EXPECT_STREQ("Tahoma", g_trayLogFont.lfFaceName);
    EXPECT_EQ(105, g_trayFontSize);
}

TEST_F(VisualsPageTest, ApplyRedrawsTheTrayNumberInTheNewFont)
{
    ShellRecorder shell;
    RealMainFrame main;
    CMainFrame* frame = main.frame;
    int w = ::GetSystemMetrics(SM_CXSMICON), h = ::GetSystemMetrics(SM_CYSMICON);
    auto icon = [&] {
        frame->m_dwState = STATE_WORKING;
        frame->m_nMinutesLeft = 88;
        frame->m_nPeriodMinutes = 100;
        frame->UpdateTrayIcon();
        return CapturePixels(frame->m_dcIcon.m_hDC, 0, 0, w, h);
    };
    std::vector<DWORD> verdana = icon();
    RunSheet([&](CVisualsPage& page, HWND sheet) {
        s_face = "Tahoma";
        s_size = 105;
        ::SendDlgItemMessage(page.m_hWnd, IDC_MISC_SELECT_FONT, BM_CLICK, 0, 0);
        ::SendMessage(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
        PumpMessages(50);
    });
    std::vector<DWORD> applied = icon();
    ASSERT_EQ(verdana.size(), (size_t)(w * h));
    EXPECT_NE(verdana, applied);
    frame->UpdateIconFont();   // the same font made afresh draws the same number
    EXPECT_EQ(applied, icon());
}

// The link's target and description, read back through the shell; COM is
// left balanced: the same answer as before the page made its link.
void ExpectLinkToTheProgram(const std::string& link)
{
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    IShellLinkA* sl = nullptr;
    ASSERT_TRUE(SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&sl)));
    IPersistFile* pf = nullptr;
    sl->QueryInterface(IID_IPersistFile, (void**)&pf);
    WCHAR wide[MAX_PATH];
    ::MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
    EXPECT_EQ(S_OK, pf->Load(wide, STGM_READ));
    char target[MAX_PATH] = "", desc[MAX_PATH] = "";
    sl->GetPath(target, MAX_PATH, nullptr, 0);
    sl->GetDescription(desc, MAX_PATH);
    EXPECT_STREQ(GetProgramPath(), target);
    EXPECT_STREQ("Kestrabel Break Reminder", desc);
    pf->Release();
    sl->Release();
    EXPECT_EQ(S_FALSE, ::CoInitialize(nullptr));
    ::CoUninitialize();
    ::CoUninitialize();
}

TEST_F(VisualsPageTest, StartupShortcutMadeKeptDeletedOrItsFailureShown)
{
    std::string dir = startupDir.path.substr(0, startupDir.path.size() - 1), link = startupDir.File("Kestrabel.lnk");
    std::string tooLong(MAX_PATH - 5, 'a');   // no room to append the link's name
    const char* failed = "Failed to create link to Kestrabel in the Windows Startup Folder\nError: 0x80004005";
    // The Startup folder, the link object, the file there before; whether a
    // link is there after a click on the box and OK, and the box shown.
    struct { const char* what; const std::string& startup; PFN_CREATESHELLLINK make; const char* before; bool after;
             const char* box; } cases[] = {
        { "made", dir, nullptr, nullptr, true, nullptr },
        { "an existing link (whatever it holds) deleted", dir, nullptr, "not a link", false, nullptr },
        { "a path too long: no box, no file", tooLong, nullptr, nullptr, false, nullptr },
        { "a failing link shows the code", dir, MakeFailingLink, nullptr, false, failed },
    };
    PFN_CREATESHELLLINK real = g_pfnCreateShellLink;
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        s_startup = c.startup;
        g_pfnCreateShellLink = c.make ? c.make : real;
        if (c.before) WriteFileBytes(link, c.before);
        boxes.boxes.clear();
        RunSheet([&](CVisualsPage& page, HWND sheet) {
            CString path;
            EXPECT_EQ(c.startup == dir, page.GetStartupLinkPath(path) != FALSE);
            EXPECT_STREQ(c.startup == dir ? link.c_str() : "", path);
            EXPECT_EQ(c.before != nullptr, Checked(page.m_hWnd, IDC_MISC_AUTORUN));
            ::SendMessage(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);   // kept byte for byte
            EXPECT_EQ(c.before ? c.before : "", ReadFileBytes(link));
            Click(page.m_hWnd, IDC_MISC_AUTORUN);
            ::SendMessage(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        });
        ASSERT_EQ(c.after, FileExistsA(link));
        Texts shown;
        for (auto& b : boxes.boxes) shown.push_back(b.text);
        EXPECT_EQ(c.box ? Texts{ c.box } : Texts(), shown);
        if (c.after) ExpectLinkToTheProgram(link);
    }
}

TEST_F(VisualsPageTest, CreateShortcutFailsWithoutSavingAndTellsAThreadInTheMultithreadedApartment)
{
    std::string link = startupDir.File("Kestrabel.lnk");
    // A failing SetPath.
    g_pfnCreateShellLink = MakeFailingLink;
    EXPECT_EQ(E_FAIL, CreateShortcut("C:\\x.exe", link.c_str(), "d"));
    EXPECT_EQ(0, s_failingLink.saves);
    EXPECT_FALSE(FileExistsA(link));
    EXPECT_TRUE(boxes.boxes.empty());
    // A thread in the multithreaded apartment gets the Tips box only.
    struct Run { std::string link; HRESULT hr = E_PENDING; } run;
    run.link = link;
    HANDLE h = ::CreateThread(nullptr, 0, [](LPVOID p) WINAPI -> DWORD {
        Run* r = (Run*)p;
        ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        r->hr = CreateShortcut("C:\\x.exe", r->link.c_str(), "d");
        ::CoUninitialize();
        return 0;
    }, &run, 0, nullptr);
    ASSERT_NE(nullptr, h);
    ::WaitForSingleObject(h, 10000);
    ::CloseHandle(h);
    EXPECT_EQ(0, run.hr);
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ("Could not open the COM library\n", boxes.boxes[0].text);
    EXPECT_EQ("Tips", boxes.boxes[0].caption);
    EXPECT_EQ((UINT)(MB_SYSTEMMODAL | MB_ICONINFORMATION), boxes.boxes[0].type);
    EXPECT_EQ(nullptr, boxes.boxes[0].owner);
    EXPECT_FALSE(FileExistsA(run.link));
}
