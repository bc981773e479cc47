// The table of settings keys: every key written and read back through it,
// in the store's order, starting from the settings' initial values.
#include "support/TestSupport.h"
#include "app/Kestrabel.h"
#include "app/Settings.h"
#include "engine/BreakSettings.h"
#include <gtest/gtest.h>
#include <set>

namespace {
// One key's value, whatever its type.
struct Held {
    bool flag = false;
    int number = 0;
    CString text;
    LOGFONTA font = {};
    BYTE byte = 0;
};

Held Get(const SettingKey& k, BreakSettings& record)
{
    Held h;
    switch (k.type) {
    case SETTING_FLAG: h.flag = k.Value<bool>(record); break;
    case SETTING_INT:
    case SETTING_MINUTES: h.number = k.Value<int>(record); break;
    case SETTING_STRING: h.text = k.Value<CString>(record); break;
    case SETTING_FONT: h.font = k.Value<LOGFONTA>(record); break;
    case SETTING_BYTE: h.byte = k.Value<BYTE>(record); break;
    }
    return h;
}

void Set(const SettingKey& k, BreakSettings& record, const Held& h)
{
    switch (k.type) {
    case SETTING_FLAG: k.Value<bool>(record) = h.flag; break;
    case SETTING_INT:
    case SETTING_MINUTES: k.Value<int>(record) = h.number; break;
    case SETTING_STRING: k.Value<CString>(record) = h.text; break;
    case SETTING_FONT: k.Value<LOGFONTA>(record) = h.font; break;
    case SETTING_BYTE: k.Value<BYTE>(record) = h.byte; break;
    }
}

// The key's initial value as the table gives it.
Held Default(const SettingKey& k)
{
    Held h;
    h.flag = k.nDefault != 0;
    h.number = k.nDefault;
    h.text = k.pszDefault;
    h.byte = (BYTE)k.nDefault;
    h.font.lfHeight = k.nDefault;
    h.font.lfWeight = FW_NORMAL;
    if (k.type == SETTING_FONT) lstrcpynA(h.font.lfFaceName, k.pszDefault, LF_FACESIZE);
    return h;
}

// A value unlike the initial one and unlike every other key's.
Held Other(const SettingKey& k, int i)
{
    Held h = Default(k);
    h.flag = !h.flag;
    h.number = k.type == SETTING_MINUTES ? (k.nDefault / 60 + 7 + i) * 60 : k.nDefault + 1000 + i;
    h.text.Format("value %d", i);
    h.byte = (BYTE)(k.nDefault ^ 0x40);
    h.font.lfHeight = -17;
    lstrcpynA(h.font.lfFaceName, "Tahoma", LF_FACESIZE);
    return h;
}

std::string Describe(const SettingKey& k, const Held& h)
{
    CString s;
    switch (k.type) {
    case SETTING_FLAG: s.Format("%d", h.flag); break;
    case SETTING_INT:
    case SETTING_MINUTES: s.Format("%d", h.number); break;
    case SETTING_STRING: s = h.text; break;
    case SETTING_FONT: s.Format("%s %ld %ld", h.font.lfFaceName, h.font.lfHeight, h.font.lfWeight); break;
    case SETTING_BYTE: s.Format("%u", h.byte); break;
    }
    return std::string(s.GetString(), (size_t)s.GetLength());
}

class SettingKeyTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const SettingKey& k : SettingKeys()) saved.push_back(Get(k, g_breakSettings));
        profile = theApp.m_pszProfileName;
        registryKey = theApp.m_pszRegistryKey;
        theApp.m_pszProfileName = _strdup(dir.File("Kestrabel.INI").c_str());
        theApp.m_pszRegistryKey = nullptr;
        g_strDataDirectoryOverride = (dir.path + "Data\\").c_str();
    }
    void TearDown() override
    {
        free((void*)theApp.m_pszProfileName);
        theApp.m_pszProfileName = profile;
        theApp.m_pszRegistryKey = registryKey;
        g_strDataDirectoryOverride.Empty();
        int i = 0;
        for (const SettingKey& k : SettingKeys()) Set(k, g_breakSettings, saved[i++]);
    }
    TempDir dir;
    std::vector<Held> saved;
    const char* profile;
    const char* registryKey;
};
}

TEST_F(SettingKeyTable, NameEachKeyOnceWithTheInitialValueOfItsSetting)
{
    // The record as start-up has it: constructed, then read from an empty
    // store (the break lengths become seconds).
    BreakSettings fresh;
    fresh.LoadBreakSettings(&theApp);
    std::set<std::string> names;
    for (const SettingKey& k : SettingKeys()) {
        EXPECT_TRUE(names.insert(k.pszKey).second) << k.pszKey;
        // The globals stand at their initial values between tests.
        Held now = Get(k, k.bBreakRecord ? fresh : g_breakSettings);
        EXPECT_EQ(Describe(k, now), Describe(k, Default(k))) << k.pszKey;
    }
    EXPECT_EQ(names.size(), 52u);
}

TEST_F(SettingKeyTable, EveryKeyRoundTripsInTheStoresOrder)
{
    int i = 0;
    for (const SettingKey& k : SettingKeys()) Set(k, g_breakSettings, Other(k, i++));
    MessageBoxRecorder boxes;
    theApp.SaveSettings();
    EXPECT_TRUE(boxes.boxes.empty());

    // Back to the initial values, then each key read through the table.
    for (const SettingKey& k : SettingKeys()) Set(k, g_breakSettings, Default(k));
    i = 0;
    for (const SettingKey& k : SettingKeys()) {
        ReadSetting(&theApp, k, g_breakSettings);
        // "Parameters" is never written: it keeps its value.
        Held want = k.type == SETTING_BYTE ? Default(k) : Other(k, i);
        EXPECT_EQ(Describe(k, Get(k, g_breakSettings)), Describe(k, want)) << k.pszKey;
        ++i;
    }

    // The file holds the keys in the table's order, the dashboard's last.
    std::vector<char> buf(16384);
    DWORD n = ::GetPrivateProfileStringA("Settings", nullptr, "", buf.data(), (DWORD)buf.size(),
                                         dir.File("Kestrabel.INI").c_str());
    std::vector<std::string> inFile;
    for (const char* p = buf.data(); p < buf.data() + n && *p; p += strlen(p) + 1) inFile.push_back(p);
    std::vector<std::string> expected;
    for (const SettingKey& k : SettingKeys())
        if (k.type != SETTING_BYTE) expected.push_back(k.pszKey);
    for (const char* dash : { "DashBoardXPos", "DashBoardYPos", "DashBoardPinned" }) expected.push_back(dash);
    EXPECT_EQ(inFile, expected);
}
