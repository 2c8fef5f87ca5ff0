// The frame layout: how a managed frame's client area is shared between its status bar, dock
// sites, scroll bars and client pane; the frame's track size; the sizing clamp.
#include <algorithm>

#include "frame/client_pane.h"
#include "frame/frame_manager.h"
#include "core/host.h"
#include "frame/scroll_bar.h"
#include "frame/status_bar.h"
#include "dock/dock_site.h"
#include "varnex.h"

namespace varnex {

namespace {
enum Site { kTop = 0, kLeft = 1, kRight = 2, kBottom = 3 };
}

void CCtrlFrameFx::RecalcLayout(UINT request, const RECT* rect) {
    if (request & LAYOUT_QUERYZOOM) request |= IsZoomed(hwnd) ? LAYOUT_MAXIMIZED : LAYOUT_RESTORED;
    // A frame being given back has nothing left to lay out.
    if (!Usable()) return;
    // The host hears of what the layout does and may release the frame from there.
    Hold<CCtrlFrameFx> self(this);
    RECT work;
    if (!ChooseWorkRect(&request, rect, &work)) return;
    if ((request & LAYOUT_COMPUTE) && !ComputeLayout(request, &work)) return;
    if (request & LAYOUT_APPLY) ApplyLayout(&work);
}

bool CCtrlFrameFx::ChooseWorkRect(UINT* request, const RECT* rect, RECT* work) {
    // A frame that is itself a docked or floating bar gets its size from its site or floating
    // window: it keeps no client size of its own. (Sizing itself, it would start the two layouts
    // resizing it in turn for ever, each size change posting the frame another layout.)
    const bool sizedAsBar = GetWindowObject(hwnd, kBarProp) != nullptr;
    if ((*request & (LAYOUT_MEASURE | LAYOUT_RECORD)) || rect) {
        *work = *rect;
    } else if ((*request & LAYOUT_RESTORED) && (flags & AF_KEEPCLIENTSIZE) && !sizedAsBar) {
        if (!IsRectEmpty(&clientPane->restoreRect)) {
            *work = clientPane->restoreRect;
            *request |= LAYOUT_FITFRAME;
        } else {
            // No client size kept yet (the frame had none when attached): nothing to fit the
            // frame around, but the frame is laid out as it is; else its bars would never be
            // placed.
            if (*request & LAYOUT_FITFRAME) return false;
            GetClientRect(hwnd, work);
        }
    } else {
        GetClientRect(hwnd, work);
    }
    return true;
}

bool CCtrlFrameFx::ComputeLayout(UINT request, RECT* work) {
    Hold<CCtrlFrameFx> self(this);
    const bool fit = request & LAYOUT_FITFRAME;
    SIZE remaining{work->right, work->bottom};
    if ((flags & AF_MDIFRAME) && statusBar) {
        if (statusBar->visible && !fit) remaining.cy -= statusBar->Height();
        if (request & LAYOUT_RECORD) statusBar->PlaceProgress(remaining.cx);
    }
    // Scrolling moves the host's windows: the host may act from there.
    if (!fit) {
        for (int i : {kTop, kBottom, kLeft, kRight}) dockSites[i]->LayoutSite(request, &remaining);
        FitScrollBars(clientPane, request, remaining);
        if (!self.Alive()) return false;
    } else {
        FitScrollBars(clientPane, request, remaining);
        if (!self.Alive()) return false;
        for (int i : {kLeft, kRight, kTop, kBottom}) dockSites[i]->LayoutSite(request, &remaining);
    }
    dockSites[kLeft]->siteRect.top += dockSites[kTop]->Height();
    dockSites[kRight]->siteRect.top += dockSites[kTop]->Height();

    if (request & LAYOUT_RECORD) {
        if (request & LAYOUT_RESTORED) RecordRestoredClient(remaining);
        return true;
    }
    if (!fit) return true;
    work->right = remaining.cx;
    work->bottom = remaining.cy;
    if (HasVisibleStatusBar()) work->bottom += statusBar->Height();
    return FitFrameAround(request, *work);
}

void CCtrlFrameFx::RecordRestoredClient(SIZE remaining) {
    RECT& restore = clientPane->restoreRect;
    if (IsRectEmpty(&restore)) {
        GetClientRect(hwnd, &restore);
    } else {
        restore.right = remaining.cx;
        restore.bottom = remaining.cy;
    }
}

bool CCtrlFrameFx::FitFrameAround(UINT request, const RECT& client) {
    RECT outer = client;
    const BOOL menu = (flags & AF_MDICHILD) ? FALSE : GetMenu(hwnd) != nullptr;
    AdjustWindowRectEx(&outer, GetWindowLongA(hwnd, GWL_STYLE), menu, GetWindowLongA(hwnd, GWL_EXSTYLE));
    const SIZE size{outer.right - outer.left, outer.bottom - outer.top};
    if (request & LAYOUT_APPLY) {
        Hold<CCtrlFrameFx> self(this);
        SetWindowPos(hwnd, nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
        return self.Alive();
    }
    if (IsZoomed(hwnd)) {
        // The restored frame will take this size.
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(hwnd, &placement);
        placement.rcNormalPosition.right = placement.rcNormalPosition.left + size.cx;
        placement.rcNormalPosition.bottom = placement.rcNormalPosition.top + size.cy;
        SetWindowPlacement(hwnd, &placement);
    }
    return true;
}

void CCtrlFrameFx::ApplyLayout(const RECT* rect) {
    if (!Usable()) return;
    Hold<CCtrlFrameFx> self(this);
    SizeParentParams params{};
    if (rect)
        params.rect = *rect;
    else
        GetClientRect(hwnd, &params.rect);
    params.stretch = TRUE;
    params.hdwp = BeginDeferWindowPos(6);
    if (HasVisibleStatusBar()) {
        CallPrevWindowProc(statusBar, kWmSizeParent, 0, reinterpret_cast<LPARAM>(&params));
        if (!self.Alive()) {
            EndDeferWindowPos(params.hdwp);
            return;
        }
    }
    for (int i : {kTop, kBottom, kLeft, kRight}) {
        dockSites[i]->SizeParentSite(&params);
        if (!self.Alive()) {
            EndDeferWindowPos(params.hdwp);
            return;
        }
    }
    const RECT& free = params.rect;
    params.hdwp = DeferWindowPos(params.hdwp, clientPane->hwnd, nullptr, free.left, free.top, free.right - free.left,
                                 free.bottom - free.top,
                                 SWP_NOOWNERZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
    EndDeferWindowPos(params.hdwp);
}

void CCtrlFrameFx::GetPaneTrackSize(UINT selector, SIZE* out) {
    const bool minimum = selector == kTrackMinimum;
    bool paneDone = false;
    if (minimum) {
        if (childMaximized) {
            HWND active = reinterpret_cast<HWND>(CallPrevWindowProc(clientPane, WM_MDIGETACTIVE, 0, 0));
            if (CCtrlFrameFx* child = FindFrame(active)) {
                child->GetTrackSize(selector, out);
                paneDone = true;
            }
        }
        if (!paneDone) *out = clientPane->minSize;
    } else {
        *out = clientPane->maxSize;
    }
    if (paneDone) return;
    // Shown bars need room for their arrows (and the other bar's corner).
    const bool horz = clientPane->hScroll && clientPane->hScroll->shown;
    const bool vert = clientPane->vScroll && clientPane->vScroll->shown;
    const LONG w = (horz ? 2 * GetSystemMetrics(SM_CXHSCROLL) : 0) + (vert ? GetSystemMetrics(SM_CXVSCROLL) : 0);
    const LONG h = (horz ? GetSystemMetrics(SM_CYHSCROLL) : 0) + (vert ? 2 * GetSystemMetrics(SM_CYVSCROLL) : 0);
    out->cx = std::max(out->cx, w);
    out->cy = std::max(out->cy, h);
}

void CCtrlFrameFx::GetTrackSize(UINT selector, SIZE* out) {
    const bool minimum = selector == kTrackMinimum;
    GetPaneTrackSize(selector, out);

    if (!Usable()) return;
    const SIZE top = dockSites[kTop]->minSize, left = dockSites[kLeft]->minSize;
    const SIZE right = dockSites[kRight]->minSize, bottom = dockSites[kBottom]->minSize;
    out->cx += left.cx + right.cx;
    if (minimum) {
        out->cx = std::max({out->cx, top.cx, bottom.cx});
        out->cy = std::max({out->cy, left.cy, right.cy});
    }
    out->cy += bottom.cy + top.cy;
    if (statusBar) out->cy += statusBar->minHeight;
}

void CCtrlFrameFx::LimitSizingRect(UINT edge, RECT* dragged) {
    if (!Usable()) return;
    RECT window, client;
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    const LONG ncx = (window.right - window.left) - client.right;
    const LONG ncy = (window.bottom - window.top) - client.bottom;
    const LONG cx = (edge == WMSZ_TOP || edge == WMSZ_BOTTOM) ? client.right : dragged->right - dragged->left - ncx;
    const LONG cy = (edge == WMSZ_LEFT || edge == WMSZ_RIGHT) ? client.bottom : dragged->bottom - dragged->top - ncy;

    BOOL fullDrag = TRUE;
    if (SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &fullDrag, 0) && !fullDrag) {
        RECT proposed{0, 0, cx, cy};
        RecalcLayout(LAYOUT_MEASURE | LAYOUT_COMPUTE, &proposed);
    }
    SIZE minimum{}, maximum{};
    GetTrackSize(kTrackMinimum, &minimum);
    GetTrackSize(kTrackMaximum, &maximum);

    // The maximum is tested first, so it wins when it is smaller than the minimum.
    auto limit = [](LONG size, LONG low, LONG high, LONG* limitOut) {
        if (high <= size) return *limitOut = high, true;
        if (low >= size) return *limitOut = low, true;
        return false;
    };
    LONG width;
    if (limit(cx, minimum.cx, maximum.cx, &width)) {
        if (edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT)
            dragged->left = dragged->right - width - ncx;
        else
            dragged->right = dragged->left + width + ncx;
    }
    LONG height;
    if (limit(cy, minimum.cy, maximum.cy, &height)) {
        if (edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT)
            dragged->top = dragged->bottom - height - ncy;
        else
            dragged->bottom = dragged->top + height + ncy;
    }
}

void CCtrlFrameFx::AdjustPanePos(WINDOWPOS* pos) {
    if (flags & AF_MDICHILD) {
        // Only the library's own moves (which carry SWP_NOOWNERZORDER) may move an MDI child's pane.
        if (!(pos->flags & SWP_NOOWNERZORDER)) pos->flags |= SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
        return;
    }
    if (!(flags & AF_MDIFRAME) || !(flags & AF_MERGEBORDERS) || childMaximized) return;
    if (!Usable()) return;
    // The MDI client reaches one pixel under each visible neighbour, merging the borders.
    if (!dockSites[kTop]->Empty()) --pos->y, ++pos->cy;
    if (!dockSites[kLeft]->Empty()) --pos->x, ++pos->cx;
    if (!dockSites[kRight]->Empty()) ++pos->cx;
    if (!dockSites[kBottom]->Empty()) ++pos->cy;
    const LONG paneStyle = GetWindowLongA(clientPane->hwnd, GWL_STYLE);
    if ((paneStyle & WS_HSCROLL) || (clientPane->hScroll && clientPane->hScroll->shown)) ++pos->cy;
    if ((paneStyle & WS_VSCROLL) || (clientPane->vScroll && clientPane->vScroll->shown)) ++pos->cx;
}

}  // namespace varnex
