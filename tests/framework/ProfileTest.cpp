// The profile store in both forms: INI file and registry.
#include "support/TestSupport.h"
#include <gtest/gtest.h>

namespace {
// An application object of its own pointed at a temporary INI file or a
// scratch registry key; the program's theApp stays untouched.
class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ini = dir.File("store.ini");
        app.m_pszProfileName = _strdup(ini.c_str());
    }
    void TearDown() override
    {
        ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VfxProfileTest\\Probe\\Settings");
        ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VfxProfileTest\\Probe");
        ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VfxProfileTest");
    }
    void UseRegistry()
    {
        free((void*)app.m_pszAppName);
        app.m_pszAppName = _strdup("Probe");
        app.SetRegistryKey("VfxProfileTest");
    }
    TempDir dir;
    std::string ini;
    CWinApp app{ "Probe" };
};
}

TEST_F(ProfileTest, IniNumbersParseSafely)
{
    app.WriteProfileInt("Settings", "Neg", -13);
    EXPECT_EQ(app.GetProfileInt("Settings", "Neg", 0), -13);
    EXPECT_EQ(app.GetProfileInt("Settings", "Missing", 77), 77);
    ::WritePrivateProfileStringA("Settings", "Huge", "99999999999999999999", ini.c_str());
    EXPECT_EQ(app.GetProfileInt("Settings", "Huge", 0), INT_MAX);
    ::WritePrivateProfileStringA("Settings", "HugeNeg", "-99999999999999999999", ini.c_str());
    EXPECT_EQ(app.GetProfileInt("Settings", "HugeNeg", 0), INT_MIN);
    ::WritePrivateProfileStringA("Settings", "Junk", "abc", ini.c_str());
    EXPECT_EQ(app.GetProfileInt("Settings", "Junk", 5), 5);
    ::WritePrivateProfileStringA("Settings", "Lead", " 42xyz", ini.c_str());
    EXPECT_EQ(app.GetProfileInt("Settings", "Lead", 5), 42);
}

TEST_F(ProfileTest, IniStringsStayOnOneLine)
{
    ASSERT_TRUE(app.WriteProfileString("Settings", "Message", "first line\r\nsecond\nthird\rfourth"));
    ASSERT_TRUE(app.WriteProfileString("Settings", "Next", "after"));
    EXPECT_EQ(app.GetProfileString("Settings", "Message"), "first line second third fourth");
    EXPECT_EQ(app.GetProfileString("Settings", "Next"), "after");
    EXPECT_EQ(app.GetProfileString("Settings", "Missing", "dflt"), "dflt");
    std::string file = ReadFileBytes(ini);
    EXPECT_NE(file.find("Message=first line second third fourth"), std::string::npos);
}

TEST_F(ProfileTest, BinaryLettersRoundTripAndRejectDamage)
{
    BYTE data[60];
    for (int i = 0; i < 60; ++i) data[i] = (BYTE)(i * 37);
    ASSERT_TRUE(app.WriteProfileBinary("Settings", "Font", data, sizeof(data)));
    std::string letters(app.GetProfileString("Settings", "Font"));
    ASSERT_EQ(letters.size(), 120u);
    EXPECT_EQ(letters.substr(0, 4), "AAFC");   // 0x00, then 0x25: low 5 'F', high 2 'C'
    BYTE* out = nullptr;
    UINT n = 0;
    ASSERT_TRUE(app.GetProfileBinary("Settings", "Font", &out, &n));
    ASSERT_EQ(n, 60u);
    EXPECT_EQ(memcmp(out, data, 60), 0);
    delete[] out;

    for (const char* bad : { "ABC", "AQ", "ab", "A B " }) {
        app.WriteProfileString("Settings", "Bad", bad);
        out = (BYTE*)1;
        EXPECT_FALSE(app.GetProfileBinary("Settings", "Bad", &out, &n)) << bad;
        EXPECT_EQ(out, nullptr);
    }
    std::vector<BYTE> decoded;
    EXPECT_TRUE(DecodeProfileBinary("", decoded));
    EXPECT_TRUE(decoded.empty());
}

TEST_F(ProfileTest, RegistryUsesTypedValues)
{
    UseRegistry();
    ASSERT_TRUE(app.WriteProfileInt("Settings", "Number", -5));
    ASSERT_TRUE(app.WriteProfileString("Settings", "Text", "two\nlines"));
    BYTE data[3] = { 1, 2, 3 };
    ASSERT_TRUE(app.WriteProfileBinary("Settings", "Blob", data, 3));

    HKEY key;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\VfxProfileTest\\Probe\\Settings", 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD type = 0, size = 0;
    ::RegQueryValueExA(key, "Number", nullptr, &type, nullptr, &size);
    EXPECT_EQ(type, (DWORD)REG_DWORD);
    ::RegQueryValueExA(key, "Text", nullptr, &type, nullptr, &size);
    EXPECT_EQ(type, (DWORD)REG_SZ);
    ::RegQueryValueExA(key, "Blob", nullptr, &type, nullptr, &size);
    EXPECT_EQ(type, (DWORD)REG_BINARY);
    // A value of the wrong type reads as missing.
    ::RegSetValueExA(key, "WrongType", 0, REG_SZ, (const BYTE*)"12", 3);
    ::RegCloseKey(key);

    EXPECT_EQ(app.GetProfileInt("Settings", "Number", 0), -5);
    EXPECT_EQ(app.GetProfileString("Settings", "Text"), "two\nlines");
    EXPECT_EQ(app.GetProfileInt("Settings", "WrongType", 9), 9);
    BYTE* out = nullptr;
    UINT n = 0;
    ASSERT_TRUE(app.GetProfileBinary("Settings", "Blob", &out, &n));
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(out[2], 3);
    delete[] out;
    EXPECT_FALSE(app.GetProfileBinary("Settings", "Text", &out, &n));
}

// The INI file's text with one value changed: what the program does not
// write stays byte for byte.
TEST(IniText, SetsOneValueAndKeepsEveryOtherLine)
{
    struct {
        const char* before;
        const char* entry;
        const char* value;   // NULL: remove
        const char* after;
    } cases[] = {
        { "", "Delay", "20", "[Settings]\r\nDelay=20\r\n" },
        { "; mine\r\n[Other]\r\nDelay=1", "Delay", "20", "; mine\r\n[Other]\r\nDelay=1\r\n[Settings]\r\nDelay=20\r\n" },
        { "[settings]\nDelay = +20\nKeep=1\n", "Delay", "20", "[settings]\nDelay=20\r\nKeep=1\n" },
        { " [ Settings ] \r\n  delay=01\r\n", "Delay", "1", " [ Settings ] \r\nDelay=1\r\n" },
        { "[Settings]\r\nA=1\r\n\r\n[Next]\r\nB=2\r\n", "New", "x", "[Settings]\r\nA=1\r\nNew=x\r\n\r\n[Next]\r\nB=2\r\n" },
        { "[Settings]\r\nA=1", "New", "x", "[Settings]\r\nA=1\r\nNew=x\r\n" },
        { "[Settings]\r\nDelay=5", "Delay", "6", "[Settings]\r\nDelay=6" },
        // Only the first section of the name and the first line of the key.
        { "[Settings]\r\nX=1\r\nX=2\r\n[Settings]\r\nX=3\r\n", "X", "9", "[Settings]\r\nX=9\r\nX=2\r\n[Settings]\r\nX=3\r\n" },
        // A comment or a line without '=' is no key; the value may hold '='.
        { "[Settings]\r\n;Delay=5\r\nDelay\r\n", "Delay", "a=b", "[Settings]\r\n;Delay=5\r\nDelay\r\nDelay=a=b\r\n" },
        { "[Settings]\r\nGone=1\r\nKeep=2\r\n", "Gone", nullptr, "[Settings]\r\nKeep=2\r\n" },
        { "[Settings]\r\nKeep=2\r\n", "Missing", nullptr, "[Settings]\r\nKeep=2\r\n" },
    };
    for (const auto& c : cases) {
        CString text(c.before);
        SetIniValue(text, "Settings", c.entry, c.value);
        EXPECT_EQ(std::string(text.GetString(), (size_t)text.GetLength()), c.after) << c.before;
    }
}

// A batch reaches the file whole or not at all; the file keeps its form.
TEST_F(ProfileTest, IniBatchesReplaceTheFileWholeOrNotAtAll)
{
    WriteFileBytes(ini, "; kept\r\n[Settings]\r\nPause=+02\r\nUnknown=yes\r\n[Other]\r\nX=1\r\n");
    app.BeginProfileWrites();
    EXPECT_TRUE(app.WriteProfileInt("Settings", "Pause", 2));
    EXPECT_TRUE(app.WriteProfileString("Settings", "Message", "hi"));
    EXPECT_EQ(app.GetProfileString("Settings", "Message", "old"), "old");   // not yet in the file
    ASSERT_TRUE(app.EndProfileWrites());
    EXPECT_EQ(ReadFileBytes(ini), "; kept\r\n[Settings]\r\nPause=2\r\nUnknown=yes\r\nMessage=hi\r\n[Other]\r\nX=1\r\n");
    EXPECT_EQ(app.GetProfileString("Settings", "Message"), "hi");
    EXPECT_FALSE(FileExistsA(ini + ".tmp"));

    // A read-only file, one that another program holds open, or a folder
    // where the file beside it would go: the batch fails and the file stays
    // as it was.
    const std::string before = ReadFileBytes(ini);
    ::SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(app.WriteProfileInt("Settings", "Pause", 3));
    ::SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE holder = ::CreateFileA(ini.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    EXPECT_FALSE(app.WriteProfileInt("Settings", "Pause", 5));
    ::CloseHandle(holder);
    ::CreateDirectoryA((ini + ".tmp").c_str(), nullptr);
    EXPECT_FALSE(app.WriteProfileInt("Settings", "Pause", 4));
    ::RemoveDirectoryA((ini + ".tmp").c_str());
    EXPECT_EQ(ReadFileBytes(ini), before);
    EXPECT_EQ(app.GetProfileInt("Settings", "Pause", 0), 2);

    // A file in UTF-16 stays in UTF-16, its other lines untouched.
    const std::string utf16("\xFF\xFE[\0S\0e\0t\0t\0i\0n\0g\0s\0]\0\r\0\n\0\xE9\0=\0\x31\0\r\0\n\0", 36);
    WriteFileBytes(ini, utf16);
    ASSERT_TRUE(app.WriteProfileString("Settings", "A", "b"));
    EXPECT_EQ(ReadFileBytes(ini), utf16 + std::string("A\0=\0b\0\r\0\n\0", 10));
}
