// OpenUrl: the one way the program opens a web address in the browser.
#pragma once
#include "vfx.h"

// Opens url with the shell; when the shell cannot, runs the command line
// registered for ".htm" files with the url appended. Returns the shell's
// result, or WinExec's when the registered command was run (greater than 32
// on success).
int OpenUrl(const char* url, int showCmd);

// Reads the default value of root\subKey as a string into out (outSize
// bytes, always terminated). 0 on success, else the registry's error code
// (ERROR_INVALID_DATA for a value that is not a string, ERROR_MORE_DATA for
// one that does not fit).
long ReadRegistryDefault(HKEY root, const char* subKey, char* out, size_t outSize);

// The command line for a registered open command and a url: the command up
// to its quoted "%1" placeholder (or else its bare %1), then a blank and the
// url. FALSE, with out empty, when the result does not fit in outSize bytes.
bool BuildOpenCommand(const char* registered, const char* url, char* out, size_t outSize);

// The calls that start another program; tests replace them.
typedef HINSTANCE(WINAPI* PFN_SHELLEXECUTEA)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
typedef UINT(WINAPI* PFN_WINEXEC)(LPCSTR, UINT);
extern PFN_SHELLEXECUTEA g_pfnShellExecuteA;
extern PFN_WINEXEC g_pfnWinExec;
