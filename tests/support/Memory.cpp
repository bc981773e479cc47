#include "support/TestSupport.h"
#include <psapi.h>
#include <vector>

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

// How many more objects make(i) can create before the table is full; each
// is freed again.
template <class T, class Make, class Free>
static long FreeSlots(Make make, Free free)
{
    std::vector<T> made;
    made.reserve(70000);
    for (int i = 0; i < 200000; ++i) {
        T h = make(i);
        if (!h) break;
        made.push_back(h);
    }
    for (T h : made) free(h);
    return (long)made.size();
}

ObjectCounts CountObjects()
{
    HANDLE self = ::GetCurrentProcess();
    ObjectCounts c = { (long)::GetGuiResources(self, GR_GDIOBJECTS), (long)::GetGuiResources(self, GR_USEROBJECTS), 0 };
    DWORD handles = 0;
    if (::GetProcessHandleCount(self, &handles)) c.handles = (long)handles;
    if (!c.gdi)
        c.gdi = 65536 - FreeSlots<HPEN>([](int i) { return ::CreatePen(PS_SOLID, 1, RGB(i & 255, 0, 0)); },
                                        [](HPEN p) { ::DeleteObject(p); });
    if (!c.user) {
        ACCEL key = { FVIRTKEY, 'A', 1 };
        c.user = 65536 - FreeSlots<HACCEL>([&](int) { return ::CreateAcceleratorTableA(&key, 1); },
                                           [](HACCEL a) { ::DestroyAcceleratorTable(a); });
    }
    if (!c.handles) {
        // Handles are the lowest free multiples of 4: past a long run of
        // unknown values there are none.
        DWORD flags;
        for (ULONG_PTR h = 4, unknown = 0; unknown < 1024; h += 4) {
            if (::GetHandleInformation((HANDLE)h, &flags)) ++c.handles, unknown = 0;
            else ++unknown;
        }
    }
    return c;
}
