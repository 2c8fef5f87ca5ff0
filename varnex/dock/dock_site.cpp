#include "dock/dock_site.h"

#include "dock/dock_frame.h"
#include "core/window_procs.h"
#include "core/subclass.h"
#include "dock/tool_bar.h"
#include "dock/mini_frame.h"
#include "varnex.h"


namespace varnex {

CDockSiteFx::CDockSiteFx(CDockFrameFx* owner, UINT childId) : frame(owner) {
    flags = SIDE_TOP << (childId - kFirstSiteId);
    hwnd = GetDlgItem(owner->hwnd, childId);
}

bool CDockSiteFx::Attach() {
    if (!hwnd) {
        const UINT id = kFirstSiteId + SideIndex(flags);
        if (!CreateFrameChild(this, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, frame->hwnd, id))
            return false;
        created = TRUE;
    }
    // Left and right sites go on top of the z-order, top and bottom ones below: where two sites
    // meet in a corner, the vertical one is drawn over.
    SetWindowPos(hwnd, Horizontal() ? HWND_BOTTOM : HWND_TOP, 0, 0, 0, 0, kSwpZOrderOnly);
    if (!InstallWindowProc(this, FrameWndProc)) return false;
    subclassed = TRUE;
    return true;
}

void CDockSiteFx::DetachSite(int code) {
    NotifyBars(code);
    if (subclassed) {
        RemoveWindowProc(this, FrameWndProc);
        subclassed = FALSE;
    }
    if (code != FXS_DETACH || !IsWindow(hwnd)) return;
    if (created) {
        created = FALSE;
        DestroyWrappedWindow(this);
    } else {
        SetWindowPos(hwnd, Horizontal() ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, kSwpZOrderOnly);
    }
}

void CDockSiteFx::NotifyBars(int code) {
    if (code == FXS_DETACH || code == FXS_DESTROY) {
        // One at a time from the end: giving a bar back runs host code, which may undock or
        // destroy other bars of the list.
        while (!bars.empty()) {
            CToolBarFx* bar = bars.back();
            bars.PopBack();
            bar->dockSite = nullptr;
            DiscardBar(bar, code);
        }
        flags |= SITE_EMPTY;
        return;
    }
    if (code < FXS_ACTIVE || code > FXS_MINIMIZE) return;
    Hold<CDockFrameFx> owner(frame);
    for (size_t i = 0; i < bars.size() && owner.Alive(); ++i) {
        CToolBarFx* bar = bars[i];
        // Floating windows follow their frame's activation and minimized state.
        if (CMiniFrameFx* mini = bar->miniFrame) {
            switch (code) {
            case FXS_ACTIVE: mini->SetFloatStatus(FS_ACTIVATE); break;
            case FXS_INACTIVE: mini->SetFloatStatus(FS_DEACTIVATE); break;
            case FXS_RESTORE: mini->ShowWithFrame(); break;
            case FXS_MINIMIZE: mini->HideMiniFrame(); break;
            default: break;
            }
        }
        // A docked bar that is itself a frame passes the state on to its own bars. Only docked
        // ones, which lie inside this frame: a floating one may hold this frame in one of its
        // sites, and the two would pass the state to each other for ever.
        if (owner.Alive() && i < bars.size() && bars[i] == bar && !bar->IsFloating() &&
            GetWindowObject(bar->hwnd, kFrameProp))
            PostMessageA(bar->hwnd, kWmFxState, code, 0);
    }
}

bool CDockSiteFx::ReserveBar() {
    return bars.Reserve(bars.size() + 1) && docked_.Reserve(bars.size() + 1);
}

void CDockSiteFx::AppendBar(CToolBarFx* bar) { bars.Append(bar); }

void CDockSiteFx::RemoveBar(CToolBarFx* bar) {
    bars.Remove(bar);
    if (bars.empty()) flags |= SITE_EMPTY;
}

bool CDockSiteFx::AddBar(CToolBarFx* bar) {
    if (bar->dockSite != this) {
        if (!ReserveBar()) return false;
        AppendBar(bar);
        if (bar->dockSite) bar->dockSite->RemoveBar(bar);
        bar->dockSite = this;
    }
    bar->flags = (bar->flags & ~(BFX_FLOATING | kBarSides)) | (flags & SITE_SIDES);
    flags &= ~SITE_EMPTY;
    bar->RefreshBar();
    PlaceBar(bar);
    Hold<CToolBarFx> held(bar);
    if (GetParent(bar->hwnd) != hwnd) {
        SetWindowPos(bar->hwnd, nullptr, 0, 0, 0, 0, kSwpHide);
        if (!held.Alive()) return true;
        SetWindowLongPtrA(bar->hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(hwnd));
        if (bar->toolTip) SetWindowLongPtrA(bar->toolTip, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(hwnd));
    }
    if (CMiniFrameFx* mini = bar->miniFrame) {
        // Docked again: the floating window goes, and its object with it (WM_DESTROY).
        bar->miniFrame = nullptr;
        DestroyWindow(mini->hwnd);
    }
    return true;
}

namespace {

// Strict orderings (ties keep list order through the stable sort).
bool RowFirst(const CToolBarFx* a, const CToolBarFx* b) {
    return a->dockRect.top != b->dockRect.top ? a->dockRect.top < b->dockRect.top : a->dockRect.left < b->dockRect.left;
}
bool ColumnFirst(const CToolBarFx* a, const CToolBarFx* b) {
    return a->dockRect.left != b->dockRect.left ? a->dockRect.left < b->dockRect.left : a->dockRect.top < b->dockRect.top;
}

}  // namespace

void CDockSiteFx::PlaceBar(CToolBarFx* bar) {
    const bool horizontal = Horizontal();
    if (!horizontal && !(flags & (SIDE_LEFT | SIDE_RIGHT))) return;
    SIZE size{};
    bar->GetBarSize(horizontal ? kDockedRowSize : kDockedColumnSize, &size);
    // Work along the depth axis: rows (top) in a horizontal site, columns (left) in a vertical one.
    const LONG depth = horizontal ? size.cy : size.cx;
    LONG RECT::*nearEdge = horizontal ? &RECT::top : &RECT::left;
    LONG RECT::*farEdge = horizontal ? &RECT::bottom : &RECT::right;
    LONG POINT::*row = horizontal ? &POINT::y : &POINT::x;

    const LONG half = depth >> 1;
    const LONG lo = bar->dockRect.*nearEdge - half, hi = bar->dockRect.*nearEdge + half;
    LONG newTop = 0;
    for (CToolBarFx* other : bars) {
        if (other == bar) continue;
        if (hi < 0) {  // dropped above the first row: every row moves down one bar
            other->dockRect.*nearEdge += depth;
            if (other->dockPos.*row <= depth) other->dockPos.*row += depth;
        } else if (lo > other->dockRect.*nearEdge) {  // below this row
            bar->dockPos.*row = other->dockPos.*row + (other->dockRect.*farEdge - other->dockRect.*nearEdge);
            newTop = other->dockRect.*farEdge;
        } else if (other->dockRect.*nearEdge <= hi) {  // within half a bar of this row: join it
            bar->dockPos.*row = other->dockPos.*row;
            newTop = other->dockRect.*nearEdge;
        }
    }
    bar->dockRect.*nearEdge = newTop;
    bar->dockRect.*farEdge = newTop + depth;
    bars.StableSort(horizontal ? RowFirst : ColumnFirst);
    bar->RecordDockedPlace(horizontal);
}

void CDockSiteFx::PositionBars() {
    if (bars.empty()) return;
    HDWP batch = BeginDeferWindowPos(static_cast<int>(bars.size()));
    for (CToolBarFx* bar : bars) {
        if (bar->IsFloating() || !bar->IsBarVisible()) continue;
        const RECT& r = bar->dockRect;
        batch = DeferWindowPos(batch, bar->hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                               SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
    }
    // Hiding runs the host's code between two bars, which may change the list: it is read anew
    // for each one.
    Hold<CDockFrameFx> owner(frame);
    for (size_t i = 0; i < bars.size() && owner.Alive(); ++i) {
        CToolBarFx* bar = bars[i];
        if (!bar->IsFloating() && !bar->IsBarVisible()) SetWindowPos(bar->hwnd, nullptr, 0, 0, 0, 0, kSwpHide);
    }
    EndDeferWindowPos(batch);
}

void CDockSiteFx::SizeParentSite(SizeParentParams* params) {
    PositionBars();
    const LONG width = Width(), height = Height();
    RECT& free = params->rect;
    switch (flags & SITE_SIDES) {
    case SIDE_TOP: free.top += height; break;
    case SIDE_LEFT: free.left += width; break;
    case SIDE_RIGHT:
        siteRect.left = free.right - width;
        free.right -= width;
        break;
    case SIDE_BOTTOM:
        siteRect.top = free.bottom - height;
        free.bottom -= height;
        break;
    }
    params->hdwp = DeferWindowPos(params->hdwp, hwnd, nullptr, siteRect.left, siteRect.top, width, height,
                                  SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CDockSiteFx::CalcSiteEdges(RECT* rect) const {
    if (flags & SITE_EDGE_LEFT) rect->left += 1;
    if (flags & SITE_EDGE_TOP) rect->top += 1;
    if (flags & SITE_EDGE_RIGHT) rect->right -= 1;
    if (flags & SITE_EDGE_BOTTOM) rect->bottom -= 1;
}

void CDockSiteFx::PaintSiteEdges() const {
    if (!(flags & SITE_EDGES)) return;
    RECT rect;
    GetWindowRect(hwnd, &rect);
    OffsetRect(&rect, -rect.left, -rect.top);
    HDC dc = GetWindowDC(hwnd);
    DrawEdge(dc, &rect, BDR_SUNKENOUTER, (flags & SITE_EDGES) >> 8);
    ReleaseDC(hwnd, dc);
}

}  // namespace varnex
