// Drag tracking: the modal loop that moves a bar between dock sites and floating positions, and
// resizes it by its edges, with an XOR focus rectangle on the desktop. One tracker lives for one
// drag only; the call that starts the drag owns it.
#pragma once

#include <windows.h>

#include "frame/frame_manager.h"
#include "dock/tool_bar.h"

namespace varnex {

struct CToolBarFx;
struct CDockSiteFx;
struct CDockFrameFx;

struct CDragTrackerFx {
    HWND hwndDrag = nullptr;     // holds the capture
    HWND hwndDesktop = nullptr;
    UINT edges = 0;              // size drag: 1 top, 2 left, 4 right, 8 bottom
    BOOL firstMove = TRUE;
    BOOL rebuild = TRUE;         // move: rebuild trackRect next step; size: 0 while a live update runs
    BOOL shown = FALSE;          // the focus rectangle is on the screen
    BOOL moving = FALSE;         // move drag (1) or size drag (0)
    BOOL docked = TRUE;          // target is a dock site (move); the bar is docked (size)
    BOOL trackX = TRUE;
    BOOL trackY = TRUE;
    BOOL canFloat = FALSE;
    BOOL forceFloat = FALSE;     // Ctrl held
    BOOL fullDrag = FALSE;       // window contents shown while dragging
    RECT trackRect{};
    POINT horzOffset{};          // size drag: minimum client size
    SIZE horzExtent{};           // size drag: maximum client size
    POINT vertOffset{};
    SIZE vertExtent{};
    POINT floatOffset{};         // size drag: left, top of the start rectangle
    SIZE floatExtent{};          // size drag: right, bottom of the start rectangle
    RECT clientRect{};
    RECT startRect{};
    POINT edgeGap{};
    POINT lastPoint{};           // size drag: non-client extra of hwndDrag
    int thickness = 1;
    HDC hdcDesktop = nullptr;
    CToolBarFx* bar;
    CDockSiteFx* site;
    CDockFrameFx* frame;
    // Whatever runs during the drag may release the bar or its frame (a dispatched message, a
    // live update reaching the host): their memory lasts until the drag ends, and Alive() says
    // whether they are still in use.
    Hold<CToolBarFx> barHold;
    Hold<CDockFrameFx> frameHold;
    // Hot rectangle of each site (top, left, right, bottom), screen coordinates. Kept here rather
    // than in the sites, whose layout a message dispatched during the drag may redo at any time.
    RECT hotRects[4]{};
    // What a live update (full-window dragging, a toolbar's reflow) changed is put back when the
    // drag is cancelled: the bar's stored place and sizes, and whether its floating window showed.
    BOOL liveChanged = FALSE;
    BOOL miniWasVisible = FALSE;
    CToolBarFx::DockedPlace savedPlace{};

    explicit CDragTrackerFx(CToolBarFx* draggedBar);

    void StartMove();
    void StartSize(UINT hitCode);
    // TRUE when the drag was accepted (button released); FALSE when it was cancelled.
    BOOL RunDragLoop();
    void BeginTracking();
    void EndTracking();
    void DrawTrackRect(BOOL erase);
    void TrackMove(POINT p);
    void TrackSize(POINT p);
    void ApplyDrop(const RECT* rect);
    void ToggleFloating();
    // The bar, its frame and the sites are still there: nothing released them during the drag.
    bool Alive() const;

private:
    // Move drags (drag_tracker.cpp).
    void PickMoveWindow(bool floating);
    void MeasureRowTarget(POINT grab, bool floating);
    void MeasureColumnTarget(POINT grab, bool floating);
    void MeasureFloatingTarget(POINT grab, bool floating);
    void BuildHotRects();
    void ReachOutOwnSite(const CDockSiteFx* s, RECT* h) const;
    void ReachOutSite(UINT side, bool siteShown, RECT* h) const;
    void ForceFloating(bool on, POINT p);
    void FollowTarget(POINT p);
    void RebuildTrackRect(POINT p);
    void PlaceOnSite(POINT p);
    void ShowMoveStep();
    void ApplyMoveDrop(const RECT& r);
    // Size drags (size_drag.cpp).
    RECT SizeStartRect() const;
    void LimitStretchToPane(SIZE* maximum);
    SIZE WrapToolBar(const RECT& r, SIZE client);
    void ClampToLimits(SIZE client, RECT* r) const;
    void ShowSizeStep(const RECT& r);
    void ApplySizeDrop(const RECT& r);

    void SetDockRectFrom(RECT r);
    void SaveBarPlace();
    // Runs the loop from the place saved now: applies the drop when accepted, undoes live
    // changes when cancelled, and touches nothing that was released meanwhile.
    void Track();
    void UndoLiveChanges();
    int SiteIndex(const CDockSiteFx* s) const;
};

// Dispatches every waiting paint message.
void PumpPaintMessages();

// WM_NCLBUTTONDOWN of a bar or its floating window: a move drag for HTCAPTION and HTBORDER, a size
// drag for the sizing codes; returns when the drag is over. Ignored while a drag of the bar runs.
void BarNcButtonDown(CToolBarFx* bar, WPARAM hitCode);
// WM_NCLBUTTONDBLCLK: HTCAPTION or HTBORDER of a floatable bar toggles docked and floating.
void BarNcDoubleClick(CToolBarFx* bar, WPARAM hitCode);

}  // namespace varnex
