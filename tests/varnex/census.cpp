#include "census.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "core/registry.h"

namespace varnex_test {

namespace {

BOOL CALLBACK CountWindowProperties(HWND hwnd, LPARAM count) {
    for (const char* name : {varnex::kFrameProp, varnex::kBarProp, varnex::kMiniFrameProp, varnex::kCtrlClassProp})
        if (GetPropA(hwnd, name)) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK CountTreeProperties(HWND hwnd, LPARAM count) {
    CountWindowProperties(hwnd, count);
    EnumChildWindows(hwnd, CountWindowProperties, count);
    return TRUE;
}

void CountHeaps(ProcessCounts* counts) {
    std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    for (HANDLE heap : heaps) {
        if (!HeapLock(heap)) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heap, &entry)) {
            if (!(entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)) continue;
            ++counts->heapBlocks;
            counts->heapBytes += static_cast<long>(entry.cbData);
        }
        HeapUnlock(heap);
    }
}

// Wine keeps the process's GDI handles in a table that the process environment block points to
// (as Windows does, with another entry layout): 0x10000 entries of 24 bytes, the object's type
// byte at offset 14, zero for a free entry.
void CountGdiObjects(ProcessCounts* counts) {
    // The environment block's address sits at fs:[0x30] on x86. (NtCurrentTeb() reads fs:[0x18]
    // through an intrinsic that GCC 12 flags as an out-of-bounds read of a zero-sized array.)
    const BYTE* peb;
    asm("movl %%fs:0x30, %0" : "=r"(peb));
    const auto* table = *reinterpret_cast<const BYTE* const*>(peb + 0x94);
    if (!table) return;
    constexpr int kEntries = 0x10000, kEntrySize = 24, kTypeOffset = 14;
    for (int i = 0; i < kEntries; ++i)
        if (table[i * kEntrySize + kTypeOffset]) ++counts->gdiObjects;
}

// A user handle value with generation 0 names its table entry whatever the entry's generation.
// The table fills from the bottom: a long run of free entries ends it.
void CountUserObjects(ProcessCounts* counts) {
    const DWORD process = GetCurrentProcessId();
    int free = 0;
    for (UINT_PTR value = 0x20; value < 0x10000 && free < 2048; value += 2) {
        HWND window = reinterpret_cast<HWND>(value);
        const bool isWindow = IsWindow(window), isMenu = IsMenu(reinterpret_cast<HMENU>(value));
        free = (isWindow || isMenu) ? 0 : free + 1;
        DWORD owner = 0;
        if (isWindow && GetWindowThreadProcessId(window, &owner) && owner == process) ++counts->userObjects;
        if (isMenu) ++counts->userObjects;
    }
}

}  // namespace

int LibraryProperties() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountTreeProperties, reinterpret_cast<LPARAM>(&count));
    return count;
}

ProcessCounts MeasureProcess() {
    ProcessCounts counts;
    CountHeaps(&counts);
    CountGdiObjects(&counts);
    CountUserObjects(&counts);
    return counts;
}

std::string Describe(const ProcessCounts& c) {
    char text[160];
    std::snprintf(text, sizeof text, "heap %ld blocks / %ld bytes, %ld GDI objects, %ld USER objects", c.heapBlocks,
                  c.heapBytes, c.gdiObjects, c.userObjects);
    return text;
}

}  // namespace varnex_test
