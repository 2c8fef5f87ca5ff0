// The window-object registry: how library objects are attached to windows and found again from
// a window handle alone, how they outlive calls into host code that release them, and the
// routines every object shares.
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
    HWND hwnd = nullptr;
    UINT flags = 0;
    WNDPROC prevProc = nullptr;
};

// The head of the four registered classes. A host may release an object from inside any message
// the library hands it (detach, undock, destroy); whoever was using the object then holds it, and
// its memory lasts until the last hold ends.
struct RegisteredRecord : WindowRecord {
    LONG holds = 0;          // calls on the stack that use the object
    BOOL released = FALSE;   // given back: nothing acts on it any more
};

// A live window of this process. Only such windows are ever attached to: another process's
// window can be neither subclassed nor trusted with a property value, which is an address here.
bool IsOwnWindow(HWND hwnd);
// The object of that class attached to the window, or null (also for a dead or foreign handle,
// and for an object being released).
void* GetWindowObject(HWND hwnd, const char* className);
// The same, also while the object is being released: its window procedure still runs until the
// window is given back, and passes every message on.
RegisteredRecord* FindWindowRecord(HWND hwnd, const char* className);
// A global memory block for a registered object; null when memory is short.
void* AllocWindowObject(size_t size);
// Sets the property; false when the window would not take it.
bool AttachWindowObject(RegisteredRecord* object, const char* className);
// Removes the property, but only while it still names this object.
void DetachWindowObject(RegisteredRecord* object, const char* className);
void FreeWindowObject(void* object);
// Blocks allocated and not yet freed: tests prove with it that nothing leaked.
long LiveWindowObjects();
// Copies up to `capacity` of those objects into `out`; returns how many were copied.
long CopyLiveWindowObjects(RegisteredRecord** out, long capacity);

LRESULT CallPrevWindowProc(const WindowRecord* record, UINT message, WPARAM wParam, LPARAM lParam);
void DestroyWrappedWindow(const WindowRecord* record);
void RaiseWindowObject(const WindowRecord* record, HWND insertAfter);
// A window the library sizes is never left minimized or maximized (a host's ShowWindow can still
// ask for it: the system would then hold its size): given WM_SIZE's kind, asks the window back to
// its restored state once this size change is over; true when it did.
bool RestoreLaterIfMinMaxed(HWND hwnd, WPARAM sizeKind);
// Creates one of the library's own windows (class chosen by the id) into record->hwnd; false
// when there is no window (an id outside the known set, or the system refused it).
bool CreateFrameChild(WindowRecord* record, DWORD style, DWORD exStyle, HWND parent, UINT id);
// A window CreateFrameChild is making right now: the library's from its first message on.
bool IsWindowBeingMade(HWND hwnd);
// A window whose WM_DESTROY a library procedure heard. While it exists its destruction is under
// way, and neither it nor any window inside it is taken any more (made a frame, a bar or an
// extended control): taking it out of the tree being destroyed would leave it alive after its end.
void NoteWindowEnding(HWND hwnd);
bool IsWindowEnding(HWND hwnd);
// Windows the library made that still exist: tests prove with it that none is left behind.
long LiveLibraryWindows();
// Copies up to `capacity` of those windows into `out`; returns how many exist.
long CopyLibraryWindows(HWND* out, long capacity);

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

// Keeps a registered object's memory valid across calls into host code. Alive() tells whether
// the object is still in use or was released meanwhile; the last hold frees a released object.
template <class T>
class Hold {
public:
    explicit Hold(T* object) : object_(object) {
        if (object_) ++object_->holds;
    }
    ~Hold() {
        if (object_ && --object_->holds == 0 && object_->released) DeleteWindowObject(object_);
    }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

    bool Alive() const { return object_ && !object_->released; }
    T* get() const { return object_; }
    T* operator->() const { return object_; }

private:
    T* object_;
};

// A window's end as its procedure hears it: WM_DESTROY, or WM_NCDESTROY alone for a window the
// system destroys without the first (one moved into a parent whose destruction is already under
// way). Every object is released at the first of the two.
inline bool IsWindowEnd(UINT message) { return message == WM_DESTROY || message == WM_NCDESTROY; }

// Starts a registered object's release; false when its release began already (the caller then
// leaves it alone). From here on no export finds the object, and its window procedure only passes
// messages on.
inline bool BeginRelease(RegisteredRecord* object) {
    if (object->released) return false;
    object->released = TRUE;
    return true;
}

// Ends a release begun by BeginRelease, once the window has been given back: the property goes,
// and the block is freed at once or, while calls still hold the object, when the last of them
// ends.
template <class T>
void EndRelease(T* object, const char* className) {
    DetachWindowObject(object, className);
    if (object->holds == 0) DeleteWindowObject(object);
}

}  // namespace varnex
