#include "services/ShellHelpers.h"
#include <string.h>

static const char kUnknownVersion[] = "2.X.X.X";

CString GetFileVersionText(const char* pszPath)
{
    if (!pszPath || !*pszPath) return kUnknownVersion;
    DWORD dummy = 0;
    DWORD size = ::GetFileVersionInfoSizeA(pszPath, &dummy);
    if (size == 0) return kUnknownVersion;
    HGLOBAL hMem = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!hMem) return kUnknownVersion;
    void* block = ::GlobalLock(hMem);
    CString value;
    bool found = false;
    if (block && ::GetFileVersionInfoA(pszPath, 0, size, block)) {
        char* text = nullptr;
        UINT len = 0;
        if (::VerQueryValueA(block, "\\StringFileInfo\\040904b0\\FileVersion", (void**)&text, &len) && text) {
            // The value may lack its terminator: never read past the length
            // the query gave, nor past the block.
            const char* end = (const char*)block + size;
            if (text >= (const char*)block && text < end) {
                size_t most = (size_t)(end - text);
                if (len < most) most = len;
                size_t n = 0;
                while (n < most && text[n]) ++n;
                value = CString(text, (int)n);
                found = true;
            }
        }
    }
    if (block) ::GlobalUnlock(hMem);
    ::GlobalFree(hMem);
    if (!found) return kUnknownVersion;
    value.Replace(" ", "");
    value.Replace("\t", "");
    value.Replace(',', '.');
    return value;
}

CString GetProgramVersion()
{
    char path[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return kUnknownVersion;
    path[n] = '\0';
    return GetFileVersionText(path);
}

void ShowLastError(const char* pszText, UINT nFlags)
{
    DWORD error = ::GetLastError();
    char* system = nullptr;
    DWORD n = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                               nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), (char*)&system, 0, nullptr);
    CString message;
    if (pszText && *pszText) {
        message = pszText;
        message += ":\n";
    }
    if (n && system) {
        message += CString(system, (int)n);
    } else {
        CString number;
        number.Format("Error %lu.", (unsigned long)error);
        message += number;
    }
    if (system) ::LocalFree(system);
    AfxShowMessageBox(nullptr, message, "Kestrabel", nFlags | MB_TASKMODAL | MB_SETFOREGROUND);
}
