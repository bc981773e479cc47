#include "engine/BreakSettings.h"
#include "app/Settings.h"

BreakSettings::BreakSettings()
{
    BreakSpec& micro = aBreaks[BREAK_MICRO];
    micro.nDuration = 30; micro.nInterval = 5; micro.nAlertType = ALERT_MESSAGE_BOX;
    micro.bEnableUnlocking = false; micro.bEnabled = false;
    BreakSpec& shortBreak = aBreaks[BREAK_SHORT];
    shortBreak.nDuration = 2; shortBreak.nInterval = 20; shortBreak.nAlertType = ALERT_SCREEN_LOCK;
    shortBreak.bEnableUnlocking = true; shortBreak.bEnabled = true;
    BreakSpec& longBreak = aBreaks[BREAK_LONG];
    longBreak.nDuration = 5; longBreak.nInterval = 3; longBreak.nAlertType = ALERT_SCREEN_LOCK;
    longBreak.bEnableUnlocking = true; longBreak.bEnabled = true;
    BreakSpec& daily = aBreaks[BREAK_DAILY_LIMIT];
    daily.nDuration = 1000; daily.nInterval = 510; daily.nAlertType = ALERT_MESSAGE_BOX;
    daily.bEnableUnlocking = true; daily.bEnabled = true;
    SetDefaultBreakMessages();
}

void BreakSettings::SetDefaultBreakMessages()
{
    aBreaks[BREAK_MICRO].strMessage = "Micro-break: let your eyes have some rest.";
    aBreaks[BREAK_SHORT].strMessage = "It's time for a short rest break.";
    aBreaks[BREAK_LONG].strMessage = "Long break: stand up, stretch, go for a short walk.";
    aBreaks[BREAK_DAILY_LIMIT].strMessage = "You have reached your daily work limit";
}

int SaturatingMultiply(int value, int factor)
{
    long long r = (long long)value * factor;
    if (r > INT_MAX) return INT_MAX;
    if (r < INT_MIN) return INT_MIN;
    return (int)r;
}

void BreakSettings::LoadBreakSettings(CWinApp* app)
{
    for (const SettingKey& key : SettingKeys())
        if (key.bBreakRecord) ReadSetting(app, key, *this);
}

BOOL BreakSettings::SaveBreakSettings(CWinApp* app)
{
    for (const SettingKey& key : SettingKeys())
        if (key.bBreakRecord && !WriteSetting(app, key, *this)) return FALSE;
    return TRUE;
}
