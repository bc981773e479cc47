// Loading and saving every setting, in the store's key order.
#include "app/Kestrabel.h"
#include "app/Settings.h"
#include "engine/BreakSettings.h"
#include "engine/DayCounters.h"
#include "services/Translator.h"
#include "ui/Dashboard.h"

static const char kSection[] = "Settings";

namespace {
// The type in memory of each kind of key; a row whose value has another
// type does not compile.
template <SettingType> struct Storage;
template <> struct Storage<SETTING_FLAG> { typedef bool Type; };
template <> struct Storage<SETTING_INT> { typedef int Type; };
template <> struct Storage<SETTING_MINUTES> { typedef int Type; };
template <> struct Storage<SETTING_STRING> { typedef CString Type; };
template <> struct Storage<SETTING_FONT> { typedef LOGFONTA Type; };
template <> struct Storage<SETTING_BYTE> { typedef BYTE Type; };

#define KS_VALUE(type, place) \
    [](BreakSettings& b) -> void* { (void)b; return static_cast<Storage<type>::Type*>(&(place)); }
// A settings global.
#define KS_GLOBAL(key, type, global, value, text) { key, type, KS_VALUE(type, global), false, value, text }
// A field of one kind of break, or of the break-settings record itself.
#define KS_BREAK(key, type, kind, field, value, text) \
    { key, type, KS_VALUE(type, b.aBreaks[kind].field), true, value, text }
#define KS_RECORD(key, type, field, value) { key, type, KS_VALUE(type, b.field), true, value, nullptr }

const SettingKey kKeys[] = {
    KS_GLOBAL("3D Border", SETTING_FLAG, g_3dBorder, 0, nullptr),
    KS_GLOBAL("FontSize", SETTING_INT, g_trayFontSize, 80, nullptr),
    KS_GLOBAL("Font", SETTING_FONT, g_trayLogFont, -13, "Verdana"),
    KS_GLOBAL("Language", SETTING_STRING, g_strLanguage, 0, ""),
    KS_GLOBAL("TrackMouse", SETTING_FLAG, g_trackMouse, 1, nullptr),
    KS_GLOBAL("TrackMouseMove", SETTING_FLAG, g_trackMouseMove, 1, nullptr),
    KS_GLOBAL("TrackKeyboard", SETTING_FLAG, g_trackKeyboard, 1, nullptr),
    KS_GLOBAL("EnablePauses", SETTING_FLAG, g_enablePauses, 0, nullptr),
    KS_GLOBAL("PauseDelay", SETTING_INT, g_pauseDelay, 2, nullptr),
    KS_GLOBAL("ForceAnimation", SETTING_FLAG, g_forceAnimation, 0, nullptr),
    KS_GLOBAL("UseSound", SETTING_FLAG, g_useSound, 1, nullptr),
    KS_GLOBAL("SoundFile", SETTING_STRING, g_strSoundFile, 0, "beepbeep.wav"),
    KS_GLOBAL("UseSoundPauseStart", SETTING_FLAG, g_useSoundPauseStart, 1, nullptr),
    KS_GLOBAL("SoundFilePauseStart", SETTING_STRING, g_strSoundFilePauseStart, 0, "start.wav"),
    KS_GLOBAL("UseSoundPauseEnd", SETTING_FLAG, g_useSoundPauseEnd, 1, nullptr),
    KS_GLOBAL("SoundFilePauseEnd", SETTING_STRING, g_strSoundFilePauseEnd, 0, "end.wav"),
    KS_GLOBAL("LockOnInactivity", SETTING_FLAG, g_lockOnInactivity, 1, nullptr),
    KS_GLOBAL("LockOnInactivityDelay", SETTING_INT, g_lockOnInactivityDelay, 2, nullptr),
    KS_GLOBAL("AutoZeroEnabled", SETTING_FLAG, g_autoZeroEnabled, 0, nullptr),
    KS_GLOBAL("AutoZeroMode", SETTING_INT, g_autoZeroMode, 0, nullptr),
    KS_GLOBAL("AutoZeroDelay", SETTING_INT, g_autoZeroDelay, 8, nullptr),
    KS_GLOBAL("AutoZeroTime", SETTING_INT, g_autoZeroTime, 0, nullptr),
    KS_GLOBAL("Dialog Moved", SETTING_FLAG, g_dialogMoved, 0, nullptr),
    KS_GLOBAL("XPosition", SETTING_INT, g_dialogXPos, 0, nullptr),
    KS_GLOBAL("YPosition", SETTING_INT, g_dialogYPos, 0, nullptr),
    KS_GLOBAL("Parameters", SETTING_BYTE, g_parameters, PARAMETERS_PORTABLE, nullptr),
    KS_GLOBAL("AutoCheckForUpdates", SETTING_FLAG, g_autoCheckForUpdates, 1, nullptr),
    KS_GLOBAL("LastCheckDay", SETTING_INT, g_lastCheckDay, 0, nullptr),
    KS_BREAK("MicroBreaks enabled", SETTING_FLAG, BREAK_MICRO, bEnabled, 0, nullptr),
    KS_BREAK("Micro Delay", SETTING_INT, BREAK_MICRO, nInterval, 5, nullptr),
    KS_BREAK("Micro Pause", SETTING_INT, BREAK_MICRO, nDuration, 30, nullptr),
    KS_BREAK("Micro Alert", SETTING_INT, BREAK_MICRO, nAlertType, ALERT_MESSAGE_BOX, nullptr),
    KS_BREAK("MicroBreaks message", SETTING_STRING, BREAK_MICRO, strMessage, 0,
             "Micro-break: let your eyes have some rest."),
    KS_BREAK("ShortBreaks enabled", SETTING_FLAG, BREAK_SHORT, bEnabled, 1, nullptr),
    KS_BREAK("Delay", SETTING_INT, BREAK_SHORT, nInterval, 20, nullptr),
    KS_BREAK("Pause", SETTING_MINUTES, BREAK_SHORT, nDuration, 120, nullptr),
    KS_BREAK("Alert", SETTING_INT, BREAK_SHORT, nAlertType, ALERT_SCREEN_LOCK, nullptr),
    KS_BREAK("Postpone SB", SETTING_FLAG, BREAK_SHORT, bEnableUnlocking, 1, nullptr),
    KS_BREAK("ShortBreaks message", SETTING_STRING, BREAK_SHORT, strMessage, 0, "It's time for a short rest break."),
    KS_BREAK("LongBreaks enabled", SETTING_FLAG, BREAK_LONG, bEnabled, 1, nullptr),
    KS_BREAK("Long Delay", SETTING_INT, BREAK_LONG, nInterval, 3, nullptr),
    KS_BREAK("Long Pause", SETTING_MINUTES, BREAK_LONG, nDuration, 300, nullptr),
    KS_BREAK("Long Alert", SETTING_INT, BREAK_LONG, nAlertType, ALERT_SCREEN_LOCK, nullptr),
    KS_BREAK("Postpone LB", SETTING_FLAG, BREAK_LONG, bEnableUnlocking, 1, nullptr),
    KS_BREAK("LongBreaks message", SETTING_STRING, BREAK_LONG, strMessage, 0,
             "Long break: stand up, stretch, go for a short walk."),
    KS_BREAK("DayBreaks enabled", SETTING_FLAG, BREAK_DAILY_LIMIT, bEnabled, 1, nullptr),
    KS_BREAK("Daily limit", SETTING_INT, BREAK_DAILY_LIMIT, nInterval, 510, nullptr),
    KS_BREAK("Day Alert", SETTING_INT, BREAK_DAILY_LIMIT, nAlertType, ALERT_MESSAGE_BOX, nullptr),
    KS_BREAK("DayBreaks message", SETTING_STRING, BREAK_DAILY_LIMIT, strMessage, 0,
             "You have reached your daily work limit"),
    KS_RECORD("Postpone", SETTING_INT, nPostpone, 5),
    KS_RECORD("DisableUnlocking", SETTING_INT, nDisableUnlocking, 16),
    KS_RECORD("Disable Toggle Mode", SETTING_FLAG, bDisableToggleMode, 0),
};
}

SettingKeyList SettingKeys()
{
    return SettingKeyList{ kKeys, (int)(sizeof(kKeys) / sizeof(kKeys[0])) };
}

void ReadSetting(CWinApp* app, const SettingKey& key, BreakSettings& record)
{
    const char* k = key.pszKey;
    switch (key.type) {
    case SETTING_FLAG: {
        bool& v = key.Value<bool>(record);
        v = app->GetProfileInt(kSection, k, v ? 1 : 0) != 0;
        break;
    }
    case SETTING_INT: {
        int& v = key.Value<int>(record);
        v = app->GetProfileInt(kSection, k, v);
        break;
    }
    case SETTING_MINUTES: {
        // The default is the value as it stands, as for every key.
        int& v = key.Value<int>(record);
        v = SaturatingMultiply(app->GetProfileInt(kSection, k, v), 60);
        break;
    }
    case SETTING_STRING: {
        CString& v = key.Value<CString>(record);
        v = app->GetProfileString(kSection, k, v);
        break;
    }
    case SETTING_BYTE: {
        BYTE& v = key.Value<BYTE>(record);
        v = (BYTE)app->GetProfileInt(kSection, k, v);
        break;
    }
    case SETTING_FONT: {
        // Only a value of exactly the record's size; its face name is
        // always terminated.
        LOGFONTA& v = key.Value<LOGFONTA>(record);
        BYTE* data = nullptr;
        UINT bytes = 0;
        if (app->GetProfileBinary(kSection, k, &data, &bytes) && bytes == sizeof(LOGFONTA)) {
            memcpy(&v, data, sizeof(LOGFONTA));
            v.lfFaceName[LF_FACESIZE - 1] = '\0';
        }
        delete[] data;
        break;
    }
    }
}

BOOL WriteSetting(CWinApp* app, const SettingKey& key, BreakSettings& record)
{
    const char* k = key.pszKey;
    switch (key.type) {
    case SETTING_FLAG: return app->WriteProfileInt(kSection, k, key.Value<bool>(record) ? 1 : 0);
    case SETTING_INT: return app->WriteProfileInt(kSection, k, key.Value<int>(record));
    case SETTING_MINUTES: return app->WriteProfileInt(kSection, k, key.Value<int>(record) / 60);
    case SETTING_STRING: return app->WriteProfileString(kSection, k, key.Value<CString>(record));
    case SETTING_FONT: return app->WriteProfileBinary(kSection, k, (const BYTE*)&key.Value<LOGFONTA>(record), sizeof(LOGFONTA));
    case SETTING_BYTE: return TRUE;
    }
    return FALSE;
}

void CVantrelApp::LoadSettings()
{
    for (const SettingKey& key : SettingKeys()) ReadSetting(this, key, g_breakSettings);

    CString dir = GetProgramDirectory();
    if (!dir.IsEmpty()) {
        char languages[MAX_PATH];
        if (::PathCombineA(languages, dir, "Languages")) g_translator.SetDirectory(languages);
    }
    if (g_firstRun || !g_translator.Load(g_strLanguage)) g_translator.LoadDefault();
    g_strLanguage = g_translator.m_strLanguage;

    g_dayCounters.Load();
    LoadDashboardSettings();
}

void CVantrelApp::SaveSettings()
{
    // In the INI file all keys go in one replacement of the file, which
    // keeps the old file whole when it fails. In the registry the save
    // stops at the first write that fails: the later keys keep what the
    // store holds.
    BeginProfileWrites();
    bool ok = true;
    for (const SettingKey& key : SettingKeys())
        if (!(ok = WriteSetting(this, key, g_breakSettings) != FALSE)) break;
    if (ok) ok = SaveDashboardSettings() != FALSE;
    if (!EndProfileWrites()) ok = false;
    if (!ok) AfxMessageBox("Warning: Failed to save settings", MB_OK);
    g_dayCounters.Save();
}
