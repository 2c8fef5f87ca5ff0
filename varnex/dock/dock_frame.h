// The frame as its bars, sites and floating windows see it. The frame manager (frame/) is one;
// dock/ knows only this much of it, so that it never reaches up into the frame's own code.
#pragma once

#include <windows.h>

#include <array>

#include "core/registry.h"

namespace varnex {

struct CDockSiteFx;
struct CToolBarFx;

struct CDockFrameFx : RegisteredRecord {
    UINT isChild = 0;                  // WS_CHILD of the frame when attached
    // Every part is attached. Until then (the host hears of the attach as it goes) the frame
    // procedure passes messages on, the layout does nothing and no export but DetachFrame acts.
    BOOL ready = FALSE;
    BOOL childMaximized = FALSE;       // MDI frames: the active MDI child is maximized
    CToolBarFx* adoptedBar = nullptr;  // the "Standard" toolbar turned into a bar, if any
    std::array<CDockSiteFx*, 4> dockSites{};  // top, left, right, bottom

    // What the dock asks of the frame it belongs to, answered by the frame manager: a layout
    // of the whole frame, and its end as the frame manager it is (when the dock held it last).
    struct Operations {
        void (*layOut)(CDockFrameFx* frame, UINT request, const RECT* rect);
        void (*destroy)(CDockFrameFx* frame);
    };

    void RecalcLayout(UINT request, const RECT* rect) { operations->layOut(this, request, rect); }

    // Docks the bar into `site`, or into the site of its side bits when null; false when memory
    // is short (the bar then stays where it was).
    bool DockBarInSite(CToolBarFx* bar, CDockSiteFx* site);
    // Puts the bar into the list of its side's site if it is in none, and floats it in its own
    // floating window; false, with the bar where it was, when the window cannot be made.
    bool FloatBar(CToolBarFx* bar);

    const Operations* operations;

protected:
    explicit CDockFrameFx(const Operations* frameOperations) : operations(frameOperations) {}
};

// A frame released while the dock held it is freed as the frame manager it is, parts and all.
inline void DeleteWindowObject(CDockFrameFx* frame) { frame->operations->destroy(frame); }

}  // namespace varnex
