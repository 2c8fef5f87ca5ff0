#include "core/memory.h"

namespace varnex {

namespace {
long g_live_heap_blocks = 0;
AllocationGate g_gate = nullptr;
}  // namespace

bool AllocationAllowed() noexcept { return !g_gate || g_gate(); }

void* AllocateBlock(std::size_t size) noexcept {
    if (!AllocationAllowed()) return nullptr;
    void* block = ::operator new(size, std::nothrow);
    if (block) ++g_live_heap_blocks;
    return block;
}

void FreeBlock(void* block) noexcept {
    if (!block) return;
    ::operator delete(block);
    --g_live_heap_blocks;
}

long LiveHeapBlocks() noexcept { return g_live_heap_blocks; }

void SetAllocationGate(AllocationGate gate) noexcept { g_gate = gate; }

}  // namespace varnex
