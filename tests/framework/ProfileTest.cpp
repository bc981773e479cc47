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
