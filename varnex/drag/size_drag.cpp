// Size drags: a bar, or its floating window, resized by an edge in the drag tracker's loop, within
// what its content, a stretching bar's client pane and a wrapping toolbar allow.
#include "frame/client_pane.h"
#include "frame/frame_manager.h"
#include "dock/dock_site.h"
#include "dock/tool_bar.h"
#include "drag/drag_tracker.h"
#include "dock/mini_frame.h"
#include "varnex.h"

namespace varnex {

namespace {

constexpr UINT kEdgeTop = 1, kEdgeLeft = 2, kEdgeRight = 4, kEdgeBottom = 8;
constexpr LONG kNoLimit = 0xFFFF;

UINT EdgesOf(UINT hitCode) {
    UINT edges = 0;
    if (hitCode == HTTOP || hitCode == HTTOPLEFT || hitCode == HTTOPRIGHT) edges |= kEdgeTop;
    if (hitCode == HTLEFT || hitCode == HTTOPLEFT || hitCode == HTBOTTOMLEFT) edges |= kEdgeLeft;
    if (hitCode == HTRIGHT || hitCode == HTTOPRIGHT || hitCode == HTBOTTOMRIGHT) edges |= kEdgeRight;
    if (hitCode == HTBOTTOM || hitCode == HTBOTTOMLEFT || hitCode == HTBOTTOMRIGHT) edges |= kEdgeBottom;
    return edges;
}

// Along one axis the grabbed edge follows the cursor; the far end is the stored one unless the
// far edge itself is grabbed.
void FollowEdge(UINT edges, LONG& start, LONG& end, LONG storedEnd, LONG pos, LONG gap, UINT startEdge,
                UINT endEdge) {
    if ((edges & endEdge) && !(edges & startEdge)) {
        end = pos + gap;
    } else {
        if (edges & startEdge) start = pos - gap;
        end = storedEnd;
    }
}

// One span of the rectangle (its start and end edges, the non-client extra between them and the
// client size) held to [low, high]; the maximum is tested first. The clamp moves the dragged
// edge: the start when it is dragged (left, top), else the end.
void ClampSpan(LONG size, LONG low, LONG high, bool startDragged, LONG extra, LONG& start, LONG& end) {
    LONG limit;
    if (high <= size)
        limit = high;
    else if (low > size)
        limit = low;
    else
        return;
    if (startDragged)
        start = end - extra - limit;
    else
        end = start + extra + limit;
}

}  // namespace

// A size drag keeps its start rectangle in floatOffset and floatExtent.
RECT CDragTrackerFx::SizeStartRect() const { return {floatOffset.x, floatOffset.y, floatExtent.cx, floatExtent.cy}; }

void CDragTrackerFx::StartSize(UINT hitCode) {
    firstMove = rebuild = docked = TRUE;
    moving = FALSE;
    edges = EdgesOf(hitCode);
    trackY = (edges & (kEdgeLeft | kEdgeRight)) != 0;  // the width changes
    trackX = (edges & (kEdgeTop | kEdgeBottom)) != 0;  // the height changes

    CMiniFrameFx* mini = bar->miniFrame;
    hwndDrag = mini ? mini->hwnd : bar->hwnd;
    GetWindowRect(hwndDrag, &trackRect);
    floatOffset = {trackRect.left, trackRect.top};
    floatExtent = {trackRect.right, trackRect.bottom};
    GetClientRect(hwndDrag, &clientRect);
    lastPoint = {trackRect.right - trackRect.left - clientRect.right, trackRect.bottom - trackRect.top - clientRect.bottom};

    POINT c;
    GetCursorPos(&c);
    edgeGap.x = trackY ? ((edges & kEdgeLeft) ? c.x - trackRect.left : trackRect.right - c.x) : 0;
    edgeGap.y = trackX ? ((edges & kEdgeTop) ? c.y - trackRect.top : trackRect.bottom - c.y) : 0;

    SIZE minimum{}, maximum{kNoLimit, kNoLimit};
    if (mini) {
        thickness = 3;
        docked = FALSE;
        bar->GetBarSize(kNaturalFloatingSize, &minimum);
    } else {
        thickness = 1;
        bar->GetBarSize((bar->flags & BFX_HORZ) ? kNaturalRowContent : kNaturalColumnContent, &minimum);
        if ((bar->flags & BFX_STRETCH) && !(frame->flags & AF_KEEPCLIENTSIZE)) LimitStretchToPane(&maximum);
    }
    horzOffset = {minimum.cx, minimum.cy};
    horzExtent = maximum;
    Track();
}

// A stretch bar grows only until the client pane would fall below its minimum.
void CDragTrackerFx::LimitStretchToPane(SIZE* maximum) {
    CCtrlFrameFx* manager = FrameManagerOf(frame);
    SIZE m{};
    manager->GetPaneTrackSize(kTrackMinimum, &m);
    GetWindowRect(manager->clientPane->hwnd, &clientRect);
    const RECT s = SizeStartRect();
    if (bar->flags & BFX_VERT)
        maximum->cx = ((edges & kEdgeRight) ? clientRect.right - s.left : s.right - clientRect.left) -
                      lastPoint.x - m.cx;
    else if (bar->flags & BFX_HORZ)
        maximum->cy = ((edges & kEdgeBottom) ? clientRect.bottom - s.top : s.bottom - clientRect.top) -
                      m.cy - lastPoint.y;
}

void CDragTrackerFx::TrackSize(POINT p) {
    if (!rebuild) return;  // the previous step's live update still runs
    const RECT s = SizeStartRect();
    RECT r = trackRect;
    FollowEdge(edges, r.left, r.right, s.right, p.x, edgeGap.x, kEdgeLeft, kEdgeRight);
    FollowEdge(edges, r.top, r.bottom, s.bottom, p.y, edgeGap.y, kEdgeTop, kEdgeBottom);
    SIZE client{r.right - lastPoint.x - r.left, r.bottom - lastPoint.y - r.top};
    if (bar->isToolBar && (bar->flags & BFX_WRAPPABLE) && edges) client = WrapToolBar(r, client);
    ClampToLimits(client, &r);
    ShowSizeStep(r);
}

// A wrapping toolbar takes the size its buttons wrap to; a taller bar asks for a shorter length,
// and the other way round. The size found is the drag's minimum and maximum from now on.
SIZE CDragTrackerFx::WrapToolBar(const RECT& r, SIZE client) {
    const RECT s = SizeStartRect();
    LONG w = client.cx, h = client.cy;
    UINT mode = docked ? kDockedContentFit : kFloatingFrameFit;
    if (bar->flags & BFX_HORZ) {
        mode |= BSZ_HORZ;
        h = 0;
        if (edges & kEdgeBottom)
            w += s.bottom - r.bottom;
        else if (edges & kEdgeTop)
            w += r.top - s.top;
    } else if (bar->flags & BFX_VERT) {
        mode |= BSZ_VERT;
        w = 0;
        if (edges & kEdgeRight)
            h += s.right - r.right;
        else if (edges & kEdgeLeft)
            h += r.left - s.left;
    }
    SIZE fit{w, h};
    bar->FitToolBar(mode, &fit);
    liveChanged = TRUE;  // the reflow resized the bar window
    if (fullDrag)
        SetWindowPos(bar->hwnd, nullptr, 0, 0, fit.cx, fit.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    horzOffset = {fit.cx, fit.cy};
    horzExtent = fit;
    return fit;
}

// Holds the client size to the drag's minimum (horzOffset) and maximum (horzExtent).
void CDragTrackerFx::ClampToLimits(SIZE client, RECT* r) const {
    const SIZE minimum{horzOffset.x, horzOffset.y}, maximum = horzExtent;
    ClampSpan(client.cx, minimum.cx, maximum.cx, edges & kEdgeLeft, lastPoint.x, r->left, r->right);
    ClampSpan(client.cy, minimum.cy, maximum.cy, edges & kEdgeTop, lastPoint.y, r->top, r->bottom);
}

// A changed rectangle is drawn, or with full-window dragging applied at once.
void CDragTrackerFx::ShowSizeStep(const RECT& r) {
    if (!EqualRect(&r, &trackRect)) {
        DrawTrackRect(TRUE);
        trackRect = r;
        if (fullDrag) {
            rebuild = FALSE;
            liveChanged = TRUE;
            if (docked) {
                ApplyDrop(&r);  // the frame is laid out live
            } else if (CMiniFrameFx* mini = bar->miniFrame) {
                if (bar->isToolBar) InvalidateRect(bar->hwnd, nullptr, FALSE);
                mini->MoveMiniFrame(r);
            }
            PumpPaintMessages();
            rebuild = TRUE;
            return;
        }
        DrawTrackRect(FALSE);
    }
    rebuild = TRUE;
}

void CDragTrackerFx::ApplySizeDrop(const RECT& r) {
    // New client size of hwndDrag.
    const LONG a = r.right - lastPoint.x - r.left;
    const LONG b = r.bottom - lastPoint.y - r.top;
    if (CMiniFrameFx* mini = bar->miniFrame) {
        // The floating window's client is the bar's whole window; the size kept, as SetDock
        // takes it back, is the bar's client size: its floating frame comes off.
        SIZE frame{0, 0};
        bar->GetBarSize(BSZ_FLOATING | BSZ_FRAME, &frame);
        const SIZE client{a - frame.cx, b - frame.cy};
        bar->SetFloatingPlace({r.left, r.top}, &client);
        mini->MoveMiniFrame(r);
        return;
    }
    if (!site) return;
    SetDockRectFrom(r);
    const bool stretch = bar->flags & BFX_STRETCH;
    if (bar->flags & BFX_HORZ) {
        bar->horzSize.cy = b;
        if (!stretch) bar->horzSize.cx = a;
    } else if (bar->flags & BFX_VERT) {
        bar->vertSize.cx = a;
        if (!stretch) bar->vertSize.cy = b;
    }
    // The host's state record learns the new size now: a layout saved before the next placing
    // of the bar would otherwise bring back the old one.
    bar->RecordDockedPlace(site->Horizontal());
    if (bar->flags & BFX_WRAPPABLE) InvalidateRect(site->hwnd, nullptr, FALSE);
    frame->RecalcLayout(LAYOUT_DEFAULT, nullptr);
}

}  // namespace varnex
