#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "frame/client_pane.h"
#include "frame/frame_manager.h"
#include "dock/dock_site.h"
#include "dock/tool_bar.h"
#include "hostkit.h"
#include "varnex.h"

using namespace varnex;

namespace {

enum { kTop = 0, kLeft = 1, kRight = 2, kBottom = 3 };

std::string Str(const RECT& r) {
    char text[64];
    std::snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
    return text;
}

// Bars are built straight on plain child windows of an attached frame and put into a site's list.
struct RowLayout : testing::Test {
    CCtrlFrameFx* manager{};
    HWND frame{};
    std::vector<HWND> frames;
    UINT nextId = 0x300;

    void Attach(UINT flags) {
        if (flags & AF_MDICHILD)
            frame = hostkit::CreateMdiChild(hostkit::CreateMdiFrame("mdi", 0, 0, 640, 480), "child");
        else if (flags & AF_MDIFRAME)
            frame = hostkit::CreateMdiFrame("mdi", 0, 0, 640, 480);
        else
            frame = hostkit::CreateSdiFrame("sdi", 0, 0, 640, 480);
        ASSERT_EQ(AttachFrame(frame, flags), 1);
        frames.push_back(frame);
        manager = GetWindowObjectAs<CCtrlFrameFx>(frame, kFrameProp);
    }
    // Detaching gives back every bar in the sites' lists.
    void TearDown() override {
        for (auto it = frames.rbegin(); it != frames.rend(); ++it) DetachFrame(*it);
    }
    CDockSiteFx* Site(int i) { return manager->dockSites[i]; }

    // `size` and `min` are what GetBarSize gives for the site's orientation (stored and natural):
    // a bar without border flags has a one-pixel frame, 2 pixels more in each direction.
    CToolBarFx* Add(int side, SIZE size, SIZE min, UINT extra = 0, POINT pos = {0, 0}, HWND window = nullptr) {
        const UINT id = window ? kAdoptedBarId : nextId++;
        if (!window) window = hostkit::CreateView(frame, id, 0, 0, 10, 10);
        CToolBarFx* bar = CToolBarFx::Create(manager, window, id);
        CDockSiteFx* site = Site(side);
        bar->flags = (site->flags & SITE_SIDES) | extra;
        bar->dockPos = pos;
        (site->Horizontal() ? bar->horzSize : bar->vertSize) = {size.cx - 2, size.cy - 2};
        bar->naturalSize = {min.cx - 2, min.cy - 2};
        bar->dockSite = site;
        EXPECT_TRUE(site->ReserveBar());
        site->AppendBar(bar);
        return bar;
    }
    SIZE Layout(int side, SIZE remaining, UINT request = LAYOUT_DEFAULT) {
        Site(side)->LayoutSite(request, &remaining);
        return remaining;
    }
};

#define EXPECT_RECT(actual, l, t, r, b) EXPECT_EQ(Str(actual), Str(RECT{l, t, r, b}))
#define EXPECT_SIZE(actual, x, y) EXPECT_EQ(Str(RECT{0, 0, (actual).cx, (actual).cy}), Str(RECT{0, 0, x, y}))

TEST_F(RowLayout, BarsShareARowAndAreSqueezedIntoIt) {
    Attach(AF_SDIFRAME);
    CToolBarFx* b[3];
    for (auto& bar : b) bar = Add(kTop, {100, 26}, {40, 26});
    const struct {
        LONG width, offset, spans[3][2];
    } cases[] = {
        {300, 0, {{0, 100}, {100, 200}, {200, 300}}},
        {250, 0, {{0, 100}, {100, 200}, {200, 250}}},    // room 50 >= 40: the third keeps its start
        {220, 0, {{0, 100}, {100, 180}, {180, 220}}},    // room 20: the second gives up the missing 20
        {400, 250, {{0, 100}, {200, 300}, {300, 400}}},  // closing the gap is enough
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        b[1]->dockPos.x = c.offset;
        EXPECT_SIZE(Layout(kTop, {c.width, 500}), c.width, 474);
        for (int i = 0; i < 3; ++i) EXPECT_RECT(b[i]->dockRect, c.spans[i][0], 0, c.spans[i][1], 26);
        EXPECT_RECT(Site(kTop)->siteRect, 0, 0, c.width, 26);
        EXPECT_SIZE(Site(kTop)->minSize, 40, 26);
        EXPECT_FALSE(Site(kTop)->Empty());
    }
    // Narrower than any minimum: every bar gets a row of its own, cut to the row.
    EXPECT_SIZE(Layout(kTop, {30, 500}, LAYOUT_FITFRAME), 30, 578);
    for (int i = 0; i < 3; ++i) EXPECT_RECT(b[i]->dockRect, 0, 26 * i, 30, 26 * i + 26);
    EXPECT_SIZE(Site(kTop)->minSize, 40, 78);
}

TEST_F(RowLayout, RowsFollowRequestedRowAndDepth) {
    Attach(AF_SDIFRAME);
    CToolBarFx* a = Add(kTop, {100, 26}, {40, 26}, 0, {0, 0});
    CToolBarFx* b = Add(kTop, {100, 26}, {40, 26}, 0, {0, 13});   // within half a row of a
    CToolBarFx* c = Add(kTop, {100, 26}, {40, 26}, 0, {0, 40});   // 40 > 13 + 13
    CToolBarFx* d = Add(kTop, {100, 24}, {40, 24}, 0, {0, 40});   // other depth
    CToolBarFx* e = Add(kTop, {100, 24}, {40, 24}, 0, {0, 40});
    Layout(kTop, {400, 500});
    EXPECT_RECT(a->dockRect, 0, 0, 100, 26);
    EXPECT_RECT(b->dockRect, 100, 0, 200, 26);
    EXPECT_RECT(c->dockRect, 0, 26, 100, 52);
    EXPECT_RECT(d->dockRect, 0, 52, 100, 76);
    EXPECT_RECT(e->dockRect, 100, 52, 200, 76);
    EXPECT_RECT(Site(kTop)->siteRect, 0, 0, 400, 76);

    b->dockPos.y = 14;  // one more: b leaves a's row, and c (40 > 14 + 13) leaves b's
    Layout(kTop, {400, 500});
    EXPECT_RECT(b->dockRect, 0, 26, 100, 52);
    EXPECT_RECT(c->dockRect, 0, 52, 100, 78);
    EXPECT_RECT(e->dockRect, 100, 78, 200, 102);
}

TEST_F(RowLayout, OverflowWalksBackAndSqueezesWithinTheRow) {
    Attach(AF_SDIFRAME);
    // The minimum of the row must stay below the row length for a bar to join it.
    CToolBarFx* a = Add(kTop, {100, 26}, {40, 26});
    CToolBarFx* b = Add(kTop, {100, 26}, {60, 26});
    Layout(kTop, {100, 500});
    EXPECT_RECT(b->dockRect, 0, 26, 100, 52);  // 40 + 60 is not below 100
    b->naturalSize.cx = 57;                    // minimum 59: joins, and a gives up all 59
    Layout(kTop, {100, 500});
    EXPECT_RECT(a->dockRect, 0, 0, 41, 26);
    EXPECT_RECT(b->dockRect, 41, 0, 100, 26);

    // The deficit passes on what a bar cannot give (b stops at 90, so a gives 30), and a fixed
    // bar gives nothing.
    b->naturalSize.cx = 88;
    CToolBarFx* c = Add(kTop, {100, 26}, {40, 26});
    Layout(kTop, {200, 500});
    EXPECT_RECT(a->dockRect, 0, 0, 70, 26);
    EXPECT_RECT(b->dockRect, 70, 0, 160, 26);
    EXPECT_RECT(c->dockRect, 160, 0, 200, 26);
    b->flags |= BFX_FIXED;
    Layout(kTop, {220, 500});
    EXPECT_RECT(a->dockRect, 0, 0, 80, 26);
    EXPECT_RECT(b->dockRect, 80, 0, 180, 26);
    EXPECT_RECT(c->dockRect, 180, 0, 220, 26);
    EXPECT_SIZE(Site(kTop)->minSize, 100, 26);

    // What a lone bar wider than the site could not get is not taken from the next row.
    a->horzSize.cx = 398, a->naturalSize.cx = 348;
    b->flags &= ~BFX_FIXED, b->naturalSize.cx = 38, b->horzSize.cx = 198, b->dockPos.x = 50;
    Layout(kTop, {300, 500});
    EXPECT_RECT(a->dockRect, 0, 0, 300, 26);
    EXPECT_RECT(b->dockRect, 0, 26, 200, 52);
    EXPECT_RECT(c->dockRect, 200, 26, 300, 52);
    EXPECT_SIZE(Site(kTop)->minSize, 350, 52);
}

TEST_F(RowLayout, StretchingBarFillsTheRestOfItsRow) {
    Attach(AF_SDIFRAME);
    CToolBarFx* a = Add(kTop, {100, 26}, {40, 26});
    CToolBarFx* s = Add(kTop, {50, 26}, {20, 26}, BFX_STRETCH);
    Layout(kTop, {300, 500});
    EXPECT_RECT(s->dockRect, 100, 0, 300, 26);
    EXPECT_TRUE(s->flags & BFX_CONSTRAINED);
    a->dockPos.x = 200;  // no room left to stretch into: s keeps its width and pushes a back
    Layout(kTop, {300, 500});
    EXPECT_RECT(a->dockRect, 150, 0, 250, 26);
    EXPECT_RECT(s->dockRect, 250, 0, 300, 26);

    a->dockPos = {0, 100};  // s alone in the first row, a in the next
    std::swap(Site(kTop)->bars[0], Site(kTop)->bars[1]);
    Layout(kTop, {300, 500});
    EXPECT_RECT(s->dockRect, 0, 0, 300, 26);
    EXPECT_FALSE(s->flags & BFX_CONSTRAINED);

    a->dockPos.y = 0;  // a joins s's row and s, full before, makes way down to what a needs
    Layout(kTop, {300, 500});
    EXPECT_RECT(s->dockRect, 0, 0, 260, 26);
    EXPECT_RECT(a->dockRect, 260, 0, 300, 26);
    EXPECT_TRUE(s->flags & BFX_CONSTRAINED);
}

TEST_F(RowLayout, WrappableToolBarWrapsToTheRowLength) {
    Attach(AF_SDIFRAME);
    HWND tb = hostkit::CreateToolBar(frame, 0x3FF, "tools", 30);
    const LONG bh = HIWORD(SendMessageA(tb, TB_GETBUTTONSIZE, 0, 0));
    const LONG bw = LOWORD(SendMessageA(tb, TB_GETBUTTONSIZE, 0, 0));
    CToolBarFx* a = Add(kTop, {100, bh + 2}, {40, bh + 2});
    CToolBarFx* t = Add(kTop, {500, bh + 2}, {bw + 2, bh + 2}, BFX_WRAPPABLE, {0, 0}, tb);
    ASSERT_TRUE(t->isToolBar);
    Layout(kTop, {300, 500});
    RECT window, first, last;
    GetWindowRect(tb, &window);
    EXPECT_EQ(window.right - window.left, 300);  // fitted to the row, its one-pixel border included
    SendMessageA(tb, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    SendMessageA(tb, TB_GETITEMRECT, 29, reinterpret_cast<LPARAM>(&last));
    const LONG wrapped = last.bottom - first.top + 2;
    ASSERT_GT(wrapped, 2 * bh);
    EXPECT_RECT(a->dockRect, 0, 0, 100, bh + 2);
    EXPECT_RECT(t->dockRect, 0, bh + 2, 300, bh + 2 + wrapped);  // a row of its own, full
    EXPECT_TRUE(t->flags & BFX_CONSTRAINED);
    EXPECT_EQ(Site(kTop)->siteRect.bottom, bh + 2 + wrapped);

    Layout(kTop, {800, 500});  // room enough: it joins a's row unwrapped
    EXPECT_RECT(t->dockRect, 100, 0, 600, bh + 2);
    EXPECT_FALSE(t->flags & BFX_CONSTRAINED);
}

TEST_F(RowLayout, MergedBordersTakeTheirPixelFromTheRow) {
    const struct {
        UINT frame, request;
        int side;
        UINT edges;
        LONG avail, depth;
    } cases[] = {
        {AF_SDIFRAME, 0, kTop, SITE_EDGES, 298, 28},
        {AF_MDIFRAME, 0, kTop, SITE_EDGES & ~SITE_EDGE_BOTTOM, 298, 27},
        {AF_MDIFRAME, 0, kBottom, SITE_EDGES & ~SITE_EDGE_TOP, 298, 27},
        {AF_MDICHILD, 0, kTop, SITE_EDGES, 298, 28},
        {AF_MDICHILD, LAYOUT_MAXIMIZED, kTop, SITE_EDGE_BOTTOM, 300, 27},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frame * 100 + c.side);
        Attach(c.frame | AF_MERGEBORDERS);
        CToolBarFx* b[3];
        for (auto& bar : b) bar = Add(c.side, {100, 26}, {40, 26});
        EXPECT_SIZE(Layout(c.side, {300, 500}, c.request), 300, 500 - c.depth);
        EXPECT_EQ(Site(c.side)->flags & SITE_EDGES, c.edges);
        EXPECT_RECT(b[2]->dockRect, 200, 0, c.avail, 26);
        EXPECT_RECT(Site(c.side)->siteRect, 0, 0, 300, c.depth);
        EXPECT_SIZE(Site(c.side)->minSize, 40 + 300 - c.avail, c.depth);
    }
    // Attached again without merged borders: no edge is kept, with bars or without.
    Layout(kLeft, {300, 500}, LAYOUT_MAXIMIZED);
    ASSERT_EQ(Site(kLeft)->flags & SITE_EDGES, SITE_EDGE_RIGHT);
    ASSERT_EQ(AttachFrame(frame, AF_MDICHILD), 1);
    EXPECT_EQ(Site(kTop)->flags & SITE_EDGES, 0u);
    EXPECT_EQ(Site(kLeft)->flags & SITE_EDGES, 0u);
}

TEST_F(RowLayout, ColumnsOnTheLeftAndRightSides) {
    Attach(AF_SDIFRAME);
    CToolBarFx* b[3];
    for (auto& bar : b) bar = Add(kLeft, {26, 100}, {26, 40});
    CToolBarFx* d = Add(kLeft, {26, 100}, {26, 40}, 0, {20, 0});  // 20 > 0 + 13: next column
    EXPECT_SIZE(Layout(kLeft, {500, 220}), 448, 220);
    EXPECT_RECT(b[0]->dockRect, 0, 0, 26, 100);
    EXPECT_RECT(b[1]->dockRect, 0, 100, 26, 180);
    EXPECT_RECT(b[2]->dockRect, 0, 180, 26, 220);
    EXPECT_RECT(d->dockRect, 26, 0, 52, 100);
    EXPECT_RECT(Site(kLeft)->siteRect, 0, 0, 52, 220);
    EXPECT_SIZE(Site(kLeft)->minSize, 52, 40);
    EXPECT_SIZE(Layout(kLeft, {500, 220}, LAYOUT_FITFRAME), 552, 220);
}

TEST_F(RowLayout, ColumnsMeetTheTopAndBottomSites) {
    const struct {
        UINT frame, request;
        int side;
        bool topShown, bottomShown, childMaximized;
        UINT edges;
        LONG top, reach, avail;
    } cases[] = {
        // Other frames reach one pixel over a shown top or bottom site's edge.
        {AF_SDIFRAME, 0, kLeft, true, false, false, SITE_EDGES & ~SITE_EDGE_TOP, -1, 1, 300},
        {AF_SDIFRAME, 0, kLeft, true, true, false, SITE_EDGE_LEFT | SITE_EDGE_RIGHT, -1, 2, 302},
        {AF_MDIFRAME, 0, kLeft, true, false, false, SITE_EDGE_LEFT | SITE_EDGE_BOTTOM, 0, 0, 299},
        {AF_MDIFRAME, 0, kLeft, false, false, true, SITE_EDGE_LEFT, 0, 0, 300},
        {AF_MDIFRAME, 0, kRight, false, false, false, SITE_EDGES & ~SITE_EDGE_LEFT, 0, 0, 298},
        {AF_MDICHILD, LAYOUT_MAXIMIZED, kLeft, false, false, false, SITE_EDGE_RIGHT, -1, 2, 302},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        Attach(c.frame | AF_MERGEBORDERS);
        Site(kTop)->flags = c.topShown ? Site(kTop)->flags & ~SITE_EMPTY : Site(kTop)->flags | SITE_EMPTY;
        Site(kBottom)->flags = c.bottomShown ? Site(kBottom)->flags & ~SITE_EMPTY : Site(kBottom)->flags | SITE_EMPTY;
        manager->childMaximized = c.childMaximized;
        CToolBarFx* bar = Add(c.side, {26, 100}, {26, 40}, 0, {0, 250});
        const LONG width = 26 + ((c.edges & SITE_EDGE_LEFT) ? 1 : 0) + ((c.edges & SITE_EDGE_RIGHT) ? 1 : 0);
        EXPECT_SIZE(Layout(c.side, {400, 300}, c.request), 400 - width, 300);
        EXPECT_EQ(Site(c.side)->flags & SITE_EDGES, c.edges);
        EXPECT_RECT(bar->dockRect, 0, c.avail - 100, 26, c.avail);  // pushed back from its offset
        EXPECT_RECT(Site(c.side)->siteRect, 0, c.top, width, c.reach + 300);
        EXPECT_SIZE(Site(c.side)->minSize, width, 40 + 300 - c.avail);
        manager->childMaximized = FALSE;
    }
}

TEST_F(RowLayout, SiteWithoutVisibleBarsIsEmpty) {
    Attach(AF_SDIFRAME);
    CToolBarFx* hidden = Add(kTop, {100, 26}, {40, 26}, BFX_HIDDEN);
    CToolBarFx* floating = Add(kTop, {100, 26}, {40, 26}, BFX_FLOATING);
    hidden->dockRect = floating->dockRect = {1, 2, 3, 4};
    EXPECT_SIZE(Layout(kTop, {300, 500}), 300, 500);
    EXPECT_TRUE(Site(kTop)->Empty());
    EXPECT_RECT(Site(kTop)->siteRect, 0, 0, 300, 0);
    EXPECT_RECT(floating->dockRect, 1, 2, 3, 4);
    hidden->flags &= ~BFX_HIDDEN;
    Layout(kTop, {300, 500});
    EXPECT_FALSE(Site(kTop)->Empty());
    EXPECT_RECT(hidden->dockRect, 0, 0, 100, 26);
    EXPECT_RECT(floating->dockRect, 1, 2, 3, 4);

    // Around a maximized MDI child only the outer edge is left; the depth counts in minSize
    // where the frame's track size adds it up.
    Attach(AF_MDIFRAME | AF_MERGEBORDERS);
    manager->childMaximized = TRUE;
    EXPECT_SIZE(Layout(kTop, {400, 300}), 400, 299);
    EXPECT_EQ(Site(kTop)->flags & (SITE_EDGES | SITE_EMPTY), SITE_EDGE_TOP | SITE_EMPTY);
    EXPECT_RECT(Site(kTop)->siteRect, 0, 0, 400, 1);
    EXPECT_SIZE(Site(kTop)->minSize, 0, 1);
    EXPECT_SIZE(Layout(kTop, {400, 300}, LAYOUT_FITFRAME), 400, 301);
    EXPECT_SIZE(Layout(kLeft, {400, 300}), 399, 300);
    EXPECT_EQ(Site(kLeft)->flags & SITE_EDGES, SITE_EDGE_LEFT);
    EXPECT_RECT(Site(kLeft)->siteRect, 0, 0, 1, 300);
    EXPECT_SIZE(Site(kLeft)->minSize, 1, 0);
    manager->childMaximized = FALSE;
}

}  // namespace
