// The floating window: a small popup tool window, owned by the frame, that holds one floating
// bar. Its caption and border presses are the bar's drags; it follows its frame's activation and
// enabled state through the framework's WM_FLOATSTATUS.
#pragma once

#include <windows.h>

#include "core/host.h"
#include "core/registry.h"
#include "varnex.h"

namespace varnex {

struct CDockFrameFx;
struct CToolBarFx;

constexpr DWORD kMiniFrameStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
constexpr DWORD kMiniFrameExStyle = WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE;
static_assert(kMiniFrameStyle == 0x80CC0000 && kMiniFrameExStyle == 0x180);

// SizeMiniFrame requests; other bits of the request are ignored.
constexpr UINT kSizeAroundBar = 0x2;   // size the window around the bar, placed at its floatPos
constexpr UINT kMoveToFloatPos = 0x4;  // move the window there (or to the rectangle given)
constexpr UINT kSizeAndMove = kSizeAroundBar | kMoveToFloatPos;

// A registered object; prevProc stays null (unhandled messages go to DefWindowProcA).
struct CMiniFrameFx : RegisteredRecord {
    HWND owner = nullptr;
    BOOL visible = FALSE;
    CToolBarFx* bar = nullptr;      // the one bar it holds; never given to another
    CDockFrameFx* frame = nullptr;  // the frame manager it belongs to; `flags` is a copy of its flags

    // A floating window for the frame, created, registered and subclassed; null (nothing left
    // behind) when the window cannot be created or memory is short.
    static CMiniFrameFx* Create(CDockFrameFx* owningFrame);
    // Ends a floating window: a bar window still inside goes back to the parent it was found
    // in, the window is destroyed and the object freed. Nothing for null.
    static void Release(CMiniFrameFx* mini);

    void SetMiniFrameOwner(CDockFrameFx* owningFrame);
    // Puts the bar into the floating window and sizes the window around it.
    void AttachMiniFrame(CToolBarFx* floatingBar);
    // kSizeAroundBar sizes the window around the bar at its floatPos; kMoveToFloatPos moves the
    // window there (or to `rect` when given and not sized).
    void SizeMiniFrame(UINT request, const RECT* rect);
    void MoveMiniFrame(const RECT& rect);
    // Sizes the bar to the floating window's client area, unless it is so already.
    void FillWithBar();
    void ShowMiniFrame();
    void HideMiniFrame();
    // Shows the window again after the frame hid it (activation, restore, FS_SHOW), unless the
    // bar itself is hidden: an empty floating window is never shown.
    void ShowWithFrame();
    // One WM_FLOATSTATUS code; combinations and unknown codes do nothing.
    void SetFloatStatus(WPARAM code);
    LRESULT MiniFrameHitTest(LPARAM lParam) const;
};

}  // namespace varnex
