// The client pane: the frame's child 0xE900 (MDI client, view, or a pane the library creates),
// which gets what the dock sites, status bar and scroll bars leave of the client area.
#pragma once

#include <windows.h>

#include "core/registry.h"

namespace varnex {

struct CCtrlFrameFx;
struct CScrollBarFx;

// A pane size no maximum holds back.
constexpr LONG kNoMaximumSize = 0xFFFF;

struct CClientPaneFx : WindowRecord {
    SIZE minSize{0, 0};           // smallest client size
    SIZE maxSize{kNoMaximumSize, kNoMaximumSize};  // largest
    BOOL created = FALSE;         // the pane window was made by the library
    BOOL subclassed = FALSE;      // the frame procedure is on the pane
    RECT restoreRect{};           // the frame's client rectangle in the restored state; empty if unknown
    CScrollBarFx* hScroll = nullptr;
    CScrollBarFx* vScroll = nullptr;
    CCtrlFrameFx* frame;

    explicit CClientPaneFx(CCtrlFrameFx* owner) : frame(owner) {}
    ~CClientPaneFx();  // deletes the scroll bar objects (taken down by Detach)
    // Finds the frame's pane or makes one (the frame's children move into it), and subclasses
    // it; false when no pane can be had.
    bool Attach();
    // Takes the scroll bars down and gives the pane back; a created pane gives its children back
    // and is destroyed.
    void Detach();
};

}  // namespace varnex
