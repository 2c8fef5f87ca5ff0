#include "dock/dock_site.h"

#include "core/client_pane.h"
#include "core/frame_manager.h"
#include "core/frame_proc.h"
#include "varnex.h"

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

void CDockSiteFx::NotifyBars(int /*code*/) {
    // Bars join a site's list when docking exists; until then a site has none to tell.
}

void CDockSiteFx::LayoutSite(UINT request, SIZE* remaining) {
    siteRect = {0, 0, 0, 0};
    LayoutEmptySite(request, remaining);
}

void CDockSiteFx::LayoutEmptySite(UINT request, SIZE* remaining) {
    flags |= SITE_EMPTY;
    LONG width = Horizontal() ? remaining->cx : 0;
    LONG height = Horizontal() ? 0 : remaining->cy;
    const UINT frameFlags = frame->flags;
    const LONG grow = (request & LAYOUT_FITFRAME) ? 1 : -1;
    if (frameFlags & AF_MERGEBORDERS) {
        flags &= ~SITE_EDGES;
        const UINT outer[] = {SITE_EDGE_TOP, SITE_EDGE_LEFT, SITE_EDGE_RIGHT, SITE_EDGE_BOTTOM};
        const UINT inner[] = {SITE_EDGE_BOTTOM, SITE_EDGE_RIGHT, SITE_EDGE_LEFT, SITE_EDGE_TOP};
        const int side = SideIndex(flags);
        if ((frameFlags & AF_MDIFRAME) && frame->clientPane->childMaximized)
            flags |= outer[side];
        else if ((frameFlags & AF_MDICHILD) && (request & LAYOUT_MAXIMIZED))
            flags |= inner[side];
        if (flags & (SITE_EDGE_TOP | SITE_EDGE_BOTTOM)) {
            height += 1;
            remaining->cy += grow;
        } else if (flags & (SITE_EDGE_LEFT | SITE_EDGE_RIGHT)) {
            width += 1;
            remaining->cx += grow;
        }
    }
    siteRect = {0, 0, width, height};
    minSize = Horizontal() ? SIZE{height, 0} : SIZE{0, width};
}

void CDockSiteFx::PositionBars() {
    // Moves the docked bars in one deferred batch once sites hold bars; an empty list moves nothing.
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
