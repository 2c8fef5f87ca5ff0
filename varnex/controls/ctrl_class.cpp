#include "controls/ctrl_class.h"

#include "varnex.h"

namespace varnex {

CCtrlClassFx::CCtrlClassFx(HWND control, UINT attachFlags) {
    hwnd = control;
    flags = attachFlags;  // kept whole; only the low four bits mean anything
    prevProc = nullptr;
    AttachWindowObject(this, kCtrlClassProp);
    classProc = reinterpret_cast<WNDPROC>(GetClassLongPtrA(control, GCLP_WNDPROC));
    prevProc = SubclassWindow(control, CtrlClassWndProc);

    if (Kind() == kKindTreeView) {
        tree.defaultImage = kNoImageSet;
        tree.defaultSelectedImage = kNoImageSet;
        tree.iconSize = 0;
        tree.normalList = nullptr;
        tree.stateList = nullptr;
        // Size 0 takes over the size of a list the tree view already has.
        ResetTreeImageList(this, 0);
    } else if (Kind() == kKindNoteBook) {
        note.iconSize = 16;
        note.imageList = nullptr;  // made on first use
    }
}

// The lists given to the control stay with it.
CCtrlClassFx::~CCtrlClassFx() { RemovePropA(hwnd, kCtrlClassProp); }

void CCtrlClassFx::Release(CCtrlClassFx* object) {
    RestoreWindowProc(object);
    DeleteWindowObject(object);
}

LRESULT CallClassProc(const CCtrlClassFx* object, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(object->classProc, object->hwnd, message, wParam, lParam);
}

CCtrlClassFx* GetCtrlClassObject(HWND hwnd, UINT kind) {
    auto* object = GetWindowObjectAs<CCtrlClassFx>(hwnd, kCtrlClassProp);
    return object && object->Kind() == kind ? object : nullptr;
}

LRESULT CALLBACK CtrlClassWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* object = GetWindowObjectAs<CCtrlClassFx>(hwnd, kCtrlClassProp);
    if (!object) {
        // Only reachable through a subclass installed above ours that still calls us after we
        // left: the control's own procedure is all that is left to answer.
        auto* own = reinterpret_cast<WNDPROC>(GetClassLongPtrA(hwnd, GCLP_WNDPROC));
        return CallWindowProcA(own, hwnd, message, wParam, lParam);
    }
    if (message == WM_DESTROY) {
        // A plain extension leaves before the control hears of its end; the image kinds let the
        // control finish with its lists while still extended.
        if (object->Kind() == kKindNoWheel) {
            RestoreWindowProc(object);
            CallPrevWindowProc(object, message, wParam, lParam);
        } else {
            CallPrevWindowProc(object, message, wParam, lParam);
        }
        // The host's own handling may have detached the extension already.
        if (GetWindowObject(hwnd, kCtrlClassProp) != object) return 0;
        CCtrlClassFx::Release(object);
        return 0;
    }
    if (message == WM_MOUSEWHEEL && object->Kind() == kKindNoWheel) return 0;
    return CallPrevWindowProc(object, message, wParam, lParam);
}

}  // namespace varnex

using namespace varnex;

extern "C" int WINAPI AttachClass(HWND control, UINT attachFlags) {
    const UINT kind = attachFlags & 0xF;
    if (kind != kKindNoWheel && kind != kKindTreeView && kind != kKindNoteBook) return 0;
    // Nothing attached means failure: no window, or no memory for the object.
    if (!IsOwnWindow(control)) return 0;
    if (GetWindowObject(control, kCtrlClassProp)) return 1;  // the first kind stays
    return NewWindowObject<CCtrlClassFx>(control, attachFlags) ? 1 : 0;
}

extern "C" int WINAPI DetachClass(HWND control) {
    if (!IsOwnWindow(control)) return 0;
    auto* object = GetWindowObjectAs<CCtrlClassFx>(control, kCtrlClassProp);
    if (!object) return 0;
    CCtrlClassFx::Release(object);
    return 1;
}
