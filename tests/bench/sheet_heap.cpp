// What opening and closing the settings sheet leaves on the heaps, in this
// process: the real sheet (RunSettingsSheetModal) opened and closed many
// times, each time on its start page and then on the pages asked for, by
// Cancel or OK. Every heap of the process is walked after a warm-up and
// again after the measured cycles; the blocks that are new and still live
// are grouped by size, with a sample of their bytes (text shows) and the
// module addresses they hold (a virtual table or a code pointer names its
// owner).
//
//   sheet_heap.exe [cycles [warmup]]       (defaults 300 and 30)
//   KS_SHEET_START=0..5 (the page to open on; 5 = About, 6 with the welcome
//   page), KS_SHEET_VISIT=012345
//   (pages to visit after), KS_SHEET_WELCOME=1, KS_SHEET_OK=1
//
// Prints the heap bytes per cycle and the largest groups of new blocks.
// Not a test: it finds where memory goes.
#include "app/Kestrabel.h"
#include "app/Settings.h"
#include "services/Translator.h"
#include "ui/SettingsSheet.h"
#include <algorithm>
#include <map>
#include <set>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

namespace {

std::string s_visit;
bool s_ok;
int s_sheets;

struct Block {
    const unsigned char* p;
    size_t size;
    int heap;   // its heap's place in GetProcessHeaps (0: the process heap)
    bool operator<(const Block& o) const { return p < o.p || (p == o.p && size < o.size); }
};

// Fills blocks, whose room was reserved before the first cycle: the walk
// itself allocates nothing that a later walk would count as new.
void WalkHeaps(std::vector<Block>& blocks, size_t* pTotal)
{
    blocks.clear();
    size_t total = 0;
    HANDLE heaps[256];
    DWORD n = ::GetProcessHeaps(256, heaps);
    for (DWORD i = 0; i < n && i < 256; ++i) {
        if (!::HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY e = {};
        while (::HeapWalk(heaps[i], &e)) {
            if (!(e.wFlags & PROCESS_HEAP_ENTRY_BUSY)) continue;
            blocks.push_back({ (const unsigned char*)e.lpData, (size_t)e.cbData, (int)i });
            total += e.cbData;
        }
        ::HeapUnlock(heaps[i]);
    }
    std::sort(blocks.begin(), blocks.end());
    if (pTotal) *pTotal = total;
}

BOOL CALLBACK FindSheet(HWND h, LPARAM lp)
{
    char cls[16] = "";
    ::GetClassNameA(h, cls, sizeof(cls));
    if (strcmp(cls, "#32770") == 0 && ::IsWindowVisible(h)) { *(HWND*)lp = h; return FALSE; }
    return TRUE;
}

// Runs inside the sheet's modal loop: visits the pages, then closes it.
void CALLBACK Steer(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    HWND hSheet = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindSheet, (LPARAM)&hSheet);
    if (!hSheet) return;
    for (char c : s_visit) ::SendMessageA(hSheet, PSM_SETCURSEL, (WPARAM)(c - '0'), 0);
    ::PostMessageA(hSheet, PSM_PRESSBUTTON, s_ok ? PSBTN_OK : PSBTN_CANCEL, 0);
    ++s_sheets;
}

void OneCycle(int start, bool welcome)
{
    ::SetTimer(nullptr, 0, 1, Steer);
    RunSettingsSheetModal(nullptr, start, welcome);
}

std::string ModuleOf(const void* p)
{
    HMODULE h = nullptr;
    if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              (LPCSTR)p, &h) || !h)
        return "";
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(h, path, MAX_PATH);
    const char* name = strrchr(path, '\\');
    char out[MAX_PATH + 32];
    snprintf(out, sizeof(out), "%s+0x%llx", name ? name + 1 : path,
             (unsigned long long)((const char*)p - (const char*)h));
    return out;
}

void Describe(const Block& b)
{
    size_t n = std::min<size_t>(b.size, 96);
    printf("      bytes:");
    for (size_t i = 0; i < n; ++i) printf("%s%02x", i % 16 == 0 ? "\n        " : " ", b.p[i]);
    printf("\n      text: \"");
    for (size_t i = 0; i < std::min<size_t>(b.size, 160); ++i) {
        unsigned char c = b.p[i];
        if (c >= 32 && c < 127) putchar(c);
        else if (c != 0) putchar('.');
    }
    printf("\"\n");
    for (size_t off = 0; off + sizeof(void*) <= std::min<size_t>(b.size, 256); off += sizeof(void*)) {
        const void* v;
        memcpy(&v, b.p + off, sizeof(v));
        if ((uintptr_t)v < 0x10000) continue;
        std::string m = ModuleOf(v);
        if (!m.empty()) printf("      [+%zu] -> %s\n", off, m.c_str());
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (g_hInstanceMutex) {
        ::CloseHandle(g_hInstanceMutex);
        g_hInstanceMutex = nullptr;
    }
    AfxWinInit(::GetModuleHandleA(nullptr));
    AfxGdiplusStartup();
    g_firstRun = false;
    int cycles = argc > 1 ? atoi(argv[1]) : 300;
    int warmup = argc > 2 ? atoi(argv[2]) : 30;
    const char* v = getenv("KS_SHEET_VISIT");
    s_visit = v ? v : "";
    const char* st = getenv("KS_SHEET_START");
    int start = st ? atoi(st) : 0;
    const char* w = getenv("KS_SHEET_WELCOME");
    bool welcome = w && *w == '1';
    const char* ok = getenv("KS_SHEET_OK");
    s_ok = ok && *ok == '1';

    std::vector<Block> before, after;
    before.reserve(400000);
    after.reserve(400000);
    for (int i = 0; i < warmup; ++i) OneCycle(start, welcome);
    size_t total0 = 0, total1 = 0;
    WalkHeaps(before, &total0);
    for (int i = 0; i < cycles; ++i) OneCycle(start, welcome);
    WalkHeaps(after, &total1);

    std::vector<Block> fresh;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::back_inserter(fresh));
    std::map<size_t, std::vector<Block>> bySize;
    for (const Block& b : fresh) bySize[b.size].push_back(b);
    std::vector<std::pair<size_t, size_t>> order;   // bytes, size
    size_t freshBytes = 0;
    for (auto& g : bySize) {
        order.push_back({ g.first * g.second.size(), g.first });
        freshBytes += g.first * g.second.size();
    }
    std::sort(order.rbegin(), order.rend());

    printf("settings sheet, start page %d, visiting \"%s\"%s, closed by %s: %d sheets shown of %d cycles after %d\n",
           start, s_visit.c_str(), welcome ? " with the welcome page" : "", s_ok ? "OK" : "Cancel", s_sheets,
           cycles + warmup, warmup);
    printf("live heap bytes: %zu -> %zu, %+.1f per cycle; new live blocks %zu (%zu bytes, %.1f per cycle)\n",
           total0, total1, ((double)total1 - (double)total0) / cycles, fresh.size(), freshBytes,
           (double)freshBytes / cycles);
    int shown = 0;
    for (auto& o : order) {
        auto& g = bySize[o.second];
        if (g.size() < 2) continue;
        if (shown++ >= 16) break;
        printf("  size %zu: %zu blocks, %.2f per cycle, %.1f bytes per cycle, heap %d\n", o.second, g.size(),
               (double)g.size() / cycles, (double)o.first / cycles, g[0].heap);
        printf("      at");
        for (size_t i = 0; i < g.size() && i < 6; ++i) printf(" %p", (const void*)g[g.size() - 1 - i].p);
        printf("\n");
        Describe(g[g.size() / 2]);
    }
    // Blocks that grew (one each) show as single new blocks.
    std::vector<Block> singles;
    for (auto& g : bySize)
        if (g.second.size() == 1) singles.push_back(g.second[0]);
    std::sort(singles.begin(), singles.end(), [](const Block& a, const Block& b) { return a.size > b.size; });
    for (size_t i = 0; i < singles.size() && i < 6; ++i) {
        printf("  single new block of %zu bytes at %p, heap %d\n", singles[i].size, (const void*)singles[i].p,
               singles[i].heap);
        Describe(singles[i]);
    }
    fflush(stdout);
    _exit(0);
}
