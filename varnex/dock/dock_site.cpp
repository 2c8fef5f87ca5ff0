#include "dock/dock_site.h"

#include "core/client_pane.h"
#include "core/frame_manager.h"
#include "core/frame_proc.h"
#include "dock/tool_bar.h"
#include "drag/mini_frame.h"
#include "varnex.h"

#include <algorithm>

namespace varnex {

CDockSiteFx::CDockSiteFx(CCtrlFrameFx* owner, UINT childId) {
    flags = SIDE_TOP << (childId - kFirstSiteId);
    prevProc = nullptr;
    frame = owner;
    hwnd = GetDlgItem(owner->hwnd, childId);
    minSize = {0, 0};
    siteRect = {0, 0, 0, 0};
    created = FALSE;
    if (!hwnd) {
        created = TRUE;
        CreateFrameChild(this, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, owner->hwnd, childId);
    }
    // Left and right sites go on top of the z-order, top and bottom ones below: where two sites
    // meet in a corner, the vertical one is drawn over.
    SetWindowPos(hwnd, Horizontal() ? HWND_BOTTOM : HWND_TOP, 0, 0, 0, 0, kSwpZOrderOnly);
    prevProc = SubclassWindow(hwnd, FrameWndProc);
}

void CDockSiteFx::DetachSite(int code) {
    if (!bars.empty()) NotifyBars(code);
    RestoreWindowProc(this);
    if (code == FXS_DETACH) {
        if (created)
            DestroyWrappedWindow(this);
        else
            SetWindowPos(hwnd, Horizontal() ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, kSwpZOrderOnly);
    }
}

void CDockSiteFx::NotifyBars(int code) {
    // Walk a copy: giving a bar back may change the list.
    const std::vector<CToolBarFx*> list = bars;
    for (CToolBarFx* bar : list) {
        if (code == FXS_DETACH || code == FXS_DESTROY) {
            bar->dockSite = nullptr;
            DiscardBar(bar, code);
            continue;
        }
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
        if (GetPropA(bar->hwnd, kFrameProp)) PostMessageA(bar->hwnd, kWmFxState, code, 0);
    }
    if (code == FXS_DETACH || code == FXS_DESTROY) bars.clear();
}

void CDockSiteFx::AppendBar(CToolBarFx* bar) { bars.push_back(bar); }

void CDockSiteFx::RemoveBar(CToolBarFx* bar) {
    bars.erase(std::remove(bars.begin(), bars.end(), bar), bars.end());
    if (bars.empty()) flags |= SITE_EMPTY;
}

void CDockSiteFx::AddBar(CToolBarFx* bar) {
    if (bar->dockSite != this) {
        AppendBar(bar);
        if (bar->dockSite) bar->dockSite->RemoveBar(bar);
        bar->dockSite = this;
    }
    bar->flags = (bar->flags & ~(BFX_FLOATING | 0xF0)) | (flags & SITE_SIDES);
    bar->RefreshBar();
    PlaceBar(bar);
    if (GetParent(bar->hwnd) != hwnd) {
        SetWindowPos(bar->hwnd, nullptr, 0, 0, 0, 0, kSwpHide);
        SetWindowLongPtrA(bar->hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(hwnd));
        if (bar->toolTip) SetWindowLongPtrA(bar->toolTip, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(hwnd));
    }
    if (CMiniFrameFx* mini = bar->miniFrame) {
        // Docked again: the floating window goes, and its object with it (WM_DESTROY).
        bar->miniFrame = nullptr;
        DestroyWindow(mini->hwnd);
    }
    flags &= ~SITE_EMPTY;
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
    bar->GetBarSize(horizontal ? 0x931 : 0xA31, &size);
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
    std::stable_sort(bars.begin(), bars.end(), horizontal ? RowFirst : ColumnFirst);

    if (bar->state) {
        bar->state->x = bar->dockPos.x;
        bar->state->y = bar->dockPos.y;
        const SIZE stored = horizontal ? bar->horzSize : bar->vertSize;
        bar->state->cx = stored.cx;
        bar->state->cy = stored.cy;
    }
}

void CDockSiteFx::PositionBars() {
    if (bars.empty()) return;
    HDWP batch = BeginDeferWindowPos(static_cast<int>(bars.size()));
    for (CToolBarFx* bar : bars) {
        if (bar->IsFloating()) continue;
        if (bar->IsBarVisible()) {
            const RECT& r = bar->dockRect;
            batch = DeferWindowPos(batch, bar->hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_SHOWWINDOW |
                                       SWP_NOOWNERZORDER);
        } else {
            SetWindowPos(bar->hwnd, nullptr, 0, 0, 0, 0, kSwpHide);
        }
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
