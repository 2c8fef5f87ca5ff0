// The row layout of a dock site: its bars in rows (columns on the left and right sides), its own
// size and minimum size, and the depth it takes from the frame's free client size.
#include <algorithm>

#include "dock/dock_frame.h"
#include "core/host.h"
#include "dock/dock_site.h"
#include "dock/tool_bar.h"
#include "varnex.h"

namespace varnex {

namespace {

// One pass serves both orientations: "along" is the direction of a row (x in a top or bottom
// site, y in a left or right one), "across" the direction in which rows are stacked.
struct Axes {
    UINT storedMode;         // GetBarSize word for the stored size with extras
    UINT naturalMode;        // ... for the natural size, the bar's minimum
    LONG SIZE::*along;
    LONG SIZE::*across;
    LONG POINT::*offset;     // dockPos: requested offset in the row
    LONG POINT::*line;       // dockPos: requested row
    LONG RECT::*start;       // dockRect along the row
    LONG RECT::*end;
    LONG RECT::*nearSide;    // dockRect across the rows
    LONG RECT::*farSide;
};

constexpr Axes kRowAxes{kDockedRowSize, kNaturalRowSize, &SIZE::cx, &SIZE::cy, &POINT::x, &POINT::y,
                        &RECT::left, &RECT::right, &RECT::top, &RECT::bottom};
constexpr Axes kColumnAxes{kDockedColumnSize, kNaturalColumnSize, &SIZE::cy, &SIZE::cx, &POINT::y, &POINT::x,
                           &RECT::top, &RECT::bottom, &RECT::left, &RECT::right};

SIZE BarSize(const CToolBarFx* bar, UINT mode) {
    SIZE size{0, 0};
    bar->GetBarSize(mode, &size);
    return size;
}

// A fixed bar never goes below its stored size; the others may shrink to their natural size.
SIZE MinimumSize(const CToolBarFx* bar, const Axes& axes, const SIZE& stored) {
    return (bar->flags & BFX_FIXED) ? stored : BarSize(bar, axes.naturalMode);
}

// Rows end where the site, with its two edges at the most, still is a window the system can
// size: a deeper site would be cut, and its last row would lie outside it.
constexpr LONG kMaxRowsDepth = kMaxCoordinate - 2;

int CountBits(UINT bits) {
    int n = 0;
    for (; bits; bits &= bits - 1) ++n;
    return n;
}

struct PassResult {
    LONG depth;   // far side of the last row
    LONG maxMin;  // largest minimum length of all bars
};

// Lays the bars out in rows of length `avail` and writes their dockRect.
PassResult LayOutLines(const PtrList<CToolBarFx>& docked, LONG avail, const Axes& a) {
    // A frame with no room left (sized below its borders) still gets rectangles, empty ones.
    avail = std::max(avail, 0L);
    LONG rowTop = 0, rowHeight = 0, x = 0, rowSum = 0, rowMinSum = 0, maxMin = 0, deficit = 0;
    size_t rowStart = 0;
    LONG prevLine = docked.front()->dockPos.*a.line;

    for (size_t j = 0; j < docked.size(); ++j) {
        CToolBarFx* bar = docked[j];
        SIZE size = BarSize(bar, a.storedMode);
        const SIZE min = MinimumSize(bar, a, size);
        bool stretch = false;

        // A bar stays in the row of the bar before it while it is as deep, its minimum still
        // fits and it asked for a row no more than half its depth further on.
        bool join = j > 0 && size.*a.across == rowHeight && rowMinSum + min.*a.along < avail &&
                    bar->dockPos.*a.line <= prevLine + (size.*a.across >> 1);

        if (bar->isToolBar && (bar->flags & BFX_WRAPPABLE)) {
            if (size.*a.along > avail) {
                size.*a.along = avail;
                if (bar->FitToolBar(a.storedMode, &size)) {
                    // A wrapped toolbar takes a row of its own and fills it.
                    join = false;
                    bar->SetConstrained(true);
                    stretch = true;
                }
            } else {
                bar->SetConstrained(false);
            }
        }
        if (bar->flags & BFX_STRETCH) {
            bar->SetConstrained(join);
            stretch = true;
        }
        if (!join) {
            rowTop += rowHeight;
            // No row reaches past the largest depth a site can have.
            rowHeight = std::min(size.*a.across, kMaxRowsDepth - rowTop);
            x = rowSum = rowMinSum = 0;
            rowStart = j;
            // What one row could not squeeze out is no business of the next.
            deficit = 0;
        }
        prevLine = bar->dockPos.*a.line;

        // A stretching bar is made to reach past the row's end; the overflow step below cuts it
        // back to end there.
        if (stretch)
            size.*a.along += avail - x;
        else if (bar->dockPos.*a.offset > x)
            x = bar->dockPos.*a.offset;

        RECT& rect = bar->dockRect;
        rect.*a.start = x;
        rect.*a.end = x + size.*a.along;
        rect.*a.nearSide = rowTop;
        rect.*a.farSide = rowTop + std::min(size.*a.across, kMaxRowsDepth - rowTop);

        const LONG length = size.*a.along, minLength = min.*a.along;
        maxMin = std::max(maxMin, minLength);
        rowMinSum += minLength;
        rowSum += length;
        x += length;
        if (x <= avail) continue;

        // Overflow: the bar ends at the row's end, and the bars before it make way.
        LONG left;
        if (rowSum <= avail) {
            left = std::max<LONG>(avail - length, 0);  // closing the gaps is enough
        } else {
            const LONG room = std::max<LONG>(avail - (rowSum - length), 0);
            if (room < minLength) {
                left = avail - minLength;
                deficit = minLength - room;
            } else {
                left = rowSum - length;
            }
        }
        rect.*a.end = avail;
        rect.*a.start = std::clamp<LONG>(left, 0, avail);
        x = avail;

        for (size_t k = j; k-- > rowStart;) {
            CToolBarFx* prev = docked[k];
            const SIZE prevStored = BarSize(prev, a.storedMode);
            const LONG prevMin = MinimumSize(prev, a, prevStored).*a.along;
            if (prev->flags & BFX_STRETCH) prev->SetConstrained(true);
            RECT& r = prev->dockRect;
            const LONG nextStart = docked[k + 1]->dockRect.*a.start;
            if (r.*a.end <= nextStart) continue;  // no overlap: it stays where it is
            const LONG shift = r.*a.end - nextStart;
            r.*a.start -= shift;
            r.*a.end -= shift;
            if (deficit != 0) {
                const LONG w = r.*a.end - r.*a.start;
                if (w - deficit >= prevMin) {
                    r.*a.start += deficit;
                    deficit = 0;
                } else {
                    r.*a.start = r.*a.end - prevMin;
                    if (w > 0) deficit += prevMin - w;
                }
            }
        }
    }
    return {rowTop + rowHeight, maxMin};
}

}  // namespace

bool CDockSiteFx::ChildMaximized() const { return frame->childMaximized; }

void CDockSiteFx::LayoutSite(UINT request, SIZE* remaining) {
    siteRect = {0, 0, 0, 0};
    docked_.Clear();
    for (CToolBarFx* bar : bars)
        if (bar && !(bar->flags & (BFX_FLOATING | BFX_HIDDEN)) && !docked_.Append(bar)) break;
    if (docked_.empty()) {
        LayoutEmptySite(request, remaining);
        return;
    }
    flags &= ~SITE_EMPTY;
    if (Horizontal())
        LayoutRowSite(request, remaining);
    else
        LayoutColumnSite(request, remaining);
}

UINT CDockSiteFx::RowSiteEdges(UINT request) const {
    const UINT frameFlags = frame->flags;
    const UINT inner = (flags & SIDE_TOP) ? SITE_EDGE_BOTTOM : SITE_EDGE_TOP;
    if (frameFlags & AF_MDICHILD) return (request & LAYOUT_MAXIMIZED) ? inner : SITE_EDGES;
    if (frameFlags & AF_MDIFRAME) return SITE_EDGES & ~inner;
    return SITE_EDGES;
}

void CDockSiteFx::LayoutRowSite(UINT request, SIZE* remaining) {
    // Edges are only ever drawn for frames that merge borders; stale bits from an earlier attach
    // with other flags would still be reserved and painted.
    const UINT edges = (frame->flags & AF_MERGEBORDERS) ? RowSiteEdges(request) : 0;
    flags = (flags & ~SITE_EDGES) | edges;
    const LONG sideEdges = CountBits(edges & (SITE_EDGE_LEFT | SITE_EDGE_RIGHT));
    const LONG depthExtra = CountBits(edges & (SITE_EDGE_TOP | SITE_EDGE_BOTTOM));

    const PassResult pass = LayOutLines(docked_, remaining->cx - sideEdges, kRowAxes);
    const LONG height = pass.depth + depthExtra;
    siteRect = {0, 0, remaining->cx, height};
    minSize = {pass.maxMin + sideEdges, height};
    remaining->cy += (request & LAYOUT_FITFRAME) ? height : -height;
}

UINT CDockSiteFx::ColumnSiteEdges(UINT request, LONG* top, LONG* reach) const {
    const UINT frameFlags = frame->flags;
    auto shown = [this](int index) {
        const CDockSiteFx* site = index < static_cast<int>(frame->dockSites.size()) ? frame->dockSites[index] : nullptr;
        return site && !(site->flags & SITE_EMPTY);
    };
    bool topShown = shown(0), bottomShown = shown(3);
    const bool left = flags & SIDE_LEFT;
    const UINT outer = left ? SITE_EDGE_LEFT : SITE_EDGE_RIGHT;
    const UINT inner = left ? SITE_EDGE_RIGHT : SITE_EDGE_LEFT;

    UINT edges = SITE_EDGES;
    *top = 0;
    *reach = 0;
    if (request & LAYOUT_MAXIMIZED) edges &= ~outer;
    if ((frameFlags & AF_MDICHILD) && (request & LAYOUT_MAXIMIZED)) topShown = bottomShown = true;
    if (frameFlags & AF_MDIFRAME) {
        if (ChildMaximized()) {
            edges &= ~(SITE_EDGE_TOP | SITE_EDGE_BOTTOM);
        } else {
            if (topShown) edges &= ~SITE_EDGE_TOP;
            if (bottomShown) edges &= ~SITE_EDGE_BOTTOM;
        }
        edges &= ~inner;
    } else {
        // The site reaches one pixel over the edge of a shown top or bottom site, so that the
        // two edges are drawn as one.
        if (topShown) {
            *top = -1;
            *reach = 1;
            edges &= ~SITE_EDGE_TOP;
        }
        if (bottomShown) {
            *reach += 1;
            edges &= ~SITE_EDGE_BOTTOM;
        }
    }
    return edges;
}

void CDockSiteFx::LayoutColumnSite(UINT request, SIZE* remaining) {
    UINT edges = 0;
    LONG top = 0, reach = 0;
    if (frame->flags & AF_MERGEBORDERS) edges = ColumnSiteEdges(request, &top, &reach);
    flags = (flags & ~SITE_EDGES) | edges;
    const LONG widthExtra = CountBits(edges & (SITE_EDGE_LEFT | SITE_EDGE_RIGHT));
    const LONG avail = remaining->cy + reach - CountBits(edges & (SITE_EDGE_TOP | SITE_EDGE_BOTTOM));

    const PassResult pass = LayOutLines(docked_, avail, kColumnAxes);
    const LONG width = widthExtra + pass.depth;
    siteRect = {0, top, width, reach + remaining->cy};
    minSize = {width, pass.maxMin + remaining->cy - avail};
    remaining->cx += (request & LAYOUT_FITFRAME) ? width : -width;
}

void CDockSiteFx::LayoutEmptySite(UINT request, SIZE* remaining) {
    flags |= SITE_EMPTY;
    flags &= ~SITE_EDGES;  // as for a site with bars: no stale edges without merged borders
    LONG width = Horizontal() ? remaining->cx : 0;
    LONG height = Horizontal() ? 0 : remaining->cy;
    const UINT frameFlags = frame->flags;
    const LONG grow = (request & LAYOUT_FITFRAME) ? 1 : -1;
    if (frameFlags & AF_MERGEBORDERS) {
        const UINT outer[] = {SITE_EDGE_TOP, SITE_EDGE_LEFT, SITE_EDGE_RIGHT, SITE_EDGE_BOTTOM};
        const UINT inner[] = {SITE_EDGE_BOTTOM, SITE_EDGE_RIGHT, SITE_EDGE_LEFT, SITE_EDGE_TOP};
        const int side = SideIndex(flags);
        if ((frameFlags & AF_MDIFRAME) && ChildMaximized())
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
    // The site's depth goes where the frame's track size expects it: cy for a top or bottom
    // site, cx for a left or right one.
    minSize = Horizontal() ? SIZE{0, height} : SIZE{width, 0};
}

}  // namespace varnex
