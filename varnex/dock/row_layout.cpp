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

// One pass over a site's bars, in list order: each bar joins the row of the bar before it or
// starts a new one, and a bar that reaches past the row's end makes the bars before it in its
// row make way.
class LinePass {
public:
    LinePass(const PtrList<CToolBarFx>& docked, LONG avail, const Axes& a)
        // A frame with no room left (sized below its borders) still gets rectangles, empty ones.
        : docked_(docked), avail_(std::max(avail, 0L)), a_(a), prevLine_(docked.front()->dockPos.*a.line) {}

    PassResult Run() {
        for (size_t j = 0; j < docked_.size(); ++j) LayOutBar(j);
        return {row_.top + row_.height, maxMin_};
    }

private:
    void LayOutBar(size_t j);
    bool JoinsRow(size_t j, const CToolBarFx* bar, const SIZE& size, const SIZE& min) const;
    bool FitToRow(CToolBarFx* bar, SIZE* size, bool* join) const;
    void StartRow(size_t j, LONG depth);
    LONG PlaceInRow(CToolBarFx* bar, SIZE size, bool stretch);
    void Squeeze(size_t j, LONG length, LONG minLength);
    void MakeWay(size_t j);
    void TakeDeficit(RECT& r, LONG minLength);

    const PtrList<CToolBarFx>& docked_;
    const LONG avail_;
    const Axes& a_;
    LONG prevLine_;     // requested row of the bar before
    LONG maxMin_ = 0;   // largest minimum length so far
    struct {
        LONG top = 0;      // near side
        LONG height = 0;
        LONG x = 0;        // where the next bar may start
        LONG sum = 0;      // lengths of its bars
        LONG minSum = 0;   // their minimum lengths
        // What the squeeze could not take from the bars so far; kept per row.
        LONG deficit = 0;
        size_t start = 0;  // index of its first bar
    } row_;
};

// Lays the bar out in the current row or a new one and writes its dockRect.
void LinePass::LayOutBar(size_t j) {
    CToolBarFx* bar = docked_[j];
    SIZE size = BarSize(bar, a_.storedMode);
    const SIZE min = MinimumSize(bar, a_, size);
    bool join = JoinsRow(j, bar, size, min);
    const bool stretch = FitToRow(bar, &size, &join);
    if (!join) StartRow(j, size.*a_.across);
    prevLine_ = bar->dockPos.*a_.line;

    const LONG length = PlaceInRow(bar, size, stretch), minLength = min.*a_.along;
    maxMin_ = std::max(maxMin_, minLength);
    row_.minSum += minLength;
    row_.sum += length;
    row_.x += length;
    if (row_.x > avail_) Squeeze(j, length, minLength);
}

// A bar stays in the row of the bar before it while it is as deep, its minimum still fits and
// it asked for a row no more than half its depth further on.
bool LinePass::JoinsRow(size_t j, const CToolBarFx* bar, const SIZE& size, const SIZE& min) const {
    return j > 0 && size.*a_.across == row_.height && row_.minSum + min.*a_.along < avail_ &&
           bar->dockPos.*a_.line <= prevLine_ + (size.*a_.across >> 1);
}

// Wraps a toolbar longer than the row and marks what is constrained; true when the bar is to
// reach the row's end (a wrapped toolbar, a stretching bar).
bool LinePass::FitToRow(CToolBarFx* bar, SIZE* size, bool* join) const {
    bool stretch = false;
    if (bar->isToolBar && (bar->flags & BFX_WRAPPABLE)) {
        if (size->*a_.along > avail_) {
            size->*a_.along = avail_;
            if (bar->FitToolBar(a_.storedMode, size)) {
                // A wrapped toolbar takes a row of its own and fills it.
                *join = false;
                bar->SetConstrained(true);
                stretch = true;
            }
        } else {
            bar->SetConstrained(false);
        }
    }
    if (bar->flags & BFX_STRETCH) {
        bar->SetConstrained(*join);
        stretch = true;
    }
    return stretch;
}

void LinePass::StartRow(size_t j, LONG depth) {
    row_.top += row_.height;
    // No row reaches past the largest depth a site can have.
    row_.height = std::min(depth, kMaxRowsDepth - row_.top);
    row_.x = row_.sum = row_.minSum = 0;
    row_.start = j;
    // What one row could not squeeze out is no business of the next.
    row_.deficit = 0;
}

// Writes the bar's dockRect at the row's next place; returns its length.
LONG LinePass::PlaceInRow(CToolBarFx* bar, SIZE size, bool stretch) {
    // A stretching bar is made to reach past the row's end; the squeeze cuts it back to end
    // there.
    if (stretch)
        size.*a_.along += avail_ - row_.x;
    else if (bar->dockPos.*a_.offset > row_.x)
        row_.x = bar->dockPos.*a_.offset;

    RECT& rect = bar->dockRect;
    rect.*a_.start = row_.x;
    rect.*a_.end = row_.x + size.*a_.along;
    rect.*a_.nearSide = row_.top;
    rect.*a_.farSide = row_.top + std::min(size.*a_.across, kMaxRowsDepth - row_.top);
    return size.*a_.along;
}

// Overflow: the bar ends at the row's end, and the bars before it make way.
void LinePass::Squeeze(size_t j, LONG length, LONG minLength) {
    LONG left;
    if (row_.sum <= avail_) {
        left = std::max<LONG>(avail_ - length, 0);  // closing the gaps is enough
    } else {
        const LONG room = std::max<LONG>(avail_ - (row_.sum - length), 0);
        if (room < minLength) {
            left = avail_ - minLength;
            row_.deficit = minLength - room;
        } else {
            left = row_.sum - length;
        }
    }
    RECT& rect = docked_[j]->dockRect;
    rect.*a_.end = avail_;
    rect.*a_.start = std::clamp<LONG>(left, 0, avail_);
    row_.x = avail_;
    MakeWay(j);
}

// From the bar before `j` back to the row's first: each that overlaps the next moves back, and
// gives up what the squeeze still lacks.
void LinePass::MakeWay(size_t j) {
    for (size_t k = j; k-- > row_.start;) {
        CToolBarFx* prev = docked_[k];
        const SIZE prevStored = BarSize(prev, a_.storedMode);
        const LONG prevMin = MinimumSize(prev, a_, prevStored).*a_.along;
        if (prev->flags & BFX_STRETCH) prev->SetConstrained(true);
        RECT& r = prev->dockRect;
        const LONG nextStart = docked_[k + 1]->dockRect.*a_.start;
        if (r.*a_.end <= nextStart) continue;  // no overlap: it stays where it is
        const LONG shift = r.*a_.end - nextStart;
        r.*a_.start -= shift;
        r.*a_.end -= shift;
        if (row_.deficit != 0) TakeDeficit(r, prevMin);
    }
}

// The bar gives up the deficit from its start, but no more than down to its minimum length.
void LinePass::TakeDeficit(RECT& r, LONG minLength) {
    const LONG w = r.*a_.end - r.*a_.start;
    if (w - row_.deficit >= minLength) {
        r.*a_.start += row_.deficit;
        row_.deficit = 0;
    } else {
        r.*a_.start = r.*a_.end - minLength;
        if (w > 0) row_.deficit += minLength - w;
    }
}

// Lays the bars out in rows of length `avail` and writes their dockRect.
PassResult LayOutLines(const PtrList<CToolBarFx>& docked, LONG avail, const Axes& a) {
    return LinePass(docked, avail, a).Run();
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
