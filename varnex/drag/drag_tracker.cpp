#include "drag/drag_tracker.h"

#include <algorithm>

#include "frame/frame_manager.h"
#include "core/memory.h"
#include "dock/dock_site.h"
#include "dock/tool_bar.h"
#include "dock/mini_frame.h"
#include "varnex.h"

namespace varnex {

namespace {

bool IsSizeCode(WPARAM hitCode) { return hitCode >= HTLEFT && hitCode <= HTBOTTOMRIGHT; }
bool IsMoveCode(WPARAM hitCode) { return hitCode == HTCAPTION || hitCode == HTBORDER; }

SIZE FloatingWindowSize(SIZE bar) {
    RECT r{0, 0, bar.cx, bar.cy};
    AdjustWindowRectEx(&r, kMiniFrameStyle, FALSE, kMiniFrameExStyle);
    return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

CDragTrackerFx::CDragTrackerFx(CToolBarFx* draggedBar)
    : bar(draggedBar),
      site(draggedBar->dockSite),
      frame(draggedBar->frame),
      barHold(draggedBar),
      frameHold(draggedBar->frame) {
    BOOL full = FALSE;
    SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &full, 0);
    fullDrag = full ? TRUE : FALSE;
}

bool CDragTrackerFx::Alive() const { return barHold.Alive() && frameHold.Alive() && bar->frame == frame; }

int CDragTrackerFx::SiteIndex(const CDockSiteFx* s) const {
    for (int i = 0; i < kSiteCount; ++i)
        if (frame->dockSites[i] == s) return i;
    return -1;
}

void CDragTrackerFx::SaveBarPlace() {
    savedPlace = bar->SavedDockedPlace();
    miniWasVisible = bar->miniFrame && bar->miniFrame->visible;
}

void CDragTrackerFx::StartMove() {
    POINT c;
    GetCursorPos(&c);
    const bool floating = bar->IsFloating();
    PickMoveWindow(floating);

    GetWindowRect(hwndDrag, &trackRect);
    const POINT grab{c.x - trackRect.left, c.y - trackRect.top};
    lastPoint = edgeGap = grab;
    startRect = trackRect;

    const UINT f = bar->flags;
    if (f & (BFX_ALLOW_TOP | BFX_ALLOW_BOTTOM)) MeasureRowTarget(grab, floating);
    if (f & (BFX_ALLOW_LEFT | BFX_ALLOW_RIGHT)) MeasureColumnTarget(grab, floating);
    if (f & BFX_FLOATABLE) MeasureFloatingTarget(grab, floating);
    BuildHotRects();
    trackRect = startRect;
    site = bar->dockSite;
    Track();
}

// A floating bar is dragged by its floating window, a docked one by itself.
void CDragTrackerFx::PickMoveWindow(bool floating) {
    moving = TRUE;
    docked = TRUE;
    hwndDrag = bar->hwnd;
    if (floating) {
        docked = FALSE;
        hwndDrag = GetParent(bar->hwnd);
    } else {
        fullDrag = FALSE;  // contents move live only for a bar that already floats
    }
    if (fullDrag && !bar->miniFrame) fullDrag = FALSE;
}

// The rectangle of a top or bottom site's target and where the cursor holds it.
void CDragTrackerFx::MeasureRowTarget(POINT grab, bool floating) {
    SIZE s{};
    bar->GetBarSize(kDockedRowSize, &s);
    horzOffset = grab;
    if (floating) {
        if (!(bar->flags & BFX_CAPTION)) horzOffset.x = 6;
        horzOffset.y = s.cy / 2;
    } else if (bar->flags & BFX_HORZ) {
        s.cy = trackRect.bottom - trackRect.top;
    } else {
        horzOffset.x = (grab.x > s.cx) ? std::min(grab.y, s.cy - 1) : grab.y;
        horzOffset.y = (grab.y > s.cy) ? std::min(grab.x, s.cx - 1) : grab.x;
    }
    horzExtent = s;
    edgeGap.y = std::min(horzOffset.y, s.cy - horzOffset.y);
}

// Likewise for a left or right site.
void CDragTrackerFx::MeasureColumnTarget(POINT grab, bool floating) {
    SIZE s{};
    bar->GetBarSize(kDockedColumnSize, &s);
    vertOffset = grab;
    if (floating) {
        vertOffset = {s.cx / 2, 6};
    } else if (bar->flags & BFX_HORZ) {
        vertOffset.x = (grab.x > s.cx) ? s.cx - 1 : grab.y;
        vertOffset.y = (grab.y > s.cy) ? s.cy - 1 : grab.x;
    }
    vertExtent = s;
    edgeGap.x = std::min(vertOffset.x, s.cx - vertOffset.x);
}

// Likewise for a floating window: the one there is, or one made around the bar.
void CDragTrackerFx::MeasureFloatingTarget(POINT grab, bool floating) {
    canFloat = TRUE;
    if (floating) {
        docked = FALSE;
        floatOffset = grab;
        floatExtent = {startRect.right - startRect.left, startRect.bottom - startRect.top};
    } else {
        SIZE s{};
        bar->GetBarSize(kFloatingSize, &s);
        floatOffset = {std::min(grab.x, s.cx - 1), std::min(grab.y, s.cy - 1)};
        floatExtent = FloatingWindowSize(s);
    }
}

void CDragTrackerFx::Track() {
    SaveBarPlace();
    if (RunDragLoop()) {
        EndTracking();
        if (Alive()) ApplyDrop(nullptr);
    } else if (Alive()) {
        UndoLiveChanges();
    }
}

void CDragTrackerFx::BuildHotRects() {
    for (int i = 0; i < kSiteCount; ++i) {
        RECT& h = hotRects[i];
        CDockSiteFx* s = frame->dockSites[i];
        const UINT side = s ? (s->flags & SITE_SIDES) : 0;
        if (!s || !(bar->flags & (side << 4))) {
            SetRectEmpty(&h);
            continue;
        }
        GetWindowRect(s->hwnd, &h);
        if (docked && s == bar->dockSite)
            ReachOutOwnSite(s, &h);
        else
            ReachOutSite(side, !s->Empty(), &h);
    }
}

// The own site reaches out by as much of the bar as lies past the cursor.
void CDragTrackerFx::ReachOutOwnSite(const CDockSiteFx* s, RECT* h) const {
    if (s->Horizontal()) {
        h->top += horzOffset.y - horzExtent.cy;
        h->bottom += horzOffset.y;
    } else {
        h->left += vertOffset.x - vertExtent.cx;
        h->right += vertOffset.x;
    }
}

// Another site reaches into the frame by the bar's depth less the cursor's gap to the bar's
// edge, and, when it shows bars, out by that gap.
void CDragTrackerFx::ReachOutSite(UINT side, bool siteShown, RECT* h) const {
    const POINT g = edgeGap;
    switch (side) {
    case SIDE_TOP:
        h->top -= siteShown ? g.y : 0;
        h->bottom += horzExtent.cy - g.y;
        break;
    case SIDE_BOTTOM:
        h->top += g.y - horzExtent.cy;
        h->bottom += siteShown ? g.y : 0;
        break;
    case SIDE_LEFT:
        h->left -= siteShown ? g.x : 0;
        h->right += vertExtent.cx - g.x;
        break;
    case SIDE_RIGHT:
        h->left += g.x - vertExtent.cx;
        h->right += siteShown ? g.x : 0;
        break;
    }
}

BOOL CDragTrackerFx::RunDragLoop() {
    BeginTracking();
    DrawTrackRect(fullDrag);
    for (;;) {
        MSG msg;
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The host's loop must still see the quit.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1 || GetCapture() != hwndDrag) break;
        bool cancel = false;
        switch (msg.message) {
        case WM_LBUTTONUP:
            return TRUE;
        case WM_MOUSEMOVE:
            moving ? TrackMove(msg.pt) : TrackSize(msg.pt);
            break;
        case WM_KEYDOWN:
            if (!moving || msg.wParam != VK_CONTROL)
                cancel = true;
            else
                ForceFloating(true, msg.pt);
            break;
        case WM_KEYUP:
            if (moving && msg.wParam == VK_CONTROL) ForceFloating(false, msg.pt);
            break;
        case WM_CANCELMODE:
        case WM_RBUTTONDOWN:
        case WM_CAPTURECHANGED:
            cancel = true;
            break;
        default:
            DispatchMessageA(&msg);
            break;
        }
        // Whatever ran meanwhile (a dispatched message, a live update) may have released the bar
        // or its frame: the drag then ends at once, touching neither.
        if (cancel || !Alive()) break;
    }
    EndTracking();
    return FALSE;
}

// Ctrl pressed floats a floatable bar wherever the cursor is; released, the sites take it again.
void CDragTrackerFx::ForceFloating(bool on, POINT p) {
    if (on) {
        if (forceFloat || !(bar->flags & BFX_FLOATABLE)) return;
        forceFloat = TRUE;
        docked = FALSE;
    } else {
        if (!forceFloat) return;
        forceFloat = FALSE;
    }
    rebuild = TRUE;
    TrackMove(p);
}

void CDragTrackerFx::BeginTracking() {
    PumpPaintMessages();
    SetCapture(hwndDrag);
    hwndDesktop = GetDesktopWindow();
    hdcDesktop = GetDCEx(hwndDesktop, nullptr, DCX_WINDOW | DCX_CACHE);
}

void CDragTrackerFx::EndTracking() {
    DrawTrackRect(TRUE);
    if (GetCapture() == hwndDrag) ReleaseCapture();
    if (hdcDesktop) ReleaseDC(hwndDesktop, hdcDesktop);
    hdcDesktop = nullptr;
}

void CDragTrackerFx::DrawTrackRect(BOOL erase) {
    if (erase && !shown) return;
    shown = !erase;
    if (thickness < 2) {
        DrawFocusRect(hdcDesktop, &trackRect);
    } else {
        for (int i = 0; i < thickness; ++i) {
            DrawFocusRect(hdcDesktop, &trackRect);
            InflateRect(&trackRect, -1, -1);
        }
        InflateRect(&trackRect, thickness, thickness);
    }
    if (!erase) ValidateRect(hwndDesktop, &trackRect);
}

void PumpPaintMessages() {
    MSG m;
    while (PeekMessageA(&m, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE)) {
        if (!GetMessageA(&m, nullptr, WM_PAINT, WM_PAINT)) break;
        DispatchMessageA(&m);
    }
}

namespace {

// The coordinates of a docked target, by orientation.
struct Axis {
    LONG POINT::*along;
    LONG POINT::*across;
    LONG RECT::*alongStart;
    LONG RECT::*alongEnd;
    LONG RECT::*acrossStart;
    LONG RECT::*acrossEnd;
    LONG SIZE::*depth;
    BOOL CDragTrackerFx::*trackAlong;
    BOOL CDragTrackerFx::*trackAcross;
    LONG spanInset;  // a row spans from one pixel in, a column from the site's top
};

constexpr Axis kRows{&POINT::x, &POINT::y, &RECT::left, &RECT::right, &RECT::top, &RECT::bottom,
                     &SIZE::cy, &CDragTrackerFx::trackX, &CDragTrackerFx::trackY, 1};
constexpr Axis kColumns{&POINT::y, &POINT::x, &RECT::top, &RECT::bottom, &RECT::left, &RECT::right,
                        &SIZE::cx, &CDragTrackerFx::trackY, &CDragTrackerFx::trackX, 0};

}  // namespace

void CDragTrackerFx::TrackMove(POINT p) {
    if (!forceFloat) FollowTarget(p);
    DrawTrackRect(TRUE);
    if (rebuild) {
        RebuildTrackRect(p);
    } else {
        lastPoint.x = trackX ? p.x - lastPoint.x : 0;
        lastPoint.y = trackY ? p.y - lastPoint.y : 0;
    }
    OffsetRect(&trackRect, lastPoint.x, lastPoint.y);
    lastPoint = p;
    ShowMoveStep();
}

// The target follows the cursor into a site's hot rectangle or, out of every one, floats.
void CDragTrackerFx::FollowTarget(POINT p) {
    if (firstMove) {
        firstMove = FALSE;  // the first step keeps the start target
        return;
    }
    const int current = docked && site ? SiteIndex(site) : -1;
    if (current >= 0 && PtInRect(&hotRects[current], p)) return;
    int found = -1;
    for (int i = 0; i < kSiteCount && found < 0; ++i)
        if (PtInRect(&hotRects[i], p)) found = i;
    if (found >= 0) {
        site = frame->dockSites[found];
        docked = TRUE;
        rebuild = TRUE;
    } else if (docked) {
        docked = FALSE;
        rebuild = TRUE;
    }
}

// A new target: the rectangle takes its size, and lastPoint where its top-left corner goes
// relative to the cursor.
void CDragTrackerFx::RebuildTrackRect(POINT p) {
    lastPoint = p;
    rebuild = FALSE;
    trackX = trackY = TRUE;
    trackRect.left = trackRect.top = 0;
    if (docked && site) {
        PlaceOnSite(p);
    } else if (canFloat) {
        trackRect.right = floatExtent.cx;
        trackRect.bottom = floatExtent.cy;
        lastPoint = {p.x - floatOffset.x, p.y - floatOffset.y};
        thickness = 3;
    } else {
        // A bar that may not float stays where the drag began.
        thickness = 1;
        trackX = trackY = FALSE;
        lastPoint = {0, 0};
        trackRect = startRect;
    }
}

// Over a site the rectangle takes the bar's size for the site's sides, held where the cursor
// held the bar; an empty site pins it, and a bar that spans its row spans the site.
void CDragTrackerFx::PlaceOnSite(POINT p) {
    const bool spans = bar->flags & (BFX_CONSTRAINED | BFX_STRETCH);
    const RECT& h = hotRects[SiteIndex(site)];
    const bool own = site == bar->dockSite;
    const bool siteShown = !site->Empty();
    thickness = 1;
    // Written once for rows and columns: "along" runs with the site's rows, "across" is its
    // depth.
    const Axis& axis = site->Horizontal() ? kRows : kColumns;
    const POINT& offset = site->Horizontal() ? horzOffset : vertOffset;
    const SIZE& extent = site->Horizontal() ? horzExtent : vertExtent;
    const bool nearSide = site->flags & (SIDE_TOP | SIDE_LEFT);
    trackRect.right = extent.cx;
    trackRect.bottom = extent.cy;
    lastPoint.*axis.along = p.*axis.along - offset.*axis.along;
    if (siteShown) {
        if (own)
            lastPoint.*axis.across -= offset.*axis.across;
        else if (nearSide)
            lastPoint.*axis.across -= extent.*axis.depth - edgeGap.*axis.across;
        else
            lastPoint.*axis.across -= edgeGap.*axis.across;
    } else {
        // An empty site pins the rectangle against its outer edge.
        lastPoint.*axis.across = nearSide ? h.*axis.acrossStart + 1 : h.*axis.acrossEnd - extent.*axis.depth;
        this->*axis.trackAcross = FALSE;
    }
    if (spans) {
        trackRect.*axis.alongStart = h.*axis.alongStart + axis.spanInset;
        trackRect.*axis.alongEnd = h.*axis.alongEnd;
        lastPoint.*axis.along = 0;
        this->*axis.trackAlong = FALSE;
    }
}

// The focus rectangle, or with full-window dragging the floating window itself: hidden over a
// site, moved and shown elsewhere.
void CDragTrackerFx::ShowMoveStep() {
    CMiniFrameFx* mini = bar->miniFrame;
    if (!fullDrag || !mini) {
        DrawTrackRect(FALSE);
    } else if (docked) {
        if (mini->visible) {
            liveChanged = TRUE;
            mini->HideMiniFrame();
            PumpPaintMessages();
        } else {
            DrawTrackRect(FALSE);
        }
    } else {
        liveChanged = TRUE;
        mini->MoveMiniFrame(trackRect);
        if (!mini->visible) mini->ShowMiniFrame();
    }
}

void CDragTrackerFx::SetDockRectFrom(RECT r) {
    MapWindowPoints(HWND_DESKTOP, site->hwnd, reinterpret_cast<POINT*>(&r), 2);
    bar->SetDockedRect(r);
}

void CDragTrackerFx::ApplyDrop(const RECT* rect) {
    const RECT r = rect ? *rect : trackRect;
    if (moving)
        ApplyMoveDrop(r);
    else
        ApplySizeDrop(r);
}

void CDragTrackerFx::ApplyMoveDrop(const RECT& r) {
    if (docked) {
        if (!site) return;
        SetDockRectFrom(r);
        if (!bar->miniFrame && site == bar->dockSite)
            site->PlaceBar(bar);
        else
            frame->DockBarInSite(bar, site);
        frame->RecalcLayout(LAYOUT_DEFAULT, nullptr);
        return;
    }
    if (!canFloat) return;
    bar->SetFloatingPlace({r.left, r.top});
    if (bar->miniFrame) {
        bar->miniFrame->MoveMiniFrame(r);
        return;
    }
    frame->FloatBar(bar);
    frame->RecalcLayout(LAYOUT_DEFAULT, nullptr);
}

void CDragTrackerFx::UndoLiveChanges() {
    if (!liveChanged) return;
    CMiniFrameFx* mini = bar->miniFrame;
    if (moving || mini) {
        if (!mini) return;
        mini->MoveMiniFrame(moving ? startRect : SizeStartRect());
        // The bar fills the floating window again, whatever a reflow made of it.
        RECT client;
        GetClientRect(mini->hwnd, &client);
        SetWindowPos(bar->hwnd, nullptr, 0, 0, client.right, client.bottom,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
        if (miniWasVisible && !mini->visible) mini->ShowMiniFrame();
        return;
    }
    bar->PutBackDockedPlace(savedPlace);
    if (site) bar->RecordDockedPlace(site->Horizontal());
    frame->RecalcLayout(LAYOUT_DEFAULT, nullptr);
}

void CDragTrackerFx::ToggleFloating() {
    if (bar->miniFrame) {
        if (!site) return;
        site->AddBar(bar);
        if (Alive()) frame->RecalcLayout(LAYOUT_DEFAULT, nullptr);
        return;
    }
    if (bar->floatPos.x == 0 && bar->floatPos.y == 0) {
        // No floating position yet: the floating window's client area starts where the bar's
        // content is now.
        RECT r;
        GetWindowRect(bar->hwnd, &r);
        if (bar->flags & BFX_CAPTION) {
            r.top += GetSystemMetrics(SM_CYSMCAPTION) + 1;
            r.left += 1;
        }
        AdjustWindowRectEx(&r, kMiniFrameStyle, FALSE, kMiniFrameExStyle);
        bar->SetFloatingPlace({r.left, r.top});
    }
    frame->FloatBar(bar);
    if (Alive()) frame->RecalcLayout(LAYOUT_DEFAULT, nullptr);
}

namespace {

// Runs one drag operation with a tracker that the bar points to while it runs.
template <class Operation>
void WithTracker(CToolBarFx* bar, Operation operation) {
    // A request that arrives while a drag of this bar runs is ignored: the running drag owns the
    // tracker and must never continue with one that was destroyed under it.
    if (!bar || bar->tracker || !bar->frame) return;
    CDragTrackerFx* tracker = New<CDragTrackerFx>(bar);
    if (!tracker) return;
    bar->tracker = tracker;
    operation(tracker);
    if (bar->tracker == tracker) bar->tracker = nullptr;
    Delete(tracker);
}

}  // namespace

void BarNcButtonDown(CToolBarFx* bar, WPARAM hitCode) {
    if (IsMoveCode(hitCode))
        WithTracker(bar, [](CDragTrackerFx* t) { t->StartMove(); });
    else if (IsSizeCode(hitCode))
        WithTracker(bar, [hitCode](CDragTrackerFx* t) { t->StartSize(static_cast<UINT>(hitCode)); });
}

void BarNcDoubleClick(CToolBarFx* bar, WPARAM hitCode) {
    if (!bar || !IsMoveCode(hitCode) || !(bar->flags & BFX_FLOATABLE)) return;
    WithTracker(bar, [](CDragTrackerFx* t) { t->ToggleFloating(); });
}

}  // namespace varnex
