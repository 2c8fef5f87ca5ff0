#include "dock/bar_nonclient.h"

#include "dock/dock_frame.h"
#include "dock/tool_bar.h"
#include "dock/mini_frame.h"
#include "varnex.h"

namespace varnex {

namespace {

constexpr int kGripperWidth = 6;
constexpr int kSizingZone = 3;

bool IsHorz(const CToolBarFx* bar) { return bar->flags & BFX_HORZ; }
bool IsVert(const CToolBarFx* bar) { return bar->flags & BFX_VERT; }

// Keeps only the sizing code of the edge that faces the client pane of a stretch bar.
LRESULT StretchEdge(const CToolBarFx* bar, LRESULT code) {
    const bool keepClient = bar->frame && (bar->frame->flags & AF_KEEPCLIENTSIZE);
    LRESULT kept;
    switch (bar->flags & kBarSides) {
    case BFX_TOP: kept = HTBOTTOM; break;
    case BFX_LEFT: kept = HTRIGHT; break;
    case BFX_RIGHT: kept = keepClient ? HTRIGHT : HTLEFT; break;
    case BFX_BOTTOM: kept = keepClient ? HTBOTTOM : HTTOP; break;
    default: return code;
    }
    return code == kept ? code : HTNOWHERE;
}

}  // namespace

int BarBorderWidth(const CToolBarFx* bar) {
    if (bar->IsFloating()) return 1;
    int n = 1;
    for (UINT border : {BFX_RAISEDBORDER, BFX_SUNKENBORDER, BFX_SPACING})
        if (bar->flags & border) ++n;
    return n;
}

void BarNcCalcSize(CToolBarFx* bar, RECT* rect) {
    if (!bar->IsFloating()) {
        // A caption takes precedence over a gripper.
        if (bar->flags & BFX_CAPTION)
            rect->top += GetSystemMetrics(SM_CYSMCAPTION);
        else if (bar->flags & BFX_GRIPPER) {
            if (IsHorz(bar))
                rect->left += kGripperWidth;
            else if (IsVert(bar))
                rect->top += kGripperWidth;
        }
    }
    const int n = BarBorderWidth(bar);
    InflateRect(rect, -n, -n);
}

namespace {

// The gripper band, `k` pixels in from the window's edges. Drawn also under a caption; the
// clipping keeps what falls into caption or client.
void PaintGripper(const CToolBarFx* bar, HDC dc, const RECT& w, int k) {
    RECT g{};
    if (IsHorz(bar))
        g = {k + 1, k + 1, k + 4, w.bottom - k - 1};
    else if (IsVert(bar))
        g = {k + 1, k + 1, w.right - k - 1, k + 4};
    if (!IsRectEmpty(&g)) DrawEdge(dc, &g, BDR_RAISEDINNER, BF_RECT);
}

// A docked bar's non-client area in its window rectangle `w`: borders, sunken edge, caption
// and gripper, drawn around its client rectangle, which is clipped out.
void PaintDockedFrame(CToolBarFx* bar, HDC dc, RECT w) {
    RECT c;
    GetClientRect(bar->hwnd, &c);
    int k = 0;
    if (bar->flags & BFX_RAISEDBORDER) {
        DrawEdge(dc, &w, BDR_RAISEDINNER, BF_RECT);
        k = 1;
        IntersectClipRect(dc, 1, 1, w.right - 1, w.bottom - 1);  // nothing later paints over it
    }
    k += 1;
    if (bar->flags & BFX_SPACING) k += 1;
    if (bar->flags & BFX_SUNKENBORDER) k += 1;
    // The client rectangle sits k pixels in from the right and bottom edges.
    OffsetRect(&c, w.right - c.right - k, w.bottom - c.bottom - k);
    if (bar->flags & BFX_SUNKENBORDER) {
        k -= 1;
        InflateRect(&c, 1, 1);
        DrawEdge(dc, &c, BDR_SUNKENOUTER, BF_RECT);
    }
    ExcludeClipRect(dc, c.left, c.top, c.right, c.bottom);
    if (bar->flags & BFX_CAPTION) {
        RECT cap{k, k, w.right - k, k + GetSystemMetrics(SM_CYSMCAPTION)};
        DrawCaption(bar->hwnd, dc, &cap, DC_ACTIVE | DC_SMALLCAP | DC_TEXT | DC_INBUTTON);
        ExcludeClipRect(dc, k, k, cap.right, cap.bottom);
    }
    FillRect(dc, &w, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    if (bar->flags & BFX_GRIPPER) PaintGripper(bar, dc, w, k);
}

}  // namespace

void BarNcPaint(CToolBarFx* bar) {
    RECT w;
    GetWindowRect(bar->hwnd, &w);
    OffsetRect(&w, -w.left, -w.top);
    HDC dc = GetWindowDC(bar->hwnd);
    if (!dc) return;
    if (bar->IsFloating()) {
        // The floating window draws the frame; the bar only its optional sunken edge.
        if (bar->flags & BFX_SUNKENBORDER) DrawEdge(dc, &w, BDR_SUNKENOUTER, BF_RECT);
    } else {
        PaintDockedFrame(bar, dc, w);
    }
    ReleaseDC(bar->hwnd, dc);
}

LRESULT BarNcHitTest(CToolBarFx* bar, LPARAM lParam) {
    const LRESULT d = DefWindowProcA(bar->hwnd, WM_NCHITTEST, 0, lParam);
    if (d != HTNOWHERE) return d;
    LRESULT code = HTNOWHERE;
    if ((bar->flags & BFX_SIZABLE) && !(bar->flags & BFX_CONSTRAINED)) {
        RECT r;
        GetWindowRect(bar->hwnd, &r);
        InflateRect(&r, -kSizingZone, -kSizingZone);
        const LONG x = static_cast<SHORT>(LOWORD(lParam)), y = static_cast<SHORT>(HIWORD(lParam));
        if (!(bar->flags & BFX_STRETCH)) {
            // Sized at its ends: along its length.
            if (IsHorz(bar)) {
                if (x < r.left) code = HTLEFT;
                else if (x > r.right) code = HTRIGHT;
            } else if (IsVert(bar)) {
                if (y < r.top) return HTTOP;
                if (y > r.bottom) code = HTBOTTOM;
            }
        } else if (!bar->isToolBar) {
            // Sized across: its thickness, on the edge that faces the client pane.
            if (IsHorz(bar)) {
                if (y < r.top) code = HTTOP;
                else if (y > r.bottom) code = HTBOTTOM;
            } else if (IsVert(bar)) {
                if (x < r.left) code = HTLEFT;
                else if (x > r.right) code = HTRIGHT;
            }
            code = StretchEdge(bar, code);
        }
    }
    if (code != HTNOWHERE) return code;
    return (bar->flags & BFX_MOVABLE) ? HTBORDER : HTNOWHERE;
}

namespace {

// Sizes the bar's floating window around it and shows it. Sizing reaches the host, which may
// take the floating window away meanwhile: it is looked up again before it is shown.
void ShowFloatingWindow(CToolBarFx* bar) {
    if (CMiniFrameFx* mini = bar->miniFrame) mini->SizeMiniFrame(kSizeAndMove, nullptr);
    if (CMiniFrameFx* mini = bar->released ? nullptr : bar->miniFrame) mini->ShowMiniFrame();
}

}  // namespace

void BarShowWindow(CToolBarFx* bar, BOOL show) {
    // A toolbar follows through WM_WINDOWPOSCHANGING instead.
    if (bar->isToolBar || !bar->miniFrame) return;
    if (show)
        ShowFloatingWindow(bar);
    else
        bar->miniFrame->HideMiniFrame();
}

void BarPosChanging(CToolBarFx* bar, WINDOWPOS* pos) {
    const UINT w = pos->flags;
    if (w & SWP_NOOWNERZORDER) return;  // the library's own calls
    if (w & SWP_SHOWWINDOW) {
        bar->flags &= ~BFX_HIDDEN;
        if (bar->miniFrame) {
            if (bar->isToolBar) ShowFloatingWindow(bar);
        } else if (bar->frame) {
            bar->frame->RecalcLayout(LAYOUT_DEFAULT, nullptr);
        }
    } else if (w & SWP_HIDEWINDOW) {
        bar->flags |= BFX_HIDDEN;
        if (bar->miniFrame) {
            if (bar->isToolBar) bar->miniFrame->HideMiniFrame();
        } else if (bar->frame) {
            bar->frame->RecalcLayout(LAYOUT_DEFAULT, nullptr);
        }
    } else if (!(w & (SWP_NOSIZE | SWP_NOMOVE)) && bar->isToolBar) {
        // Only the library moves or sizes a toolbar bar.
        pos->flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    } else if ((w & (SWP_NOSIZE | SWP_NOMOVE)) != (SWP_NOSIZE | SWP_NOMOVE)) {
        // Nor any other bar: its place is its row's, or its floating window's. (An MDI client,
        // for one, goes on placing a child it once held maximized.)
        pos->flags |= SWP_NOSIZE | SWP_NOMOVE;
    }
}

}  // namespace varnex
