// The update check against a small HTTP server of the test's own, the
// program's version text, the last-error box and the URL opener.
#include <winsock2.h>
#include "support/TestSupport.h"
#include "support/FakeWorld.h"
#include "services/UpdateCheck.h"
#include "services/ShellHelpers.h"
#include "controls/OpenUrl.h"
#include "engine/MainFrame.h"
#include "app/Kestrabel.h"
#include "app/Settings.h"
#include "res/resource.h"
#include <gtest/gtest.h>
#include <functional>

namespace {

// ---- the server ----

// Serves one connection at a time on 127.0.0.1. Requests whose line holds
// `match` get the chosen answer; any other request (another program of the
// test run asking the same port) gets a 404.
class TestHttpServer {
public:
    // Port 0: whatever port the system has free.
    explicit TestHttpServer(unsigned short port = 0)
    {
        ::InitializeCriticalSection(&m_lock);
        m_hRelease = ::CreateEventA(nullptr, TRUE, TRUE, nullptr);
        m_hStop = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        WSADATA wsa;
        ::WSAStartup(MAKEWORD(2, 2), &wsa);
        // Another test run on this machine may hold the port for a while.
        for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < 60000; ::Sleep(250)) {
            SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
            sockaddr_in a = {};
            a.sin_family = AF_INET;
            a.sin_port = htons(port);
            a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            int size = sizeof(a);
            if (::bind(s, (sockaddr*)&a, sizeof(a)) == 0 && ::listen(s, 8) == 0
                && ::getsockname(s, (sockaddr*)&a, &size) == 0) {
                m_listen = s;
                m_port = ntohs(a.sin_port);
                break;
            }
            ::closesocket(s);
        }
        if (m_listen != INVALID_SOCKET) m_hThread = ::CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
    }
    ~TestHttpServer()
    {
        ::SetEvent(m_hStop);
        ::SetEvent(m_hRelease);
        if (m_hThread) {
            ::WaitForSingleObject(m_hThread, 10000);
            ::CloseHandle(m_hThread);
        }
        if (m_listen != INVALID_SOCKET) ::closesocket(m_listen);
        ::CloseHandle(m_hRelease);
        ::CloseHandle(m_hStop);
        ::DeleteCriticalSection(&m_lock);
    }
    bool Listening() const { return m_hThread != nullptr; }
    unsigned short Port() const { return m_port; }

    void Answer(int status, const std::string& body, const std::string& headers = "")
    {
        ::EnterCriticalSection(&m_lock);
        m_status = status;
        m_body = body;
        m_headers = headers;
        m_drop = false;
        ::LeaveCriticalSection(&m_lock);
    }
    // Resets the connection instead of answering. WinINet reports that
    // either as a failure or, now and then, as an empty answer.
    void Drop()
    {
        ::EnterCriticalSection(&m_lock);
        m_drop = true;
        ::LeaveCriticalSection(&m_lock);
    }
    // A failure that WinINet reports the same way every time: the answer
    // sends the client on to a port where nothing listens.
    void Fail() { Answer(302, "", "Location: http://127.0.0.1:1/kestrabel/version.xml\r\n"); }
    // Held requests wait (at most 20 s) until Release.
    void Hold() { ::ResetEvent(m_hRelease); }
    void Release() { ::SetEvent(m_hRelease); }
    void Match(const std::string& text)
    {
        ::EnterCriticalSection(&m_lock);
        m_match = text;
        ::LeaveCriticalSection(&m_lock);
    }
    std::vector<std::string> Requests()
    {
        ::EnterCriticalSection(&m_lock);
        std::vector<std::string> r = m_requests;
        ::LeaveCriticalSection(&m_lock);
        return r;
    }
    void ClearRequests()
    {
        ::EnterCriticalSection(&m_lock);
        m_requests.clear();
        ::LeaveCriticalSection(&m_lock);
    }

private:
    static DWORD WINAPI ThreadProc(LPVOID p)
    {
        static_cast<TestHttpServer*>(p)->Serve();
        return 0;
    }
    void Serve()
    {
        while (::WaitForSingleObject(m_hStop, 0) == WAIT_TIMEOUT) {
            fd_set set;
            FD_ZERO(&set);
            FD_SET(m_listen, &set);
            timeval tv = { 0, 100000 };
            if (::select(0, &set, nullptr, nullptr, &tv) != 1) continue;
            SOCKET c = ::accept(m_listen, nullptr, nullptr);
            if (c == INVALID_SOCKET) continue;
            Handle(c);
            ::closesocket(c);
        }
    }
    void Handle(SOCKET c)
    {
        DWORD timeout = 5000;
        ::setsockopt(c, SOL_SOCKET, SO_RCVTIMEO, (const char*)&timeout, sizeof(timeout));
        std::string head;
        char buf[2048];
        while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
            int n = ::recv(c, buf, sizeof(buf), 0);
            if (n <= 0) break;
            head.append(buf, (size_t)n);
        }
        ::EnterCriticalSection(&m_lock);
        bool ours = head.substr(0, head.find("\r\n")).find(m_match) != std::string::npos;
        if (ours) m_requests.push_back(head);
        ::LeaveCriticalSection(&m_lock);
        if (ours) {
            HANDLE both[] = { m_hRelease, m_hStop };
            ::WaitForMultipleObjects(2, both, FALSE, 20000);
        }
        ::EnterCriticalSection(&m_lock);
        bool drop = ours && m_drop;
        int status = ours ? m_status : 404;
        std::string body = ours ? m_body : std::string("<html>Not here</html>");
        std::string headers = ours ? m_headers : std::string();
        ::LeaveCriticalSection(&m_lock);
        if (drop) {
            linger hard = { 1, 0 };
            ::setsockopt(c, SOL_SOCKET, SO_LINGER, (const char*)&hard, sizeof(hard));
            return;
        }
        char line[160];
        snprintf(line, sizeof(line), "HTTP/1.1 %d %s\r\nContent-Type: text/xml\r\nContent-Length: %u\r\n", status,
                 status == 200 ? "OK" : status == 302 ? "Found" : "Not Found", (unsigned)body.size());
        std::string answer = std::string(line) + headers + "Connection: close\r\n\r\n" + body;
        for (size_t sent = 0; sent < answer.size();) {
            int n = ::send(c, answer.data() + sent, (int)(answer.size() - sent), 0);
            if (n <= 0) break;
            sent += (size_t)n;
        }
        // The client closes first, so this side never waits out the port.
        ::shutdown(c, SD_SEND);
        timeout = 500;
        ::setsockopt(c, SOL_SOCKET, SO_RCVTIMEO, (const char*)&timeout, sizeof(timeout));
        while (::recv(c, buf, sizeof(buf), 0) > 0) {}
    }

    CRITICAL_SECTION m_lock;
    SOCKET m_listen = INVALID_SOCKET;
    unsigned short m_port = 0;
    HANDLE m_hThread = nullptr, m_hRelease, m_hStop;
    int m_status = 200;
    std::string m_body, m_headers, m_match = "GET";
    bool m_drop = false;
    std::vector<std::string> m_requests;
};

// One server for the whole program on a port free at run time (two runs on
// one machine never meet); the program's update site points at it.
std::string g_site;
TestHttpServer& Server()
{
    static TestHttpServer* s_server = [] {
        TestHttpServer* server = new TestHttpServer;
        char site[64];
        sprintf(site, "http://127.0.0.1:%u/kestrabel/", (unsigned)server->Port());
        g_site = site;
        g_pszUpdateSite = g_site.c_str();
        return server;
    }();
    return *s_server;
}
std::string Site()
{
    Server();
    return g_site;
}

// The test's requests carry this "param", the real program's do not.
const BYTE kTestParameters = 201;


std::vector<std::string> g_shellOpened;
HINSTANCE WINAPI RecordShellExecute(HWND, LPCSTR verb, LPCSTR file, LPCSTR params, LPCSTR, INT show)
{
    g_shellOpened.push_back(std::string(verb ? verb : "") + " " + (file ? file : "") + (params ? " +params" : "")
                            + " " + std::to_string(show));
    return (HINSTANCE)(INT_PTR)42;
}

const char kPrompt[] = "A new Kestrabel release is available!\n\nLast version: %s\nYour version: 3.1.0.0\n\n"
                       "Would you like to upgrade now?";
std::string PromptFor(const std::string& newest)
{
    char buf[4096];
    snprintf(buf, sizeof(buf), kPrompt, newest.c_str());
    return buf;
}

// ---- the worker, run on the test's own thread ----

class UpdateAnswerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Server().Listening());
        savedParameters = g_parameters;
        g_parameters = kTestParameters;
        Server().Match("param=201&");
        Server().Release();
        Server().ClearRequests();
    }
    void TearDown() override
    {
        g_parameters = savedParameters;
        Server().Answer(200, "");
    }
    struct Result {
        DWORD exitCode = 99;
        int done = -1;   // wParam of WM_UPDATE_CHECK_DONE, -1 when none came
        std::vector<MessageBoxRecord> boxes;
    };
    // Runs a check to its end; the worker's report lands in this thread's queue.
    Result Check(int answer = IDNO, const std::string& url = "")
    {
        MessageBoxRecorder recorder(answer);
        UpdateCheckJob* job = new UpdateCheckJob;
        job->strUrl = url.empty() ? BuildUpdateCheckUrl(true) : CString(url.c_str());
        job->strVersion = GetProgramVersion();
        Result r;
        r.exitCode = UpdateCheckThreadProc(job);
        MSG msg;
        if (::PeekMessageA(&msg, (HWND)-1, WM_UPDATE_CHECK_DONE, WM_UPDATE_CHECK_DONE, PM_REMOVE)) r.done = (int)msg.wParam;
        r.boxes = recorder.boxes;
        return r;
    }
    std::string LastRequest()
    {
        std::vector<std::string> r = Server().Requests();
        return r.empty() ? std::string() : r.back();
    }
    BYTE savedParameters = 0;
};

TEST_F(UpdateAnswerTest, SameVersionAsksTheSiteAndShowsNothing)
{
    Server().Answer(200, "<?xml version=\"1.0\"?>\n<kestrabel>\n<version>3.1.0.0</version>\n</kestrabel>\n");
    Result r = Check();
    EXPECT_EQ(r.exitCode, 1u);
    EXPECT_EQ(r.done, 0);
    EXPECT_TRUE(r.boxes.empty());
    std::string request = LastRequest();
    EXPECT_EQ(request.substr(0, request.find("\r\n")),
              "GET /kestrabel/version.xml?param=201&version=3.1.0.0 HTTP/1.1");
    EXPECT_NE(request.find("User-Agent: Kestrabel AutoUpdater\r\n"), std::string::npos) << request;
}

TEST_F(UpdateAnswerTest, NewerVersionInUpperCaseTagsIsOfferedLowerCased)
{
    Server().Answer(200, "<?xml version=\"1.0\"?>\r\n<VERSION>3.2.0.0-RC1</VERSION>\r\n");
    Result no = Check(IDNO);
    ASSERT_EQ(no.boxes.size(), 1u);
    EXPECT_EQ(no.boxes[0].text, PromptFor("3.2.0.0-rc1"));
    EXPECT_EQ(no.boxes[0].caption, "Kestrabel Updater");
    EXPECT_EQ(no.boxes[0].type, (UINT)(MB_ICONINFORMATION | MB_YESNO));
    EXPECT_EQ(no.done, 0);
    EXPECT_EQ(no.exitCode, 1u);

    Result yes = Check(IDYES);
    ASSERT_EQ(yes.boxes.size(), 1u);
    EXPECT_EQ(yes.done, 1);
    EXPECT_EQ(yes.exitCode, 1u);
}

TEST_F(UpdateAnswerTest, WhereTheTagsStandDecides)
{
    struct Case { const char* body; const char* offered; } cases[] = {
        { "<version>9.9.9.9</version>", nullptr },                  // at the very start: no version
        { " <version>9.9.9.9</version>", "9.9.9.9" },
        { "x<version> 3.1.0.0</version>", " 3.1.0.0" },             // taken exactly, blank and all
        { "x<version>3.1.0.0\n</version>", "3.1.0.0\n" },
        { "x<version>3.1.0.0", nullptr },                           // no closing tag
        { "</version>x<version>3.2", nullptr },
        { "<html><body>Moved</body></html>", nullptr },
    };
    for (const Case& c : cases) {
        Server().Answer(200, c.body);
        Result r = Check();
        EXPECT_EQ(r.done, 0) << c.body;
        EXPECT_EQ(r.exitCode, 1u) << c.body;
        if (c.offered) {
            ASSERT_EQ(r.boxes.size(), 1u) << c.body;
            EXPECT_EQ(r.boxes[0].text, PromptFor(c.offered)) << c.body;
        } else {
            EXPECT_TRUE(r.boxes.empty()) << c.body;
        }
    }
}

TEST_F(UpdateAnswerTest, OnlyNineReadsAreMade)
{
    std::string lines;
    for (int i = 0; i < 8; ++i) lines += "line\n";
    // The tags on the ninth line are seen, on the tenth they are not.
    Server().Answer(200, lines + "x<version>4.0</version>\n");
    Result ninth = Check();
    ASSERT_EQ(ninth.boxes.size(), 1u);
    EXPECT_EQ(ninth.boxes[0].text, PromptFor("4.0"));

    Server().Answer(200, lines + "line\nx<version>4.0</version>\n");
    Result tenth = Check();
    EXPECT_TRUE(tenth.boxes.empty());
    EXPECT_EQ(tenth.done, 0);
    EXPECT_EQ(tenth.exitCode, 1u);

    // Each read takes at most 254 characters of a long line.
    Server().Answer(200, std::string(9 * 254 - 12, 'a') + "x<version>4.0</version>");
    EXPECT_TRUE(Check().boxes.empty());
    Server().Answer(200, std::string(9 * 254 - 24, 'a') + "x<version>4.0</version>");
    EXPECT_EQ(Check().boxes.size(), 1u);
}

TEST_F(UpdateAnswerTest, TwoKilobytesBetweenTheTagsAreShownWhole)
{
    std::string big(2048, '7');
    Server().Answer(200, "x<version>" + big + "</version>");
    Result r = Check();
    ASSERT_EQ(r.boxes.size(), 1u);
    EXPECT_EQ(r.boxes[0].text, PromptFor(big));
    EXPECT_EQ(r.done, 0);

    // Binary junk, NUL bytes included, is just text without tags.
    std::string junk;
    for (int i = 0; i < 3000; ++i) junk += (char)(i * 7);
    Server().Answer(200, junk);
    r = Check();
    EXPECT_EQ(r.exitCode, 1u);
    EXPECT_EQ(r.done, 0);
}

TEST_F(UpdateAnswerTest, NotFoundPageIsNoAnswer)
{
    Server().Answer(404, "<html><head><title>404 Not Found</title></head><body>Not Found</body></html>");
    Result r = Check();
    EXPECT_TRUE(r.boxes.empty());
    EXPECT_EQ(r.done, 0);
    EXPECT_EQ(r.exitCode, 1u);
}

TEST_F(UpdateAnswerTest, FailuresShowTheBoxThenReportDone)
{
    // Nothing listens on port 1.
    Result refused = Check(IDOK, "http://127.0.0.1:1/kestrabel/version.xml?param=201&version=3.1.0.0");
    EXPECT_EQ(refused.exitCode, 0u);
    EXPECT_EQ(refused.done, 0);
    ASSERT_EQ(refused.boxes.size(), 1u);
    EXPECT_EQ(refused.boxes[0].text.rfind("Failed to check for updates:\n", 0), 0u) << refused.boxes[0].text;
    EXPECT_GT(refused.boxes[0].text.size(), strlen("Failed to check for updates:\n"));
    EXPECT_EQ(refused.boxes[0].caption, "Kestrabel");
    EXPECT_EQ(refused.boxes[0].type, (UINT)MB_OK);

    // The answer leads to a server that refuses.
    Server().Fail();
    Result failed = Check();
    EXPECT_EQ(failed.exitCode, 0u);
    EXPECT_EQ(failed.done, 0);
    ASSERT_EQ(failed.boxes.size(), 1u);
    EXPECT_EQ(failed.boxes[0].text.rfind("Failed to check for updates:\n", 0), 0u);

    // The server hangs up without answering: a failure with its box, or an
    // empty answer, which holds no version and shows nothing.
    Server().Drop();
    Result dropped = Check();
    EXPECT_EQ(dropped.done, 0);
    if (dropped.exitCode == 0u) {
        ASSERT_EQ(dropped.boxes.size(), 1u);
        EXPECT_EQ(dropped.boxes[0].text.rfind("Failed to check for updates:\n", 0), 0u);
    } else {
        EXPECT_EQ(dropped.exitCode, 1u);
        EXPECT_TRUE(dropped.boxes.empty());
    }

    // A request that gives no file at all.
    Result noFile = Check(IDOK, "ftp://127.0.0.1:1/version.xml");
    EXPECT_EQ(noFile.exitCode, 0u);
    EXPECT_EQ(noFile.done, 0);
    ASSERT_EQ(noFile.boxes.size(), 1u);
    EXPECT_EQ(noFile.boxes[0].text, "Failed to check for updates:\nUnspecified error");
}

TEST_F(UpdateAnswerTest, AlwaysTheSitesOwnAnswer)
{
    // The request asks every cache on the way for a fresh copy, and the
    // answer is not kept: a cached copy would hide a new release.
    const std::string cacheable = "Cache-Control: public, max-age=86400\r\nLast-Modified: Mon, 01 Jan 2024 00:00:00 GMT\r\n";
    Server().Answer(200, "x<version>3.1.0.0</version>", cacheable);
    EXPECT_TRUE(Check().boxes.empty());
    Server().Answer(200, "x<version>3.3.0.0</version>", cacheable);
    Result r = Check();
    ASSERT_EQ(r.boxes.size(), 1u);
    EXPECT_EQ(r.boxes[0].text, PromptFor("3.3.0.0"));
    std::vector<std::string> requests = Server().Requests();
    ASSERT_EQ(requests.size(), 2u);
    for (const std::string& request : requests)
        EXPECT_NE(request.find("Pragma: no-cache\r\n"), std::string::npos) << request;
}

// ---- the check on the main frame ----

class UpdateFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Server().Listening());
        Server().Match("param=201&");
        Server().Release();
        Server().ClearRequests();
        Server().Answer(200, "x<version>3.1.0.0</version>");
        savedParameters = g_parameters;
        savedLastCheckDay = g_lastCheckDay;
        savedPrimary = g_isPrimaryInstance;
        savedDataDir = g_strDataDirectoryOverride;
        savedProfile = theApp.m_pszProfileName ? theApp.m_pszProfileName : "";
        free((void*)theApp.m_pszProfileName);
        theApp.m_pszProfileName = _strdup(Ini().c_str());
        g_strDataDirectoryOverride = (dir.path + "Data\\").c_str();
        g_isPrimaryInstance = true;
        g_parameters = kTestParameters;
        g_lastCheckDay = 0;
        g_shellOpened.clear();
        savedShell = g_pfnShellExecuteA;
        g_pfnShellExecuteA = RecordShellExecute;
        world.SetLocal(2026, 12, 9, 10, 0, 0);
        frame = new CMainFrame;
        theApp.m_pMainWnd = frame;
        ASSERT_TRUE(frame->Create(nullptr, "Kestrabel", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, nullptr, nullptr));
        hwnd = frame->m_hWnd;
        PumpMessages(20);
    }
    void TearDown() override
    {
        Server().Release();
        if (frame && ::IsWindow(hwnd)) {
            PumpUntil([&] { return frame->m_hUpdateThread == nullptr; }, 20000);
            frame->DestroyWindow();
        }
        WaitForUpdateCheckToEnd(20000);
        theApp.m_pMainWnd = nullptr;
        g_pfnShellExecuteA = savedShell;
        free((void*)theApp.m_pszProfileName);
        theApp.m_pszProfileName = _strdup(savedProfile.c_str());
        g_strDataDirectoryOverride = savedDataDir;
        g_isPrimaryInstance = savedPrimary;
        g_lastCheckDay = savedLastCheckDay;
        g_parameters = savedParameters;
        Server().Answer(200, "");
    }
    std::string Ini() const { return dir.File("Kestrabel.INI"); }
    int IniLastCheckDay() { return (int)::GetPrivateProfileIntA("Settings", "LastCheckDay", -1, Ini().c_str()); }
    bool WaitForRequest(DWORD ms)
    {
        return PumpUntil([] { return !Server().Requests().empty(); }, ms);
    }
    bool WaitUntilDone(DWORD ms = 20000)
    {
        return PumpUntil([&] { return frame->m_hUpdateThread == nullptr; }, ms);
    }

    TempDir dir;
    FakeWorld world;
    MessageBoxRecorder boxes{ IDNO };
    CMainFrame* frame = nullptr;
    HWND hwnd = nullptr;
    BYTE savedParameters = 0;
    int savedLastCheckDay = 0;
    bool savedPrimary = false;
    CString savedDataDir;
    std::string savedProfile;
    PFN_SHELLEXECUTEA savedShell = nullptr;
};

TEST_F(UpdateFrameTest, ArmsOnlyWhenAWeekHasPassed)
{
    const int today = TodayDayNumber();
    struct Case { int lastCheckDay; bool armed; } cases[] = {
        { 0, true }, { today, false }, { today - 6, false }, { today - 7, true }, { today - 400, true },
        { today + 3, true },   // the clock was set back
    };
    for (const Case& c : cases) {
        g_lastCheckDay = c.lastCheckDay;
        frame->m_nTimerUpdate = 0;
        frame->ArmUpdateCheck();
        EXPECT_EQ(frame->m_nTimerUpdate != 0, c.armed) << c.lastCheckDay - today;
        EXPECT_EQ(frame->KillTimer(TIMER_UPDATE_CHECK) != FALSE, c.armed) << c.lastCheckDay - today;
        frame->m_nTimerUpdate = 0;
    }

    // Armed twice: one timer.
    g_lastCheckDay = 0;
    frame->ArmUpdateCheck();
    UINT_PTR first = frame->m_nTimerUpdate;
    EXPECT_EQ(first, (UINT_PTR)TIMER_UPDATE_CHECK);
    frame->KillTimer(TIMER_UPDATE_CHECK);
    frame->ArmUpdateCheck();
    EXPECT_EQ(frame->m_nTimerUpdate, first);
    EXPECT_FALSE(frame->KillTimer(TIMER_UPDATE_CHECK));   // not set again
    frame->m_nTimerUpdate = 0;
}

TEST_F(UpdateFrameTest, WhileACheckRuns)
{
    Server().Hold();
    g_lastCheckDay = 0;
    frame->ArmUpdateCheck();
    ASSERT_NE(frame->m_nTimerUpdate, 0u);
    // The timer fires.
    frame->PostMessage(WM_TIMER, TIMER_UPDATE_CHECK, 0);
    ASSERT_TRUE(WaitForRequest(10000));
    EXPECT_EQ(frame->m_nTimerUpdate, 0u);
    ASSERT_NE(frame->m_hUpdateThread, nullptr);

    // The day of the check is in the store before the answer comes.
    EXPECT_EQ(g_lastCheckDay, TodayDayNumber());
    EXPECT_EQ(IniLastCheckDay(), TodayDayNumber());

    // A second start is refused and changes nothing.
    HANDLE running = frame->m_hUpdateThread;
    world.Advance(3 * 86400);
    EXPECT_FALSE(frame->StartUpdateCheck());
    EXPECT_EQ(frame->m_hUpdateThread, running);
    EXPECT_EQ(IniLastCheckDay(), TodayDayNumber() - 3);

    // The tray command opens the download page meanwhile.
    frame->SendMessage(WM_COMMAND, ID_TRAY_CHECK_UPDATES, 0);
    ASSERT_EQ(g_shellOpened.size(), 1u);
    EXPECT_EQ(g_shellOpened[0], "open " + Site() + "check_version.php?param=201&version=3.1.0.0 5");

    Server().Release();
    ASSERT_TRUE(WaitUntilDone());
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(Server().Requests().size(), 1u);
    EXPECT_TRUE(WaitForUpdateCheckToEnd(5000));
}

TEST_F(UpdateFrameTest, YesOpensTheDownloadPageNoOnlyEndsTheCheck)
{
    Server().Answer(200, "<?xml version=\"1.0\"?><version>3.2.0.0</version>");
    boxes.answer = IDNO;
    ASSERT_TRUE(frame->StartUpdateCheck());
    ASSERT_TRUE(WaitUntilDone());
    EXPECT_EQ(boxes.boxes.size(), 1u);
    EXPECT_TRUE(g_shellOpened.empty());

    boxes.answer = IDYES;
    ASSERT_TRUE(frame->StartUpdateCheck());
    ASSERT_TRUE(WaitUntilDone());
    EXPECT_EQ(boxes.boxes.size(), 2u);
    ASSERT_EQ(g_shellOpened.size(), 1u);
    EXPECT_EQ(g_shellOpened[0], "open " + Site() + "check_version.php?param=201&version=3.1.0.0 5");
}

TEST_F(UpdateFrameTest, FailedCheckStillEnds)
{
    Server().Fail();
    ASSERT_TRUE(frame->StartUpdateCheck());
    ASSERT_TRUE(WaitUntilDone());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text.rfind("Failed to check for updates:\n", 0), 0u);
    EXPECT_TRUE(g_shellOpened.empty());
    // The next check can start.
    Server().Answer(200, "x<version>3.1.0.0</version>");
    EXPECT_TRUE(frame->StartUpdateCheck());
    EXPECT_TRUE(WaitUntilDone());
}

// A modal window of the interface thread (the first run's sheet) owns none of
// the worker's boxes: the main window it was given owns prompt and failure box.
TEST_F(UpdateFrameTest, TheWorkersBoxesBelongToTheMainWindowWhateverIsModal)
{
    CWnd modal;
    ASSERT_TRUE(modal.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, 0));
    AfxPushModal(&modal);
    Server().Answer(200, "x<version>3.2.0.0</version>");
    EXPECT_TRUE(frame->StartUpdateCheck() && WaitUntilDone());
    Server().Fail();
    EXPECT_TRUE(frame->StartUpdateCheck() && WaitUntilDone());
    AfxPopModal(&modal);
    modal.DestroyWindow();
    ASSERT_EQ(boxes.boxes.size(), 2u);
    for (const MessageBoxRecord& box : boxes.boxes) EXPECT_EQ(box.owner, hwnd) << box.text;
}

TEST_F(UpdateFrameTest, ExitGivesTheWorkerABoundedTime)
{
    Server().Hold();
    ASSERT_TRUE(frame->StartUpdateCheck());
    ASSERT_TRUE(WaitForRequest(10000));
    DWORD start = ::GetTickCount();
    EXPECT_FALSE(WaitForUpdateCheckToEnd(300));
    EXPECT_LT(::GetTickCount() - start, 2000u);
    Server().Release();
    EXPECT_TRUE(WaitForUpdateCheckToEnd(10000));
    EXPECT_TRUE(WaitUntilDone());
}

TEST_F(UpdateFrameTest, WorkerNeedsNothingTheExitTearsDown)
{
    Server().Hold();
    Server().Fail();
    ASSERT_TRUE(frame->StartUpdateCheck());
    ASSERT_TRUE(WaitForRequest(10000));
    // The program ends meanwhile: its window goes, the application object's
    // name and main window with it.
    frame->DestroyWindow();
    frame = nullptr;
    theApp.m_pMainWnd = nullptr;
    const char* name = theApp.m_pszAppName;
    theApp.m_pszAppName = "torn down";
    Server().Release();
    bool ended = WaitForUpdateCheckToEnd(10000);
    theApp.m_pszAppName = name;
    ASSERT_TRUE(ended);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "Kestrabel");
    EXPECT_EQ(boxes.boxes[0].text.rfind("Failed to check for updates:\n", 0), 0u);
}

// ---- the day number, the version, the last-error box ----

TEST(UpdateCheckDayNumber, WholeDaysSince1601)
{
    SYSTEMTIME st = { 2024, 1, 1, 1, 0, 0, 0, 0 };
    FILETIME ft;
    ASSERT_TRUE(::SystemTimeToFileTime(&st, &ft));
    EXPECT_EQ(DayNumberOf(ft), 154497);
    st = { 2024, 1, 1, 1, 23, 59, 59, 999 };
    ::SystemTimeToFileTime(&st, &ft);
    EXPECT_EQ(DayNumberOf(ft), 154497);
    st = { 2024, 1, 2, 2, 0, 0, 0, 0 };
    ::SystemTimeToFileTime(&st, &ft);
    EXPECT_EQ(DayNumberOf(ft), 154498);
    FILETIME zero = { 0, 0 };
    EXPECT_EQ(DayNumberOf(zero), 0);

    FakeWorld world;
    world.now = 1704067200;   // 2024-01-01 00:00:00 UTC
    EXPECT_EQ(TodayDayNumber(), 154497);
}

TEST(UpdateCheckUrls, SiteFileAndQuery)
{
    BYTE saved = g_parameters;
    g_parameters = 4;
    const char* site = g_pszUpdateSite;
    g_pszUpdateSite = "http://127.0.0.1:18231/kestrabel/";
    EXPECT_EQ(std::string(BuildUpdateCheckUrl(true)), "http://127.0.0.1:18231/kestrabel/version.xml?param=4&version=3.1.0.0");
    g_parameters = 255;
    EXPECT_EQ(std::string(BuildUpdateCheckUrl(false)),
              "http://127.0.0.1:18231/kestrabel/check_version.php?param=255&version=3.1.0.0");
    // With or without the closing slash.
    g_pszUpdateSite = "http://example.test/k";
    EXPECT_EQ(std::string(BuildUpdateCheckUrl(true)), "http://example.test/k/version.xml?param=255&version=3.1.0.0");
    g_pszUpdateSite = site;
    g_parameters = saved;
}

// A version resource with one string block (language and code page as
// eight hex digits) holding "FileVersion".
std::string VersionResource(const char* block, const wchar_t* fileVersion)
{
    auto node = [](const char* key, const std::string& value, WORD valueLength, WORD type, const std::string& children) {
        std::string b(6, '\0');
        for (const char* p = key;; ++p) {
            b += *p;
            b += '\0';
            if (!*p) break;
        }
        while (b.size() % 4) b += '\0';
        b += value;
        if (!children.empty())
            while (b.size() % 4) b += '\0';
        b += children;
        WORD len = (WORD)b.size();
        memcpy(&b[0], &len, 2);
        memcpy(&b[2], &valueLength, 2);
        memcpy(&b[4], &type, 2);
        while (b.size() % 4) b += '\0';
        return b;
    };
    std::string text((const char*)fileVersion, (wcslen(fileVersion) + 1) * sizeof(wchar_t));
    std::string str = node("FileVersion", text, (WORD)(wcslen(fileVersion) + 1), 1, "");
    std::string table = node(block, "", 0, 1, str);
    std::string info = node("StringFileInfo", "", 0, 1, table);
    VS_FIXEDFILEINFO fixed = {};
    fixed.dwSignature = 0xFEEF04BD;
    fixed.dwStrucVersion = 0x00010000;
    return node("VS_VERSION_INFO", std::string((const char*)&fixed, sizeof(fixed)), sizeof(fixed), 0, info);
}

// A copy of the hook library carrying only the given version resource.
std::string LibraryWithVersion(const TempDir& dir, const char* name, const std::string& resource)
{
    std::string path = dir.File(name);
    if (!::CopyFileA((ProgramFolder() + "tapvex.dll").c_str(), path.c_str(), FALSE)) return "";
    HANDLE h = ::BeginUpdateResourceA(path.c_str(), TRUE);
    if (!h) return "";
    ::UpdateResourceA(h, RT_VERSION, MAKEINTRESOURCEA(1), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                      (void*)resource.data(), (DWORD)resource.size());
    if (!::EndUpdateResourceA(h, FALSE)) return "";
    return path;
}

TEST(ProgramVersion, FromTheVersionResourceOrTheFallback)
{
    EXPECT_EQ(std::string(GetProgramVersion()), "3.1.0.0");

    TempDir dir;
    WriteFileBytes(dir.File("plain.txt"), "no resources here");
    EXPECT_EQ(std::string(GetFileVersionText(dir.File("plain.txt").c_str())), "2.X.X.X");
    EXPECT_EQ(std::string(GetFileVersionText(dir.File("missing.dll").c_str())), "2.X.X.X");
    EXPECT_EQ(std::string(GetFileVersionText("")), "2.X.X.X");

    // Blanks and tabs go, commas become dots.
    std::string us = LibraryWithVersion(dir, "us.dll", VersionResource("040904b0", L" 1, 2,\t3, 4 "));
    ASSERT_FALSE(us.empty());
    EXPECT_EQ(std::string(GetFileVersionText(us.c_str())), "1.2.3.4");
    // A version resource without the US English block: the query fails.
    std::string german = LibraryWithVersion(dir, "de.dll", VersionResource("040704b0", L"9, 9, 9, 9"));
    ASSERT_FALSE(german.empty());
    EXPECT_EQ(std::string(GetFileVersionText(german.c_str())), "2.X.X.X");
}

TEST(ShowLastErrorTest, SystemTextWithoutInsertsOrTheNumber)
{
    MessageBoxRecorder recorder;
    ::SetLastError(ERROR_BAD_EXE_FORMAT);
    ShowLastError("Failed to start", MB_ICONEXCLAMATION);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    const MessageBoxRecord& box = recorder.boxes[0];
    EXPECT_EQ(box.caption, "Kestrabel");
    EXPECT_EQ(box.type, (UINT)(MB_ICONEXCLAMATION | MB_TASKMODAL | MB_SETFOREGROUND));
    // The insert stays as it is.
    EXPECT_EQ(box.text.rfind("Failed to start:\n", 0), 0u) << box.text;
    EXPECT_NE(box.text.find("%1"), std::string::npos) << box.text;

    ::SetLastError(ERROR_FILE_NOT_FOUND);
    ShowLastError("", MB_OK);
    ShowLastError(nullptr, MB_OK);
    ASSERT_EQ(recorder.boxes.size(), 3u);
    EXPECT_FALSE(recorder.boxes[1].text.empty());
    EXPECT_EQ(recorder.boxes[1].text.find(":\n"), std::string::npos);
    EXPECT_EQ(recorder.boxes[2].text, recorder.boxes[1].text);

    // A code the system has no text for.
    ::SetLastError(0x20001234);
    ShowLastError("Oops", MB_OK);
    ASSERT_EQ(recorder.boxes.size(), 4u);
    EXPECT_EQ(recorder.boxes[3].text, "Oops:\nError 536875572.");
}

// ---- the URL opener ----

std::vector<std::string> g_winExec;
UINT g_winExecResult = 33;
UINT WINAPI RecordWinExec(LPCSTR command, UINT show)
{
    g_winExec.push_back(std::string(command ? command : "") + " |" + std::to_string(show));
    return g_winExecResult;
}
INT_PTR g_shellResult = 42;
HINSTANCE WINAPI ShellAnswer(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT show)
{
    g_shellOpened.push_back(std::string(verb ? verb : "") + " " + (file ? file : "") + " " + std::to_string(show));
    return (HINSTANCE)g_shellResult;
}

// Registers a web-page handler of the test's own under HKEY_CLASSES_ROOT
// and puts back what was there.
class HtmRegistration {
public:
    explicit HtmRegistration(const char* command)
    {
        had = ReadRegistryDefault(HKEY_CLASSES_ROOT, ".htm", previous, sizeof(previous)) == ERROR_SUCCESS;
        ok = Set(".htm", "KestrabelTestPage") && Set("KestrabelTestPage\\shell\\open\\command", command);
    }
    ~HtmRegistration()
    {
        if (had) Set(".htm", previous);
        else ::RegDeleteKeyA(HKEY_CLASSES_ROOT, ".htm");
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, "KestrabelTestPage\\shell\\open\\command");
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, "KestrabelTestPage\\shell\\open");
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, "KestrabelTestPage\\shell");
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, "KestrabelTestPage");
    }
    static bool Set(const char* key, const char* value)
    {
        HKEY h;
        if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr) != ERROR_SUCCESS)
            return false;
        bool done = ::RegSetValueExA(h, nullptr, 0, REG_SZ, (const BYTE*)value, (DWORD)strlen(value) + 1) == ERROR_SUCCESS;
        ::RegCloseKey(h);
        return done;
    }
    bool ok = false, had = false;
    char previous[520] = "";
};

class OpenUrlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_shellOpened.clear();
        g_winExec.clear();
        g_shellResult = 42;
        g_winExecResult = 33;
        g_pfnShellExecuteA = ShellAnswer;
        g_pfnWinExec = RecordWinExec;
    }
    void TearDown() override
    {
        g_pfnShellExecuteA = savedShell;
        g_pfnWinExec = savedWinExec;
    }
    PFN_SHELLEXECUTEA savedShell = g_pfnShellExecuteA;
    PFN_WINEXEC savedWinExec = g_pfnWinExec;
};

TEST_F(OpenUrlTest, TheShellFirstThenTheRegisteredCommand)
{
    const char* url = "http://www.example.com/a?b=1&c=2";
    EXPECT_EQ(OpenUrl(url, SW_SHOW), 42);
    ASSERT_EQ(g_shellOpened.size(), 1u);
    EXPECT_EQ(g_shellOpened[0], std::string("open ") + url + " 5");
    EXPECT_TRUE(g_winExec.empty());

    HtmRegistration reg("\"C:\\Program Files\\Browser\\browse.exe\" -page \"%1\"");
    ASSERT_TRUE(reg.ok);
    g_shellResult = 33;   // success
    EXPECT_EQ(OpenUrl(url, SW_SHOW), 33);
    EXPECT_TRUE(g_winExec.empty());

    g_shellResult = 32;   // failure: the registered command runs
    EXPECT_EQ(OpenUrl(url, SW_SHOWMAXIMIZED), 33);
    ASSERT_EQ(g_winExec.size(), 1u);
    EXPECT_EQ(g_winExec[0], std::string("\"C:\\Program Files\\Browser\\browse.exe\" -page  ") + url + " |3");

    // A command line that does not fit is not run: the shell's answer stays.
    g_winExec.clear();
    std::string longUrl = "http://www.example.com/" + std::string(600, 'x');
    EXPECT_EQ(OpenUrl(longUrl.c_str(), SW_SHOW), 32);
    EXPECT_TRUE(g_winExec.empty());
}

TEST_F(OpenUrlTest, CommandLineIsCutAtThePlaceholder)
{
    struct Case { const char* registered; const char* expected; } cases[] = {
        { "\"C:\\b.exe\" -x \"%1\"", "\"C:\\b.exe\" -x  U" },
        { "C:\\b.exe -x %1 -y", "C:\\b.exe -x  U" },
        { "C:\\b.exe %1 \"%1\"", "C:\\b.exe %1  U" },
        { "C:\\b.exe -x", "C:\\b.exe -x U" },
        { "", " U" },
    };
    for (const Case& c : cases) {
        char out[520];
        ASSERT_TRUE(BuildOpenCommand(c.registered, "U", out, sizeof(out))) << c.registered;
        EXPECT_STREQ(out, c.expected);
    }

    // Too long for the buffer: nothing is written past it.
    std::string registered(500, 'c');
    char buf[530];
    memset(buf, '#', sizeof(buf));
    EXPECT_FALSE(BuildOpenCommand(registered.c_str(), "http://www.example.com/page", buf, 520));
    EXPECT_EQ(buf[0], '\0');
    for (size_t i = 520; i < sizeof(buf); ++i) EXPECT_EQ(buf[i], '#');
    std::string fits(520 - 3, 'c');
    EXPECT_TRUE(BuildOpenCommand(fits.c_str(), "U", buf, 520));
    EXPECT_EQ(strlen(buf), 519u);
}

TEST_F(OpenUrlTest, RegistryValueReadSafely)
{
    const char* key = "Software\\Kestrabel Tests\\OpenUrl";
    HKEY h;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr), ERROR_SUCCESS);
    char out[520];

    // Stored without its terminator.
    ASSERT_EQ(::RegSetValueExA(h, nullptr, 0, REG_SZ, (const BYTE*)"abcXYZ", 3), ERROR_SUCCESS);
    memset(out, '#', sizeof(out));
    EXPECT_EQ(ReadRegistryDefault(HKEY_CURRENT_USER, key, out, sizeof(out)), ERROR_SUCCESS);
    EXPECT_STREQ(out, "abc");

    // Longer than the 260 bytes read: an error, nothing copied.
    std::string big(300, 'b');
    ::RegSetValueExA(h, nullptr, 0, REG_SZ, (const BYTE*)big.c_str(), (DWORD)big.size() + 1);
    EXPECT_NE(ReadRegistryDefault(HKEY_CURRENT_USER, key, out, sizeof(out)), ERROR_SUCCESS);
    EXPECT_STREQ(out, "");

    // Not a string.
    DWORD number = 7;
    ::RegSetValueExA(h, nullptr, 0, REG_DWORD, (const BYTE*)&number, sizeof(number));
    EXPECT_EQ(ReadRegistryDefault(HKEY_CURRENT_USER, key, out, sizeof(out)), ERROR_INVALID_DATA);

    // Does not fit the caller's buffer.
    ::RegSetValueExA(h, nullptr, 0, REG_SZ, (const BYTE*)"abcdefgh", 9);
    char small[4] = "##";
    EXPECT_EQ(ReadRegistryDefault(HKEY_CURRENT_USER, key, small, sizeof(small)), ERROR_MORE_DATA);
    EXPECT_STREQ(small, "");

    ::RegCloseKey(h);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, key);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Kestrabel Tests");
    EXPECT_EQ(ReadRegistryDefault(HKEY_CURRENT_USER, key, out, sizeof(out)), ERROR_FILE_NOT_FOUND);
}

} // namespace
