// The registered objects by window, in process memory. A window property is a request to the
// window server under Wine, and every message of every window the library takes over looks its
// object up: the table answers instead. The properties stay, for hosts and tools that read them;
// the table follows them exactly, written only where the registry sets or removes one.
#pragma once

#include <windows.h>

namespace varnex {

struct RegisteredRecord;

class WindowTable {
public:
    static constexpr int kKinds = 4;  // the four registered classes

    // False when there is no room and no memory for more; the table is then as it was.
    bool Insert(HWND hwnd, int kind, RegisteredRecord* object);
    // Removes the entry only while it still names `object`.
    void Remove(HWND hwnd, int kind, const RegisteredRecord* object);
    RegisteredRecord* Find(HWND hwnd, int kind) const;
    long Count() const { return count_; }

private:
    struct Slot {
        HWND hwnd;  // null: never used; kRemoved: free again, but probing goes on past it
        int kind;
        RegisteredRecord* object;
    };
    long IndexOf(HWND hwnd, int kind) const;
    bool Grow();

    Slot* slots_ = nullptr;
    long capacity_ = 0;  // a power of two, or 0
    long count_ = 0;
    long used_ = 0;      // live and removed slots: what lengthens probes
};

}  // namespace varnex
