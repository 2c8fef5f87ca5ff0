// The library's one allocation policy: nothing it allocates ever throws (an exception would cross
// an export or a window procedure and end the host); a failed allocation is a null result that
// the caller undoes; and every live block is counted, so tests can prove that nothing leaks.
#pragma once

#include <cstddef>
#include <new>
#include <utility>

namespace varnex {

// A heap block, or null when memory is short.
void* AllocateBlock(std::size_t size) noexcept;
void FreeBlock(void* block) noexcept;
// Heap blocks allocated and not yet freed.
long LiveHeapBlocks() noexcept;

// A test's way to run the library out of memory: when set, it is asked before every allocation
// (heap blocks and registered objects) and a false answer fails that allocation.
using AllocationGate = bool (*)();
void SetAllocationGate(AllocationGate gate) noexcept;
// False when the gate fails this allocation.
bool AllocationAllowed() noexcept;

// An object in its own heap block, or null.
template <class T, class... Args>
T* New(Args&&... args) noexcept {
    void* block = AllocateBlock(sizeof(T));
    return block ? new (block) T(std::forward<Args>(args)...) : nullptr;
}

template <class T>
void Delete(T* object) noexcept {
    if (!object) return;
    object->~T();
    FreeBlock(object);
}

}  // namespace varnex
