#include "core/registry.h"

#include <commctrl.h>

#include <cstring>

#include "core/host.h"
#include "core/memory.h"
#include "core/ptr_list.h"
#include "core/window_table.h"
#include "varnex.h"

namespace varnex {

namespace {

long g_live_blocks = 0;
// The live blocks themselves, as far as this table holds them: tests name what was left behind.
constexpr long kTrackedBlocks = 1024;
void* g_tracked[kTrackedBlocks] = {};
// The windows the library made, for LiveLibraryWindows; handles of destroyed ones are dropped
// as new ones come.
PtrList<HWND__> g_made;

// A window the library is making, known from the system's first word of it: the host hears of
// the window (its class procedure, the parent's notifications) before CreateWindowEx returns,
// and may hand it back to the library from there.
struct WindowBeingMade {
    WindowRecord* record;
    HWND hwnd;
    WindowBeingMade* outer;  // a creation the host started from inside this one's messages
};
WindowBeingMade* g_being_made = nullptr;

LRESULT CALLBACK NoteWindowBeingMade(int code, WPARAM wParam, LPARAM lParam) {
    // The first window created is the library's; any the host creates from its messages come
    // after it.
    if (code == HCBT_CREATEWND && g_being_made && !g_being_made->hwnd) {
        g_being_made->hwnd = reinterpret_cast<HWND>(wParam);
        g_being_made->record->hwnd = g_being_made->hwnd;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

WindowTable g_objects;

// Windows that heard WM_DESTROY through a library procedure and may still exist: their
// destruction is under way. A fixed table: noting must not fail or allocate in the middle of a
// destruction; should it be full of live windows, the newest is not noted.
constexpr int kEndingWindows = 256;
HWND g_ending[kEndingWindows] = {};

// The table's kind of a registered class, -1 for any other property name.
int KindOf(const char* className) {
    static const char* const kNames[WindowTable::kKinds] = {kFrameProp, kBarProp, kMiniFrameProp, kCtrlClassProp};
    for (int kind = 0; kind < WindowTable::kKinds; ++kind)
        if (className == kNames[kind]) return kind;
    for (int kind = 0; kind < WindowTable::kKinds; ++kind)
        if (std::strcmp(className, kNames[kind]) == 0) return kind;
    return -1;
}

void ForgetDestroyedWindows() {
    g_made.RemoveIf([](HWND w) { return !IsWindow(w); });
    g_made.TrimIfEmpty();
}

void ForgetEndedWindows() {
    for (HWND& w : g_ending)
        if (w && !IsWindow(w)) w = nullptr;
}

}  // namespace

bool IsOwnWindow(HWND hwnd) {
    DWORD process = 0;
    return IsWindow(hwnd) && GetWindowThreadProcessId(hwnd, &process) && process == GetCurrentProcessId();
}

RegisteredRecord* FindWindowRecord(HWND hwnd, const char* className) {
    // Only live windows of this process carry an entry: each leaves the table by its object's
    // release, which comes with the window's end at the latest.
    if (const int kind = KindOf(className); kind >= 0) return g_objects.Find(hwnd, kind);
    if (!IsOwnWindow(hwnd)) return nullptr;
    HANDLE block = GetPropA(hwnd, className);
    return block ? static_cast<RegisteredRecord*>(GlobalLock(block)) : nullptr;
}

void* GetWindowObject(HWND hwnd, const char* className) {
    RegisteredRecord* record = FindWindowRecord(hwnd, className);
    return record && !record->released ? record : nullptr;
}

void* AllocWindowObject(size_t size) {
    if (!AllocationAllowed()) return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_ZEROINIT, size);
    if (!block) return nullptr;
    ++g_live_blocks;
    void* object = GlobalLock(block);
    for (void*& slot : g_tracked)
        if (!slot) {
            slot = object;
            break;
        }
    return object;
}

bool AttachWindowObject(RegisteredRecord* object, const char* className) {
    const int kind = KindOf(className);
    if (kind < 0 || !g_objects.Insert(object->hwnd, kind, object)) return false;
    if (SetPropA(object->hwnd, className, GlobalHandle(object))) return true;
    g_objects.Remove(object->hwnd, kind, object);
    return false;
}

void DetachWindowObject(RegisteredRecord* object, const char* className) {
    // The window may carry another object of the class by now (detached and attached again
    // from inside a notification): that one stays.
    if (object->hwnd && GetPropA(object->hwnd, className) == GlobalHandle(object)) RemovePropA(object->hwnd, className);
    if (const int kind = KindOf(className); kind >= 0) g_objects.Remove(object->hwnd, kind, object);
}

void FreeWindowObject(void* object) {
    if (!object) return;
    for (void*& slot : g_tracked)
        if (slot == object) slot = nullptr;
    GlobalFree(GlobalHandle(object));
    --g_live_blocks;
}

long LiveWindowObjects() { return g_live_blocks; }

long CopyLiveWindowObjects(RegisteredRecord** out, long capacity) {
    long count = 0;
    for (void* slot : g_tracked)
        if (slot && count < capacity) out[count++] = static_cast<RegisteredRecord*>(slot);
    return count;
}

LRESULT CallPrevWindowProc(const WindowRecord* record, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(record->prevProc, record->hwnd, message, wParam, lParam);
}

void DestroyWrappedWindow(const WindowRecord* record) { DestroyWindow(record->hwnd); }

void RaiseWindowObject(const WindowRecord* record, HWND insertAfter) {
    if (record->flags & AF_MDICHILD) {  // an MDI child (or the floating window of one): ask the MDI client
        SendMessageA(GetParent(record->hwnd), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(record->hwnd), 0);
        return;
    }
    SetWindowPos(record->hwnd, insertAfter, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

bool RestoreLaterIfMinMaxed(HWND hwnd, WPARAM sizeKind) {
    if (sizeKind != SIZE_MINIMIZED && sizeKind != SIZE_MAXIMIZED) return false;
    PostMessageA(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    return true;
}

bool CreateFrameChild(WindowRecord* record, DWORD style, DWORD exStyle, HWND parent, UINT id) {
    const char* className;
    UINT menuId = id;
    if (id >= kFirstSiteId && id <= kLastSiteId) {
        className = kControlBarClass;
    } else if (id == kMiniFrameId) {
        className = kFrameOrViewClass;
        menuId = 0;  // a floating window has no id of its own
    } else if (id == kPaneId) {
        className = kFrameOrViewClass;
    } else if (id == kProgressId) {
        className = PROGRESS_CLASSA;
    } else {
        return false;
    }
    ForgetDestroyedWindows();
    if (!g_made.Reserve(g_made.size() + 1)) return false;
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));
    HHOOK hook = SetWindowsHookExA(WH_CBT, NoteWindowBeingMade, nullptr, GetCurrentThreadId());
    if (!hook) {
        g_made.TrimIfEmpty();
        return false;
    }
    WindowBeingMade making{record, nullptr, g_being_made};
    g_being_made = &making;
    HWND made = CreateWindowExA(exStyle, className, nullptr, style, 0, 0, 0, 0, parent,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(menuId)), instance, nullptr);
    g_being_made = making.outer;
    UnhookWindowsHookEx(hook);
    if (!made) {
        record->hwnd = nullptr;
        g_made.TrimIfEmpty();
        return false;
    }
    record->hwnd = made;
    g_made.Append(made);
    return true;
}

bool IsWindowBeingMade(HWND hwnd) {
    for (const WindowBeingMade* making = g_being_made; making; making = making->outer)
        if (hwnd && making->hwnd == hwnd) return true;
    return false;
}

void NoteWindowEnding(HWND hwnd) {
    ForgetEndedWindows();
    for (HWND w : g_ending)
        if (w == hwnd) return;
    for (HWND& w : g_ending)
        if (!w) {
            w = hwnd;
            return;
        }
}

bool IsWindowEnding(HWND hwnd) {
    for (HWND w = hwnd; w; w = GetAncestor(w, GA_PARENT))
        for (HWND ending : g_ending)
            if (ending == w && IsWindow(ending)) return true;
    return false;
}

long LiveLibraryWindows() {
    ForgetDestroyedWindows();
    return static_cast<long>(g_made.size());
}

long CopyLibraryWindows(HWND* out, long capacity) {
    const long count = LiveLibraryWindows();
    for (long i = 0; i < count && i < capacity; ++i) out[i] = g_made[static_cast<size_t>(i)];
    return count;
}

}  // namespace varnex
