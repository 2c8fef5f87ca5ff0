// The window-object registry: how library objects are attached to windows and found again from
// a window handle alone, and the subclassing routines every object shares.
#pragma once

#include <windows.h>

#include <new>
#include <utility>

namespace varnex {

// Property names: exactly the class names of the four registered classes.
inline constexpr char kFrameProp[] = "CCtrlFrameFx";
inline constexpr char kBarProp[] = "CToolBarFx";
inline constexpr char kMiniFrameProp[] = "CMiniFrameFx";
inline constexpr char kCtrlClassProp[] = "CCtrlClassFx";

// The head of every object that wraps a window.
struct WindowRecord {
    HWND hwnd;
    UINT flags;
    WNDPROC prevProc;
};

// A live window of this process. Only such windows are ever attached to: another process's
// window can be neither subclassed nor trusted with a property value, which is an address here.
bool IsOwnWindow(HWND hwnd);
// The object of that class attached to the window, or null (also for a dead or foreign handle).
void* GetWindowObject(HWND hwnd, const char* className);
// A zero-filled global memory block for a registered object; null when memory is short.
void* AllocWindowObject(size_t size);
void AttachWindowObject(WindowRecord* object, const char* className);
void FreeWindowObject(void* object);
// Blocks allocated and not yet freed: tests prove with it that nothing leaked.
long LiveWindowObjects();

LRESULT CallPrevWindowProc(const WindowRecord* record, UINT message, WPARAM wParam, LPARAM lParam);
void RestoreWindowProc(const WindowRecord* record);
void DestroyWrappedWindow(const WindowRecord* record);
void RaiseWindowObject(const WindowRecord* record, HWND insertAfter);
// Creates one of the library's own child windows (class chosen by the id) into record->hwnd;
// ids outside the known set create nothing.
void CreateFrameChild(WindowRecord* record, DWORD style, DWORD exStyle, HWND parent, UINT id);
// Installs `proc` on the window and returns the procedure it replaced.
WNDPROC SubclassWindow(HWND hwnd, WNDPROC proc);

// Builds a registered object in its own block; null when the block cannot be had.
template <class T, class... Args>
T* NewWindowObject(Args&&... args) {
    void* block = AllocWindowObject(sizeof(T));
    return block ? new (block) T(std::forward<Args>(args)...) : nullptr;
}

// Destroys a registered object and releases its block.
template <class T>
void DeleteWindowObject(T* object) {
    object->~T();
    FreeWindowObject(object);
}

template <class T>
T* GetWindowObjectAs(HWND hwnd, const char* className) {
    return static_cast<T*>(GetWindowObject(hwnd, className));
}

}  // namespace varnex
