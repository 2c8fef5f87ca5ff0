#include "core/registry.h"

namespace varnex {

namespace {
long g_live_blocks = 0;
}

bool IsOwnWindow(HWND hwnd) {
    DWORD process = 0;
    return IsWindow(hwnd) && GetWindowThreadProcessId(hwnd, &process) && process == GetCurrentProcessId();
}

void* GetWindowObject(HWND hwnd, const char* className) {
    if (!IsOwnWindow(hwnd)) return nullptr;
    HANDLE block = GetPropA(hwnd, className);
    return block ? GlobalLock(block) : nullptr;
}

void* AllocWindowObject(size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_ZEROINIT, size);
    if (!block) return nullptr;
    ++g_live_blocks;
    return GlobalLock(block);
}

void AttachWindowObject(WindowRecord* object, const char* className) {
    SetPropA(object->hwnd, className, GlobalHandle(object));
}

void FreeWindowObject(void* object) {
    if (!object) return;
    GlobalFree(GlobalHandle(object));
    --g_live_blocks;
}

long LiveWindowObjects() { return g_live_blocks; }

LRESULT CallPrevWindowProc(const WindowRecord* record, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(record->prevProc, record->hwnd, message, wParam, lParam);
}

WNDPROC SubclassWindow(HWND hwnd, WNDPROC proc) {
    return reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

void RestoreWindowProc(const WindowRecord* record) {
    SetWindowLongPtrA(record->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->prevProc));
}

void DestroyWrappedWindow(const WindowRecord* record) { DestroyWindow(record->hwnd); }

void RaiseWindowObject(const WindowRecord* record, HWND insertAfter) {
    if (record->flags & 0x2) {  // an MDI child (or the floating window of one): ask the MDI client
        SendMessageA(GetParent(record->hwnd), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(record->hwnd), 0);
        return;
    }
    SetWindowPos(record->hwnd, insertAfter, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

void CreateFrameChild(WindowRecord* record, DWORD style, DWORD exStyle, HWND parent, UINT id) {
    const char* className;
    UINT menuId = id;
    if (id >= 0xE81B && id <= 0xE81E) {
        className = "AfxControlBar40su";
    } else if (id == 0xE700) {
        className = "AfxFrameOrView40su";
        menuId = 0;  // a floating window has no id of its own
    } else if (id == 0xE900) {
        className = "AfxFrameOrView40su";
    } else if (id == 0xE810) {
        className = "msctls_progress32";
    } else {
        return;
    }
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));
    record->hwnd = CreateWindowExA(exStyle, className, nullptr, style, 0, 0, 0, 0, parent,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(menuId)), instance,
                                   nullptr);
}

}  // namespace varnex
