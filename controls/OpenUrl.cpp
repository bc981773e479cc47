#include "controls/OpenUrl.h"
#include <mbstring.h>
#include <string.h>

PFN_SHELLEXECUTEA g_pfnShellExecuteA = AfxShellExecute;
PFN_WINEXEC g_pfnWinExec = ::WinExec;

long ReadRegistryDefault(HKEY root, const char* subKey, char* out, size_t outSize)
{
    if (!out || outSize == 0) return ERROR_INVALID_PARAMETER;
    out[0] = '\0';
    HKEY hKey;
    LONG rc = ::RegOpenKeyExA(root, subKey, 0, KEY_QUERY_VALUE, &hKey);
    if (rc != ERROR_SUCCESS) return rc;
    // One byte more than the value may fill, so that a value stored without
    // its terminator still ends inside the buffer.
    char value[261];
    DWORD type = 0, size = sizeof(value) - 1;
    rc = ::RegQueryValueExA(hKey, nullptr, nullptr, &type, (BYTE*)value, &size);
    ::RegCloseKey(hKey);
    if (rc != ERROR_SUCCESS) return rc;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
    if (size > sizeof(value) - 1) size = sizeof(value) - 1;
    value[size] = '\0';
    if (strlen(value) >= outSize) return ERROR_MORE_DATA;
    strcpy(out, value);
    return ERROR_SUCCESS;
}

bool BuildOpenCommand(const char* registered, const char* url, char* out, size_t outSize)
{
    if (!out || outSize == 0) return false;
    out[0] = '\0';
    if (!registered || !url) return false;
    const unsigned char* reg = (const unsigned char*)registered;
    const unsigned char* cut = _mbsstr(reg, (const unsigned char*)"\"%1\"");
    if (!cut) cut = _mbsstr(reg, (const unsigned char*)"%1");
    size_t keep = cut ? (size_t)(cut - reg) : strlen(registered);
    size_t urlLen = strlen(url);
    if (keep + 1 + urlLen + 1 > outSize) return false;
    memcpy(out, registered, keep);
    out[keep] = ' ';
    memcpy(out + keep + 1, url, urlLen + 1);
    return true;
}

int OpenUrl(const char* url, int showCmd)
{
    if (!url) url = "";
    HINSTANCE hResult = g_pfnShellExecuteA(nullptr, "open", url, nullptr, nullptr, showCmd);
    if ((UINT_PTR)hResult > 32) return (int)(INT_PTR)hResult;
    int r = (int)(INT_PTR)hResult;

    // The shell could not: run what is registered for web pages.
    char key[520];
    if (ReadRegistryDefault(HKEY_CLASSES_ROOT, ".htm", key, sizeof(key)) != ERROR_SUCCESS) return r;
    static const char kOpenCommand[] = "\\shell\\open\\command";
    if (strlen(key) + sizeof(kOpenCommand) > sizeof(key)) return r;
    strcat(key, kOpenCommand);
    char registered[520];
    if (ReadRegistryDefault(HKEY_CLASSES_ROOT, key, registered, sizeof(registered)) != ERROR_SUCCESS) return r;
    char command[520];
    if (!BuildOpenCommand(registered, url, command, sizeof(command))) return r;
    return (int)g_pfnWinExec(command, (UINT)showCmd);
}
