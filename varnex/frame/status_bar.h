// The host's status bar (child 0xE801) as the frame manager follows it: its visibility and height
// for the layout and the frame's minimum size, and an optional progress control inside it.
#pragma once

#include <windows.h>

#include "core/registry.h"

namespace varnex {

struct CCtrlFrameFx;
struct CStatusBarFx;

struct CProgressFx : WindowRecord {
    BOOL visible = FALSE;
    CStatusBarFx* statusBar = nullptr;
};

struct CStatusBarFx : WindowRecord {
    RECT barRect{};      // right and bottom hold the bar's width and height
    BOOL visible = FALSE;
    LONG minHeight = 0;  // what the bar adds to the frame's track size; counted once a change shows the bar
    BOOL subclassed = FALSE;
    CProgressFx* progress = nullptr;
    CCtrlFrameFx* frame;

    explicit CStatusBarFx(CCtrlFrameFx* owner) : frame(owner) {}
    ~CStatusBarFx();

    // Follows the frame's status bar from now on; false when it cannot be subclassed.
    bool Attach();
    // Gives the status bar back: its own procedure, and no progress control of the library's.
    void Detach();

    LONG Height() const { return barRect.bottom; }
    // WM_WINDOWPOSCHANGING bookkeeping: visibility, minimum height, size.
    void OnPosChanging(const WINDOWPOS* pos);
    // Puts the progress control at its place for a frame client width of `clientWidth`.
    void PlaceProgress(LONG clientWidth);
    // The progress control, made (hidden, placed) on first use; null if it cannot be made.
    CProgressFx* Progress();
    // Shows or hides the progress control; no window call when it is already so.
    void ShowProgress(bool show);

private:
    void DestroyProgress();
};

}  // namespace varnex
