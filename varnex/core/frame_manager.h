// The frame manager: attached to a host frame by AttachFrame, it owns the client pane, the four
// dock sites and the status bar object, subclasses them with the frame procedure, and lays the
// frame's client area out itself.
#pragma once

#include <windows.h>

#include <vector>

#include "core/registry.h"

namespace varnex {

struct CClientPaneFx;
struct CStatusBarFx;
struct CDockSiteFx;
struct CToolBarFx;

struct CCtrlFrameFx : WindowRecord {
    UINT isChild;            // WS_CHILD of the frame when attached
    BOOL ownedActivation;    // an owned window of an MDI frame holds the activation
    RECT attachRect;         // window rectangle at attach, given back on detach
    CToolBarFx* adoptedBar;  // the "Standard" toolbar turned into a bar, if any
    CStatusBarFx* statusBar;
    CClientPaneFx* clientPane;
    std::vector<CDockSiteFx*> dockSites;  // top, left, right, bottom

    CCtrlFrameFx(HWND frame, UINT attachFlags);
    ~CCtrlFrameFx();

    UINT Kind() const { return flags & 0xF; }
    bool HasVisibleStatusBar() const;

    // Gives every part back (procedures restored, created windows destroyed); FXS_DETACH also
    // hands the host its attach-time rectangle.
    void Detach(int code);
    void BroadcastFrameState(int code);
    // Docks the bar into `site`, or into the site of its side bits when null.
    void DockBarInSite(CToolBarFx* bar, CDockSiteFx* site);
    // Puts the bar into the list of its side's site if it is in none (floating windows to come).
    void FloatBar(CToolBarFx* bar);

    // Layout (frame_layout.cpp).
    void RecalcLayout(UINT request, const RECT* rect);
    void ApplyLayout(const RECT* rect);
    void GetTrackSize(UINT selector, SIZE* out);
    // The client pane's part of GetTrackSize: its own minimum (0x400) or maximum size.
    void GetPaneTrackSize(UINT selector, SIZE* out);
    void LimitSizingRect(UINT edge, RECT* dragged);
    void AdjustPanePos(WINDOWPOS* pos);

    // Gives back the bars handed to this frame that sit in none of its sites.
    void GiveBackStrayBars(int code);

    // Ends the frame manager: parts detached with `code`, object destroyed, block freed.
    static void Release(CCtrlFrameFx* frame, int code);
};

// Frame manager of the frame that owns `child` (its parent), or null.
CCtrlFrameFx* FrameOfChild(HWND child);

}  // namespace varnex
