// A stand-in for the system's help viewer: it holds cursor 106 and, were
// its code ever run, it would say so in its host process's environment.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) ::SetEnvironmentVariableA("KS_HAND_MODULE_RAN", "1");
    return TRUE;
}
