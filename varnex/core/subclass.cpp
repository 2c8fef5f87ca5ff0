#include "core/subclass.h"

#include "core/memory.h"
#include "core/ptr_list.h"

namespace varnex {

namespace {

// A library procedure left in a window's chain under another subclass.
struct PassThrough {
    HWND hwnd;
    WNDPROC proc;
    WNDPROC prev;  // where it sends messages
};

PtrList<PassThrough> g_passThroughs;

void DropPassThrough(PassThrough* p);

PassThrough* FindPassThrough(HWND hwnd, WNDPROC proc) {
    // Windows destroyed without their last message reaching the pass-through leave entries
    // behind; their handles may come back for other windows.
    for (size_t i = g_passThroughs.size(); i-- > 0;)
        if (!IsWindow(g_passThroughs[i]->hwnd)) DropPassThrough(g_passThroughs[i]);
    for (PassThrough* p : g_passThroughs)
        if (p->hwnd == hwnd && (!proc || p->proc == proc)) return p;
    return nullptr;
}

void DropPassThrough(PassThrough* p) {
    g_passThroughs.Remove(p);
    g_passThroughs.TrimIfEmpty();
    Delete(p);
}

WNDPROC CurrentProc(HWND hwnd) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)); }

// The slot that keeps the procedure under `proc` on this window, when the one above it is the
// library's: a registered object's, a frame part's or a pass-through's prevProc. Null when
// `proc` has no library link above it.
WNDPROC* LinkAbove(HWND hwnd, WNDPROC proc, const WindowRecord* except) {
    for (const char* name : {kFrameProp, kBarProp, kCtrlClassProp}) {
        WindowRecord* record = FindWindowRecord(hwnd, name);
        if (record && record != except && record->prevProc == proc) return &record->prevProc;
    }
    if (WindowRecord* part = FramePartRecord(hwnd); part && part != except && part->prevProc == proc)
        return &part->prevProc;
    for (PassThrough* p : g_passThroughs)
        if (p->hwnd == hwnd && p->prev == proc) return &p->prev;
    return nullptr;
}

}  // namespace

bool WindowRuns(HWND hwnd, WNDPROC proc) { return CurrentProc(hwnd) == proc || LinkAbove(hwnd, proc, nullptr); }

bool InstallWindowProc(WindowRecord* record, WNDPROC proc) {
    HWND hwnd = record->hwnd;
    if (PassThrough* p = FindPassThrough(hwnd, proc)) {
        // Still in the chain: it serves the new object from where it stands.
        record->prevProc = p->prev;
        DropPassThrough(p);
        return true;
    }
    if (CurrentProc(hwnd) == proc || LinkAbove(hwnd, proc, record)) return false;  // never twice
    record->prevProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
    return true;
}

void RemoveWindowProc(const WindowRecord* record, WNDPROC proc) {
    HWND hwnd = record->hwnd;
    if (!IsWindow(hwnd)) return;
    if (CurrentProc(hwnd) == proc) {
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->prevProc));
        return;
    }
    if (WNDPROC* slot = LinkAbove(hwnd, proc, record)) {
        *slot = record->prevProc;
        return;
    }
    // Someone else's subclass sits above: whatever it calls next must still reach the rest.
    if (g_passThroughs.Reserve(g_passThroughs.size() + 1)) {
        if (PassThrough* p = New<PassThrough>(PassThrough{hwnd, proc, record->prevProc})) {
            g_passThroughs.Append(p);
            return;
        }
        g_passThroughs.TrimIfEmpty();
    }
    // No memory for a pass-through: the subclass above loses its place, but nothing loops.
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->prevProc));
}

WNDPROC PassThroughOf(HWND hwnd, WNDPROC proc) {
    const PassThrough* p = FindPassThrough(hwnd, proc);
    return p ? p->prev : nullptr;
}

bool CallPassThrough(HWND hwnd, WNDPROC proc, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    PassThrough* p = FindPassThrough(hwnd, proc);
    if (!p) return false;
    const WNDPROC through = p->prev;
    if (CurrentProc(hwnd) == proc) {
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(through));
        DropPassThrough(p);
    }
    *result = CallWindowProcA(through, hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        while (PassThrough* left = FindPassThrough(hwnd, nullptr)) DropPassThrough(left);
    }
    return true;
}

}  // namespace varnex
