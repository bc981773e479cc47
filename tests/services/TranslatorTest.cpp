// Language files, translation of texts, windows and menus, and the safe
// use of translated printf patterns.
#include "support/TestSupport.h"
#include "services/Translator.h"
#include "res/resource.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <set>

namespace {
class TranslatorTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(t.SetDirectory(dir.path.c_str())); }
    void Write(const std::string& name, const std::string& bytes) { WriteFileBytes(dir.File(name + ".lang"), bytes); }
    TempDir dir;
    CTranslator t;
};
}

TEST_F(TranslatorTest, EnglishAndMissingFilesLeaveAnEmptyDictionary)
{
    Write("Klingon", "Pause=Mevyap\n");
    ASSERT_TRUE(t.Load("Klingon"));
    EXPECT_EQ(t.m_strLanguage, "Klingon");
    EXPECT_TRUE(t.Load("english"));
    EXPECT_EQ(t.m_map.GetCount(), 0);
    EXPECT_TRUE(t.m_strLanguage.IsEmpty());
    ASSERT_TRUE(t.Load("Klingon"));
    EXPECT_TRUE(t.Load(""));
    EXPECT_EQ(t.m_map.GetCount(), 0);
    ASSERT_TRUE(t.Load("Klingon"));
    EXPECT_FALSE(t.Load("Vulcan"));
    EXPECT_EQ(t.m_map.GetCount(), 0);
    EXPECT_TRUE(t.m_strLanguage.IsEmpty());
    EXPECT_FALSE(t.SetDirectory(dir.File("no such folder").c_str()));
    // A name that cannot fit a path counts as a missing file.
    EXPECT_FALSE(t.Load(std::string(300, 'x').c_str()));
}

TEST_F(TranslatorTest, LineFormat)
{
    Write("Test",
          "# comment=ignored\n"
          "Ends right after=\n"
          "no equals sign\n"
          "=empty key value\n"
          "Key with blank = value with blank\n"
          "Two=a=b\n"
          "Same=first\n"
          "Same=second\n"
          "Line\\nbreak=Zeilen\\numbruch\n"
          "&Pause\\t(Alt+Click)=&Pause\\t(Alt+Klick)\r\n"
          "Case=lower\n"
          "x\n"
          "Test=Testsprache\n");
    ASSERT_TRUE(t.Load("Test"));
    EXPECT_EQ(t.Translate("# comment"), "# comment");
    EXPECT_EQ(t.Translate("Ends right after"), "Ends right after");
    EXPECT_EQ(t.Translate(""), "empty key value");
    EXPECT_EQ(t.Translate("Key with blank "), " value with blank");
    EXPECT_EQ(t.Translate("Key with blank"), "Key with blank");
    EXPECT_EQ(t.Translate("Two"), "a=b");
    EXPECT_EQ(t.Translate("Same"), "second");
    EXPECT_EQ(t.Translate("Line\nbreak"), "Zeilen\numbruch");
    EXPECT_EQ(t.Translate("&Pause\t(Alt+Click)"), "&Pause\t(Alt+Klick)");
    EXPECT_EQ(t.Translate("case"), "case");
    EXPECT_EQ(t.Translate("Test"), "Testsprache");
}

TEST_F(TranslatorTest, DamagedFilesLoadWithoutHarm)
{
    std::string longLine = std::string(300, 'k') + "=" + std::string(299, 'v') + "\n";   // 600 characters
    Write("Long", longLine + "After=ok\n");
    ASSERT_TRUE(t.Load("Long"));
    // Read in pieces of 511 and the rest, each parsed on its own.
    CString v;
    ASSERT_TRUE(t.m_map.Lookup(std::string(300, 'k').c_str(), v));
    EXPECT_EQ(v.GetLength(), 210);
    EXPECT_EQ(t.Translate("After"), "ok");

    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += (char)(i * 7 + 3);
    Write("Binary", binary);
    EXPECT_TRUE(t.Load("Binary"));

    std::string big;
    big.reserve(10 * 1024 * 1024 + 64);
    while (big.size() < 10 * 1024 * 1024) big += "key" + std::to_string(big.size()) + "=value\n";
    Write("Big", big);
    EXPECT_TRUE(t.Load("Big"));
    EXPECT_EQ(t.Translate("key0"), "value");
}

TEST_F(TranslatorTest, WindowsAndMenus)
{
    Write("Test", "Kestrabel=Turmfalke\nOK=Gut\n=leer\n&Exit=&Beenden\n&Pause\\t(Alt+Click)=&Anhalten\\t(Alt+Klick)\n");
    ASSERT_TRUE(t.Load("Test"));

    HWND top = ::CreateWindowExA(0, "STATIC", "Kestrabel", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    HWND child = ::CreateWindowExA(0, "BUTTON", "OK", WS_CHILD, 0, 0, 10, 10, top, nullptr, nullptr, nullptr);
    HWND grandchild = ::CreateWindowExA(0, "STATIC", "OK", WS_CHILD, 0, 0, 10, 10, child, nullptr, nullptr, nullptr);
    HWND empty = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, top, nullptr, nullptr, nullptr);
    CWindow w = CWnd::FromHandle(top);
    EXPECT_TRUE(t.TranslateWindow(w));
    char buf[64];
    ::GetWindowTextA(top, buf, sizeof(buf));
    EXPECT_STREQ(buf, "Turmfalke");
    ::GetWindowTextA(child, buf, sizeof(buf));
    EXPECT_STREQ(buf, "Gut");
    ::GetWindowTextA(grandchild, buf, sizeof(buf));
    EXPECT_STREQ(buf, "Gut");
    ::GetWindowTextA(empty, buf, sizeof(buf));
    EXPECT_STREQ(buf, "");            // empty texts of descendants are skipped
    ::SetWindowTextA(top, "");
    t.TranslateWindow(w);
    ::GetWindowTextA(top, buf, sizeof(buf));
    EXPECT_STREQ(buf, "leer");        // but the window's own empty text is a key
    ::DestroyWindow(top);

    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TRAY_MENU));
    CMenu* popup = menu.GetSubMenu(0);
    ASSERT_NE(popup, nullptr);
    popup->SetDefaultItem(0, TRUE);
    popup->CheckMenuItem(ID_TRAY_PAUSE, MF_BYCOMMAND | MF_CHECKED);
    popup->EnableMenuItem(ID_APP_EXIT, MF_BYCOMMAND | MF_GRAYED);
    int count = popup->GetMenuItemCount();
    EXPECT_TRUE(t.TranslateMenu(&menu));
    EXPECT_EQ(popup->GetMenuItemCount(), count);
    CString text;
    menu.GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_EQ(text, "__TRAY_POPUP__");          // a sub-menu's caption stays
    popup->GetMenuString(ID_APP_EXIT, text, MF_BYCOMMAND);
    EXPECT_EQ(text, "&Beenden");
    popup->GetMenuString(ID_TRAY_PAUSE, text, MF_BYCOMMAND);
    EXPECT_EQ(text, "&Anhalten\t(Alt+Klick)");
    // Ids, the default item, check marks and grey states survive.
    EXPECT_EQ(popup->GetMenuItemID(count - 1), (UINT)ID_APP_EXIT);
    EXPECT_EQ(popup->GetDefaultItem(0, TRUE), 0u);
    EXPECT_TRUE(popup->GetMenuState(ID_TRAY_PAUSE, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(popup->GetMenuState(ID_APP_EXIT, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(popup->GetMenuState(2, MF_BYPOSITION) & MF_SEPARATOR);
}

TEST_F(TranslatorTest, TranslatedPatternsAreUsedOnlyWhenTheyFit)
{
    Write("Test",
          "%d minutes=%d Minuten\n"
          "%dh %dm=%s Stunden\n"
          "%dd %02d:%02d=%dT %02d:%02d\n");
    ASSERT_TRUE(g_translator.SetDirectory(dir.path.c_str()));
    ASSERT_TRUE(g_translator.Load("Test"));
    EXPECT_EQ(FormatTranslated("%d minutes", 5), "5 Minuten");
    // A pattern whose conversions differ would read garbage: English instead.
    EXPECT_EQ(FormatTranslated("%dh %dm", 2, 3), "2h 3m");
    EXPECT_EQ(FormatTranslated("%dd %02d:%02d", 1, 2, 3), "1T 02:03");
    g_translator.Load("");
}

static INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

static BOOL CALLBACK CollectText(HWND hWnd, LPARAM lParam)
{
    char cls[16] = "", text[512] = "";
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    if (_stricmp(cls, "Static") == 0 || _stricmp(cls, "Button") == 0) {
        ::GetWindowTextA(hWnd, text, sizeof(text));
        ((std::vector<std::string>*)lParam)->push_back(text);
    }
    return TRUE;
}

// A text added to one of these dialogs without its German entry stays
// English in a German window.
TEST(GermanLanguageTest, EveryDialogTextHasAnEntry)
{
    CTranslator german;
    ASSERT_TRUE(german.SetDirectory((ProgramFolder() + "Languages").c_str()));
    ASSERT_TRUE(german.Load("German"));
    // Names shown as they are, and placeholders replaced before showing.
    const std::set<std::string> untranslated = { "Chart", "?? Minutes left", "System, 8", "Kestrabel 3.1",
                                                 "example.com/kestrabel" };
    HWND parent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    for (int id : { IDD_WELCOME_PAGE, IDD_TIMES_PAGE, IDD_SOUND_PAGE, IDD_TRACKING_PAGE, IDD_MISC_PAGE,
                    IDD_STATISTICS_PAGE, IDD_ABOUT_PAGE, IDD_AUTOCLEAR, IDD_DASHBOARD }) {
        HWND dlg = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id), parent, NoDialogProc, 0);
        ASSERT_TRUE(dlg) << id;
        char caption[256] = "";
        ::GetWindowTextA(dlg, caption, sizeof(caption));
        std::vector<std::string> texts = { caption };
        ::EnumChildWindows(dlg, CollectText, (LPARAM)&texts);
        ::DestroyWindow(dlg);
        for (const std::string& text : texts) {
            bool words = std::any_of(text.begin(), text.end(), [](char c) { return isalpha((unsigned char)c); });
            CString value;
            if (words && !untranslated.count(text)) {
                EXPECT_TRUE(german.m_map.Lookup(text.c_str(), value)) << "dialog " << id << ": " << text;
            }
        }
    }
    ::DestroyWindow(parent);
}

TEST(FileExistsTest, FilesOnly)
{
    TempDir dir;
    WriteFileBytes(dir.File("f.txt"), "x");
    EXPECT_TRUE(FileExists(dir.File("f.txt").c_str()));
    EXPECT_FALSE(FileExists(dir.path.c_str()));
    EXPECT_FALSE(FileExists(dir.File("none").c_str()));
    EXPECT_FALSE(FileExists(nullptr));
}
