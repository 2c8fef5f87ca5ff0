// The control-class extension: attached to one host control by AttachClass, it subclasses the
// control and, by kind, keeps mouse-wheel messages away from it or keeps its image lists.
#pragma once

#include <windows.h>

#include "controls/image_lists.h"
#include "core/registry.h"
#include "varnex.h"

namespace varnex {

// Kinds: the low four bits of AttachClass's flags, exactly one of these.
inline constexpr UINT kKindNoWheel = CCF_NOWHEEL;
inline constexpr UINT kKindTreeView = CCF_TREEVIEW;
inline constexpr UINT kKindNoteBook = CCF_NOTEBOOK;
// The low four bits of the attach flags name the kind; the rest are kept whole.
inline constexpr UINT kKindMask = 0xF;

struct CCtrlClassFx : RegisteredRecord {
    WNDPROC classProc = nullptr;  // the window class's own procedure, past every subclass
    BOOL subclassed = FALSE;
    union {
        TreeImages tree;  // kind 2
        NoteImages note;  // kind 4
    };

    CCtrlClassFx(HWND control, UINT attachFlags);

    UINT Kind() const { return flags & kKindMask; }

    // Extends the control; null, with the control as it was, when memory is short or the control
    // runs the extension's procedure already.
    static CCtrlClassFx* Create(HWND control, UINT attachFlags);
    // Takes the extension's procedure out of the control's chain.
    void Unsubclass();
    // Ends the extension: procedure restored, property removed, block freed once nothing holds it.
    static void Release(CCtrlClassFx* object);
};

LRESULT CALLBACK CtrlClassWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Sends straight to the control's class procedure.
LRESULT CallClassProc(const CCtrlClassFx* object, UINT message, WPARAM wParam, LPARAM lParam);

// The extension of the given kind on the window, or null (none, or one of another kind).
CCtrlClassFx* GetCtrlClassObject(HWND hwnd, UINT kind);

}  // namespace varnex
