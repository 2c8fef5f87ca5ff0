#include "frame/client_pane.h"

#include "frame/frame_manager.h"
#include "core/window_procs.h"
#include "core/host.h"
#include "core/memory.h"
#include "frame/scroll_bar.h"
#include "core/subclass.h"
#include "varnex.h"

namespace varnex {

namespace {

// Moves every child of `from` but `keep` into `to`, from the last child backwards, so that they
// keep their stacking order; the next one is fetched before re-parenting changes the chain.
void MoveChildren(HWND from, HWND to, HWND keep) {
    HWND child = GetWindow(from, GW_CHILD);
    if (child) child = GetWindow(child, GW_HWNDLAST);
    while (child) {
        HWND next = GetWindow(child, GW_HWNDPREV);
        if (child != keep) SetParent(child, to);
        child = next;
    }
}

}  // namespace

CClientPaneFx::~CClientPaneFx() {
    Delete(hScroll);
    Delete(vScroll);
}

bool CClientPaneFx::Attach() {
    HWND owner = frame->hwnd;
    hwnd = GetDlgItem(owner, kPaneId);
    if (!hwnd) {
        if (!CreateFrameChild(this, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, owner, kPaneId))
            return false;
        created = TRUE;
        // Detached meanwhile (the host heard of the pane): the children stay where they are.
        if (frame->released) return false;
        // The frame's former children now live in the pane.
        MoveChildren(owner, hwnd, hwnd);
    }
    if (IsZoomed(owner))
        SetRectEmpty(&restoreRect);
    else
        GetClientRect(owner, &restoreRect);
    if (frame->flags & AF_MDIFRAME)
        SendMessageA(hwnd, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&frame->childMaximized));
    if (!InstallWindowProc(this, FrameWndProc)) return false;
    subclassed = TRUE;
    return true;
}

void CClientPaneFx::Detach() {
    // The content goes back to its origin before the children may return to the frame.
    for (CScrollBarFx* bar : {hScroll, vScroll})
        if (bar) bar->TakeDown();
    if (subclassed) {
        RemoveWindowProc(this, FrameWndProc);
        subclassed = FALSE;
    }
    if (created) {
        created = FALSE;
        if (IsWindow(hwnd)) {
            MoveChildren(hwnd, frame->hwnd, nullptr);
            DestroyWrappedWindow(this);
        }
    }
}

}  // namespace varnex
