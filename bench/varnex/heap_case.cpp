#include "heap_case.h"

#include <windows.h>

#include <string>
#include <vector>

#include "bar_frame.h"

namespace vbench {

namespace {

// Busy bytes over every heap of the process: the process heap, the C runtime's, and any other.
long long HeapBytesInUse() {
    std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    long long bytes = 0;
    for (HANDLE heap : heaps) {
        if (!HeapLock(heap)) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heap, &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += entry.cbData;
        HeapUnlock(heap);
    }
    return bytes;
}

}  // namespace

void RunHeapCase(int bars, Report* report) {
    // A few bars docked and the frame gone first: whatever the library, the system or the host
    // stand-in allocates once per process is not counted against the bars below.
    BarFrame warmUp = BuildBarFrame(8);
    DestroyBarFrame(&warmUp);

    BarFrame f;
    f.frame = CreateAttachedFrame(kFrameSize);
    if (!f.frame) {
        report->Note("heap (N=" + std::to_string(bars) + "): the frame could not be built, not measured");
        return;
    }
    ReserveBars(&f, bars);
    Settle();
    const long long before = HeapBytesInUse();
    CreateBarWindows(&f);
    Settle();
    const long long windows = HeapBytesInUse();
    const bool docked = DockBars(&f);
    Settle();
    const long long after = HeapBytesInUse();
    if (docked) {
        report->Add(Counted("heap per docked bar vs bar window", bars, static_cast<double>(after - windows) / bars,
                            static_cast<double>(windows - before) / bars, "bytes/bar"));
    } else {
        report->Note("heap (N=" + std::to_string(bars) + "): a SetDock failed, not measured");
    }
    DestroyBarFrame(&f);
}

}  // namespace vbench
