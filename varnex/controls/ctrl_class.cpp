#include "controls/ctrl_class.h"

#include "frame/frame_manager.h"
#include "core/subclass.h"
#include "varnex.h"

namespace varnex {

CCtrlClassFx::CCtrlClassFx(HWND control, UINT attachFlags) {
    hwnd = control;
    flags = attachFlags;  // kept whole; only the low four bits mean anything
    if (Kind() == kKindTreeView) {
        tree.defaultImage = kNoImageSet;
        tree.defaultSelectedImage = kNoImageSet;
        tree.iconSize = 0;
        tree.normalList = nullptr;
        tree.stateList = nullptr;
    } else {
        note.iconSize = 16;
        note.imageList = nullptr;  // made on first use
    }
}

CCtrlClassFx* CCtrlClassFx::Create(HWND control, UINT attachFlags) {
    if (IsWindowEnding(control)) return nullptr;
    auto* object = NewWindowObject<CCtrlClassFx>(control, attachFlags);
    if (!object) return nullptr;
    object->classProc = reinterpret_cast<WNDPROC>(GetClassLongPtrA(control, GCLP_WNDPROC));
    if (!AttachWindowObject(object, kCtrlClassProp)) {
        DeleteWindowObject(object);
        return nullptr;
    }
    if (!InstallWindowProc(object, CtrlClassWndProc)) {
        DetachWindowObject(object, kCtrlClassProp);
        DeleteWindowObject(object);
        return nullptr;
    }
    object->subclassed = TRUE;
    // Size 0 takes over the size of a list the tree view already has.
    if (object->Kind() == kKindTreeView) ResetTreeImageList(object, 0);
    return object;
}

// The lists given to the control stay with it.
void CCtrlClassFx::Unsubclass() {
    if (!subclassed) return;
    RemoveWindowProc(this, CtrlClassWndProc);
    subclassed = FALSE;
}

void CCtrlClassFx::Release(CCtrlClassFx* object) {
    if (!BeginRelease(object)) return;
    object->Unsubclass();
    EndRelease(object, kCtrlClassProp);
}

LRESULT CallClassProc(const CCtrlClassFx* object, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(object->classProc, object->hwnd, message, wParam, lParam);
}

CCtrlClassFx* GetCtrlClassObject(HWND hwnd, UINT kind) {
    auto* object = GetWindowObjectAs<CCtrlClassFx>(hwnd, kCtrlClassProp);
    return object && object->Kind() == kind ? object : nullptr;
}

LRESULT CALLBACK CtrlClassWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) NoteWindowEnding(hwnd);
    auto* object = static_cast<CCtrlClassFx*>(FindWindowRecord(hwnd, kCtrlClassProp));
    if (!object) {
        if (LRESULT result; CallPassThrough(hwnd, CtrlClassWndProc, message, wParam, lParam, &result))
            return result;
        // Nothing of ours is left to say where messages go: the control's own procedure answers.
        auto* own = reinterpret_cast<WNDPROC>(GetClassLongPtrA(hwnd, GCLP_WNDPROC));
        return CallWindowProcA(own, hwnd, message, wParam, lParam);
    }
    Hold<CCtrlClassFx> hold(object);
    if (object->released) return CallPrevWindowProc(object, message, wParam, lParam);
    if (IsWindowEnd(message)) {
        // A plain extension leaves before the control hears of its end; the image kinds let the
        // control finish with its lists while still extended. Either way no export finds the
        // extension once the host's procedure runs.
        BeginRelease(object);
        if (object->Kind() == kKindNoWheel) object->Unsubclass();
        const LRESULT result = CallPrevWindowProc(object, message, wParam, lParam);
        object->Unsubclass();
        EndRelease(object, kCtrlClassProp);
        return result;
    }
    if (message == WM_MOUSEWHEEL && object->Kind() == kKindNoWheel) return 0;
    return CallPrevWindowProc(object, message, wParam, lParam);
}

}  // namespace varnex

using namespace varnex;

extern "C" int WINAPI AttachClass(HWND control, UINT attachFlags) {
    const UINT kind = attachFlags & kKindMask;
    if (kind != kKindNoWheel && kind != kKindTreeView && kind != kKindNoteBook) return 0;
    // Nothing attached means failure: no window, or no memory for the object.
    if (!IsOwnWindow(control) || IsLibraryOwned(control)) return 0;
    if (GetWindowObject(control, kCtrlClassProp)) return 1;  // the first kind stays
    return CCtrlClassFx::Create(control, attachFlags) ? 1 : 0;
}

extern "C" int WINAPI DetachClass(HWND control) {
    if (!IsOwnWindow(control)) return 0;
    auto* object = GetWindowObjectAs<CCtrlClassFx>(control, kCtrlClassProp);
    if (!object) return 0;
    CCtrlClassFx::Release(object);
    return 1;
}
