// A dock site: one per side of a managed frame. It owns the window along its side (the host's
// dock bar, or one the library creates) and the list of the bars of that side.
#pragma once

#include <windows.h>

#include "core/host.h"
#include "core/ptr_list.h"
#include "core/registry.h"

namespace varnex {

struct CDockFrameFx;
struct CToolBarFx;

// Site flags.
constexpr UINT SITE_EMPTY = 0x1;
constexpr UINT SITE_SIDES = 0xF0;
constexpr UINT SITE_EDGE_LEFT = 0x100;
constexpr UINT SITE_EDGE_TOP = 0x200;
constexpr UINT SITE_EDGE_RIGHT = 0x400;
constexpr UINT SITE_EDGE_BOTTOM = 0x800;
constexpr UINT SITE_EDGES = 0xF00;

constexpr UINT SIDE_TOP = 0x10, SIDE_LEFT = 0x20, SIDE_RIGHT = 0x40, SIDE_BOTTOM = 0x80;

// Index of the side named by the side bits of `flags`: 0 top, 1 left, 2 right, 3 bottom.
inline int SideIndex(UINT flags) { return (flags & SIDE_BOTTOM) ? 3 : (flags >> 5) & 7; }

struct CDockSiteFx : WindowRecord {
    RECT siteRect{};   // left, top: position; right, bottom: width and height
    SIZE minSize{};
    BOOL created = FALSE;
    BOOL subclassed = FALSE;
    PtrList<CToolBarFx> bars;
    CDockFrameFx* frame;

    CDockSiteFx(CDockFrameFx* owner, UINT childId);

    // Finds the frame's dock bar of the site's id or makes one, and subclasses it; false when
    // no window can be had.
    bool Attach();
    bool Horizontal() const { return flags & (SIDE_TOP | SIDE_BOTTOM); }
    bool Empty() const { return flags & SITE_EMPTY; }
    LONG Width() const { return siteRect.right; }
    LONG Height() const { return siteRect.bottom; }

    // Gives every bar of the site back (FXS_DETACH whole, FXS_DESTROY their procedures only) and
    // the site's window: a created one is destroyed unless the frame is going anyway.
    void DetachSite(int code);
    // FXS_ACTIVE to FXS_MINIMIZE: floating windows follow their frame; bars that are frames hear.
    void NotifyBars(int code);
    // Docks the bar here: into the list (out of its former site), side bit, row, re-parented.
    // False, with the bar where it was, when memory is short.
    bool AddBar(CToolBarFx* bar);
    // Room in the list for one more bar; false when memory is short.
    bool ReserveBar();
    void AppendBar(CToolBarFx* bar);  // after ReserveBar
    void RemoveBar(CToolBarFx* bar);
    // Gives the bar its row from its dockRect and re-sorts the list.
    void PlaceBar(CToolBarFx* bar);
    // Row layout: works out siteRect and minSize and takes the site's depth from `remaining`.
    void LayoutSite(UINT request, SIZE* remaining);
    void PositionBars();
    void SizeParentSite(SizeParentParams* params);
    void CalcSiteEdges(RECT* rect) const;
    void PaintSiteEdges() const;

private:
    // Row layout steps (row_layout.cpp).
    void LayoutEmptySite(UINT request, SIZE* remaining);
    void LayoutRowSite(UINT request, SIZE* remaining);
    void LayoutColumnSite(UINT request, SIZE* remaining);
    UINT RowSiteEdges(UINT request) const;
    // Also gives how far the site reaches past the free length: up (`top`, 0 or -1) and in all.
    UINT ColumnSiteEdges(UINT request, LONG* top, LONG* reach) const;
    bool ChildMaximized() const;

    // The bars the row layout places, gathered anew for each pass; its room is reserved with
    // the list's, so that a layout never allocates.
    PtrList<CToolBarFx> docked_;
};

}  // namespace varnex
