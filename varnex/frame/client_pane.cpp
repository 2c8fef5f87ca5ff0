#include "frame/client_pane.h"

#include "frame/frame_manager.h"
#include "core/window_procs.h"
#include "core/host.h"
#include "core/memory.h"
#include "frame/scroll_bar.h"
#include "dock/dock_site.h"
#include "dock/mini_frame.h"
#include "dock/tool_bar.h"
#include "core/subclass.h"
#include "varnex.h"

namespace varnex {

namespace {

// The window a bar lives in: its site, or its floating window; null for a window that is no bar.
HWND BarContainer(HWND window) {
    const auto* bar = static_cast<const CToolBarFx*>(FindWindowRecord(window, kBarProp));
    if (!bar || bar->released) return nullptr;
    if (bar->miniFrame) return bar->miniFrame->hwnd;
    return bar->dockSite ? bar->dockSite->hwnd : nullptr;
}

// The last child of `from` other than `keep`, or null.
HWND LastChildBut(HWND from, HWND keep) {
    HWND child = GetWindow(from, GW_CHILD);
    if (child) child = GetWindow(child, GW_HWNDLAST);
    while (child == keep && child) child = GetWindow(child, GW_HWNDPREV);
    return child;
}

// Moves every child of `from` but `keep` into `to`, from the last child backwards, so that they
// keep their stacking order. Re-parenting hides and shows the child, which the host hears: a
// host may take a child away or make it a bar from there. A child it took elsewhere stays there;
// one it made a bar goes back to the bar's site or floating window, which the move overrode.
void MoveChildren(HWND from, HWND to, HWND keep) {
    // Each move takes a child out of `from`; the bound holds should the host put one back.
    int room = 0;
    for (HWND c = GetWindow(from, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++room;
    for (HWND child = LastChildBut(from, keep); child && room-- > 0;) {
        const HWND container = BarContainer(child);
        SetParent(child, to);
        const HWND now = BarContainer(child);
        if (now && now != container && GetParent(child) == to) SetParent(child, now);
        // A child that would not move is passed over.
        HWND next = GetParent(child) == from ? GetWindow(child, GW_HWNDPREV) : LastChildBut(from, keep);
        if (next == keep) next = GetWindow(next, GW_HWNDPREV);
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
