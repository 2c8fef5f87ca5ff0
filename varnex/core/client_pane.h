// The client pane: the frame's child 0xE900 (MDI client, view, or a pane the library creates),
// which gets what the dock sites, status bar and scroll bars leave of the client area.
#pragma once

#include <windows.h>

#include "core/registry.h"

namespace varnex {

struct CCtrlFrameFx;
struct CScrollBarFx;

struct CClientPaneFx : WindowRecord {
    SIZE minSize;          // smallest client size
    SIZE maxSize;          // largest; 0xFFFF means no limit
    BOOL childMaximized;   // MDI frames: the active MDI child is maximized
    BOOL created;          // the pane window was made by the library
    RECT restoreRect;      // the frame's client rectangle in the restored state; empty if unknown
    CScrollBarFx* hScroll;
    CScrollBarFx* vScroll;
    CCtrlFrameFx* frame;

    explicit CClientPaneFx(CCtrlFrameFx* owner);
    ~CClientPaneFx();  // deletes the scroll bar objects (taken down by Detach)
    // Takes the scroll bars down and restores the pane's procedure; a created pane gives its
    // children back and is destroyed.
    void Detach();
};

}  // namespace varnex
