// Loading and saving every setting in both stores, the store's choice and
// the first run.
#include "support/TestSupport.h"
#include "app/Kestrabel.h"
#include "app/Settings.h"
#include "engine/BreakSettings.h"
#include "engine/DayCounters.h"
#include "services/Translator.h"
#include "ui/Dashboard.h"
#include <gtest/gtest.h>

namespace {
const char kKey[] = "Software\\Osterwick Software\\Kestrabel\\Settings";

// Every global the settings touch, saved and put back around each test.
struct Snapshot {
    bool trackMouse = g_trackMouse, trackMouseMove = g_trackMouseMove, trackKeyboard = g_trackKeyboard;
    bool enablePauses = g_enablePauses; int pauseDelay = g_pauseDelay; bool forceAnimation = g_forceAnimation;
    bool useSound = g_useSound, useStart = g_useSoundPauseStart, useEnd = g_useSoundPauseEnd;
    CString sound = g_strSoundFile, soundStart = g_strSoundFilePauseStart, soundEnd = g_strSoundFilePauseEnd;
    bool lock = g_lockOnInactivity; int lockDelay = g_lockOnInactivityDelay;
    bool autoZero = g_autoZeroEnabled; int autoZeroMode = g_autoZeroMode, autoZeroDelay = g_autoZeroDelay, autoZeroTime = g_autoZeroTime;
    bool moved = g_dialogMoved; int x = g_dialogXPos, y = g_dialogYPos; bool border = g_3dBorder;
    int fontSize = g_trayFontSize; BYTE parameters = g_parameters; bool autoCheck = g_autoCheckForUpdates;
    int lastCheck = g_lastCheckDay; LOGFONTA font = g_trayLogFont; CString language = g_strLanguage;
    bool firstRun = g_firstRun; BreakSettings breaks = g_breakSettings;
    bool pinned = g_dashboardPinned; int dx = g_dashboardXPos, dy = g_dashboardYPos;
    void Restore()
    {
        g_trackMouse = trackMouse; g_trackMouseMove = trackMouseMove; g_trackKeyboard = trackKeyboard;
        g_enablePauses = enablePauses; g_pauseDelay = pauseDelay; g_forceAnimation = forceAnimation;
        g_useSound = useSound; g_useSoundPauseStart = useStart; g_useSoundPauseEnd = useEnd;
        g_strSoundFile = sound; g_strSoundFilePauseStart = soundStart; g_strSoundFilePauseEnd = soundEnd;
        g_lockOnInactivity = lock; g_lockOnInactivityDelay = lockDelay;
        g_autoZeroEnabled = autoZero; g_autoZeroMode = autoZeroMode; g_autoZeroDelay = autoZeroDelay; g_autoZeroTime = autoZeroTime;
        g_dialogMoved = moved; g_dialogXPos = x; g_dialogYPos = y; g_3dBorder = border;
        g_trayFontSize = fontSize; g_parameters = parameters; g_autoCheckForUpdates = autoCheck;
        g_lastCheckDay = lastCheck; g_trayLogFont = font; g_strLanguage = language;
        g_firstRun = firstRun; g_breakSettings = breaks;
        g_dashboardPinned = pinned; g_dashboardXPos = dx; g_dashboardYPos = dy;
    }
};

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        profile = theApp.m_pszProfileName;
        registryKey = theApp.m_pszRegistryKey;
        theApp.m_pszProfileName = _strdup(dir.File("Kestrabel.INI").c_str());
        theApp.m_pszRegistryKey = nullptr;
        g_strDataDirectoryOverride = (dir.path + "Data\\").c_str();
        g_isPrimaryInstance = true;
    }
    void TearDown() override
    {
        if (theApp.m_pszRegistryKey) {
            ::RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
            free((void*)theApp.m_pszRegistryKey);
        }
        free((void*)theApp.m_pszProfileName);
        theApp.m_pszProfileName = profile;
        theApp.m_pszRegistryKey = registryKey;
        g_strDataDirectoryOverride.Empty();
        g_isPrimaryInstance = false;
        snapshot.Restore();
        g_translator.Load("");
    }
    void UseRegistry()
    {
        free((void*)theApp.m_pszProfileName);
        theApp.m_pszProfileName = nullptr;
        theApp.SetRegistryKey("Osterwick Software");
    }
    // Every setting moved away from its initial value.
    static void SetEverythingNonDefault()
    {
        g_trackMouse = false; g_trackMouseMove = false; g_trackKeyboard = false; g_enablePauses = true;
        g_pauseDelay = 7; g_forceAnimation = true; g_useSound = false; g_strSoundFile = "a.wav";
        g_useSoundPauseStart = false; g_strSoundFilePauseStart = "b.wav"; g_useSoundPauseEnd = false;
        g_strSoundFilePauseEnd = "c.wav"; g_lockOnInactivity = false; g_lockOnInactivityDelay = 9;
        g_autoZeroEnabled = true; g_autoZeroMode = 1; g_autoZeroDelay = 3; g_autoZeroTime = 1730;
        g_dialogMoved = true; g_dialogXPos = -200; g_dialogYPos = 300; g_3dBorder = true; g_trayFontSize = 95;
        g_autoCheckForUpdates = false; g_lastCheckDay = 155000;
        strcpy(g_trayLogFont.lfFaceName, "Tahoma"); g_trayLogFont.lfHeight = -17; g_trayLogFont.lfWeight = 700;
        BreakSettings& b = g_breakSettings;
        b.aBreaks[BREAK_MICRO].bEnabled = true; b.aBreaks[BREAK_MICRO].nInterval = 11;
        b.aBreaks[BREAK_MICRO].nDuration = 45; b.aBreaks[BREAK_MICRO].nAlertType = ALERT_SLIDER;
        b.aBreaks[BREAK_MICRO].strMessage = "micro text";
        b.aBreaks[BREAK_SHORT].bEnabled = false; b.aBreaks[BREAK_SHORT].nInterval = 33;
        b.aBreaks[BREAK_SHORT].nDuration = 240; b.aBreaks[BREAK_SHORT].nAlertType = ALERT_BALLOON;
        b.aBreaks[BREAK_SHORT].bEnableUnlocking = false; b.aBreaks[BREAK_SHORT].strMessage = "short text";
        b.aBreaks[BREAK_LONG].bEnabled = false; b.aBreaks[BREAK_LONG].nInterval = 4;
        b.aBreaks[BREAK_LONG].nDuration = 600; b.aBreaks[BREAK_LONG].nAlertType = ALERT_MESSAGE_BOX;
        b.aBreaks[BREAK_LONG].bEnableUnlocking = false; b.aBreaks[BREAK_LONG].strMessage = "long text";
        b.aBreaks[BREAK_DAILY_LIMIT].bEnabled = false; b.aBreaks[BREAK_DAILY_LIMIT].nInterval = 480;
        b.aBreaks[BREAK_DAILY_LIMIT].nAlertType = ALERT_SLIDER; b.aBreaks[BREAK_DAILY_LIMIT].strMessage = "daily text";
        b.nPostpone = 12; b.nDisableUnlocking = 4; b.bDisableToggleMode = true;
        g_dashboardPinned = true; g_dashboardXPos = -400; g_dashboardYPos = 150;   // left of the primary monitor
    }
    // The in-memory state that a save and a load must carry.
    static std::string Describe()
    {
        CString s;
        s.Format("%d%d%d%d %d %d%d %s %d %s %d %s %d %d %d %d %d %d %d %d %d %d %d %d %d %s %ld %ld|",
                 g_trackMouse, g_trackMouseMove, g_trackKeyboard, g_enablePauses, g_pauseDelay, g_forceAnimation,
                 g_useSound, (const char*)g_strSoundFile, g_useSoundPauseStart, (const char*)g_strSoundFilePauseStart,
                 g_useSoundPauseEnd, (const char*)g_strSoundFilePauseEnd, g_lockOnInactivity, g_lockOnInactivityDelay,
                 g_autoZeroEnabled, g_autoZeroMode, g_autoZeroDelay, g_autoZeroTime, g_dialogMoved, g_dialogXPos,
                 g_dialogYPos, g_3dBorder, g_trayFontSize, g_autoCheckForUpdates, g_lastCheckDay,
                 g_trayLogFont.lfFaceName, g_trayLogFont.lfHeight, g_trayLogFont.lfWeight);
        for (const BreakSpec& b : g_breakSettings.aBreaks)
            s.AppendFormat("%d %d %d %d %d %s|", b.nDuration, b.nInterval, b.nAlertType, b.bEnableUnlocking,
                           b.bEnabled, (const char*)b.strMessage);
        s.AppendFormat("%d %d %d %d %d %d", g_breakSettings.nPostpone, g_breakSettings.nDisableUnlocking,
                       g_breakSettings.bDisableToggleMode, g_dashboardPinned, g_dashboardXPos, g_dashboardYPos);
        return std::string(s.GetString(), (size_t)s.GetLength());
    }
    void RoundTrip()
    {
        SetEverythingNonDefault();
        std::string before = Describe();
        MessageBoxRecorder boxes;
        theApp.SaveSettings();
        EXPECT_TRUE(boxes.boxes.empty());
        snapshot.Restore();
        g_breakSettings = BreakSettings();   // durations back in minutes, as at start-up
        g_firstRun = false;
        theApp.LoadSettings();
        EXPECT_EQ(Describe(), before);
    }
    TempDir dir;
    Snapshot snapshot;
    const char* profile;
    const char* registryKey;
};
}

TEST_F(SettingsTest, EmptyStoreGivesTheInitialValues)
{
    g_breakSettings = BreakSettings();
    theApp.LoadSettings();
    const BreakSettings& b = g_breakSettings;
    EXPECT_EQ(b.aBreaks[BREAK_SHORT].nDuration, 120);
    EXPECT_EQ(b.aBreaks[BREAK_SHORT].nInterval, 20);
    EXPECT_EQ(b.aBreaks[BREAK_LONG].nDuration, 300);
    EXPECT_EQ(b.aBreaks[BREAK_LONG].nInterval, 3);
    EXPECT_EQ(b.aBreaks[BREAK_DAILY_LIMIT].nInterval, 510);
    EXPECT_FALSE(b.aBreaks[BREAK_MICRO].bEnabled);
    EXPECT_EQ(b.aBreaks[BREAK_MICRO].nDuration, 30);
    EXPECT_STREQ(g_trayLogFont.lfFaceName, "Verdana");
    EXPECT_EQ(g_trayLogFont.lfHeight, -13);
}

TEST_F(SettingsTest, IniRoundTripKeepsEverySetting)
{
    RoundTrip();
    // Short and long breaks are stored in minutes, the micro-break in seconds.
    char buf[32];
    std::string ini = dir.File("Kestrabel.INI");
    ::GetPrivateProfileStringA("Settings", "Pause", "", buf, sizeof(buf), ini.c_str());
    EXPECT_STREQ(buf, "4");
    ::GetPrivateProfileStringA("Settings", "Long Pause", "", buf, sizeof(buf), ini.c_str());
    EXPECT_STREQ(buf, "10");
    ::GetPrivateProfileStringA("Settings", "Micro Pause", "", buf, sizeof(buf), ini.c_str());
    EXPECT_STREQ(buf, "45");
    ::GetPrivateProfileStringA("Settings", "Parameters", "none", buf, sizeof(buf), ini.c_str());
    EXPECT_STREQ(buf, "none");
}

TEST_F(SettingsTest, RegistryRoundTripKeepsEverySetting)
{
    UseRegistry();
    RoundTrip();
    HKEY key;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD type = 0, size = 0;
    ::RegQueryValueExA(key, "Delay", nullptr, &type, nullptr, &size);
    EXPECT_EQ(type, (DWORD)REG_DWORD);
    ::RegQueryValueExA(key, "SoundFile", nullptr, &type, nullptr, &size);
    EXPECT_EQ(type, (DWORD)REG_SZ);
    ::RegQueryValueExA(key, "Font", nullptr, &type, nullptr, &size);
    EXPECT_EQ(type, (DWORD)REG_BINARY);
    EXPECT_EQ(size, 60u);
    EXPECT_NE(::RegQueryValueExA(key, "Parameters", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    ::RegCloseKey(key);
}

TEST_F(SettingsTest, BreakLengthsConvertAndSaturate)
{
    g_breakSettings = BreakSettings();
    g_breakSettings.aBreaks[BREAK_SHORT].nDuration = 150;   // in memory: seconds
    g_breakSettings.nDisableUnlocking = 0;
    MessageBoxRecorder boxes;
    theApp.SaveSettings();
    char buf[32];
    ::GetPrivateProfileStringA("Settings", "Pause", "", buf, sizeof(buf), dir.File("Kestrabel.INI").c_str());
    EXPECT_STREQ(buf, "2");

    ::WritePrivateProfileStringA("Settings", "Pause", "2147483647", dir.File("Kestrabel.INI").c_str());
    ::WritePrivateProfileStringA("Settings", "Long Pause", "-2147483648", dir.File("Kestrabel.INI").c_str());
    g_breakSettings = BreakSettings();
    theApp.LoadSettings();
    EXPECT_EQ(g_breakSettings.aBreaks[BREAK_SHORT].nDuration, INT_MAX);
    EXPECT_EQ(g_breakSettings.aBreaks[BREAK_LONG].nDuration, INT_MIN);
    EXPECT_EQ(SaturatingMultiply(INT_MAX, 60000), INT_MAX);
    EXPECT_EQ(SaturatingMultiply(-40000, 60000), INT_MIN);
    EXPECT_EQ(SaturatingMultiply(20, 60000), 1200000);
}

TEST_F(SettingsTest, FontOnlyFromExactlySixtyBytes)
{
    std::string ini = dir.File("Kestrabel.INI");
    LOGFONTA lf = g_trayLogFont;
    strcpy(lf.lfFaceName, "Arial");
    CString letters = EncodeProfileBinary((const BYTE*)&lf, sizeof(lf));
    for (CString bad : { letters.Left(118), letters + "AA", letters.Left(119), letters.Left(118) + "AZ" }) {
        ::WritePrivateProfileStringA("Settings", "Font", bad, ini.c_str());
        theApp.LoadSettings();
        EXPECT_STREQ(g_trayLogFont.lfFaceName, "Verdana") << bad.GetLength();
    }
    // A face name without its terminator is cut at the last byte.
    memset(lf.lfFaceName, 'W', LF_FACESIZE);
    ::WritePrivateProfileStringA("Settings", "Font", EncodeProfileBinary((const BYTE*)&lf, sizeof(lf)), ini.c_str());
    theApp.LoadSettings();
    EXPECT_EQ(strlen(g_trayLogFont.lfFaceName), (size_t)LF_FACESIZE - 1);
    ::WritePrivateProfileStringA("Settings", "Font", letters, ini.c_str());
    theApp.LoadSettings();
    EXPECT_STREQ(g_trayLogFont.lfFaceName, "Arial");
}

TEST_F(SettingsTest, MultiLineMessageStaysOneIniLine)
{
    g_breakSettings.aBreaks[BREAK_SHORT].strMessage = "Stand up.\r\nLook away.";
    MessageBoxRecorder boxes;
    theApp.SaveSettings();
    std::string ini = ReadFileBytes(dir.File("Kestrabel.INI"));
    EXPECT_NE(ini.find("ShortBreaks message=Stand up. Look away.\r\n"), std::string::npos);
    EXPECT_NE(ini.find("\r\nLongBreaks enabled="), std::string::npos);
}

TEST_F(SettingsTest, RefusedWritesWarnOncePerSaveAndStillWriteCounters)
{
    // A store that refuses every write: its folder does not exist (a
    // read-only attribute does not stop the tests, which run as root).
    free((void*)theApp.m_pszProfileName);
    theApp.m_pszProfileName = _strdup(dir.File("missing\\Kestrabel.INI").c_str());
    MessageBoxRecorder boxes;
    theApp.SaveSettings();
    theApp.SaveSettings();
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, "Warning: Failed to save settings");
    EXPECT_EQ(boxes.boxes[0].type, (UINT)MB_OK);
    EXPECT_TRUE(FileExistsA(dir.File("Data\\Counters.dat")));
    EXPECT_FALSE(FileExistsA(dir.File("missing")));
}

TEST_F(SettingsTest, ParametersFromTheStoreChangeTheDataFolderOnly)
{
    std::string ini = dir.File("Kestrabel.INI");
    ::WritePrivateProfileStringA("Settings", "Parameters", "256", ini.c_str());   // low byte 0
    theApp.LoadSettings();
    EXPECT_EQ(g_parameters, 0);
    EXPECT_EQ(std::string(theApp.m_pszProfileName), ini);
}

TEST_F(SettingsTest, RawParametersTakeTheFirstByteOfAnyType)
{
    HKEY key;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
    BYTE value = 0xEE;
    EXPECT_FALSE(ReadRawParameters(value));
    EXPECT_EQ(value, 0xEE);

    ::RegSetValueExA(key, "Parameters", 0, REG_SZ, (const BYTE*)"4", 2);
    ASSERT_TRUE(ReadRawParameters(value));
    EXPECT_EQ(value, '4');                // 0x34: bit 2 set, portable
    EXPECT_TRUE(value & PARAMETERS_PORTABLE);

    BYTE longer[9] = { 0x10, 1, 2, 3, 4, 5, 6, 7, 8 };
    ::RegSetValueExA(key, "Parameters", 0, REG_BINARY, longer, sizeof(longer));
    ASSERT_TRUE(ReadRawParameters(value));
    EXPECT_EQ(value, 0x10);

    DWORD zero = 0;
    ::RegSetValueExA(key, "Parameters", 0, REG_DWORD, (const BYTE*)&zero, 4);
    ASSERT_TRUE(ReadRawParameters(value));
    EXPECT_EQ(value, 0);

    value = 4;
    ::RegSetValueExA(key, "Parameters", 0, REG_BINARY, longer, 0);
    EXPECT_FALSE(ReadRawParameters(value));
    EXPECT_EQ(value, 4);
    ::RegCloseKey(key);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
}

TEST_F(SettingsTest, FirstRunIgnoresTheStoredLanguage)
{
    std::string langs = dir.path + "Languages";
    ::CreateDirectoryA(langs.c_str(), nullptr);
    WriteFileBytes(langs + "\\Pirate.lang", "Pause=Avast\n");
    ::WritePrivateProfileStringA("Settings", "Language", "Pirate", dir.File("Kestrabel.INI").c_str());
    // The program's folder is the test program's; point the translator at ours.
    g_translator.SetDirectory(langs.c_str());
    g_firstRun = false;
    ASSERT_TRUE(g_translator.Load("Pirate"));
    EXPECT_EQ(g_translator.Translate("Pause"), "Avast");
    g_firstRun = true;
    g_translator.m_strDirectory = langs.c_str();
    theApp.LoadSettings();
    // The machine's language instead: English, or German under a German locale.
    const std::string machine = MachineLanguageIn(ProgramFolder() + "Languages");
    EXPECT_EQ(std::string(g_strLanguage), machine);
    EXPECT_EQ(std::string(g_translator.m_strLanguage), machine);
    EXPECT_NE(g_translator.Translate("Pause"), "Avast");
}
