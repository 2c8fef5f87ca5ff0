// Drags driven as a user drives them: the cursor placed, the mouse and key messages that the drag
// loop reads posted beforehand (each carries the cursor position at the time it was posted), then
// the button press delivered to the bar. Every script ends with a message that ends the drag, and
// a WM_CANCELMODE after it, so that no case can wait for input.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <vector>

#include "frame/client_pane.h"
#include "frame/frame_manager.h"
#include "dock/dock_site.h"
#include "dock/tool_bar.h"
#include "drag/drag_tracker.h"
#include "dock/mini_frame.h"
#include "hostkit.h"
#include "varnex.h"
#include "varnex_test.h"

using namespace varnex;
using varnex_test::ManagerOf;
using varnex_test::BarOf;
using varnex_test::kAllSides;

namespace {

constexpr UINT kBarFlags = BFX_TOP | BFX_MOVABLE | BFX_SIZABLE | BFX_FLOATABLE | kAllSides;
constexpr UINT kProbeMessage = WM_APP + 7;
constexpr int kBarCx = 200, kBarCy = 30;

RECT ScreenRect(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return r;
}
POINT Offset(POINT p, LONG dx, LONG dy) { return {p.x + dx, p.y + dy}; }

// A message window whose posted kProbeMessage runs a check inside the drag loop, which dispatches
// every message it does not handle itself.
std::function<void()> g_probe;
LRESULT CALLBACK ProbeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbeMessage) {
        if (g_probe) g_probe();
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
HWND CreateProbeWindow() {
    static ATOM atom = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ProbeProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VarnexDragProbe";
        return RegisterClassA(&wc);
    }();
    return CreateWindowA(reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(atom)), "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                         nullptr, GetModuleHandleA(nullptr), nullptr);
}

HWND g_frameToDestroy;
void CALLBACK DestroyFrameTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    DestroyWindow(g_frameToDestroy);
}
void CALLBACK CancelModeTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostThreadMessageA(GetCurrentThreadId(), WM_CANCELMODE, 0, 0);
}

// One step the user takes during a drag.
struct Step {
    enum Kind { kMove, kPost } kind;
    POINT pt;
    UINT message;
    WPARAM wParam;
};
Step MoveTo(POINT p) { return {Step::kMove, p, WM_MOUSEMOVE, 0}; }
Step Post(UINT message, WPARAM wParam = 0) { return {Step::kPost, {}, message, wParam}; }
Step Release() { return Post(WM_LBUTTONUP); }

// Colours of the pixels on the outline of `r`.
std::vector<COLORREF> Outline(const RECT& r) {
    std::vector<COLORREF> colours;
    HDC dc = GetDC(nullptr);
    for (LONG x = r.left; x < r.right; x += 3) {
        colours.push_back(GetPixel(dc, x, r.top));
        colours.push_back(GetPixel(dc, x, r.bottom - 1));
    }
    for (LONG y = r.top; y < r.bottom; y += 3) {
        colours.push_back(GetPixel(dc, r.left, y));
        colours.push_back(GetPixel(dc, r.right - 1, y));
    }
    ReleaseDC(nullptr, dc);
    return colours;
}

struct Drag : testing::Test {
    void SetUp() override {
        SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &savedFullDrag, 0);
        SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, FALSE, nullptr, 0);
        frame = hostkit::CreateSdiFrame("frame", 0, 0, 640, 480, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        ASSERT_EQ(AttachFrame(frame, AF_SDIFRAME), 1);
        panel = AddBar(0x300, 0);
        probe = CreateProbeWindow();
        ASSERT_TRUE(probe);
    }
    HWND AddBar(UINT id, int row, UINT flags = kBarFlags) {
        HWND w = hostkit::CreateView(frame, id, 5, 6, kBarCx, kBarCy);
        EXPECT_EQ(SetDock(w, frame, 0, row, 0, 0, flags, &state, SD_ATTACH | SD_FLAGS | SD_POSITION | SD_TOP), 1);
        // The vertical shape: 30 wide, 200 tall.
        EXPECT_EQ(SetDock(w, nullptr, 0, 0, kBarCy, kBarCx, 0, nullptr, SD_SIZE | SD_LEFT | SD_RECALC), 1);
        RecalcFrame(frame);
        return w;
    }
    void RecalcFrame(HWND f) { ManagerOf(f)->RecalcLayout(LAYOUT_DEFAULT, nullptr); }
    void TearDown() override {
        g_probe = nullptr;
        varnex_test::Pump();
        if (IsWindow(probe)) DestroyWindow(probe);
        if (IsWindow(frame)) DestroyWindow(frame);
        SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, savedFullDrag, nullptr, 0);
    }
    CDockSiteFx* Site(int i) { return ManagerOf(frame)->dockSites[i]; }

    // Posts the steps, puts the cursor at `start` and presses the button there (hit code `hit`)
    // on `target`; returns when the drag is over, with the capture released and the queue run.
    void Run(HWND target, WPARAM hit, POINT start, const std::vector<Step>& steps) {
        Drive(target, hit, start, steps);
        EXPECT_EQ(GetCapture(), nullptr);
        varnex_test::Pump();
    }
    // The same, leaving the capture and whatever the drag left in the queue alone.
    void Drive(HWND target, WPARAM hit, POINT start, const std::vector<Step>& steps) {
        for (const Step& s : steps) {
            if (s.kind == Step::kMove) {
                SetCursorPos(s.pt.x, s.pt.y);
                PostMessageA(target, WM_MOUSEMOVE, 0, 0);
            } else {
                PostMessageA(s.message == kProbeMessage ? probe : target, s.message, s.wParam, 0);
            }
        }
        PostMessageA(target, WM_CANCELMODE, 0, 0);  // never waits, whatever happens above
        SetCursorPos(start.x, start.y);
        POINT c;
        GetCursorPos(&c);
        if (c.x != start.x || c.y != start.y) {
            ADD_FAILURE() << "the cursor is at " << c.x << "," << c.y << ", not at " << start.x << "," << start.y;
            // No drag runs: the scripted steps must not reach probes that expect one.
            MSG m;
            while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE)) {
            }
            return;
        }
        SendMessageA(target, WM_NCLBUTTONDOWN, hit, MAKELPARAM(start.x, start.y));
    }

    HWND frame{}, panel{}, probe{};
    DOCKSTATE state{};
    BOOL savedFullDrag = FALSE;
};

TEST_F(Drag, MoveFromTopToLeft) {
    CToolBarFx* bar = BarOf(panel);
    ASSERT_EQ(bar->dockSite, Site(0));
    ASSERT_TRUE(Site(1)->Empty());
    const RECT b = ScreenRect(panel);
    const POINT start{b.left + 10, b.top + 5};  // offset (10, 5) in the bar
    const RECT left = ScreenRect(Site(1)->hwnd);
    const POINT target{left.left + 10, left.top + 100};

    // The vertical shape is the stored vertical size with the one-pixel border: 32 x 202. For a
    // bar docked on top, its cursor offset is (o.y, o.x) = (5, 10); the empty left site pins the
    // rectangle one pixel inside its left edge.
    RECT seen{};
    g_probe = [&] { seen = bar->tracker->trackRect; };
    Run(panel, HTBORDER, start, {MoveTo(Offset(start, 1, 1)), MoveTo(target), Post(kProbeMessage), Release()});
    const RECT expected{left.left + 1, target.y - 10, left.left + 1 + kBarCy + 2, target.y - 10 + kBarCx + 2};
    EXPECT_TRUE(seen == expected);

    bar = BarOf(panel);
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->tracker, nullptr);
    EXPECT_EQ(bar->dockSite, Site(1));
    EXPECT_EQ(bar->flags & 0xF4, static_cast<UINT>(BFX_LEFT));
    EXPECT_EQ(GetParent(panel), Site(1)->hwnd);
    EXPECT_TRUE(Site(0)->bars.empty());
    EXPECT_EQ(bar->dockPos.x, 1);
    EXPECT_EQ(bar->dockPos.y, target.y - 10 - left.top);
    EXPECT_EQ(state.docked, 1);
    EXPECT_EQ(state.side, 1);
    EXPECT_EQ(state.y, bar->dockPos.y);
    // The frame was laid out again: the left site now holds the bar, 32 wide.
    EXPECT_EQ(ScreenRect(Site(1)->hwnd).right - ScreenRect(Site(1)->hwnd).left, kBarCy + 2);
    EXPECT_EQ(ScreenRect(panel).right - ScreenRect(panel).left, kBarCy + 2);
}

// Over another side that holds bars, the rectangle reaches as far past the site's inner edge as
// the grab point lay from the bar's nearer edge; over an empty far side it is pinned against the
// frame's edge. Top and left are the near sides, bottom and right the far ones.
TEST_F(Drag, TargetRectangleOverOtherSides) {
    HWND other = AddBar(0x301, 0);
    ASSERT_EQ(SetDock(other, frame, 0, 0, 0, 0, (kBarFlags & ~BFX_TOP) | BFX_LEFT, nullptr,
                      SD_ATTACH | SD_FLAGS | SD_RECALC), 1);
    ASSERT_EQ(BarOf(other)->dockSite, Site(1));
    ASSERT_TRUE(Site(3)->Empty());
    const RECT top = ScreenRect(Site(0)->hwnd), left = ScreenRect(Site(1)->hwnd);
    RECT seen{};
    HWND dragged = nullptr;
    g_probe = [&] { seen = BarOf(dragged)->tracker->trackRect; };

    // The panel, on top, grabbed at (10, 5), over the left side: the column shape (32 x 202)
    // grabbed at (5, 10), its right edge 5 pixels right of the cursor.
    dragged = panel;
    RECT b = ScreenRect(panel);
    POINT start{b.left + 10, b.top + 5};
    const POINT overLeft{left.left + 20, left.top + 150};
    Run(panel, HTBORDER, start, {MoveTo(start), MoveTo(overLeft), Post(kProbeMessage), Post(WM_CANCELMODE)});
    EXPECT_TRUE(seen == (RECT{overLeft.x - 27, overLeft.y - 10, overLeft.x + 5, overLeft.y - 10 + kBarCx + 2}));

    // The other bar, on the left, grabbed at (5, 10), over the top side: the row shape grabbed
    // at (10, 5), its bottom edge 5 pixels below the cursor.
    dragged = other;
    b = ScreenRect(other);
    start = {b.left + 5, b.top + 10};
    const POINT overTop{top.left + 300, top.top + 15};
    Run(other, HTBORDER, start, {MoveTo(start), MoveTo(overTop), Post(kProbeMessage), Post(WM_CANCELMODE)});
    EXPECT_TRUE(seen == (RECT{overTop.x - 10, overTop.y - 27, overTop.x - 10 + kBarCx + 2, overTop.y + 5}));

    // The panel over the empty bottom side: pinned to the frame's bottom edge, whatever the
    // cursor's height; dropped there, it docks at the bottom.
    dragged = panel;
    b = ScreenRect(panel);
    start = {b.left + 10, b.top + 5};
    const RECT bottom = ScreenRect(Site(3)->hwnd);
    const POINT overBottom{bottom.left + 150, bottom.top - 12};
    Run(panel, HTBORDER, start, {MoveTo(start), MoveTo(overBottom), Post(kProbeMessage), Release()});
    EXPECT_TRUE(seen == (RECT{overBottom.x - 10, bottom.bottom - kBarCy - 2, overBottom.x - 10 + kBarCx + 2,
                              bottom.bottom}));
    EXPECT_EQ(BarOf(panel)->dockSite, Site(3));
    EXPECT_EQ(GetParent(panel), Site(3)->hwnd);
}

TEST_F(Drag, DropAboveTheFirstRowAndBelowTheLast) {
    HWND second = AddBar(0x301, 100);
    CToolBarFx* a = BarOf(panel);
    CToolBarFx* b = BarOf(second);
    ASSERT_LT(ScreenRect(panel).top, ScreenRect(second).top);
    const LONG rowHeight = kBarCy + 2;

    // The second row's bar dragged up by more than one and a half rows: above the first row.
    RECT r = ScreenRect(second);
    POINT start{r.left + 20, r.top + 5};
    Run(second, HTBORDER, start,
        {MoveTo(start), MoveTo(Offset(start, 0, -rowHeight - rowHeight / 2 - 4)), Release()});
    EXPECT_LT(ScreenRect(second).top, ScreenRect(panel).top);
    EXPECT_EQ(ScreenRect(panel).top - ScreenRect(second).top, rowHeight);
    EXPECT_EQ(a->dockPos.y, rowHeight);  // moved down one row

    // The now first bar dragged below the other: it goes back under it.
    r = ScreenRect(second);
    start = {r.left + 20, r.top + 5};
    Run(second, HTBORDER, start, {MoveTo(start), MoveTo(Offset(start, 0, rowHeight + rowHeight / 2 + 4)), Release()});
    EXPECT_EQ(ScreenRect(second).top - ScreenRect(panel).top, rowHeight);
    EXPECT_EQ(b->dockSite, Site(0));
    EXPECT_EQ(a->dockSite, Site(0));
}

TEST_F(Drag, CtrlForcesFloating) {
    const RECT b = ScreenRect(panel);
    const POINT start{b.left + 10, b.top + 5};
    // Still over the top site, but Ctrl held: the floating shape, three lines thick.
    const POINT over{start.x + 40, start.y + 2};
    RECT seen{};
    int thickness = 0;
    g_probe = [&] {
        seen = BarOf(panel)->tracker->trackRect;
        thickness = BarOf(panel)->tracker->thickness;
    };
    Run(panel, HTBORDER, start, {MoveTo(start), MoveTo(over), Post(WM_KEYDOWN, VK_CONTROL), Post(kProbeMessage), Release()});
    // Floating shape: the floating size (200 x 30, one-pixel border) adjusted for the floating window.
    RECT outer{0, 0, kBarCx + 2, kBarCy + 2};
    AdjustWindowRectEx(&outer, 0x80CC0000, FALSE, 0x180);
    EXPECT_EQ(thickness, 3);
    EXPECT_EQ(seen.right - seen.left, outer.right - outer.left);
    EXPECT_EQ(seen.left, over.x - 10);  // the cursor offset inside the bar kept
    CToolBarFx* bar = BarOf(panel);
    ASSERT_TRUE(bar->miniFrame);
    EXPECT_TRUE(bar->flags & BFX_FLOATING);
    EXPECT_EQ(bar->floatPos.x, seen.left);
    EXPECT_EQ(bar->floatPos.y, seen.top);
    EXPECT_TRUE(ScreenRect(bar->miniFrame->hwnd) == seen);
    EXPECT_EQ(state.docked, 0);
}

// Each cancel: the bar stays, nothing is stored, no layout runs, and the focus rectangle, drawn
// outside the frame over the bare desktop, is gone from the screen.
TEST_F(Drag, EscapeRightButtonAndCancelModeChangeNothing) {
    for (UINT cancel : {static_cast<UINT>(WM_KEYDOWN), static_cast<UINT>(WM_RBUTTONDOWN), static_cast<UINT>(WM_CANCELMODE)}) {
        SCOPED_TRACE(cancel);
        CToolBarFx* bar = BarOf(panel);
        const RECT b = ScreenRect(panel);
        const RECT dockRect = bar->dockRect;
        const POINT start{b.left + 10, b.top + 5};
        const POINT outside{800, 400};
        RECT outer{0, 0, kBarCx + 2, kBarCy + 2};
        AdjustWindowRectEx(&outer, 0x80CC0000, FALSE, 0x180);
        const RECT expected{outside.x - 10, outside.y - 5, outside.x - 10 + outer.right - outer.left,
                            outside.y - 5 + outer.bottom - outer.top};
        const std::vector<COLORREF> before = Outline(expected);
        RECT seen{};
        std::vector<COLORREF> during;
        g_probe = [&] {
            seen = BarOf(panel)->tracker->trackRect;
            during = Outline(seen);
        };
        state = {};
        Run(panel, HTBORDER, start,
            {MoveTo(start), MoveTo(outside), Post(kProbeMessage), Post(cancel, VK_ESCAPE), MoveTo(start), Release()});
        EXPECT_TRUE(seen == expected);
        EXPECT_NE(during, before);  // it was drawn
        EXPECT_EQ(Outline(expected), before);  // and erased
        EXPECT_EQ(bar->dockSite, Site(0));
        EXPECT_FALSE(bar->miniFrame);
        EXPECT_TRUE(bar->dockRect == dockRect);
        EXPECT_TRUE(ScreenRect(panel) == b);
        EXPECT_EQ(state.docked, 0);  // not written: nothing was applied
        EXPECT_EQ(bar->tracker, nullptr);
    }
}

TEST_F(Drag, EarlierSiteWinsWhereHotRectanglesOverlap) {
    // A bar that may dock top or left only, docked left under an empty top site: near the top of
    // the left column both hot rectangles hold the cursor.
    ASSERT_EQ(SetDock(panel, frame, 0, 0, 0, 0, BFX_LEFT | BFX_MOVABLE | BFX_ALLOW_TOP | BFX_ALLOW_LEFT, nullptr,
                      SD_ATTACH | SD_FLAGS | SD_RECALC), 1);
    CToolBarFx* bar = BarOf(panel);
    ASSERT_EQ(bar->dockSite, Site(1));
    ASSERT_TRUE(Site(0)->Empty());
    const RECT b = ScreenRect(panel);
    const RECT top = ScreenRect(Site(0)->hwnd);
    const POINT start{b.left + 5, b.top + 10};
    const POINT both{b.left + 5, top.bottom + 2};
    const POINT outside{900, 300};
    const POINT leftOnly{b.left + 5, b.top + 150};
    std::vector<CDockSiteFx*> targets;
    g_probe = [&] { targets.push_back(BarOf(panel)->tracker->site); };
    Run(panel, HTBORDER, start,
        {MoveTo(start), MoveTo(both), Post(kProbeMessage),       // in the current target's: it stays
         MoveTo(outside), MoveTo(both), Post(kProbeMessage),     // searched afresh: top comes first
         MoveTo(leftOnly), MoveTo(both), Post(kProbeMessage),    // left again, and it stays
         Post(WM_CANCELMODE)});
    ASSERT_EQ(targets.size(), 3u);
    EXPECT_EQ(targets[0], Site(1));
    EXPECT_EQ(targets[1], Site(0));
    EXPECT_EQ(targets[2], Site(1));
    EXPECT_EQ(bar->dockSite, Site(1));  // cancelled: nothing moved
}

TEST_F(Drag, DoubleClickTogglesFloating) {
    CToolBarFx* bar = BarOf(panel);
    const RECT b = ScreenRect(panel);
    // No floating position yet: it is derived from the bar window, adjusted for the floating window.
    RECT expected = b;
    AdjustWindowRectEx(&expected, 0x80CC0000, FALSE, 0x180);
    SendMessageA(panel, WM_NCLBUTTONDBLCLK, HTBORDER, 0);
    ASSERT_TRUE(bar->miniFrame);
    EXPECT_EQ(bar->floatPos.x, expected.left);
    EXPECT_EQ(bar->floatPos.y, expected.top);
    EXPECT_EQ(ScreenRect(bar->miniFrame->hwnd).left, expected.left);
    EXPECT_EQ(bar->tracker, nullptr);
    EXPECT_EQ(state.docked, 0);

    // A caption double click on the floating window docks it back in its site.
    HWND fw = bar->miniFrame->hwnd;
    SendMessageA(fw, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    EXPECT_FALSE(IsWindow(fw));
    EXPECT_EQ(bar->miniFrame, nullptr);
    EXPECT_FALSE(bar->flags & BFX_FLOATING);
    EXPECT_EQ(GetParent(panel), bar->dockSite->hwnd);
    EXPECT_EQ(state.docked, 1);

    // A stored position is used unchanged; other hit codes and a bar that may not float do nothing.
    bar->floatPos = {333, 222};
    SendMessageA(panel, WM_NCLBUTTONDBLCLK, HTCLIENT, 0);
    EXPECT_FALSE(bar->miniFrame);
    SendMessageA(panel, WM_NCLBUTTONDBLCLK, HTBORDER, 0);
    ASSERT_TRUE(bar->miniFrame);
    EXPECT_EQ(ScreenRect(bar->miniFrame->hwnd).left, 333);
    EXPECT_EQ(ScreenRect(bar->miniFrame->hwnd).top, 222);
    SendMessageA(bar->miniFrame->hwnd, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    bar->flags &= ~BFX_FLOATABLE;
    SendMessageA(panel, WM_NCLBUTTONDBLCLK, HTBORDER, 0);
    EXPECT_FALSE(bar->miniFrame);
}

// A size drag of a docked bar reaches the host's state record as the bar is dropped: a layout the
// host saves right after brings the bar back at its new size. Each side is sized by its inner edge,
// from sizes above the panel's natural 200 x 30 (the smallest it may take).
TEST_F(Drag, DockedSizeDragReachesTheStateAtOnce) {
    const struct {
        UINT side, operation;
        BYTE sideIndex;
        WPARAM hit;
        LONG dx, dy;  // where the edge goes
        SIZE stored;  // before the drag
        SIZE sized;   // after it
    } cases[] = {
        {BFX_RIGHT, SD_RIGHT, 2, HTLEFT, -60, 0, {220, 200}, {280, 200}},
        {BFX_LEFT, SD_LEFT, 1, HTRIGHT, 35, 0, {210, 150}, {245, 150}},
        {BFX_TOP, SD_TOP, 0, HTBOTTOM, 0, 25, {200, 40}, {200, 65}},
        {BFX_BOTTOM, SD_BOTTOM, 3, HTTOP, 0, -30, {200, 40}, {200, 70}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.sideIndex));
        ASSERT_EQ(SetDock(panel, frame, 0, 0, c.stored.cx, c.stored.cy, (kBarFlags & ~BFX_TOP) | c.side, nullptr,
                          SD_ATTACH | SD_FLAGS | SD_SIZE | SD_RECALC | c.operation),
                  1);
        ASSERT_EQ(state.cx, c.stored.cx);
        ASSERT_EQ(state.cy, c.stored.cy);
        const RECT b = ScreenRect(panel);
        const POINT mid{(b.left + b.right) / 2, (b.top + b.bottom) / 2};
        const POINT start = c.hit == HTLEFT    ? POINT{b.left, mid.y}
                            : c.hit == HTRIGHT ? POINT{b.right - 1, mid.y}
                            : c.hit == HTTOP   ? POINT{mid.x, b.top}
                                               : POINT{mid.x, b.bottom - 1};
        Run(panel, c.hit, start, {MoveTo(Offset(start, c.dx, c.dy)), Release()});
        EXPECT_EQ(state.docked, 1);
        EXPECT_EQ(state.side, c.sideIndex);
        EXPECT_EQ(state.cx, c.sized.cx);
        EXPECT_EQ(state.cy, c.sized.cy);
        // What the state says is what the user sees.
        EXPECT_EQ(ScreenRect(panel).right - ScreenRect(panel).left, b.right - b.left + c.sized.cx - c.stored.cx);
        EXPECT_EQ(ScreenRect(panel).bottom - ScreenRect(panel).top, b.bottom - b.top + c.sized.cy - c.stored.cy);
    }
}

TEST_F(Drag, SizeDragIsClampedByItsLimits) {
    // A floating bar sized by its right edge: the minimum is the natural size with the border.
    ASSERT_EQ(SetDock(panel, nullptr, 0, 0, 300, 0, 0, nullptr, SD_SIZE | SD_FLOAT), 1);
    CToolBarFx* bar = BarOf(panel);
    bar->floatPos = {300, 200};
    SendMessageA(panel, WM_NCLBUTTONDBLCLK, HTBORDER, 0);
    ASSERT_TRUE(bar->miniFrame);
    HWND fw = bar->miniFrame->hwnd;
    const RECT w = ScreenRect(fw);
    RECT client;
    GetClientRect(fw, &client);
    const LONG extraX = (w.right - w.left) - client.right;
    const POINT start{w.right - 2, (w.top + w.bottom) / 2};

    // Far to the left of the left edge: snaps to the minimum client width. The size kept is the
    // bar's client size, as SetDock takes it: the bar's border (1 pixel a side) comes on top.
    Run(fw, HTRIGHT, start, {MoveTo({w.left - 50, start.y}), Release()});
    const LONG minimum = bar->naturalSize.cx + 2;
    EXPECT_EQ(bar->floatSize.cx, bar->naturalSize.cx);
    EXPECT_EQ(ScreenRect(fw).right - ScreenRect(fw).left, minimum + extraX);
    EXPECT_EQ(ScreenRect(fw).left, w.left);  // the right edge was dragged, so the right edge moved

    // 60 pixels wider than at the start: taken as asked.
    const RECT w2 = ScreenRect(fw);
    const POINT start2{w2.right - 2, start.y};
    Run(fw, HTRIGHT, start2, {MoveTo({w.right + 60 - 2, start.y}), Release()});
    EXPECT_EQ(ScreenRect(fw).right, w.right + 60);
    EXPECT_EQ(bar->floatSize.cx, client.right + 60 - 2);
    EXPECT_EQ(bar->floatPos.x, w.left);
    // Handed back to SetDock, the size makes the same floating window.
    const RECT dragged = ScreenRect(fw);
    ASSERT_EQ(SetDock(panel, nullptr, bar->floatPos.x, bar->floatPos.y, bar->floatSize.cx, bar->floatSize.cy, 0, nullptr,
                      SD_POSITION | SD_SIZE | SD_FLOAT | SD_RECALC),
              1);
    EXPECT_EQ(ScreenRect(bar->miniFrame->hwnd), dragged);
}

TEST_F(Drag, StretchBarGrowsOnlyUntilThePaneMinimum) {
    ASSERT_EQ(SetDock(panel, frame, 0, 0, 0, 0, kBarFlags | BFX_STRETCH, nullptr, SD_ATTACH | SD_FLAGS | SD_RECALC), 1);
    CToolBarFx* bar = BarOf(panel);
    const RECT b = ScreenRect(panel);
    RECT client;
    GetClientRect(panel, &client);
    const LONG extraY = (b.bottom - b.top) - client.bottom;
    SIZE paneMin{};
    ManagerOf(frame)->GetPaneTrackSize(0x400, &paneMin);
    const RECT pane = ScreenRect(ManagerOf(frame)->clientPane->hwnd);
    const POINT start{(b.left + b.right) / 2, b.bottom - 1};
    Run(panel, HTBOTTOM, start, {MoveTo({start.x, 2000}), Release()});
    // The maximum client height: from the bar's top to the pane's bottom, less the pane's
    // minimum and the bar's non-client height.
    EXPECT_EQ(bar->horzSize.cy, pane.bottom - b.top - paneMin.cy - extraY);
    EXPECT_EQ(bar->horzSize.cx, kBarCx);  // a stretch bar keeps its stored length
}

TEST_F(Drag, SecondRequestDuringADragIsIgnored) {
    const RECT b = ScreenRect(panel);
    const POINT start{b.left + 10, b.top + 5};
    CDragTrackerFx* during = nullptr;
    bool stillSame = false;
    g_probe = [&] {
        during = BarOf(panel)->tracker;
        // Another press on the same bar while its drag runs: returns at once, the tracker stays.
        SendMessageA(panel, WM_NCLBUTTONDOWN, HTBORDER, 0);
        SendMessageA(panel, WM_NCLBUTTONDBLCLK, HTBORDER, 0);
        stillSame = BarOf(panel)->tracker == during && GetCapture() == panel;
    };
    Run(panel, HTBORDER, start, {MoveTo(start), Post(kProbeMessage), Post(WM_KEYDOWN, VK_ESCAPE)});
    EXPECT_TRUE(during);
    EXPECT_TRUE(stillSame);
    EXPECT_EQ(BarOf(panel)->tracker, nullptr);
    EXPECT_FALSE(BarOf(panel)->miniFrame);
}

// The host destroys the bar, its floating window or the whole frame while the drag runs: the drag
// ends as cancelled, nothing crashes, nothing is left alive (checked after every case).
TEST_F(Drag, HostDestroysWhatIsDraggedDuringTheDrag) {
    const RECT b = ScreenRect(panel);
    POINT start{b.left + 10, b.top + 5};
    g_probe = [&] { DestroyWindow(panel); };
    Run(panel, HTBORDER, start, {MoveTo(start), MoveTo(Offset(start, 5, 5)), Post(kProbeMessage), MoveTo({900, 300})});
    EXPECT_FALSE(IsWindow(panel));
    EXPECT_EQ(LiveWindowObjects(), 1);  // the frame manager alone
    EXPECT_TRUE(Site(0)->bars.empty());

    // A floating bar whose floating window goes.
    HWND other = AddBar(0x301, 0);
    BarOf(other)->floatPos = {300, 300};
    SendMessageA(other, WM_NCLBUTTONDBLCLK, HTBORDER, 0);
    HWND fw = BarOf(other)->miniFrame->hwnd;
    const RECT f = ScreenRect(fw);
    start = {f.left + 30, f.top + 5};
    g_probe = [&] { DestroyWindow(fw); };
    Run(fw, HTCAPTION, start, {MoveTo(start), Post(kProbeMessage), MoveTo({900, 300}), Release()});
    EXPECT_FALSE(IsWindow(fw));
    EXPECT_EQ(LiveWindowObjects(), 1);

    // A timer of the host that destroys the whole frame.
    HWND third = AddBar(0x302, 0);
    const RECT t = ScreenRect(third);
    start = {t.left + 10, t.top + 5};
    g_frameToDestroy = frame;
    const UINT_PTR timer = SetTimer(nullptr, 0, 1, DestroyFrameTimer);
    ASSERT_NE(timer, 0u);
    // Should the destruction not end the drag, this ends it later (a thread message counts too).
    const UINT_PTR guard = SetTimer(nullptr, 0, 3000, CancelModeTimer);
    // Only moves are posted: a timer message comes when the queue holds no posted message, so
    // the loop ends through the destruction (the final WM_CANCELMODE of Run is the guard).
    for (int i = 0; i < 3; ++i) {
        SetCursorPos(start.x + i, start.y);
        PostMessageA(third, WM_MOUSEMOVE, 0, 0);
    }
    SetCursorPos(start.x, start.y);
    SendMessageA(third, WM_NCLBUTTONDOWN, HTBORDER, 0);
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(LiveWindowObjects(), 0);
    KillTimer(nullptr, guard);
}

// The floating window around a bar of the floating size (200 x 30 with the one-pixel border).
RECT FloatingWindowAt(POINT topLeft) {
    RECT outer{0, 0, kBarCx + 2, kBarCy + 2};
    AdjustWindowRectEx(&outer, 0x80CC0000, FALSE, 0x180);
    return {topLeft.x, topLeft.y, topLeft.x + outer.right - outer.left, topLeft.y + outer.bottom - outer.top};
}

// Losing the capture cancels like Escape: another window taking it (noticed at the next message,
// which is dropped) or a WM_CAPTURECHANGED reaching the loop. The button release that follows
// would dock the bar on the left if the drag were still running.
TEST_F(Drag, LostCaptureCancelsAndErasesTheRectangle) {
    for (bool takenByAnother : {true, false}) {
        SCOPED_TRACE(takenByAnother ? "SetCapture by another window" : "WM_CAPTURECHANGED");
        CToolBarFx* bar = BarOf(panel);
        const RECT b = ScreenRect(panel);
        const RECT dockRect = bar->dockRect;
        const POINT start{b.left + 10, b.top + 5};
        const POINT outside{800, 400};
        const RECT left = ScreenRect(Site(1)->hwnd);
        const POINT overLeft{left.left + 10, left.top + 100};
        const RECT expected = FloatingWindowAt({outside.x - 10, outside.y - 5});
        const std::vector<COLORREF> before = Outline(expected);
        RECT seen{};
        std::vector<COLORREF> during;
        HWND holder = nullptr;
        g_probe = [&] {
            seen = BarOf(panel)->tracker->trackRect;
            during = Outline(seen);
            if (takenByAnother) {
                SetCapture(probe);
                holder = GetCapture();
            }
        };
        state = {};
        std::vector<Step> steps{MoveTo(start), MoveTo(outside), Post(kProbeMessage)};
        if (!takenByAnother) steps.push_back(Post(WM_CAPTURECHANGED));
        steps.insert(steps.end(), {MoveTo(overLeft), Release()});
        Drive(panel, HTBORDER, start, steps);
        if (takenByAnother) {
            EXPECT_EQ(holder, probe);
            EXPECT_EQ(GetCapture(), probe);  // another window's capture is not the drag's to release
            ReleaseCapture();
        }
        EXPECT_EQ(GetCapture(), nullptr);
        varnex_test::Pump();

        EXPECT_TRUE(seen == expected);
        EXPECT_NE(during, before);
        EXPECT_EQ(Outline(expected), before);
        EXPECT_EQ(bar->tracker, nullptr);
        EXPECT_EQ(bar->dockSite, Site(0));
        EXPECT_EQ(GetParent(panel), Site(0)->hwnd);
        EXPECT_FALSE(bar->miniFrame);
        EXPECT_TRUE(bar->dockRect == dockRect);
        EXPECT_TRUE(ScreenRect(panel) == b);
        EXPECT_EQ(state.docked, 0);  // nothing was applied
    }
}

// Ctrl held pins the floating shape even over another site; its release searches the sites again
// at the key's cursor position, and the drop then docks.
TEST_F(Drag, CtrlReleasedReturnsToTheDockTarget) {
    const RECT b = ScreenRect(panel);
    const POINT start{b.left + 10, b.top + 5};
    const POINT overTop{start.x + 40, start.y + 2};
    const RECT left = ScreenRect(Site(1)->hwnd);
    const POINT overLeft{left.left + 10, left.top + 100};
    struct Seen {
        RECT rect;
        int thickness;
        BOOL docked;
        CDockSiteFx* site;
    };
    std::vector<Seen> seen;
    g_probe = [&] {
        const CDragTrackerFx* t = BarOf(panel)->tracker;
        seen.push_back({t->trackRect, t->thickness, t->docked, t->site});
    };
    Run(panel, HTBORDER, start,
        {MoveTo(start), MoveTo(overTop), Post(WM_KEYDOWN, VK_CONTROL), MoveTo(overLeft), Post(kProbeMessage),
         Post(WM_KEYUP, VK_CONTROL), Post(kProbeMessage), Release()});
    ASSERT_EQ(seen.size(), 2u);
    // Held: the floating shape with the cursor offset (10, 5) kept, three lines thick.
    EXPECT_TRUE(seen[0].rect == FloatingWindowAt({overLeft.x - 10, overLeft.y - 5}));
    EXPECT_EQ(seen[0].thickness, 3);
    EXPECT_FALSE(seen[0].docked);
    // Released: the left site, whose vertical shape (32 x 202) the empty site pins one pixel inside
    // its left edge; the offset turned for the vertical shape is (5, 10).
    const RECT docked{left.left + 1, overLeft.y - 10, left.left + 1 + kBarCy + 2, overLeft.y - 10 + kBarCx + 2};
    EXPECT_TRUE(seen[1].rect == docked);
    EXPECT_EQ(seen[1].thickness, 1);
    EXPECT_TRUE(seen[1].docked);
    EXPECT_EQ(seen[1].site, Site(1));

    CToolBarFx* bar = BarOf(panel);
    ASSERT_TRUE(bar);
    EXPECT_FALSE(bar->miniFrame);
    EXPECT_FALSE(bar->flags & BFX_FLOATING);
    EXPECT_EQ(bar->dockSite, Site(1));
    EXPECT_EQ(GetParent(panel), Site(1)->hwnd);
    EXPECT_EQ(state.docked, 1);
    EXPECT_EQ(state.side, 1);
}

// WM_QUIT met in the loop cancels the drag and is posted again with its exit code, for the host's
// own loop to see once the drag has returned.
TEST_F(Drag, QuitCancelsAndIsPostedAgain) {
    CToolBarFx* bar = BarOf(panel);
    const RECT b = ScreenRect(panel);
    const RECT dockRect = bar->dockRect;
    const POINT start{b.left + 10, b.top + 5};
    const POINT outside{800, 400};
    const RECT left = ScreenRect(Site(1)->hwnd);
    const POINT overLeft{left.left + 10, left.top + 100};
    const RECT expected = FloatingWindowAt({outside.x - 10, outside.y - 5});
    const std::vector<COLORREF> before = Outline(expected);
    std::vector<COLORREF> during;
    g_probe = [&] { during = Outline(BarOf(panel)->tracker->trackRect); };
    state = {};
    Drive(panel, HTBORDER, start,
          {MoveTo(start), MoveTo(outside), Post(kProbeMessage), Post(WM_QUIT, 77), MoveTo(overLeft), Release()});
    MSG quit{};
    const BOOL requeued = PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    MSG extra;
    while (PeekMessageA(&extra, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }  // none may reach later cases
    EXPECT_TRUE(requeued);
    EXPECT_EQ(quit.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(quit.wParam, 77u);
    EXPECT_EQ(GetCapture(), nullptr);
    varnex_test::Pump();

    EXPECT_NE(during, before);
    EXPECT_EQ(Outline(expected), before);
    EXPECT_EQ(bar->tracker, nullptr);
    EXPECT_EQ(bar->dockSite, Site(0));
    EXPECT_FALSE(bar->miniFrame);
    EXPECT_TRUE(bar->dockRect == dockRect);
    EXPECT_TRUE(ScreenRect(panel) == b);
    EXPECT_EQ(state.docked, 0);
}

// With window contents shown while dragging, a floating bar's window follows the cursor itself and
// no rectangle is drawn; over a dock site it is hidden and the rectangle shows from the next step.
// A cancel puts the window back where it was, shown.
TEST_F(Drag, FullWindowDragOfAFloatingBar) {
    ASSERT_TRUE(SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0));
    CToolBarFx* bar = BarOf(panel);
    bar->floatPos = {700, 150};  // outside the frame and every hot rectangle
    SendMessageA(panel, WM_NCLBUTTONDBLCLK, HTBORDER, 0);
    ASSERT_TRUE(bar->miniFrame);
    HWND fw = bar->miniFrame->hwnd;
    const RECT f = ScreenRect(fw);
    const POINT start{f.left + 30, f.top + 5};
    auto movedBy = [&](POINT to) {
        RECT r = f;
        OffsetRect(&r, to.x - start.x, to.y - start.y);
        return r;
    };
    struct Seen {
        RECT window;
        BOOL visible;
        BOOL shown;
        BOOL fullDrag;
        BOOL docked;
        CDockSiteFx* site;
    };
    std::vector<Seen> seen;
    g_probe = [&] {
        const CDragTrackerFx* t = BarOf(panel)->tracker;
        seen.push_back({ScreenRect(fw), IsWindowVisible(fw), t->shown, t->fullDrag, t->docked, t->site});
    };

    // Accepted: the window is where the cursor took it at every step and stays at the drop.
    const POINT p1{850, 300}, p2{900, 420};
    Run(fw, HTCAPTION, start, {MoveTo(start), MoveTo(p1), Post(kProbeMessage), MoveTo(p2), Release()});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].fullDrag);
    EXPECT_TRUE(seen[0].window == movedBy(p1));
    EXPECT_TRUE(seen[0].visible);
    EXPECT_FALSE(seen[0].shown);
    ASSERT_EQ(bar->miniFrame ? bar->miniFrame->hwnd : nullptr, fw);
    const RECT dropped = movedBy(p2);
    EXPECT_TRUE(ScreenRect(fw) == dropped);
    EXPECT_TRUE(IsWindowVisible(fw));
    EXPECT_EQ(bar->floatPos.x, dropped.left);
    EXPECT_EQ(bar->floatPos.y, dropped.top);
    EXPECT_EQ(state.x, dropped.left);
    EXPECT_EQ(state.y, dropped.top);

    // Cancelled after passing over the top site: back at the start, shown, still floating.
    const RECT g = ScreenRect(fw);
    const POINT start2{g.left + 30, g.top + 5};
    const RECT top = ScreenRect(Site(0)->hwnd);
    const POINT overTop{top.left + 100, top.top + 2};
    seen.clear();
    Run(fw, HTCAPTION, start2,
        {MoveTo(start2), MoveTo(p1), MoveTo(overTop), Post(kProbeMessage), MoveTo(Offset(overTop, 5, 0)),
         Post(kProbeMessage), Post(WM_KEYDOWN, VK_ESCAPE), MoveTo(p2), Release()});
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[0].docked);
    EXPECT_EQ(seen[0].site, Site(0));
    EXPECT_FALSE(seen[0].visible);  // hidden in the first step over the site, nothing drawn
    EXPECT_FALSE(seen[0].shown);
    EXPECT_FALSE(seen[1].visible);
    EXPECT_TRUE(seen[1].shown);     // the rectangle from the next step on
    ASSERT_EQ(bar->miniFrame ? bar->miniFrame->hwnd : nullptr, fw);
    EXPECT_TRUE(ScreenRect(fw) == g);
    EXPECT_TRUE(IsWindowVisible(fw));
    EXPECT_TRUE(bar->miniFrame->visible);
    EXPECT_TRUE(bar->flags & BFX_FLOATING);
    EXPECT_EQ(GetParent(panel), fw);
    EXPECT_TRUE(IsWindowVisible(panel));
    EXPECT_EQ(bar->floatPos.x, g.left);
    EXPECT_EQ(bar->floatPos.y, g.top);
    RECT client;
    GetClientRect(fw, &client);
    EXPECT_TRUE(varnex_test::WindowRectIn(panel, fw) == client);  // the bar fills it again
}

// A live size drag lays the frame out (docked) or moves the floating window at every step; a
// cancel puts the stored sizes, the dock rectangle and the windows back as they were.
TEST_F(Drag, CancelledLiveSizeDragPutsEverythingBack) {
    ASSERT_TRUE(SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0));
    CToolBarFx* bar = BarOf(panel);
    const RECT b = ScreenRect(panel);
    const RECT dockRect = bar->dockRect;
    const POINT dockPos = bar->dockPos;
    const SIZE horz = bar->horzSize, vert = bar->vertSize;
    const POINT start{(b.left + b.right) / 2, b.bottom - 1};
    RECT during{};
    SIZE horzDuring{};
    g_probe = [&] {
        during = ScreenRect(panel);
        horzDuring = BarOf(panel)->horzSize;
    };
    Run(panel, HTBOTTOM, start,
        {MoveTo(Offset(start, 0, 40)), Post(kProbeMessage), Post(WM_KEYDOWN, VK_ESCAPE), MoveTo(Offset(start, 0, 80)),
         Release()});
    EXPECT_EQ(horzDuring.cy, kBarCy + 40);  // stored and laid out live
    EXPECT_EQ(during.bottom - during.top, b.bottom - b.top + 40);
    EXPECT_TRUE(bar->dockRect == dockRect);
    EXPECT_EQ(bar->dockPos.x, dockPos.x);
    EXPECT_EQ(bar->dockPos.y, dockPos.y);
    EXPECT_EQ(bar->horzSize.cx, horz.cx);
    EXPECT_EQ(bar->horzSize.cy, horz.cy);
    EXPECT_EQ(bar->vertSize.cx, vert.cx);
    EXPECT_EQ(bar->vertSize.cy, vert.cy);
    EXPECT_EQ(state.cx, horz.cx);  // the host's record too, which learned each live step
    EXPECT_EQ(state.cy, horz.cy);
    EXPECT_TRUE(ScreenRect(panel) == b);
    EXPECT_EQ(bar->dockSite, Site(0));

    // Floating, sized by its right edge.
    bar->floatPos = {700, 150};
    SendMessageA(panel, WM_NCLBUTTONDBLCLK, HTBORDER, 0);
    ASSERT_TRUE(bar->miniFrame);
    HWND fw = bar->miniFrame->hwnd;
    const RECT w = ScreenRect(fw);
    const SIZE floatSize = bar->floatSize;
    const POINT edge{w.right - 2, (w.top + w.bottom) / 2};
    g_probe = [&] { during = ScreenRect(fw); };
    Run(fw, HTRIGHT, edge,
        {MoveTo(Offset(edge, 60, 0)), Post(kProbeMessage), Post(WM_KEYDOWN, VK_ESCAPE), MoveTo(Offset(edge, 90, 0)),
         Release()});
    EXPECT_EQ(during.right, w.right + 60);  // moved live
    EXPECT_EQ(during.left, w.left);
    ASSERT_EQ(bar->miniFrame ? bar->miniFrame->hwnd : nullptr, fw);
    EXPECT_TRUE(ScreenRect(fw) == w);
    EXPECT_EQ(bar->floatSize.cx, floatSize.cx);
    EXPECT_EQ(bar->floatSize.cy, floatSize.cy);
    EXPECT_EQ(bar->floatPos.x, w.left);
    RECT client;
    GetClientRect(fw, &client);
    EXPECT_TRUE(varnex_test::WindowRectIn(panel, fw) == client);
}

// A corner drag of a floating window moves the two edges that meet there and only those.
TEST_F(Drag, TopLeftCornerSizesAFloatingWindowFromThere) {
    CToolBarFx* bar = BarOf(panel);
    bar->floatPos = {600, 200};
    SendMessageA(panel, WM_NCLBUTTONDBLCLK, HTBORDER, 0);
    ASSERT_TRUE(bar->miniFrame);
    HWND fw = bar->miniFrame->hwnd;
    const RECT w = ScreenRect(fw);
    const POINT corner{w.left + 2, w.top + 2};
    RECT seen{};
    g_probe = [&] { seen = BarOf(panel)->tracker->trackRect; };
    Run(fw, HTTOPLEFT, corner, {MoveTo(Offset(corner, -30, -20)), Post(kProbeMessage), Release()});
    const RECT expected{w.left - 30, w.top - 20, w.right, w.bottom};
    EXPECT_TRUE(seen == expected);
    ASSERT_EQ(bar->miniFrame ? bar->miniFrame->hwnd : nullptr, fw);
    EXPECT_TRUE(ScreenRect(fw) == expected);
    EXPECT_EQ(bar->floatPos.x, expected.left);
    EXPECT_EQ(bar->floatPos.y, expected.top);
}

// A wrapping toolbar (the "Standard" toolbar an MDI frame adopts) is not sized freely: dragging
// its bottom edge down asks its buttons for a length shorter by as much, and the rectangle takes
// the size they wrap to. Cancelled, the bar gets its sizes and its single row back.
TEST_F(Drag, WrappingToolBarTakesTheSizeItsButtonsWrapTo) {
    DestroyWindow(frame);
    frame = hostkit::CreateMdiFrame("mdi", 0, 0, 640, 480, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND dock = hostkit::CreateDockBar(frame, hostkit::kDockBarTopId);
    constexpr int kButtons = 4;
    HWND toolbar = hostkit::CreateToolBar(dock, hostkit::kToolBarId, "Standard", kButtons);
    ASSERT_EQ(AttachFrame(frame, AF_MDIFRAME), 1);
    CToolBarFx* bar = ManagerOf(frame)->adoptedBar;
    ASSERT_TRUE(bar);
    ASSERT_EQ(bar->hwnd, toolbar);
    ASSERT_TRUE(bar->flags & BFX_WRAPPABLE);
    ASSERT_TRUE(bar->flags & BFX_TOP);
    const DWORD button = static_cast<DWORD>(SendMessageA(toolbar, TB_GETBUTTONSIZE, 0, 0));
    const LONG bw = LOWORD(button), bh = HIWORD(button);
    const RECT b = ScreenRect(toolbar);
    RECT client;
    GetClientRect(toolbar, &client);
    ASSERT_EQ(client.right, kButtons * bw);  // one row
    ASSERT_EQ(client.bottom, bh);
    const LONG extraX = (b.right - b.left) - client.right, extraY = (b.bottom - b.top) - client.bottom;
    const SIZE horz = bar->horzSize;
    const RECT dockRect = bar->dockRect;

    // Down by one and a half buttons: a length of two and a half buttons holds two in a row, so the
    // four make two rows.
    const POINT start{(b.left + b.right) / 2, b.bottom - 1};
    const POINT lower = Offset(start, 0, bw + bw / 2);
    const RECT wrapped{b.left, b.top, b.left + extraX + 2 * bw, b.top + extraY + 2 * bh};
    RECT seen{};
    g_probe = [&] { seen = BarOf(toolbar)->tracker->trackRect; };
    Run(toolbar, HTBOTTOM, start, {MoveTo(lower), Post(kProbeMessage), Post(WM_KEYDOWN, VK_ESCAPE), Release()});
    EXPECT_TRUE(seen == wrapped);
    EXPECT_EQ(bar->horzSize.cx, horz.cx);
    EXPECT_EQ(bar->horzSize.cy, horz.cy);
    EXPECT_TRUE(bar->dockRect == dockRect);
    EXPECT_TRUE(ScreenRect(toolbar) == b);
    GetClientRect(toolbar, &client);
    EXPECT_EQ(client.right, kButtons * bw);
    EXPECT_EQ(client.bottom, bh);

    seen = {};
    Run(toolbar, HTBOTTOM, start, {MoveTo(lower), Post(kProbeMessage), Release()});
    EXPECT_TRUE(seen == wrapped);
    EXPECT_EQ(bar->horzSize.cx, 2 * bw);
    EXPECT_EQ(bar->horzSize.cy, 2 * bh);
    EXPECT_EQ(bar->dockSite, Site(0));
    GetClientRect(toolbar, &client);
    EXPECT_EQ(client.right, 2 * bw);
    EXPECT_EQ(client.bottom, 2 * bh);
}

}  // namespace
