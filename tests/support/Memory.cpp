#include "support/TestSupport.h"
#include <psapi.h>

SIZE_T PrivateBytes(const char** source)
{
    typedef BOOL(WINAPI * PFN)(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);
    static PFN pfn;
    if (!pfn) pfn = (PFN)(void*)::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "K32GetProcessMemoryInfo");
    if (!pfn) {
        HMODULE h = ::LoadLibraryA("psapi.dll");
        if (h) pfn = (PFN)(void*)::GetProcAddress(h, "GetProcessMemoryInfo");
    }
    PROCESS_MEMORY_COUNTERS_EX pmc = {};
    pmc.cb = sizeof(pmc);
    if (pfn && pfn(::GetCurrentProcess(), (PPROCESS_MEMORY_COUNTERS)&pmc, sizeof(pmc)) && pmc.PrivateUsage) {
        if (source) *source = "GetProcessMemoryInfo";
        return pmc.PrivateUsage;
    }
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION mbi;
    for (char* p = nullptr; ::VirtualQuery(p, &mbi, sizeof(mbi)) == sizeof(mbi); p = (char*)mbi.BaseAddress + mbi.RegionSize) {
        if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE) total += mbi.RegionSize;
        if ((char*)mbi.BaseAddress + mbi.RegionSize <= p) break;
    }
    if (source) *source = "committed private pages";
    return total;
}
