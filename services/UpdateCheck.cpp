// The update check.
#include "services/UpdateCheck.h"
#include "services/ShellHelpers.h"
#include "engine/World.h"
#include "app/Settings.h"
#include <memory>

namespace {

const char kAgent[] = "Kestrabel AutoUpdater";
const UINT kReadBuffer = 255;
const UINT kReadLimit = 2048;
const char kVersionTag[] = "<version>";
const char kVersionEndTag[] = "</version>";
const char kPromptCaption[] = "Kestrabel Updater";
// Always the server's own answer: a cached copy would hide a new release.
const DWORD kRequestFlags = INTERNET_FLAG_TRANSFER_ASCII | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE
                            | INTERNET_FLAG_PRAGMA_NOCACHE;

// The running worker, for the wait at exit (the main frame and its handle
// may be gone by then). User-interface thread only.
HANDLE s_hRunningWorker;

void ForgetRunningWorker()
{
    if (s_hRunningWorker) ::CloseHandle(s_hRunningWorker);
    s_hRunningWorker = nullptr;
}

// The text between the tags of the lower-cased answer; FALSE when the
// opening tag is missing or stands at the very start, or the closing one is
// missing.
bool FindNewestVersion(const CString& answer, CString& newest)
{
    int tag = answer.Find(kVersionTag);
    if (tag <= 0) return false;
    int start = tag + (int)(sizeof(kVersionTag) - 1);
    int end = answer.Find(kVersionEndTag, start);
    if (end < 0) return false;
    newest = answer.Mid(start, end - start);
    return true;
}

} // namespace

int DayNumberOf(const FILETIME& ft)
{
    ULARGE_INTEGER t;
    t.LowPart = ft.dwLowDateTime;
    t.HighPart = ft.dwHighDateTime;
    DWORD thousandths = (DWORD)(t.QuadPart / 864000000ULL);   // of a day
    return (int)(thousandths / 1000);
}

int TodayDayNumber()
{
    // Seconds since 1970 to 100-nanosecond units since 1601.
    ULARGE_INTEGER t;
    t.QuadPart = (ULONGLONG)(World().Now() + 11644473600LL) * 10000000ULL;
    FILETIME ft = { t.LowPart, t.HighPart };
    return DayNumberOf(ft);
}

const char* g_pszUpdateSite = KS_UPDATE_SITE;

CString BuildUpdateCheckUrl(bool forVersionFile)
{
    // The site's address, with or without its closing slash.
    CString site(g_pszUpdateSite);
    while (!site.IsEmpty() && site[site.GetLength() - 1] == '/') site = site.Left(site.GetLength() - 1);
    CString url;
    url.Format("%s/%s?param=%u&version=%s", (const char*)site, forVersionFile ? "version.xml" : "check_version.php",
               (unsigned)g_parameters, (const char*)GetProgramVersion());
    return url;
}

DWORD WINAPI UpdateCheckThreadProc(LPVOID param)
{
    std::unique_ptr<UpdateCheckJob> job(static_cast<UpdateCheckJob*>(param));
    if (!job) return 0;
    bool completed = false, upgrade = false;
    CString error;
    try {
        CString answer;
        bool answered = false;
        {
            CInternetSession session(kAgent, 1, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
            std::unique_ptr<CInternetFile> file(session.OpenURL(job->strUrl, 1, kRequestFlags, nullptr, 0));
            if (file) {
                char buf[kReadBuffer];
                for (UINT counter = 0; counter < kReadLimit; counter += kReadBuffer) {
                    if (!file->ReadString(buf, kReadBuffer)) break;
                    answer += buf;
                }
                file->Close();
                answered = true;
            }
        }
        if (answered) {
            answer.MakeLower();
            CString newest;
            if (FindNewestVersion(answer, newest) && newest.Compare(job->strVersion) != 0) {
                CString prompt;
                prompt.Format("A new Kestrabel release is available!\n\nLast version: %s\nYour version: %s\n\n"
                              "Would you like to upgrade now?",
                              (const char*)newest, (const char*)job->strVersion);
                upgrade = AfxShowOwnedMessageBox(job->hwndNotify, prompt, kPromptCaption,
                                                 MB_ICONINFORMATION | MB_YESNO) == IDYES;
            }
            completed = true;
        }
    } catch (CException* e) {
        char buf[300];
        buf[0] = '\0';
        if (!e->GetErrorMessage(buf, sizeof(buf))) buf[0] = '\0';
        buf[sizeof(buf) - 1] = '\0';
        error = buf;
        e->Delete();
    } catch (...) {
        error.Empty();
    }
    if (!completed) {
        error.TrimRight();
        if (error.IsEmpty()) error = "Unspecified error";
        AfxShowOwnedMessageBox(job->hwndNotify, "Failed to check for updates:\n" + error, "Kestrabel", MB_OK);
        upgrade = false;
    }
    ::PostMessageA(job->hwndNotify, WM_UPDATE_CHECK_DONE, upgrade ? 1 : 0, 0);
    return completed ? 1 : 0;
}

void RememberRunningUpdateWorker(HANDLE hThread)
{
    ForgetRunningWorker();
    if (!hThread
        || !::DuplicateHandle(::GetCurrentProcess(), hThread, ::GetCurrentProcess(), &s_hRunningWorker, SYNCHRONIZE,
                              FALSE, 0))
        s_hRunningWorker = nullptr;
}

void ForgetRunningUpdateWorker()
{
    ForgetRunningWorker();
}

bool WaitForUpdateCheckToEnd(DWORD ms)
{
    if (!s_hRunningWorker) return true;
    if (::WaitForSingleObject(s_hRunningWorker, ms) == WAIT_TIMEOUT) return false;
    ForgetRunningWorker();
    return true;
}
