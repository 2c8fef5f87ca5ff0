// A list of object pointers whose growth never throws: Append answers false when memory is
// short, and the caller undoes what it began. Room reserved beforehand makes later appends
// certain.
#pragma once

#include <cstddef>
#include <cstring>

#include "core/memory.h"

namespace varnex {

template <class T>
class PtrList {
public:
    PtrList() = default;
    ~PtrList() { FreeBlock(items_); }
    PtrList(const PtrList&) = delete;
    PtrList& operator=(const PtrList&) = delete;

    // Room for `count` entries in all; false when it cannot be had.
    bool Reserve(std::size_t count) noexcept {
        if (count <= capacity_) return true;
        std::size_t grown = capacity_ ? capacity_ * 2 : 4;
        if (grown < count) grown = count;
        auto** items = static_cast<T**>(AllocateBlock(grown * sizeof(T*)));
        if (!items) return false;
        if (count_) std::memcpy(items, items_, count_ * sizeof(T*));
        FreeBlock(items_);
        items_ = items;
        capacity_ = grown;
        return true;
    }
    bool Append(T* item) noexcept {
        if (!Reserve(count_ + 1)) return false;
        items_[count_++] = item;
        return true;
    }
    // Removes every entry equal to `item`; the others keep their order.
    void Remove(const T* item) noexcept {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < count_; ++i)
            if (items_[i] != item) items_[kept++] = items_[i];
        count_ = kept;
    }
    // Removes every entry for which `drop` is true; the others keep their order.
    template <class Drop>
    void RemoveIf(Drop drop) noexcept {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < count_; ++i)
            if (!drop(items_[i])) items_[kept++] = items_[i];
        count_ = kept;
    }
    bool Contains(const T* item) const noexcept {
        for (std::size_t i = 0; i < count_; ++i)
            if (items_[i] == item) return true;
        return false;
    }
    void Clear() noexcept { count_ = 0; }
    // Gives the room back once nothing is in it.
    void TrimIfEmpty() noexcept {
        if (count_) return;
        FreeBlock(items_);
        items_ = nullptr;
        capacity_ = 0;
    }
    void PopBack() noexcept { --count_; }
    // Insertion sort: stable, in place, and lists are short.
    template <class Less>
    void StableSort(Less less) noexcept {
        for (std::size_t i = 1; i < count_; ++i) {
            T* item = items_[i];
            std::size_t j = i;
            for (; j > 0 && less(item, items_[j - 1]); --j) items_[j] = items_[j - 1];
            items_[j] = item;
        }
    }

    std::size_t size() const noexcept { return count_; }
    std::size_t capacity() const noexcept { return capacity_; }
    bool empty() const noexcept { return count_ == 0; }
    T* operator[](std::size_t i) const noexcept { return items_[i]; }
    T*& operator[](std::size_t i) noexcept { return items_[i]; }
    T* front() const noexcept { return items_[0]; }
    T* back() const noexcept { return items_[count_ - 1]; }
    T* const* begin() const noexcept { return items_; }
    T* const* end() const noexcept { return items_ + count_; }

private:
    T** items_ = nullptr;
    std::size_t count_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace varnex
