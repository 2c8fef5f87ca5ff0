#include "core/client_pane.h"

#include "core/frame_manager.h"
#include "core/frame_proc.h"
#include "core/host.h"
#include "core/scroll_bar.h"
#include "varnex.h"

namespace varnex {

namespace {

// Moves every child of `from` but `keep` into `to`, from the first child forwards or from the
// last one backwards; the next one is fetched before re-parenting changes the sibling chain.
void MoveChildren(HWND from, HWND to, HWND keep, bool fromLast) {
    HWND child = GetWindow(from, GW_CHILD);
    if (child && fromLast) child = GetWindow(child, GW_HWNDLAST);
    const UINT step = fromLast ? GW_HWNDPREV : GW_HWNDNEXT;
    while (child) {
        HWND next = GetWindow(child, step);
        if (child != keep) SetParent(child, to);
        child = next;
    }
}

}  // namespace

CClientPaneFx::CClientPaneFx(CCtrlFrameFx* owner) {
    hwnd = GetDlgItem(owner->hwnd, kPaneId);
    flags = 0;
    prevProc = nullptr;
    frame = owner;
    childMaximized = FALSE;
    created = FALSE;
    if (!hwnd) {
        created = TRUE;
        CreateFrameChild(this, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, owner->hwnd, kPaneId);
        // The frame's former children now live in the pane (last to first, as they stack).
        MoveChildren(owner->hwnd, hwnd, hwnd, true);
    }
    hScroll = vScroll = nullptr;
    minSize = {0, 0};
    maxSize = {0xFFFF, 0xFFFF};
    if (IsZoomed(owner->hwnd))
        SetRectEmpty(&restoreRect);
    else
        GetClientRect(owner->hwnd, &restoreRect);
    if (owner->flags & AF_MDIFRAME)
        SendMessageA(hwnd, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&childMaximized));
    prevProc = SubclassWindow(hwnd, FrameWndProc);
}

CClientPaneFx::~CClientPaneFx() {
    delete hScroll;
    delete vScroll;
}

void CClientPaneFx::Detach() {
    // The content goes back to its origin before the children may return to the frame.
    for (CScrollBarFx* bar : {hScroll, vScroll})
        if (bar) bar->TakeDown();
    RestoreWindowProc(this);
    if (created) {
        MoveChildren(hwnd, frame->hwnd, nullptr, false);
        DestroyWrappedWindow(this);
    }
}

}  // namespace varnex
