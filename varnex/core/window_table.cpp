#include "core/window_table.h"

#include <cstdint>
#include <cstring>

#include "core/memory.h"

namespace varnex {

namespace {

const HWND kRemoved = reinterpret_cast<HWND>(static_cast<INT_PTR>(-1));
constexpr long kFirstCapacity = 64;

// Window handles are small numbers that differ in a few bits: mixed so that every bit of the
// handle reaches the low bits the table indexes by.
constexpr uint32_t kMixer = 0x45D9F3Bu;  // an odd multiplier that spreads every bit upwards

uint32_t Hash(HWND hwnd, int kind) {
    uint32_t h = static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(hwnd)) ^ (static_cast<uint32_t>(kind) << 29);
    h ^= h >> 16;
    h *= kMixer;
    h ^= h >> 16;
    return h;
}

}  // namespace

long WindowTable::IndexOf(HWND hwnd, int kind) const {
    if (!capacity_) return -1;
    const long mask = capacity_ - 1;
    for (long i = static_cast<long>(Hash(hwnd, kind) & static_cast<uint32_t>(mask));; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (!slot.hwnd) return -1;
        if (slot.hwnd == hwnd && slot.kind == kind) return i;
    }
}

RegisteredRecord* WindowTable::Find(HWND hwnd, int kind) const {
    if (!hwnd || hwnd == kRemoved) return nullptr;
    const long i = IndexOf(hwnd, kind);
    return i < 0 ? nullptr : slots_[i].object;
}

bool WindowTable::Insert(HWND hwnd, int kind, RegisteredRecord* object) {
    if (!hwnd || hwnd == kRemoved) return false;
    if (const long i = IndexOf(hwnd, kind); i >= 0) {
        slots_[i].object = object;
        return true;
    }
    // At most half the slots in use keeps every probe short and one slot always free.
    if ((used_ + 1) * 2 > capacity_ && !Grow()) return false;
    const long mask = capacity_ - 1;
    long i = static_cast<long>(Hash(hwnd, kind) & static_cast<uint32_t>(mask));
    while (slots_[i].hwnd && slots_[i].hwnd != kRemoved) i = (i + 1) & mask;
    if (!slots_[i].hwnd) ++used_;
    slots_[i] = {hwnd, kind, object};
    ++count_;
    return true;
}

void WindowTable::Remove(HWND hwnd, int kind, const RegisteredRecord* object) {
    if (!hwnd || hwnd == kRemoved) return;
    const long i = IndexOf(hwnd, kind);
    if (i < 0 || slots_[i].object != object) return;
    slots_[i] = {kRemoved, 0, nullptr};
    if (--count_ == 0) {
        // Nothing registered: the block goes, so that an idle library holds no memory.
        FreeBlock(slots_);
        slots_ = nullptr;
        capacity_ = used_ = 0;
    }
}

bool WindowTable::Grow() {
    // Removed slots are dropped on the way: the new table may be no larger than the old.
    long capacity = kFirstCapacity;
    while ((count_ + 1) * 2 > capacity) capacity *= 2;
    auto* slots = static_cast<Slot*>(AllocateBlock(sizeof(Slot) * static_cast<size_t>(capacity)));
    if (!slots) return false;
    std::memset(slots, 0, sizeof(Slot) * static_cast<size_t>(capacity));
    const long mask = capacity - 1;
    for (long j = 0; j < capacity_; ++j) {
        const Slot& old = slots_[j];
        if (!old.hwnd || old.hwnd == kRemoved) continue;
        long i = static_cast<long>(Hash(old.hwnd, old.kind) & static_cast<uint32_t>(mask));
        while (slots[i].hwnd) i = (i + 1) & mask;
        slots[i] = old;
    }
    FreeBlock(slots_);
    slots_ = slots;
    capacity_ = capacity;
    used_ = count_;
    return true;
}

}  // namespace varnex
