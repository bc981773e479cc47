// The Sound page in a sheet: which row controls are enabled, the file
// dialog through the common dialog seam (the record it gets, a choice, a
// cancel, a failure that writes into its buffer), playing, and Apply.
#include "ui/UiTest.h"
#include "support/FakeWorld.h"
#include "app/Messages.h"
#include "app/Settings.h"
#include "res/resource.h"
#include "ui/AlertPage.h"
#include <gtest/gtest.h>
#include <mmsystem.h>

namespace {
// What the scripted file dialog saw and answers.
struct DialogScript {
    OPENFILENAMEA seen;
    std::string initialName, filter;
    const char* answer = nullptr;    // chosen file; NULL: cancelled
    bool scribble = false;           // a failure that writes into the buffer
    int calls = 0;
} s_dialog;
BOOL WINAPI ScriptedOpen(LPOPENFILENAMEA ofn)
{
    ++s_dialog.calls;
    s_dialog.seen = *ofn;
    s_dialog.initialName = ofn->lpstrFile;
    s_dialog.filter.assign(ofn->lpstrFilter, 64);
    if (s_dialog.scribble) {
        memcpy(ofn->lpstrFile, "\x10\x04\0\0garbage", 12);
        return FALSE;
    }
    if (!s_dialog.answer) return FALSE;
    lstrcpynA(ofn->lpstrFile, s_dialog.answer, (int)ofn->nMaxFile);
    return TRUE;
}

class AlertPageTest : public ::testing::Test {
protected:
    Keep keep{ g_useSound, g_useSoundPauseStart, g_useSoundPauseEnd, g_strSoundFile, g_strSoundFilePauseStart,
               g_strSoundFilePauseEnd, AfxComDlg() };
    FakeWorld world;
    MainWindowStandIn main;
    void SetUp() override
    {
        g_useSound = g_useSoundPauseStart = g_useSoundPauseEnd = true;
        g_strSoundFile = "beepbeep.wav";
        g_strSoundFilePauseStart = "start.wav";
        g_strSoundFilePauseEnd = "end.wav";
        s_dialog = DialogScript();
        AfxComDlg().pfnGetOpenFileName = ScriptedOpen;
    }
    void RunSheet(const std::function<void(CAlertPage&, HWND sheet)>& script)
    {
        CAlertPage page;
        RunPageInSheet(page, [&](HWND sheet) { script(page, sheet); });
        EXPECT_EQ(nullptr, page.m_hPlayIcon);   // released with the window
    }
};
}  // namespace

TEST_F(AlertPageTest, RowsFollowTheirCheckBoxAndPath)
{
    RunSheet([&](CAlertPage& page, HWND sheet) {
        HWND p = page.m_hWnd;
        EXPECT_FALSE(Enabled(sheet, kApply));   // opening is no change
        EXPECT_NE(nullptr, (HICON)::SendDlgItemMessage(p, IDC_SOUND_WARN_PLAY, BM_GETIMAGE, IMAGE_ICON, 0));
        ::SetDlgItemTextA(p, IDC_SOUND_WARN_FILE, "");
        ::SetDlgItemTextA(p, IDC_SOUND_START_FILE, "");
        Click(p, IDC_SOUND_WARN);   // off
        // Edit, browse and play of row 1, then of row 2.
        struct { const char* step; bool edit1, browse1, play1, play2; } expected[] = {
            { "row 1 off", false, false, false, false },
            { "row 1 on, empty", true, true, false, false },
            { "a character typed", true, true, true, false },
        };
        for (auto& e : expected) {
            SCOPED_TRACE(e.step);
            if (&e == &expected[1]) Click(p, IDC_SOUND_WARN);
            if (&e == &expected[2]) ::SetDlgItemTextA(p, IDC_SOUND_WARN_FILE, "a");
            EXPECT_EQ(e.edit1, Enabled(p, IDC_SOUND_WARN_FILE));
            EXPECT_EQ(e.browse1, Enabled(p, IDC_SOUND_WARN_BROWSE));
            EXPECT_EQ(e.play1, Enabled(p, IDC_SOUND_WARN_PLAY));
            EXPECT_EQ(e.play2, Enabled(p, IDC_SOUND_START_PLAY));
            EXPECT_TRUE(Enabled(p, IDC_SOUND_START_FILE));
        }
        EXPECT_TRUE(Enabled(p, IDC_SOUND_END_PLAY));
        EXPECT_TRUE(Enabled(sheet, kApply));
    });
}

TEST_F(AlertPageTest, BrowseChangesThePathOnlyWhenAFileIsChosen)
{
    struct { const char* answer; bool scribble; const char* shown; bool modified; } cases[] = {
        { "C:\\Sounds\\ding.wav", false, "C:\\Sounds\\ding.wav", true },
        { nullptr, false, "beepbeep.wav", false },
        { nullptr, true, "beepbeep.wav", false },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.shown);
        s_dialog = DialogScript();
        s_dialog.answer = c.answer;
        s_dialog.scribble = c.scribble;
        RunSheet([&](CAlertPage& page, HWND sheet) {
            Click(page.m_hWnd, IDC_SOUND_WARN_BROWSE);
            ASSERT_EQ(1, s_dialog.calls);
            const OPENFILENAMEA& o = s_dialog.seen;
            EXPECT_EQ(sizeof(OPENFILENAMEA), o.lStructSize);
            EXPECT_EQ(0x00880004u, o.Flags);
            EXPECT_EQ(std::string("Sound Files (*.wav)\0*.wav\0All Files (*.*)\0*.*\0\0", 46), s_dialog.filter.substr(0, 46));
            EXPECT_EQ("beepbeep.wav", s_dialog.initialName);
            EXPECT_GE(o.nMaxFile, (DWORD)MAX_PATH);
            EXPECT_EQ(nullptr, o.lpstrTitle);
            EXPECT_EQ(sheet, o.hwndOwner);
            EXPECT_EQ(c.shown, ItemText(page.m_hWnd, IDC_SOUND_WARN_FILE));
            EXPECT_STREQ(c.shown, page.m_strWarnFile);
            EXPECT_EQ(c.modified, Enabled(sheet, kApply));
        });
    }
}

TEST_F(AlertPageTest, APathThatDoesNotFitGivesTheDialogNoName)
{
    g_strSoundFilePauseEnd = CString(std::string(5000, 'x').c_str());
    RunSheet([&](CAlertPage& page, HWND) {
        Click(page.m_hWnd, IDC_SOUND_END_BROWSE);
        EXPECT_EQ("", s_dialog.initialName);
        EXPECT_EQ(5000, page.m_strEndFile.GetLength());
    });
}

TEST_F(AlertPageTest, PlayPlaysTheRowsPathAtOnce)
{
    RunSheet([&](CAlertPage& page, HWND) {
        ::SetDlgItemTextA(page.m_hWnd, IDC_SOUND_START_FILE, "typed.wav");
        for (int id : { IDC_SOUND_WARN_PLAY, IDC_SOUND_START_PLAY, IDC_SOUND_END_PLAY }) Click(page.m_hWnd, id);
    });
    EXPECT_EQ(std::vector<std::string>({ "beepbeep.wav", "typed.wav", "end.wav" }), world.sounds);
    for (DWORD f : world.soundFlags) EXPECT_EQ((DWORD)(SND_FILENAME | SND_ASYNC), f);
}

TEST_F(AlertPageTest, ApplyStoresTheFlagsAndPathsAndPostsOnce)
{
    RunSheet([&](CAlertPage& page, HWND sheet) {
        for (int id : { IDC_SOUND_WARN, IDC_SOUND_START, IDC_SOUND_END }) Click(page.m_hWnd, id);
        main.Take(WM_SETTINGS_APPLIED);
        ::SendMessage(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
        EXPECT_EQ(1, main.Take(WM_SETTINGS_APPLIED));
    });
    EXPECT_FALSE(g_useSound || g_useSoundPauseStart || g_useSoundPauseEnd);
    EXPECT_STREQ("beepbeep.wav", g_strSoundFile);
    EXPECT_STREQ("start.wav", g_strSoundFilePauseStart);
    EXPECT_STREQ("end.wav", g_strSoundFilePauseEnd);
}
