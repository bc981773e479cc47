// Loading and saving every setting, in the store's key order.
#include "app/Kestrabel.h"
#include "app/Settings.h"
#include "engine/BreakSettings.h"
#include "engine/DayCounters.h"
#include "services/Translator.h"
#include "ui/Dashboard.h"

static const char kSection[] = "Settings";

namespace {
// Reads keep the current value as their default, so a missing key changes
// nothing.
struct Reader {
    CWinApp* app;
    void Flag(const char* key, bool& v) { v = app->GetProfileInt(kSection, key, v ? 1 : 0) != 0; }
    void Int(const char* key, int& v) { v = app->GetProfileInt(kSection, key, v); }
    void String(const char* key, CString& v) { v = app->GetProfileString(kSection, key, v); }
};

// Writes stop at the first failure.
struct Writer {
    CWinApp* app;
    bool ok = true;
    void Flag(const char* key, bool v) { if (ok) ok = app->WriteProfileInt(kSection, key, v ? 1 : 0) != FALSE; }
    void Int(const char* key, int v) { if (ok) ok = app->WriteProfileInt(kSection, key, v) != FALSE; }
    void String(const char* key, const CString& v) { if (ok) ok = app->WriteProfileString(kSection, key, v) != FALSE; }
};
}

void CVantrelApp::LoadSettings()
{
    Reader r{ this };
    r.Flag("TrackMouse", g_trackMouse);
    r.Flag("TrackMouseMove", g_trackMouseMove);
    r.Flag("TrackKeyboard", g_trackKeyboard);
    r.Flag("EnablePauses", g_enablePauses);
    r.Int("PauseDelay", g_pauseDelay);
    r.Flag("ForceAnimation", g_forceAnimation);
    r.Flag("UseSound", g_useSound);
    r.String("SoundFile", g_strSoundFile);
    r.Flag("UseSoundPauseStart", g_useSoundPauseStart);
    r.String("SoundFilePauseStart", g_strSoundFilePauseStart);
    r.Flag("UseSoundPauseEnd", g_useSoundPauseEnd);
    r.String("SoundFilePauseEnd", g_strSoundFilePauseEnd);
    r.Flag("LockOnInactivity", g_lockOnInactivity);
    r.Int("LockOnInactivityDelay", g_lockOnInactivityDelay);
    r.Flag("AutoZeroEnabled", g_autoZeroEnabled);
    r.Int("AutoZeroMode", g_autoZeroMode);
    r.Int("AutoZeroDelay", g_autoZeroDelay);
    r.Int("AutoZeroTime", g_autoZeroTime);
    r.Flag("Dialog Moved", g_dialogMoved);
    r.Int("XPosition", g_dialogXPos);
    r.Int("YPosition", g_dialogYPos);
    r.Flag("3D Border", g_3dBorder);
    r.Int("FontSize", g_trayFontSize);
    g_parameters = (BYTE)GetProfileInt(kSection, "Parameters", g_parameters);
    r.Flag("AutoCheckForUpdates", g_autoCheckForUpdates);
    r.Int("LastCheckDay", g_lastCheckDay);

    g_breakSettings.LoadBreakSettings(this);

    // The tray font only from a value of exactly its size; its face name is
    // always terminated.
    BYTE* data = nullptr;
    UINT bytes = 0;
    if (GetProfileBinary(kSection, "Font", &data, &bytes) && bytes == sizeof(LOGFONTA)) {
        memcpy(&g_trayLogFont, data, sizeof(LOGFONTA));
        g_trayLogFont.lfFaceName[LF_FACESIZE - 1] = '\0';
    }
    delete[] data;

    r.String("Language", g_strLanguage);

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
    Writer w{ this };
    w.Flag("3D Border", g_3dBorder);
    w.Int("FontSize", g_trayFontSize);
    if (w.ok) w.ok = WriteProfileBinary(kSection, "Font", (const BYTE*)&g_trayLogFont, sizeof(LOGFONTA)) != FALSE;
    w.String("Language", g_strLanguage);
    w.Flag("TrackMouse", g_trackMouse);
    w.Flag("TrackMouseMove", g_trackMouseMove);
    w.Flag("TrackKeyboard", g_trackKeyboard);
    w.Flag("EnablePauses", g_enablePauses);
    w.Int("PauseDelay", g_pauseDelay);
    w.Flag("ForceAnimation", g_forceAnimation);
    w.Flag("UseSound", g_useSound);
    w.String("SoundFile", g_strSoundFile);
    w.Flag("UseSoundPauseStart", g_useSoundPauseStart);
    w.String("SoundFilePauseStart", g_strSoundFilePauseStart);
    w.Flag("UseSoundPauseEnd", g_useSoundPauseEnd);
    w.String("SoundFilePauseEnd", g_strSoundFilePauseEnd);
    w.Flag("LockOnInactivity", g_lockOnInactivity);
    w.Int("LockOnInactivityDelay", g_lockOnInactivityDelay);
    w.Flag("AutoZeroEnabled", g_autoZeroEnabled);
    w.Int("AutoZeroMode", g_autoZeroMode);
    w.Int("AutoZeroDelay", g_autoZeroDelay);
    w.Int("AutoZeroTime", g_autoZeroTime);
    w.Flag("Dialog Moved", g_dialogMoved);
    w.Int("XPosition", g_dialogXPos);
    w.Int("YPosition", g_dialogYPos);
    w.Flag("AutoCheckForUpdates", g_autoCheckForUpdates);
    w.Int("LastCheckDay", g_lastCheckDay);
    if (w.ok) w.ok = g_breakSettings.SaveBreakSettings(this) != FALSE;
    if (w.ok) w.ok = SaveDashboardSettings() != FALSE;
    if (!w.ok) AfxMessageBox("Warning: Failed to save settings", MB_OK);
    g_dayCounters.Save();
}
