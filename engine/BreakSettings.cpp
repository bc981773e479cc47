#include "engine/BreakSettings.h"

static const char kSection[] = "Settings";

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

static void ReadFlag(CWinApp* app, const char* key, bool& flag)
{
    flag = app->GetProfileInt(kSection, key, flag ? 1 : 0) != 0;
}

static void ReadInt(CWinApp* app, const char* key, int& value)
{
    value = app->GetProfileInt(kSection, key, value);
}

static void ReadString(CWinApp* app, const char* key, CString& value)
{
    value = app->GetProfileString(kSection, key, value);
}

void BreakSettings::LoadBreakSettings(CWinApp* app)
{
    BreakSpec& micro = aBreaks[BREAK_MICRO];
    ReadFlag(app, "MicroBreaks enabled", micro.bEnabled);
    ReadInt(app, "Micro Delay", micro.nInterval);
    ReadInt(app, "Micro Pause", micro.nDuration);
    ReadInt(app, "Micro Alert", micro.nAlertType);
    ReadString(app, "MicroBreaks message", micro.strMessage);

    // Short and long break lengths are stored in minutes.
    BreakSpec& shortBreak = aBreaks[BREAK_SHORT];
    ReadFlag(app, "ShortBreaks enabled", shortBreak.bEnabled);
    ReadInt(app, "Delay", shortBreak.nInterval);
    shortBreak.nDuration = SaturatingMultiply(app->GetProfileInt(kSection, "Pause", shortBreak.nDuration), 60);
    ReadInt(app, "Alert", shortBreak.nAlertType);
    ReadFlag(app, "Postpone SB", shortBreak.bEnableUnlocking);
    ReadString(app, "ShortBreaks message", shortBreak.strMessage);

    BreakSpec& longBreak = aBreaks[BREAK_LONG];
    ReadFlag(app, "LongBreaks enabled", longBreak.bEnabled);
    ReadInt(app, "Long Delay", longBreak.nInterval);
    longBreak.nDuration = SaturatingMultiply(app->GetProfileInt(kSection, "Long Pause", longBreak.nDuration), 60);
    ReadInt(app, "Long Alert", longBreak.nAlertType);
    ReadFlag(app, "Postpone LB", longBreak.bEnableUnlocking);
    ReadString(app, "LongBreaks message", longBreak.strMessage);

    BreakSpec& daily = aBreaks[BREAK_DAILY_LIMIT];
    ReadFlag(app, "DayBreaks enabled", daily.bEnabled);
    ReadInt(app, "Daily limit", daily.nInterval);
    ReadInt(app, "Day Alert", daily.nAlertType);
    ReadString(app, "DayBreaks message", daily.strMessage);

    ReadInt(app, "DisableUnlocking", nDisableUnlocking);
    ReadInt(app, "Postpone", nPostpone);
    ReadFlag(app, "Disable Toggle Mode", bDisableToggleMode);
}

BOOL BreakSettings::SaveBreakSettings(CWinApp* app)
{
    const BreakSpec& micro = aBreaks[BREAK_MICRO];
    const BreakSpec& shortBreak = aBreaks[BREAK_SHORT];
    const BreakSpec& longBreak = aBreaks[BREAK_LONG];
    const BreakSpec& daily = aBreaks[BREAK_DAILY_LIMIT];
    return app->WriteProfileInt(kSection, "MicroBreaks enabled", micro.bEnabled)
        && app->WriteProfileInt(kSection, "Micro Delay", micro.nInterval)
        && app->WriteProfileInt(kSection, "Micro Pause", micro.nDuration)
        && app->WriteProfileInt(kSection, "Micro Alert", micro.nAlertType)
        && app->WriteProfileString(kSection, "MicroBreaks message", micro.strMessage)
        && app->WriteProfileInt(kSection, "ShortBreaks enabled", shortBreak.bEnabled)
        && app->WriteProfileInt(kSection, "Delay", shortBreak.nInterval)
        && app->WriteProfileInt(kSection, "Pause", shortBreak.nDuration / 60)
        && app->WriteProfileInt(kSection, "Alert", shortBreak.nAlertType)
        && app->WriteProfileInt(kSection, "Postpone SB", shortBreak.bEnableUnlocking)
        && app->WriteProfileString(kSection, "ShortBreaks message", shortBreak.strMessage)
        && app->WriteProfileInt(kSection, "LongBreaks enabled", longBreak.bEnabled)
        && app->WriteProfileInt(kSection, "Long Delay", longBreak.nInterval)
        && app->WriteProfileInt(kSection, "Long Pause", longBreak.nDuration / 60)
        && app->WriteProfileInt(kSection, "Long Alert", longBreak.nAlertType)
        && app->WriteProfileInt(kSection, "Postpone LB", longBreak.bEnableUnlocking)
        && app->WriteProfileString(kSection, "LongBreaks message", longBreak.strMessage)
        && app->WriteProfileInt(kSection, "DayBreaks enabled", daily.bEnabled)
        && app->WriteProfileInt(kSection, "Daily limit", daily.nInterval)
        && app->WriteProfileInt(kSection, "Day Alert", daily.nAlertType)
        && app->WriteProfileString(kSection, "DayBreaks message", daily.strMessage)
        && app->WriteProfileInt(kSection, "Postpone", nPostpone)
        && app->WriteProfileInt(kSection, "DisableUnlocking", nDisableUnlocking)
        && app->WriteProfileInt(kSection, "Disable Toggle Mode", bDisableToggleMode);
}
